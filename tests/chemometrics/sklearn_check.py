#!/usr/bin/env python3
"""PCA, PLS and PLS cross-validation of kiv against scikit-learn on the same random matrices.

PCA scores (up to the sign of each component), singular values and explained variance are
compared with sklearn's PCA. PLS is compared where the two algorithms coincide: the first
component (kiv's one-step PLS and sklearn's NIPALS share the first X weight, the dominant left
singular vector of X^T Y, and the regression of Y on the first score), with one and with several
Y columns. Cross-validated RMSECV of one component is compared with cross_val_predict on the
same consecutive folds (KFold without shuffling) and with leave-one-out.

sklearn finds the first weights by a power iteration whose default tolerance (on the squared
change) leaves about three digits; the check asks it for full precision.

Usage: sklearn_check.py DRIVER. Exits 77 (skipped) when numpy or scikit-learn is missing.
"""
import os
import subprocess
import sys
import tempfile

try:
    import numpy as np
    from sklearn.cross_decomposition import PLSRegression
    from sklearn.decomposition import PCA
    from sklearn.model_selection import KFold, LeaveOneOut, cross_val_predict
except ImportError as missing:
    print(f"skipped: {missing}")
    sys.exit(77)

DRIVER = sys.argv[1]
failures = []


def check(name, actual, expected, tolerance):
    actual = np.asarray(actual, dtype=float)
    expected = np.asarray(expected, dtype=float)
    if actual.shape != expected.shape:
        failures.append(f"{name}: shape {actual.shape} != {expected.shape}")
        return
    error = np.max(np.abs(actual - expected)) if actual.size else 0.0
    scale = max(1.0, np.max(np.abs(expected)) if expected.size else 1.0)
    status = "ok" if error <= tolerance * scale else "FAILED"
    print(f"{status:6s} {name}: max difference {error:.3g}")
    if status != "ok":
        failures.append(name)


def write(folder, name, matrix):
    path = os.path.join(folder, name)
    np.savetxt(path, np.atleast_2d(matrix), fmt="%.17g")
    return path


def read(path):
    return np.atleast_2d(np.loadtxt(path, ndmin=2))


def run(*arguments):
    subprocess.run([DRIVER, *arguments], check=True)


def align_signs(actual, expected):
    signs = np.sign(np.sum(actual * expected, axis=0))
    signs[signs == 0] = 1
    return actual * signs


def reference_pls():
    return PLSRegression(n_components=1, scale=False, tol=1e-26, max_iter=1000000)


def check_pca(folder, rows, cols, seed):
    rng = np.random.default_rng(seed)
    x = rng.normal(size=(rows, cols)) @ np.diag(np.linspace(3, 0.5, cols)) + rng.normal(size=cols) * 10
    out = os.path.join(folder, f"pca{seed}")
    run("pca", write(folder, f"pca{seed}.txt", x), out)
    components = min(rows, cols)
    reference = PCA(n_components=components, svd_solver="full").fit(x)
    expected_scores = reference.transform(x)
    scores = read(out + ".scores")
    # Only the components that carry variance have defined directions.
    informative = reference.singular_values_ > 1e-9 * reference.singular_values_[0]
    check(f"PCA {rows}x{cols} scores", align_signs(scores, expected_scores)[:, informative],
          expected_scores[:, informative], 1e-9)
    check(f"PCA {rows}x{cols} singular values", read(out + ".singular")[0][informative],
          reference.singular_values_[informative], 1e-10)
    check(f"PCA {rows}x{cols} explained variance %", read(out + ".percent")[0][informative],
          100 * reference.explained_variance_ratio_[informative], 1e-9)


def check_pls(folder, rows, cols, properties, seed):
    rng = np.random.default_rng(seed)
    x = rng.normal(size=(rows, cols)) + 5
    y = x @ rng.normal(size=(cols, properties)) + rng.normal(size=(rows, properties)) * 0.3 - 2
    xu = rng.normal(size=(4, cols)) + 5
    out = os.path.join(folder, f"pls{seed}")
    run("pls", write(folder, f"plsx{seed}.txt", x), write(folder, f"plsy{seed}.txt", y),
        write(folder, f"plsxu{seed}.txt", xu), "1", out)
    reference = reference_pls().fit(x, y)
    expected = reference.predict(x).reshape(rows, properties)
    check(f"PLS {rows}x{cols} Y {properties} predictions", read(out + ".pred"), expected, 1e-9)
    check(f"PLS {rows}x{cols} Y {properties} unknowns", read(out + ".upred"),
          reference.predict(xu).reshape(4, properties), 1e-9)


def check_cross_validation(folder, rows, cols, properties, folds, seed):
    rng = np.random.default_rng(seed)
    x = rng.normal(size=(rows, cols))
    y = x @ rng.normal(size=(cols, properties)) + rng.normal(size=(rows, properties)) * 0.5
    out = os.path.join(folder, f"cv{seed}")
    run("cv", write(folder, f"cvx{seed}.txt", x), write(folder, f"cvy{seed}.txt", y), str(folds), out)
    splitter = LeaveOneOut() if folds >= rows else KFold(n_splits=folds)
    predicted = cross_val_predict(reference_pls(), x, y, cv=splitter)
    predicted = predicted.reshape(rows, properties)
    rmsecv = np.sqrt(np.mean((y - predicted) ** 2))
    q2 = 1 - np.sum((y - predicted) ** 2) / np.sum((y - y.mean(axis=0)) ** 2)
    table = read(out + ".table")
    label = "leave-one-out" if folds >= rows else f"{folds}-fold"
    check(f"PLS CV {label} {rows}x{cols} Y {properties} RMSECV", table[0, 1], rmsecv, 1e-9)
    check(f"PLS CV {label} {rows}x{cols} Y {properties} Q2", table[0, 2], q2, 1e-9)


with tempfile.TemporaryDirectory() as folder:
    check_pca(folder, 40, 7, 1)
    check_pca(folder, 6, 12, 2)
    check_pca(folder, 200, 30, 3)
    check_pls(folder, 30, 6, 1, 4)
    check_pls(folder, 25, 8, 3, 5)
    check_pls(folder, 8, 20, 2, 6)
    check_cross_validation(folder, 23, 5, 1, 5, 7)
    check_cross_validation(folder, 17, 4, 2, 17, 8)
    check_cross_validation(folder, 30, 6, 3, 4, 9)

if failures:
    print("differences beyond tolerance: " + ", ".join(failures))
    sys.exit(1)
print("kiv agrees with scikit-learn")

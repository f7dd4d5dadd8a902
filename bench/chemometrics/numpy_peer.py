#!/usr/bin/env python3
"""The PCA and PLS of the chemometrics benchmark done by numpy (LAPACK through OpenBLAS) on the
matrices the benchmark wrote: PCA as the SVD of the centred X with its scores, PLS as the SVD of
the cross-product X^T Y of the centred matrices with weights, scores, inner relation and
predicted Y scores. Prints the best wall-clock and processor time of a few repetitions.

Usage: numpy_peer.py FOLDER OBJECTS FEATURES PROPERTIES
"""
import sys
import time

import numpy as np

folder, m, n, q = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
x0 = np.fromfile(f"{folder}/X.bin", dtype="<f8").reshape(m, n)
y0 = np.fromfile(f"{folder}/Y.bin", dtype="<f8").reshape(m, q)


def pca():
    x = x0 - x0.mean(axis=0)
    _, w, vt = np.linalg.svd(x, full_matrices=False)
    return x @ vt.T, w


def pls():
    x = x0 - x0.mean(axis=0)
    y = y0 - y0.mean(axis=0)
    u, s, vt = np.linalg.svd(x.T @ y, full_matrices=False)
    a = min(m, n, q)
    t = x @ u[:, :a]
    uu = y @ vt.T[:, :a]
    b = np.sum(t * uu, axis=0) / np.sum(t * t, axis=0)
    return t * b, s[:a] ** 2


def timed(name, work, repeats=3):
    best_wall = best_cpu = float("inf")
    for _ in range(repeats):
        wall, cpu = time.perf_counter(), time.process_time()
        work()
        best_wall = min(best_wall, time.perf_counter() - wall)
        best_cpu = min(best_cpu, time.process_time() - cpu)
    print(f"numpy {name:4s} {best_wall * 1000:10.1f} ms wall {best_cpu * 1000:10.1f} ms processor")


timed("Pca", pca)
timed("Pls", pls)

"""The same cosine top-100 search done by numpy on vectors already in memory: the peer of the
evaluation benchmark. Prints the BLAS library numpy uses and the time of the search alone."""
import sys
import time

import numpy as np


def loaded_blas():
    with open("/proc/self/maps") as maps:
        names = {line.split()[-1] for line in maps if "blas" in line.lower() or "lapack" in line.lower()}
    return ", ".join(sorted(n.rsplit("/", 1)[-1] for n in names)) or "none found"


def search(tests, library, hits=101, chunk=20000):
    tests = tests / np.maximum(np.linalg.norm(tests, axis=1, keepdims=True), 1e-300)
    norms = np.linalg.norm(library, axis=1)
    best_values = np.full((tests.shape[0], 0), -1.0)
    best_refs = np.zeros((tests.shape[0], 0), dtype=np.int64)
    for start in range(0, library.shape[0], chunk):
        block = library[start:start + chunk]
        cos = tests @ block.T / np.maximum(norms[start:start + chunk], 1e-300)
        values = np.concatenate([best_values, cos], axis=1)
        refs = np.concatenate([best_refs, np.broadcast_to(np.arange(start, start + block.shape[0]), cos.shape)], axis=1)
        keep = np.argpartition(-values, min(hits, values.shape[1] - 1), axis=1)[:, :hits]
        best_values = np.take_along_axis(values, keep, axis=1)
        best_refs = np.take_along_axis(refs, keep, axis=1)
    order = np.argsort(-best_values, axis=1, kind="stable")
    return np.take_along_axis(best_values, order, axis=1), np.take_along_axis(best_refs, order, axis=1) + 1


def main():
    folder, kind = sys.argv[1], sys.argv[2]
    tests_index = np.fromfile(f"{folder}/tests.i32", dtype=np.int32) - 1
    if kind == "spectra":
        library = np.fromfile(f"{folder}/spectra.f64", dtype=np.float64).reshape(-1, 100)
    else:
        features = int(sys.argv[3])
        library = np.fromfile(f"{folder}/features.bin", dtype=np.float32).astype(np.float64).reshape(-1, features)
    tests = library[tests_index]
    print(f"numpy {np.__version__}, BLAS: {loaded_blas()}")
    start = time.perf_counter()
    search(tests, library)
    print(f"numpy {kind}: {time.perf_counter() - start:.3f} s for {tests.shape[0]} x {library.shape[0]} x {library.shape[1]}")


if __name__ == "__main__":
    main()

#pragma once
// The Golub-Reinsch singular value decomposition A = U * diag(w) * V^T of an m x n matrix:
// Householder reduction to bidiagonal form, accumulation of the transformations, then implicit
// shift QR sweeps from the last singular value to the first. Negligibility is judged relative
// to the norm of the bidiagonal form; every singular value gets at most 30 sweeps (the 30th one
// is reported and still carried out). Singular values come out non-negative, unsorted.
//
// Storage is column-major (column j of an m-row matrix starts at j * m) so that every inner loop
// of the procedure runs over consecutive elements; large steps are shared over both cores with
// each element computed exactly as in the serial order.
#include <vector>

namespace kiv {

struct SvdColumns {
    int rows = 0;  // m
    int cols = 0;  // n
    std::vector<double> u;  // m x n; holds A on entry, U on return (when wanted)
    std::vector<double> w;  // n singular values
    std::vector<double> v;  // n x n
};

// Decomposes s.u in place. Without wantU the left-hand transformations are neither accumulated
// nor rotated and s.u holds no meaningful values afterwards; a matrix with at least twice as
// many rows as columns is then first reduced to its triangular QR factor, so w and V agree with
// the full decomposition up to rounding (and the signs of the vectors).
void SvdDecompose(SvdColumns& s, bool wantU);

// sqrt(a^2 + b^2) without destructive overflow or underflow; 0 when both are 0.
double Pythag(double a, double b);

}  // namespace kiv

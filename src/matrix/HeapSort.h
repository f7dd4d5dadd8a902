#pragma once
// The in-place heapsort shared by the integer and the real matrices: values[0..n-1] taken as the
// 1-based array a[1..n], with an optional permutation that moves along. The heap is built from
// position n/2 + 1 downwards, then the root is extracted into the last position again and again.
// Ascending: the sift-down follows the larger child and stops when the moving value is >= that
// child; descending mirrors it with the smaller child. When both children are equal it follows
// the left one, so the order of ties is fixed.
#include <cstdint>

namespace kiv {

template <class T>
void HeapSort(T* values, int32_t* permutation, int n, bool ascending)
{
    if (n < 2) return;
    auto a = [values](int64_t i) -> T& { return values[i - 1]; };
    auto p = [permutation](int64_t i) -> int32_t& { return permutation[i - 1]; };
    const bool moveIndex = permutation != nullptr;
    auto before = [ascending](const T& x, const T& y) { return ascending ? x < y : x > y; };
    int64_t l = n / 2 + 1;
    int64_t ir = n;
    for (;;) {
        T moving;
        int32_t movingIndex = 0;
        if (l > 1) {
            --l;
            moving = a(l);
            if (moveIndex) movingIndex = p(l);
        } else {
            moving = a(ir);
            a(ir) = a(1);
            if (moveIndex) {
                movingIndex = p(ir);
                p(ir) = p(1);
            }
            if (--ir == 1) {
                a(1) = moving;
                if (moveIndex) p(1) = movingIndex;
                break;
            }
        }
        int64_t i = l;
        int64_t j = l + l;
        while (j <= ir) {
            if (j < ir && before(a(j), a(j + 1))) ++j;
            if (!before(moving, a(j))) break;
            a(i) = a(j);
            if (moveIndex) p(i) = p(j);
            i = j;
            j += j;
        }
        a(i) = moving;
        if (moveIndex) p(i) = movingIndex;
    }
}

}  // namespace kiv

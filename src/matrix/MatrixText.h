#pragma once
// Reading numbers out of matrix text files. In these files a number starts at '-', '.' or a
// digit; every other character separates. Used by the plain matrix reader, the titled matrix
// readers of both matrix classes and the CDM text data.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/MessageLog.h"

namespace kiv {

class CMatrix;
class CMatrixI;

inline bool StartsMatrixNumber(char c) { return c == '-' || c == '.' || (c >= '0' && c <= '9'); }

// Reads a base-10 integer (optional '-', digits) starting exactly at text[0]; returns the
// characters consumed, 0 when none (value untouched). Values beyond 32 bits are clamped.
size_t ScanMatrixInt(std::string_view text, int32_t& value);

// A real truncated towards zero to an int, clamped to the 32-bit range (for counts).
int32_t TruncateToInt(double value);

// Calls found(position) at every place in line where a number may start; found returns the
// characters it consumed. A '-' or '.' that begins no number (0 consumed) is stepped over.
template <class Found>
void ForEachMatrixNumber(std::string_view line, Found&& found)
{
    size_t pos = 0;
    while (pos < line.size()) {
        if (!StartsMatrixNumber(line[pos])) {
            ++pos;
            continue;
        }
        const size_t used = found(line.substr(pos));
        pos += used == 0 ? 1 : used;
    }
}

// A damaged header may announce far more cells than its file can hold. Shapes up to this many
// cells are honoured whatever the file size (the missing values stay 0); beyond it the file
// must hold at least one character per cell, else the shape is refused as an allocation
// failure instead of allocating memory the data can never fill.
inline constexpr int64_t kMatrixTextTrustedCells = int64_t(1) << 22;
bool MatrixTextShapePlausible(int64_t rows, int64_t cols, int64_t fileBytes);

// The titled matrix file reader behind CMatrix::LoadClassFile and CMatrixI::LoadClassFile.
void LoadTitledMatrix(const std::string& path, MessageLog& log, CMatrix& matrix, CMatrixI& classes);
void LoadTitledMatrix(const std::string& path, MessageLog& log, CMatrixI& matrix, CMatrixI& classes);

}  // namespace kiv

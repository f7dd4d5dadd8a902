#include "matrix/MatrixText.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <type_traits>

#include "base/Format.h"
#include "base/Numbers.h"
#include "base/TextFile.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"

namespace kiv {

size_t ScanMatrixInt(std::string_view text, int32_t& value)
{
    size_t i = 0;
    if (i < text.size() && text[i] == '-') ++i;
    const size_t digitsStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == digitsStart) return 0;
    value = ParseInt(text.substr(0, i));
    return i;
}

int32_t TruncateToInt(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool MatrixTextShapePlausible(int64_t rows, int64_t cols, int64_t fileBytes)
{
    if (rows < 0 || cols < 0) return false;
    if (rows == 0 || cols == 0) return true;
    if (rows > INT64_MAX / cols) return false;
    const int64_t cells = rows * cols;
    return cells <= std::max(kMatrixTextTrustedCells, fileBytes);
}

namespace {

// The titled matrix file: a title line, then numbers consumed by a small state machine (column
// count, row count, the values row by row, class counts, surplus numbers). The integer matrix
// reads shorter lines, takes its values as integers and gives unclassified objects class 6;
// the real matrix gives them the class after the last one read, at least 6.
template <class Matrix>
void LoadTitled(const std::string& path, MessageLog& log, Matrix& matrix, CMatrixI& classes)
{
    constexpr bool integerData = std::is_same_v<Matrix, CMatrixI>;
    constexpr size_t lineChars = integerData ? 256 : 65535;
    constexpr const char* loadedFormat =
        integerData ? "MatrixI loaded. Data: %i x %i" : "Matrix loaded. Data: %i x %i";

    CTextReader reader;
    if (!reader.Open(path)) {
        log.push_back("File could not be opened!");
        return;
    }
    log.push_back(Format("Open File: %s", path.c_str()));
    std::error_code error;
    const auto fileSize = std::filesystem::file_size(path, error);
    const int64_t fileBytes = error ? 0 : static_cast<int64_t>(fileSize);

    enum class State { ColCount, RowCount, Data, ClassCounts, Unused, Ignore };
    State state = State::ColCount;
    int cols = 0, rows = 0;
    int row = 1, col = 1;
    int64_t assigned = 0;  // objects given a class so far
    int classCount = 0;
    bool allocated = false;
    bool unusedLogged = false;

    auto takeHeader = [&](double number) {
        if (state == State::ColCount) {
            cols = TruncateToInt(number);
            state = State::RowCount;
            return;
        }
        rows = TruncateToInt(number);
        log.push_back(Format(loadedFormat, rows, cols));
        state = State::Ignore;
        if (rows == 0 || cols == 0) return;
        if (!MatrixTextShapePlausible(rows, cols, fileBytes)) {
            matrix.Free();
            Matrix::ReportAllocationFailure();
            return;
        }
        if (!matrix.Alloc(rows, cols)) return;
        if (!classes.Alloc(rows, 1)) {
            matrix.Free();
            return;
        }
        allocated = true;
        state = State::Data;
    };

    auto takeClassCount = [&](double number) {
        const int64_t n = TruncateToInt(number);
        if (++classCount == 1) log.push_back("Class Numbers found.");
        // Writes beyond the last object are dropped, so only existing objects are visited (a
        // huge count must not loop for ages).
        const int64_t first = std::max<int64_t>(1, 1 - assigned);
        const int64_t last = std::min<int64_t>(n, rows - assigned);
        for (int64_t i = first; i <= last; ++i) classes.Set(static_cast<int>(assigned + i), 1, classCount);
        assigned += n;
        if (assigned >= rows) state = State::Unused;
    };

    auto consume = [&](std::string_view text) -> size_t {
        if (state == State::Ignore) return text.size();
        size_t used = 0;
        if (state == State::Data) {
            if constexpr (integerData) {
                int32_t value = 0;
                used = ScanMatrixInt(text, value);
                if (used > 0) matrix.Set(row, col, value);
            } else {
                double value = 0.0;
                used = ScanReal(text, value);
                if (used > 0) matrix.Set(row, col, value);
            }
            if (used > 0 && ++col > cols) {
                col = 1;
                if (++row > rows) state = State::ClassCounts;
            }
            return used;
        }
        double number = 0.0;
        used = ScanReal(text, number);
        if (used == 0) return 0;
        if (state == State::ColCount || state == State::RowCount) {
            takeHeader(number);
        } else if (state == State::ClassCounts) {
            takeClassCount(number);
        } else if (!unusedLogged) {
            log.push_back("Unused Numbers at end of file found.");
            unusedLogged = true;
        }
        return used;
    };

    std::string line;
    std::string title;
    bool first = true;
    while (reader.ReadLine(line, lineChars)) {
        TrimRight(line, "\n");
        if (first) {
            title = line;
            first = false;
            continue;
        }
        if (state == State::Ignore) continue;
        ForEachMatrixNumber(line, consume);
    }
    reader.Close();
    matrix.name = title;

    // Only a matrix that was read gets default classes; a file without data leaves the class
    // vector of the caller alone.
    if (!allocated) return;
    const int32_t unclassified = integerData ? 6 : std::max(classCount + 1, 6);
    for (int64_t r = std::max<int64_t>(assigned + 1, 1); r <= rows; ++r)
        classes.Set(static_cast<int>(r), 1, unclassified);
}

}  // namespace

void LoadTitledMatrix(const std::string& path, MessageLog& log, CMatrix& matrix, CMatrixI& classes)
{
    LoadTitled(path, log, matrix, classes);
}

void LoadTitledMatrix(const std::string& path, MessageLog& log, CMatrixI& matrix, CMatrixI& classes)
{
    LoadTitled(path, log, matrix, classes);
}

}  // namespace kiv

#include "matrix/Matrix.h"

#include <algorithm>
#include <sys/types.h>
#include <vector>

#include "base/BinaryIO.h"
#include "base/Numbers.h"
#include "base/Reporter.h"
#include "matrix/MatrixI.h"
#include "matrix/MatrixText.h"

namespace kiv {

namespace {

constexpr double kMaxStart = 1e-308;
constexpr double kMinStart = 1e308;
constexpr size_t kTextLineChars = 65535;

void ReportDimensions(const char* operation)
{
    ReportNumericalError(std::string(operation) + "\nMatrix dimensions do not match!");
}

}  // namespace

CMatrix::CMatrix(const CMatrix& other) : CMatrixStorage(other) {}

CMatrix& CMatrix::operator=(const CMatrix& other)
{
    if (this != &other) {
        CMatrixStorage::operator=(other);
        attached_ = 0;
    }
    return *this;
}

CMatrix& CMatrix::operator=(CMatrix&& other) noexcept
{
    if (this != &other) {
        CMatrixStorage::operator=(std::move(other));
        file_ = std::move(other.file_);
        attached_ = other.attached_;
        other.attached_ = 0;
    }
    return *this;
}

bool CMatrix::Alloc(int rows, int cols)
{
    attached_ = 0;
    return CMatrixStorage::Alloc(rows, cols);
}

bool CMatrix::Resize(int rows, int cols)
{
    attached_ = 0;
    return CMatrixStorage::Resize(rows, cols);
}

void CMatrix::GetRow(int row, CMatrix& out) const
{
    if (&out == this) {
        CMatrix copy(*this);
        copy.GetRow(row, out);
        return;
    }
    if (!out.Alloc(1, cols_)) return;
    if (row < 1 || row > rows_) return;
    std::copy_n(data_.data() + Offset(row, 1), cols_, out.data_.data());
}

void CMatrix::SubMatrix(int r0, int c0, int n, int m, CMatrix& out) const
{
    if (&out == this) {
        CMatrix copy(*this);
        copy.SubMatrix(r0, c0, n, m, out);
        return;
    }
    if (!out.Alloc(n, m)) return;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= m; ++j) out.Set(i, j, Get(r0 + i - 1, c0 + j - 1));
}

CMatrix CMatrix::xT(const CMatrix& y) const
{
    CMatrix result;
    if (cols_ != y.cols_) {
        ReportDimensions("CMatrix xT");
        return result;
    }
    if (!result.Alloc(rows_, y.rows_)) return result;
    for (int i = 1; i <= rows_; ++i) {
        const double* a = data_.data() + Offset(i, 1);
        for (int k = 1; k <= y.rows_; ++k) {
            const double* b = y.data_.data() + y.Offset(k, 1);
            double sum = 0.0;
            for (int j = 0; j < cols_; ++j) sum += a[j] * b[j];
            result.data_[result.Offset(i, k)] = sum;
        }
    }
    return result;
}

CMatrix CMatrix::Tx(const CMatrix& y) const
{
    CMatrix result;
    if (rows_ != y.rows_) {
        ReportDimensions("CMatrix Tx");
        return result;
    }
    if (!result.Alloc(cols_, y.cols_)) return result;
    // Accumulate in the order j = 1, 2, ... for every element, row j contributing at once.
    for (int j = 1; j <= rows_; ++j) {
        const double* a = data_.data() + Offset(j, 1);
        const double* b = y.data_.data() + y.Offset(j, 1);
        for (int i = 0; i < cols_; ++i) {
            double* out = result.data_.data() + result.Offset(i + 1, 1);
            for (int k = 0; k < y.cols_; ++k) out[k] += a[i] * b[k];
        }
    }
    return result;
}

CMatrix CMatrix::xCols(const CMatrix& v) const
{
    return ColumnWise(v, [](double x, double factor) { return x * factor; });
}

CMatrix CMatrix::SubCols(const CMatrix& v) const
{
    return ColumnWise(v, [](double x, double centre) { return x - centre; });
}

template <class Operation>
CMatrix CMatrix::ColumnWise(const CMatrix& v, Operation operation) const
{
    // Both operations report under the name of the scaling one.
    if (v.rows_ != 1 || v.cols_ != cols_) {
        ReportDimensions("CMatrix xCols");
        return CMatrix();
    }
    CMatrix result(*this);
    for (int i = 1; i <= rows_; ++i) {
        double* row = result.data_.data() + result.Offset(i, 1);
        for (int j = 0; j < cols_; ++j) row[j] = operation(row[j], v.data_[static_cast<size_t>(j)]);
    }
    return result;
}

CMatrix CMatrix::operator*(const CMatrix& y) const
{
    const bool xScalar = rows_ == 1 && cols_ == 1;
    const bool yScalar = y.rows_ == 1 && y.cols_ == 1;
    // A 1 x 1 operand scales the other one, whether or not the shapes also chain.
    if (yScalar) return *this * y.data_[0];
    if (xScalar) return y * data_[0];
    CMatrix result;
    if (cols_ != y.rows_) {
        ReportDimensions("CMatrix *");
        return result;
    }
    if (!result.Alloc(rows_, y.cols_)) return result;
    // Row i of the result gathers X(i, j) * row j of Y in the order j = 1, 2, ...
    for (int i = 1; i <= rows_; ++i) {
        double* out = result.data_.data() + result.Offset(i, 1);
        const double* a = data_.data() + Offset(i, 1);
        for (int j = 1; j <= cols_; ++j) {
            const double* b = y.data_.data() + y.Offset(j, 1);
            const double factor = a[j - 1];
            for (int k = 0; k < y.cols_; ++k) out[k] += factor * b[k];
        }
    }
    return result;
}

CMatrix CMatrix::operator*(double s) const
{
    CMatrix result(*this);
    for (double& value : result.data_) value *= s;
    return result;
}

CMatrix& CMatrix::operator*=(double s)
{
    for (double& value : data_) value *= s;
    return *this;
}

CMatrix& CMatrix::operator+=(double s)
{
    for (double& value : data_) value += s;
    return *this;
}

void CMatrix::AppendCols(const CMatrix& y)
{
    if (rows_ == 0 && cols_ == 0) {
        *this = y;
        return;
    }
    if (rows_ != y.rows_) {
        ReportRunTimeError("Rows do not match!");
        return;
    }
    const int oldCols = cols_;
    if (!Resize(rows_, cols_ + y.cols_)) return;
    for (int i = 1; i <= rows_; ++i)
        std::copy_n(y.data_.data() + y.Offset(i, 1), y.cols_, data_.data() + Offset(i, oldCols + 1));
}

void CMatrix::AppendRows(const CMatrix& y)
{
    if (rows_ == 0 && cols_ == 0) {
        *this = y;
        return;
    }
    if (cols_ != y.cols_) {
        ReportRunTimeError("Cols do not match!");
        return;
    }
    const int oldRows = rows_;
    if (!Resize(rows_ + y.rows_, cols_)) return;
    std::copy(y.data_.begin(), y.data_.end(), data_.begin() + static_cast<ptrdiff_t>(Offset(oldRows + 1, 1)));
}

double CMatrix::RowMax(int row) const
{
    int unused = 0;
    return RowMaxIndex(row, unused);
}

double CMatrix::RowMaxIndex(int row, int& col) const
{
    double best = kMaxStart;
    for (int j = 1; j <= cols_; ++j) {
        const double value = Get(row, j);
        if (value > best) {
            best = value;
            col = j;
        }
    }
    return best;
}

double CMatrix::RowMin(int row) const
{
    double best = kMinStart;
    for (int j = 1; j <= cols_; ++j) best = std::min(best, Get(row, j));
    return best;
}

double CMatrix::Max() const
{
    double best = kMaxStart;
    for (double value : data_)
        if (value > best) best = value;
    return best;
}

double CMatrix::Min() const
{
    double best = kMinStart;
    for (double value : data_)
        if (value < best) best = value;
    return best;
}

void CMatrix::LoadText(const std::string& path)
{
    if (path.empty()) return;
    CTextReader reader;
    if (!reader.Open(path)) return;
    Alloc(1, 10);

    // Gather all values first and shape the matrix once at the end: the shape depends only on
    // the number of lines and on the value count of the last line.
    std::vector<double> values;
    std::vector<size_t> rowStarts;
    int64_t characters = 0;
    std::string line;
    while (reader.ReadLine(line, kTextLineChars)) {
        characters += static_cast<int64_t>(line.size());
        rowStarts.push_back(values.size());
        ForEachMatrixNumber(line, [&](std::string_view text) {
            double value = 0.0;
            const size_t used = ScanReal(text, value);
            if (used > 0) values.push_back(value);
            return used;
        });
    }
    const int64_t lines = static_cast<int64_t>(rowStarts.size());
    const int64_t lastCount = lines == 0 ? 0 : static_cast<int64_t>(values.size() - rowStarts.back());
    if (!MatrixTextShapePlausible(lines, lastCount, characters)) {
        Free();
        ReportAllocationFailure();
        return;
    }
    if (!Alloc(static_cast<int>(lines), static_cast<int>(lastCount))) return;
    for (int64_t i = 0; i < lines; ++i) {
        const size_t begin = rowStarts[static_cast<size_t>(i)];
        const size_t end = i + 1 < lines ? rowStarts[static_cast<size_t>(i + 1)] : values.size();
        const size_t count = std::min(end - begin, static_cast<size_t>(lastCount));
        std::copy_n(values.begin() + static_cast<ptrdiff_t>(begin), count,
                    data_.begin() + static_cast<ptrdiff_t>(Offset(static_cast<int>(i) + 1, 1)));
    }
}

void CMatrix::LoadClassFile(const std::string& path, MessageLog& log, CMatrixI& classes)
{
    LoadTitledMatrix(path, log, *this, classes);
}

bool CMatrix::OpenBin(const std::string& path)
{
    file_.reset();
    attached_ = 0;
    file_.reset(std::fopen(path.c_str(), "rb"));
    if (!file_) {
        ReportRunTimeError("Open Matrix failed!");
        return false;
    }
    attached_ = 1;
    return true;
}

void CMatrix::ReadFloats(double* target, size_t count)
{
    constexpr size_t kChunk = 16384;
    unsigned char buffer[kChunk * 4];
    size_t done = 0;
    while (done < count) {
        const size_t want = std::min(kChunk, count - done);
        const size_t got = std::fread(buffer, 4, want, file_.get());
        CByteReader reader(buffer, got * 4);
        for (size_t i = 0; i < got; ++i) target[done + i] = reader.F32();
        done += got;
        if (got < want) break;
    }
    // A file shorter than the matrix leaves the rest 0.
    std::fill(target + done, target + count, 0.0);
}

void CMatrix::ReadBinRow(int k)
{
    if (!attached_ || !file_ || rows_ < 1 || cols_ < 1) return;
    const int64_t offset = (static_cast<int64_t>(k) - 1) * cols_ * 4;
    if (offset < 0 || fseeko(file_.get(), static_cast<off_t>(offset), SEEK_SET) != 0) {
        std::fill_n(data_.begin(), cols_, 0.0);
        return;
    }
    ReadFloats(data_.data(), static_cast<size_t>(cols_));
}

void CMatrix::ReadBin()
{
    if (!attached_ || !file_ || data_.empty()) return;
    if (fseeko(file_.get(), 0, SEEK_SET) != 0) return;
    ReadFloats(data_.data(), data_.size());
}

void CMatrix::CloseBin()
{
    attached_ = 0;
    file_.reset();
}

}  // namespace kiv

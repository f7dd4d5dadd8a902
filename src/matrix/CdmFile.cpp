#include "matrix/CdmFile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sys/types.h>

#include "base/BinaryIO.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Reporter.h"
#include "matrix/MatrixText.h"

namespace kiv {

namespace {

constexpr size_t kLineChars = 65535;
constexpr const char* kFileFilter = "CDM Files (*.cdm)|*.cdm|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr const char* kDefaultTextFormat = "%12.5f";

struct FormatInfo {
    const char* name;
    int32_t code;
    int32_t size;
};

constexpr FormatInfo kFormats[] = {
    {"TEXT", kCdmText, 1},     {"INT8", kCdmInt8, 1},     {"UINT8", kCdmUInt8, 1},
    {"INT16", kCdmInt16, 2},   {"UINT16", kCdmUInt16, 2}, {"INT32", kCdmInt32, 4},
    {"UINT32", kCdmUInt32, 4}, {"INT64", kCdmInt64, 8},   {"FLOAT", kCdmFloat, 4},
    {"DOUBLE", kCdmDouble, 8}, {"BIT", kCdmBit, 1},       {"TEXTBIN", kCdmTextBin, 1},
};

bool EndsWithCdm(const std::string& path)
{
    return path.size() >= 4 && EqualsIgnoreCase(std::string_view(path).substr(path.size() - 4), ".cdm");
}

void TrimWhite(std::string& text) { TrimRight(text, " \t\r\n\v\f"); }

// One line of at most maxChars characters from a binary file, the "\n" included, like fgets
// with a buffer of maxChars + 1. False at the end of the file.
bool ReadPiece(std::FILE* file, std::string& line, size_t maxChars)
{
    line.clear();
    while (line.size() < maxChars) {
        const int c = std::getc(file);
        if (c == EOF) break;
        line.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return !line.empty();
}

// The TEXT print format must be one conversion of a double (with flags, width, precision), as
// it is handed to printf. Anything else - empty, "%s", several conversions - would print
// nothing or read arguments that are not there, so the standard "%12.5f" replaces it.
std::string SafeRealFormat(const std::string& parameter)
{
    int conversions = 0;
    for (size_t i = 0; i < parameter.size(); ++i) {
        if (parameter[i] != '%') continue;
        if (++i < parameter.size() && parameter[i] == '%') continue;
        while (i < parameter.size() && std::string_view("-+ #0").find(parameter[i]) != std::string_view::npos) ++i;
        // Width and precision of at most three digits keep every printed value short.
        auto digits = [&] {
            const size_t start = i;
            while (i < parameter.size() && parameter[i] >= '0' && parameter[i] <= '9') ++i;
            return i - start <= 3;
        };
        if (!digits()) return kDefaultTextFormat;
        if (i < parameter.size() && parameter[i] == '.') {
            ++i;
            if (!digits()) return kDefaultTextFormat;
        }
        if (i < parameter.size() && parameter[i] == 'l') ++i;
        if (i >= parameter.size() || std::string_view("fFeEgGaA").find(parameter[i]) == std::string_view::npos)
            return kDefaultTextFormat;
        ++conversions;
    }
    return conversions == 1 ? parameter : kDefaultTextFormat;
}

template <class Int>
Int RoundToInteger(double value)
{
    if (std::isnan(value)) return 0;
    const double rounded = std::round(value);
    if (rounded <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    // The largest 64-bit values are not doubles; 2^63 itself must clamp.
    if (rounded >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    return static_cast<Int>(rounded);
}

void EncodeValue(int32_t code, double value, CByteWriter& out)
{
    switch (code) {
    case kCdmFloat: out.F32(static_cast<float>(value)); break;
    case kCdmDouble: out.F64(value); break;
    case kCdmInt8: out.I8(RoundToInteger<int8_t>(value)); break;
    case kCdmUInt8: out.U8(RoundToInteger<uint8_t>(value)); break;
    case kCdmInt16: out.I16(RoundToInteger<int16_t>(value)); break;
    case kCdmUInt16: out.U16(RoundToInteger<uint16_t>(value)); break;
    case kCdmInt32: out.I32(RoundToInteger<int32_t>(value)); break;
    case kCdmUInt32: out.U32(RoundToInteger<uint32_t>(value)); break;
    case kCdmInt64: out.I64(RoundToInteger<int64_t>(value)); break;
    default: break;
    }
}

double DecodeValue(int32_t code, CByteReader& in)
{
    switch (code) {
    case kCdmFloat: return in.F32();
    case kCdmDouble: return in.F64();
    case kCdmInt8: return in.I8();
    case kCdmUInt8: return in.U8();
    case kCdmInt16: return in.I16();
    case kCdmUInt16: return in.U16();
    case kCdmInt32: return in.I32();
    case kCdmUInt32: return in.U32();
    case kCdmInt64: return static_cast<double>(in.I64());
    default: return 0.0;
    }
}

int64_t FileSize(std::FILE* file)
{
    const off_t here = ftello(file);
    if (here < 0 || fseeko(file, 0, SEEK_END) != 0) return 0;
    const off_t size = ftello(file);
    fseeko(file, here, SEEK_SET);
    return size < 0 ? 0 : static_cast<int64_t>(size);
}

}  // namespace

CCdmFile::~CCdmFile()
{
    CloseWrite();
}

void CCdmFile::Reset()
{
    CloseWrite();
    CloseRead();
    readMode_ = 0;
    writeOpen_ = 0;
    bibFileName_.clear();
    blockSize_ = 200;
    readFileName_.clear();
    writeFileName_.clear();
}

void CCdmFile::Attach(CMatrix& matrix)
{
    Reset();
    matrix_ = &matrix;
    featureDefinitions_ = nullptr;
}

void CCdmFile::Attach(CMatrix& matrix, std::vector<std::string>& featureDefinitions)
{
    Reset();
    matrix_ = &matrix;
    featureDefinitions_ = &featureDefinitions;
}

void CCdmFile::SetFormat(const std::string& format)
{
    const size_t tab = format.find('\t');
    const std::string name = tab == std::string::npos ? format : format.substr(0, tab);
    const std::string parameter = tab == std::string::npos ? std::string() : format.substr(tab + 1);
    for (const FormatInfo& info : kFormats) {
        if (EqualsIgnoreCase(name, info.name)) {
            formatName_ = info.name;
            formatParameter_ = parameter;
            formatCode_ = info.code;
            valueSize_ = info.size;
            return;
        }
    }
    formatName_ = "FLOAT";
    formatParameter_.clear();
    formatCode_ = kCdmFloat;
    valueSize_ = 4;
}

std::string CCdmFile::AskFormat(CPrompter& prompter, const std::string& current)
{
    return AskText(prompter, FormatChoice(0), current,
                   {{"TEXT", FormatChoice(2)}, {"FLOAT", FormatChoice(11)}, {"DOUBLE", FormatChoice(13)}});
}

std::string CCdmFile::FormatChoice(int number)
{
    switch (number) {
    case 0:
        return "Save Formated Data with Header:\nTEXT\t%12.5f\tfloat 100.00000\nFLOAT\t\tfloat 32 bit\n"
               "DOUBLE\tdouble 64 bit";
    case 1: return "TEXT %12.5f";
    case 2: return "TEXT\t%12.5f";
    case 11:
    case 12: return "FLOAT";
    case 13:
    case 14: return "DOUBLE";
    default: return std::string();
    }
}

// ---------------------------------------------------------------------------------------------
// Writing

bool CCdmFile::Save(const std::string& format, const std::string& path, int rows, int cols)
{
    CloseWrite();
    if (path.empty()) return false;
    return SaveTo(format, path, rows, cols);
}

bool CCdmFile::Save(const std::string& format, const std::string& path, int rows, int cols, CPrompter& prompter)
{
    CloseWrite();
    if (!path.empty()) return SaveTo(format, path, rows, cols);
    const auto chosen = prompter.ChooseFileToSave(
        {"Save Matrix as CDM or TXT/BIN (only *.cdm writes header):", "*.cdm", kFileFilter});
    if (!chosen || chosen->empty()) return false;
    std::string name = *chosen;
    const size_t slash = name.find_last_of("/\\");
    if (name.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos) name += ".cdm";
    return SaveTo(format, name, rows, cols);
}

bool CCdmFile::SaveTo(const std::string& format, std::string path, int rows, int cols)
{
    rows_ = rows < 1 ? (matrix_ ? matrix_->Rows() : 0) : rows;
    cols_ = cols < 1 ? (matrix_ ? matrix_->Cols() : 0) : cols;
    writeFile_.reset(std::fopen(path.c_str(), "wb"));
    if (!writeFile_) return false;
    writeFileName_ = std::move(path);
    writeOpen_ = 1;
    writeCounter_ = 0;
    pendingBits_ = 0;
    pendingBitCount_ = 0;
    SetFormat(format);
    if (EndsWithCdm(writeFileName_)) WriteHeader();
    return true;
}

void CCdmFile::WriteBytes(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), writeFile_.get());
}

void CCdmFile::WriteHeader()
{
    std::string header = Format("/%s%s%d\r\n", "CDM", "\t", 0);
    header += "/ROWSCOLS\t1\r\n";
    header += Format("%d%s%d\r\n", rows_, "\t", cols_);
    header += "/FORMAT\t1\r\n";
    if (!formatParameter_.empty())
        header += formatName_ + "\t" + formatParameter_ + "\r\n";
    else
        header += formatName_ + "\r\n";
    if (featureDefinitions_ && !featureDefinitions_->empty()) {
        header += Format("/FEATDEF\t%d\r\n", static_cast<int>(featureDefinitions_->size()));
        for (std::string line : *featureDefinitions_) {
            TrimWhite(line);
            header += line + "\r\n";
        }
    }
    if (!bibFileName_.empty()) header += "/BIBFILE\t1\r\n" + bibFileName_ + "\r\n";
    const bool textRows = formatCode_ == kCdmText || formatCode_ == kCdmTextBin;
    header += Format("/DATA\t%d\r\n", textRows ? rows_ : 0);
    WriteBytes(header);
}

void CCdmFile::WriteData()
{
    if (!writeOpen_ || !writeFile_) return;
    ++writeCounter_;
    if (!matrix_) return;
    const CMatrix& m = *matrix_;
    const int rows = m.Rows(), cols = m.Cols();
    std::string out;
    switch (formatCode_) {
    case kCdmText: {
        const std::string format = SafeRealFormat(formatParameter_);
        for (int i = 1; i <= rows; ++i) {
            out.clear();
            for (int j = 1; j <= cols; ++j) {
                if (j > 1) out += '\t';
                out += Format(format.c_str(), m.Get(i, j));
            }
            out += "\r\n";
            WriteBytes(out);
        }
        return;
    }
    case kCdmTextBin:
        for (int i = 1; i <= rows; ++i) {
            out.clear();
            for (int j = 1; j <= cols; ++j) out += m.Get(i, j) > 0.5 ? '1' : '0';
            out += "\r\n";
            WriteBytes(out);
        }
        return;
    case kCdmBit:
        for (double value : m.Flat()) {
            if (value > 0.5) pendingBits_ |= static_cast<unsigned char>(1u << pendingBitCount_);
            if (++pendingBitCount_ == 8) {
                out.push_back(static_cast<char>(pendingBits_));
                pendingBits_ = 0;
                pendingBitCount_ = 0;
            }
        }
        WriteBytes(out);
        return;
    default: {
        for (int i = 1; i <= rows; ++i) {
            out.clear();
            CByteWriter writer(out);
            for (int j = 1; j <= cols; ++j) EncodeValue(formatCode_, m.Get(i, j), writer);
            WriteBytes(out);
        }
        return;
    }
    }
}

void CCdmFile::CloseWrite()
{
    if (writeOpen_ && writeFile_ && pendingBitCount_ > 0) {
        // The last, partly filled byte of a BIT file.
        std::fputc(pendingBits_, writeFile_.get());
    }
    pendingBits_ = 0;
    pendingBitCount_ = 0;
    writeFile_.reset();
    writeOpen_ = 0;
}

// ---------------------------------------------------------------------------------------------
// Reading

CdmLoad CCdmFile::Load(const std::string& path)
{
    CloseRead();
    if (path.empty()) return CdmLoad::NotOpened;
    readFileName_ = path;
    if (!EndsWithCdm(path)) {
        readMode_ = 2;
        return CdmLoad::TextMatrix;
    }
    readFile_.reset(std::fopen(path.c_str(), "rb"));
    if (!readFile_) return CdmLoad::NotOpened;
    readMode_ = 1;
    bibFileName_.clear();
    if (featureDefinitions_) featureDefinitions_->clear();
    ReadHeader();
    return CdmLoad::Cdm;
}

CdmLoad CCdmFile::Load(const std::string& path, CPrompter& prompter)
{
    if (!path.empty()) return Load(path);
    CloseRead();
    const auto chosen = prompter.ChooseFileToOpen({"Load CDM or Text:", "*.cdm", kFileFilter});
    if (!chosen || chosen->empty()) return CdmLoad::NotOpened;
    return Load(*chosen);
}

void CCdmFile::ReadHeader()
{
    rows_ = cols_ = 0;
    dataOffset_ = 0;
    blockFirstRow_ = 0;
    SetFormat("FLOAT");
    std::FILE* file = readFile_.get();

    auto split = [](const std::string& line, std::string& value) {
        const size_t tab = line.find('\t');
        value = tab == std::string::npos ? std::string() : line.substr(tab + 1);
        return tab == std::string::npos ? line : line.substr(0, tab);
    };

    std::string line, value, keyword;
    bool seenCdm = false;
    int64_t contentLeft = 0;  // content lines of the current keyword still to come
    int64_t contentIndex = 0;
    while (ReadPiece(file, line, kLineChars)) {
        TrimWhite(line);
        if (!seenCdm) {
            if (split(line, value) != "/CDM") continue;
            seenCdm = true;
            keyword = "/CDM";
            contentLeft = std::max(ParseInt(value), 0);
            contentIndex = 0;
            continue;
        }
        if (contentLeft > 0) {
            --contentLeft;
            if (keyword == "/FEATDEF") {
                if (featureDefinitions_) featureDefinitions_->push_back(line);
            } else if (contentIndex == 0 && keyword == "/ROWSCOLS") {
                const size_t tab = line.find('\t');
                rows_ = ParseInt(line.substr(0, tab));
                cols_ = tab == std::string::npos ? 0 : ParseInt(line.substr(tab + 1));
            } else if (contentIndex == 0 && keyword == "/FORMAT") {
                SetFormat(line);
            } else if (contentIndex == 0 && keyword == "/BIBFILE") {
                bibFileName_ = line;
            }
            ++contentIndex;
            continue;
        }
        if (line.empty() || line[0] != '/') continue;
        keyword = split(line, value);
        if (keyword == "/DATA") {
            const off_t position = ftello(file);
            dataOffset_ = position < 0 ? 0 : static_cast<int64_t>(position);
            blockFirstRow_ = 0;
            CheckDataLength();
            return;
        }
        contentLeft = std::max(ParseInt(value), 0);
        contentIndex = 0;
    }
    // No data section: nothing can be read, whatever shape the header announced.
    rows_ = cols_ = 0;
}

// Compares the announced shape with the bytes after "/DATA" before anything is allocated, so
// that a damaged or hostile header can neither make a reader ask for memory the data never
// fill nor make a block loop walk through rows that do not exist. Rows are cut to those the
// data can supply (a partly present last row counts; its missing values read as 0) and to the
// cells the data can fill: up to kMatrixTextTrustedCells cells are honoured as for matrix text
// (a text row may leave out trailing values), beyond that every cell must be present (one
// character for each value of text). Rows without columns hold nothing. A cut is reported.
void CCdmFile::CheckDataLength()
{
    rows_ = std::max(rows_, 0);
    cols_ = std::max(cols_, 0);
    if (rows_ == 0) return;
    if (cols_ == 0) {
        ReportRunTimeError(Format("CDM file %s is damaged:\nthe header announces %d rows but no columns.",
                                  readFileName_.c_str(), rows_));
        rows_ = 0;
        return;
    }
    const int64_t available = std::max<int64_t>(FileSize(readFile_.get()) - dataOffset_, 0);
    const int64_t cols = cols_;
    int64_t values = available;  // a bound on the values present
    int64_t presentRows = available;  // TEXT: every row needs at least its line end
    switch (formatCode_) {
    case kCdmText: break;
    case kCdmTextBin: presentRows = (available + cols) / (cols + 1); break;
    case kCdmBit:
        values = available * 8;
        presentRows = (values + cols - 1) / cols;
        break;
    default:
        values = available / valueSize_;
        presentRows = (values + cols - 1) / cols;
        break;
    }
    presentRows = std::min(presentRows, std::max(kMatrixTextTrustedCells, values) / cols);
    if (presentRows >= rows_) return;
    ReportRunTimeError(Format("CDM file %s is damaged or truncated:\nthe header announces %d rows, "
                              "the data hold %d.",
                              readFileName_.c_str(), rows_, static_cast<int>(presentRows)));
    rows_ = static_cast<int32_t>(presentRows);
}

int CCdmFile::SeekData()
{
    if (readMode_ != 1 || !readFile_ || dataOffset_ == 0) return 0;
    if (fseeko(readFile_.get(), static_cast<off_t>(dataOffset_), SEEK_SET) != 0) return 0;
    blockFirstRow_ = 0;
    return 1;
}

bool CCdmFile::SkipRows(int count)
{
    std::string line;
    for (int i = 0; i < count; ++i) {
        if (formatCode_ == kCdmTextBin) {
            for (int j = 0; j < cols_; ++j)
                if (std::getc(readFile_.get()) == EOF) return false;
        }
        if (!ReadPiece(readFile_.get(), line, kLineChars)) return false;
    }
    return true;
}

void CCdmFile::ReadTextRow(int matrixRow)
{
    std::string line;
    if (!ReadPiece(readFile_.get(), line, kLineChars)) return;
    TrimWhite(line);
    size_t start = 0;
    for (int k = 1; k <= cols_; ++k) {
        const size_t tab = line.find('\t', start);
        matrix_->Set(matrixRow, k, ParseReal(std::string_view(line).substr(start, tab - start)));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
}

void CCdmFile::ReadTextBinRow(int matrixRow)
{
    for (int k = 1; k <= cols_; ++k) {
        const int c = std::getc(readFile_.get());
        if (c == EOF) return;
        matrix_->Set(matrixRow, k, c == '0' ? 0.0 : 1.0);
    }
    std::string rest;
    ReadPiece(readFile_.get(), rest, kLineChars);
}

// Bits firstBit.. of the packed data, rowCount rows of cols_ values into matrix rows
// firstMatrixRow.. Bits past the end of the file read as 0.
void CCdmFile::ReadBits(int64_t firstBit, int firstMatrixRow, int rowCount)
{
    const int64_t count = int64_t(rowCount) * cols_;
    if (count <= 0) return;
    if (fseeko(readFile_.get(), static_cast<off_t>(dataOffset_ + firstBit / 8), SEEK_SET) != 0) return;
    const int shift = static_cast<int>(firstBit % 8);
    std::vector<unsigned char> bytes(static_cast<size_t>((shift + count + 7) / 8), 0);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), readFile_.get());
    std::fill(bytes.begin() + static_cast<ptrdiff_t>(got), bytes.end(), 0);
    double* target = matrix_->Data() + static_cast<size_t>(firstMatrixRow - 1) * static_cast<size_t>(cols_);
    for (int64_t k = 0; k < count; ++k) {
        const int64_t bit = shift + k;
        target[k] = (bytes[static_cast<size_t>(bit / 8)] >> (bit % 8)) & 1 ? 1.0 : 0.0;
    }
}

// count rows from the current position into matrix rows firstMatrixRow.. (text and fixed-size
// formats); values past the end of the file stay 0.
void CCdmFile::ReadRows(int firstMatrixRow, int count)
{
    if (count <= 0) return;
    if (formatCode_ == kCdmText) {
        for (int i = 0; i < count; ++i) ReadTextRow(firstMatrixRow + i);
        return;
    }
    if (formatCode_ == kCdmTextBin) {
        for (int i = 0; i < count; ++i) ReadTextBinRow(firstMatrixRow + i);
        return;
    }
    const size_t size = static_cast<size_t>(valueSize_);
    std::vector<unsigned char> row(static_cast<size_t>(cols_) * size);
    for (int i = 0; i < count; ++i) {
        const size_t got = std::fread(row.data(), size, static_cast<size_t>(cols_), readFile_.get());
        CByteReader reader(row.data(), got * size);
        for (size_t j = 0; j < got; ++j)
            matrix_->Set(firstMatrixRow + i, static_cast<int>(j) + 1, DecodeValue(formatCode_, reader));
        if (got < static_cast<size_t>(cols_)) return;
    }
}

int CCdmFile::ReadData(int row)
{
    if (readMode_ == 2) {
        if (matrix_) matrix_->LoadText(readFileName_);
        return 0;
    }
    if (readMode_ != 1 || !readFile_ || dataOffset_ == 0 || !matrix_) return 0;
    CMatrix& m = *matrix_;

    if (row == 0) {
        if (!m.Alloc(rows_, cols_)) return 0;
        if (formatCode_ == kCdmBit)
            ReadBits(0, 1, rows_);
        else
            ReadRows(1, rows_);
        return 1;
    }

    if (row > 0) {
        if (rows_ < 1) return 0;
        if (m.Rows() != 1 || m.Cols() != cols_) {
            if (!m.Alloc(1, cols_)) return 0;
        } else {
            m.Fill(0.0);
        }
        row = std::min(row, rows_);
        if (formatCode_ == kCdmBit) {
            ReadBits(int64_t(row - 1) * cols_, 1, 1);
        } else if (formatCode_ == kCdmText || formatCode_ == kCdmTextBin) {
            // Text rows differ in length: walk to the row from the start of the data.
            if (SeekData() == 0 || !SkipRows(row - 1)) return 0;
            ReadRows(1, 1);
        } else {
            const int64_t offset = dataOffset_ + int64_t(row - 1) * valueSize_ * cols_;
            if (fseeko(readFile_.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
            ReadRows(1, 1);
        }
        return 1;
    }

    // Next block. A file shorter than one block gets a block matrix of its own rows only, so
    // that the block never asks for more cells than the data can fill.
    const int blockRows = std::min(rows_, blockSize_);
    if (m.Rows() != blockRows || m.Cols() != cols_) {
        if (!m.Alloc(blockRows, cols_)) return 0;
    } else {
        m.Fill(0.0);
    }
    const int64_t first = blockFirstRow_ == 0 ? 1 : int64_t(blockFirstRow_) + blockSize_;
    blockFirstRow_ = static_cast<int32_t>(std::min<int64_t>(first, std::numeric_limits<int32_t>::max()));
    const int count = static_cast<int>(std::clamp<int64_t>(int64_t(rows_) - first + 1, 0, blockRows));
    if (count == 0) return 0;
    if (formatCode_ == kCdmBit)
        ReadBits(int64_t(blockFirstRow_ - 1) * cols_, 1, count);
    else
        ReadRows(1, count);
    return 1;
}

void CCdmFile::CloseRead()
{
    readFile_.reset();
    readMode_ = 0;
}

}  // namespace kiv

#pragma once
// CCdmFile: the chemometric data matrix file. A CDM file holds one matrix behind a short text
// header (shape, number format, the feature definitions that made the columns, the library the
// rows came from); a file whose name does not end in ".cdm" holds the data alone. One object
// serves both directions: attached to a matrix (and optionally to the feature-definition lines)
// it writes the header and then one or more blocks of rows, or reads a header and then the
// whole matrix, one row, or successive blocks of rows, so a reference library larger than
// memory can be streamed.
//
// Data encodings (all binary values little-endian, row-major):
//   TEXT     rows of values printed with the format parameter, tab-separated, CR LF per row
//   FLOAT    4-byte IEEE floats            DOUBLE   8-byte IEEE doubles
//   BIT      one bit per value (> 0.5 is set), least significant bit first, packed across row
//            ends and across blocks: ceil(rows * cols / 8) bytes in all
//   TEXTBIN  one '0' or '1' per value, CR LF per row
//   INT8, UINT8, INT16, UINT16, INT32, UINT32, INT64: integers of that width, values rounded to
//            the nearest integer and clamped to the type's range when written
#include <cstdint>
#include <string>
#include <vector>

#include "base/Prompt.h"
#include "base/TextFile.h"
#include "matrix/Matrix.h"

namespace kiv {

enum CdmFormatCode : int32_t {
    kCdmText = 1,
    kCdmInt8 = -8,
    kCdmUInt8 = 8,
    kCdmInt16 = -16,
    kCdmUInt16 = 16,
    kCdmInt32 = -32,
    kCdmUInt32 = 32,
    kCdmInt64 = -64,
    kCdmFloat = 0,
    kCdmDouble = -1,
    kCdmBit = -10,
    kCdmTextBin = -11,
};

// What Load found under a name: nothing it could open, a CDM file with its header read, or a
// plain text matrix to be read whole.
enum class CdmLoad { NotOpened = 0, Cdm = 1, TextMatrix = 2 };

class CCdmFile {
public:
    CCdmFile() = default;
    ~CCdmFile();
    CCdmFile(const CCdmFile&) = delete;
    CCdmFile& operator=(const CCdmFile&) = delete;

    // Binds the matrix (and the feature-definition lines, owned by the caller) and resets the
    // object: files closed, read mode 0, BIB file name empty, block size 200, names empty.
    void Attach(CMatrix& matrix);
    void Attach(CMatrix& matrix, std::vector<std::string>& featureDefinitions);

    // Opens path for writing (a still open output is closed first) and writes the header when
    // the name ends in ".cdm". rows / cols < 1 take the attached matrix's shape. format is a
    // format string: a name, optionally a tab and a print format ("TEXT\t%12.5f"). Returns true
    // when the file is open for writing, false when no file was chosen or it cannot be created. With an empty path the prompter's
    // save dialog asks; a chosen name without an extension gets ".cdm".
    bool Save(const std::string& format, const std::string& path, int rows, int cols);
    bool Save(const std::string& format, const std::string& path, int rows, int cols, CPrompter& prompter);
    // Appends the attached matrix's elements (its own shape) in the chosen encoding.
    void WriteData();
    void CloseWrite();

    // A ".cdm" name is opened and its header read (Cdm; NotOpened when it cannot be opened); any
    // other name is remembered as a plain text matrix (read mode 2, TextMatrix). With an empty
    // path the prompter's open dialog asks; no choice gives NotOpened.
    CdmLoad Load(const std::string& path);
    CdmLoad Load(const std::string& path, CPrompter& prompter);
    // Back to the start of the data (and to the first block); 0 when the header had no data.
    int SeekData();
    // row 0: the whole matrix; row > 0: that row (the last one for a row beyond the end) into a
    // 1 x cols matrix; row < 0: the next block of rows into a (block size, or the file's rows
    // when fewer) x cols matrix (rows past the end of the data are 0).
    // Returns 1 when CDM data was read; a plain text file is read whole and gives 0.
    int ReadData(int row);
    void CloseRead();

    // The format strings offered when a matrix is saved (1, 2, 11..14); 0 gives the prompt text
    // of the format dialog; any other number the empty text.
    static std::string FormatChoice(int number);
    // The format dialog shown before a matrix is saved with a header: the FormatChoice(0)
    // prompt with buttons for TEXT, FLOAT and DOUBLE; returns current when cancelled.
    static std::string AskFormat(CPrompter& prompter, const std::string& current);
    // Splits a format string into name and parameter and selects the format; an unknown name
    // selects FLOAT with an empty parameter.
    void SetFormat(const std::string& format);

    // The shape written last, or the shape read: the header's, cut to what the data can supply
    // (0 x 0 without a data section).
    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    const std::string& FormatName() const { return formatName_; }
    const std::string& FormatParameter() const { return formatParameter_; }
    int FormatCode() const { return formatCode_; }
    int ValueSize() const { return valueSize_; }
    int WriteCounter() const { return writeCounter_; }
    void SetBlockSize(int rows) { blockSize_ = rows > 0 ? rows : 1; }
    // First file row held in the block matrix (0 before the first block).
    int BlockFirstRow() const { return blockFirstRow_; }
    const std::string& BibFileName() const { return bibFileName_; }
    void SetBibFileName(const std::string& name) { bibFileName_ = name; }
    const std::string& ReadFileName() const { return readFileName_; }
    const std::string& WriteFileName() const { return writeFileName_; }
    int ReadMode() const { return readMode_; }
    int64_t DataOffset() const { return dataOffset_; }

private:
    void Reset();
    bool SaveTo(const std::string& format, std::string path, int rows, int cols);
    void WriteHeader();
    void ReadHeader();
    void CheckDataLength();
    void WriteBytes(const std::string& bytes);
    void ReadRows(int firstMatrixRow, int count);
    void ReadTextRow(int matrixRow);
    void ReadTextBinRow(int matrixRow);
    void ReadBits(int64_t firstBit, int firstMatrixRow, int rowCount);
    bool SkipRows(int count);

    std::string readFileName_;
    std::string writeFileName_;
    std::string formatName_ = "FLOAT";
    std::string formatParameter_;
    int32_t formatCode_ = kCdmFloat;
    int32_t valueSize_ = 4;
    int32_t rows_ = 0;
    int32_t cols_ = 0;
    int32_t writeCounter_ = 0;
    int32_t blockSize_ = 200;
    int32_t blockFirstRow_ = 0;
    CMatrix* matrix_ = nullptr;
    std::vector<std::string>* featureDefinitions_ = nullptr;
    std::string bibFileName_;
    FilePtr readFile_;
    FilePtr writeFile_;
    int32_t readMode_ = 0;
    int32_t writeOpen_ = 0;
    int64_t dataOffset_ = 0;
    // BIT output: the byte being filled and how many of its bits are used; carried over from
    // one WriteData call to the next so that blocks pack without gaps.
    unsigned char pendingBits_ = 0;
    int pendingBitCount_ = 0;
};

}  // namespace kiv

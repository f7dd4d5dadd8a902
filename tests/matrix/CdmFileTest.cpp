#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "matrix/CdmFile.h"

using namespace kiv;

namespace {

CMatrix Make(int rows, int cols, std::initializer_list<double> values)
{
    CMatrix m(rows, cols);
    int k = 1;
    for (double v : values) m.SetFlat(k++, v);
    return m;
}

std::vector<double> Values(const CMatrix& m) { return std::vector<double>(m.Flat().begin(), m.Flat().end()); }

using D = std::vector<double>;

const std::string kTextHeader = "/CDM\t0\r\n/ROWSCOLS\t1\r\n2\t3\r\n/FORMAT\t1\r\nTEXT\t%12.5f\r\n/DATA\t2\r\n";

// Answers the save / open dialogs with a fixed name.
class CNamingPrompter : public CHeadlessPrompter {
public:
    explicit CNamingPrompter(std::string name) : name_(std::move(name)) {}
    std::optional<std::string> ChooseFileToSave(const FileRequest& request) override
    {
        titles.push_back(request.title);
        return name_;
    }
    std::optional<std::string> ChooseFileToOpen(const FileRequest& request) override
    {
        titles.push_back(request.title);
        return name_;
    }
    std::vector<std::string> titles;

private:
    std::string name_;
};

}  // namespace

TEST(CdmFile, TextHeaderAndDataByteForByte)
{
    test::CScratchFolder folder;
    CMatrix m = Make(2, 3, {1, 2, 100, -4.5, 0, 1e-6});
    CCdmFile cdm;
    cdm.Attach(m);
    ASSERT_TRUE(cdm.Save("TEXT\t%12.5f", folder.Path("m.CDM"), 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
    EXPECT_EQ(test::ReadBytes(folder.Path("m.CDM")),
              kTextHeader + "     1.00000\t     2.00000\t   100.00000\r\n    -4.50000\t     0.00000\t     0.00000\r\n");

    CMatrix back;
    CCdmFile reader;
    reader.Attach(back);
    ASSERT_EQ(reader.Load(folder.Path("m.CDM")), CdmLoad::Cdm);
    EXPECT_EQ(reader.FormatName(), "TEXT");
    EXPECT_EQ(reader.FormatParameter(), "%12.5f");
    EXPECT_EQ(reader.DataOffset(), static_cast<int64_t>(kTextHeader.size()));
    ASSERT_EQ(reader.ReadData(0), 1);
    EXPECT_EQ(Values(back), (D{1, 2, 100, -4.5, 0, 0}));
    ASSERT_EQ(reader.ReadData(5), 1);  // beyond the end: the last row
    EXPECT_EQ(Values(back), (D{-4.5, 0, 0}));

    // FLOAT: the format line alone, /DATA 0, then 24 bytes.
    ASSERT_TRUE(cdm.Save("float", folder.Path("f.cdm"), 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
    const std::string header = "/CDM\t0\r\n/ROWSCOLS\t1\r\n2\t3\r\n/FORMAT\t1\r\nFLOAT\r\n/DATA\t0\r\n";
    const std::string bytes = test::ReadBytes(folder.Path("f.cdm"));
    ASSERT_EQ(bytes.size(), header.size() + 24);
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    EXPECT_EQ(bytes.substr(header.size(), 8), std::string("\x00\x00\x80\x3f\x00\x00\x00\x40", 8));
}

TEST(CdmFile, FeatureDefinitionsAndLibraryNameTravelInTheHeader)
{
    test::CScratchFolder folder;
    CMatrix m = Make(1, 2, {0.25, 8});
    std::vector<std::string> lines{"MODSUM 1 14  \t", "RATIO 2"};
    CCdmFile cdm;
    cdm.Attach(m, lines);
    cdm.SetBibFileName("lib/nist.ssd");
    ASSERT_TRUE(cdm.Save("DOUBLE", folder.Path("d.cdm"), 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
    const std::string expected =
        "/CDM\t0\r\n/ROWSCOLS\t1\r\n1\t2\r\n/FORMAT\t1\r\nDOUBLE\r\n/FEATDEF\t2\r\nMODSUM 1 14\r\nRATIO 2\r\n"
        "/BIBFILE\t1\r\nlib/nist.ssd\r\n/DATA\t0\r\n";
    const std::string bytes = test::ReadBytes(folder.Path("d.cdm"));
    ASSERT_EQ(bytes.size(), expected.size() + 16);
    EXPECT_EQ(bytes.substr(0, expected.size()), expected);

    CMatrix back;
    std::vector<std::string> readLines{"stale"};
    CCdmFile reader;
    reader.Attach(back, readLines);
    ASSERT_EQ(reader.Load(folder.Path("d.cdm")), CdmLoad::Cdm);
    EXPECT_EQ(readLines, (std::vector<std::string>{"MODSUM 1 14", "RATIO 2"}));
    EXPECT_EQ(reader.BibFileName(), "lib/nist.ssd");
    EXPECT_EQ(reader.Rows(), 1);
    EXPECT_EQ(reader.Cols(), 2);
    ASSERT_EQ(reader.ReadData(1), 1);
    EXPECT_EQ(Values(back), (D{0.25, 8}));
}

TEST(CdmFile, HeaderGrammarSkipsWhatItDoesNotKnow)
{
    test::CScratchFolder folder;
    const std::string path = folder.Path("g.cdm");
    test::WriteBytes(path,
                     "garbage before\r\n/CDM\t1\r\n/ROWSCOLS\t1\r\n"  // one content line of /CDM
                     "/ROWSCOLS\t2\r\n2\t1\r\n9\t9\r\n"
                     "not a keyword\r\n/OTHER\t3\r\n/FORMAT\t1\r\nTEXTBIN\r\n/DATA\t0\r\n"
                     "/FEATDEF\t2\r\nA\r\nB\r\n/FORMAT\t1\r\nTEXTBIN   \r\n/DATA\t2\r\n10\r\n01\r\n");
    CMatrix m;
    std::vector<std::string> lines;
    CCdmFile reader;
    reader.Attach(m, lines);
    ASSERT_EQ(reader.Load(path), CdmLoad::Cdm);
    EXPECT_EQ(reader.Rows(), 2);
    EXPECT_EQ(reader.Cols(), 1);
    EXPECT_EQ(lines, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(reader.FormatName(), "TEXTBIN");
    // TEXTBIN data "10" then "01" with cols 1: one character per row, the rest of the line
    // dropped.
    ASSERT_EQ(reader.ReadData(0), 1);
    EXPECT_EQ(Values(m), (D{1, 0}));

    // Without /DATA nothing can be read; without /CDM neither.
    test::WriteBytes(path, "/CDM\t0\r\n/ROWSCOLS\t1\r\n1\t1\r\n");
    ASSERT_EQ(reader.Load(path), CdmLoad::Cdm);
    EXPECT_EQ(reader.DataOffset(), 0);
    EXPECT_EQ(reader.ReadData(0), 0);
    EXPECT_EQ(reader.SeekData(), 0);
    test::WriteBytes(path, "/ROWSCOLS\t1\r\n1\t1\r\n/DATA\t0\r\nxxxx");
    ASSERT_EQ(reader.Load(path), CdmLoad::Cdm);
    EXPECT_EQ(reader.ReadData(0), 0);
    EXPECT_EQ(reader.Load(folder.Path("missing.cdm")), CdmLoad::NotOpened);
}

TEST(CdmFile, BitAndTextBinPacking)
{
    test::CScratchFolder folder;
    CMatrix m = Make(3, 3, {1, 0, 1, 0.6, 0.5, 0, 1, 1, 1});  // bits 1 0 1 1 0 0 1 1 | 1
    CCdmFile cdm;
    cdm.Attach(m);
    ASSERT_TRUE(cdm.Save("BIT", folder.Path("b.bin"), 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
    EXPECT_EQ(test::ReadBytes(folder.Path("b.bin")), std::string("\xcd\x01", 2));

    ASSERT_TRUE(cdm.Save("TEXTBIN", folder.Path("t.bin"), 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
    EXPECT_EQ(test::ReadBytes(folder.Path("t.bin")), "101\r\n100\r\n111\r\n");

    ASSERT_TRUE(cdm.Save("BIT", folder.Path("b.cdm"), 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
    CMatrix back;
    CCdmFile reader;
    reader.Attach(back);
    ASSERT_EQ(reader.Load(folder.Path("b.cdm")), CdmLoad::Cdm);
    ASSERT_EQ(reader.ReadData(0), 1);
    EXPECT_EQ(Values(back), (D{1, 0, 1, 1, 0, 0, 1, 1, 1}));
    ASSERT_EQ(reader.ReadData(2), 1);  // a single row starts inside the first byte
    EXPECT_EQ(Values(back), (D{1, 0, 0}));
}

TEST(CdmFile, BitWrittenRowByRowReadsBackTheSameBits)
{
    // The feature output writes one row per record; the bits must pack across the calls.
    test::CScratchFolder folder;
    const D bits{1, 1, 0, 1, 0, 0, 1, 0, 1, 1, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 1};  // 7 rows x 3
    CMatrix row(1, 3);
    CCdmFile cdm;
    cdm.Attach(row);
    ASSERT_TRUE(cdm.Save("BIT", folder.Path("rows.cdm"), 7, 3));
    for (int r = 0; r < 7; ++r) {
        for (int j = 1; j <= 3; ++j) row.Set(1, j, bits[static_cast<size_t>(r * 3 + j - 1)]);
        cdm.WriteData();
    }
    EXPECT_EQ(cdm.WriteCounter(), 7);
    cdm.CloseWrite();
    const std::string bytes = test::ReadBytes(folder.Path("rows.cdm"));
    const std::string header = "/CDM\t0\r\n/ROWSCOLS\t1\r\n7\t3\r\n/FORMAT\t1\r\nBIT\r\n/DATA\t0\r\n";
    ASSERT_EQ(bytes.size(), header.size() + 3);  // ceil(21 / 8)
    EXPECT_EQ(bytes.substr(header.size()), std::string("\x4b\xc7\x1a", 3));

    CMatrix back;
    CCdmFile reader;
    reader.Attach(back);
    ASSERT_EQ(reader.Load(folder.Path("rows.cdm")), CdmLoad::Cdm);
    ASSERT_EQ(reader.ReadData(0), 1);
    EXPECT_EQ(Values(back), bits);
    // In blocks of 3 rows: the third block holds the last row and zeros.
    reader.SetBlockSize(3);
    ASSERT_EQ(reader.SeekData(), 1);
    ASSERT_EQ(reader.ReadData(-1), 1);
    ASSERT_EQ(reader.ReadData(-1), 1);
    EXPECT_EQ(reader.BlockFirstRow(), 4);
    EXPECT_EQ(Values(back), D(bits.begin() + 9, bits.begin() + 18));
    ASSERT_EQ(reader.ReadData(-1), 1);
    EXPECT_EQ(Values(back), (D{0, 1, 1, 0, 0, 0, 0, 0, 0}));
}

TEST(CdmFile, BlocksWalkThroughTheDataAndTheLastIsShort)
{
    test::CScratchFolder folder;
    CMatrix m = Make(5, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    for (const char* format : {"FLOAT", "DOUBLE", "TEXT\t%g", "INT16"}) {
        SCOPED_TRACE(format);
        CCdmFile cdm;
        cdm.Attach(m);
        ASSERT_TRUE(cdm.Save(format, folder.Path("blocks.cdm"), 0, 0));
        cdm.WriteData();
        cdm.CloseWrite();

        CMatrix block;
        CCdmFile reader;
        reader.Attach(block);
        reader.SetBlockSize(2);
        ASSERT_EQ(reader.Load(folder.Path("blocks.cdm")), CdmLoad::Cdm);
        for (int pass = 0; pass < 2; ++pass) {
            ASSERT_EQ(reader.SeekData(), 1);
            ASSERT_EQ(reader.ReadData(-1), 1);
            EXPECT_EQ(reader.BlockFirstRow(), 1);
            EXPECT_EQ(Values(block), (D{1, 2, 3, 4}));
            ASSERT_EQ(reader.ReadData(-1), 1);
            EXPECT_EQ(Values(block), (D{5, 6, 7, 8}));
            ASSERT_EQ(reader.ReadData(-1), 1);
            EXPECT_EQ(reader.BlockFirstRow(), 5);
            EXPECT_EQ(Values(block), (D{9, 10, 0, 0}));
            EXPECT_EQ(reader.ReadData(-1), 0);
        }
        ASSERT_EQ(reader.ReadData(4), 1);
        EXPECT_EQ(Values(block), (D{7, 8}));
        reader.CloseRead();
        EXPECT_EQ(reader.ReadData(0), 0);
    }
}

TEST(CdmFile, TruncatedOrDamagedDataIsReportedAndBounded)
{
    test::CRecordingReporter reporter;
    test::CScratchFolder folder;
    const std::string path = folder.Path("short.cdm");
    const std::string floats("\x00\x00\x80\x3f\x00\x00\x00\x40\x00\x00\x40\x40\x00\x00\x80\x40\x00\x00\xa0\x40", 20);
    test::WriteBytes(path, "/CDM\t0\r\n/ROWSCOLS\t1\r\n4\t2\r\n/FORMAT\t1\r\nFLOAT\r\n/DATA\t0\r\n" + floats);
    CMatrix m;
    CCdmFile reader;
    reader.Attach(m);
    ASSERT_EQ(reader.Load(path), CdmLoad::Cdm);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0],
              "CDM file " + path + " is damaged or truncated:\nthe header announces 4 rows, the data hold 3.");
    EXPECT_EQ(reader.Rows(), 3);
    ASSERT_EQ(reader.ReadData(0), 1);
    EXPECT_EQ(Values(m), (D{1, 2, 3, 4, 5, 0}));
    ASSERT_EQ(reader.ReadData(9), 1);
    EXPECT_EQ(Values(m), (D{5, 0}));

    // Absurd shapes never turn into huge allocations.
    for (const char* shape : {"2000000000\t2", "1\t2000000000", "2000000000\t2000000000"}) {
        SCOPED_TRACE(shape);
        test::WriteBytes(path, std::string("/CDM\t0\r\n/ROWSCOLS\t1\r\n") + shape +
                                   "\r\n/FORMAT\t1\r\nBIT\r\n/DATA\t0\r\n" + floats);
        ASSERT_EQ(reader.Load(path), CdmLoad::Cdm);
        EXPECT_LE(static_cast<int64_t>(reader.Rows()) * reader.Cols(), 4000000000LL);
        reader.ReadData(0);
        EXPECT_LE(m.Count(), 160 + 2);
    }
    test::WriteBytes(path, "/CDM\t0\r\n/ROWSCOLS\t1\r\n2000000000\t3\r\n/FORMAT\t1\r\nTEXT\t%g\r\n/DATA\t2\r\n1\t2\t3\r\n");
    ASSERT_EQ(reader.Load(path), CdmLoad::Cdm);
    EXPECT_LE(reader.Rows(), 8);
    ASSERT_EQ(reader.ReadData(0), 1);
    EXPECT_EQ(m.Get(1, 3), 3.0);
}

TEST(CdmFile, FormatStringsAndIntegerEncodings)
{
    test::CScratchFolder folder;
    CCdmFile cdm;
    cdm.SetFormat("TEXT %12.5f");  // a blank is no separator
    EXPECT_EQ(cdm.FormatName(), "FLOAT");
    EXPECT_EQ(cdm.FormatParameter(), "");
    cdm.SetFormat("textbin\tx");
    EXPECT_EQ(cdm.FormatName(), "TEXTBIN");
    EXPECT_EQ(cdm.FormatCode(), -11);
    cdm.SetFormat("INT64");
    EXPECT_EQ(cdm.ValueSize(), 8);
    cdm.SetFormat("QUAD");
    EXPECT_EQ(cdm.FormatCode(), 0);
    EXPECT_EQ(CCdmFile::FormatChoice(2), "TEXT\t%12.5f");
    EXPECT_EQ(CCdmFile::FormatChoice(14), "DOUBLE");
    EXPECT_EQ(CCdmFile::FormatChoice(3), "");

    CMatrix m = Make(1, 4, {-3.4, 70000, 255.6, -1});
    cdm.Attach(m);
    ASSERT_TRUE(cdm.Save("INT16", folder.Path("i.bin"), 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
    EXPECT_EQ(test::ReadBytes(folder.Path("i.bin")), std::string("\xfd\xff\xff\x7f\x00\x01\xff\xff", 8));
    ASSERT_TRUE(cdm.Save("UINT8", folder.Path("u.bin"), 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
    EXPECT_EQ(test::ReadBytes(folder.Path("u.bin")), std::string("\x00\xff\xff\x00", 4));

    // A print format that printf cannot take safely falls back to %12.5f.
    ASSERT_TRUE(cdm.Save("TEXT\t%s", folder.Path("s.txt"), 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
    EXPECT_EQ(test::ReadBytes(folder.Path("s.txt")), "    -3.40000\t 70000.00000\t   255.60000\t    -1.00000\r\n");
    ASSERT_TRUE(cdm.Save("TEXT\t%99999999f", folder.Path("w.txt"), 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
    EXPECT_EQ(test::ReadBytes(folder.Path("w.txt")), test::ReadBytes(folder.Path("s.txt")));

    // A plain text name: data only, read back as a text matrix.
    CMatrix back;
    CCdmFile reader;
    reader.Attach(back);
    EXPECT_EQ(reader.Load(folder.Path("s.txt")), CdmLoad::TextMatrix);
    EXPECT_EQ(reader.ReadMode(), 2);
    EXPECT_EQ(reader.ReadData(0), 0);
    EXPECT_EQ(Values(back), (D{-3.4, 70000, 255.6, -1}));
}

TEST(CdmFile, DialogsChooseTheFile)
{
    test::CScratchFolder folder;
    CMatrix m = Make(1, 1, {5});
    CCdmFile cdm;
    cdm.Attach(m);
    CHeadlessPrompter headless;
    EXPECT_FALSE(cdm.Save("FLOAT", "", 0, 0, headless));
    EXPECT_EQ(cdm.Load("", headless), CdmLoad::NotOpened);

    CNamingPrompter prompter(folder.Path("chosen"));
    ASSERT_TRUE(cdm.Save("FLOAT", "", 0, 0, prompter));
    EXPECT_EQ(cdm.WriteFileName(), folder.Path("chosen.cdm"));
    cdm.WriteData();
    cdm.CloseWrite();
    ASSERT_EQ(prompter.titles.size(), 1u);
    EXPECT_EQ(prompter.titles[0], "Save Matrix as CDM or TXT/BIN (only *.cdm writes header):");

    CNamingPrompter opener(folder.Path("chosen.cdm"));
    CMatrix back;
    CCdmFile reader;
    reader.Attach(back);
    ASSERT_EQ(reader.Load("", opener), CdmLoad::Cdm);
    EXPECT_EQ(opener.titles[0], "Load CDM or Text:");
    ASSERT_EQ(reader.ReadData(0), 1);
    EXPECT_EQ(Values(back), (D{5}));
}

TEST(CdmFile, HeaderShapeIsCheckedAgainstTheDataBeforeAnyAllocation)
{
    test::CRecordingReporter reporter;
    test::CScratchFolder folder;
    const std::string path = folder.Path("shape.cdm");
    CMatrix m;
    CCdmFile reader;
    reader.Attach(m);

    // Rows without columns hold nothing: no rows, no blocks to walk through.
    const std::string noColumns = "/CDM\t0\r\n/ROWSCOLS\t1\r\n2147483647\r\n/FORMAT\t1\r\nINT8\r\n/DATA\t0\r\n";
    ASSERT_EQ(noColumns.size(), 59u);
    test::WriteBytes(path, noColumns);
    ASSERT_EQ(reader.Load(path), CdmLoad::Cdm);
    EXPECT_EQ(reporter.messages,
              std::vector<std::string>{"CDM file " + path + " is damaged:\nthe header announces 2147483647 rows but no columns."});
    EXPECT_EQ(reader.Rows(), 0);
    ASSERT_EQ(reader.SeekData(), 1);
    EXPECT_EQ(reader.ReadData(-1), 0);
    EXPECT_EQ(reader.ReadData(0), 1);
    EXPECT_EQ(m.Count(), 0);
    // A header without a data section announces nothing that can be read.
    test::WriteBytes(path, "/CDM\t0\r\n/ROWSCOLS\t2\r\n2147483647\t5\r\n/FORMAT\t1\r\nFLOAT\r\n");
    ASSERT_EQ(reader.Load(path), CdmLoad::Cdm);
    EXPECT_EQ(reader.Rows(), 0);
    EXPECT_EQ(reader.Cols(), 0);

    // 200 text rows of 2^22 columns in 200 line ends: the cells are cut to what may be trusted.
    test::WriteBytes(path, "/CDM\t0\r\n/ROWSCOLS\t1\r\n200\t4194304\r\n/FORMAT\t1\r\nTEXT\r\n/DATA\t0\r\n" +
                               std::string(200, '\n'));
    ASSERT_EQ(test::ReadBytes(path).size(), 260u);
    reporter.messages.clear();
    ASSERT_EQ(reader.Load(path), CdmLoad::Cdm);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"CDM file " + path +
                                                          " is damaged or truncated:\nthe header announces 200 "
                                                          "rows, the data hold 1."});
    ASSERT_EQ(reader.ReadData(0), 1);
    EXPECT_EQ(m.Count(), 4194304);

    // One FLOAT row of 2^22 columns with one value present: a block holds that one row, not 200.
    test::WriteBytes(path, "/CDM\t0\r\n/ROWSCOLS\t1\r\n1\t4194304\r\n/FORMAT\t1\r\nFLOAT\r\n/DATA\t0\r\n" +
                               std::string("\x00\x00\x80\x3f", 4));
    ASSERT_EQ(test::ReadBytes(path).size(), 63u);
    ASSERT_EQ(reader.Load(path), CdmLoad::Cdm);
    EXPECT_EQ(reader.Rows(), 1);
    ASSERT_EQ(reader.SeekData(), 1);
    ASSERT_EQ(reader.ReadData(-1), 1);
    EXPECT_EQ(m.Rows(), 1);
    EXPECT_EQ(m.Get(1, 1), 1.0);
    EXPECT_EQ(reader.ReadData(-1), 0);
    // Beyond the trusted cells every value must be there.
    test::WriteBytes(path, "/CDM\t0\r\n/ROWSCOLS\t1\r\n3\t4194305\r\n/FORMAT\t1\r\nDOUBLE\r\n/DATA\t0\r\n" +
                               std::string(16, '\0'));
    ASSERT_EQ(reader.Load(path), CdmLoad::Cdm);
    EXPECT_EQ(reader.Rows(), 0);
    EXPECT_EQ(reader.ReadData(1), 0);
    ASSERT_EQ(reader.SeekData(), 1);
    EXPECT_EQ(reader.ReadData(-1), 0);
    EXPECT_EQ(m.Count(), 0);
}

TEST(CdmFile, HugeBlockSizeEndsAfterTheLastRow)
{
    test::CScratchFolder folder;
    CMatrix m = Make(3, 2, {1, 2, 3, 4, 5, 6});
    CCdmFile cdm;
    cdm.Attach(m);
    ASSERT_TRUE(cdm.Save("FLOAT", folder.Path("h.cdm"), 0, 0));
    cdm.WriteData();
    cdm.CloseWrite();
    CMatrix block;
    CCdmFile reader;
    reader.Attach(block);
    reader.SetBlockSize(2147483647);
    ASSERT_EQ(reader.Load(folder.Path("h.cdm")), CdmLoad::Cdm);
    ASSERT_EQ(reader.SeekData(), 1);
    ASSERT_EQ(reader.ReadData(-1), 1);
    EXPECT_EQ(Values(block), (D{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(reader.ReadData(-1), 0);
    EXPECT_EQ(reader.ReadData(-1), 0);
}

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "LibraryFiles.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "features/FeatureDefinitionSet.h"
#include "features/FeatureOutput.h"
#include "matrix/CdmFile.h"

using namespace kiv;
using kiv::test::CScratchFolder;
using kiv::test::CScriptedPrompter;
using kiv::test::ReadBytes;

namespace {

// A set holding the given feature matrix as a first pass would leave it.
FeatureDefinitionSet SetWith(int rows, int cols, const std::vector<double>& values)
{
    FeatureDefinitionSet set;
    set.ResizeFeatures(rows, cols);
    for (size_t k = 0; k < values.size(); ++k) set.features.SetFlat(static_cast<int>(k + 1), values[k]);
    return set;
}

// Opens, writes all rows once and closes, as "Save Features" does.
std::string SaveOnce(FeatureDefinitionSet& set, int mode, const std::string& path, int64_t rowOffset = 0)
{
    CHeadlessPrompter prompter;
    set.saveMode = mode;
    set.outputFile = path;
    EXPECT_TRUE(OpenFeatureOutput(set, 0, "FLOAT", prompter));
    WriteFeatureRows(set, rowOffset);
    CloseFeatureOutput(set);
    return ReadBytes(path);
}

std::string FloatBytes(float value)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&value);
    return std::string(p, p + 4);
}

}  // namespace

TEST(FeatureOutput, TextLayoutsByteForByte)
{
    CScratchFolder folder;
    FeatureDefinitionSet set = SetWith(2, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(SaveOnce(set, 0, folder.Path("m0.txt")),
              "     1.00000     2.00000     3.00000\r\n     4.00000     5.00000     6.00000\r\n");
    // A code that names no layout writes the standard one.
    EXPECT_EQ(SaveOnce(set, -7, folder.Path("m7.txt")),
              "     1.00000     2.00000     3.00000\r\n     4.00000     5.00000     6.00000\r\n");

    FeatureDefinitionSet small = SetWith(1, 2, {0.5, -100});
    EXPECT_EQ(SaveOnce(small, -1, folder.Path("m-1.txt")), "   0.500000000000000-100.000000000000000\r\n");
    EXPECT_EQ(SaveOnce(small, -2, folder.Path("m-2.txt")),
              "   0.500000000000000\r\n-100.000000000000000\r\n\r\n");
    EXPECT_EQ(SaveOnce(small, -3, folder.Path("m-3.txt")), "             0.50000          -100.00000\r\n");
    EXPECT_EQ(SaveOnce(small, -4, folder.Path("m-4.txt")),
              "             0.50000\r\n          -100.00000\r\n\r\n");
    // Above 2 the file is opened for binary writing: the same text with bare LF.
    EXPECT_EQ(SaveOnce(small, 5, folder.Path("m5.bin")), "     0.50000  -100.00000\n");
    // A value too wide for its field pushes the row out; nothing is cut.
    FeatureDefinitionSet wide = SetWith(1, 2, {1e12, 1});
    EXPECT_EQ(SaveOnce(wide, 0, folder.Path("wide.txt")), "1000000000000.00000     1.00000\r\n");
}

TEST(FeatureOutput, DragonHeaderAndRowNumbers)
{
    CScratchFolder folder;
    FeatureDefinitionSet set = SetWith(2, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(SaveOnce(set, -5, folder.Path("d.txt")),
              "Features\r\n2\t3\t0\r\nName\t1\t2\t3\r\n"
              "1\t     1.00000\t     2.00000\t     3.00000\r\n2\t     4.00000\t     5.00000\t     6.00000\r\n");

    // Streamed one row at a time: the header names the announced total, the rows their offsets.
    FeatureDefinitionSet row = SetWith(1, 1, {7});
    row.saveMode = -5;
    row.outputFile = folder.Path("stream.txt");
    CHeadlessPrompter prompter;
    ASSERT_TRUE(OpenFeatureOutput(row, 3, "", prompter));
    for (int i = 0; i < 3; ++i) {
        row.features.Set(1, 1, 10.0 * i);
        WriteFeatureRows(row, i);
    }
    CloseFeatureOutput(row);
    EXPECT_EQ(ReadBytes(folder.Path("stream.txt")),
              "Features\r\n3\t1\t0\r\nName\t1\r\n1\t     0.00000\r\n2\t    10.00000\r\n3\t    20.00000\r\n");
}

TEST(FeatureOutput, BinaryModesHaveNoHeaderAndExactSizes)
{
    CScratchFolder folder;
    const double inf = std::numeric_limits<double>::infinity();
    FeatureDefinitionSet set = SetWith(2, 3, {1, -2.5, 100, 1e300, 0, 50});
    EXPECT_EQ(SaveOnce(set, 1, folder.Path("f.bin")), FloatBytes(1.0f) + FloatBytes(-2.5f) + FloatBytes(100.0f) +
                                                           FloatBytes(static_cast<float>(inf)) + FloatBytes(0.0f) +
                                                           FloatBytes(50.0f));
    EXPECT_EQ(FloatBytes(1.0f), std::string("\x00\x00\x80\x3f", 4));

    FeatureDefinitionSet bytes = SetWith(2, 4, {0, 50, 100, 101, -1, 0.19, 0.2, std::nan("")});
    EXPECT_EQ(SaveOnce(bytes, 2, folder.Path("b.bin")), std::string("\x00\x80\xff\x02\xfd\x00\x01\x00", 8));
    EXPECT_EQ(FeatureByte(1e30), 0);  // 2.55e30 is a multiple of 256
    EXPECT_EQ(FeatureByte(-inf), 0);
    EXPECT_EQ(FeatureByte(200), 254);  // 510 has the low byte 254
}

TEST(FeatureOutput, FileDialogsAndReuseOfTheName)
{
    CScratchFolder folder;
    FeatureDefinitionSet set = SetWith(1, 1, {1});
    CScriptedPrompter prompter;

    // Text: asked for on every save, because closing forgets the name.
    set.saveMode = 0;
    prompter.files = {folder.Path("a.txt"), folder.Path("b.txt")};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(OpenFeatureOutput(set, 0, "", prompter));
        EXPECT_EQ(set.outputOpen, 1);
        WriteFeatureRows(set, 0);
        CloseFeatureOutput(set);
        EXPECT_EQ(set.outputOpen, 0);
        EXPECT_TRUE(set.outputFile.empty());
    }
    ASSERT_EQ(prompter.fileRequests.size(), 2u);
    EXPECT_EQ(prompter.fileRequests[0].title, "Save Features to Text file:");
    EXPECT_EQ(prompter.fileRequests[0].defaultExtension, "*.txt");
    EXPECT_EQ(prompter.fileRequests[0].filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    EXPECT_TRUE(prompter.fileRequests[0].askBeforeOverwrite);
    EXPECT_EQ(ReadBytes(folder.Path("b.txt")), "     1.00000\r\n");

    // Binary modes ask with their own dialog; a cancel opens nothing and writes nothing.
    set.saveMode = 2;
    prompter.files = {std::nullopt};
    EXPECT_FALSE(OpenFeatureOutput(set, 0, "", prompter));
    WriteFeatureRows(set, 0);
    CloseFeatureOutput(set);
    EXPECT_EQ(set.outputOpen, 0);
    EXPECT_EQ(prompter.fileRequests.back().title, "Save Features to binary file:");
    EXPECT_EQ(prompter.fileRequests.back().filter, "Binary Files (*.bin)|*.bin|All Files (*.*)|*.*||");

    // A file that cannot be created: nothing open, and the name is not kept for the next save.
    set.outputFile = folder.Path("missing/dir/x.bin");
    EXPECT_FALSE(OpenFeatureOutput(set, 0, "", prompter));
    EXPECT_EQ(set.outputOpen, 0);
    EXPECT_TRUE(set.outputFile.empty());

    // CDM: the writer's name stays, so the second save writes the same file without asking.
    set.saveMode = -10;
    const size_t asked = prompter.fileRequests.size();
    prompter.files = {folder.Path("features")};
    for (int i = 0; i < 2; ++i) {
        set.features.Set(1, 1, 10.0 + i);
        ASSERT_TRUE(OpenFeatureOutput(set, 0, "FLOAT", prompter));
        WriteFeatureRows(set, 0);
        CloseFeatureOutput(set);
        EXPECT_EQ(set.outputFile, folder.Path("features.cdm"));
        EXPECT_EQ(set.outputOpen, 0);
    }
    EXPECT_EQ(prompter.fileRequests.size(), asked + 1);
    EXPECT_EQ(ReadBytes(folder.Path("features.cdm")),
              "/CDM\t0\r\n/ROWSCOLS\t1\r\n1\t1\r\n/FORMAT\t1\r\nFLOAT\r\n/DATA\t0\r\n" + FloatBytes(11.0f));
}

TEST(FeatureOutput, CdmHeaderCarriesDefinitionsAndLibrary)
{
    CScratchFolder folder;
    FeatureDefinitionSet set = SetWith(1, 2, {1.5, 100});
    set.lines = {"IM 41,43  \t", "// a comment"};
    set.output.bibFileName = "C:\\libs\\main.ssd";
    set.saveMode = -10;
    set.outputFile = folder.Path("f.CDM");
    CHeadlessPrompter prompter;
    ASSERT_TRUE(OpenFeatureOutput(set, 3, "TEXT\t%8.2f", prompter));
    for (int i = 0; i < 3; ++i) {
        set.features.Set(1, 1, i);
        WriteFeatureRows(set, i);
    }
    CloseFeatureOutput(set);
    EXPECT_EQ(set.outputOpen, 0);
    const std::string expected =
        "/CDM\t0\r\n"
        "/ROWSCOLS\t1\r\n"
        "3\t2\r\n"
        "/FORMAT\t1\r\n"
        "TEXT\t%8.2f\r\n"
        "/FEATDEF\t2\r\n"
        "IM 41,43\r\n"
        "// a comment\r\n"
        "/BIBFILE\t1\r\n"
        "C:\\libs\\main.ssd\r\n"
        "/DATA\t3\r\n"
        "    0.00\t  100.00\r\n"
        "    1.00\t  100.00\r\n"
        "    2.00\t  100.00\r\n";
    EXPECT_EQ(ReadBytes(folder.Path("f.CDM")), expected);

    // A name without ".cdm" holds the data alone.
    set.outputFile = folder.Path("plain.txt");
    ASSERT_TRUE(OpenFeatureOutput(set, 0, "TEXT\t%8.2f", prompter));
    WriteFeatureRows(set, 0);
    CloseFeatureOutput(set);
    EXPECT_EQ(ReadBytes(folder.Path("plain.txt")), "    2.00\t  100.00\r\n");
}

TEST(FeatureOutput, BitAndTextBinPackAcrossStreamedRows)
{
    CScratchFolder folder;
    // 13 rows of 3 values streamed one row per call: 39 bits, 5 bytes, no gap at row ends.
    auto bit = [](int i, int j) { return (i * 3 + j) % 4 == 0 || i == 7 ? 1.0 : 0.0; };
    for (const char* format : {"BIT", "TEXTBIN"}) {
        FeatureDefinitionSet set = SetWith(1, 3, {0, 0, 0});
        set.saveMode = -10;
        set.outputFile = folder.Path(std::string(format) + ".cdm");
        CHeadlessPrompter prompter;
        ASSERT_TRUE(OpenFeatureOutput(set, 13, format, prompter));
        for (int i = 0; i < 13; ++i) {
            for (int j = 0; j < 3; ++j) set.features.Set(1, j + 1, bit(i, j) > 0 ? 0.75 : 0.25);
            WriteFeatureRows(set, i);
        }
        CloseFeatureOutput(set);

        const std::string bytes = ReadBytes(set.outputFile);
        const std::string header = std::string("/CDM\t0\r\n/ROWSCOLS\t1\r\n13\t3\r\n/FORMAT\t1\r\n") + format +
                                   "\r\n/DATA\t" + (std::string(format) == "BIT" ? "0" : "13") + "\r\n";
        ASSERT_EQ(bytes.substr(0, header.size()), header);
        EXPECT_EQ(bytes.size() - header.size(), std::string(format) == "BIT" ? 5u : 13u * 5u);

        CMatrix back;
        CCdmFile reader;
        reader.Attach(back);
        ASSERT_EQ(reader.Load(set.outputFile), CdmLoad::Cdm);
        ASSERT_EQ(reader.ReadData(0), 1);
        ASSERT_EQ(back.Rows(), 13);
        ASSERT_EQ(back.Cols(), 3);
        for (int i = 0; i < 13; ++i) {
            for (int j = 0; j < 3; ++j) EXPECT_EQ(back.Get(i + 1, j + 1), bit(i, j)) << format << " " << i << " " << j;
        }
        if (std::string(format) == "TEXTBIN") {
            EXPECT_EQ(bytes.substr(header.size(), 10), "100\r\n010\r\n");
        }
    }
}

TEST(FeatureOutput, CopiesAndMovesOfASetNeverShareTheOutput)
{
    CScratchFolder folder;
    FeatureDefinitionSet set = SetWith(1, 1, {3});
    set.saveMode = -10;
    set.outputFile = folder.Path("m.cdm");
    CHeadlessPrompter prompter;
    ASSERT_TRUE(OpenFeatureOutput(set, 2, "FLOAT", prompter));
    WriteFeatureRows(set, 0);

    FeatureDefinitionSet copy = set;  // closed output of its own
    WriteFeatureRows(copy, 1);
    CloseFeatureOutput(copy);

    FeatureDefinitionSet moved = std::move(set);
    // Bound to the matrix of the set it was opened for, so the moved set does not write through
    // the stale binding; closing still ends the file cleanly.
    WriteFeatureRows(moved, 1);
    CloseFeatureOutput(moved);
    const std::string bytes = ReadBytes(folder.Path("m.cdm"));
    EXPECT_EQ(bytes.substr(bytes.size() - 4), FloatBytes(3.0f));
    EXPECT_EQ(bytes.find("/DATA\t0\r\n") + 9 + 4, bytes.size());
}

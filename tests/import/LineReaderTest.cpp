// The fast line reader must cut lines exactly as the text files of the formats are read
// elsewhere: pieces of at most N characters, CR LF as "\n", a NUL ending the line's text.
#include <gtest/gtest.h>

#include <random>

#include "base/TextFile.h"
#include "import/LineReader.h"
#include "import/TextScan.h"
#include "TestSupport.h"

namespace kiv::test {
namespace {

TEST(LineReader, LineNumbersCountPhysicalLines)
{
    CScratchFolder scratch;
    const std::string path = scratch.Path("numbers.txt");
    // Line 2 is longer than the limit and comes in three pieces; line 3 holds a NUL.
    WriteBytes(path, "one\r\n" + std::string(25, 'x') + "\n" + std::string("ab\0cd\r\nlast", 10));
    CLineReader reader;
    ASSERT_TRUE(reader.Open(path));
    std::string_view line;
    std::vector<int64_t> numbers;
    while (reader.ReadLine(line, 10)) numbers.push_back(reader.LineNumber());
    EXPECT_EQ(numbers, (std::vector<int64_t>{1, 2, 2, 2, 3, 4}));
    EXPECT_FALSE(reader.Open(scratch.Root()));  // a folder has no lines
}

TEST(LineReader, AgreesWithTheTextReaderOnAnyBytes)
{
    CScratchFolder scratch;
    const std::string path = scratch.Path("lines.txt");
    std::mt19937 random(11);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\0', ' '};
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 3000);
        // Every other round has long lines, whose ends are looked for past the first bytes.
        const bool longLines = round % 2 == 1;
        for (int i = 0; i < length; ++i) {
            const char c = alphabet[random() % sizeof alphabet];
            bytes.push_back(longLines && c == '\n' && random() % 30 != 0 ? 'a' : c);
        }
        WriteBytes(path, bytes);
        const size_t limit = 1 + random() % (longLines ? 200 : 40);
        CTextReader expected;
        CLineReader actual;
        ASSERT_TRUE(expected.Open(path));
        ASSERT_TRUE(actual.Open(path));
        std::string want;
        std::string_view got;
        for (int line = 0;; ++line) {
            const bool more = expected.ReadLine(want, limit);
            ASSERT_EQ(actual.ReadLine(got, limit), more) << "round " << round << " line " << line;
            if (!more) break;
            ASSERT_EQ(std::string(got), want) << "round " << round << " line " << line << " limit " << limit;
        }
        EXPECT_EQ(actual.Position(), static_cast<int64_t>(bytes.size()));
    }
}

TEST(LineReader, LinesLongerThanTheBuffer)
{
    CScratchFolder scratch;
    const std::string path = scratch.Path("long.txt");
    const std::string longLine(3 << 20, 'x');
    WriteBytes(path, longLine + "\r\nend");
    CLineReader reader;
    ASSERT_TRUE(reader.Open(path));
    std::string_view line;
    ASSERT_TRUE(reader.ReadLine(line, 4 << 20));
    EXPECT_EQ(line.size(), longLine.size() + 1);
    EXPECT_EQ(line.back(), '\n');
    ASSERT_TRUE(reader.ReadLine(line, 4 << 20));
    EXPECT_EQ(line, "end");
    EXPECT_FALSE(reader.ReadLine(line, 4 << 20));
}

TEST(TextScan, NumbersAsTheCFunctionsReadThem)
{
    double value = -1;
    size_t pos = 0;
    const std::string_view text = "  +12.5e1 .5 1e 7e999 -0 x";
    ASSERT_TRUE(ScanDouble(text, pos, value));
    EXPECT_EQ(value, 125);
    ASSERT_TRUE(ScanDouble(text, pos, value));
    EXPECT_EQ(value, 0.5);
    ASSERT_TRUE(ScanDouble(text, pos, value));
    EXPECT_EQ(value, 1);  // "1e" is the number 1 followed by a letter
    EXPECT_EQ(text.substr(pos, 1), "e");
    ++pos;
    ASSERT_TRUE(ScanDouble(text, pos, value));
    EXPECT_TRUE(std::isinf(value));
    ASSERT_TRUE(ScanDouble(text, pos, value));
    EXPECT_FALSE(ScanDouble(text, pos, value));
    EXPECT_EQ(value, 0);

    int32_t integer = 0;
    pos = 0;
    ASSERT_TRUE(ScanInt32("99999999999", pos, integer));
    EXPECT_EQ(integer, INT32_MAX);
    pos = 0;
    EXPECT_FALSE(ScanInt32("-x", pos, integer));
    EXPECT_TRUE(StartsWithNumber(" \t-3"));
    EXPECT_FALSE(StartsWithNumber("end"));
}

}  // namespace
}  // namespace kiv::test

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "base/StreamReporter.h"
#include "base/TextFile.h"

using namespace kiv;
using kiv::test::CScratchFolder;
using kiv::test::ReadBytes;
using kiv::test::WriteBytes;

TEST(TextFile, WriterPutsCrLf)
{
    CScratchFolder folder;
    CTextWriter out;
    ASSERT_TRUE(out.Open(folder.Path("a.txt")));
    out.Write("a\nb");
    out.Print("%5.2f|%d\n\n", 3.14159, -7);
    out.Close();
    EXPECT_EQ(ReadBytes(folder.Path("a.txt")), "a\r\nb 3.14|-7\r\n\r\n");
}

TEST(TextFile, ReaderBehavesLikeFgetsInTextMode)
{
    CScratchFolder folder;
    WriteBytes(folder.Path("in.txt"), std::string("ab\r\ncd\re\n") + "123456789\n" + std::string("x\0y\n", 4) + "last");
    CTextReader in;
    ASSERT_TRUE(in.Open(folder.Path("in.txt")));
    std::string line;
    std::vector<std::string> lines;
    while (in.ReadLine(line, 4)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"ab\n", "cd\re", "\n", "1234", "5678", "9\n", "x", "last"}));
    EXPECT_FALSE(in.ReadLine(line, 4));
    EXPECT_FALSE(CTextReader().Open(folder.Path("missing.txt")));
}

TEST(TextFile, HelpersForKeysAndPaths)
{
    std::string text = "value  \n\n";
    TrimRight(text, "\n");
    EXPECT_EQ(text, "value  ");
    TrimRight(text, " ");
    EXPECT_EQ(text, "value");
    EXPECT_EQ(TrimLeftBlanks("   x y "), "x y ");
    EXPECT_EQ(TrimLeftBlanks("   "), "");
    EXPECT_TRUE(EqualsIgnoreCase("BIB File", "bib FILE"));
    EXPECT_FALSE(EqualsIgnoreCase("BIB File", "BIB Files"));
    EXPECT_EQ(FileNamePart("C:\\data\\lib/x.ssd"), "x.ssd");
    EXPECT_EQ(FileNamePart("x.ssd"), "x.ssd");
    EXPECT_EQ(WithoutLast("lib.ssd", 4), "lib");
    EXPECT_EQ(WithoutLast("abc", 4), "");
    EXPECT_EQ(JoinPath("dir", "f"), "dir/f");
    EXPECT_EQ(JoinPath("dir\\", "f"), "dir\\f");
    EXPECT_EQ(Format("%s=%0.14g", "k", 0.1), "k=0.1");
    EXPECT_EQ(Format("%s", std::string(1000, 'z').c_str()).size(), 1000u);
}

TEST(StreamReporter, RepeatsAreCollapsedWithoutLosingTheFirst)
{
    CScratchFolder folder;
    std::string path = folder.Path("err.txt");
    {
        FilePtr file(std::fopen(path.c_str(), "wb"));
        CStreamReporter reporter(file.get());
        reporter.Report(ErrorKind::RunTime, "Missing field");
        for (int i = 0; i < 999; ++i) reporter.Report(ErrorKind::RunTime, "Missing field");
        reporter.Report(ErrorKind::Numerical, "Missing field");
        reporter.Report(ErrorKind::RunTime, "Other");
        reporter.Report(ErrorKind::RunTime, "Other");
    }
    EXPECT_EQ(ReadBytes(path),
              "Kiv run-time error:\nMissing field\n... repeated 999 times\n"
              "Kiv numerical run-time error:\nMissing field\n"
              "Kiv run-time error:\nOther\n... repeated 1 times\n");
}

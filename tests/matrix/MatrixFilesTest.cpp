#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"

using namespace kiv;

namespace {

std::vector<double> Values(const CMatrix& m) { return std::vector<double>(m.Flat().begin(), m.Flat().end()); }
std::vector<int32_t> Values(const CMatrixI& m) { return std::vector<int32_t>(m.Flat().begin(), m.Flat().end()); }

std::string Floats(std::initializer_list<float> values)
{
    std::string bytes;
    for (float v : values) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(u >> (8 * i)));
    }
    return bytes;
}

using D = std::vector<double>;
using I = std::vector<int32_t>;

}  // namespace

TEST(MatrixFiles, LoadTextShapesByLinesAndLastLine)
{
    test::CScratchFolder folder;
    const std::string path = folder.Path("m.txt");
    CMatrix m;

    test::WriteBytes(path, "1 2 3\n4 5\n");
    m.LoadText(path);
    ASSERT_EQ(m.Rows(), 2);
    ASSERT_EQ(m.Cols(), 2);
    EXPECT_EQ(Values(m), (D{1, 2, 4, 5}));
    EXPECT_EQ(m.name, " ");

    test::WriteBytes(path, "1, 2\r\n3;4;5\r\n");
    m.LoadText(path);
    ASSERT_EQ(m.Cols(), 3);
    EXPECT_EQ(Values(m), (D{1, 2, 0, 3, 4, 5}));

    // A '-' or '.' that begins no number is stepped over; signs and exponents are read.
    test::WriteBytes(path, "a-b . -.5;1e2x--3 7.");
    m.LoadText(path);
    EXPECT_EQ(Values(m), (D{-0.5, 100, -3, 7}));

    // A line longer than one read continues as the next row.
    test::WriteBytes(path, std::string(65535, 'x') + "7 8\n9");
    m.LoadText(path);
    ASSERT_EQ(m.Rows(), 3);
    ASSERT_EQ(m.Cols(), 1);
    EXPECT_EQ(Values(m), (D{0, 7, 9}));

    test::WriteBytes(path, "");
    m.LoadText(path);
    EXPECT_EQ(m.Rows(), 0);
    EXPECT_EQ(m.Cols(), 0);

    m = CMatrix(1, 1);
    m.LoadText(folder.Path("missing.txt"));
    m.LoadText("");
    EXPECT_EQ(m.Rows(), 1);
}

TEST(MatrixFiles, LoadTextRefusesAHugeSparseShape)
{
    // Many empty lines and a long last line would pad into a matrix vastly larger than the file.
    test::CRecordingReporter reporter;
    test::CScratchFolder folder;
    const std::string path = folder.Path("sparse.txt");
    std::string text(30000, '\n');
    for (int i = 0; i < 30000; ++i) text += "1 ";
    test::WriteBytes(path, text);
    CMatrix m;
    m.LoadText(path);
    EXPECT_EQ(m.Rows(), 0);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "allocation failure 2 in matrix()");
}

TEST(MatrixFiles, ClassFileAssignsClassesInOrder)
{
    test::CScratchFolder folder;
    const std::string path = folder.Path("data.mat");
    CMatrix m;
    CMatrixI classes;
    MessageLog log;

    test::WriteBytes(path, "Title 9 9\r\n3 2\r\n1 2 3\r\n4 5 6\r\n1 1\r\n");
    m.LoadClassFile(path, log, classes);
    EXPECT_EQ(m.name, "Title 9 9");
    ASSERT_EQ(m.Rows(), 2);
    ASSERT_EQ(m.Cols(), 3);
    EXPECT_EQ(Values(m), (D{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Values(classes), (I{1, 2}));
    EXPECT_EQ(classes.Cols(), 1);
    EXPECT_EQ(log, (MessageLog{"Open File: " + path, "Matrix loaded. Data: 2 x 3", "Class Numbers found."}));

    test::WriteBytes(path, "T\n1 4\n1 2 3 4\n1 1\n");
    log.clear();
    m.LoadClassFile(path, log, classes);
    EXPECT_EQ(Values(classes), (I{1, 2, 6, 6}));

    test::WriteBytes(path, "T\n1 4 1 2 3 4 1 1 1 1 1 1\n");
    log.clear();
    m.LoadClassFile(path, log, classes);
    EXPECT_EQ(Values(classes), (I{1, 2, 3, 4}));
    EXPECT_EQ(log.back(), "Unused Numbers at end of file found.");
    EXPECT_EQ(log.size(), 4u);

    test::WriteBytes(path, "T\n1 8 1 2 3 4 5 6 7 8 1 1 1 1 1 1\n");
    m.LoadClassFile(path, log, classes);
    EXPECT_EQ(Values(classes), (I{1, 2, 3, 4, 5, 6, 7, 7}));
    CMatrixI integers;
    integers.LoadClassFile(path, log, classes);
    EXPECT_EQ(Values(classes), (I{1, 2, 3, 4, 5, 6, 6, 6}));
    EXPECT_EQ(log[log.size() - 2], "MatrixI loaded. Data: 8 x 1");

    // A huge class count ends the classes at once.
    test::WriteBytes(path, "T\n1 3 1 2 3 1 2000000000 5\n");
    m.LoadClassFile(path, log, classes);
    EXPECT_EQ(Values(classes), (I{1, 2, 2}));
}

TEST(MatrixFiles, ClassFileWithoutDataOrUnreadable)
{
    test::CScratchFolder folder;
    const std::string path = folder.Path("empty.mat");
    CMatrix m(1, 1);
    m.Set(1, 1, 42);
    CMatrixI classes(1, 1);
    MessageLog log;

    test::WriteBytes(path, "Nothing here\n5 0\n1 2 3\n");
    m.LoadClassFile(path, log, classes);
    EXPECT_EQ(log.back(), "Matrix loaded. Data: 0 x 5");
    EXPECT_EQ(m.name, "Nothing here");
    EXPECT_EQ(m.Get(1, 1), 42.0);
    EXPECT_EQ(classes.Rows(), 1);

    log.clear();
    m.LoadClassFile(folder.Path("missing.mat"), log, classes);
    EXPECT_EQ(log, (MessageLog{"File could not be opened!"}));

    // Integer data: "1.5" is the integer 1, then a stray '.', then 5; counts are truncated reals.
    test::WriteBytes(path, "I\n2 2\n1.5 -7 8 1.9\n");
    CMatrixI integers;
    integers.LoadClassFile(path, log, classes);
    EXPECT_EQ(Values(integers), (I{1, 5, -7, 8}));
    EXPECT_EQ(Values(classes), (I{1, 6}));
}

TEST(MatrixFiles, ClassFileRefusesAnImpossibleHeader)
{
    test::CRecordingReporter reporter;
    test::CScratchFolder folder;
    const std::string path = folder.Path("damaged.mat");
    test::WriteBytes(path, "Damaged\n2000000000 1\n1 2 3\n");
    CMatrix m(2, 2);
    CMatrixI classes;
    MessageLog log;
    m.LoadClassFile(path, log, classes);
    EXPECT_EQ(m.Rows(), 0);
    EXPECT_EQ(m.Cols(), 0);
    EXPECT_EQ(m.name, "Damaged");
    EXPECT_EQ(log.back(), "Matrix loaded. Data: 1 x 2000000000");
    CMatrixI integers;
    integers.LoadClassFile(path, log, classes);
    EXPECT_EQ(integers.Count(), 0);
    ASSERT_EQ(reporter.messages.size(), 2u);
    EXPECT_EQ(reporter.messages[0], "allocation failure 2 in matrix()");
    EXPECT_EQ(reporter.messages[1], "allocation failure 2 in MatrixI()");

    // A small header that promises more values than present is honoured; missing values are 0.
    test::WriteBytes(path, "Short\n3 2\n1 2 3 4\n");
    m.LoadClassFile(path, log, classes);
    EXPECT_EQ(Values(m), (D{1, 2, 3, 4, 0, 0}));
    EXPECT_EQ(Values(classes), (I{6, 6}));
}

TEST(MatrixFiles, FloatRowsReadAndShortFileGivesZeros)
{
    test::CRecordingReporter reporter;
    test::CScratchFolder folder;
    const std::string path = folder.Path("features.bin");
    test::WriteBytes(path, Floats({1, 2, 3, 4, 5.5f}));  // announced 3 x 2, one value missing

    CMatrix row(1, 2);
    ASSERT_TRUE(row.OpenBin(path));
    row.ReadBinRow(2);
    EXPECT_EQ(Values(row), (D{3, 4}));
    row.ReadBinRow(3);
    EXPECT_EQ(Values(row), (D{5.5, 0}));
    row.ReadBinRow(7);
    EXPECT_EQ(Values(row), (D{0, 0}));
    row.CloseBin();
    row.Set(1, 1, 9);
    row.ReadBinRow(1);  // nothing attached: nothing happens
    EXPECT_EQ(row.Get(1, 1), 9.0);

    CMatrix all(3, 2);
    ASSERT_TRUE(all.OpenBin(path));
    all.ReadBin();
    EXPECT_EQ(Values(all), (D{1, 2, 3, 4, 5.5, 0}));
    all.Alloc(1, 2);  // detaches
    all.ReadBinRow(1);
    EXPECT_EQ(Values(all), (D{0, 0}));

    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_FALSE(all.OpenBin(folder.Path("missing.bin")));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Open Matrix failed!");
    EXPECT_EQ(reporter.kinds[0], ErrorKind::RunTime);
}

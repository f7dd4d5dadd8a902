// Large JCAMP-DX files are read by several threads; the library and the messages must be those of
// a single reader, byte for byte, wherever the file is cut (inside compound files, page runs,
// damaged tables, structures) and however many threads read it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/Progress.h"
#include "base/TextFile.h"
#include "import/JcampImport.h"
#include "TestSupport.h"

namespace kiv::test {
namespace {

std::string CorpusFolder()
{
    const std::filesystem::path here(__FILE__);
    return (here.parent_path().parent_path() / "data" / "jcamp").string();
}

// Every corpus file one after another (link files, page runs, infrared, damaged tables, junk),
// then generated profiles and peak tables, one of them with an illegal point.
std::string MixedFile()
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusFolder())) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    std::string text;
    for (const std::string& file : files) text += ReadBytes(file) + "\n";
    for (int k = 1; k <= 120; ++k) {
        text += "##TITLE=Generated " + std::to_string(k) + "\r\n##DATA TYPE=MASS SPECTRUM\r\n";
        if (k % 2 == 0) {
            text += "##FIRSTX=20\r\n##LASTX=29\r\n##DELTAX=1\r\n##NPOINTS=10\r\n##XYDATA=(X++(Y..Y))\r\n";
            text += "20@" + std::to_string(k) + "%S3J5\r\n25E%Ts" + std::string(k == 60 ? "Q" : "") + "\r\n";
        } else {
            text += "##NPOINTS=3\r\n##PEAK TABLE=(XY..XY)\r\n";
            text += std::to_string(40 + k) + "," + std::to_string(k * 7) + " 91,100 " + (k == 77 ? "x,y" : "92,5") + "\r\n";
        }
        text += "##END=\r\n";
    }
    return text;
}

struct ImportRun {
    std::string library;
    std::vector<std::string> messages;
    ImportOutcome outcome;
};

ImportRun Import(const CScratchFolder& scratch, const std::vector<std::string>& files, const CJcampThreading& threading)
{
    const std::string path = scratch.Path("run.ssd");
    ImportRun run;
    CRecordingReporter reporter;
    {
        CBib bib;
        bib.NewLibrary("test", "MS", path);
        run.outcome = ImportJcampFiles(bib, files, nullptr, threading);
        bib.CloseWrite();
        bib.Close();
    }
    run.library = ReadBytes(path);
    run.messages = reporter.messages;
    return run;
}

CJcampThreading OneReader()
{
    CJcampThreading threading;
    threading.parallelBytes = INT64_MAX;
    return threading;
}

CJcampThreading Parallel(int64_t jobBytes, int threads)
{
    CJcampThreading threading;
    threading.parallelBytes = 0;
    threading.jobBytes = jobBytes;
    threading.threads = threads;
    return threading;
}

TEST(JcampParallel, TitleLinesAreFoundWhereverThePiecesEnd)
{
    CScratchFolder scratch;
    const std::string path = scratch.Path("titles.jdx");
    // A title line that straddles the first 64 KB piece, one written "##Title=" and one inside a line.
    std::string text = "##TITLE=a\n" + std::string(65530, 'x') + "\n##TITLE=b\nq##TITLE=c\n##Title=d\n";
    WriteBytes(path, text);
    FilePtr file(std::fopen(path.c_str(), "rb"));
    const auto size = static_cast<int64_t>(text.size());
    const auto second = static_cast<int64_t>(text.find("##TITLE=b"));
    EXPECT_EQ(NextTitleLine(file.get(), 0, size), 0);
    EXPECT_EQ(NextTitleLine(file.get(), 1, size), second);
    EXPECT_EQ(NextTitleLine(file.get(), second, size), second);
    EXPECT_EQ(NextTitleLine(file.get(), second + 1, size), size);
    EXPECT_EQ(NextTitleLine(file.get(), size + 5, size), size);
}

TEST(JcampParallel, LibraryAndMessagesAreThoseOfOneReader)
{
    CScratchFolder scratch;
    const std::string mixed = scratch.Path("mixed.jdx"), small = scratch.Path("small.jdx");
    const std::string text = MixedFile();
    WriteBytes(mixed, text + text);
    WriteBytes(small, "##TITLE=small\n##NPOINTS=1\n##PEAK TABLE=(XY..XY)\n50,10\n##END=\n");
    const std::vector<std::string> files = {mixed, small, mixed};
    const ImportRun one = Import(scratch, files, OneReader());
    ASSERT_GT(one.outcome.blocksWritten, 400);
    ASSERT_GT(one.messages.size(), 20u);
    for (const int64_t jobBytes : {int64_t(1), int64_t(97), int64_t(1000), int64_t(6000)}) {
        for (const int threads : {1, 2, 3}) {
            SCOPED_TRACE(std::to_string(jobBytes) + " bytes per job, " + std::to_string(threads) + " threads");
            const ImportRun many = Import(scratch, files, Parallel(jobBytes, threads));
            EXPECT_EQ(many.outcome.blocksWritten, one.outcome.blocksWritten);
            EXPECT_EQ(many.outcome.filesOpened, 3);
            EXPECT_EQ(many.messages, one.messages);
            EXPECT_TRUE(many.library == one.library);
        }
    }
}

// Cancels at the n-th progress report.
class CCancelAt : public CProgressDialog {
public:
    explicit CCancelAt(int n) : n_(n) {}
    void SetPercent(int) override { ++reports_; }
    void SetText(const std::string&) override {}
    bool Cancelled() const override { return reports_ >= n_; }
    void Close() override {}

private:
    int n_;
    int reports_ = 0;
};

TEST(JcampParallel, AStopKeepsTheSameBlocks)
{
    CScratchFolder scratch;
    const std::string path = scratch.Path("many.jdx");
    std::string text;
    for (int k = 0; k < 2500; ++k) text += "##TITLE=s\n##PEAK TABLE=(XY..XY)\n" + std::to_string(30 + k % 400) + ",1\n##END=\n";
    WriteBytes(path, text);
    std::vector<ImportRun> runs;
    for (const CJcampThreading& threading : {OneReader(), Parallel(4096, 2)}) {
        CCancelAt cancel(2);  // the file's start, then the 1,000th spectrum
        SetProgressDialog(&cancel);
        runs.push_back(Import(scratch, {path}, threading));
        SetProgressDialog(nullptr);
    }
    EXPECT_TRUE(runs[0].outcome.stopped);
    EXPECT_TRUE(runs[1].outcome.stopped);
    EXPECT_EQ(runs[0].outcome.blocksWritten, 1000);
    EXPECT_EQ(runs[1].outcome.blocksWritten, 1000);
    EXPECT_TRUE(runs[0].library == runs[1].library);
}

}  // namespace
}  // namespace kiv::test

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "LibraryFiles.h"
#include "TestSupport.h"
#include "base/Paths.h"
#include "base/Progress.h"
#include "batch/CommandFile.h"
#include "batch/CommandRunner.h"
#include "batch/FeatureGeneration.h"
#include "library/Bib.h"

using namespace kiv;
using kiv::test::CRecordingReporter;
using kiv::test::CScratchFolder;
using kiv::test::ReadBytes;
using kiv::test::WriteBytes;

namespace {

using Peaks = kiv::test::LibraryPeaks;

std::string Floats(const std::vector<float>& values)
{
    std::string bytes(values.size() * 4, '\0');
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

class FeatureGeneration : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kiv::test::WriteTestLibrary(folder.Path("lib.ssd"), {{{41, 100}, {43, 50}}, {{43, 100}}, {{41, 20}, {43, 100}, {150, 40}},
                                              {{41, 100}}, {{42, 100}}}));
        WriteBytes(folder.Path("def.txt"), "IM 41,43\r\n");
    }
    CommandRunResult Run(const std::string& keys)
    {
        WriteBytes(folder.Path("cmd.txt"), "Progress File = " + folder.Path("progress.txt") + "\nSem End File = " +
                                               folder.Path("end.txt") + "\nStop File = " + folder.Path("stop.txt") +
                                               "\nBIB File = " + folder.Path("lib.ssd") + "\nFeature File = " +
                                               folder.Path("def.txt") + "\n" + keys);
        return RunCommandFile(folder.Path("cmd.txt"));
    }
    CScratchFolder folder;
};

}  // namespace

TEST_F(FeatureGeneration, OneRowPerBlockOfAFreshLibrary)
{
    CRecordingReporter reporter;
    ASSERT_FALSE(FileExists(folder.Path("lib.ssi")));
    CommandRunResult result = Run("Result File = " + folder.Path("f.bin") + "\nSavemode = 1\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(reporter.messages.empty()) << reporter.messages.front();
    // Masses above 100 are cut before the spectrum is normalised again.
    EXPECT_EQ(ReadBytes(folder.Path("f.bin")), Floats({100, 50, 0, 100, 20, 100, 100, 0, 0, 0}));
    EXPECT_EQ(ReadBytes(folder.Path("end.txt")), "1\r\n");
    EXPECT_EQ(ReadBytes(folder.Path("progress.txt")), "100\r\n");

    // The second run finds the index written by the first.
    result = Run("Result File = " + folder.Path("f.txt") + "\nSavemode = -3\n");
    EXPECT_EQ(ReadBytes(folder.Path("f.txt")).size(), 5u * 42u);
}

TEST_F(FeatureGeneration, CdmFormatAndRounding)
{
    CommandRunResult result =
        Run("Result File = " + folder.Path("f.cdm") + "\nSavemode = -10\nCDM Format = TEXT\t%9.4f\nRound Feat = 10\n");
    EXPECT_EQ(result.status, 0);
    // 50 is rounded to level 128 of 255.
    EXPECT_EQ(ReadBytes(folder.Path("f.cdm")),
              "/CDM\t0\r\n/ROWSCOLS\t1\r\n5\t2\r\n/FORMAT\t1\r\nTEXT\t%9.4f\r\n/FEATDEF\t1\r\nIM 41,43\r\n/BIBFILE\t1\r\n" +
                  folder.Path("lib.ssd") +
                  "\r\n/DATA\t5\r\n"
                  " 100.0000\t  50.1961\r\n   0.0000\t 100.0000\r\n  20.0000\t 100.0000\r\n 100.0000\t   0.0000\r\n"
                  "   0.0000\t   0.0000\r\n");
}

TEST_F(FeatureGeneration, StopFileEndsTheLoopWithTheRowsSoFar)
{
    int reports = 0;
    SetProgressEcho([&](int, const std::string&) {
        if (++reports == 3) WriteBytes(folder.Path("stop.txt"), "");
    });
    CommandRunResult result = Run("Result File = " + folder.Path("f.bin") + "\nSavemode = 1\n");
    SetProgressEcho(nullptr);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(reports, 3);
    EXPECT_EQ(ReadBytes(folder.Path("f.bin")), Floats({100, 50, 0, 100}));
    EXPECT_EQ(ReadBytes(folder.Path("progress.txt")), "-1\r\n");
    EXPECT_EQ(ReadBytes(folder.Path("end.txt")), "1\r\n");
    EXPECT_FALSE(FileExists(folder.Path("stop.txt")));
}

TEST_F(FeatureGeneration, ImportStepRunsFirstAndFailuresAreReported)
{
    // The library of "BIB File" is built anew from the JCAMP-DX file before the features.
    WriteBytes(folder.Path("a.jdx"), "##TITLE=test\r\n##JCAMP-DX=4.24\r\n##DATA TYPE=MASS SPECTRUM\r\n"
                                     "##NPOINTS=1\r\n##XYPOINTS=(XY..XY)\r\n43,100\r\n##END=\r\n");
    CommandRunResult result = Run("Result File = " + folder.Path("f.bin") + "\nSavemode = 1\nImport JCAMP = " +
                                  folder.Path("a.jdx") + "\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadBytes(folder.Path("f.bin")), Floats({0, 100}));

    // A result file that cannot be created does not pass for a written one.
    CRecordingReporter reporter;
    const std::string bad = folder.Path("no/such/f.bin");
    result = Run("Result File = " + bad + "\nSavemode = 1\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Feature file " + bad + " cannot be created"});
}

TEST_F(FeatureGeneration, ThreadsGiveTheSameFileAndAStopLeavesAPrefix)
{
    // 601 blocks (a prime, never a whole number of the chunks a thread takes at a time), every seventh
    // without a spectrum, and a definition line reported for every block with one.
    std::vector<Peaks> spectra(601);
    for (size_t i = 0; i < spectra.size(); ++i) {
        if (i % 7 == 3) continue;
        for (int m = 20; m <= 100; m += 1 + static_cast<int>(i % 5)) spectra[i].emplace_back(m, (m * 37 + i * 11) % 97 + 1);
    }
    ASSERT_TRUE(kiv::test::WriteTestLibrary(folder.Path("lib.ssd"), spectra));
    WriteBytes(folder.Path("def.txt"), "MD 14 1 100 M\r\nTYP ODD 31 800\r\nSCI 1 0.5 0.2 M\r\nPPS p ALL 20 100 43 100 57 40\r\n");
    // The key reaches the run's settings (0, every core, when it is missing).
    CRunSettings settings;
    EXPECT_EQ(settings.threads, 0);
    WriteBytes(folder.Path("threads.txt"), "threads = 7\n");
    ASSERT_TRUE(ReadCommandFile(folder.Path("threads.txt"), settings));
    EXPECT_EQ(settings.threads, 7);

    const std::string keys = "Savemode = -10\nCDM Format = FLOAT\nThreads = ";
    const std::string cdm = folder.Path("f.cdm");
    std::string one;
    std::vector<std::string> oneMessages;
    for (int threads : {1, 2, 7}) {
        CRecordingReporter reporter;
        const CommandRunResult result = Run("Result File = " + cdm + "\n" + keys + std::to_string(threads) + "\n");
        EXPECT_EQ(result.status, 0);
        if (threads == 1) {
            one = ReadBytes(cdm);
            oneMessages = reporter.messages;
        }
        EXPECT_TRUE(ReadBytes(cdm) == one) << threads << " threads";
        EXPECT_EQ(reporter.messages, oneMessages) << threads << " threads";
    }
    // The first pass, then every block with a spectrum.
    EXPECT_EQ(oneMessages.size(), 1u + 601u - 86u);

    // Float rows: a stop at the 300th report leaves exactly the first 299 rows of one thread.
    const size_t row = 14 + 3 + 6;
    Run("Result File = " + folder.Path("full.bin") + "\nSavemode = 1\nThreads = 1\n");
    const std::string full = ReadBytes(folder.Path("full.bin"));
    ASSERT_EQ(full.size(), 601u * row * 4);
    for (int threads : {1, 2, 7}) {
        int reports = 0;
        SetProgressEcho([&](int, const std::string&) {
            if (++reports == 300) WriteBytes(folder.Path("stop.txt"), "");
        });
        const std::string bin = folder.Path("f.bin");
        const CommandRunResult result = Run("Result File = " + bin + "\nSavemode = 1\nThreads = " + std::to_string(threads) + "\n");
        SetProgressEcho(nullptr);
        EXPECT_EQ(reports, 300);
        // The end marker still says "1"; the exit status tells the stop.
        EXPECT_TRUE(result.stopped);
        EXPECT_EQ(ExitStatusOf(result), 3);
        EXPECT_TRUE(ReadBytes(bin) == full.substr(0, 299 * row * 4)) << threads << " threads";
        EXPECT_EQ(ReadBytes(folder.Path("progress.txt")), "-1\r\n");
    }
}

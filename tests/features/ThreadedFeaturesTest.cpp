// Feature generation on several threads: the files, feature matrices and messages are the same
// bytes, in the same order, as on one thread, and the one-thread loop gives the rows that each
// record's own evaluation gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "FeatureTestSupport.h"
#include "LibraryFiles.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "base/Format.h"
#include "base/Progress.h"
#include "base/Session.h"
#include "features/FeatureCommands.h"
#include "features/FeatureOutput.h"

using namespace kiv;
using kiv::test::CScratchFolder;
using kiv::test::CScriptedPrompter;
using kiv::test::ReadBytes;

namespace {

// A prime: never a whole number of the loop's chunks (256 records, fewer for long rows), so the
// last chunk is a short one.
constexpr int kRecords = 601;
const int kThreadCounts[] = {2, 7};

// Every family, scaling lines in between, and a line whose unknown sub-type is reported each
// time the line is evaluated, that is for every record that has a spectrum.
const std::vector<std::string> kLines = {
    "MD 14 1 100 M",       "LR 1 1-60 0 1",     "AC 1 100 1-9 N",          "IM 1/10,5-8,30/90", "IMTP0.5 20/40,1/3",
    "IML 2 1-70",          "TYP ALL 1 800",     "TYP ODD 31 800",          "SCI 1 0.5 0.2 M",   "PG g MEAN2 1-4,60",
    "PG g ML10 29,43,57",  "SCI 2 1 -0.5 N",    "PPS p COR2ABP0.5 1 60 3 50 9 100",           "SP PYRIMID01 ALL",
};

// Random spectra of varying highest mass (cut at 100 when read), every ninth record without one.
std::vector<test::LibraryPeaks> RandomLibrary()
{
    std::mt19937 random(1601);
    std::uniform_real_distribution<double> intensity(0.01, 99.0);
    std::vector<test::LibraryPeaks> spectra(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        if (i % 9 == 4) continue;
        const int top = 20 + static_cast<int>(random() % 130);
        for (int m = 1; m <= top; ++m) {
            if (random() % 4 == 0) spectra[static_cast<size_t>(i)].emplace_back(m, intensity(random));
        }
        spectra[static_cast<size_t>(i)].emplace_back(top, 100.0);
    }
    return spectra;
}

// Messages and progress reports in the order they came.
class CEventLog : public CReporter {
public:
    CEventLog() : scope_(*this)
    {
        SetProgressEcho([this](int percent, const std::string&) { events.push_back(Format("progress %d", percent)); });
    }
    ~CEventLog() override { SetProgressEcho(nullptr); }
    void Report(ErrorKind, const std::string& message) override { events.push_back(message); }
    int Count(const std::string& event) const { return static_cast<int>(std::count(events.begin(), events.end(), event)); }
    std::vector<std::string> events;

private:
    CReporterScope scope_;
};

bool SameBits(const CMatrix& a, const CMatrix& b)
{
    return a.Rows() == b.Rows() && a.Cols() == b.Cols() &&
           std::memcmp(a.Data(), b.Data(), static_cast<size_t>(a.Count()) * sizeof(double)) == 0;
}

class ThreadedFeatures : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::WriteTestLibrary(folder.Path("lib.ssd"), RandomLibrary()));
        ASSERT_TRUE(test::OpenTestLibrary(bib, folder.Path("lib.ssd")));
        ASSERT_EQ(bib.header.blockCount, kRecords);
        CMatrix spectrum(1, 100);
        features_ = test::FirstPass(kLines, spectrum).featureCount;
        ASSERT_GT(features_, 100);
    }

    struct Written {
        std::string bytes;
        std::vector<std::string> events;
        std::vector<std::string> log;
    };

    // "Write Features for BIB" in the save mode on the given number of threads.
    Written Write(int saveMode, int threads)
    {
        const std::string name = folder.Path(Format("out%d-%d", saveMode, threads));
        bib.parameters.threads = threads;
        FeatureDefinitionSet set;
        set.lines = kLines;
        CScriptedPrompter prompter;
        prompter.answers = {{true, std::to_string(saveMode)}};
        prompter.files = {name};
        CRecordingSession session;
        CEventLog events;
        WriteFeaturesForBib(bib, set, prompter, session);
        return {ReadBytes(saveMode == kSaveCdm ? name + ".cdm" : name), events.events, session.log};
    }

    // The features of every record, each evaluated on its own as a first pass.
    CMatrix RowByRow()
    {
        FeatureDefinitionSet set;
        set.lines = kLines;
        CMatrix rows;
        for (int i = 1; i <= kRecords; ++i) {
            bib.SelectBlock(i);
            bib.record.spectrum.ToVector();
            CMatrix& spectrum = bib.record.spectrum.vector;
            CMatrix row(1, features_);
            if (spectrum.Rows() >= 1) {
                set.ComputeFeatures(spectrum, 0);
                row = set.features;
            }
            rows.AppendRows(row);
        }
        return rows;
    }

    int features_ = 0;
    CScratchFolder folder;
    CBib bib;
};

}  // namespace

TEST_F(ThreadedFeatures, EverySaveModeWritesTheSameBytesOnAnyNumberOfThreads)
{
    const int modes[] = {kSaveCdm, kSaveDragon, kSaveText20_5Spaced, kSaveText20_5, kSaveText20_15Spaced,
                         kSaveText20_15, kSaveText12_5, kSaveFloat32, kSaveUInt8, 5};
    for (int mode : modes) {
        const Written one = Write(mode, 1);
        ASSERT_FALSE(one.bytes.empty()) << "mode " << mode;
        EXPECT_EQ(one.log, std::vector<std::string>{Format("%d features written for %d spectra", features_, kRecords)});
        for (int threads : kThreadCounts) {
            const Written many = Write(mode, threads);
            EXPECT_TRUE(many.bytes == one.bytes) << "mode " << mode << ", " << threads << " threads";
            EXPECT_EQ(many.events, one.events) << "mode " << mode << ", " << threads << " threads";
            EXPECT_EQ(many.log, one.log);
        }
    }

    // Each progress report is followed by the messages of its record: the first pass, then
    // one per record with a spectrum, none for the 67 records without one.
    const Written one = Write(kSaveFloat32, 1);
    EXPECT_EQ(one.events.size(), 1u + kRecords + (kRecords - 67));
    EXPECT_EQ(one.events[0], "TYP: illegal sub string!");
    EXPECT_EQ(one.events[1], "progress 0");
    EXPECT_EQ(one.events[2], "TYP: illegal sub string!");
    EXPECT_EQ(one.events.back(), "TYP: illegal sub string!");
    EXPECT_EQ(one.events[one.events.size() - 2], "progress 100");

    // The rows are those of each record evaluated alone (a block without a spectrum: zeros).
    const CMatrix expected = RowByRow();
    ASSERT_EQ(one.bytes.size(), static_cast<size_t>(kRecords) * features_ * 4);
    for (int i = 1; i <= kRecords; ++i) {
        for (int j = 1; j <= features_; ++j) {
            const float value = static_cast<float>(expected.Get(i, j));
            ASSERT_EQ(std::memcmp(one.bytes.data() + (static_cast<size_t>(i - 1) * features_ + (j - 1)) * 4, &value, 4), 0)
                << "record " << i << ", feature " << j;
        }
    }
}

TEST_F(ThreadedFeatures, DefinitionsWithoutFeaturesWriteNoRows)
{
    for (int threads : {1, 2, 7}) {
        bib.parameters.threads = threads;
        for (int mode : {kSaveText12_5, kSaveDragon, kSaveFloat32}) {
            FeatureDefinitionSet set;
            set.lines = {"SCI 1 1 0 M"};
            CScriptedPrompter prompter;
            prompter.answers = {{true, std::to_string(mode)}};
            prompter.files = {folder.Path("none")};
            CRecordingSession session;
            WriteFeaturesForBib(bib, set, prompter, session);
            EXPECT_EQ(ReadBytes(folder.Path("none")), mode == kSaveDragon ? "Features\r\n601\t0\t0\r\nName\r\n" : "")
                << "mode " << mode << ", " << threads << " threads";
            EXPECT_EQ(session.log, std::vector<std::string>{"0 features written for 601 spectra"});
        }
    }
}

TEST_F(ThreadedFeatures, LibraryInMemoryIsTheSameOnAnyNumberOfThreads)
{
    const CMatrix expected = RowByRow();
    CScriptedPrompter prompter;
    CRecordingSession session;
    std::vector<std::string> firstEvents;
    for (int threads : {1, 2, 7}) {
        bib.parameters.threads = threads;
        FeatureDefinitionSet set;
        set.lines = kLines;
        CEventLog events;
        CalculateFeaturesForBib(bib, set, prompter, session);
        EXPECT_TRUE(SameBits(set.features, expected)) << threads << " threads";
        if (threads == 1) firstEvents = events.events;
        EXPECT_EQ(events.events, firstEvents) << threads << " threads";
    }
    EXPECT_EQ(session.log.back(), Format("%d features generated for %d blocks", features_, kRecords));
}

TEST_F(ThreadedFeatures, SpectraMatrixIsTheSameOnAnyNumberOfThreadsAsInOneCall)
{
    // The spectra of the records with one, in one matrix as a run's mass spectral matrix.
    CMatrix spectra;
    for (int i = 1; i <= kRecords; ++i) {
        bib.SelectBlock(i);
        bib.record.spectrum.ToVector();
        CMatrix row;
        bib.record.spectrum.vector.SubMatrix(1, 1, 1, 100, row);
        if (bib.record.spectrum.vector.Rows() >= 1) spectra.AppendRows(row);
    }
    const CMatrix input = spectra;
    // The plain evaluation: the whole matrix in one call, each line's message once.
    FeatureDefinitionSet plain;
    plain.lines = kLines;
    std::vector<std::string> plainMessages;
    {
        test::CRecordingReporter reporter;
        plain.ComputeFeatures(spectra, 0);
        plainMessages = reporter.messages;
    }
    ASSERT_EQ(plainMessages, std::vector<std::string>{"TYP: illegal sub string!"});

    CScriptedPrompter prompter;
    CRecordingSession session;
    bib.SelectBlock(5);  // no spectrum: the names are learned on the first row
    for (int threads : {1, 2, 7}) {
        bib.parameters.threads = threads;
        FeatureDefinitionSet set;
        set.lines = kLines;
        test::CRecordingReporter reporter;
        CalculateFeaturesForBibMem(bib, spectra, set, prompter, session);
        EXPECT_TRUE(SameBits(set.features, plain.features)) << threads << " threads";
        EXPECT_TRUE(SameBits(spectra, input));
        // Once for learning the names, once for the rows: as one evaluation of the whole matrix.
        EXPECT_EQ(reporter.messages, std::vector<std::string>(2, plainMessages[0])) << threads << " threads";
    }
}

// The MSP import as the desktop command and as the batch run call it.
#include <gtest/gtest.h>

#include "MspTestSupport.h"
#include "TestSupport.h"
#include "base/Prompt.h"
#include "base/Session.h"
#include "import/LibraryImport.h"
#include "import/MspImport.h"

namespace kiv::test {
namespace {

class CChoosingPrompter : public CHeadlessPrompter {
public:
    explicit CChoosingPrompter(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> ChooseFileToOpen(const FileRequest&) override { return path_; }

private:
    std::string path_;
};

TEST(MspImport, CommandBuildsTheLibraryBesideTheFileAndOpensIt)
{
    CScratchFolder scratch;
    WriteBytes(scratch.Path("lib.v2.msp"), ReadBytes(MspCorpusFile("damaged-peak-text.msp")));
    CChoosingPrompter prompter(scratch.Path("lib.v2.msp"));
    CRecordingSession session;
    CBib bib;
    const MspImportOutcome outcome = ImportMspCommand(bib, prompter, session);
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(outcome.imported, 2);
    EXPECT_EQ(outcome.skipped, 1);
    EXPECT_EQ(session.log,
              (std::vector<std::string>{"Import BIB from " + scratch.Path("lib.v2.msp"),
                                        scratch.Path("lib.v2.msp") + ", line 7: a mass without intensity in \"41 100; 43 "
                                                                     "abc\"; record \"Bad intensity\" skipped",
                                        "2 records imported, 1 skipped"}));
    EXPECT_EQ(session.status, (std::vector<std::string>{"importing ...", "Import done"}));
    EXPECT_EQ(bib.header.title, "lib.v2");
    EXPECT_EQ(bib.currentBlock, 1);
    EXPECT_EQ(bib.record.name.name, "Good one");
    bib.Close();

    CHeadlessPrompter none;
    CRecordingSession quiet;
    EXPECT_FALSE(ImportMspCommand(bib, none, quiet).completed);
    EXPECT_TRUE(quiet.log.empty());
}

TEST(MspImport, BatchImportReportsSkippedRecordsAndNamesTheLibrary)
{
    CScratchFolder scratch;
    CRecordingReporter reporter;
    CBib bib;
    const ImportOutcome outcome = RunLibraryImport(
        bib, ImportKind::Msp, {MspCorpusFile("nist-export.msp"), MspCorpusFile("damaged-no-name.msp")}, scratch.Path("batch.ssd"));
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(outcome.blocksWritten, 3);
    EXPECT_EQ(outcome.filesOpened, 2);
    const ReadBack lib = ReadLibrary(scratch.Path("batch.ssd"));
    EXPECT_EQ(lib.header.title, "batch");
    EXPECT_EQ(lib.header.typ, "MS-Lib");
    ASSERT_EQ(lib.blocks.size(), 3u);
    EXPECT_EQ(lib.blocks[2].name.name, "Ethene");
    EXPECT_EQ(lib.blocks[2].id, 3);
    EXPECT_EQ(reporter.messages,
              std::vector<std::string>{MspCorpusFile("damaged-no-name.msp") +
                                       ", line 1: a record without a name; record skipped\n3 records imported, 1 skipped"});

    // Not one readable file: the library in place stays as it was.
    reporter.messages.clear();
    const std::string before = ReadBytes(scratch.Path("batch.ssd"));
    EXPECT_FALSE(RunLibraryImport(bib, ImportKind::Msp, {scratch.Path("absent.msp")}, scratch.Path("batch.ssd")).completed);
    EXPECT_EQ(ReadBytes(scratch.Path("batch.ssd")), before);
    EXPECT_EQ(reporter.messages.back(), "No input file could be opened; " + scratch.Path("batch.ssd") + " left unchanged");

    // Before a feature generation the library is built as type "MS".
    EXPECT_TRUE(ImportForFeatureGeneration(bib, ImportKind::Msp, {MspCorpusFile("riken-style.msp")},
                                           scratch.Path("features.ssd"))
                    .completed);
    EXPECT_EQ(ReadLibrary(scratch.Path("features.ssd")).header.typ, "MS");

    // A clean import reports nothing.
    CRecordingReporter clean;
    EXPECT_TRUE(RunLibraryImport(bib, ImportKind::Msp, {MspCorpusFile("riken-style.msp")}, scratch.Path("clean.ssd")).completed);
    EXPECT_TRUE(clean.messages.empty());
}

}  // namespace
}  // namespace kiv::test

// The bundled example spectra (examples/import-features) import completely: every style of file
// they show gives its spectra with names, structures and retention times.
#include <gtest/gtest.h>

#include <filesystem>

#include "ImportTestSupport.h"
#include "TestSupport.h"
#include "base/Prompt.h"
#include "base/Session.h"

namespace kiv::test {
namespace {

std::string ExampleFile(const std::string& name)
{
    const std::filesystem::path here(__FILE__);
    return (here.parent_path().parent_path().parent_path() / "examples" / "import-features" / "spectra" / name).string();
}

TEST(Examples, EveryExampleSpectrumImports)
{
    CScratchFolder scratch;
    CRecordingReporter reporter;
    ImportOutcome outcome;
    const ReadBack lib = ImportAndRead({ExampleFile("alkanes.jdx"), ExampleFile("aromatics.jdx"), ExampleFile("oxygenates.jdx"),
                                        ExampleFile("gcms-run.jdx")},
                                       TextImportFormat::Jcamp, scratch.Path("examples.ssd"), &outcome);
    EXPECT_TRUE(outcome.completed);
    EXPECT_TRUE(reporter.messages.empty());
    ASSERT_EQ(lib.blocks.size(), 20u);
    EXPECT_EQ(lib.blocks[0].name.name, "Methane");
    EXPECT_EQ(lib.blocks[0].spectrum.basePeakMass, 16);
    EXPECT_EQ(lib.blocks[6].name.name, "Toluene");
    EXPECT_EQ(lib.blocks[6].name.cas, 108883);
    EXPECT_EQ(lib.blocks[6].spectrum.basePeakMass, 91);
    EXPECT_EQ(lib.blocks[6].spectrum.peaks.Cols(), 8);
    const CBibRecord& ethanol = lib.blocks[12];
    EXPECT_EQ(ethanol.name.name, "Ethanol");
    EXPECT_EQ(ethanol.molecule.Formula(), "C2H6O1");
    EXPECT_EQ(ethanol.spectrum.basePeakMass, 31);
    EXPECT_NEAR(lib.blocks[19].spectrum.retentionTime, 6.1, 1e-9);
    EXPECT_EQ(lib.blocks[19].spectrum.basePeakMass, 91);
}

// A prompter that answers the file dialog with one path.
class CFilePrompter : public CHeadlessPrompter {
public:
    explicit CFilePrompter(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> ChooseFileToOpen(const FileRequest&) override { return path_; }

private:
    std::string path_;
};

TEST(Examples, InteractiveImportNamesTheLibraryAfterTheFile)
{
    CScratchFolder scratch;
    CRecordingReporter reporter;
    const std::string text = scratch.Path("alkanes.txt");
    std::filesystem::copy_file(ExampleFile("alkanes.jdx"), text);
    CFilePrompter prompter(text);
    CRecordingSession session;
    CBib bib;
    const ImportOutcome outcome = ImportTextCommand(bib, prompter, session);
    EXPECT_EQ(outcome.blocksWritten, 5);
    ASSERT_EQ(session.log.size(), 3u);
    EXPECT_EQ(session.log[0], "Import BIB from " + text);
    EXPECT_EQ(session.log[1], text + ": 5 spectra");
    EXPECT_EQ(session.log[2], "5 spectra imported.");
    EXPECT_EQ(session.status.back(), "Import done");
    EXPECT_EQ(bib.header.title, "alkanes");
    EXPECT_EQ(bib.header.blockCount, 5);
    EXPECT_EQ(bib.currentBlock, 1);
    EXPECT_EQ(bib.record.name.name, "Methane");
    EXPECT_TRUE(std::filesystem::exists(scratch.Path("alkanes.ssd")));
}

}  // namespace
}  // namespace kiv::test

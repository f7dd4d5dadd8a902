#include <gtest/gtest.h>

#include <deque>

#include "TestSupport.h"
#include "base/Session.h"
#include "statistics/IntensityStatistics.h"
#include "statistics/MolecularWeightStatistics.h"
#include "statistics/MoleculeStatistics.h"
#include "statistics/StatisticsWalk.h"

using namespace kiv;
using namespace kiv::test;

namespace {

// Answers prompts from a queue (the current value once it is empty) and saves to one path.
class CReportPrompter : public CHeadlessPrompter {
public:
    PromptAnswer Ask(const PromptRequest& request) override
    {
        prompts.push_back(request.prompt);
        if (answers.empty()) return {true, request.valueText};
        std::string text = answers.front();
        answers.pop_front();
        return {true, text};
    }
    std::optional<std::string> ChooseFileToSave(const FileRequest& request) override
    {
        titles.push_back(request.title);
        if (savePath.empty()) return std::nullopt;
        return savePath;
    }
    std::deque<std::string> answers;
    std::vector<std::string> prompts;
    std::vector<std::string> titles;
    std::string savePath;
};

// An in-memory library; each block gets a nominal weight, a vector spectrum and optionally water.
struct Block {
    int weight;
    std::vector<double> spectrum;
    bool water;
};

void MakeLibrary(CBib& bib, const std::vector<Block>& blocks)
{
    bib.Close();
    bib.Reset();
    bib.inMemory = 1;
    for (const Block& block : blocks) {
        bib.record.Clear();
        bib.record.name.empty = 0;
        bib.record.name.nominalMW = block.weight;
        CMassSpectrum& s = bib.record.spectrum;
        s.empty = 0;
        s.isVector = 1;
        s.vector.Alloc(1, static_cast<int>(block.spectrum.size()));
        for (size_t m = 0; m < block.spectrum.size(); ++m) s.vector.Set(1, static_cast<int>(m) + 1, block.spectrum[m]);
        s.lastMass = static_cast<uint16_t>(block.spectrum.size());
        if (block.water) {
            bib.record.molecule.Allocate(1, 0);
            bib.record.molecule.element[0] = 8;
            bib.record.molecule.hydrogenCode[0] = 3;
        }
        bib.AppendRecord();
    }
}

}  // namespace

TEST(Statistics, MolecularWeights)
{
    CScratchFolder folder;
    CRecordingReporter reporter;
    CBib bib;
    CMatrix histogram;
    CReportPrompter prompter;
    CRecordingSession session;
    MakeLibrary(bib, {});
    MolecularWeightStatisticsCommand(bib, histogram, prompter, session);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Not enough spectra in BIB!"});

    MakeLibrary(bib, {{18, {100}, false}, {18, {100}, false}, {1200, {100}, false}});
    bib.SelectBlock(2);
    prompter.savePath = folder.Path("nmw");
    MolecularWeightStatisticsCommand(bib, histogram, prompter, session);
    EXPECT_DOUBLE_EQ(histogram.Get(1, 19), 2.0);
    EXPECT_DOUBLE_EQ(histogram.Get(1, 1002), 1.0);
    EXPECT_EQ(session.log, (std::vector<std::string>{"Nominal Molecular Weight", "min 18", "max 1200", "mean 412.000",
                                                     "variance 465708.000", "standard deviation 682.428"}));
    EXPECT_EQ(session.status.front(), "calculate Statistics ...");
    EXPECT_EQ(bib.currentBlock, 2);  // selected again
    EXPECT_EQ(prompter.titles.back(), "Save Statistics as Text file:");
    const std::string report = ReadBytes(folder.Path("nmw.txt"));
    const std::string head = "   NMW      #\r\n     0      0\r\n";
    EXPECT_EQ(report.substr(0, head.size()), head);
    EXPECT_NE(report.find("\r\n    18      2\r\n"), std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 15), "  1001      1\r\n");
}

TEST(Statistics, ReportPaths)
{
    EXPECT_EQ(StatisticsReportPath("out"), "out.txt");
    EXPECT_EQ(StatisticsReportPath("out.csv"), "out.txt");
    EXPECT_EQ(StatisticsReportPath("a.dir/out"), "a.dir/out.txt");
    EXPECT_EQ(StatisticsReportPath("a.dir\\out.x.y"), "a.dir\\out.x.txt");
}

TEST(Statistics, ElementComposition)
{
    CScratchFolder folder;
    CBib bib;
    CMatrix table;
    CReportPrompter prompter;
    prompter.savePath = folder.Path("mol.dat");
    CRecordingSession session;
    MakeLibrary(bib, {{18, {100}, true}, {0, {100}, false}});
    MoleculeStatisticsCommand(bib, table, prompter, session);
    EXPECT_EQ(session.log.back(), "BIB Molecule Statistics Matrix calculated.");
    // Oxygen: one molecule of two holds one atom; the block without structure lowers min to 0.
    EXPECT_DOUBLE_EQ(table.Get(8, 1), 1.0);
    EXPECT_DOUBLE_EQ(table.Get(8, 2), 0.0);
    EXPECT_DOUBLE_EQ(table.Get(8, 3), 1.0);
    EXPECT_DOUBLE_EQ(table.Get(8, 4), 1.0);
    EXPECT_DOUBLE_EQ(table.Get(1, 4), 2.0);  // the two attached hydrogens
    EXPECT_DOUBLE_EQ(table.Get(6, 1), 0.0);
    const std::string report = ReadBytes(folder.Path("mol.txt"));
    const std::string head = "Molecule Statistic\r\natomno     no   min    max       mean   variance\r\n";
    EXPECT_EQ(report.substr(0, head.size()), head);
    EXPECT_NE(report.find("\r\n     8      1      0      1      1.000      0.000\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\n     6      0      0      0      0.000      0.000\r\n"), std::string::npos);

    CMolecule odd;
    odd.Allocate(3, 0);
    odd.element = {0, 129, 200};
    const std::vector<int> counts = ElementCounts(odd);
    EXPECT_EQ(counts[128], 2);
}

TEST(Statistics, IntensityRanges)
{
    CScratchFolder folder;
    CBib bib;
    RangeTables result;
    CReportPrompter prompter;
    prompter.savePath = folder.Path("ms");
    CRecordingSession session;
    MakeLibrary(bib, {{0, {100, 0.5, 1.0, 1.01}, false}});
    bib.parameters.msmMaxMass = 5;
    MassStatisticsCommand(bib, result, prompter, session);
    EXPECT_EQ(prompter.prompts, (std::vector<std::string>{"Enter I min:", "Enter I max:", "Enter number of I steps:"}));
    EXPECT_EQ(session.log, (std::vector<std::string>{"BIB MS Statistics Matrix calculated.", "Intensity Ranges: 102",
                                                     "Masses 5"}));
    const CMatrix& cells = result.cells;
    ASSERT_EQ(cells.Cols(), 102);
    EXPECT_DOUBLE_EQ(cells.Get(1, 1), 1.0);  // mass 5 beyond the spectrum reads 0 = I min
    EXPECT_DOUBLE_EQ(cells.Get(1, 2), 2.0);  // 0.5 and 1.0
    EXPECT_DOUBLE_EQ(cells.Get(1, 3), 1.0);  // 1.01
    EXPECT_DOUBLE_EQ(cells.Get(1, 101), 1.0);  // exactly I max: the last regular cell
    EXPECT_DOUBLE_EQ(cells.Get(1, 102), 0.0);
    EXPECT_DOUBLE_EQ(result.table.Get(2, 1), 1.0);
    EXPECT_DOUBLE_EQ(result.table.Get(5, 1), 0.0);
    EXPECT_DOUBLE_EQ(result.table.Get(5, 2), 999.0);
    const std::string report = ReadBytes(folder.Path("ms.txt"));
    const std::string head = "Mass Statistic\r\nI>Imin 0.000\r\n  mass     no        min        max       mean   variance\r\n"
                             "     1      1    100.000    100.000    100.000      0.000\r\n";
    EXPECT_EQ(report.substr(0, head.size()), head);
    EXPECT_NE(report.find("\r\n\r\nIntensity Statistic\r\nIrange <=I   no masses\r\n     1<=  0.000      1\r\n"
                          "     2    1.000      2\r\n"),
              std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 48), "   101  100.000      1\r\n   102 >100.000      0\r\n");

    // Swapped limits and a step count of 0 are tidied.
    prompter.answers = {"10", "0", "0"};
    MassStatisticsCommand(bib, result, prompter, session);
    EXPECT_EQ(result.cells.Cols(), 102);
    EXPECT_DOUBLE_EQ(result.cells.Get(1, 1), 1.0);
    EXPECT_DOUBLE_EQ(result.cells.Get(1, 102), 1.0);
    EXPECT_DOUBLE_EQ(result.cells.Get(1, 12), 1.0);  // 1.01 in steps of 0.1
}

TEST(Statistics, FeatureValues)
{
    CRecordingReporter reporter;
    CBib bib;
    FeatureDefinitionSet set;
    RangeTables result;
    CReportPrompter prompter;
    CRecordingSession session;
    FeatureStatisticsCommand(bib, set, result, prompter, session);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Open BIB and load Feature definitions!"});

    MakeLibrary(bib, {{0, {100, 50}, false}, {0, {100, 20}, false}});
    set.lines = {"IM 1,2"};
    FeatureStatisticsCommand(bib, set, result, prompter, session);
    EXPECT_EQ(prompter.prompts.front(), "Enter Feature min:");
    ASSERT_EQ(result.table.Rows(), 2);
    EXPECT_DOUBLE_EQ(result.table.Get(2, 1), 2.0);
    EXPECT_DOUBLE_EQ(result.table.Get(2, 4), 35.0);
    EXPECT_DOUBLE_EQ(result.table.Get(2, 5), 450.0);
    EXPECT_EQ(session.log.back(), "Masses 2");
    EXPECT_EQ(reporter.messages.size(), 1u);
}

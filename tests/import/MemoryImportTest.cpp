// The in-memory importers (JC GC-MS text, CosCalib peak lists, MassLib page files), the
// tab-separated table and TRANSPEC formats.
#include <gtest/gtest.h>

#include "ImportTestSupport.h"
#include "base/Session.h"
#include "import/MemoryImport.h"
#include "TestSupport.h"

namespace kiv::test {
namespace {

class MemoryImport : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text)
    {
        const std::string path = scratch.Path(name);
        WriteBytes(path, text);
        return path;
    }
    const CBibRecord& Block(int b)
    {
        bib.SelectBlock(b);
        return bib.record;
    }

    CScratchFolder scratch;
    CRecordingReporter reporter;
    CBib bib;
};

TEST_F(MemoryImport, JcRunWithItsChromatogram)
{
    const std::string path = Write("run-07.txt",
                                   "##TITLE= scan1 1 0.512\n"
                                   "##NPOINTS=2\n"
                                   "##XYDATA=(XY..XY)\n"
                                   "41 200\n"
                                   "43 800\n"
                                   "##TITLE= scan2 2 0.733\n"
                                   "##JCAMP-DX=4.24\n"
                                   "##NPOINTS=3\n"
                                   "57 10\n"
                                   "71 30\n"
                                   "85 20.4\n");
    EXPECT_TRUE(ImportJc(bib, path));
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(bib.inMemory, 1);
    EXPECT_EQ(bib.header.title, "run-07");
    EXPECT_EQ(bib.header.typ, "GC-MS");
    ASSERT_EQ(bib.header.blockCount, 2);
    ASSERT_EQ(bib.header.vector.Cols(), 2);
    EXPECT_EQ(bib.header.vector.Get(1, 1), 1000);
    EXPECT_EQ(bib.header.vector.Get(1, 2), 60);
    const CBibRecord& first = Block(1);
    EXPECT_EQ(first.name.name, "scan1");
    EXPECT_NEAR(first.spectrum.retentionTime, 0.512, 1e-12);
    EXPECT_EQ(first.spectrum.basePeakMass, 43);
    EXPECT_EQ(first.spectrum.peaks.Get(2, 1), 25);
    const CBibRecord& second = Block(2);
    EXPECT_EQ(second.spectrum.basePeakIntensity, 30u);
    EXPECT_EQ(second.spectrum.tic, 60);
}

TEST_F(MemoryImport, JcFailures)
{
    EXPECT_FALSE(ImportJc(bib, Write("header.txt", "scan list\n")));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Illegal header scan list");

    reporter.messages.clear();
    // A 100 KB line is read in pieces of 256 characters; nothing is overrun.
    EXPECT_FALSE(ImportJc(bib, Write("long.txt", "##TITLE= a 1 1\n##NPOINTS=1\n" + std::string(100000, '7') + " 5\n")));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].substr(0, 14), "Illegal point ");

    reporter.messages.clear();
    EXPECT_FALSE(ImportJc(bib, Write("zero.txt", "##TITLE= a 1 1\n##NPOINTS=2\n41 10\n43 0\n")));
    EXPECT_EQ(reporter.messages.at(0), "Illegal point 43 0");

    reporter.messages.clear();
    EXPECT_FALSE(ImportJc(bib, Write("npoints.txt", "##TITLE= a 1 1\n##NPOINTS=99999999\n")));
    EXPECT_EQ(reporter.messages.at(0), "Illegal npoints ##NPOINTS=99999999");

    reporter.messages.clear();
    EXPECT_FALSE(ImportJc(bib, scratch.Path("missing.txt")));
    EXPECT_EQ(reporter.messages.at(0), "Open JC file " + scratch.Path("missing.txt") + " failed");
    EXPECT_EQ(bib.header.blockCount, 0);
}

TEST_F(MemoryImport, CosCalibPeakLists)
{
    const std::string good = Write("good.txt",
                                   "CosCalib report\n"
                                   "inorganic/organic peaklist\n"
                                   "12 0.1 50\n"
                                   "  44 0.2 200\n"
                                   "299 0 25\n"
                                   "300 0 999\n"
                                   "end of list\n"
                                   "45 0 1000\n");
    const std::string none = Write("none.txt", "no peak list here\n");
    EXPECT_TRUE(ImportCosCalib(bib, {good, none}));
    EXPECT_EQ(bib.header.title, "CosCalib Import");
    ASSERT_EQ(bib.header.blockCount, 2);
    const CBibRecord& a = Block(1);
    EXPECT_EQ(a.name.name, good);
    ASSERT_EQ(a.spectrum.peaks.Cols(), 300);
    EXPECT_EQ(a.spectrum.peaks.Get(1, 299), 299);
    EXPECT_EQ(a.spectrum.peaks.Get(1, 300), 0);
    EXPECT_EQ(a.spectrum.basePeakMass, 44);  // mass 300 stores nothing, the table ended before 45
    EXPECT_EQ(a.spectrum.basePeakIntensity, 200u);
    EXPECT_EQ(a.spectrum.tic, 275);
    EXPECT_EQ(a.spectrum.peaks.Get(2, 12), 25);
    const CBibRecord& b = Block(2);
    EXPECT_EQ(b.spectrum.peaks.Cols(), 300);
    EXPECT_EQ(b.spectrum.basePeakMass, 0);  // all zero: no base peak, no division
    EXPECT_EQ(b.spectrum.peaks.Get(2, 44), 0);
}

TEST_F(MemoryImport, MassLibPageFiles)
{
    const std::string two = Write("two.cop", "%!PS\n/Courier findfont (43 50 41 100) show (39 25)\n");
    const std::string junk = Write("junk.cop", "/Helvetica x /Courier (12 x");
    EXPECT_TRUE(ImportMassLib(bib, {two, junk}));
    EXPECT_EQ(bib.header.title, "MassLib Import");
    ASSERT_EQ(bib.header.blockCount, 2);
    const CBibRecord& a = Block(1);
    ASSERT_EQ(a.spectrum.peaks.Cols(), 3);
    EXPECT_EQ(a.spectrum.peaks.Get(1, 1), 39);  // sorted by mass
    EXPECT_EQ(a.spectrum.peaks.Get(1, 3), 43);
    EXPECT_EQ(a.spectrum.peaks.Get(2, 2), 100);
    EXPECT_EQ(a.spectrum.basePeakMass, 41);
    EXPECT_EQ(Block(2).spectrum.peaks.Cols(), 0);

    CRecordingSession session;
    EXPECT_TRUE(ImportMassLibFolder(bib, two, session));
    EXPECT_EQ(bib.header.blockCount, 2);
    ASSERT_EQ(session.log.size(), 3u);
    EXPECT_EQ(session.log[0], "Generating new BIB from COPs in directory");
    EXPECT_EQ(session.log[1].substr(0, 13), "init BIB add ");
    EXPECT_FALSE(ImportMassLibFolder(bib, scratch.Path("nowhere/x.cop"), session));
    EXPECT_EQ(reporter.messages.back(), "Directory wrong!");
}

TEST_F(MemoryImport, TabSeparatedTable)
{
    const std::string path = Write("table.txt",
                                   "mass\tpropanal\tacetone\tempty\n"
                                   "29,0\t100\t5\t0\n"
                                   "43\t10\t100\t0\n"
                                   "44\t1\t2\t3\t4\n"
                                   "58,5\t80\t27\t0\n");
    ImportOutcome outcome;
    const ReadBack lib = ImportAndRead({path, "ignored"}, TextImportFormat::Table, scratch.Path("t.ssd"), &outcome);
    EXPECT_TRUE(outcome.completed);
    ASSERT_EQ(lib.blocks.size(), 3u);
    const CBibRecord& a = lib.blocks[0];
    EXPECT_EQ(a.name.name, "propanal");
    EXPECT_EQ(a.spectrum.nbyte, 4);
    EXPECT_EQ(a.spectrum.ndec, 3);
    ASSERT_EQ(a.spectrum.peaks.Cols(), 3);  // the line with one field too many is skipped
    EXPECT_NEAR(Mass(a, 3), 58.5, 1e-9);
    EXPECT_NEAR(Intensity(a, 3), 80, 1e-9);
    EXPECT_EQ(a.spectrum.basePeakIntensity, 100u);
    EXPECT_EQ(lib.blocks[1].id, 2);
    EXPECT_EQ(lib.blocks[1].spectrum.basePeakMass, 43);
    EXPECT_EQ(lib.blocks[2].spectrum.peaks.Cols(), 0);
}

TEST_F(MemoryImport, TranspecRecords)
{
    // Peak lines: five pairs of 7-character fields.
    auto pairs = [](std::initializer_list<double> values) {
        std::string line;
        char field[16];
        for (double v : values) {
            std::snprintf(field, sizeof field, "%7.1f", v);
            line += field;
        }
        return line + "\n";
    };
    const std::string path = Write("records.tsp",
                                   "/IDENT     1\n"
                                   "  4711\n"
                                   "/NAME      1\n"
                                   "  Toluene  \n"
                                   "/CASNR     1\n"
                                   "108-88-3\n"
                                   "/PEAKS     2    6\n"
                                   + pairs({39, 4.5, 65, 7.2, 91, 100, 92, 62, 63, 4}) + pairs({51, 4.1}) +
                                   "/EOR       0\n"
                                   "stray line\n");
    ImportOutcome outcome;
    const ReadBack lib = ImportAndRead({path}, TextImportFormat::Transpec, scratch.Path("tr.ssd"), &outcome);
    EXPECT_FALSE(outcome.completed);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Error in TRANSPEC stray line (" + path + ", line 11)");
    ASSERT_EQ(lib.blocks.size(), 1u);
    const CBibRecord& r = lib.blocks[0];
    EXPECT_EQ(r.id, 4711);
    EXPECT_EQ(r.name.name, "Toluene");
    EXPECT_EQ(r.name.cas, 108883);
    EXPECT_EQ(r.spectrum.ndec, 1);
    ASSERT_EQ(r.spectrum.peaks.Cols(), 6);
    EXPECT_EQ(Mass(r, 3), 91);
    EXPECT_NEAR(Intensity(r, 5), 4, 1e-9);
    EXPECT_EQ(Mass(r, 6), 51);
}

}  // namespace
}  // namespace kiv::test

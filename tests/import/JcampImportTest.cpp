// JCAMP-DX import: files written in the test, imported into a new library and read back.
#include <gtest/gtest.h>

#include <random>

#include "ImportTestSupport.h"
#include "base/TextFile.h"
#include "import/JcampStructure.h"
#include "library/BibExport.h"
#include "TestSupport.h"

namespace kiv::test {
namespace {

class JcampImport : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text)
    {
        const std::string path = scratch.Path(name);
        WriteBytes(path, text);
        return path;
    }
    ReadBack Import(const std::vector<std::string>& files, ImportOutcome* outcome = nullptr)
    {
        return ImportAndRead(files, TextImportFormat::Jcamp, scratch.Path("out.ssd"), outcome);
    }

    CScratchFolder scratch;
    CRecordingReporter reporter;
};

TEST_F(JcampImport, TwoSpectraWithTheirLabels)
{
    const std::string path = Write("two.jdx",
                                   "##TITLE=Formaldehyde\r\n"
                                   "##JCAMP-DX=4.24\r\n"
                                   "##CAS REGISTRY NO=50-00-0\r\n"
                                   "##MOLFORM=C H2 O\r\n"
                                   "##MW=30.026\r\n"
                                   "##$RETENTION INDEX=412.5\r\n"
                                   "##NPOINTS=3\r\n"
                                   "##PEAK TABLE=(XY..XY)\r\n"
                                   "28,310\r\n"
                                   "29,999\r\n"
                                   "30,880\r\n"
                                   "##END=\r\n"
                                   "##NAME=Ethanol\n"
                                   "##CAS=64-17-5\n"
                                   "##CAS NAME=ethyl alcohol\n"
                                   "##SCAN=17\n"
                                   "##NPOINTS=2\n"
                                   "##XYDATA=(XY..XY)\n"
                                   "31 100\n"
                                   "45 50\n"
                                   "##END=\n");
    ImportOutcome outcome;
    const ReadBack lib = Import({path}, &outcome);
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(outcome.blocksWritten, 2);
    ASSERT_EQ(lib.blocks.size(), 2u);
    EXPECT_TRUE(reporter.messages.empty());

    const CBibRecord& a = lib.blocks[0];
    EXPECT_EQ(a.id, 1);
    EXPECT_EQ(a.name.name, "Formaldehyde");
    EXPECT_EQ(a.name.cas, 50000);
    EXPECT_EQ(a.name.formula, "C H2 O");
    EXPECT_NEAR(a.name.mw, 30.026, 1e-4);
    EXPECT_NEAR(a.spectrum.retentionIndex, 412.5, 1e-9);
    ASSERT_EQ(a.spectrum.peaks.Cols(), 3);
    EXPECT_EQ(a.spectrum.nbyte, 2);
    EXPECT_EQ(a.spectrum.ndec, 0);
    EXPECT_EQ(a.spectrum.tic, 310 + 999 + 880);
    EXPECT_EQ(a.spectrum.basePeakIntensity, 999u);
    EXPECT_EQ(a.spectrum.basePeakMass, 29);
    EXPECT_NEAR(Intensity(a, 1), 31.03, 0.005);  // 310 / 999 in percent, stored to 0.01
    EXPECT_NEAR(Intensity(a, 2), 100, 1e-9);

    const CBibRecord& b = lib.blocks[1];
    EXPECT_EQ(b.id, 2);
    EXPECT_EQ(b.name.name, "ethyl alcohol");
    EXPECT_EQ(b.name.origin, "Ethanol");
    EXPECT_EQ(b.name.cas, 64175);
    EXPECT_EQ(b.name.originNumber, 17);
    EXPECT_EQ(Mass(b, 2), 45);
    EXPECT_NEAR(Intensity(b, 2), 50, 1e-9);
}

TEST_F(JcampImport, EveryPairOfAPointLineIsReadInEveryMode)
{
    // Peak tables of published libraries carry several pairs per line, separated by blanks,
    // commas or semicolons; reading one pair per line would lose peaks and then fail on "##END=".
    const std::string path = Write("pairs.jdx",
                                   "##TITLE=Ethylene\n"
                                   "##NPOINTS=6\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "15,10 26,10 27,90 28,389\n"
                                   "29;9 ;30 1\n"
                                   "##END=\n"
                                   "##TITLE=Two per line, table longer than its count\n"
                                   "##NPOINTS=3\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "41 5 43 10\n"
                                   "57 20 58 30\n"
                                   "##END=\n");
    const ReadBack lib = Import({path});
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"NPOINTS 3, 4 points read (" + path + ", line 8)"});
    ASSERT_EQ(lib.blocks.size(), 2u);
    const CBibRecord& a = lib.blocks[0];
    ASSERT_EQ(a.spectrum.peaks.Cols(), 6);
    const double masses[] = {15, 26, 27, 28, 29, 30};
    for (int j = 1; j <= 6; ++j) EXPECT_EQ(Mass(a, j), masses[j - 1]) << j;
    EXPECT_EQ(a.spectrum.basePeakMass, 28);
    EXPECT_EQ(a.spectrum.tic, 10 + 10 + 90 + 389 + 9 + 1);
    const CBibRecord& b = lib.blocks[1];
    ASSERT_EQ(b.spectrum.peaks.Cols(), 4);
    EXPECT_EQ(Mass(b, 4), 58);  // the table decides, not the count
    EXPECT_EQ(b.spectrum.basePeakIntensity, 30u);
}

TEST_F(JcampImport, LabelsBetweenNpointsAndTheTable)
{
    const std::string path = Write("labels.jdx",
                                   "##TITLE=Methane\n"
                                   "##NPOINTS=3\n"
                                   "##FIRSTY=10\n"
                                   "##MAXY=100\n"
                                   "##XFACTOR=0.1\n"
                                   "##XYDATA=(XY..XY)\n"
                                   "150 10\n"
                                   "160 100\n"
                                   "##CAS REGISTRY NO=74-82-8\n"
                                   "##END=\n");
    const ReadBack lib = Import({path});
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"NPOINTS 3, 2 points read (" + path + ", line 2)"});
    ASSERT_EQ(lib.blocks.size(), 1u);
    const CBibRecord& r = lib.blocks[0];
    // The XFACTOR line after "##NPOINTS" still scales this table.
    EXPECT_EQ(Mass(r, 1), 15);
    EXPECT_EQ(Mass(r, 2), 16);
    // The table was one point short: the label ended it, and no empty peak stands in for the
    // missing point.
    ASSERT_EQ(r.spectrum.peaks.Cols(), 2);
    EXPECT_EQ(r.name.cas, 74828);
}

TEST_F(JcampImport, ShortTableEndedByTheNextTitle)
{
    const std::string path = Write("short.jdx",
                                   "##TITLE=first\n"
                                   "##NPOINTS=4\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "41,50 43,100\n"
                                   "##TITLE=second\n"
                                   "##NPOINTS=1\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "57,10\n"
                                   "##END=\n");
    const ReadBack lib = Import({path});
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"NPOINTS 4, 2 points read (" + path + ", line 2)"});
    ASSERT_EQ(lib.blocks.size(), 2u);
    EXPECT_EQ(lib.blocks[0].spectrum.peaks.Cols(), 2);
    EXPECT_EQ(lib.blocks[0].spectrum.basePeakMass, 43);
    EXPECT_EQ(lib.blocks[1].name.name, "second");
    EXPECT_EQ(Mass(lib.blocks[1], 1), 57);
}

TEST_F(JcampImport, GcmsPagesGiveOneBlockPerPageWithItsTime)
{
    const std::string path = Write("run.jdx",
                                   "##TITLE=GC-MS run\n"
                                   "##JCAMP-DX=5.01\n"
                                   "##DATA TYPE=MASS SPECTRUM\n"
                                   "##NTUPLES=MASS SPECTRUM\n"
                                   "##VAR_NAME=MASS, INTENSITY, RETENTION TIME\n"
                                   "##PAGE= T=1.5\n"
                                   "##NPOINTS=2\n"
                                   "##DATA TABLE= (XY..XY), PEAKS\n"
                                   "41,100 43,200\n"
                                   "##PAGE= T=2.75\n"
                                   "##NPOINTS=3\n"
                                   "##DATA TABLE= (XY..XY), PEAKS\n"
                                   "41,10 43,20\n"
                                   "57,5\n"
                                   "##PAGE= T=4\n"
                                   "##NPOINTS=1\n"
                                   "##DATA TABLE= (XY..XY), PEAKS\n"
                                   "91,7\n"
                                   "##END NTUPLES=MASS SPECTRUM\n"
                                   "##END=\n");
    const ReadBack lib = Import({path});
    EXPECT_TRUE(reporter.messages.empty());
    ASSERT_EQ(lib.blocks.size(), 3u);
    const double times[] = {1.5, 2.75, 4};
    const int peaks[] = {2, 3, 1};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(lib.blocks[k].id, k + 1);
        EXPECT_NEAR(lib.blocks[k].spectrum.retentionTime, times[k], 1e-9) << k;
        EXPECT_EQ(lib.blocks[k].spectrum.peaks.Cols(), peaks[k]) << k;
    }
    EXPECT_EQ(lib.blocks[0].name.name, "GC-MS run");
    EXPECT_EQ(lib.blocks[1].name.empty, 0);  // every block carries a name record
    EXPECT_EQ(lib.blocks[1].name.name, "");
    EXPECT_EQ(lib.blocks[1].spectrum.tic, 35);
}

TEST_F(JcampImport, CompoundFileGivesOneSpectrumForTheLinkBlockAndItsNestedBlocks)
{
    const std::string path = Write("compound.jdx",
                                   "##TITLE=Benzene (link block)\n"
                                   "##JCAMP-DX=5.01\n"
                                   "##BLOCKS=3\n"
                                   "##TITLE=Benzene structure\n"
                                   "##JCAMP-CS=3.7\n"
                                   "##MOLFORM=C6 H6\n"
                                   "##END=\n"
                                   "##TITLE=Benzene mass spectrum\n"
                                   "##NPOINTS=3\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "78,999 77,220 52,190\n"
                                   "##END=\n"
                                   "##END=\n"
                                   "##TITLE=Toluene\n"
                                   "##NPOINTS=2\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "91,999 92,620\n"
                                   "##END=\n");
    const ReadBack lib = Import({path});
    EXPECT_TRUE(reporter.messages.empty());
    ASSERT_EQ(lib.blocks.size(), 2u);
    EXPECT_EQ(lib.blocks[0].name.name, "Benzene (link block)");
    EXPECT_EQ(lib.blocks[0].name.formula, "C6 H6");
    EXPECT_EQ(lib.blocks[0].spectrum.peaks.Cols(), 3);
    EXPECT_EQ(lib.blocks[0].spectrum.basePeakMass, 78);
    EXPECT_EQ(lib.blocks[1].name.name, "Toluene");
    EXPECT_EQ(lib.blocks[1].id, 2);
}

TEST_F(JcampImport, XfactorScalesOnlyItsOwnTable)
{
    const std::string path = Write("factors.jdx",
                                   "##TITLE=scaled\n"
                                   "##XFACTOR=0.1\n"
                                   "##YFACTOR=2\n"
                                   "##NPOINTS=2\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "570,10\n"
                                   "710,40\n"
                                   "##END=\n"
                                   "##TITLE=unscaled\n"
                                   "##NPOINTS=1\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "57,10\n"
                                   "##END=\n");
    const ReadBack lib = Import({path});
    ASSERT_EQ(lib.blocks.size(), 2u);
    EXPECT_EQ(Mass(lib.blocks[0], 1), 57);
    EXPECT_EQ(Mass(lib.blocks[0], 2), 71);
    EXPECT_EQ(lib.blocks[0].spectrum.basePeakIntensity, 80u);  // 40 x YFACTOR 2
    EXPECT_EQ(Mass(lib.blocks[1], 1), 57);
    EXPECT_EQ(lib.blocks[1].spectrum.basePeakIntensity, 10u);
}

TEST_F(JcampImport, StructureListsBuildTheMoleculeOfTheirSpectrumOnly)
{
    const std::string path = Write("structure.jdx",
                                   "##TITLE=Chloromethane\n"
                                   "##ATOMLIST=$$ ATOM NUMBER, ATOM TYPE, IMPLICIT HYDROGENS\n"
                                   "$$ comment lines of a list are skipped\n"
                                   "1 C 3\n"
                                   "2 Cl 0\n"
                                   "##BONDLIST=$$ 1ST ATOM, 2ND ATOM, BOND TYPE\n"
                                   "1 2  1\n"
                                   "2 9  1\n"
                                   "##XY_RASTER=$$ ATOM NUMBER, X, Y\n"
                                   "1 0.5 1.5\n"
                                   "2 2.5 -1\n"
                                   "7 1 1\n"
                                   "##NPOINTS=2\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "50,999 52,330\n"
                                   "##END=\n"
                                   "##TITLE=no structure\n"
                                   "##NPOINTS=1\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "43,10\n"
                                   "##END=\n");
    const ReadBack lib = Import({path});
    ASSERT_EQ(lib.blocks.size(), 2u);
    const CMolecule& m = lib.blocks[0].molecule;
    ASSERT_EQ(m.empty, 0);
    ASSERT_EQ(m.atomCount, 2);
    EXPECT_EQ(m.element[0], 6);
    EXPECT_EQ(m.element[1], 17);
    EXPECT_EQ(m.hydrogenCode[0], 4);
    EXPECT_EQ(m.hydrogenCode[1], 1);
    EXPECT_FLOAT_EQ(m.x[0], 0.5f);
    EXPECT_FLOAT_EQ(m.y[1], -1.0f);
    ASSERT_EQ(m.bondCount, 1);  // the bond to the missing atom 9 is dropped
    EXPECT_EQ(m.bondFrom[0], 1);
    EXPECT_EQ(m.bondTo[0], 2);
    EXPECT_EQ(m.bondOrder[0], 1);
    EXPECT_EQ(m.Formula(), "C1H3Cl1");
    EXPECT_EQ(lib.blocks[1].molecule.empty, 1);
}

TEST_F(JcampImport, BondCodes)
{
    EXPECT_EQ(JcampBondOrder("1 2  2"), 2);
    EXPECT_EQ(JcampBondOrder("1 2  3"), 3);
    EXPECT_EQ(JcampBondOrder("1 2  4"), 8);
    EXPECT_EQ(JcampBondOrder("1 2  5"), 4);
    EXPECT_EQ(JcampBondOrder("1 2 12"), 1);
    EXPECT_EQ(JcampBondOrder("1 2 D"), 2);
    EXPECT_EQ(JcampBondOrder("1 2 A"), 4);
    EXPECT_EQ(JcampBondOrder("1 2 99"), 1);
}

TEST_F(JcampImport, AProblemCostsOnlyItsSpectrumOrFile)
{
    const std::string good = "##TITLE=good\n##NPOINTS=1\n##PEAK TABLE=(XY..XY)\n43,10\n##END=\n";
    const std::string after = "##TITLE=after\n##NPOINTS=1\n##PEAK TABLE=(XY..XY)\n44,10\n##END=\n";
    // Each bad spectrum stands between two good ones; the message names the file and line.
    struct Case {
        std::string text;
        std::string message;
        int line;
        size_t blocks;
    } cases[] = {
        {"##TITLE=negative\n##NPOINTS=2\n##PEAK TABLE=(XY..XY)\n57,-3\n##END=\n", "Illegal point 57,-3", 9, 3},
        {"##TITLE=zero mass\n##NPOINTS=2\n##PEAK TABLE=(XY..XY)\n0,5\n##END=\n", "Illegal point 0,5", 9, 3},
        {"##TITLE=text\n##NPOINTS=2\n##PEAK TABLE=(XY..XY)\n57,ten\n##END=\n", "Illegal point 57,ten", 9, 3},
        {"##TITLE=odd\n##NPOINTS=2\n##PEAK TABLE=(XY..XY)\n57,10 58\n##END=\n", "Illegal point 57,10 58", 9, 3},
        {"##TITLE=asdf\n##NPOINTS=2\n##XYDATA=(X++(Y..Y))\n57 10 #\n##END=\n", "Illegal point 57 10 #", 9, 3},
        // An odd count is no reason to drop the table.
        {"##TITLE=count\n##NPOINTS=-3\n##PEAK TABLE=(XY..XY)\n41,5\n##END=\n", "Illegal npoints ##NPOINTS=-3", 7, 4},
    };
    for (const Case& c : cases) {
        reporter.messages.clear();
        ImportOutcome outcome;
        const std::string bad = Write("bad.jdx", good + c.text + after);
        const ReadBack lib = Import({bad, Write("next.jdx", good)}, &outcome);
        EXPECT_TRUE(outcome.completed) << c.message;
        ASSERT_EQ(reporter.messages.size(), 1u) << c.message;
        EXPECT_EQ(reporter.messages[0], c.message + " (" + bad + ", line " + std::to_string(c.line) + ")");
        ASSERT_EQ(lib.blocks.size(), c.blocks) << c.message;
        EXPECT_EQ(lib.blocks[0].name.name, "good");
        EXPECT_EQ(lib.blocks[c.blocks - 2].name.name, "after");
        EXPECT_EQ(lib.blocks[c.blocks - 1].name.name, "good");
    }

    // Files that cannot be opened or hold no spectrum are reported; the list goes on.
    reporter.messages.clear();
    ImportOutcome outcome;
    const std::string sd = Write("structure.sdf", "benzene\n  kiv\n\n  0  0  0  0  0  0  0  0  0  0999 V2000\nM  END\n$$$$\n");
    const ReadBack lib = Import({scratch.Path("missing.jdx"), scratch.Root(), sd, Write("next.jdx", good)}, &outcome);
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.filesOpened, 2);
    EXPECT_EQ(lib.blocks.size(), 1u);
    const std::vector<std::string> expected = {"Error opening " + scratch.Path("missing.jdx"), "Error opening " + scratch.Root(),
                                               "No spectrum found in " + sd};
    EXPECT_EQ(reporter.messages, expected);

    reporter.messages.clear();
    ImportAndRead({Write("any.jdx", good)}, static_cast<TextImportFormat>(99), scratch.Path("format.ssd"));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Import Format Error!");
}

TEST_F(JcampImport, OpenSpectrumAtTheEndOfTheFileAndEmptyTables)
{
    // No "##END": the last spectrum is still written, with its structure. A table whose points
    // never came has no base peak and nothing is divided by zero.
    const std::string path = Write("open.jdx",
                                   "##TITLE=empty table\n"
                                   "##NPOINTS=2\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "##END=\n"
                                   "##TITLE=no points\n"
                                   "##NPOINTS=0\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "##END=\n"
                                   "##TITLE=unterminated\n"
                                   "##ATOMLIST=\n"
                                   "1 O 2\n"
                                   "##NPOINTS=1\n"
                                   "##PEAK TABLE=(XY..XY)\n"
                                   "18,100");
    const ReadBack lib = Import({path});
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"NPOINTS 2, 0 points read (" + path + ", line 2)"});
    ASSERT_EQ(lib.blocks.size(), 3u);
    const CMassSpectrum& empty = lib.blocks[0].spectrum;
    EXPECT_EQ(empty.peaks.Cols(), 0);
    EXPECT_EQ(empty.basePeakMass, 0);
    EXPECT_EQ(empty.basePeakIntensity, 0u);
    EXPECT_EQ(lib.blocks[1].spectrum.empty, 0);
    EXPECT_EQ(lib.blocks[1].spectrum.peaks.Cols(), 0);
    EXPECT_EQ(lib.blocks[2].name.name, "unterminated");
    EXPECT_EQ(lib.blocks[2].molecule.Formula(), "H2O1");
    EXPECT_EQ(Mass(lib.blocks[2], 1), 18);
}

TEST_F(JcampImport, ExportedLibraryReadsBack)
{
    const std::string source = scratch.Path("source.ssd");
    {
        CBib bib;
        bib.NewLibrary("source", "MS", source);
        const double spectra[3][4] = {{41, 30, 43, 100}, {57, 100, 71, 45.5}, {78, 100, 77, 22}};
        const char* names[] = {"propane", "hexane", "benzene"};
        for (int k = 0; k < 3; ++k) {
            bib.record.Clear();
            bib.record.id = 100 + k;
            bib.record.name.empty = 0;
            bib.record.name.name = names[k];
            bib.record.name.cas = 1000 + k;
            CMassSpectrum& s = bib.record.spectrum;
            s.empty = 0;
            s.nbyte = 2;
            s.ndec = 0;
            s.peaks.Alloc(2, 2);
            for (int j = 1; j <= 2; ++j) {
                s.peaks.Set(1, j, spectra[k][2 * j - 2]);
                s.peaks.Set(2, j, spectra[k][2 * j - 1]);
            }
            s.count = 2;
            bib.WriteBlock();
        }
        bib.CloseWrite();
    }
    CBib exported;
    ASSERT_EQ(exported.Open(source), FileResult::Done);
    exported.OpenIndex();
    exported.ReadHeader();
    const std::string text = scratch.Path("export.jdx");
    ASSERT_EQ(ExportBib(exported, CMatrixI(), kJcampExportFormat, text), 1);
    exported.Close();

    const ReadBack lib = Import({text});
    EXPECT_TRUE(reporter.messages.empty());
    ASSERT_EQ(lib.blocks.size(), 3u);
    EXPECT_EQ(lib.blocks[1].name.name, "hexane");
    EXPECT_EQ(lib.blocks[1].name.cas, 1001);
    EXPECT_EQ(Mass(lib.blocks[1], 2), 71);
    EXPECT_NEAR(Intensity(lib.blocks[1], 2), 45.5, 1e-9);
    EXPECT_EQ(lib.blocks[2].spectrum.basePeakMass, 78);
}

TEST_F(JcampImport, BinaryJunkNeverCrashes)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string junk;
        // Junk with and without label-like lines, so that every state is reached.
        const int length = 1 + static_cast<int>(random() % 4000);
        for (int i = 0; i < length; ++i) {
            const unsigned pick = random() % 16;
            if (pick == 0) {
                const char* labels[] = {"\n##TITLE=x\n", "\n##NPOINTS=3\n", "\n##PAGE= T=1\n", "\n##ATOMLIST=\n",
                                        "\n##BONDLIST=\n", "\n##END=\n", "\n##BLOCKS=2\n", "\n41,10 43 5\n",
                                        "\n##XYDATA=(X++(Y..Y))\n", "\n40A0J0%TS9s99\n", "\n##NTUPLES=MASS SPECTRUM\n",
                                        "\n##DATA TYPE=IR\n", "\n##RETENTION_TIME=1\n", "\n##FIRSTX=1\n##LASTX=0\n",
                                        "\n##FACTOR=0,0\n", "\n  ##Title=y $$\n"};
                junk += labels[random() % 16];
            } else {
                junk.push_back(static_cast<char>(random() % 256));
            }
        }
        Import({Write("junk.jdx", junk)});
    }
    SUCCEED();
}

}  // namespace
}  // namespace kiv::test

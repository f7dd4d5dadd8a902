// Molfile and SD file reading, the structure-only import and "Add Structures to BIB".
#include <gtest/gtest.h>

#include "ImportTestSupport.h"
#include "import/MolfileReader.h"
#include "import/StructureImport.h"
#include "TestSupport.h"

namespace kiv::test {
namespace {

// One Molfile record: header block, counts line, the given atom and bond lines, properties.
std::string Record(const std::string& name, int atoms, int bonds, const std::string& atomLines,
                   const std::string& bondLines, const std::string& properties = "")
{
    char counts[64];
    std::snprintf(counts, sizeof counts, "%3d%3d  0  0  0  0  0  0  0  0999 V2000\n", atoms, bonds);
    return name + "\n  program 0101\n\n" + counts + atomLines + bondLines + properties + "M  END\n";
}

std::string Atom(const char* symbol, double x = 0, int massDifference = 0, int charge = 0, int hydrogens = 0)
{
    char line[128];
    std::snprintf(line, sizeof line, "%10.4f%10.4f%10.4f %-3s%2d%3d  0%3d  0  0  0  0  0  0  0  0\n", x, 0.0, 0.0, symbol,
                  massDifference, charge, hydrogens);
    return line;
}

std::string Bond(int from, int to, int type)
{
    char line[64];
    std::snprintf(line, sizeof line, "%3d%3d%3d  0\n", from, to, type);
    return line;
}

class Molfiles : public ::testing::Test {
protected:
    std::vector<CMolecule> ReadAll(const std::string& text, std::vector<MolfileStatus>* statuses = nullptr)
    {
        const std::string path = scratch.Path("in.sdf");
        WriteBytes(path, text);
        CLineReader stream;
        EXPECT_TRUE(stream.Open(path));
        std::vector<CMolecule> molecules;
        CMolecule molecule;
        for (int guard = 0; guard < 1000; ++guard) {
            const MolfileStatus status = ReadMolfile(stream, molecule);
            if (status == MolfileStatus::End) break;
            if (statuses) statuses->push_back(status);
            molecules.push_back(molecule);
        }
        return molecules;
    }

    CScratchFolder scratch;
    CRecordingReporter reporter;
};

TEST_F(Molfiles, AtomBlockFields)
{
    const std::string text = Record("chloro", 4, 3,
                                    Atom("C", 1.25, 1, 3, 2) + Atom("Cl") + Atom("D") + Atom("X", 0, 0, 5),
                                    Bond(1, 2, 1) + Bond(1, 3, 2) + Bond(1, 4, 4));
    const std::vector<CMolecule> molecules = ReadAll(text);
    ASSERT_EQ(molecules.size(), 1u);
    const CMolecule& m = molecules[0];
    ASSERT_EQ(m.atomCount, 4);
    EXPECT_FLOAT_EQ(m.x[0], 1.25f);
    EXPECT_EQ(m.element[0], 6);
    EXPECT_EQ(m.isotope[0], 13);  // mass difference 1 on carbon
    EXPECT_EQ(m.charge[0], 1);  // charge code 3 is +1
    EXPECT_EQ(m.hydrogenCode[0], 2);
    EXPECT_EQ(m.element[1], 17);
    EXPECT_EQ(m.element[2], 255);  // D is not in the table
    EXPECT_EQ(m.element[3], 201);
    EXPECT_EQ(m.charge[3], -1);
    ASSERT_EQ(m.bondCount, 3);
    EXPECT_EQ(m.bondTo[1], 3);
    EXPECT_EQ(m.bondOrder[1], 2);
    EXPECT_EQ(m.bondOrder[2], 4);
}

TEST_F(Molfiles, ThreeDigitAtomNumbersFillTheirColumns)
{
    // Bond lines are fixed columns: "100101  1" joins atoms 100 and 101.
    std::string atoms;
    for (int a = 0; a < 101; ++a) atoms += Atom("C");
    const std::vector<CMolecule> molecules = ReadAll(Record("chain", 101, 1, atoms, "100101  2  0\n"));
    ASSERT_EQ(molecules.size(), 1u);
    ASSERT_EQ(molecules[0].bondCount, 1);
    EXPECT_EQ(molecules[0].bondFrom[0], 100);
    EXPECT_EQ(molecules[0].bondTo[0], 101);
    EXPECT_EQ(molecules[0].bondOrder[0], 2);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(Molfiles, PropertyLinesOverrideTheAtomBlock)
{
    const std::string text = Record("props", 3, 0, Atom("C", 0, 0, 3) + Atom("O") + Atom("N"), "",
                                    "M  CHG  2   1  -1   3   2\n"
                                    "M  ISO  1   1   1\n"
                                    "M  RAD  1   2   2\n"
                                    "M  CHG  1   9   1\n");  // atom 9 does not exist
    const std::vector<CMolecule> molecules = ReadAll(text);
    ASSERT_EQ(molecules.size(), 1u);
    const CMolecule& m = molecules[0];
    EXPECT_EQ(m.charge[0], -1);
    EXPECT_EQ(m.charge[2], 2);
    EXPECT_EQ(m.isotope[0], 13);
    EXPECT_EQ(m.radical[1], 2);
}

TEST_F(Molfiles, SdFileWithAndWithoutDataItems)
{
    const std::string water = Record("water", 1, 0, Atom("O", 0, 0, 0, 3), "");
    const std::string methane = Record("methane", 1, 0, Atom("C", 0, 0, 0, 5), "");
    const std::string empty = Record("no atoms", 0, 0, "", "");
    // Records separated directly by "$$$$", one with data items, one without atoms.
    const std::string text = water + "$$$$\n" + methane + "> <ID>\n12\n\n> <NAME>\nmethane\n\n$$$$\n" + empty + "$$$$\n" +
                             water + "$$$$\n";
    std::vector<MolfileStatus> statuses;
    const std::vector<CMolecule> molecules = ReadAll(text, &statuses);
    ASSERT_EQ(molecules.size(), 4u);
    EXPECT_EQ(molecules[0].Formula(), "H2O1");
    EXPECT_EQ(molecules[1].Formula(), "C1H4");
    EXPECT_EQ(molecules[2].empty, 1);
    EXPECT_EQ(statuses[2], MolfileStatus::Read);
    EXPECT_EQ(molecules[3].Formula(), "H2O1");
    EXPECT_TRUE(reporter.messages.empty());

    // A file that begins with data lines: they are skipped up to "$$$$".
    const std::vector<CMolecule> afterData = ReadAll("> <junk>\nvalue\n$$$$\n" + water);
    ASSERT_EQ(afterData.size(), 1u);
    EXPECT_EQ(afterData[0].element[0], 8);
}

TEST_F(Molfiles, DamagedRecordsAreRefusedAndTheNextOneIsRead)
{
    const std::string water = Record("water", 1, 0, Atom("O"), "");
    // The counts line promises 999 atoms but three follow.
    const std::string tooFewAtoms = Record("liar", 999, 2, Atom("C") + Atom("C") + Atom("O"), Bond(1, 2, 1) + Bond(2, 3, 1));
    // Two bonds promised, one present.
    const std::string tooFewBonds = Record("short bonds", 2, 2, Atom("C") + Atom("O"), Bond(1, 2, 2));
    // Bond ends outside the atoms.
    const std::string wildBonds = Record("wild", 2, 3, Atom("C") + Atom("O"), Bond(1, 2, 2) + Bond(1, 7, 1) + Bond(0, 2, 1));
    const std::string text = tooFewAtoms + "$$$$\n" + water + "$$$$\n" + tooFewBonds + "> <X>\n1\n\n$$$$\n" + wildBonds +
                             "$$$$\n" + water + "$$$$\n" + Record("cut", 5, 0, Atom("C"), "");
    std::vector<MolfileStatus> statuses;
    const std::vector<CMolecule> molecules = ReadAll(text, &statuses);
    ASSERT_EQ(statuses.size(), 6u);
    EXPECT_EQ(statuses[0], MolfileStatus::Damaged);
    EXPECT_EQ(molecules[0].empty, 1);
    EXPECT_EQ(statuses[1], MolfileStatus::Read);
    EXPECT_EQ(molecules[1].element[0], 8);
    EXPECT_EQ(statuses[2], MolfileStatus::Damaged);
    EXPECT_EQ(statuses[3], MolfileStatus::Read);
    ASSERT_EQ(molecules[3].bondCount, 1);
    EXPECT_EQ(molecules[3].bondTo[0], 2);
    EXPECT_EQ(molecules[3].bondFrom.size(), 1u);
    EXPECT_EQ(statuses[4], MolfileStatus::Read);
    EXPECT_EQ(statuses[5], MolfileStatus::Damaged);
    ASSERT_EQ(reporter.messages.size(), 4u);
    EXPECT_EQ(reporter.messages[0], "Molfile liar: the atom block is shorter than its counts line");
    EXPECT_EQ(reporter.messages[1], "Molfile short bonds: the bond block is shorter than its counts line");
    EXPECT_EQ(reporter.messages[2], "Molfile wild: bonds to atoms outside the atom block dropped");
}

TEST_F(Molfiles, StructureOnlyLibraryFromSdFiles)
{
    const std::string first = scratch.Path("a.sdf");
    const std::string second = scratch.Path("b.sdf");
    WriteBytes(first, Record("ethanol", 3, 2, Atom("C", 0, 0, 0, 4) + Atom("C", 0, 0, 0, 3) + Atom("O", 0, 0, 0, 2),
                             Bond(1, 2, 1) + Bond(2, 3, 1)) +
                          "$$$$\n" + Record("none", 0, 0, "", "") + "$$$$\n" + Record("water", 1, 0, Atom("O", 0, 0, 0, 3), "") +
                          "$$$$\n");
    WriteBytes(second, Record("ammonia", 1, 0, Atom("N", 0, 0, 0, 4), ""));
    ImportOutcome outcome;
    const ReadBack lib = ImportAndRead({first, second}, TextImportFormat::Structures, scratch.Path("s.ssd"), &outcome);
    EXPECT_TRUE(outcome.completed);
    ASSERT_EQ(lib.blocks.size(), 3u);
    EXPECT_EQ(lib.blocks[0].molecule.Formula(), "C2H6O1");
    EXPECT_EQ(lib.blocks[1].molecule.Formula(), "H2O1");
    EXPECT_EQ(lib.blocks[2].molecule.Formula(), "H3N1");
    EXPECT_EQ(lib.blocks[0].spectrum.empty, 1);
    EXPECT_EQ(lib.blocks[0].name.empty, 1);
}

TEST_F(Molfiles, AddStructuresGivesTheKthStructureToTheKthBlock)
{
    const std::string source = scratch.Path("spectra.ssd");
    {
        CBib bib;
        bib.NewLibrary("spectra", "MS", source);
        for (int k = 1; k <= 3; ++k) {
            bib.record.Clear();
            bib.record.id = 40 + k;
            bib.record.name.empty = 0;
            bib.record.name.name = "block " + std::to_string(k);
            bib.record.spectrum.empty = 0;
            bib.record.spectrum.peaks.Alloc(2, 1);
            bib.record.spectrum.peaks.Set(1, 1, 150);  // above m/z 100: must survive the copy
            bib.record.spectrum.peaks.Set(2, 1, 100);
            bib.WriteBlock();
        }
        bib.CloseWrite();
    }
    const std::string sd = scratch.Path("two.sdf");
    WriteBytes(sd, Record("water", 1, 0, Atom("O", 0, 0, 0, 3), "") + "$$$$\n" + Record("methane", 1, 0, Atom("C", 0, 0, 0, 5), "") +
                       "$$$$\n");
    for (int option : {kNewIds, kKeepIds}) {
        const std::string output = scratch.Path("with-structures.ssd");
        CBib bib;
        EXPECT_EQ(AddStructures(bib, source, sd, output, option), 2);
        const ReadBack lib = ReadLibrary(output);
        ASSERT_EQ(lib.blocks.size(), 2u);  // the SD file ran out after two structures
        EXPECT_EQ(lib.blocks[0].id, option == kNewIds ? 1 : 41);
        EXPECT_EQ(lib.blocks[1].id, option == kNewIds ? 2 : 42);
        EXPECT_EQ(lib.blocks[1].name.name, "block 2");
        EXPECT_EQ(lib.blocks[1].molecule.Formula(), "C1H4");
        EXPECT_EQ(Intensity(lib.blocks[0], 1), 100);
        EXPECT_EQ(lib.header.title, "spectra");
    }
}

}  // namespace
}  // namespace kiv::test

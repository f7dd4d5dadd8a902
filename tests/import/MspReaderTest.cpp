// The MSP reader over the corpus: each dialect gives its fields, peaks and retention values;
// line ends and key case make no difference; damaged records are skipped with file and line.
#include <gtest/gtest.h>

#include "MspTestSupport.h"
#include "TestSupport.h"
#include "import/MspEncoding.h"
#include "import/MspImport.h"
#include "import/MspLines.h"
#include "import/MspReader.h"

namespace kiv::test {
namespace {

// The record's peaks as "mass:intensity" pairs with the stored precision.
std::string PeakText(const CBibRecord& r)
{
    std::string text;
    for (int j = 1; j <= r.spectrum.peaks.Cols(); ++j) {
        char pair[64];
        std::snprintf(pair, sizeof pair, "%s%.*f:%.2f", j > 1 ? " " : "", r.spectrum.ndec, Mass(r, j), Intensity(r, j));
        text += pair;
    }
    return text;
}

ReadBack ImportOne(const CScratchFolder& scratch, const std::string& corpusName, MessageLog& log)
{
    return ImportMspAndRead({MspCorpusFile(corpusName)}, scratch.Path("lib.ssd"), log);
}

TEST(MspReader, NistExportWithKovatsIndicesAndCasNistLine)
{
    CScratchFolder scratch;
    MessageLog log;
    const ReadBack lib = ImportOne(scratch, "nist-export.msp", log);
    ASSERT_EQ(lib.blocks.size(), 2u);
    const CBibRecord& a = lib.blocks[0];
    EXPECT_EQ(a.id, 1);
    EXPECT_EQ(a.name.name, "Methane, chloro-");
    EXPECT_EQ(a.name.formula, "CH3Cl");
    EXPECT_DOUBLE_EQ(a.name.mw, 50);
    EXPECT_EQ(a.name.cas, 74873);
    EXPECT_EQ(a.name.originNumber, 61234);
    EXPECT_DOUBLE_EQ(a.spectrum.retentionIndex, 380);  // semi-standard non-polar first
    EXPECT_DOUBLE_EQ(a.spectrum.retentionTime, 0);
    EXPECT_EQ(PeakText(a), "15:12.01 35:9.01 47:8.01 49:3.00 50:100.00 51:4.00 52:31.03");
    EXPECT_EQ(a.spectrum.basePeakIntensity, 999u);
    EXPECT_EQ(a.spectrum.tic, 1669);
    EXPECT_DOUBLE_EQ(a.spectrum.basePeakMass, 50);
    const CBibRecord& b = lib.blocks[1];
    EXPECT_EQ(b.id, 2);
    EXPECT_EQ(b.name.cas, 64175);
    EXPECT_EQ(b.name.originNumber, 12);
    EXPECT_DOUBLE_EQ(b.spectrum.retentionIndex, 452);  // standard non-polar; the polar index is not taken
    EXPECT_EQ(log, MessageLog{"2 records imported, 0 skipped"});
}

TEST(MspReader, MonaExportKeepsDecimalMassesAndIndexFromComments)
{
    CScratchFolder scratch;
    MessageLog log;
    const ReadBack lib = ImportOne(scratch, "mona-massbank.msp", log);
    ASSERT_EQ(lib.blocks.size(), 2u);
    const CBibRecord& a = lib.blocks[0];
    EXPECT_EQ(a.name.name, "Pentanoic acid");
    EXPECT_EQ(a.name.formula, "C5H10O2");
    EXPECT_NEAR(a.name.mass2, 102.0680, 1e-9);  // the library keeps four decimals
    EXPECT_EQ(a.spectrum.ndec, 4);
    EXPECT_EQ(a.spectrum.nbyte, 4);
    EXPECT_EQ(PeakText(a), "41.0386:35.50 60.0206:100.00 73.0284:40.25 102.0675:2.50");
    EXPECT_NEAR(a.spectrum.retentionIndex, 865.2, 1e-9);
    EXPECT_EQ(a.spectrum.comment, "\"SMILES=CCCCC(O)=O\" \"retention index=865.2\" \"accession=TEST000001\"");
    EXPECT_DOUBLE_EQ(lib.blocks[1].spectrum.retentionIndex, 868);
}

TEST(MspReader, RikenStyleUpperCaseKeysTabsAndRetentionValues)
{
    CScratchFolder scratch;
    MessageLog log;
    const ReadBack lib = ImportOne(scratch, "riken-style.msp", log);
    ASSERT_EQ(lib.blocks.size(), 2u);
    const CBibRecord& a = lib.blocks[0];
    EXPECT_EQ(a.name.name, "Glycine 3TMS");
    EXPECT_EQ(a.name.formula, "C11H29NO2Si3");
    EXPECT_EQ(a.spectrum.comment, "written for the reader tests");
    EXPECT_EQ(PeakText(a), "73:100.00 147:25.00 174:90.00");
    // One retention value per spectrum: the index wins over the time.
    EXPECT_DOUBLE_EQ(a.spectrum.retentionIndex, 1310.5);
    EXPECT_DOUBLE_EQ(a.spectrum.retentionTime, 0);
    EXPECT_DOUBLE_EQ(lib.blocks[1].spectrum.retentionTime, 11.25);
    EXPECT_DOUBLE_EQ(lib.blocks[1].spectrum.retentionIndex, 0);
}

TEST(MspReader, PeakGroupsColonsCommasAndRecordsWithoutBlankLines)
{
    CScratchFolder scratch;
    MessageLog log;
    const ReadBack groups = ImportOne(scratch, "groups-and-separators.msp", log);
    ASSERT_EQ(groups.blocks.size(), 2u);
    EXPECT_EQ(PeakText(groups.blocks[0]), "39:12.01 50:16.02 51:20.02 52:19.02 77:14.01 78:100.00");
    EXPECT_EQ(PeakText(groups.blocks[1]), "39:4.00 65:8.00 91:100.00 92:60.00 63:3.00 51:2.00");
    EXPECT_NEAR(groups.blocks[1].spectrum.retentionIndex, 763.4, 1e-9);

    const ReadBack joined = ImportOne(scratch, "no-blank-lines.msp", log);
    ASSERT_EQ(joined.blocks.size(), 3u);
    EXPECT_EQ(joined.blocks[1].name.name, "Butane");
    EXPECT_EQ(PeakText(joined.blocks[2]), "43:100.00 72:9.00");
    EXPECT_EQ(log.back(), "3 records imported, 0 skipped");
}

TEST(MspReader, LineEndsAndKeyCaseMakeNoDifference)
{
    CScratchFolder scratch;
    MessageLog log;
    const ReadBack cr = ImportOne(scratch, "mixed-case-cr.msp", log);
    ASSERT_EQ(cr.blocks.size(), 2u);
    EXPECT_EQ(cr.blocks[0].name.name, "Acetone");
    EXPECT_EQ(cr.blocks[0].name.cas, 67641);
    EXPECT_DOUBLE_EQ(cr.blocks[0].spectrum.retentionIndex, 500);
    EXPECT_EQ(cr.blocks[1].name.cas, 64197);

    // The same records with each kind of line end give the same library, byte for byte.
    const std::string text = ReadBytes(MspCorpusFile("mixed-case-cr.msp"));
    std::string lf = text, crlf;
    for (char& c : lf) c = c == '\r' ? '\n' : c;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::string reference;
    for (const auto& [name, bytes] : {std::pair{"cr", text}, {"lf", lf}, {"crlf", crlf}}) {
        WriteBytes(scratch.Path(std::string(name) + ".msp"), bytes);
        ImportMspAndRead({scratch.Path(std::string(name) + ".msp")}, scratch.Path(std::string(name) + ".ssd"), log);
        const std::string library = ReadBytes(scratch.Path(std::string(name) + ".ssd"));
        if (reference.empty()) reference = library;
        EXPECT_EQ(library, reference) << name;
    }
}

TEST(MspReader, Latin1AndUtf8NamesBecomeLatin1)
{
    CScratchFolder scratch;
    MessageLog log;
    const ReadBack latin1 = ImportOne(scratch, "latin1-names.msp", log);
    ASSERT_EQ(latin1.blocks.size(), 1u);
    EXPECT_EQ(latin1.blocks[0].name.name, "Caf\xe9 aroma compound");
    EXPECT_EQ(latin1.blocks[0].spectrum.comment, "R\xf6hm test, \xb5g scale");
    const ReadBack utf8 = ImportOne(scratch, "utf8-names.msp", log);
    ASSERT_EQ(utf8.blocks.size(), 3u);
    EXPECT_EQ(utf8.blocks[0].name.name, "Caf\xe9 aroma compound");  // after the byte-order mark
    EXPECT_EQ(utf8.blocks[1].name.name, "alpha-Pinene");
    EXPECT_EQ(utf8.blocks[2].name.name, "beta-Carotene 2'-ol \"all-trans\" ??");
    // Writing goes out as UTF-8 and comes back as the same bytes.
    const std::string all = "\x01 ~\x7f\x80\xa0\xe9\xff";
    EXPECT_EQ(Latin1ToUtf8(all), "\x01 ~\x7f\xc2\x80\xc2\xa0\xc3\xa9\xc3\xbf");
    EXPECT_EQ(MspTextToLatin1(Latin1ToUtf8(all)), all);
    EXPECT_EQ(MspTextToLatin1("\xce\x91\xce\xa9 \xed\xa0\x80"), "\xce\x91\xce\xa9 \xed\xa0\x80");  // a surrogate: not UTF-8
    EXPECT_EQ(MspTextToLatin1("\xce\x91\xce\xa9\xcf\x82"), "AlphaOmegasigma");
}

struct DamageCase {
    const char* file;
    std::vector<std::string> names;  // the records imported
    std::vector<std::string> messages;  // after the file name
};

TEST(MspReader, DamagedRecordsAreSkippedWithFileAndLine)
{
    const DamageCase cases[] = {
        {"damaged-peak-text.msp",
         {"Good one", "Good two"},
         {", line 7: a mass without intensity in \"41 100; 43 abc\"; record \"Bad intensity\" skipped",
          "2 records imported, 1 skipped"}},
        {"damaged-no-name.msp", {"Ethene"}, {", line 1: a record without a name; record skipped", "1 records imported, 1 skipped"}},
        {"damaged-values.msp",
         {"Fine"},
         {", line 3: a mass without intensity in \"41 100; 43\"; record \"Odd pair\" skipped",
          ", line 7: a mass out of range in \"-41 100; 43 50\"; record \"Negative mass\" skipped",
          ", line 11: an intensity out of range in \"41 -100; 43 50\"; record \"Negative intensity\" skipped",
          "1 records imported, 3 skipped"}},
        {"damaged-garbage-line.msp",
         {"Intact"},
         {", line 3: neither a field nor peaks: \"this line is neither a field nor peaks\"; record \"Garbled\" skipped",
          "1 records imported, 1 skipped"}},
        {"truncated.msp",
         {"Complete"},
         {", line 7: a mass without intensity in \"41 100; 43\"; record \"Cut off\" skipped", "1 records imported, 1 skipped"}},
        {"num-peaks-mismatch.msp",
         {"Says five", "Says one"},
         {", line 2: record \"Says five\" declares 5 peaks, 3 read; the peaks read are kept",
          ", line 6: record \"Says one\" declares 1 peaks, 2 read; the peaks read are kept",
          "2 records imported, 0 skipped"}},
    };
    for (const DamageCase& c : cases) {
        CScratchFolder scratch;
        CRecordingReporter reporter;
        MessageLog log;
        const std::string path = MspCorpusFile(c.file);
        const ReadBack lib = ImportMspAndRead({path}, scratch.Path("lib.ssd"), log);
        std::vector<std::string> names;
        for (const CBibRecord& r : lib.blocks) names.push_back(r.name.name);
        EXPECT_EQ(names, c.names) << c.file;
        std::vector<std::string> expected;
        for (const std::string& m : c.messages) expected.push_back(m.front() == ',' ? path + m : m);
        EXPECT_EQ(log, expected) << c.file;
        EXPECT_TRUE(reporter.messages.empty()) << c.file;
        // The blocks imported are numbered without gaps.
        for (size_t k = 0; k < lib.blocks.size(); ++k) EXPECT_EQ(lib.blocks[k].id, static_cast<int>(k + 1)) << c.file;
    }
}

TEST(MspReader, LimitsOfTheLibraryAndMissingFiles)
{
    CScratchFolder scratch;
    CRecordingReporter reporter;
    MessageLog log;
    // More peaks than a spectrum holds, then a record that is fine.
    std::string text = "Name: Huge\n";
    for (int m = 1; m <= 65536; ++m) text += std::to_string(m) + " 1\n";
    text += "\nName: Small\nNum Peaks: 1\n50 10\n";
    WriteBytes(scratch.Path("huge.msp"), text);
    const ReadBack lib = ImportMspAndRead({scratch.Path("huge.msp")}, scratch.Path("huge.ssd"), log);
    ASSERT_EQ(lib.blocks.size(), 1u);
    EXPECT_EQ(lib.blocks[0].name.name, "Small");
    EXPECT_EQ(log.front(), scratch.Path("huge.msp") + ", line 65537: more than 65535 peaks; record \"Huge\" skipped");
    // Peaks without a name make a damaged record from its first line on.
    log.clear();
    CMspReader reader(log);
    WriteBytes(scratch.Path("nameless.msp"), "Formula: C2H6\n41 100\n43 50\n");
    ASSERT_TRUE(reader.Open(scratch.Path("nameless.msp")));
    CBibRecord record;
    EXPECT_EQ(reader.Next(record), MspStatus::Damaged);
    EXPECT_EQ(reader.Next(record), MspStatus::End);
    EXPECT_EQ(log, MessageLog{scratch.Path("nameless.msp") + ", line 1: a record without a name; record skipped"});

    // A record without peaks keeps its name and has no spectrum; a missing file is reported and
    // ends the import with what was read.
    WriteBytes(scratch.Path("names.msp"), "Name: No spectrum\nNum Peaks: 0\n");
    log.clear();
    const MspImportOutcome outcome =
        ImportMsp(scratch.Path("names.msp"), scratch.Path("names.ssd"), log);
    EXPECT_TRUE(outcome.completed);
    const ReadBack names = ReadLibrary(scratch.Path("names.ssd"));
    ASSERT_EQ(names.blocks.size(), 1u);
    EXPECT_EQ(names.blocks[0].spectrum.empty, 1);
    EXPECT_EQ(names.header.title, "names");
    CBib bib;
    const MspImportOutcome missing =
        ImportMspLibrary(bib, {scratch.Path("names.msp"), scratch.Path("absent.msp")}, scratch.Path("m.ssd"), "m", "MS", log);
    EXPECT_FALSE(missing.completed);
    EXPECT_EQ(missing.imported, 1);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Error opening " + scratch.Path("absent.msp")});
    EXPECT_EQ(ReadLibrary(scratch.Path("m.ssd")).blocks.size(), 1u);
}

TEST(MspReader, LineEndsAcrossBufferBoundariesAndOverlongLines)
{
    CScratchFolder scratch;
    // A CR LF split by the first buffer boundary, a lone CR, then a line beyond the limit.
    const size_t first = (size_t(1) << 18) - 1;
    const std::string text = std::string(first, 'a') + "\r\nb\rc\n" + std::string(kMspLineLimit + 5, 'd') + "\r";
    WriteBytes(scratch.Path("lines.msp"), text);
    CMspLineReader reader;
    ASSERT_TRUE(reader.Open(scratch.Path("lines.msp")));
    std::vector<std::string> lines;
    for (std::string_view line; reader.ReadLine(line);) lines.emplace_back(line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], std::string(first, 'a'));
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], "c");
    EXPECT_EQ(lines[3], std::string(kMspLineLimit, 'd'));
    EXPECT_EQ(lines[4], "ddddd");
    EXPECT_EQ(reader.LineNumber(), 5);
    EXPECT_EQ(reader.Position(), static_cast<int64_t>(text.size()));
}

}  // namespace
}  // namespace kiv::test

// The MSP writer: the exact layout of a record, and round trips library -> MSP -> library for
// every field MSP carries, and MSP -> library -> MSP -> library over the whole corpus.
#include <gtest/gtest.h>

#include "LibraryFiles.h"
#include "MspTestSupport.h"
#include "TestSupport.h"
#include "base/Prompt.h"
#include "base/Session.h"
#include "import/MspImport.h"
#include "import/MspWriter.h"

namespace kiv::test {
namespace {

CBibRecord FullRecord()
{
    CBibRecord r;
    r.name.empty = 0;
    r.name.name = "2-Methylpropan-1-ol, \xe9thyl test";
    r.name.formula = "C4H10O";
    r.name.mw = 74.1216;
    r.name.nominalMW = 74;
    r.name.mass2 = 74.0732;
    r.name.cas = 78831;
    r.name.origin = "Test library";
    r.name.originNumber = 4711;
    r.spectrum = PeakListSpectrum({{31.02, 40}, {41.05, 12.5}, {43.06, 100}, {74.07, 3.25}});
    r.spectrum.ndec = 2;
    r.spectrum.basePeakIntensity = 999;
    r.spectrum.tic = 2500;
    r.spectrum.retentionIndex = 622.125;
    r.spectrum.comment = "first line\r\nsecond";
    return r;
}

// Writes the records as a library (IDs 1, 2, ...).
void WriteLibrary(const std::string& path, const std::vector<CBibRecord>& records)
{
    CBib bib;
    ASSERT_TRUE(bib.NewLibrary("lib", "MS", path));
    for (size_t k = 0; k < records.size(); ++k) {
        bib.record = records[k];
        bib.record.id = static_cast<int32_t>(k + 1);
        ASSERT_TRUE(bib.WriteBlock());
    }
    bib.CloseWrite();
}

MspExportOutcome Export(const std::string& ssd, const std::string& msp)
{
    CBib bib;
    if (!OpenTestLibrary(bib, ssd)) return {};
    return ExportMsp(bib, msp);
}

TEST(MspWriter, RecordLayoutByteForByte)
{
    CScratchFolder scratch;
    CBibRecord unnamed;
    unnamed.spectrum = PeakListSpectrum({{50, 100}});
    unnamed.spectrum.retentionTime = 12.5;
    WriteLibrary(scratch.Path("lib.ssd"), {FullRecord(), unnamed});
    const MspExportOutcome outcome = Export(scratch.Path("lib.ssd"), scratch.Path("lib.msp"));
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(outcome.records, 2);
    EXPECT_EQ(ReadBytes(scratch.Path("lib.msp")),
              "Name: 2-Methylpropan-1-ol, \xc3\xa9thyl test\r\n"
              "Formula: C4H10O\r\n"
              "MW: 74.1216\r\n"
              "NominalMW: 74\r\n"
              "ExactMass: 74.0732\r\n"
              "CAS#: 78-83-1\r\n"
              "NIST#: 4711\r\n"
              "Origin: Test library\r\n"
              "RI: 622.125\r\n"
              "Comments: first line  second\r\n"
              "TIC: 2500\r\n"
              "Num Peaks: 4\r\n"
              "31.02 399.6\r\n"
              "41.05 124.875\r\n"
              "43.06 999\r\n"
              "74.07 32.4675\r\n"
              "\r\n"
              "Name: Block 2\r\n"
              "RT: 12.5\r\n"
              "Num Peaks: 1\r\n"
              "50 100\r\n"
              "\r\n");
}

TEST(MspWriter, LibraryToMspAndBackKeepsEveryFieldMspCarries)
{
    CScratchFolder scratch;
    CBibRecord noSpectrum;
    noSpectrum.name.empty = 0;
    noSpectrum.name.name = "Name only";
    CBibRecord heavy;
    heavy.name.empty = 0;
    heavy.name.name = "Heavy";
    heavy.spectrum = PeakListSpectrum({{73.0473, 100}, {1201.8765, 0.01}, {147.0661, 0}});
    heavy.spectrum.ndec = 4;
    heavy.spectrum.nbyte = 4;
    const std::vector<CBibRecord> records = {FullRecord(), noSpectrum, heavy};
    WriteLibrary(scratch.Path("lib.ssd"), records);
    ASSERT_EQ(Export(scratch.Path("lib.ssd"), scratch.Path("lib.msp")).records, 3);
    MessageLog log;
    const ReadBack original = ReadLibrary(scratch.Path("lib.ssd"));
    const ReadBack back = ImportMspAndRead({scratch.Path("lib.msp")}, scratch.Path("back.ssd"), log);
    ASSERT_EQ(back.blocks.size(), original.blocks.size());
    for (size_t b = 0; b < back.blocks.size(); ++b) {
        const CBibRecord& x = original.blocks[b];
        const CBibRecord& y = back.blocks[b];
        EXPECT_EQ(y.id, x.id);
        EXPECT_EQ(y.name.name, x.name.name);
        EXPECT_EQ(y.name.formula, x.name.formula);
        EXPECT_EQ(y.name.mw, x.name.mw);
        EXPECT_EQ(y.name.nominalMW, x.name.nominalMW);
        EXPECT_EQ(y.name.mass2, x.name.mass2);
        EXPECT_EQ(y.name.cas, x.name.cas);
        EXPECT_EQ(y.name.origin, x.name.origin);
        EXPECT_EQ(y.name.originNumber, x.name.originNumber);
        EXPECT_EQ(y.spectrum.empty, x.spectrum.empty) << b;
        EXPECT_EQ(y.spectrum.ndec, x.spectrum.ndec);
        EXPECT_EQ(y.spectrum.nbyte, x.spectrum.nbyte);
        EXPECT_EQ(y.spectrum.retentionIndex, x.spectrum.retentionIndex);
        EXPECT_EQ(y.spectrum.retentionTime, x.spectrum.retentionTime);
        EXPECT_EQ(y.spectrum.basePeakMass, x.spectrum.basePeakMass);
        if (x.spectrum.basePeakIntensity > 0) {
            EXPECT_EQ(y.spectrum.basePeakIntensity, x.spectrum.basePeakIntensity) << b;
            EXPECT_EQ(y.spectrum.tic, x.spectrum.tic) << b;
        }
        EXPECT_EQ(y.spectrum.peaks.Cols(), x.spectrum.peaks.Cols());
        for (int j = 1; j <= x.spectrum.peaks.Cols(); ++j) {
            EXPECT_EQ(Mass(y, j), Mass(x, j)) << b << " " << j;
            EXPECT_EQ(Intensity(y, j), Intensity(x, j)) << b << " " << j;
        }
    }
    // A spectrum without its absolute scale comes back in percent of the base peak.
    EXPECT_EQ(back.blocks[2].spectrum.basePeakIntensity, 100u);
    EXPECT_EQ(back.blocks[2].spectrum.tic, 100);
    // Line ends inside a comment cannot travel in MSP; they become blanks.
    EXPECT_EQ(back.blocks[0].spectrum.comment, "first line  second");
}

TEST(MspWriter, CorpusSurvivesMspLibraryMspLibrary)
{
    for (const std::string& file : MspCorpus()) {
        CScratchFolder scratch;
        MessageLog log;
        ImportMspAndRead({file}, scratch.Path("first.ssd"), log);
        ASSERT_TRUE(Export(scratch.Path("first.ssd"), scratch.Path("again.msp")).written) << file;
        ImportMspAndRead({scratch.Path("again.msp")}, scratch.Path("second.ssd"), log);
        EXPECT_EQ(ReadBytes(scratch.Path("second.ssd")), ReadBytes(scratch.Path("first.ssd"))) << file;
    }
}

TEST(MspWriter, CommandAsksForTheFileAndReports)
{
    CScratchFolder scratch;
    WriteLibrary(scratch.Path("lib.ssd"), {FullRecord()});
    CBib bib;
    ASSERT_TRUE(OpenTestLibrary(bib, scratch.Path("lib.ssd")));
    CHeadlessPrompter prompter;
    CRecordingSession session;
    EXPECT_FALSE(ExportMspCommand(bib, prompter, session).written);  // no file chosen
    EXPECT_TRUE(session.log.empty());
    const MspExportOutcome outcome = ExportMspCommand(bib, prompter, session, scratch.Path("out.msp"));
    EXPECT_EQ(outcome.records, 1);
    EXPECT_EQ(session.log, std::vector<std::string>{"Exported 1 spectra to " + scratch.Path("out.msp")});
    EXPECT_EQ(session.status, std::vector<std::string>{"Export done"});
    EXPECT_FALSE(ExportMspCommand(bib, prompter, session, scratch.Path("missing/out.msp")).written);
    EXPECT_EQ(session.log.back(), "Cannot create " + scratch.Path("missing/out.msp"));
}

}  // namespace
}  // namespace kiv::test

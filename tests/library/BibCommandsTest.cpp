#include <gtest/gtest.h>

#include <deque>

#include "LibraryTestData.h"
#include "TestSupport.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "library/Bib.h"
#include "library/BibBuild.h"
#include "library/BibConvert.h"
#include "library/BibExport.h"
#include "library/BibSelection.h"

using namespace kiv;

namespace {

// Answers prompts and file dialogs from a script, and records what was asked.
class CScriptedPrompter : public CPrompter {
public:
    std::deque<PromptAnswer> answers;
    std::deque<std::optional<std::string>> files;
    std::vector<std::string> prompts;
    std::vector<std::string> dialogTitles;

    PromptAnswer Ask(const PromptRequest& request) override
    {
        prompts.push_back(request.prompt);
        if (answers.empty()) return {false, ""};
        PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> ChooseFileToOpen(const FileRequest& request) override { return NextFile(request); }
    std::optional<std::string> ChooseFileToSave(const FileRequest& request) override { return NextFile(request); }

private:
    std::optional<std::string> NextFile(const FileRequest& request)
    {
        dialogTitles.push_back(request.title);
        if (files.empty()) return std::nullopt;
        std::optional<std::string> f = files.front();
        files.pop_front();
        return f;
    }
};

void WriteLibrary(const std::string& ssdPath, const std::vector<CBibRecord>& records, const std::string& title)
{
    CBib bib;
    ASSERT_TRUE(bib.NewLibrary(title, "MS", ssdPath));
    for (const CBibRecord& r : records) {
        bib.record = r;
        ASSERT_TRUE(bib.WriteBlock());
    }
    bib.CloseWrite();
}

bool OpenLibrary(CBib& bib, const std::string& path) { return bib.Open(path) == FileResult::Done && bib.ReadHeader() && bib.OpenIndex(); }

CParameters ConversionParameters(int mode)
{
    CParameters p;
    p.msMVector = 1;
    p.msSpectrum = mode;
    p.msMmfa = 0;
    p.msMmff = 1;
    p.msMfia = 0.3;
    p.msMfif = 0;
    p.msMfip = 1;
    return p;
}

CBibRecord MassOnly(int id, CMassSpectrum spectrum)
{
    CBibRecord r;
    r.id = id;
    r.spectrum = std::move(spectrum);
    return r;
}

}  // namespace

TEST(BibConvert, ModesKeepPeaksByTheirMassDefect)
{
    CMassSpectrum all = test::PeakSpectrum(4, 1, {{43.0, 10}, {43.4, 20}, {43.6, 30}});
    ConvertSpectrum(all, ConversionParameters(1));
    EXPECT_EQ(all.isVector, 1);
    EXPECT_EQ(all.nbyte, 2);
    EXPECT_EQ(all.ndec, 0);
    EXPECT_EQ(all.firstMass, 43);
    EXPECT_EQ(all.lastMass, 44);
    EXPECT_EQ(all.count, 2);
    EXPECT_EQ(all.peaks.Cols(), 0);
    EXPECT_DOUBLE_EQ(all.vector.Get(1, 43), 100);  // 10 + 20, then normalised
    EXPECT_DOUBLE_EQ(all.vector.Get(1, 44), 100);

    auto kept = [](int mode, std::initializer_list<std::pair<double, double>> peaks, CParameters p) {
        p.msSpectrum = mode;
        CMassSpectrum s = test::PeakSpectrum(4, 2, peaks);
        ConvertSpectrum(s, p);
        std::vector<int> masses;
        for (int m = 1; m <= s.vector.Cols(); ++m) {
            if (s.vector.Get(1, m) > 0) masses.push_back(m);
        }
        return masses;
    };
    const CParameters p = ConversionParameters(3);
    // 43.1: d = 0.1 organic; 42.95: d = -0.05 inorganic; 43.5: nominal 44, d = -0.5 outside.
    const auto peaks = {std::pair{43.1, 50.0}, {41.95, 50.0}, {45.5, 50.0}};
    EXPECT_EQ(kept(3, peaks, p), std::vector<int>{43});
    EXPECT_EQ(kept(4, peaks, p), std::vector<int>{42});
    EXPECT_EQ(kept(2, peaks, p), (std::vector<int>{42, 43}));
    EXPECT_EQ(kept(5, peaks, p), std::vector<int>{46});
    EXPECT_EQ(kept(3, {{43.1, 50}, {42.95, 50}, {43.5, 50}}, p), std::vector<int>{43});

    // A tolerance growing with the mass: 0.1 + 0.001 * m.
    CParameters growing = p;
    growing.msMfia = 0.1;
    growing.msMfif = 0.001;
    growing.msMfip = 1;
    EXPECT_EQ(kept(2, {{20.15, 10}, {300.35, 10}}, growing), std::vector<int>{300});
    // Mass scale correction, and no division when the factor is 0.
    CParameters shifted = ConversionParameters(1);
    shifted.msMmfa = 1;
    shifted.msMmff = 2;
    EXPECT_EQ(kept(1, {{87, 10}}, shifted), std::vector<int>{43});
    shifted.msMmff = 0;
    EXPECT_EQ(kept(1, {{87, 10}}, shifted), std::vector<int>{86});

    // Kept peaks all below m/z 0.5: empty.
    CMassSpectrum low = test::PeakSpectrum(4, 2, {{0.2, 100}, {0.49, 50}});
    ConvertSpectrum(low, ConversionParameters(1));
    EXPECT_EQ(low.empty, 1);
    EXPECT_EQ(low.vector.Cols(), 0);
    EXPECT_EQ(low.firstMass, 0);
    EXPECT_EQ(low.lastMass, 0);
    EXPECT_EQ(low.count, 1);

    CMassSpectrum none = test::PeakSpectrum(2, 0, {});
    ConvertSpectrum(none, ConversionParameters(1));
    EXPECT_EQ(none.isVector, 1);
    EXPECT_EQ(none.count, 1);

    // Not asked for vectors: unchanged; a vector stays as it is.
    CParameters keep = ConversionParameters(1);
    keep.msMVector = 0;
    CMassSpectrum list = test::PeakSpectrum(4, 1, {{43.5, 10}});
    ConvertSpectrum(list, keep);
    EXPECT_EQ(list.isVector, 0);
    CMassSpectrum vector = test::VectorSpectrum(2, 3, {{3, 50}});
    ConvertSpectrum(vector, ConversionParameters(1));
    EXPECT_EQ(vector.vector.Get(1, 3), 50);
}

TEST(BibConvert, ConfirmAndConvertLibraries)
{
    MessageLog log;
    CScriptedPrompter prompter;
    CParameters p = ConversionParameters(1);
    prompter.answers = {{true, "3"}, {true, "0"}, {false, ""}};
    EXPECT_TRUE(ConfirmConvertOptions(p, prompter, log));
    EXPECT_EQ(p.msSpectrum, 3);
    EXPECT_FALSE(ConfirmConvertOptions(p, prompter, log));
    EXPECT_FALSE(ConfirmConvertOptions(p, prompter, log));
    EXPECT_EQ(p.msSpectrum, 3);
    EXPECT_EQ(prompter.prompts.at(0),
              "Confirm Convert Options (Abort and Load Parameters to change Options)\nChange MS_spectrum\n0\tAbort\n1\tOk\n\n");
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0], "MS_spectrum=1");
    EXPECT_EQ(log[2], "mass fraction correction   MS_mmfa=0 MS_mmff=1");
    EXPECT_EQ(log[3], "massfraction interval   MS_mfia=0.3 MS_mfif=0 MS_mfip=1");
    EXPECT_EQ(log[4], "Format MS mass   vector=1 nbyte=0 ndec=0");

    test::CScratchFolder folder;
    // Written but never opened: the header still counts 0 blocks; all are converted anyway.
    WriteLibrary(folder.Path("a.ssd"),
                 {MassOnly(1, test::PeakSpectrum(4, 1, {{43.1, 40}, {150.2, 80}})), MassOnly(2, test::PeakSpectrum(2, 0, {{57, 10}}))},
                 "A");
    WriteLibrary(folder.Path("b.ssd"), {MassOnly(3, test::VectorSpectrum(10, 12, {{11, 100}}))}, "B");
    CBib bib;
    bib.parameters = ConversionParameters(1);
    std::string status;
    log.clear();
    ASSERT_EQ(ConvertBib(bib, {folder.Path("a.ssd"), folder.Path("b")}, folder.Path("out.ssd"), log, status), FileResult::Done);
    EXPECT_EQ(status, "Conversion done");
    EXPECT_EQ(log, (MessageLog{Format("Import BIB from %s", folder.Path("a.ssd").c_str()), Format("Import BIB from %s", folder.Path("b").c_str())}));
    CBib out;
    ASSERT_TRUE(OpenLibrary(out, folder.Path("out")));
    EXPECT_EQ(out.header.title, "A");
    ASSERT_EQ(out.header.blockCount, 3);
    out.SelectBlock(1, SpectrumReading::AsStored);
    EXPECT_EQ(out.record.spectrum.isVector, 1);
    EXPECT_EQ(out.record.spectrum.lastMass, 150);  // the whole spectrum, not only up to m/z 100
    EXPECT_DOUBLE_EQ(out.record.spectrum.vector.Get(1, 43), 50);
    out.SelectBlock(3, SpectrumReading::AsStored);
    EXPECT_EQ(out.record.id, 3);
    EXPECT_EQ(out.record.spectrum.vector.Get(1, 11), 100);

    // Converting a library onto itself is refused before anything is written.
    test::CRecordingReporter reporter;
    const std::string before = test::ReadBytes(folder.Path("b.ssd"));
    EXPECT_EQ(ConvertBib(bib, {folder.Path("b.ssd")}, folder.Path("b.ssd"), log, status), FileResult::CannotOpen);
    EXPECT_EQ(test::ReadBytes(folder.Path("b.ssd")), before);
    EXPECT_EQ(reporter.messages.size(), 1u);
    // No input chosen.
    EXPECT_EQ(ConvertBib(bib, {}, folder.Path("c.ssd"), log, status), FileResult::NoFileChosen);
}

TEST(BibBuild, JoinsTheLibrariesOfAFolder)
{
    test::CScratchFolder folder;
    WriteLibrary(folder.Path("a.ssd"), {MassOnly(1, test::VectorSpectrum(1, 1, {{1, 100}})), MassOnly(2, test::VectorSpectrum(2, 2, {{2, 100}}))},
                 "First");
    WriteLibrary(folder.Path("b.ssd"), {MassOnly(3, test::PeakSpectrum(2, 0, {{3, 100}}))}, "Second");
    {
        CBib b;
        ASSERT_TRUE(OpenLibrary(b, folder.Path("b.ssd")));  // indexed: its header counts 1
    }
    test::WriteBytes(folder.Path("notes.txt"), "not a library");
    test::WriteBytes(folder.Path("joined.ssd"), "an older output that must not be read");

    CBib bib;
    MessageLog log;
    ASSERT_EQ(BuildBibFromDirectory(bib, folder.Path("notes.txt"), folder.Path("joined.ssd"), log), FileResult::Done);
    EXPECT_EQ(log, (MessageLog{"Generating new BIB from BIBs in directory", "add a.ssd", "add b.ssd"}));
    EXPECT_EQ(bib.path, folder.Path("joined"));
    EXPECT_EQ(bib.header.blockCount, 3);
    EXPECT_TRUE(FileExists(folder.Path("joined.ssi")));
    CBib joined;
    ASSERT_TRUE(OpenLibrary(joined, folder.Path("joined")));
    EXPECT_EQ(joined.header.title, "First");
    std::vector<int> ids;
    for (int b = 1; b <= joined.header.blockCount; ++b) ids.push_back((joined.SelectBlock(b), joined.record.id));
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));

    test::CRecordingReporter reporter;
    EXPECT_EQ(BuildBibFromDirectory(bib, folder.Path("missing/x.ssd"), folder.Path("y.ssd"), log), FileResult::CannotOpen);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Directory wrong!"});
    EXPECT_FALSE(FileExists(folder.Path("y.ssd")));
    EXPECT_EQ(BuildBibFromDirectory(bib, "", folder.Path("y.ssd"), log), FileResult::NoFileChosen);
}

TEST(BibSelection, LoadAndClear)
{
    test::CScratchFolder folder;
    test::WriteBytes(folder.Path("pick.mat"), "5\r\n2\r\n2\r\n");
    CBib bib;
    std::string status;
    ASSERT_EQ(LoadSelection(bib, folder.Path("pick.mat"), status), FileResult::Done);
    EXPECT_EQ(status, "Selection done");
    ASSERT_EQ(bib.selection.Count(), 3);
    EXPECT_EQ(bib.selection.GetFlat(1), 5);
    EXPECT_EQ(bib.selection.GetFlat(3), 2);

    CScriptedPrompter prompter;
    bib.SetPrompter(&prompter);
    EXPECT_EQ(LoadSelection(bib, "", status), FileResult::NoFileChosen);
    EXPECT_EQ(status, "Selection canceled");
    EXPECT_EQ(bib.selection.Count(), 3);
    test::CRecordingReporter reporter;
    EXPECT_EQ(LoadSelection(bib, folder.Path("none.mat"), status), FileResult::CannotOpen);
    EXPECT_EQ(reporter.messages.size(), 1u);

    SelectAllSpectra(bib);
    EXPECT_EQ(bib.selection.Count(), 0);
    bib.SetPrompter(nullptr);
}

TEST(BibExport, JcampTextBlockByBlock)
{
    test::CScratchFolder folder;
    CBibRecord named;
    named.id = 1;
    named.name.empty = 0;
    named.name.name = "acetone";
    named.name.origin = "Lib";
    named.name.originNumber = 12;
    named.name.cas = 67641;
    named.name.mw = 58.08;
    named.name.formula = "ignored when a structure is present";
    named.molecule = test::Ethanol();
    named.spectrum = test::VectorSpectrum(41, 58, {{41, 50}, {43, 100}, {57, 0}});
    CBibRecord unnamed = MassOnly(2, test::PeakSpectrum(4, 2, {{43.05, 100}, {57.1, 25.5}}));
    CBibRecord noSpectrum;
    noSpectrum.id = 3;
    noSpectrum.name.empty = 0;
    noSpectrum.name.name = "empty spectrum";
    noSpectrum.name.formula = "C3H6O";
    WriteLibrary(folder.Path("x.ssd"), {named, unnamed, noSpectrum}, "X");

    CBib bib;
    ASSERT_TRUE(OpenLibrary(bib, folder.Path("x")));
    MessageLog log;
    std::string status;
    ASSERT_EQ(ExportBibCommand(bib, kJcampExportFormat, folder.Path("all.txt"), log, status), 1);
    EXPECT_EQ(log, MessageLog{"Exported all spectra"});
    EXPECT_EQ(status, "Export done");
    const std::string block1 =
        "##TITLE=acetone\r\n##MSORIGINALNO=1\r\n##JCAMP-DX=4.24\r\n##ORIGIN=Lib 12\r\n##CASREGISTRYNO=67641\r\n##MW=58.080000\r\n"
        "##MOLFORM=C2H6O1\r\n##XFACTOR=1\r\n##YFACTOR=0.01\r\n##NPOINTS=2\r\n##PEAK TABLE=(XY)\r\n"
        "    41,   5000\r\n    43,  10000\r\n";
    const std::string block2 =
        "##TITLE=\r\n##MSORIGINALNO=2\r\n##JCAMP-DX=4.24\r\n##XFACTOR=0.010000\r\n##YFACTOR=0.01\r\n##NPOINTS=2\r\n"
        "##PEAK TABLE=(XY)\r\n      4305,  10000\r\n      5710,   2550\r\n";
    const std::string block3 = "##TITLE=empty spectrum\r\n##MSORIGINALNO=3\r\n##JCAMP-DX=4.24\r\n##MOLFORM=C3H6O\r\n";
    EXPECT_EQ(test::ReadBytes(folder.Path("all.txt")), block1 + block2 + block3);

    // A list in its order, with a block outside the library; another format code.
    bib.selection.Alloc(1, 3);
    bib.selection.SetFlat(1, 2);
    bib.selection.SetFlat(2, 0);
    bib.selection.SetFlat(3, 4);
    log.clear();
    ASSERT_EQ(ExportBibCommand(bib, kJcampExportFormat, folder.Path("some.txt"), log, status), 1);
    EXPECT_EQ(log, MessageLog{"Exported 3 spectra"});
    EXPECT_EQ(test::ReadBytes(folder.Path("some.txt")),
              block2 + "##********* ERROR Block 0 *********##\r\n##********* ERROR Block 4 *********##\r\n");
    CMatrixI none;
    ASSERT_EQ(ExportBib(bib, none, 7, folder.Path("other.txt")), 1);
    EXPECT_EQ(test::ReadBytes(folder.Path("other.txt")), "format 7? block 1\r\nformat 7? block 2\r\nformat 7? block 3\r\n");

    // No file chosen, or one that cannot be created: nothing written.
    EXPECT_EQ(ExportBib(bib, none, kJcampExportFormat, ""), 0);
    EXPECT_EQ(ExportBib(bib, none, kJcampExportFormat, folder.Path("no/such/folder.txt")), 0);
}

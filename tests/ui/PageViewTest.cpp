#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "LibraryFiles.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "ui/CommandTable.h"
#include "ui/MeasuringPainter.h"
#include "ui/PageView.h"

using namespace kiv;

namespace {

// A document with its page view, as the desktop holds them.
struct ViewFixture {
    ViewFixture() { doc.view = &view; }
    void Run(const char* scriptName)
    {
        const InteractiveCommand* command = FindInteractiveCommand(scriptName);
        ASSERT_NE(command, nullptr) << scriptName;
        command->run(doc, prompter, session);
    }
    CKivDoc doc;
    CPageView view{doc};
    test::CScriptedPrompter prompter;
    CRecordingSession session;
};

PagePoint Centre(const CDisplayObject& object)
{
    const PageRect r = object.Placement();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

TEST(PageView, PageCommandsStoreChangedValuesOnly)
{
    ViewFixture f;
    f.prompter.Answer("-1");
    f.Run("PageSetup");
    EXPECT_EQ(f.view.Settings().setup, 0);
    EXPECT_TRUE(f.view.Settings().matrixOnly);
    EXPECT_EQ(f.prompter.prompts.back().valueText, "0");
    EXPECT_EQ(f.prompter.prompts.back().presets.size(), 8u);
    EXPECT_EQ(f.prompter.prompts.back().presets[1].caption, "Text");
    f.prompter.Answer("0");
    f.Run("PageSetup");
    EXPECT_FALSE(f.view.Settings().matrixOnly);
    EXPECT_EQ(f.prompter.prompts.back().valueText, "-1");
    EXPECT_EQ(f.session.redraws, 2);

    // The current format again, zoom 0 and a negative zoom: nothing to do.
    f.prompter.Answer("1");
    f.Run("PageFormat");
    EXPECT_EQ(f.prompter.prompts.back().prompt, "Change Page Format:\n1\tWindow\n2\tA4 Page\n3\tFull Screen 1024x768\n");
    f.prompter.Answer("0");
    f.Run("PageZoom");
    f.prompter.Answer("-20");
    f.Run("PageZoom");
    EXPECT_EQ(f.view.Settings().zoom, 100);
    EXPECT_EQ(f.session.redraws, 2);

    f.prompter.Answer("150");
    f.Run("PageZoom");
    f.prompter.Answer("2");
    f.Run("PageFormat");
    EXPECT_EQ(f.doc.zoom, 150);
    EXPECT_EQ(f.view.PageArea().right, 30750);
    EXPECT_EQ(f.view.Text().Placement().left, 1500);
    EXPECT_EQ(f.session.redraws, 4);
}

TEST(PageView, MsMatrixScatterClampsMassesAndMissingDataSaysNoData)
{
    ViewFixture f;
    f.prompter.Answer("1");
    f.prompter.Answer("2");
    f.Run("ScatterPlotMSMatrix");
    EXPECT_EQ(f.session.status.back(), "No Data!");

    CMatrix& msm = f.doc.bib.run.msm;
    msm = CMatrix(3, 800);
    for (int i = 1; i <= 3; ++i) {
        msm.Set(i, 1, i);
        msm.Set(i, 800, 10 * i);
    }
    f.prompter.Answer("0");
    f.prompter.Answer("5000");
    f.Run("ScatterPlotMSMatrix");
    EXPECT_EQ(f.view.Settings().setup, 10);
    const CScatterPlot& plot = f.view.Scatter(1);
    EXPECT_FALSE(plot.IsEmpty());
    EXPECT_EQ(plot.Title(), "MS Matrix");
    EXPECT_EQ(plot.Data().objects.x, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(plot.Data().objects.y, (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(plot.BlockOf(2), 2);
    EXPECT_EQ(f.prompter.prompts[2].prompt, "Enter Mass for X-Axis:");

    // Other sources refuse a column below 1; a column above the last is the last.
    f.doc.data.XScores = CMatrix(2, 2);
    f.prompter.Answer("0");
    f.prompter.Answer("1");
    f.Run("ScatterPlotXScores");
    EXPECT_EQ(f.session.status.back(), "No Data!");
    EXPECT_TRUE(f.view.ShowScatterPlot(1, "X Scores", 9, 9));
    EXPECT_FALSE(f.view.ShowScatterPlot(1, "Y Loadings", 1, 2));
    EXPECT_FALSE(f.view.ShowScatterPlot(1, "No Such Source", 1, 2));

    // Predictions of fewer objects than scores.
    f.doc.data.YScores = CMatrix(3, 2);
    f.doc.data.YPred = CMatrix(2, 2);
    EXPECT_TRUE(f.view.ShowScatterPlot(2, "Y Scores & Prediction", 1, 2));
    EXPECT_EQ(f.view.TextLines().back(), "Prediction Plot: Object missing");
}

TEST(PageView, CommandsRunWithoutAView)
{
    CKivDoc doc;
    test::CScriptedPrompter prompter;
    CRecordingSession session;
    prompter.Answer("1");
    prompter.Answer("2");
    FindInteractiveCommand("YScores")->run(doc, prompter, session);
    EXPECT_EQ(session.status.back(), "No Data!");
    prompter.Answer("120");
    FindInteractiveCommand("PageZoom")->run(doc, prompter, session);
    EXPECT_EQ(doc.zoom, 120);
    EXPECT_EQ(doc.view, nullptr);
}

TEST(PageView, ChromatogramClickTogglesTheNearestScan)
{
    ViewFixture f;
    CChromatogram& run = f.doc.chromatogram;
    run.xAxis = CMatrix(1, 3);
    for (int i = 1; i <= 3; ++i) run.xAxis.Set(1, i, i);
    run.AddTrace(run.xAxis, "TIC");
    f.view.Settings().setup = 1;
    f.view.Rebuild();
    CChromatogramTrace& trace = f.view.Chromatogram(1);
    ASSERT_FALSE(trace.IsEmpty());
    trace.SetZoomWindow({0, 4, 0, 10});
    const PageRect plot = trace.PlotArea();
    ASSERT_EQ(plot.Width() % 8, 0);
    auto at = [&](int eighths) { return PagePoint{plot.left + plot.Width() / 8 * eighths, (plot.top + plot.bottom) / 2}; };
    // 2.5 lies as near to 2 as to 3: the first of them.
    f.view.Click(at(5), f.session);
    EXPECT_EQ(run.selected.Count(), 1);
    EXPECT_EQ(run.selected.GetFlat(1), 2);
    f.view.Click(at(5), f.session);
    EXPECT_EQ(run.selected.Count(), 0);
    f.view.Click(at(7), f.session);
    f.view.Click(at(1), f.session);
    EXPECT_EQ(run.selected.Count(), 2);
    EXPECT_EQ(run.selected.GetFlat(1), 1);
    EXPECT_EQ(run.selected.GetFlat(2), 3);

    // A rubber band over the trace zooms it to the band.
    f.view.ZoomObjectsTo({at(6).x, plot.bottom, at(2).x, plot.top});
    EXPECT_NEAR(trace.ZoomWindow().xMin, 1, 1e-9);
    EXPECT_NEAR(trace.ZoomWindow().xMax, 3, 1e-9);

    // "Clear" empties the traces and the selection.
    f.view.RunContextEntry("Clear", Centre(trace), f.prompter, f.session);
    EXPECT_EQ(run.selected.Count(), 0);
    EXPECT_TRUE(trace.IsEmpty());
}

TEST(PageView, ContextMenuOffersWhatAppliesAndEmptyOtherwise)
{
    ViewFixture f;
    const std::vector<std::string> empty{"Empty"};
    EXPECT_EQ(f.view.ContextMenuEntries(Centre(f.view.Text())), empty);

    f.view.AddTextLine("Startup done");
    const std::vector<std::string> text{"Export WMF", "Save Matrix", "Copy Text", "Options"};
    EXPECT_EQ(f.view.ContextMenuEntries(Centre(f.view.Text())), text);
    EXPECT_EQ(f.view.ContextMenuEntries({1, 1}), empty);
    f.view.RunContextEntry("Copy Text", Centre(f.view.Text()), f.prompter, f.session);
    EXPECT_EQ(f.session.copied.back(), "Startup done\n");

    f.doc.chromatogram.xAxis = CMatrix(1, 2);
    f.doc.chromatogram.AddTrace(CMatrix(1, 2), "TIC");
    f.view.Settings().setup = 1;
    f.view.Rebuild();
    EXPECT_EQ(f.view.ContextMenuEntries(Centre(f.view.Chromatogram(1))).size(), 10u);
    f.prompter.Answer("1");
    f.view.RunContextEntry("Options", Centre(f.view.Chromatogram(1)), f.prompter, f.session);
    EXPECT_EQ(f.view.Chromatogram(1).Options(), 1);
    EXPECT_EQ(f.prompter.prompts.back().prompt, "Enter Display Options:\n0\tdefault");

    // Exporting the empty spectrum beside it: the frame and "Empty", moved to the origin.
    CRecordingPainter painter;
    const CMassSpectrumPlot& spectrum = f.view.Spectrum(1);
    ASSERT_TRUE(spectrum.IsEmpty());
    f.view.DrawObjectForExport(spectrum, painter);
    const PageRect r = spectrum.Placement();
    ASSERT_EQ(painter.calls.size(), 5u);
    EXPECT_EQ(painter.calls[2], "rect 0 0 " + std::to_string(r.Width()) + " " + std::to_string(r.Height()));
    EXPECT_EQ(painter.calls[4], "text " + std::to_string(r.Width() / 2) + "," + std::to_string(r.Height() / 2) +
                                    " centre middle Empty");
}

TEST(PageView, LibraryPagesFollowTheCurrentRecord)
{
    test::CScratchFolder folder;
    const std::string library = folder.Path("lib.ssd");
    ASSERT_TRUE(test::WriteTestLibrary(library, {{{41, 50}, {43, 100}}, {{57, 100}}, {{71, 100}}}));
    ViewFixture f;
    ASSERT_TRUE(test::OpenTestLibrary(f.doc.bib, library));
    SelectWorkingRecord(f.doc, 1, f.session);
    f.view.Settings().setup = 2;
    f.view.Rebuild();
    EXPECT_FALSE(f.view.Spectrum(1).IsEmpty());
    EXPECT_TRUE(f.view.Structure(1).IsEmpty());  // no structure in the library
    const std::vector<std::string>& lines = f.view.Text().Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Block: 1/3"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Peaks: 2"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "CAS: "), lines.end());  // none given

    // A long log: the record's data stay at the top, the newest log lines below them.
    for (int i = 1; i <= 200; ++i) f.view.AddTextLine("log line " + std::to_string(i));
    CRecordingPainter text;
    f.view.Text().Draw(text, f.view.PageArea());
    auto drawn = [&](const std::string& line) {
        return std::any_of(text.calls.begin(), text.calls.end(), [&](const std::string& call) {
            return call.size() > line.size() && call.compare(call.size() - line.size(), line.size(), line) == 0;
        });
    };
    EXPECT_TRUE(drawn(" Block: 1/3"));
    EXPECT_TRUE(drawn(" log line 200"));
    EXPECT_FALSE(drawn(" log line 1"));
    f.view.ClearText();

    f.view.NextRecord(f.session);
    EXPECT_EQ(f.doc.bib.currentBlock, 2);
    EXPECT_EQ(f.view.Spectrum(1).CopyText(), "mass Intensity of Mass Spectrum:\n    57.000 100.000\n");
    f.view.LastRecord(f.session);
    f.view.NextRecord(f.session);
    EXPECT_EQ(f.doc.bib.currentBlock, 3);

    // Four rows of spectra: the current record and those after it; the current record stays.
    f.view.FirstRecord(f.session);
    f.view.Settings().setup = 3;
    f.view.Rebuild();
    EXPECT_FALSE(f.view.Spectrum(3).IsEmpty());
    EXPECT_TRUE(f.view.Spectrum(4).IsEmpty());
    EXPECT_EQ(f.doc.bib.currentBlock, 1);
    f.view.Click(Centre(f.view.Spectrum(3)), f.session);
    EXPECT_EQ(f.doc.bib.currentBlock, 3);
    EXPECT_EQ(f.session.status.back(), " 3/3");

    CCountingPainter painter;
    f.view.Draw(painter, f.view.PageArea());
    EXPECT_GT(painter.calls, 20);

    // The hitlist page: the unknown (record 1) first, then its hits from the reference library;
    // a click on a hit makes it the current hit.
    ASSERT_TRUE(test::OpenTestLibrary(f.doc.reference.bib, library));
    Hitlist& hits = f.doc.hitlist;
    hits.similarities = CMatrix(1, 2);
    hits.referenceNumbers = CMatrixI(1, 2);
    hits.referenceNumbers.Set(1, 1, 3);
    hits.referenceNumbers.Set(1, 2, 2);
    hits.unknownNumbers = CMatrixI(1, 1);
    hits.unknownNumbers.Set(1, 1, 1);
    f.view.Settings().options = 2;
    f.view.Rebuild();
    EXPECT_EQ(f.view.Spectrum(1).CopyText(), "mass Intensity of Mass Spectrum:\n    41.000  50.000\n    43.000 100.000\n");
    EXPECT_EQ(f.view.Spectrum(2).CopyText(), "mass Intensity of Mass Spectrum:\n    71.000 100.000\n");
    EXPECT_EQ(f.view.Spectrum(3).CopyText(), "mass Intensity of Mass Spectrum:\n    57.000 100.000\n");
    EXPECT_TRUE(f.view.Spectrum(4).IsEmpty());
    EXPECT_EQ(f.doc.bib.currentBlock, 3);
    f.view.Click(Centre(f.view.Spectrum(3)), f.session);
    EXPECT_EQ(hits.currentHit, 2);
    EXPECT_EQ(f.doc.bib.currentBlock, 3);

    // The log grows on the text block line by line.
    f.view.AddTextLine("one more line");
    EXPECT_EQ(f.view.Text().Lines().back(), "one more line");
}

TEST(PageView, ShowCommandsListAMatrixAloneAndSaveIt)
{
    ViewFixture f;
    f.doc.data.XSingular = CMatrix(1, 2);
    f.doc.data.XSingular.Set(1, 1, 4);
    f.doc.data.XSingular.Set(1, 2, 0.5);
    f.Run("XVariances");
    EXPECT_EQ(f.view.Settings().setup, 0);
    EXPECT_TRUE(f.view.Settings().matrixOnly);
    EXPECT_TRUE(f.view.Text().IsListing());
    EXPECT_EQ(f.view.Text().Title(), "X SVs");
    EXPECT_FALSE(f.view.Text().IsEmpty());

    test::CScratchFolder folder;
    f.prompter.files.push_back(folder.Path("svs.txt"));
    f.view.RunContextEntry("Save Matrix", Centre(f.view.Text()), f.prompter, f.session);
    EXPECT_EQ(test::ReadBytes(folder.Path("svs.txt")), "           4         0.5\r\n");

    // A listing of a matrix without rows shows "Empty"; the log does not reach a listing.
    f.Run("ShowFeatures");
    EXPECT_EQ(f.view.Text().Title(), "Features");
    EXPECT_TRUE(f.view.Text().IsEmpty());
    f.view.AddTextLine("not on the listing");
    EXPECT_TRUE(f.view.Text().Lines().empty());
}

TEST(ScatterSource, SeriesCarryBlocksClassesAndUnknowns)
{
    CKivDoc doc;
    CMatrix& x = doc.data.X;
    x = CMatrix(3, 2);
    doc.data.XObj = CMatrixI(3, 1);
    doc.data.XClass = CMatrixI(3, 1);
    const int objects[] = {5, 6, -2};
    for (int i = 1; i <= 3; ++i) {
        x.Set(i, 1, i);
        x.Set(i, 2, 10 * i);
        doc.data.XObj.Set(i, 1, objects[i - 1]);
        doc.data.XClass.Set(i, 1, i % 2);
    }
    doc.data.XU = CMatrix(1, 2);
    doc.data.XU.Set(1, 2, 99);
    doc.data.XUObj = CMatrixI(1, 1);
    doc.data.XUObj.Set(1, 1, 9);

    ScatterData data;
    MessageLog log;
    ASSERT_TRUE(BuildScatterData(doc, ScatterSource::XData, 7, 2, data, log));
    EXPECT_EQ(data.title, "X Data");
    EXPECT_EQ(data.objects.x, (std::vector<double>{10, 20, 30}));  // column 7 is the last, 2
    EXPECT_EQ(data.objects.blocks, (std::vector<int>{5, 6, -2}));
    EXPECT_EQ(data.objects.classes, (std::vector<int>{1, 0, 1}));
    EXPECT_TRUE(data.second.unknowns);
    EXPECT_EQ(data.second.y, (std::vector<double>{99}));
    EXPECT_EQ(data.second.blocks, (std::vector<int>{9}));
    EXPECT_FALSE(data.prediction);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(BuildScatterData(doc, ScatterSource::XData, 1, 0, data, log));
    EXPECT_FALSE(BuildScatterData(doc, ScatterSource::XScores, 1, 2, data, log));

    for (const char* name : {"MS Matrix", "Features", "X Data", "X Scores", "X Loadings", "Y Data", "Y Scores",
                             "Y Scores & Prediction", "Y Prediction", "Y Loadings"}) {
        const std::optional<ScatterSource> source = ScatterSourceFromName(name);
        ASSERT_TRUE(source.has_value()) << name;
        EXPECT_STREQ(ScatterSourceName(*source), name);
    }
    EXPECT_FALSE(ScatterSourceFromName("x scores").has_value());
}

TEST(PageView, EveryPageDrawsInsideItsArea)
{
    test::CScratchFolder folder;
    const std::string library = folder.Path("lib.ssd");
    ASSERT_TRUE(test::WriteTestLibrary(library, {{{41, 50}, {43, 100}}, {{57, 100}}, {{71, 100}}}));
    ViewFixture f;
    ASSERT_TRUE(test::OpenTestLibrary(f.doc.bib, library));
    SelectWorkingRecord(f.doc, 1, f.session);
    f.doc.chromatogram.xAxis = CMatrix(1, 3);
    f.doc.chromatogram.AddTrace(CMatrix(1, 3), "TIC");
    f.doc.data.XScores = CMatrix(2, 2);
    f.doc.data.XScores.Set(2, 2, 1);
    f.view.ShowScatter(1, "X Scores", 1, 2);
    f.view.ShowScatter(2, "X Scores", 2, 1);
    for (int format : {1, 2, 3}) {
        for (int setup : {0, 1, 2, 3, 4, 5, 10, 11, 12, 13, 20, 21}) {
            f.view.Settings().format = format;
            f.view.Settings().setup = setup;
            f.view.Settings().zoom = 120;
            f.view.Rebuild();
            CRecordingPainter painter;
            f.view.Draw(painter, f.view.PageArea());
            const PageRect page = f.view.PageArea();
            for (const std::string& call : painter.calls) {
                if (call.rfind("text", 0) == 0 || call.rfind("pen", 0) == 0 || call.rfind("brush", 0) == 0) continue;
                // Every coordinate of lines, rectangles and clips lies on the page.
                std::string numbers = call.substr(call.find(' ') + 1);
                for (char& c : numbers) c = c == ',' ? ' ' : c;
                std::istringstream in(numbers);
                int v = 0;
                for (int k = 0; in >> v; ++k) {
                    EXPECT_TRUE(v >= 0 && v <= (k % 2 == 0 ? page.right : page.bottom))
                        << call << " setup " << setup << " format " << format;
                }
            }
        }
    }
}

// Every entry of every object's context menu, on each kind of object: a text block, a
// chromatogram, a spectrum, a structure and a scatter plot.
TEST(PageView, ContextEntriesActOnEveryKindOfObject)
{
    test::CScratchFolder folder;
    const std::string jcamp = folder.Path("methanol.jdx");
    test::WriteBytes(jcamp, "##TITLE=Methanol\r\n##JCAMP-DX=5.00\r\n##DATA TYPE=LINK\r\n##BLOCKS=3\r\n"
                            "##TITLE=Methanol structure\r\n##JCAMP-CS=3.7\r\n##MOLFORM=C H4 O\r\n"
                            "##ATOMLIST=$$ ATOM NUMBER, ATOM TYPE, IMPLICIT HYDROGENS\r\n1 C 3\r\n2 O 1\r\n"
                            "##BONDLIST=$$ 1ST ATOM, 2ND ATOM, BOND CODE\r\n1 2  1\r\n"
                            "##XY_RASTER=$$ ATOM NUMBER, X, Y\r\n1 0.000 0.000\r\n2 1.300 0.750\r\n##END=\r\n"
                            "##TITLE=Methanol mass spectrum\r\n##JCAMP-DX=5.00\r\n##DATA TYPE=MASS SPECTRUM\r\n"
                            "##NPOINTS=3\r\n##PEAK TABLE=(XY..XY)\r\n15 30\r\n31 100\r\n32 70\r\n##END=\r\n##END=\r\n");
    ViewFixture f;
    f.prompter.files.push_back(jcamp);
    f.Run("ImporttoBIBDatabase");
    ASSERT_EQ(f.doc.bib.header.blockCount, 1);
    f.doc.chromatogram.xAxis = CMatrix(1, 3);
    f.doc.chromatogram.xAxis.Set(1, 2, 1);
    f.doc.chromatogram.xAxis.Set(1, 3, 2);
    f.doc.chromatogram.AddTrace(CMatrix(1, 3), "TIC");
    f.doc.data.XScores = CMatrix(3, 2);
    for (int i = 1; i <= 3; ++i) f.doc.data.XScores.Set(i, 1, i), f.doc.data.XScores.Set(i, 2, i * i);
    f.view.ShowScatter(1, "X Scores", 1, 2);

    int kinds = 0;
    for (int setup : {1, 12}) {
        f.view.Settings().setup = setup;
        f.view.Rebuild();
        for (CDisplayObject* object : f.view.Objects()) {
            if (object->IsEmpty() || object->Placement().IsEmpty()) continue;
            ++kinds;
            const PagePoint at = Centre(*object);
            const std::vector<std::string> entries = f.view.ContextMenuEntries(at);
            ASSERT_NE(entries, std::vector<std::string>{"Empty"});
            EXPECT_NE(std::find(entries.begin(), entries.end(), "Copy Text"), entries.end());
            for (const std::string& entry : entries) {
                if (entry == "Export WMF" || entry == "Clear") continue;
                const AxisRange before = object->ZoomWindow();
                const size_t copied = f.session.copied.size();
                const std::string saved = folder.Path("saved.txt");
                std::filesystem::remove(saved);
                if (entry == "Save Matrix") f.prompter.files.push_back(saved);
                if (entry == "Options") f.prompter.Answer(std::to_string(object->Options()));
                f.view.RunContextEntry(entry, at, f.prompter, f.session);
                if (entry == "Copy Text") {
                    ASSERT_EQ(f.session.copied.size(), copied + 1);
                    EXPECT_FALSE(f.session.copied.back().empty());
                }
                if (entry == "Save Matrix") {
                    EXPECT_TRUE(std::filesystem::exists(saved));
                }
                if (entry == "Zoom In" && object->IsZoomable()) {
                    EXPECT_LT(object->ZoomWindow().xMax - object->ZoomWindow().xMin, before.xMax - before.xMin);
                }
            }
        }
    }
    EXPECT_GE(kinds, 5);  // text and chromatogram, spectrum, structure; then the scatter plot
    EXPECT_NE(std::find_if(f.session.copied.begin(), f.session.copied.end(),
                           [](const std::string& text) { return text.rfind("Formula: ", 0) == 0; }),
              f.session.copied.end());
    EXPECT_NE(std::find_if(f.session.copied.begin(), f.session.copied.end(),
                           [](const std::string& text) { return text.rfind("       x data\t       y data", 0) == 0; }),
              f.session.copied.end());
}

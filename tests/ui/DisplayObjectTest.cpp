#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "ui/ChromatogramTrace.h"
#include "ui/MassSpectrumPlot.h"
#include "ui/MeasuringPainter.h"
#include "ui/ScatterPlot.h"
#include "ui/StructureDrawing.h"
#include "ui/TextBlock.h"

using namespace kiv;

namespace {

CMassSpectrum VectorSpectrum()
{
    CMassSpectrum s;
    s.empty = 0;
    s.isVector = 1;
    s.firstMass = 40;
    s.lastMass = 43;
    s.vector = CMatrix(1, 43);
    s.vector.Set(1, 41, 12.5);
    s.vector.Set(1, 43, 100);
    return s;
}

CMassSpectrum PeakSpectrum()
{
    CMassSpectrum s;
    s.empty = 0;
    s.ndec = 2;
    s.count = 2;
    s.peaks = CMatrix(2, 2);
    s.peaks.Set(1, 1, 41.25);
    s.peaks.Set(2, 1, 33.3333);
    s.peaks.Set(1, 2, 1043.5);
    s.peaks.Set(2, 2, 100);
    return s;
}

// Ethanol as a connection table: C-C-O with two and one hydrogens given per atom.
CMolecule Ethanol()
{
    CMolecule m;
    m.Allocate(3, 2);
    m.empty = 0;
    const uint8_t elements[] = {6, 6, 8};
    for (int a = 0; a < 3; ++a) {
        m.element[a] = elements[a];
        m.x[a] = static_cast<float>(a);
        m.hydrogenCode[a] = static_cast<uint8_t>(4 - a);  // 3, 2 and 1 hydrogens
    }
    for (int b = 0; b < 2; ++b) {
        m.bondFrom[b] = static_cast<uint16_t>(b + 1);
        m.bondTo[b] = static_cast<uint16_t>(b + 2);
        m.bondOrder[b] = 1;
    }
    return m;
}

}  // namespace

TEST(DisplayObject, CopyTextFormatsOfSpectraStructuresAndPlots)
{
    CMassSpectrumPlot plot;
    plot.Show(VectorSpectrum(), "vector", 0);
    EXPECT_EQ(plot.CopyText(), "mass Intensity of Mass Spectrum:\n    41  12.500\n    43 100.000\n");
    plot.Show(PeakSpectrum(), "peaks", 0);
    EXPECT_EQ(plot.CopyText(), "mass Intensity of Mass Spectrum:\n    41.250  33.333\n  1043.500 100.000\n");

    CStructureDrawing structure;
    structure.Show(Ethanol(), "ethanol", 0);
    EXPECT_EQ(structure.CopyText(),
              "Formula: C2H6O1\nAtom List 3 atoms\n     # atomno imp Hs:\n"
              "     1      6      3\n     2      6      2\n     3      8      1\n");

    CScatterPlot scatter;
    ScatterData data;
    data.objects.x = {1.5, -2};
    data.objects.y = {0.25, 1e3};
    data.second.x = {3};
    data.second.y = {4};
    scatter.Show(data);
    EXPECT_EQ(scatter.CopyText(),
              "       x data\t       y data\n     1.500000\t     0.250000\n    -2.000000\t  1000.000000\n"
              "     3.000000\t     4.000000\n");
}

TEST(DisplayObject, SaveMatrixWritesTheListingFormatWithCrLf)
{
    test::CScratchFolder folder;
    CMatrix m(2, 2);
    m.Set(1, 1, 1.5);
    m.Set(1, 2, -2);
    m.Set(2, 2, 123456789);
    CTextBlock listing;
    listing.SetMatrix(m, "X Data");
    ASSERT_TRUE(listing.SaveMatrix(folder.Path("m.txt")));
    EXPECT_EQ(test::ReadBytes(folder.Path("m.txt")), "         1.5          -2\r\n           0  1.2346e+08\r\n");

    // Lines shown, the listing kept for the next matrix-only page.
    listing.SetLines({"first", "second"});
    ASSERT_TRUE(listing.SaveMatrix(folder.Path("t.txt")));
    EXPECT_EQ(test::ReadBytes(folder.Path("t.txt")), "first\r\nsecond\r\n");
    EXPECT_TRUE(listing.ShowListing());
    EXPECT_EQ(listing.CopyText(), "         1.5          -2\n           0  1.2346e+08\n");
    EXPECT_FALSE(listing.SaveMatrix(folder.Path("no/such/folder/m.txt")));
}

TEST(DisplayObject, ScatterOptionsDigitsAndPrompts)
{
    EXPECT_EQ(OptionDigit(123456789, 1), 9);
    EXPECT_EQ(OptionDigit(123456789, 5), 5);
    EXPECT_EQ(OptionDigit(123456789, 9), 1);
    EXPECT_EQ(OptionDigit(42, 7), 0);
    CScatterPlot scatter;
    EXPECT_EQ(OptionDigit(scatter.Options(), 9), 1);  // the title is shown by default
    const std::string prompt = scatter.OptionsPrompt();
    EXPECT_EQ(prompt.rfind("Enter Display Options:\n........#\tNumber: 0.object 1.block 2.none\n\t3.object", 0), 0u);
    EXPECT_NE(prompt.find("9.white-grey\n.....#...\tLightness full color(0) ... very light(9)\n....#....\tLines in "
                          "Prediction (0) On (1) Off\n#........\tTitle On(1) Off(0)"),
              std::string::npos);
    CMassSpectrumPlot plot;
    EXPECT_EQ(plot.OptionsPrompt(), "Enter Display Options:\n00\tdefault\n01\tblack&white\n10\tno peak text\n"
                                    "20\tno scale text\n30\tno peak && scale text\n");

    // Block numbers of unknowns are drawn as "Q%d"; option 2 (none) draws no numbers at all.
    ScatterData data;
    data.objects.x = {1};
    data.objects.y = {1};
    data.second.x = {2};
    data.second.y = {2};
    data.second.unknowns = true;
    scatter.Show(data);
    scatter.Place({0, 0, 10000, 10000});
    CRecordingPainter painter;
    scatter.Draw(painter, {0, 0, 10000, 10000});
    int numbers = 0;
    for (const std::string& call : painter.calls) {
        if (call.size() > 2 && (call.substr(call.size() - 2) == " 1" || call.substr(call.size() - 3) == " Q1")) ++numbers;
    }
    EXPECT_EQ(numbers, 2);
    scatter.SetOptions(100000002);
    painter.calls.clear();
    scatter.Draw(painter, {0, 0, 10000, 10000});
    for (const std::string& call : painter.calls) EXPECT_EQ(call.find(" Q1"), std::string::npos);
}

TEST(DisplayObject, EmptyObjectDrawsOnlyFrameAndEmpty)
{
    CMassSpectrumPlot plot;
    plot.Place({100, 200, 1100, 700});
    CRecordingPainter painter;
    plot.Draw(painter, {0, 0, 50, 50});  // not meeting the painted area
    EXPECT_TRUE(painter.calls.empty());
    plot.Draw(painter, {0, 0, 5000, 5000});
    const std::vector<std::string> expected = {"pen 200 200 200 3", "brush 255 255 255", "rect 100 200 1100 700",
                                               "text colour 200 200 200", "text 600,450 centre middle Empty"};
    EXPECT_EQ(painter.calls, expected);
}

TEST(DisplayObject, ZoomWindowsOfTheMassSpectrumLieOnItsScale)
{
    CMassSpectrumPlot plot;
    plot.Place({0, 0, 20000, 10000});
    plot.Show(VectorSpectrum(), "vector", 7);
    // Masses 41..43 padded by one: 40..44 on a step of 0.1; intensities 0..100 on a step of 10.
    AxisRange w = plot.ZoomWindow();
    EXPECT_NEAR(w.xMin, 40, 1e-9);
    EXPECT_NEAR(w.xMax, 44, 1e-9);
    EXPECT_NEAR(w.yMax, 100, 1e-9);
    // A window set by hand is rounded outwards to its scale: 41.03..41.97 has the step 0.1.
    plot.SetZoomWindow({41.03, 41.97, 0, 48});
    w = plot.ZoomWindow();
    EXPECT_NEAR(w.xMin, 41, 1e-9);
    EXPECT_NEAR(w.xMax, 42, 1e-9);
    EXPECT_NEAR(w.yMax, 48, 1e-9);
    plot.SetZoomWindow({5, 5, 0, 0});  // no width: refused
    EXPECT_NEAR(plot.ZoomWindow().xMin, 41, 1e-9);
    plot.ZoomReset();
    EXPECT_NEAR(plot.ZoomWindow().xMax, 44, 1e-9);
    EXPECT_EQ(plot.ItemAt({100, 100}), 7);
    EXPECT_EQ(plot.ItemAt({30000, 100}), std::nullopt);
}

namespace {

int CountCalls(const CRecordingPainter& painter, const std::string& start)
{
    int n = 0;
    for (const std::string& call : painter.calls) n += call.rfind(start, 0) == 0 ? 1 : 0;
    return n;
}

// Texts drawn (not the text colours set).
int CountTexts(const CRecordingPainter& painter)
{
    return CountCalls(painter, "text ") - CountCalls(painter, "text colour ");
}

bool HasText(const CRecordingPainter& painter, const std::string& text)
{
    for (const std::string& call : painter.calls) {
        if (call.rfind("text ", 0) == 0 && call.size() > text.size() &&
            call.compare(call.size() - text.size() - 1, std::string::npos, " " + text) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(DisplayObject, StructureBondsAsLinesAndHeteroatomsAsSymbols)
{
    // C=C-C#C-O: one double, two single and one triple bond.
    CMolecule m;
    m.Allocate(5, 4);
    m.empty = 0;
    const uint8_t elements[] = {6, 6, 6, 6, 8};
    const uint8_t orders[] = {2, 1, 3, 1};
    for (int a = 0; a < 5; ++a) {
        m.element[a] = elements[a];
        m.x[a] = static_cast<float>(a);
        m.y[a] = static_cast<float>(a % 2);
    }
    for (int b = 0; b < 4; ++b) {
        m.bondFrom[b] = static_cast<uint16_t>(b + 1);
        m.bondTo[b] = static_cast<uint16_t>(b + 2);
        m.bondOrder[b] = orders[b];
    }
    CStructureDrawing drawing;
    drawing.Place({0, 0, 8000, 8000});
    drawing.Show(m, "pentynol", 0);
    CRecordingPainter painter;
    drawing.Draw(painter, drawing.Placement());
    EXPECT_EQ(CountCalls(painter, "line "), 2 + 1 + 3 + 1);
    EXPECT_TRUE(HasText(painter, "O"));
    EXPECT_FALSE(HasText(painter, "C"));
    EXPECT_TRUE(HasText(painter, "pentynol"));

    // Bond atoms outside the molecule are left out; arrays shorter than the counts show nothing.
    m.bondTo[3] = 9;
    drawing.Show(m, "pentynol", 0);
    painter.calls.clear();
    drawing.Draw(painter, drawing.Placement());
    EXPECT_EQ(CountCalls(painter, "line "), 6);
    m.x.resize(2);
    drawing.Show(m, "damaged", 0);
    EXPECT_TRUE(drawing.IsEmpty());
    EXPECT_EQ(drawing.CopyText(), "Formula: \nAtom List 0 atoms\n     # atomno imp Hs:\n");
}

TEST(DisplayObject, MassSpectrumOptionsChooseColoursAndLabels)
{
    CMassSpectrumPlot plot;
    plot.Place({0, 0, 20000, 10000});
    CMassSpectrum s = PeakSpectrum();
    s.peaks.Set(1, 1, 41.3);
    plot.Show(s, "real masses", 0);
    CRecordingPainter painter;
    plot.Draw(painter, plot.Placement());
    EXPECT_TRUE(HasText(painter, "41.3"));
    EXPECT_TRUE(HasText(painter, "1043.5"));
    EXPECT_EQ(CountCalls(painter, "pen 0 0 160"), 1);  // coloured sticks

    plot.Show(VectorSpectrum(), "vector", 0);
    plot.SetOptions(1);  // black and white
    painter.calls.clear();
    plot.Draw(painter, plot.Placement());
    EXPECT_TRUE(HasText(painter, "centre bottom 43"));  // the peak label above its stick
    EXPECT_EQ(CountCalls(painter, "pen 0 0 160"), 0);
    EXPECT_EQ(CountCalls(painter, "text colour 160 0 0"), 0);
    // The mass axis 40..44 on steps of 0.1 is labelled at the whole masses, intensities 0..100 by tens.
    for (const char* label : {"centre top 40", "centre top 41", "centre top 44", "right middle 0", "right middle 50"}) {
        EXPECT_TRUE(HasText(painter, label)) << label;
    }
    EXPECT_FALSE(HasText(painter, "centre top 40.5"));
    const int withScale = CountTexts(painter);

    plot.SetOptions(10);  // no peak text
    painter.calls.clear();
    plot.Draw(painter, plot.Placement());
    EXPECT_FALSE(HasText(painter, "centre bottom 43"));
    EXPECT_EQ(CountTexts(painter), withScale - 2);
    plot.SetOptions(30);  // no peak and no scale text: the title alone
    painter.calls.clear();
    plot.Draw(painter, plot.Placement());
    EXPECT_EQ(CountTexts(painter), 1);
    EXPECT_TRUE(HasText(painter, "vector"));
}

TEST(DisplayObject, TraceDrawsTheWindowAndOnePointBeyondEachEdge)
{
    CChromatogram run;
    run.xAxis = CMatrix(1, 10);
    for (int i = 1; i <= 10; ++i) run.xAxis.Set(1, i, i);
    run.AddTrace(run.xAxis, "TIC");
    CChromatogramTrace trace;
    trace.Place({0, 0, 20000, 5000});
    trace.Show(&run);
    trace.SetZoomWindow({3.5, 6.5, 0, 10});
    CRecordingPainter painter;
    trace.Draw(painter, trace.Placement());
    ASSERT_EQ(CountCalls(painter, "polyline "), 1);
    for (const std::string& call : painter.calls) {
        if (call.rfind("polyline ", 0) == 0) {
            EXPECT_EQ(std::count(call.begin(), call.end(), ','), 5);  // scans 3 to 7
        }
    }
    EXPECT_TRUE(HasText(painter, "TIC"));
    trace.Show(nullptr);
    EXPECT_TRUE(trace.IsEmpty());
}

TEST(DisplayObject, ScatterZoomDrawsOnlyVisiblePoints)
{
    CScatterPlot scatter;
    scatter.Place({0, 0, 10000, 10000});
    ScatterData data;
    data.objects.x = {0, 10, 20};
    data.objects.y = {0, 10, 20};
    data.objects.blocks = {4, 5, -6};
    scatter.Show(data);
    CRecordingPainter painter;
    scatter.Draw(painter, scatter.Placement());
    EXPECT_EQ(CountCalls(painter, "ellipse "), 3);
    const PageRect plot = scatter.PlotArea();
    scatter.ZoomIn({(plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2});
    // The full window -1..21 (5 % beyond the points) halved around the centre.
    EXPECT_NEAR(scatter.ZoomWindow().xMin, 4.5, 1e-9);
    EXPECT_NEAR(scatter.ZoomWindow().xMax, 15.5, 1e-9);
    painter.calls.clear();
    scatter.Draw(painter, scatter.Placement());
    EXPECT_EQ(CountCalls(painter, "ellipse "), 1);
    EXPECT_EQ(scatter.ItemAt({(plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2}), 2);
    EXPECT_EQ(scatter.BlockOf(3), -6);
    EXPECT_EQ(scatter.BlockOf(4), 0);
    scatter.ZoomOut();
    EXPECT_NEAR(scatter.ZoomWindow().xMin, -1, 1e-9);
    EXPECT_NEAR(scatter.ZoomWindow().xMax, 21, 1e-9);
}

namespace kiv {

// Numbers of thousands of points would only cover the plot: beyond 2,000 visible points the
// markers are drawn without them, and zooming in to fewer brings them back.
TEST(DisplayObject, DenseScatterPlotsDrawMarkersWithoutNumbers)
{
    CScatterPlot scatter;
    scatter.Place({0, 0, 10000, 10000});
    ScatterData data;
    for (int i = 0; i < 2001; ++i) {
        data.objects.x.push_back(i);
        data.objects.y.push_back(i % 7);
    }
    scatter.Show(data);
    CRecordingPainter painter;
    scatter.Draw(painter, scatter.Placement());
    EXPECT_EQ(CountCalls(painter, "ellipse "), 2001);
    EXPECT_FALSE(HasText(painter, "2001"));
    scatter.SetZoomWindow({0, 1999.5, -1, 7});
    painter.calls.clear();
    scatter.Draw(painter, scatter.Placement());
    EXPECT_EQ(CountCalls(painter, "ellipse "), 2000);
    EXPECT_TRUE(HasText(painter, "2000"));
}

}  // namespace kiv

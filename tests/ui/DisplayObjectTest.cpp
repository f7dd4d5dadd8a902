#include <gtest/gtest.h>

#include "TestSupport.h"
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

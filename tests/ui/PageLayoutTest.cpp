#include <gtest/gtest.h>

#include <vector>

#include "ui/AxisScale.h"
#include "ui/PageLayout.h"

using namespace kiv;

namespace {

std::vector<PageRect> Placed(const PageLayout& page)
{
    std::vector<PageRect> all{page.text, page.chromatogram, page.secondChromatogram};
    all.insert(all.end(), std::begin(page.spectra), std::end(page.spectra));
    all.insert(all.end(), std::begin(page.structures), std::end(page.structures));
    all.insert(all.end(), std::begin(page.scatter), std::end(page.scatter));
    std::vector<PageRect> placed;
    for (const PageRect& r : all) {
        if (!r.IsEmpty()) placed.push_back(r);
    }
    return placed;
}

int Count(const PageRect* rects, int n)
{
    int placed = 0;
    for (int k = 0; k < n; ++k) placed += rects[k].IsEmpty() ? 0 : 1;
    return placed;
}

}  // namespace

TEST(PageSettings, GeometryPenWidthAndFontsFollowTheZoom)
{
    const PageGeometry window(1, 100), a4(2, 150), screen(3, 100), unknown(7, 100);
    EXPECT_EQ(window.left, 500);
    EXPECT_EQ(window.height, 19500);
    EXPECT_EQ(a4.left, 1500);
    EXPECT_EQ(a4.top, 2250);
    EXPECT_EQ(a4.width, 30750);
    EXPECT_EQ(a4.height, 44550);
    EXPECT_EQ(screen.width, 31800);
    EXPECT_EQ(screen.PageStepY(), 10200);
    EXPECT_EQ(screen.LineStepX(), 636);
    EXPECT_EQ(unknown.width, window.width);

    PageSettings s;
    EXPECT_EQ(DiagramPenWidth(s), 30);
    s.zoom = 120;
    s.lineWidth = 15;
    EXPECT_EQ(DiagramPenWidth(s), 54);
    s.zoom = 33;
    s.lineWidth = 10;
    EXPECT_EQ(DiagramPenWidth(s), 10);  // 9.9 + 0.5 rounds down to 10
    EXPECT_EQ(FontHeight(FontRole::Title, 150), 810);
    EXPECT_EQ(FontHeight(FontRole::Label, 120), 432);
    EXPECT_EQ(FontWeight(FontRole::Title), 600);
}

TEST(PageLayout, EverySetupStaysInsideThePageWithoutOverlaps)
{
    for (int format : {1, 2, 3}) {
        for (int zoom : {100, 150}) {
            for (int setup : {0, 1, 2, 3, 4, 5, 10, 11, 12, 13, 20, 21}) {
                PageSettings s;
                s.format = format;
                s.zoom = zoom;
                s.setup = setup;
                const PageGeometry g(format, zoom);
                const std::vector<PageRect> placed = Placed(LayOutPage(s, 360 * zoom / 100));
                ASSERT_FALSE(placed.empty());
                for (size_t i = 0; i < placed.size(); ++i) {
                    const PageRect& r = placed[i];
                    EXPECT_TRUE(r.left >= g.left && r.top >= g.top && r.right <= g.width && r.bottom <= g.height)
                        << "setup " << setup << " format " << format << " zoom " << zoom;
                    for (size_t j = i + 1; j < placed.size(); ++j) {
                        EXPECT_FALSE(r.Intersects(placed[j])) << "setup " << setup << " format " << format;
                    }
                }
            }
        }
    }
}

TEST(PageLayout, RowsOfTheSetupsAndTheirFormats)
{
    const int L = 360;
    PageSettings s;
    s.setup = 3;
    EXPECT_EQ(Count(LayOutPage(s, L).spectra, kSpectrumSlots), 4);
    s.format = 2;
    const PageLayout a4 = LayOutPage(s, L);
    EXPECT_EQ(Count(a4.spectra, kSpectrumSlots), 6);
    EXPECT_EQ(Count(a4.structures, kStructureSlots), 6);
    EXPECT_EQ(a4.structures[0].Width(), 9 * L);
    EXPECT_EQ(a4.structures[0].Height(), 9 * L);
    EXPECT_EQ(a4.spectra[1].top, a4.spectra[0].bottom + L / 4);

    s.setup = 20;
    EXPECT_EQ(Count(LayOutPage(s, L).structures, kStructureSlots), 20);
    s.format = 1;
    EXPECT_EQ(Count(LayOutPage(s, L).structures, kStructureSlots), 12);

    // Sixteen squares of 9 L, the block centred between the margins.
    s.setup = 21;
    const PageLayout sixteen = LayOutPage(s, L);
    EXPECT_EQ(Count(sixteen.structures, kStructureSlots), 16);
    const PageGeometry g(1, 100);
    EXPECT_EQ(sixteen.structures[0].left - g.left, g.width - sixteen.structures[3].right);
    EXPECT_EQ(sixteen.structures[15].Width(), 9 * L);

    // Setup 1: chromatogram and spectrum 12 L high, the structure 53.40 mm wide beside the text.
    s.setup = 1;
    s.zoom = 150;
    const PageLayout one = LayOutPage(s, 540);
    EXPECT_EQ(one.chromatogram.Height(), 12 * 540);
    EXPECT_EQ(one.structures[0].Width(), 8010);
    EXPECT_EQ(one.structures[0].top, one.text.top);
    EXPECT_EQ(one.text.bottom, PageGeometry(1, 150).height);

    // No height left for the text block: it is not placed.
    s.setup = 4;
    s.zoom = 100;
    EXPECT_TRUE(LayOutPage(s, 1600).text.IsEmpty());
    EXPECT_FALSE(LayOutPage(s, 360).text.IsEmpty());
}

TEST(AxisScale, WorkedValuesOfTheMassSpectrumAxes)
{
    double min = 0, max = 100;
    AxisScale a = ScaleAxis(min, max, 0, 100, AxisKind::Intensity);
    EXPECT_EQ(a.exponent, 2);
    EXPECT_DOUBLE_EQ(a.step, 10);
    EXPECT_EQ(a.steps, 10);
    EXPECT_EQ(a.LabelFormat(), "%0.0f");

    // 39..101: e = 1, step 1, 62 steps (> 29): labels with the exponent 1.
    min = 39.4, max = 100.2;
    a = ScaleAxis(min, max, 0, 200, AxisKind::Mass);
    EXPECT_DOUBLE_EQ(min, 39);
    EXPECT_DOUBLE_EQ(max, 101);
    EXPECT_EQ(a.steps, 62);
    EXPECT_EQ(a.labelExponent, 1);

    // A narrow mass window: step 0.1, 18 steps, labels with one decimal.
    min = 40.5, max = 42.3;
    a = ScaleAxis(min, max, 0, 200, AxisKind::Mass);
    EXPECT_EQ(a.exponent, 0);
    EXPECT_EQ(a.steps, 18);
    EXPECT_EQ(a.LabelFormat(), "%0.1f");
    EXPECT_NEAR(min, 40.5, 1e-9);
    EXPECT_NEAR(max, 42.3, 1e-9);

    // The same range on the intensity axis keeps the exponent 0.
    min = 40.5, max = 42.3;
    EXPECT_EQ(ScaleAxis(min, max, 0, 200, AxisKind::Intensity).LabelFormat(), "%0.0f");

    // A window without width falls back to the data; data without width to one unit.
    min = 50, max = 50;
    a = ScaleAxis(min, max, 10, 90, AxisKind::Mass);
    EXPECT_DOUBLE_EQ(min, 10);
    EXPECT_DOUBLE_EQ(max, 90);
    EXPECT_EQ(a.steps, 80);
    min = 5, max = 5;
    a = ScaleAxis(min, max, 5, 5, AxisKind::Mass);
    EXPECT_NEAR(max - min, 1, 1e-9);
    EXPECT_EQ(a.steps, 10);
}

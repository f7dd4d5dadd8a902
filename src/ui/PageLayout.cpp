#include "ui/PageLayout.h"

#include <algorithm>

namespace kiv {

PageSetup PageSetupFromCode(int code)
{
    switch (code) {
    case 1: return PageSetup::GcMsStructure;
    case 2: return PageSetup::MsStructure;
    case 3: return PageSetup::FourMsStructure;
    case 4: return PageSetup::GcMsMs;
    case 5: return PageSetup::GcMsGc;
    case 10: return PageSetup::ScatterPlot;
    case 11: return PageSetup::TwoScatterPlots;
    case 12: return PageSetup::TwoPlotsMsStructure;
    case 13: return PageSetup::TwoPlotsFourStructures;
    case 20: return PageSetup::TwelveStructures;
    case 21: return PageSetup::SixteenStructures;
    default: return PageSetup::Text;
    }
}

namespace {

// Places rows from the top margin down; what remains below the last row is the text block's.
class CRowCursor {
public:
    CRowCursor(const PageGeometry& g, int lineHeight)
        : left_(g.left), right_(g.width), bottom_(g.height), y_(g.top), gap_(lineHeight / 4)
    {
    }
    int Left() const { return left_; }
    int Width() const { return right_ - left_; }
    int Gap() const { return gap_; }
    int RemainingHeight() const { return std::max(0, bottom_ - y_); }
    // The next row of height h across the full width; the cursor moves below it and the gap.
    PageRect Row(int h)
    {
        const PageRect r{left_, y_, right_, y_ + h};
        y_ += h + gap_;
        return r;
    }
    PageRect Rest() const { return {left_, y_, right_, std::max(y_, bottom_)}; }

private:
    int left_, right_, bottom_, y_, gap_;
};

// Splits a row into a left part and a right part of the given width, the gap between them.
void SplitRight(const PageRect& row, int rightWidth, int gap, PageRect& left, PageRect& right)
{
    right = {row.right - rightWidth, row.top, row.right, row.bottom};
    left = {row.left, row.top, std::max(row.left, right.left - gap), row.bottom};
}

// count squares of side side across row from its left edge, gap apart.
void Squares(const PageRect& row, int side, int gap, PageRect* out, int count)
{
    for (int k = 0; k < count; ++k) {
        const int x = row.left + k * (side + gap);
        out[k] = {x, row.top, x + side, row.top + side};
    }
}

// The two scatter plots of the setups 11 to 13, side by side; returns their side.
int TwoPlots(CRowCursor& rows, const PageGeometry& g, int gap, PageLayout& page)
{
    const int usableHeight = g.height - g.top;
    const int side = std::max(0, std::min((rows.Width() - gap) / 2, static_cast<int>(0.6 * usableHeight)));
    const PageRect row = rows.Row(side);
    Squares(row, side, gap, page.scatter, 2);
    return side;
}

// The text block, or none when no height remains.
void TextBelow(const CRowCursor& rows, PageLayout& page)
{
    const PageRect rest = rows.Rest();
    page.text = rest.IsEmpty() ? PageRect{} : rest;
}

}  // namespace

PageLayout LayOutPage(const PageSettings& settings, int lineHeight)
{
    const PageGeometry g(settings.format, settings.zoom);
    const bool a4 = PageFormatFromCode(settings.format) == PageFormat::A4;
    const int L = std::max(1, lineHeight);
    const int row12 = 12 * L, row9 = 9 * L;
    CRowCursor rows(g, L);
    const int gap = rows.Gap();
    const int structureWidth = 5340 * settings.zoom / 100;
    PageLayout page;
    switch (PageSetupFromCode(settings.setup)) {
    case PageSetup::Text: break;
    case PageSetup::GcMsStructure:
        page.chromatogram = rows.Row(row12);
        [[fallthrough]];
    case PageSetup::MsStructure: {
        page.spectra[0] = rows.Row(row12);
        const PageRect rest = rows.Rest();
        if (!rest.IsEmpty()) SplitRight(rest, std::min(structureWidth, rest.Width()), gap, page.text, page.structures[0]);
        return page;
    }
    case PageSetup::FourMsStructure:
        for (int k = 0; k < (a4 ? 6 : 4); ++k) {
            SplitRight(rows.Row(row9), row9, gap, page.spectra[k], page.structures[k]);
        }
        break;
    case PageSetup::GcMsMs:
        page.chromatogram = rows.Row(row12);
        page.spectra[0] = rows.Row(row12);
        page.spectra[1] = rows.Row(row12);
        break;
    case PageSetup::GcMsGc:
        page.chromatogram = rows.Row(row12);
        page.spectra[0] = rows.Row(row12);
        page.secondChromatogram = rows.Row(row12);
        break;
    case PageSetup::ScatterPlot: {
        const int side = std::max(0, std::min(rows.Width(), static_cast<int>(0.8 * (g.height - g.top))));
        const PageRect row = rows.Row(side);
        page.scatter[0] = {row.left, row.top, row.left + side, row.bottom};
        break;
    }
    case PageSetup::TwoScatterPlots: TwoPlots(rows, g, gap, page); break;
    case PageSetup::TwoPlotsMsStructure: {
        TwoPlots(rows, g, gap, page);
        const int h = std::clamp(static_cast<int>(0.85 * rows.RemainingHeight()), row9, row12);
        SplitRight(rows.Row(h), h, gap, page.spectra[0], page.structures[0]);
        break;
    }
    case PageSetup::TwoPlotsFourStructures: {
        TwoPlots(rows, g, gap, page);
        const int side = std::min((rows.Width() - 3 * gap) / 4, rows.RemainingHeight());
        Squares(rows.Row(side), side, gap, page.structures, 4);
        break;
    }
    case PageSetup::TwelveStructures: {
        // Four across the width; on the wide screen format the height limits the squares.
        const int count = a4 ? 5 : 3;
        const int side = std::min((rows.Width() - 3 * gap) / 4, (rows.RemainingHeight() - (count - 1) * gap) / count);
        for (int r = 0; r < count; ++r) Squares(rows.Row(side), side, gap, page.structures + 4 * r, 4);
        break;
    }
    case PageSetup::SixteenStructures: {
        const int block = 4 * row9 + 3 * gap;
        const int left = rows.Left() + std::max(0, (rows.Width() - block) / 2);
        for (int r = 0; r < 4; ++r) {
            PageRect row = rows.Row(row9);
            row.left = left;
            Squares(row, row9, gap, page.structures + 4 * r, 4);
        }
        break;
    }
    }
    TextBelow(rows, page);
    return page;
}

}  // namespace kiv

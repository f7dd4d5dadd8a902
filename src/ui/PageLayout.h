#pragma once
// Where the display objects of a page setup go: rows from the top margin down, separated by a
// quarter line, with the text block in the height that remains.
#include "ui/PageSettings.h"

namespace kiv {

inline constexpr int kSpectrumSlots = 6;
inline constexpr int kStructureSlots = 24;
inline constexpr int kScatterSlots = 2;

// The rectangle of every display object of the page; an empty rectangle: not on the page.
struct PageLayout {
    PageRect text;
    PageRect chromatogram;
    PageRect spectra[kSpectrumSlots];
    PageRect structures[kStructureSlots];
    PageRect scatter[kScatterSlots];
    PageRect secondChromatogram;
};

// The page setups.
enum class PageSetup {
    Text = 0,
    GcMsStructure = 1,
    MsStructure = 2,
    FourMsStructure = 3,
    GcMsMs = 4,
    GcMsGc = 5,
    ScatterPlot = 10,
    TwoScatterPlots = 11,
    TwoPlotsMsStructure = 12,
    TwoPlotsFourStructures = 13,
    TwelveStructures = 20,
    SixteenStructures = 21,
};
// Unknown codes give the text page.
PageSetup PageSetupFromCode(int code);

// Lays out the setup of settings on its page format and zoom; lineHeight is the height L of a
// label line in page units.
PageLayout LayOutPage(const PageSettings& settings, int lineHeight);

}  // namespace kiv

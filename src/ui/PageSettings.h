#pragma once
// The page settings of the view (all integers) and the geometry they give: page size and margins
// per page format, scroll steps, font heights and the pen width of the diagrams.
#include "ui/Painter.h"

namespace kiv {

struct PageSettings {
    int setup = 0;  // which display objects make up the page (0 text, 1..5 library, 10..13 plots, 20/21 structures)
    bool matrixOnly = false;  // page 0 lists a matrix alone ("Show" commands)
    int format = 1;  // 1 window, 2 A4 page, 3 full screen 1024x768
    int zoom = 100;  // percent
    int fontSize = 10;  // diagram text: 10 document, 15 poster
    int lineWidth = 10;  // diagram pens: 10 document, 15 poster
    int options = 1;  // what the library pages show: 1 standard BIB, 2 hitlist
};

// Page formats: the codes of "Page Format".
enum class PageFormat { Window = 1, A4 = 2, FullScreen = 3 };
// Any other code is taken as the window format.
PageFormat PageFormatFromCode(int code);

// Size and margins of a page format, every length times zoom / 100 (page units).
struct PageGeometry {
    PageGeometry(int format, int zoom);
    int left = 0;  // left margin
    int top = 0;  // top margin
    int width = 0;  // scrollable area, from 0
    int height = 0;
    int PageStepX() const { return width / 2; }
    int PageStepY() const { return height / 2; }
    int LineStepX() const { return width / 50; }
    int LineStepY() const { return height / 50; }
};

// Pen width of diagrams: floor(zoom * lineWidth * 0.03 + 0.5).
int DiagramPenWidth(const PageSettings& settings);

// Font height of a role at a zoom (0 for the small font: the surface's default).
int FontHeight(FontRole role, int zoom);
int FontWeight(FontRole role);
// Selects the font of a role on the painter.
void UseFont(CPainter& painter, FontRole role, int zoom);

}  // namespace kiv

#pragma once
// The page on devices other than the screen: the printer (and its preview) and images. The page
// is drawn through the page painter at the device's resolution; a page larger than the paper's
// printable area is scaled down to fit it.
#include <QImage>

#include "ui/PageView.h"

class QPrinter;

namespace kiv {

// The whole page area as an image of the given resolution, on white.
QImage RenderPageImage(const CPageView& page, double dotsPerInch);

// Draws the page on one sheet of the printer; false when the printer cannot be painted on.
bool PrintPage(const CPageView& page, QPrinter& printer);

}  // namespace kiv

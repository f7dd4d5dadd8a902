#pragma once
// "Export WMF" on this platform: a display object is written as a picture file of its own
// rectangle, SVG (vector, the default), PDF (one page of the object's size) or PNG (300 dpi on
// white), chosen by the extension of the file name; an unknown extension gives SVG. The object
// draws itself through the callback, with its rectangle moved to the page origin.
#include <functional>
#include <string>

#include "base/Prompt.h"
#include "ui/Painter.h"

namespace kiv {

enum class PictureFormat { Svg, Pdf, Png };

using DrawFunction = std::function<void(CPainter& painter)>;

// By the extension, ignoring case.
PictureFormat PictureFormatOf(const std::string& path);

// Writes the picture; false after reporting "Picture file %s cannot be written".
bool WritePicture(const std::string& path, const PageRect& rect, const DrawFunction& draw);

// Asks for the file name and writes the picture: 0 written, 1 no file chosen, 2 not written.
int ExportObject(CPrompter& prompter, const PageRect& rect, const DrawFunction& draw);

}  // namespace kiv

#pragma once
// Where the main window opens: the placement and page zoom of the start-up parameter file.
#include <string>

#include "base/Prompt.h"
#include "settings/Parameters.h"
#include "ui/KivDoc.h"

class QWidget;
class QRect;

namespace kiv {

// The start-up parameter file: path when one is set, else "Orvane.ini" in the current directory.
std::string StartupParameterFile(const std::string& path);

// Reads placement and zoom from the parameter file when it exists, and the parameters into the
// working library, copied into the reference library; without the file the defaults stand.
WindowSettings ReadStartupSettings(CKivDoc& doc, const std::string& path, CPrompter& prompter);

// The window rectangle of the settings kept inside the available screen area: at least 200 x 150,
// at most the screen, moved back onto the screen when it lies beyond it.
QRect FittedPlacement(const WindowSettings& settings, const QRect& screen);

// Moves and sizes a top-level window to the settings on its screen.
void PlaceWindow(QWidget& window, const WindowSettings& settings);

}  // namespace kiv

#pragma once
// The about box: the program's name, its build date and the versions behind it.
#include <QString>

class QWidget;

namespace kiv {

QString AboutText();
void ShowAboutBox(QWidget* parent);

}  // namespace kiv

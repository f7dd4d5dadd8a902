#pragma once
// The push buttons of the system's dialogs: named for tests and scripts, and never the default
// button by themselves, so that Enter always means what the dialog says it means.
#include <QPushButton>

namespace kiv {

QPushButton* MakeDialogButton(const QString& caption, const char* name, QWidget* parent);

}  // namespace kiv

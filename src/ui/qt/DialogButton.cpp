#include "ui/qt/DialogButton.h"

namespace kiv {

QPushButton* MakeDialogButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace kiv

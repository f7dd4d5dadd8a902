#pragma once
// The command palette (Ctrl+Shift+P): every interactive command in one list, narrowed while the
// user types a part of its entry text or of its script name.
#include <QDialog>

#include "ui/CommandTable.h"

class QLineEdit;
class QListWidget;

namespace kiv {

// True when every blank-separated word of filter occurs, ignoring case, in the command's menu,
// entry text (without access-key marks) or script name.
bool PaletteMatches(const InteractiveCommand& command, const QString& filter);

class CCommandPalette : public QDialog {
    Q_OBJECT
public:
    CCommandPalette(const CommandList& commands, QWidget* parent = nullptr);

    void SetFilter(const QString& filter);
    int VisibleCount() const;
    // The command chosen with Return or a double click, or nullptr.
    const InteractiveCommand* Chosen() const { return chosen_; }

protected:
    // Up and Down in the filter field move through the list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Choose();

    const CommandList& commands_;
    QLineEdit* filter_;
    QListWidget* list_;
    const InteractiveCommand* chosen_ = nullptr;
};

}  // namespace kiv

#pragma once
// The text dialog "Copy": one multi-line edit field that opens with the given text, selects all
// of it and copies it to the clipboard. In copy-only mode it closes again at once, so the user
// sees nothing but the text arriving on the clipboard; otherwise it stays open to be read and
// edited. Object name of the field: "text".
#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace kiv {

class CCopyTextDialog : public QDialog {
    Q_OBJECT

public:
    explicit CCopyTextDialog(const std::string& text, QWidget* parent = nullptr);

    // Copies the text to the clipboard through a dialog that closes at once.
    static void CopyOnly(const std::string& text, QWidget* parent = nullptr);

private:
    QPlainTextEdit* edit_ = nullptr;
};

}  // namespace kiv

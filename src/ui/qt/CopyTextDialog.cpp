#include "ui/qt/CopyTextDialog.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/qt/QtText.h"

namespace kiv {

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 320;

// The system's text outputs end their lines in CR LF; the clipboard takes plain line feeds.
QString WithLineFeeds(const std::string& text)
{
    QString converted = ToQString(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return converted;
}

}  // namespace

CCopyTextDialog::CCopyTextDialog(const std::string& text, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Copy"));
    resize(kWidth, kHeight);
    edit_ = new QPlainTextEdit(WithLineFeeds(text), this);
    edit_->setObjectName(QStringLiteral("text"));
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    edit_->selectAll();
    edit_->copy();
    edit_->setFocus();
}

void CCopyTextDialog::CopyOnly(const std::string& text, QWidget* parent)
{
    CCopyTextDialog dialog(text, parent);
    dialog.close();
}

}  // namespace kiv

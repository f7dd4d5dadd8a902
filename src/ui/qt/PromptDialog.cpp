#include "ui/qt/PromptDialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt/DialogButton.h"
#include "ui/qt/QtText.h"

namespace kiv {

namespace {

constexpr int kPresetCount = 8;
constexpr int kMaxPromptLines = 16;
constexpr int kPromptWidth = 360;

// One tab stop distance for the whole prompt: wider than every text that a tab ends, so that
// the columns of all lines start at the same multiples of it.
qreal TabStopDistance(const QString& prompt, const QFontMetrics& metrics)
{
    int widest = 0;
    for (const QString& line : prompt.split('\n')) {
        const QStringList columns = line.split('\t');
        for (qsizetype i = 0; i + 1 < columns.size(); ++i) widest = std::max(widest, metrics.horizontalAdvance(columns[i]));
    }
    return widest + metrics.horizontalAdvance(QStringLiteral("    "));
}

}  // namespace

CPromptDialog::CPromptDialog(const PromptRequest& request, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Kiv   Variable Input"));

    edit_ = new QLineEdit(ToQString(request.valueText), this);
    edit_->setObjectName(QStringLiteral("value"));

    auto* ok = MakeDialogButton(QStringLiteral("OK"), "ok", this);
    ok->setDefault(true);
    auto* cancel = MakeDialogButton(QStringLiteral("Cancel"), "cancel", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* answerRow = new QHBoxLayout;
    answerRow->addStretch();
    answerRow->addWidget(ok);
    answerRow->addWidget(cancel);

    auto* left = new QVBoxLayout;
    left->addWidget(MakePromptView(request.prompt));
    left->addStretch();
    left->addWidget(edit_);
    left->addLayout(answerRow);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(MakePresetColumn(request));

    edit_->selectAll();
    edit_->setFocus();
}

std::string CPromptDialog::Text() const { return FromQString(edit_->text()); }

QPlainTextEdit* CPromptDialog::MakePromptView(const std::string& prompt)
{
    const QString text = ToQString(prompt);
    auto* view = new QPlainTextEdit(text, this);
    view->setObjectName(QStringLiteral("prompt"));
    view->setReadOnly(true);
    view->setFocusPolicy(Qt::NoFocus);
    view->setFrameShape(QFrame::NoFrame);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setBackgroundVisible(false);
    view->viewport()->setAutoFillBackground(false);

    const QFontMetrics metrics(view->font());
    view->setTabStopDistance(TabStopDistance(text, metrics));
    const int lines = std::clamp(static_cast<int>(text.count('\n')) + 1, 1, kMaxPromptLines);
    view->setFixedHeight(lines * metrics.lineSpacing() + 2 * static_cast<int>(view->document()->documentMargin()) + 4);
    view->setMinimumWidth(kPromptWidth);
    return view;
}

QWidget* CPromptDialog::MakePresetColumn(const PromptRequest& request)
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kPresetCount; ++i) {
        const PromptPreset preset = i < static_cast<int>(request.presets.size()) ? request.presets[i] : PromptPreset{};
        const std::string name = "preset" + std::to_string(i + 1);
        QPushButton* button = MakeDialogButton(ToQString(preset.caption), name.c_str(), column);
        button->setVisible(!preset.caption.empty());
        const QString value = ToQString(preset.value.empty() ? request.valueText : preset.value);
        connect(button, &QPushButton::clicked, this, [this, value] {
            edit_->setText(value);
            accept();
        });
        layout->addWidget(button);
    }
    layout->addStretch();
    return column;
}

}  // namespace kiv

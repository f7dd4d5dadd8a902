#include "ui/qt/ProgressDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt/DialogButton.h"
#include "ui/qt/QtText.h"

namespace kiv {

namespace {

constexpr int kEventIntervalMs = 25;
constexpr int kTextLines = 4;
constexpr int kDialogWidth = 380;

}  // namespace

CQtProgressDialog::CQtProgressDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Kiv   Progress of Calculation"));
    setWindowModality(Qt::ApplicationModal);
    setMinimumWidth(kDialogWidth);

    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("text"));
    text_->setTextFormat(Qt::PlainText);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setWordWrap(true);
    text_->setMinimumHeight(kTextLines * text_->fontMetrics().lineSpacing());

    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("bar"));
    bar_->setRange(0, 100);

    auto* ok = MakeDialogButton(QStringLiteral("OK"), "ok", this);
    auto* cancel = MakeDialogButton(QStringLiteral("Cancel"), "cancel", this);
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
    connect(cancel, &QPushButton::clicked, this, &CQtProgressDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
}

void CQtProgressDialog::Open(const std::string& text, ShowWhen when)
{
    cancelled_ = false;
    open_ = true;
    text_->setText(ToQString(text));
    bar_->setValue(0);
    sinceEvents_.invalidate();
    showPending_ = true;
    if (when == ShowWhen::Now) ShowIfPending();
}

void CQtProgressDialog::SetPercent(int percent)
{
    bar_->setValue(std::clamp(percent, 0, 100));
    ShowIfPending();
}

void CQtProgressDialog::SetText(const std::string& text)
{
    text_->setText(ToQString(text));
    ShowIfPending();
}

void CQtProgressDialog::Close()
{
    open_ = false;
    showPending_ = false;
    hide();
}

void CQtProgressDialog::reject() { cancelled_ = true; }

void CQtProgressDialog::ShowIfPending()
{
    if (showPending_) {
        showPending_ = false;
        show();
        raise();
    }
    ProcessPendingEvents();
}

void CQtProgressDialog::ProcessPendingEvents()
{
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventIntervalMs) return;
    QApplication::processEvents();
    sinceEvents_.start();
}

}  // namespace kiv

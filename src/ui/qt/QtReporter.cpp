#include "ui/qt/QtReporter.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <cstdio>

#include "base/Format.h"
#include "ui/qt/QtText.h"

namespace kiv {

namespace {

constexpr qint64 kRepeatWindowMs = 1000;

}  // namespace

void CQtReporter::Report(ErrorKind kind, const std::string& message)
{
    std::string text = ErrorText(kind, message);
    if (text == last_ && sinceLast_.isValid() && sinceLast_.elapsed() < kRepeatWindowMs) {
        ++repeats_;
        sinceLast_.start();
        return;
    }
    Flush();
    Show(kind, text);
    last_ = std::move(text);
    lastKind_ = kind;
    // The window starts when the user has dismissed the box, not when it opened.
    sinceLast_.start();
}

void CQtReporter::Flush()
{
    if (repeats_ > 0) Show(lastKind_, last_ + Format("\n... repeated %ld times", repeats_));
    repeats_ = 0;
    last_.clear();
    sinceLast_.invalidate();
}

void CQtReporter::Show(ErrorKind kind, const std::string& text)
{
    if (show_) return show_(kind, text);
    // Only the application's own thread may open a window.
    if (QApplication::instance() == nullptr || QThread::currentThread() != QApplication::instance()->thread()) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    ShowMessageBox(kind, text);
}

void CQtReporter::ShowMessageBox(ErrorKind kind, const std::string& text)
{
    const QMessageBox::Icon icon = kind == ErrorKind::RunTime ? QMessageBox::Critical : QMessageBox::Warning;
    QMessageBox box(icon, QStringLiteral("Kiv"), ToQString(text), QMessageBox::Ok, parent_);
    box.exec();
}

}  // namespace kiv

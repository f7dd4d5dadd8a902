#include "ui/qt/QtSession.h"

#include "ui/qt/CopyTextDialog.h"

namespace kiv {

void CQtSession::SetStatus(const std::string& text)
{
    if (onStatus) onStatus(text);
}

void CQtSession::Log(const std::string& line)
{
    if (onLog) onLog(line);
}

void CQtSession::ClearLog()
{
    if (onClearLog) onClearLog();
}

void CQtSession::Redraw()
{
    if (onRedraw) onRedraw();
}

void CQtSession::CopyText(const std::string& text) { CCopyTextDialog::CopyOnly(text, parent_); }

void CQtSession::ShowPage(int page)
{
    if (onShowPage) onShowPage(page);
}

}  // namespace kiv

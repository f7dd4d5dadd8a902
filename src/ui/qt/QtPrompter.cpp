#include "ui/qt/QtPrompter.h"

#include <QFileDialog>
#include <QTimer>

#include "ui/qt/PromptDialog.h"
#include "ui/qt/QtText.h"

namespace kiv {

namespace {

// "Ini Files (*.ini)" -> "Ini Files"
QString WithoutPatternList(QString description)
{
    description = description.trimmed();
    if (description.endsWith(')')) {
        const qsizetype open = description.lastIndexOf('(');
        if (open > 0) description = description.left(open).trimmed();
    }
    return description;
}

QString QtPatterns(const QString& patterns)
{
    QStringList list;
    for (QString pattern : patterns.split(';', Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        if (pattern.isEmpty()) continue;
        list.append(pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
    }
    return list.isEmpty() ? QStringLiteral("*") : list.join(' ');
}

}  // namespace

QStringList ToQtNameFilters(const std::string& filter)
{
    const QStringList parts = ToQString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].trimmed().isEmpty()) break;  // the closing "||"
        filters.append(WithoutPatternList(parts[i]) + QStringLiteral(" (") + QtPatterns(parts[i + 1]) + ')');
    }
    return filters;
}

QString ToDefaultSuffix(const std::string& defaultExtension)
{
    QString suffix = ToQString(defaultExtension).trimmed();
    if (suffix.startsWith('*')) suffix.remove(0, 1);
    if (suffix.startsWith('.')) suffix.remove(0, 1);
    if (suffix.contains('*') || suffix.contains('?')) return {};
    return suffix;
}

bool CQtPrompter::Run(QDialog& dialog)
{
    if (hook_) QTimer::singleShot(0, &dialog, [this, &dialog] { hook_(dialog); });
    return dialog.exec() == QDialog::Accepted;
}

PromptAnswer CQtPrompter::Ask(const PromptRequest& request)
{
    CPromptDialog dialog(request, parent_);
    if (!Run(dialog)) return {false, {}};
    return {true, dialog.Text()};
}

std::optional<std::string> CQtPrompter::ChooseFile(QFileDialog& dialog, const FileRequest& request)
{
    if (!request.title.empty()) dialog.setWindowTitle(ToQString(request.title));
    const QStringList filters = ToQtNameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(ToDefaultSuffix(request.defaultExtension));
    if (hook_) dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!Run(dialog)) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
    return PathFromQString(chosen.front());
}

std::optional<std::string> CQtPrompter::ChooseFileToOpen(const FileRequest& request)
{
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return ChooseFile(dialog, request);
}

std::optional<std::string> CQtPrompter::ChooseFileToSave(const FileRequest& request)
{
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.askBeforeOverwrite);
    return ChooseFile(dialog, request);
}

}  // namespace kiv

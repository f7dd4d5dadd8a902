#include "ui/qt/CommandPalette.h"

#include <algorithm>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "ui/qt/MenuBuilder.h"
#include "ui/qt/QtText.h"

namespace kiv {

namespace {

QString ShownText(const InteractiveCommand& command)
{
    const std::string entry = WithoutAccessKeys(command.entry.substr(0, command.entry.find('\t')));
    return ToQString(command.menu + ": " + entry + "    (" + command.scriptName + ")");
}

}  // namespace

bool PaletteMatches(const InteractiveCommand& command, const QString& filter)
{
    const QString haystack = ShownText(command);
    const QStringList words = filter.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return std::all_of(words.begin(), words.end(),
                       [&](const QString& word) { return haystack.contains(word, Qt::CaseInsensitive); });
}

CCommandPalette::CCommandPalette(const CommandList& commands, QWidget* parent)
    : QDialog(parent), commands_(commands), filter_(new QLineEdit(this)), list_(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Commands"));
    resize(560, 420);
    filter_->setPlaceholderText(QStringLiteral("Type a part of a command or script name"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addWidget(list_);
    for (size_t i = 0; i < commands_.size(); ++i) {
        auto* item = new QListWidgetItem(ShownText(commands_[i]), list_);
        item->setData(Qt::UserRole, static_cast<int>(i));
    }
    list_->setCurrentRow(0);
    connect(filter_, &QLineEdit::textChanged, this, &CCommandPalette::SetFilter);
    connect(filter_, &QLineEdit::returnPressed, this, &CCommandPalette::Choose);
    connect(list_, &QListWidget::itemActivated, this, &CCommandPalette::Choose);
    filter_->installEventFilter(this);
}

void CCommandPalette::SetFilter(const QString& filter)
{
    if (filter_->text() != filter) filter_->setText(filter);
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        const bool shown = PaletteMatches(commands_[static_cast<size_t>(item->data(Qt::UserRole).toInt())], filter);
        item->setHidden(!shown);
        if (shown && !first) first = item;
    }
    list_->setCurrentItem(first);
}

int CCommandPalette::VisibleCount() const
{
    int count = 0;
    for (int row = 0; row < list_->count(); ++row) count += list_->item(row)->isHidden() ? 0 : 1;
    return count;
}

bool CCommandPalette::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QCoreApplication::sendEvent(list_, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CCommandPalette::Choose()
{
    const QListWidgetItem* item = list_->currentItem();
    if (!item || item->isHidden()) return;
    chosen_ = &commands_[static_cast<size_t>(item->data(Qt::UserRole).toInt())];
    accept();
}

}  // namespace kiv

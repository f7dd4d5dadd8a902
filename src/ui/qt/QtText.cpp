#include "ui/qt/QtText.h"

#include <QFile>

namespace kiv {

QString ToQString(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQString(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

QString PathToQString(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathFromQString(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

}  // namespace kiv

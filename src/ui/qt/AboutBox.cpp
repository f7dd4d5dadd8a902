#include "ui/qt/AboutBox.h"

#include <QMessageBox>
#include <QtGlobal>

namespace kiv {

namespace {

// The build date the program has always shown; the version counts the desktop front end.
constexpr const char* kBuildDate = "28.11.2005";
constexpr const char* kVersion = "2.0";

}  // namespace

QString AboutText()
{
    return QStringLiteral("Kiv\nChemometrics workbench for electron-ionisation mass spectra\n\nBuild %1\nVersion %2\nQt %3")
        .arg(QString::fromLatin1(kBuildDate), QString::fromLatin1(kVersion), QString::fromLatin1(qVersion()));
}

void ShowAboutBox(QWidget* parent)
{
    QMessageBox::about(parent, QStringLiteral("About Kiv"), AboutText());
}

}  // namespace kiv

#include <gtest/gtest.h>

#include <QImage>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "ui/qt/ObjectExport.h"

namespace kiv {

namespace {

// An object of 50 mm x 30 mm: its frame and "Empty" in the middle.
const PageRect kObject{1000, 2000, 6000, 5000};

void DrawEmptyObject(CPainter& page)
{
    page.SetPen({0, 0, 0}, 0);
    page.SetNoBrush();
    page.DrawRect({0, 0, kObject.Width(), kObject.Height()});
    page.SetFont(FontRole::Label, 360, 400);
    page.SetTextColour({0, 0, 0});
    page.DrawText({kObject.Width() / 2, kObject.Height() / 2}, "Empty", HAlign::Centre, VAlign::Middle);
    page.DrawText({100, 100}, "2-Chlor\xF6thanol", HAlign::Left, VAlign::Top);
}

// The texts of an SVG file's text elements, read back as XML.
QStringList SvgTexts(const std::string& svg)
{
    QXmlStreamReader reader(QByteArray::fromStdString(svg));
    QStringList texts;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QStringLiteral("text"))
            texts.append(reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return texts;
}

}  // namespace

TEST(ObjectExport, SvgPdfAndPngByTheExtension)
{
    test::CScratchFolder folder;
    test::CRecordingReporter reporter;

    ASSERT_TRUE(WritePicture(folder.Path("plot.svg"), kObject, DrawEmptyObject));
    const std::string svg = test::ReadBytes(folder.Path("plot.svg"));
    EXPECT_TRUE(QSvgRenderer(QString::fromStdString(folder.Path("plot.svg"))).isValid());
    EXPECT_NE(svg.find("width=\"50mm\" height=\"30mm\""), std::string::npos);
    EXPECT_EQ(SvgTexts(svg), (QStringList{"Empty", QString::fromLatin1("2-Chlor\xF6thanol")}));

    ASSERT_TRUE(WritePicture(folder.Path("plot.PDF"), kObject, DrawEmptyObject));
    const std::string pdf = test::ReadBytes(folder.Path("plot.PDF"));
    EXPECT_EQ(pdf.substr(0, 4), "%PDF");
    EXPECT_GT(pdf.size(), 1000u);
    EXPECT_NE(pdf.find("/MediaBox [0 0 142.000000 85.000000]"), std::string::npos);  // whole points

    ASSERT_TRUE(WritePicture(folder.Path("plot.png"), kObject, DrawEmptyObject));
    const QImage png(QString::fromStdString(folder.Path("plot.png")));
    EXPECT_EQ(png.size(), QSize(591, 354));  // 300 dpi
    EXPECT_EQ(png.pixel(100, 20), qRgb(255, 255, 255));
    EXPECT_NE(png.pixel(0, 100), qRgb(255, 255, 255));  // the frame

    ASSERT_TRUE(WritePicture(folder.Path("plot.wmf"), kObject, DrawEmptyObject));
    EXPECT_TRUE(QSvgRenderer(QString::fromStdString(folder.Path("plot.wmf"))).isValid());
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(ObjectExport, AsksForTheNameAndReportsAFileThatCannotBeWritten)
{
    test::CScratchFolder folder;
    test::CRecordingReporter reporter;
    test::CScriptedPrompter prompter;
    EXPECT_EQ(ExportObject(prompter, kObject, DrawEmptyObject), 1);
    ASSERT_EQ(prompter.fileRequests.size(), 1u);
    EXPECT_EQ(prompter.fileRequests[0].defaultExtension, "*.svg");
    EXPECT_EQ(prompter.fileRequests[0].filter,
              "SVG Files (*.svg)|*.svg|PDF Files (*.pdf)|*.pdf|PNG Files (*.png)|*.png|All Files (*.*)|*.*||");

    prompter.files.push_back(folder.Path("object.png"));
    EXPECT_EQ(ExportObject(prompter, kObject, DrawEmptyObject), 0);
    EXPECT_FALSE(QImage(QString::fromStdString(folder.Path("object.png"))).isNull());

    for (const char* name : {"missing/a.svg", "missing/a.pdf", "missing/a.png"}) {
        prompter.files.push_back(folder.Path(name));
        EXPECT_EQ(ExportObject(prompter, kObject, DrawEmptyObject), 2);
    }
    ASSERT_EQ(reporter.messages.size(), 3u);
    EXPECT_EQ(reporter.messages[0], "Picture file " + folder.Path("missing/a.svg") + " cannot be written");
}

}  // namespace kiv

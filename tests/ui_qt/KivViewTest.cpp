#include <QFileDialog>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "DesktopFixture.h"
#include "ui/qt/QtText.h"

namespace kiv::test {

namespace {

// The viewport point at the centre of a page rectangle.
QPoint CentreOf(const CKivView& view, const PageRect& rect)
{
    return view.Mapping().ToDevice(rect).center().toPoint();
}

}  // namespace

class ViewTest : public DesktopTest {
protected:
    // A window with the five-spectrum library on the page "BIB MS&Structure".
    CMainFrame& LibraryPage()
    {
        CMainFrame& f = StartFrame();
        EXPECT_TRUE(f.OpenFile(WriteLibrary()));
        f.Page().Settings().setup = 2;
        f.View().RebuildPage();
        f.Page().Refresh();
        return f;
    }

    AxisRange SpectrumWindow() { return frame->Page().Spectrum(1).ZoomWindow(); }

    void Drag(QPoint from, QPoint to)
    {
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, from);
        Mouse(QEvent::MouseMove, Qt::LeftButton, to);
        Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, to);
    }
};

TEST_F(ViewTest, FourPixelsAreAClickFiveAZoom)
{
    CMainFrame& f = LibraryPage();
    const QPoint centre = CentreOf(f.View(), f.Page().Spectrum(1).Placement());
    const AxisRange full = SpectrumWindow();
    ASSERT_LT(full.xMin, full.xMax);

    Drag(centre, centre + QPoint(3, 1));
    Drag(centre, centre + QPoint(-2, -2));
    EXPECT_EQ(SpectrumWindow().xMin, full.xMin);
    EXPECT_EQ(SpectrumWindow().xMax, full.xMax);

    Drag(centre + QPoint(40, 30), centre + QPoint(-40, -30));  // drawn up and to the left
    const AxisRange zoomed = SpectrumWindow();
    EXPECT_GT(zoomed.xMin, full.xMin);
    EXPECT_LT(zoomed.xMax, full.xMax);

    Drag(centre, centre + QPoint(3, 2));  // the rubber band of five pixels zooms once more
    EXPECT_GT(SpectrumWindow().xMin, zoomed.xMin);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ViewTest, ContextMenuPerObjectAndOnAnEmptyPage)
{
    CMainFrame& f = StartFrame();
    f.Page().Settings().setup = 2;
    f.View().RebuildPage();
    EXPECT_EQ(f.View().ContextEntriesAt(QPoint(2, 2)), std::vector<std::string>{"Empty"});

    f.OpenFile(WriteLibrary());
    const auto entriesOn = [&](const CDisplayObject& object) {
        return f.View().ContextEntriesAt(CentreOf(f.View(), object.Placement()));
    };
    const std::vector<std::string> spectrum = entriesOn(f.Page().Spectrum(1));
    ASSERT_GE(spectrum.size(), 4u);
    EXPECT_EQ(spectrum[0], "Zoom In");
    EXPECT_NE(std::find(spectrum.begin(), spectrum.end(), "Export WMF"), spectrum.end());
    EXPECT_NE(std::find(spectrum.begin(), spectrum.end(), "Copy Text"), spectrum.end());

    // "Zoom In" from the context menu keeps its window on the page (no refill undoes it).
    const AxisRange full = f.Page().Spectrum(1).ZoomWindow();
    f.View().RunContextEntry("Zoom In", CentreOf(f.View(), f.Page().Spectrum(1).Placement()));
    EXPECT_LT(f.Page().Spectrum(1).ZoomWindow().xMax - f.Page().Spectrum(1).ZoomWindow().xMin, full.xMax - full.xMin);
}

TEST_F(ViewTest, ScrollStepsFollowThePageArea)
{
    CMainFrame& f = LibraryPage();
    f.Page().Settings().format = 2;  // A4: taller than the window
    f.View().RebuildPage();
    const QScrollBar* bar = f.View().verticalScrollBar();
    const double pageHeight = f.View().Mapping().scale * f.Page().PageArea().bottom;
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_NEAR(bar->pageStep(), pageHeight / 2, 1);
    EXPECT_NEAR(bar->singleStep(), pageHeight / 50, 1);
}

}  // namespace kiv::test

namespace kiv::test {

TEST_F(ViewTest, AClickMakesTheRecordUnderThePointerCurrent)
{
    CMainFrame& f = LibraryPage();
    f.Page().Settings().setup = 3;  // four spectra with their structures
    f.View().RebuildPage();
    f.Page().Refresh();
    const CMassSpectrumPlot& third = f.Page().Spectrum(3);
    const QPoint at = CentreOf(f.View(), third.Placement());
    const std::optional<int> item = third.ItemAt(f.View().ToPage(at));
    ASSERT_TRUE(item.has_value());
    ASSERT_GT(*item, 1);
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, at);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, at + QPoint(2, 2));
    EXPECT_EQ(f.Doc().bib.currentBlock, *item);
    EXPECT_TRUE(f.RecordText().endsWith(QStringLiteral(" %1/5").arg(*item)));
}

TEST_F(ViewTest, ExportFromTheContextMenuWritesThePicture)
{
    CMainFrame& f = LibraryPage();
    const std::string picture = folder.Path("spectrum.svg");
    f.Prompter().SetDialogHook([&](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(PathToQString(picture));
        dialog.accept();
    });
    f.View().RunContextEntry("Export WMF", CentreOf(f.View(), f.Page().Spectrum(1).Placement()));
    const std::string svg = ReadBytes(picture);
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_TRUE(messages.empty());
}

namespace {

// The box around every pixel that is not white, in the image's logical coordinates.
QRectF InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    const double ratio = image.devicePixelRatio();
    return QRectF(box.left() / ratio, box.top() / ratio, box.width() / ratio, box.height() / ratio);
}

}  // namespace

// On a screen of two device pixels per logical pixel the page is drawn at the full resolution
// (twice the pixels) with the same layout, not a scaled-up picture of the ordinary one.
TEST_F(ViewTest, HighResolutionScreensGetThePageAtTheirResolution)
{
    CMainFrame& f = LibraryPage();
    const QSize size = f.View().viewport()->size();
    const auto paint = [&](qreal ratio) {
        QImage image(size * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        QPainter painter(&image);
        f.View().Paint(painter, QRect(QPoint(0, 0), size));
        return image;
    };
    const QImage normal = paint(1);
    const QImage sharp = paint(2);
    const QRectF a = InkBox(normal), b = InkBox(sharp);
    EXPECT_NEAR(a.left(), b.left(), 1.5);
    EXPECT_NEAR(a.top(), b.top(), 1.5);
    EXPECT_NEAR(a.right(), b.right(), 1.5);
    EXPECT_NEAR(a.bottom(), b.bottom(), 1.5);
    // Drawn at its own resolution, the sharp page is not the ordinary one with every pixel doubled
    // (its text and lines have their own, finer pixels).
    const QImage doubled = normal.scaled(sharp.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    long differing = 0;
    for (int y = 0; y < sharp.height(); ++y)
        for (int x = 0; x < sharp.width(); ++x) differing += sharp.pixel(x, y) != doubled.pixel(x, y) ? 1 : 0;
    EXPECT_GT(differing, sharp.width() * sharp.height() / 200);
}

}  // namespace kiv::test

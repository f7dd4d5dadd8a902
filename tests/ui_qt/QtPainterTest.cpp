#include <gtest/gtest.h>

#include <QImage>

#include "ui/qt/QtPainter.h"

namespace kiv {

namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlack{0, 0, 0};

// A white image painted through a page painter at 0.1 pixels per page unit (0.1 mm per pixel).
QImage Paint(QPointF offset, const std::function<void(CPainter&)>& draw)
{
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CQtPainter page(painter, {0.1, offset});
    draw(page);
    painter.end();
    return image;
}

bool IsWhite(const QImage& image, int x, int y) { return image.pixel(x, y) == qRgb(255, 255, 255); }

// The box around every pixel that is not white.
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!IsWhite(image, x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

bool HasRed(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qRed(image.pixel(x, y)) > qGreen(image.pixel(x, y)) + 64) return true;
    return false;
}

}  // namespace

TEST(QtPainter, RectanglesAndLinesLandOnTheMappedPixels)
{
    const QImage image = Paint({10, 20}, [](CPainter& page) {
        page.SetPen(kRed, 0);
        page.SetBrush(kRed);
        page.DrawRect({300, 400, 800, 900});  // pixels 20..70 across and down
    });
    EXPECT_EQ(image.pixel(45, 45), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(21, 21), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(69, 69), qRgb(255, 0, 0));
    const QRect box = InkBox(image);
    EXPECT_NEAR(box.left(), 20, 1);
    EXPECT_NEAR(box.top(), 20, 1);
    EXPECT_NEAR(box.right(), 70, 1);
    EXPECT_NEAR(box.bottom(), 70, 1);

    const QImage line = Paint({}, [](CPainter& page) {
        page.SetPen(kBlack, 0);
        page.DrawLine({0, 1000}, {2000, 1000});
    });
    EXPECT_EQ(line.pixel(100, 100), qRgb(0, 0, 0));
    EXPECT_EQ(InkBox(line).height(), 1);
    // A pen of 0.5 mm is five pixels wide at this scale.
    const QImage wide = Paint({}, [](CPainter& page) {
        page.SetPen(kBlack, 50);
        page.DrawLine({0, 1000}, {2000, 1000});
    });
    EXPECT_NEAR(InkBox(wide).height(), 5, 1);
}

TEST(QtPainter, TextIsPlacedByItsAnchorAndMeasuredInPageUnits)
{
    int width = 0, height = 0, wider = 0;
    const QImage image = Paint({}, [&](CPainter& page) {
        page.SetFont(FontRole::Label, 360, 400);
        page.SetTextColour(kBlack);
        page.SetPen(kRed, 0);
        page.DrawText({1000, 1000}, "Empty", HAlign::Right, VAlign::Bottom);
        width = page.TextWidth("Empty");
        wider = page.TextWidth("EmptyEmpty");
        height = page.TextHeight();
    });
    const QRect box = InkBox(image);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_LE(box.right(), 101);
    EXPECT_LE(box.bottom(), 101);
    EXPECT_GT(box.left(), 100 - width / 10 - 2);
    EXPECT_FALSE(HasRed(image));  // text takes the text colour, not the pen's
    EXPECT_NEAR(height, 360 * 1.1, 80);  // the line height of a 3.6 mm font
    EXPECT_GT(width, 500);
    EXPECT_NEAR(wider, 2 * width, 20);
}

TEST(QtPainter, ClipAndMappingBackToThePage)
{
    const QImage image = Paint({}, [](CPainter& page) {
        page.SetPen(kRed, 0);
        page.SetBrush(kRed);
        page.SetClip({0, 0, 1000, 2000});
        page.DrawRect({0, 0, 2000, 2000});
        page.ResetClip();
        page.DrawEllipse({1500, 1500, 1900, 1900});
    });
    EXPECT_TRUE(IsWhite(image, 120, 50));
    EXPECT_FALSE(IsWhite(image, 50, 50));
    EXPECT_FALSE(IsWhite(image, 170, 170));

    const PageMapping mapping{0.5, {30, -40}};
    const QPointF device = mapping.ToDevice(PagePoint{1000, 200});
    EXPECT_DOUBLE_EQ(device.x(), 470);
    EXPECT_DOUBLE_EQ(device.y(), 140);
    EXPECT_EQ(mapping.ToPage(device).x, 1000);
    EXPECT_EQ(mapping.ToPage(device).y, 200);
    EXPECT_EQ(mapping.ToDevice(PageRect{100, 100, 0, 0}), QRectF(-30, 40, 50, 50));
    EXPECT_DOUBLE_EQ(PageScale(254, 200), 0.2);
}

// Markers stamped on a pixel surface look like the symbols drawn one by one.
TEST(QtPainter, StampedMarkersMatchSymbolsDrawnOneByOne)
{
    const std::vector<PagePoint> centres{{300, 300}, {900, 400}, {1500, 1500}};
    for (const MarkerShape shape : {MarkerShape::Circle, MarkerShape::Square, MarkerShape::Triangle}) {
        const auto draw = [&](CPainter& page, bool batch) {
            page.SetPen(kBlack, 0);
            page.SetBrush(kRed);
            if (batch) {
                page.DrawMarkers(centres, 60, shape);
            } else {
                for (const PagePoint c : centres) page.CPainter::DrawMarkers({c}, 60, shape);
            }
        };
        const QImage stamped = Paint({0, 0}, [&](CPainter& page) { draw(page, true); });
        const QImage single = Paint({0, 0}, [&](CPainter& page) { draw(page, false); });
        EXPECT_EQ(InkBox(stamped), InkBox(single));
        int differing = 0;
        for (int y = 0; y < stamped.height(); ++y)
            for (int x = 0; x < stamped.width(); ++x) differing += stamped.pixel(x, y) != single.pixel(x, y) ? 1 : 0;
        EXPECT_LT(differing, 12) << static_cast<int>(shape);
        EXPECT_TRUE(HasRed(stamped));
    }
}

}  // namespace kiv

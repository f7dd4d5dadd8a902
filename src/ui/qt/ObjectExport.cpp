#include "ui/qt/ObjectExport.h"

#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "base/Reporter.h"
#include "ui/qt/QtPainter.h"
#include "ui/qt/QtText.h"

namespace kiv {

namespace {

// SVG user units of 0.1 mm keep the hairline thin and every length exact enough.
constexpr int kSvgDotsPerInch = 254;
constexpr int kPdfDotsPerInch = 600;
constexpr int kPngDotsPerInch = 300;
constexpr double kPageUnitsPerMm = 100.0;
constexpr double kInchesPerMetre = 1 / 0.0254;

QSize DeviceSize(const PageRect& rect, int dotsPerInch)
{
    const double scale = PageScale(dotsPerInch, 100);
    return {std::max(1, static_cast<int>(std::lround(rect.Width() * scale))),
            std::max(1, static_cast<int>(std::lround(rect.Height() * scale)))};
}

// Draws on an open device; false when the device could not be opened for painting.
bool Paint(QPaintDevice& device, int dotsPerInch, const DrawFunction& draw)
{
    QPainter painter;
    if (!painter.begin(&device)) return false;
    CQtPainter page(painter, {PageScale(dotsPerInch, 100), {}});
    draw(page);
    return painter.end();
}

bool WriteSvg(const QString& path, const PageRect& rect, const DrawFunction& draw)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    const QSize size = DeviceSize(rect, kSvgDotsPerInch);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kSvgDotsPerInch);
    return Paint(svg, kSvgDotsPerInch, draw);
}

bool WritePdf(const QString& path, const PageRect& rect, const DrawFunction& draw)
{
    QPdfWriter pdf(path);
    const QSizeF millimetres(std::max(1, rect.Width()) / kPageUnitsPerMm, std::max(1, rect.Height()) / kPageUnitsPerMm);
    pdf.setPageSize(QPageSize(millimetres, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(kPdfDotsPerInch);
    return Paint(pdf, kPdfDotsPerInch, draw);
}

bool WritePng(const QString& path, const PageRect& rect, const DrawFunction& draw)
{
    QImage image(DeviceSize(rect, kPngDotsPerInch), QImage::Format_RGB32);
    if (image.isNull()) return false;
    const int dotsPerMetre = static_cast<int>(std::lround(kPngDotsPerInch * kInchesPerMetre));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    return Paint(image, kPngDotsPerInch, draw) && image.save(path, "PNG");
}

}  // namespace

PictureFormat PictureFormatOf(const std::string& path)
{
    const QString name = PathToQString(path).toLower();
    if (name.endsWith(QStringLiteral(".pdf"))) return PictureFormat::Pdf;
    if (name.endsWith(QStringLiteral(".png"))) return PictureFormat::Png;
    return PictureFormat::Svg;
}

bool WritePicture(const std::string& path, const PageRect& rect, const DrawFunction& draw)
{
    const QString file = PathToQString(path);
    bool written = false;
    switch (PictureFormatOf(path)) {
    case PictureFormat::Svg: written = WriteSvg(file, rect, draw); break;
    case PictureFormat::Pdf: written = WritePdf(file, rect, draw); break;
    case PictureFormat::Png: written = WritePng(file, rect, draw); break;
    }
    if (!written) ReportRunTimeError(Format("Picture file %s cannot be written", path.c_str()));
    return written;
}

int ExportObject(CPrompter& prompter, const PageRect& rect, const DrawFunction& draw)
{
    const FileRequest request{"", "*.svg",
                              "SVG Files (*.svg)|*.svg|PDF Files (*.pdf)|*.pdf|PNG Files (*.png)|*.png|All Files (*.*)|*.*||",
                              true};
    const std::optional<std::string> path = prompter.ChooseFileToSave(request);
    if (!path) return 1;
    return WritePicture(*path, rect, draw) ? 0 : 2;
}

}  // namespace kiv

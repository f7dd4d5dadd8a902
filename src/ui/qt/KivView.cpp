#include "ui/qt/KivView.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScrollBar>
#include <cmath>
#include <cstdlib>

#include "ui/qt/ObjectExport.h"
#include "ui/qt/QtText.h"

namespace kiv {

namespace {

// A press and release farther apart than this (|dx| + |dy|, device pixels) is a rubber band.
constexpr int kClickDistance = 4;
constexpr const char* kExportEntry = "Export WMF";

void FitScrollBar(QScrollBar& bar, int pageLength, int viewportLength)
{
    bar.setRange(0, std::max(0, pageLength - viewportLength));
    bar.setPageStep(std::max(1, pageLength / 2));
    bar.setSingleStep(std::max(1, pageLength / 50));
}

}  // namespace

CKivView::CKivView(CPageView& page, CPrompter& prompter, CSession& session, QWidget* parent)
    : QAbstractScrollArea(parent),
      page_(page),
      prompter_(prompter),
      session_(session),
      band_(new QRubberBand(QRubberBand::Rectangle, viewport()))
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
}

PageMapping CKivView::Mapping() const
{
    // The page's lengths carry its zoom already; the screen adds only its resolution.
    return {PageScale(viewport()->logicalDpiX(), 100),
            QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value())};
}

PagePoint CKivView::ToPage(QPoint viewportPoint) const
{
    return Mapping().ToPage(QPointF(viewportPoint));
}

void CKivView::RebuildPage()
{
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(viewport()->logicalDpiX() * 10000 / 254);
    probe.setDotsPerMeterY(viewport()->logicalDpiY() * 10000 / 254);
    QPainter painter(&probe);
    CQtPainter measure(painter, Mapping());
    page_.Rebuild(measure);
    PageChanged();
}

void CKivView::PageChanged()
{
    const PageMapping atOrigin{Mapping().scale, {}};
    const QRectF full = atOrigin.ToDevice(page_.PageArea());
    FitScrollBar(*horizontalScrollBar(), static_cast<int>(full.right()), viewport()->width());
    FitScrollBar(*verticalScrollBar(), static_cast<int>(full.bottom()), viewport()->height());
    Repaint();
}

void CKivView::DrawPage(qreal devicePixelRatio)
{
    const PageMapping atOrigin{Mapping().scale * devicePixelRatio, {}};
    const QRectF full = atOrigin.ToDevice(page_.PageArea());
    drawn_ = QImage(std::max(1, static_cast<int>(std::ceil(full.right()))),
                    std::max(1, static_cast<int>(std::ceil(full.bottom()))), QImage::Format_RGB32);
    drawn_.fill(Qt::white);
    QPainter painter(&drawn_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    CQtPainter pagePainter(painter, atOrigin);
    page_.Draw(pagePainter, page_.PageArea());
    drawn_.setDevicePixelRatio(devicePixelRatio);
}

void CKivView::Paint(QPainter& painter, const QRect& viewportRect)
{
    const qreal ratio = painter.device()->devicePixelRatioF();
    if (drawn_.isNull() || drawn_.devicePixelRatio() != ratio) DrawPage(ratio);
    painter.fillRect(viewportRect, Qt::white);
    const QPointF scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QRectF source((QPointF(viewportRect.topLeft()) + scrolled) * ratio, QSizeF(viewportRect.size()) * ratio);
    painter.drawImage(QRectF(viewportRect), drawn_, source);
}

void CKivView::Repaint()
{
    drawn_ = QImage();
    viewport()->update();
}

void CKivView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    Paint(painter, event->rect());
}

void CKivView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    PageChanged();
}

void CKivView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void CKivView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    pressed_ = event->position().toPoint();
    dragging_ = true;
    band_->setGeometry(QRect(pressed_, QSize()));
    band_->show();
}

void CKivView::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_) band_->setGeometry(QRect(pressed_, event->position().toPoint()).normalized());
}

void CKivView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint released = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        ShowContextMenu(released, event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton || !dragging_) return;
    dragging_ = false;
    band_->hide();
    const QPoint moved = released - pressed_;
    if (std::abs(moved.x()) + std::abs(moved.y()) > kClickDistance) {
        const PagePoint a = ToPage(pressed_), b = ToPage(released);
        page_.ZoomObjectsTo(PageRect{a.x, a.y, b.x, b.y}.Normalized());
    } else {
        page_.Click(ToPage(released), session_);
    }
    Changed();
}

void CKivView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        page_.NextRecord(session_);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        page_.PreviousRecord(session_);
        break;
    case Qt::Key_PageDown:
        page_.RecordPageDown(session_);
        break;
    case Qt::Key_PageUp:
        page_.RecordPageUp(session_);
        break;
    case Qt::Key_Home:
        page_.FirstRecord(session_);
        break;
    case Qt::Key_End:
        page_.LastRecord(session_);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    Changed();
}

std::vector<std::string> CKivView::ContextEntriesAt(QPoint viewportPoint) const
{
    return page_.ContextMenuEntries(ToPage(viewportPoint));
}

void CKivView::RunContextEntry(const std::string& entry, QPoint viewportPoint)
{
    const PagePoint at = ToPage(viewportPoint);
    if (entry == kExportEntry) {
        if (const CDisplayObject* object = page_.ObjectAt(at)) {
            const PageRect placed = object->Placement();
            ExportObject(prompter_, {0, 0, placed.Width(), placed.Height()},
                         [&](CPainter& painter) { page_.DrawObjectForExport(*object, painter); });
        }
        return;
    }
    page_.RunContextEntry(entry, at, prompter_, session_);
    Changed();
}

void CKivView::ShowContextMenu(QPoint viewportPoint, QPoint globalPoint)
{
    QMenu menu(this);
    for (const std::string& entry : ContextEntriesAt(viewportPoint)) {
        QAction* action = menu.addAction(ToQString(entry));
        action->setData(ToQString(entry));
        action->setEnabled(entry != "Empty");
    }
    if (const QAction* chosen = menu.exec(globalPoint)) RunContextEntry(FromQString(chosen->data().toString()), viewportPoint);
}

void CKivView::Changed()
{
    if (onChanged) onChanged();
    Repaint();
}

}  // namespace kiv

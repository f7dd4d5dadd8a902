#pragma once
// CKivView: the widget that shows the page of the view model and takes the mouse and the
// keyboard. The page is drawn through the page painter at the screen's resolution (the page's
// own zoom is already in its lengths); scroll bars run over the page area. Left button: a click
// selects the item under the pointer, a drag of more than four pixels (|dx| + |dy|) draws a
// rubber band and zooms every object it touches. Right button: the context menu of the object
// under the pointer. Arrow keys, Page Up/Down, Home and End move through the working library.
#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <functional>
#include <string>
#include <vector>

#include "base/Prompt.h"
#include "base/Session.h"
#include "ui/PageView.h"
#include "ui/qt/QtPainter.h"

class QRubberBand;

namespace kiv {

class CKivView : public QAbstractScrollArea {
    Q_OBJECT
public:
    CKivView(CPageView& page, CPrompter& prompter, CSession& session, QWidget* parent = nullptr);

    // Lays the page out anew (measuring text on the screen) and repaints.
    void RebuildPage();
    // Fits the scroll bars to the page area and repaints (after a command or a setting change).
    void PageChanged();
    // Draws the page anew on the next paint (its content changed, its size did not).
    void Repaint();

    // Page position of a point of the viewport, and the mapping used for painting.
    PagePoint ToPage(QPoint viewportPoint) const;
    PageMapping Mapping() const;
    // Paints the part of the page that the viewport rectangle shows. The drawn page is kept, so
    // that scrolling and uncovering the window do not draw a large plot again.
    void Paint(QPainter& painter, const QRect& viewportRect);

    // The context menu at a viewport point, and running one of its entries there.
    std::vector<std::string> ContextEntriesAt(QPoint viewportPoint) const;
    void RunContextEntry(const std::string& entry, QPoint viewportPoint);

    // Called after every change that the view made to the document (record, hit, zoom).
    std::function<void()> onChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowContextMenu(QPoint viewportPoint, QPoint globalPoint);
    void Changed();
    void DrawPage(qreal devicePixelRatio);

    CPageView& page_;
    CPrompter& prompter_;
    CSession& session_;
    QRubberBand* band_;
    QPoint pressed_;
    bool dragging_ = false;
    QImage drawn_;  // the whole page at the screen's resolution; null: to be drawn
};

}  // namespace kiv

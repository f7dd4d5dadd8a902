#include "ui/Painter.h"

#include <algorithm>

namespace kiv {

PageRect PageRect::Normalized() const
{
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

void CPainter::DrawMarkers(const std::vector<PagePoint>& centres, int r, MarkerShape shape)
{
    std::vector<PagePoint> triangle(3);
    for (const PagePoint p : centres) {
        if (shape == MarkerShape::Square) {
            DrawRect({p.x - r, p.y - r, p.x + r, p.y + r});
        } else if (shape == MarkerShape::Triangle) {
            triangle = {{p.x, p.y - r}, {p.x + r, p.y + r}, {p.x - r, p.y + r}};
            DrawPolygon(triangle);
        } else {
            DrawEllipse({p.x - r, p.y - r, p.x + r, p.y + r});
        }
    }
}

}  // namespace kiv

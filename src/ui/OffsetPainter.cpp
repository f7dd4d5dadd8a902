#include "ui/OffsetPainter.h"

namespace kiv {

const std::vector<PagePoint>& COffsetPainter::Moved(const std::vector<PagePoint>& points)
{
    moved_.resize(points.size());
    for (size_t i = 0; i < points.size(); ++i) moved_[i] = Moved(points[i]);
    return moved_;
}

void COffsetPainter::DrawPolyline(const std::vector<PagePoint>& points) { target_.DrawPolyline(Moved(points)); }

void COffsetPainter::DrawPolygon(const std::vector<PagePoint>& points) { target_.DrawPolygon(Moved(points)); }

}  // namespace kiv

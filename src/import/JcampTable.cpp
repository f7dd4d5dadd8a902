#include "import/JcampTable.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "import/JcampLabel.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

constexpr double kTiny = 1e-12;

double FactorOrOne(double factor) { return factor > kTiny ? factor : 1.0; }

}  // namespace

JcampTableForm TableFormOf(std::string_view labelValue)
{
    return labelValue.find("++") != std::string_view::npos ? JcampTableForm::Continuous : JcampTableForm::Pairs;
}

CJcampScaling::CJcampScaling()
    : firstX(std::numeric_limits<double>::quiet_NaN()),
      lastX(std::numeric_limits<double>::quiet_NaN()),
      deltaX(std::numeric_limits<double>::quiet_NaN())
{
}

void CJcampTable::Start(JcampTableForm form, const CJcampScaling& scaling, int32_t expectedPoints)
{
    form_ = form;
    xFactor_ = FactorOrOne(scaling.xFactor);
    yFactor_ = FactorOrOne(scaling.yFactor);
    // The step of a continuous table follows from its ends and point count; DELTAX is the
    // rounded form of the same value.
    if (expectedPoints > 1 && std::isfinite(scaling.firstX) && std::isfinite(scaling.lastX)) {
        step_ = (scaling.lastX - scaling.firstX) / (expectedPoints - 1);
    } else if (std::isfinite(scaling.deltaX)) {
        step_ = scaling.deltaX;
    } else {
        step_ = 1;  // one mass unit
    }
    pointsRead_ = 0;
    dropped_ = 0;
    checkPending_ = false;
    lastOrdinate_ = 0;
    masses_.clear();
    intensities_.clear();
}

TableLineResult CJcampTable::ReadLine(std::string_view line)
{
    // The decoder of compressed lines ends them at a "$$" comment itself.
    line = WithoutLineEnd(line);
    return form_ == JcampTableForm::Pairs ? ReadPairs(WithoutJcampComment(line)) : ReadContinuous(line);
}

bool CJcampTable::AddPoint(double mass, double intensity)
{
    ++pointsRead_;
    if (!std::isfinite(mass) || !std::isfinite(intensity) || intensity < -kTiny) return false;
    if (intensity <= kTiny) return true;  // no peak
    if (mass <= kTiny) return false;
    if (masses_.size() >= static_cast<size_t>(kMaxPeaks)) {
        ++dropped_;
        return true;
    }
    masses_.push_back(mass);
    intensities_.push_back(intensity);
    return true;
}

TableLineResult CJcampTable::ReadPairs(std::string_view line)
{
    size_t pos = 0;
    for (;;) {
        SkipSeparators(line, pos);
        if (pos >= line.size()) return TableLineResult::Read;
        double x = 0, y = 0;
        if (!ScanDouble(line, pos, x)) return TableLineResult::IllegalPoint;
        SkipSeparators(line, pos);
        if (!ScanDouble(line, pos, y)) return TableLineResult::IllegalPoint;
        if (!AddPoint(x * xFactor_, y * yFactor_)) return TableLineResult::IllegalPoint;
    }
}

TableLineResult CJcampTable::ReadContinuous(std::string_view line)
{
    if (!DecodeAsdfLine(line, decoded_)) return TableLineResult::IllegalPoint;
    const CAsdfLine& decoded = decoded_;
    if (decoded.valueCount == 0) return TableLineResult::Read;
    // The first ordinate repeats the last one of the line before.
    const bool check = checkPending_ && decoded.valueCount > 1;
    if (check && std::fabs(decoded.firstOrdinate - lastOrdinate_) > 1e-9 * std::max(1.0, std::fabs(lastOrdinate_))) {
        return TableLineResult::CheckFailed;
    }
    const size_t firstPlace = check ? 2 : 1;
    const CAsdfPoint* point = decoded.points.data();
    const CAsdfPoint* const pointsEnd = point + decoded.pointCount;
    if (point != pointsEnd && point->place < firstPlace) ++point;
    // Most ordinates of a mass spectrum's profile are 0: counted, not stored.
    if (decoded.valueCount > firstPlace) {
        pointsRead_ += static_cast<int64_t>(decoded.valueCount - firstPlace) - (pointsEnd - point);
    }
    const double start = decoded.abscissa * xFactor_;
    // The abscissa of the line is in file units, the step in real units: a point's mass is
    // taken to file units and back, as a point of a pair table is scaled. Most tables have no
    // factor, and the division by 1 is left out.
    const bool unscaled = xFactor_ == 1;
    for (; point != pointsEnd; ++point) {
        const double mass = start + static_cast<double>(point->place - 1) * step_;
        if (!AddPoint(unscaled ? mass : mass / xFactor_ * xFactor_, point->value * yFactor_)) {
            return TableLineResult::IllegalPoint;
        }
    }
    if (decoded.valueCount > 1) lastOrdinate_ = decoded.lastOrdinate;
    checkPending_ = decoded.endsWithDifference;
    return TableLineResult::Read;
}

}  // namespace kiv

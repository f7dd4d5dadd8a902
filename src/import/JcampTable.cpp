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
    line = WithoutJcampComment(WithoutLineEnd(line));
    return form_ == JcampTableForm::Pairs ? ReadPairs(line) : ReadContinuous(line);
}

bool CJcampTable::AddPoint(double x, double y)
{
    ++pointsRead_;
    const double mass = x * xFactor_;
    const double intensity = y * yFactor_;
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
        if (!AddPoint(x, y)) return TableLineResult::IllegalPoint;
    }
}

TableLineResult CJcampTable::ReadContinuous(std::string_view line)
{
    if (TrimBlanks(line).empty()) return TableLineResult::Read;
    if (!DecodeAsdfLine(line, decoded_)) return TableLineResult::IllegalPoint;
    const std::vector<double>& values = decoded_.values;
    if (values.empty()) return TableLineResult::Read;
    size_t first = 1;
    if (checkPending_ && values.size() > 1) {
        // The first ordinate repeats the last one of the line before.
        if (std::fabs(values[1] - lastOrdinate_) > 1e-9 * std::max(1.0, std::fabs(lastOrdinate_))) {
            return TableLineResult::CheckFailed;
        }
        first = 2;
    }
    const double start = values[0] * xFactor_;
    for (size_t k = first; k < values.size(); ++k) {
        // Most ordinates of a mass spectrum's profile are 0: counted, not stored.
        if (values[k] == 0) {
            ++pointsRead_;
            continue;
        }
        // The abscissa of the line is in file units; the step is in real units.
        const double x = (start + static_cast<double>(k - 1) * step_) / xFactor_;
        if (!AddPoint(x, values[k])) return TableLineResult::IllegalPoint;
    }
    if (values.size() > 1) lastOrdinate_ = values.back();
    checkPending_ = decoded_.endsWithDifference;
    return TableLineResult::Read;
}

}  // namespace kiv

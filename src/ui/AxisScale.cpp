#include "ui/AxisScale.h"

#include <cmath>

#include "base/Format.h"

namespace kiv {

std::string AxisScale::LabelFormat() const
{
    if (labelExponent >= 0) return "%0.0f";
    return Format("%%0.%df", -labelExponent);
}

AxisScale ScaleAxis(double& min, double& max, double dataMin, double dataMax, AxisKind kind)
{
    if (!(max - min >= 1e-300)) {
        min = dataMin;
        max = dataMax;
    }
    // Still no width (a single peak, no data): one unit, else the logarithm has no value.
    if (!std::isfinite(min) || !std::isfinite(max)) min = 0, max = 1;
    if (!(max - min >= 1e-300)) max = min + 1;
    AxisScale scale;
    scale.exponent = static_cast<int>(std::floor(std::log10(1.1 * (max - min))));
    scale.step = std::pow(10.0, scale.exponent - 1);
    scale.start = std::floor(min / scale.step + 1e-12) * scale.step;
    scale.end = std::ceil(max / scale.step - 1e-12) * scale.step;
    scale.steps = static_cast<int>(std::ceil((scale.end - scale.start) / scale.step - 1e-12));
    if (kind == AxisKind::Mass) {
        scale.labelExponent = scale.steps > 29 ? scale.exponent : scale.exponent - 1;
    } else {
        scale.labelExponent = scale.exponent;
    }
    min = scale.start;
    max = scale.end;
    return scale;
}

}  // namespace kiv

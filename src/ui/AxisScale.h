#pragma once
// The axis scaling of the mass-spectrum plot: round limits on a step of a power of ten below the
// visible range, the number of steps and the print format of the tick labels.
#include <string>

namespace kiv {

// Which axis: the tick labels of the mass axis get one more decimal unless the axis holds many steps.
enum class AxisKind { Mass, Intensity };

struct AxisScale {
    double start = 0;  // first tick, the new lower limit of the window
    double end = 1;  // last tick, the new upper limit
    double step = 0.1;  // 10^(e - 1)
    int steps = 10;  // ticks from start to end
    int exponent = 0;  // e = floor(log10(1.1 * visible range))
    int labelExponent = 0;
    // "%0.0f" for a label exponent >= 0, else "%0.<decimals>f".
    std::string LabelFormat() const;
};

// Scales one axis whose visible window is min..max and whose data run from dataMin to dataMax: a
// window narrower than 1e-300 is first reset to the data range (a data range narrower than that
// is widened to one unit so that the scale stays finite). min and max become the scale's limits.
AxisScale ScaleAxis(double& min, double& max, double dataMin, double dataMax, AxisKind kind);

}  // namespace kiv

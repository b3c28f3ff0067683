#include "GraphScale.h"

#include <algorithm>
#include <cmath>

namespace {

// The smallest round step not below `rough`.
double roundStep(double rough) {
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double m : {1.0, 2.0, 5.0}) {
        if (m * power >= rough * (1 - 1e-9))
            return m * power;
    }
    return 10.0 * power;
}

} // namespace

GraphScale GraphScale::around(double least, double most, double narrowest, int mostSteps) {
    double span = most - least;
    double middle = (least + most) / 2;
    if (span < narrowest) {
        span = narrowest;
        least = middle - span / 2;
        most = middle + span / 2;
    }
    if (span <= 0.0) // one value and no least width: a unit around it
        return around(least - 0.5, most + 0.5, 0.0, mostSteps);
    GraphScale s;
    s.step = roundStep(span / std::max(mostSteps, 1));
    // Out to whole steps, so that both ends carry a label.
    s.low = std::floor(least / s.step + 1e-9) * s.step;
    s.high = std::ceil(most / s.step - 1e-9) * s.step;
    if (s.high <= s.low)
        s.high = s.low + s.step;
    return s;
}

int GraphScale::decimals() const {
    return std::max(0, int(std::ceil(-std::log10(step) - 1e-9)));
}

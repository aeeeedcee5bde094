#include "window/FocusRing.h"

#include <algorithm>
#include <cmath>

namespace qadrill {

namespace {

double linear(int channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

}  // namespace

double relativeLuminance(Rgb colour) {
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) + 0.0722 * linear(colour.blue);
}

double contrastRatio(Rgb first, Rgb second) {
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Rgb focusRingInk(Rgb background) {
    constexpr Rgb black{0, 0, 0};
    constexpr Rgb white{255, 255, 255};
    return contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
}

}  // namespace qadrill

#include "view/ZoomLevels.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tamsel::view {

namespace {

constexpr std::array<double, 14> kLevels{0.125, 0.25, 1.0 / 3.0, 0.5, 0.75, 1, 2, 3, 4, 6, 8, 12, 16, 32};

// Scales this close count as one level: a fit that lands on a level, or a level reached by arithmetic.
constexpr double kSame = 1e-9;

}  // namespace

double NextZoomLevel(double scale, double fit, bool in) {
    if (in) {
        const auto next =
            std::find_if(kLevels.begin(), kLevels.end(), [&](double level) { return level > scale + kSame; });
        return next != kLevels.end() ? *next : scale;
    }
    const auto below =
        std::find_if(kLevels.rbegin(), kLevels.rend(), [&](double level) { return level < scale - kSame; });
    const double level = below != kLevels.rend() ? *below : scale;
    return level < fit - kSame ? std::min(scale, fit) : level;
}

QString ZoomLevelText(double scale) {
    const double percent = scale * 100.0;
    const double whole = std::round(percent);
    return std::abs(percent - whole) < 0.01 || (percent >= 10.0 && std::abs(percent - whole) < 0.5)
               ? QStringLiteral("%1%").arg(whole, 0, 'f', 0)
               : QStringLiteral("%1%").arg(percent, 0, 'f', 1);
}

}  // namespace tamsel::view

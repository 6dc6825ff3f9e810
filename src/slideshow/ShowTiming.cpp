#include "slideshow/ShowTiming.h"

#include <algorithm>
#include <cmath>

namespace tamsel::slideshow {

namespace {
constexpr double kSecondsPerDay = 86'400.0;
}

int IntervalSeconds(const std::array<bool, 7>& checked) {
    int seconds = 1;
    for (std::size_t i = 0; i < checked.size(); ++i) {
        if (checked[i]) {
            seconds = kIntervalSeconds[i];
        }
    }
    return seconds;
}

double SecondsBetween(double start, double now) {
    const double elapsed = now - start;
    return elapsed < 0.0 ? elapsed + kSecondsPerDay : elapsed;
}

int RandomEntry(double r, int listCount) {
    const int entry = static_cast<int>(std::floor(listCount * r));
    return std::clamp(entry, 0, listCount - 1);
}

}  // namespace tamsel::slideshow

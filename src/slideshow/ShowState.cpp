#include "slideshow/ShowState.h"

#include <algorithm>
#include <cmath>

namespace tamsel::slideshow {

int RandomEntry(double r, int listCount) {
    const int entry = static_cast<int>(std::floor(listCount * r));
    return std::clamp(entry, 0, listCount - 1);
}

}  // namespace tamsel::slideshow

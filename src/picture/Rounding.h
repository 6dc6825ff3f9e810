#pragma once

#include <cmath>

namespace tamsel::picture {

// How the platform turns a computed size or position into whole pixels: to the nearest integer, a
// half to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline int RoundHalfEven(double value) {
    // nearbyint rounds in the current rounding mode, which is to nearest with ties to even.
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace tamsel::picture

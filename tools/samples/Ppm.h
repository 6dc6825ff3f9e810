#pragma once

#include <cstdint>
#include <ostream>
#include <span>

#include "samples/Pictures.h"

namespace tamsel::samples {

// A binary PPM (P6, maxval 255) of width x height canvas pixels (0xFFRRGGBB), row by row.
void WritePpm(std::ostream& out, std::int32_t width, std::int32_t height, std::span<const Pixel> pixels);

}  // namespace tamsel::samples

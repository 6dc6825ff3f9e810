#include "samples/Ppm.h"

#include <string>

namespace tamsel::samples {

void WritePpm(std::ostream& out, std::int32_t width, std::int32_t height, std::span<const Pixel> pixels) {
    out << "P6\n" << width << ' ' << height << "\n255\n";
    std::string rgb;
    rgb.reserve(3 * pixels.size());
    for (const Pixel pixel : pixels) {
        rgb.push_back(static_cast<char>((pixel >> 16) & 255U));
        rgb.push_back(static_cast<char>((pixel >> 8) & 255U));
        rgb.push_back(static_cast<char>(pixel & 255U));
    }
    out.write(rgb.data(), static_cast<std::streamsize>(rgb.size()));
}

}  // namespace tamsel::samples

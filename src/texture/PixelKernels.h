#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "texture/Binary.h"

// Whole runs of stored pixels turned into canvas pixels (0xFFRRGGBB) at once: the fast path of the
// reader's paint. Each run gives exactly what the per-pixel functions of Binary.h give.
namespace tamsel::Binary {

inline constexpr std::uint32_t kBlackCanvasPixel = CanvasPixelOf(0);

// Converts out.size() 16-bit pixel words, stored little-endian from the start of `words` (at least
// 2 x out.size() bytes), under a format code; formats without channels give black.
void ConvertWords(std::span<const std::uint8_t> words, std::uint8_t format, std::span<std::uint32_t> out);

// The canvas pixels of both 4-bit palette indices of every byte value, high four bits first, for
// one palette.
class NibblePairs {
public:
    explicit NibblePairs(const std::array<ColourValue, 16>& palette);

    // Converts out.size() 4-bit indices of `packed` (two a byte, high four bits first), starting at
    // index `first`.
    void Convert(std::span<const std::uint8_t> packed, std::size_t first, std::span<std::uint32_t> out) const;

private:
    std::array<std::array<std::uint32_t, 2>, 256> pairs_{};
};

}  // namespace tamsel::Binary

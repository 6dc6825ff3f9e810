#pragma once

#include <cstdint>

// Pixel formats of the simulation's texture files and their conversion to colours.
//
// A colour value is red + 256 x green + 65536 x blue, each channel 0..255. The canvas that a texture
// is painted on stores 0xFFRRGGBB words (the layout of a 32-bit RGB image), so the decoder produces
// those directly; CanvasPixelOf converts a colour value to that layout.
namespace tamsel::Binary {

using ColourValue = std::int32_t;

// Format codes of the MIP and image headers.
inline constexpr std::uint8_t kFormat565 = 3;
inline constexpr std::uint8_t kFormat1555 = 4;
inline constexpr std::uint8_t kFormat4444 = 5;

// True when a MIP header's format makes the pixel data 4-bit palette indices.
constexpr bool IsPaletteFormat(std::uint8_t format) {
    return format <= 2;
}

// The per-pixel reference of the conversions: channel by channel, exactly as the formats define them.
// The reader paints through the whole-run kernels of PixelKernels.h, which the tests and the fuzzer
// check against these on every word.

// Channels of a 16-bit pixel word under a format code, widened to 8 bits; 0 for unknown formats.
std::int32_t RedOf(std::int32_t word, std::uint8_t format);
std::int32_t GreenOf(std::int32_t word, std::uint8_t format);
std::int32_t BlueOf(std::int32_t word, std::uint8_t format);

// The colour of a 16-bit pixel word under a format code.
ColourValue WordColour(std::int32_t word, std::uint8_t format);

// The colour of a palette entry read as a little-endian 32-bit value (blue, green, red, ignored).
ColourValue PaletteEntryColour(std::uint32_t entry);

constexpr std::uint32_t CanvasPixelOf(ColourValue colour) {
    const auto c = static_cast<std::uint32_t>(colour);
    return 0xFF000000U | ((c & 0xFFU) << 16) | (c & 0xFF00U) | ((c >> 16) & 0xFFU);
}

}  // namespace tamsel::Binary

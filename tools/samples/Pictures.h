#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The pictures that the sample textures carry: drawn here, in colours each format holds exactly, so
// that what a texture must show is known before any reader looks at it.
namespace tamsel::samples {

// A pixel as the reader's canvas stores it: 0xFFRRGGBB.
using Pixel = std::uint32_t;

constexpr Pixel Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return 0xFF000000U | (red << 16) | (green << 8) | blue;
}

inline constexpr Pixel kBlack = Rgb(0, 0, 0);

struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<Pixel> pixels;  // row by row, top row first

    Pixel At(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// A black picture.
Picture BlankPicture(std::int32_t width, std::int32_t height);

// Bits of the red, green and blue fields of a 16-bit pixel word.
struct ChannelBits {
    unsigned red;
    unsigned green;
    unsigned blue;
};

// The nearest 8-bit value at or below `value` that a `bits`-bit field gives back exactly: 0, or the
// field in the top bits with every lower bit set.
constexpr std::uint32_t Representable(std::uint32_t value, unsigned bits) {
    const unsigned freed = 8 - bits;
    const std::uint32_t field = value >> freed;
    return field == 0 ? 0 : (field << freed) | ((1U << freed) - 1);
}

// A test card of four tinted quadrants, each a ramp (red, green and blue across, grey down), framed
// by a white border and crossed by a yellow diagonal; every colour is representable in `bits`.
Picture DrawTestCard(std::int32_t width, std::int32_t height, ChannelBits bits);

// A picture of 4-bit palette indices.
struct IndexedPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> indices;  // 0..15, row by row
};

using PaletteColours = std::array<Pixel, 16>;

// The indexed test card: quadrants of index bands, a border of index 15, a diagonal of index 14 and
// the other diagonal of index 0.
IndexedPicture DrawIndexedTestCard(std::int32_t width, std::int32_t height);

// Palettes of 16 distinct colours; two variants never give an index the same colour.
PaletteColours DemoPalette(unsigned variant);

// An indexed picture in the colours of a palette.
Picture Colour(const IndexedPicture& picture, const PaletteColours& palette);

// The first `count` pixels of a picture, row by row, the rest black.
Picture KeepLeading(Picture picture, std::size_t count);

// `source` laid on a black picture of width x height at the top left, cut to its first `rows` rows.
Picture PlaceTopLeft(const Picture& source, std::int32_t width, std::int32_t height, std::int32_t rows);

}  // namespace tamsel::samples

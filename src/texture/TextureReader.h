#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "texture/Binary.h"

// The reader of the three texture containers: bare images ("PAMB"), SRB wrappers (" BRS") and MIP
// files (any other first tag, normally "PIM "). Bytes in; a layout and a painted canvas, or a
// refusal, out. Nothing here touches a widget or a file.
namespace tamsel::texture {

enum class Container { BareImage, SrbWrapper, MipFile };

// The largest canvas the reader accepts, in pixels (8192 x 8192); larger ones are refused before
// anything is allocated.
inline constexpr std::int64_t kMaxCanvasPixels = 67'108'864;

// What the headers of an accepted file say, and where its pixels are.
struct TextureLayout {
    Container container = Container::MipFile;
    std::uint8_t mipFormat = 0;    // the MIP header's Format (0 for a bare image, which has none)
    std::uint8_t imageFormat = 0;  // the image header's Format: governs the 16-bit conversion
    std::int32_t width = 0;        // canvas width in pixels
    std::int32_t height = 0;       // canvas height in pixels
    std::int32_t pitch = 0;        // the image header's Pitch (used by bare images only)
    std::int32_t rowLength = 0;    // R: stored pixels per row, width plus row padding; never 0
    bool fourBit = false;          // pixels are 4-bit palette indices
    bool paletteRead = false;      // this file loaded the palette
    std::int16_t result = 0;       // 1 for a bare image, the MIP header's ResultValue otherwise
    std::size_t pixelDataOffset = 0;
    std::size_t pixelDataSize = 0;  // N, the pixel data chunk's Size
    std::int64_t pixelCount = 0;    // stored pixels: N / 2 (16-bit) or 2 x N (4-bit)
};

// A caller-owned 0xFFRRGGBB pixel buffer of layout.width x layout.height; stride is in pixels.
struct CanvasView {
    std::uint32_t* pixels = nullptr;
    std::ptrdiff_t stride = 0;
};

class TextureReader {
public:
    // Reads the headers of `file`. Loads the palette when the file carries one (the palette is kept
    // even when a later part of the file is refused, and kept for the files that follow). Returns
    // nothing when the file is refused.
    std::optional<TextureLayout> ReadLayout(std::span<const std::uint8_t> file);

    // Paints the canvas of an accepted layout: every canvas pixel that a stored pixel lands on
    // (stored pixel i lands at x = i mod R, y = i / R, truncating) gets its colour, every other
    // canvas pixel is black. Writes each canvas pixel exactly once.
    void Paint(const TextureLayout& layout, std::span<const std::uint8_t> file, CanvasView canvas) const;

    // The 16 palette colours; black at start, replaced only when a file carries a palette.
    const std::array<Binary::ColourValue, 16>& Palette() const { return palette_; }

private:
    std::array<Binary::ColourValue, 16> palette_{};
};

// ReadLayout and Paint into a fresh buffer: for tools and tests.
struct DecodedTexture {
    TextureLayout layout;
    std::vector<std::uint32_t> pixels;  // width x height, row by row
};
std::optional<DecodedTexture> Decode(TextureReader& reader, std::span<const std::uint8_t> file);

}  // namespace tamsel::texture

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "texture/Binary.h"
#include "texture/ByteSource.h"
#include "texture/Refusal.h"

// The reader of the three texture containers: bare images ("PAMB"), SRB wrappers (" BRS") and MIP
// files (any other first tag, normally "PIM "). Bytes in; a layout and a painted canvas, or a
// refusal with its reason, out. Nothing here touches a widget or a file.
namespace tamsel::texture {

enum class Container { BareImage, SrbWrapper, MipFile };

// Where a file's palette comes from: none of its own, a "PAMC" chunk ahead of the image header, or a
// palette chunk after the image header.
enum class PaletteSource { None, OwnChunkBefore, OwnChunkAfter };

// The largest canvas the reader accepts, in pixels (8192 x 8192); larger ones are refused before
// anything is allocated.
inline constexpr std::int64_t kMaxCanvasPixels = 67'108'864;

// The longest side a canvas may have: the largest width or height a widget, and so a picture box,
// can take. A longer side could not be shown at its size, so it is refused like a canvas too large.
inline constexpr std::int32_t kMaxCanvasSide = 16'777'215;

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
    PaletteSource paletteSource = PaletteSource::None;  // where the palette it loaded was
    std::int16_t result = 0;            // 1 for a bare image, the MIP header's ResultValue otherwise
    std::uint64_t pixelDataOffset = 0;  // where the pixel data starts in the file
    std::size_t pixelDataSize = 0;      // N, the pixel data chunk's Size
    std::int64_t pixelCount = 0;        // stored pixels: N / 2 (16-bit) or 2 x N (4-bit)
};

// A caller-owned 0xFFRRGGBB pixel buffer of layout.width x layout.height; stride is in pixels.
struct CanvasView {
    std::uint32_t* pixels = nullptr;
    std::ptrdiff_t stride = 0;
};

// A rectangle of a layout's canvas: columns x to x + width - 1 of rows y to y + height - 1.
struct CanvasArea {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The whole canvas of a layout.
constexpr CanvasArea WholeCanvas(const TextureLayout& layout) {
    return {0, 0, layout.width, layout.height};
}

// Part of a layout's pixel data held in memory: `bytes` are the pixel data from its byte `start` on.
struct PixelBytes {
    std::span<const std::uint8_t> bytes;
    std::uint64_t start = 0;
};

class TextureReader {
public:
    // Reads the headers of the file. Loads the palette when the file carries one (the palette is kept
    // even when a later part of the file is refused, and kept for the files that follow). Returns
    // why when the file is refused.
    OrRefusal<TextureLayout> ReadLayout(ByteSource& file);
    OrRefusal<TextureLayout> ReadLayout(std::span<const std::uint8_t> file);

    // Paints the canvas of an accepted layout from its pixel data (the bytes from the start of the
    // pixel data on; only the first PixelBytesNeeded(layout) are used): every canvas pixel that a
    // stored pixel lands on (stored pixel i lands at x = i mod R, y = i / R, truncating) gets its
    // colour, every other canvas pixel is black. Writes each canvas pixel exactly once.
    void Paint(const TextureLayout& layout, std::span<const std::uint8_t> pixelData, CanvasView canvas) const;

    // Paints one area of the canvas by the same rule, into `canvas`, whose first pixel is the area's
    // top left corner. `data` holds at least the pixel bytes that ReadPixelArea reads for the area.
    // So a canvas can be painted a part at a time, each part with only its own pixel bytes in memory.
    void PaintArea(const TextureLayout& layout, PixelBytes data, CanvasArea area, CanvasView canvas) const;

    // The 16 palette colours; black at start, replaced only when a file carries a palette.
    const std::array<Binary::ColourValue, 16>& Palette() const { return palette_; }

    // Puts back the palette a file left when it was read: a texture shown again without reading it
    // leaves the reader as reading it would.
    void SetPalette(const std::array<Binary::ColourValue, 16>& palette) { palette_ = palette; }

private:
    std::array<Binary::ColourValue, 16> palette_{};
};

// How many bytes of an accepted layout's pixel data land on its canvas: the rest (padding past the
// last row, rows below the canvas) is never read.
std::size_t PixelBytesNeeded(const TextureLayout& layout);

// What decoding an accepted layout takes: its 32-bit canvas and the pixel bytes read for it.
std::uint64_t DecodeBytes(const TextureLayout& layout);

// Reads the pixel data that lands on the canvas of `layout` from `file` into `buffer`, whose memory
// is reused. The refusal when it cannot be read: the file now ends before it, or reading failed.
OrRefusal<PixelBytes> ReadPixelData(ByteSource& file, const TextureLayout& layout,
                                    std::vector<std::uint8_t>& buffer);

// Reads the pixel data that lands on `area` of the canvas of `layout` (an area within the canvas)
// from `file` into `buffer`, whose memory is reused; the refusal when it cannot be read.
OrRefusal<PixelBytes> ReadPixelArea(ByteSource& file, const TextureLayout& layout, CanvasArea area,
                                    std::vector<std::uint8_t>& buffer);

// The pixel data of an accepted layout within a file held in memory.
std::span<const std::uint8_t> PixelDataOf(const TextureLayout& layout, std::span<const std::uint8_t> file);

// ReadLayout and Paint into a fresh buffer: for tools and tests.
struct DecodedTexture {
    TextureLayout layout;
    std::vector<std::uint32_t> pixels;  // width x height, row by row
};
OrRefusal<DecodedTexture> Decode(TextureReader& reader, std::span<const std::uint8_t> file);

}  // namespace tamsel::texture

#include "PaintCheck.h"

#include <limits>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "samples/TextureFiles.h"
#include "texture/PixelKernels.h"

namespace tamsel::fuzzing {
namespace {

using texture::TextureLayout;
using Palette = std::array<Binary::ColourValue, 16>;

// Paint gives only opaque pixels, so it never leaves this value behind.
constexpr std::uint32_t kGuard = 0x5AA5C33CU;
constexpr std::size_t kRowGuardWords = 1;
constexpr std::size_t kEndGuardWords = 4;

std::string Hex(std::uint32_t value) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text(8, '0');
    for (std::size_t k = 0; k < text.size(); ++k) {
        text[text.size() - 1 - k] = kDigits[(value >> (4 * k)) & 15U];
    }
    return text;
}

// What a layout must say of the file it came from: a canvas within the cap, a row length that is not
// 0, and pixel data that lies in the file and gives as many stored pixels as its Size says.
std::string LayoutFault(const TextureLayout& layout, std::size_t fileSize) {
    const std::string canvas = std::to_string(layout.width) + " x " + std::to_string(layout.height);
    if (layout.width < 0 || layout.height < 0) {
        return "canvas " + canvas + " has a negative side";
    }
    if (std::int64_t{layout.width} * layout.height > texture::kMaxCanvasPixels ||
        layout.width > texture::kMaxCanvasSide || layout.height > texture::kMaxCanvasSide) {
        return "canvas " + canvas + " is over the cap";
    }
    if (layout.rowLength == 0) {
        return "row length 0";
    }
    if (layout.pixelDataOffset > fileSize || layout.pixelDataSize > fileSize - layout.pixelDataOffset) {
        return "pixel data at " + std::to_string(layout.pixelDataOffset) + ", " +
               std::to_string(layout.pixelDataSize) + " bytes, in a file of " + std::to_string(fileSize);
    }
    const auto size = static_cast<std::int64_t>(layout.pixelDataSize);
    const std::int64_t count = layout.fourBit ? 2 * size : size / 2;
    if (layout.pixelCount != count || count < 1 || count > std::numeric_limits<std::int32_t>::max()) {
        return std::to_string(layout.pixelCount) + " stored pixels in " + std::to_string(size) + " bytes";
    }
    return {};
}

// What a refusal must say of the file in memory it came from: empty when the file is and only then,
// data that ends at the file's size short of where it had to reach, and never bytes that cannot be read.
std::string RefusalFault(const texture::Refusal& refusal, std::size_t fileSize) {
    const auto size = static_cast<std::int64_t>(fileSize);
    const std::int64_t end = refusal.numbers[0];
    const std::int64_t needed = refusal.numbers[1];
    if ((refusal.kind == texture::RefusalKind::EmptyFile) != (fileSize == 0)) {
        return "a file of " + std::to_string(fileSize) +
               " bytes refused as: " + texture::RefusalWords(refusal);
    }
    if (refusal.kind == texture::RefusalKind::DataEnds && (end != size || needed <= size)) {
        return texture::RefusalWords(refusal) + " in a file of " + std::to_string(fileSize) + " bytes";
    }
    if (refusal.kind == texture::RefusalKind::Unreadable) {
        return "bytes in memory refused as: " + texture::RefusalWords(refusal);
    }
    return {};
}

// The canvas pixel at (x, y): the colour of the stored pixel i that lands there (x = i mod R,
// y = i / R, truncating), or black. With R < 0 every i from -R on gives y < 0, so only the first -R
// stored pixels land, all on row 0.
std::uint32_t ExpectedPixel(const TextureLayout& layout, std::span<const std::uint8_t> data,
                            const Palette& palette, std::int64_t x, std::int64_t y) {
    const std::int64_t r = layout.rowLength;
    const bool lands = r > 0 ? x < r : y == 0 && x < -r;
    const std::int64_t i = r > 0 ? y * r + x : x;
    if (!lands || i >= layout.pixelCount) {
        return Binary::kBlackCanvasPixel;
    }
    const auto at = static_cast<std::size_t>(i);
    if (layout.fourBit) {
        const unsigned packed = data[at / 2];
        return Binary::CanvasPixelOf(palette[at % 2 == 0 ? packed >> 4 : packed & 15U]);
    }
    const std::int32_t word = data[2 * at] | (data[2 * at + 1] << 8);
    return Binary::CanvasPixelOf(Binary::WordColour(word, layout.imageFormat));
}

// The part of an accepted layout's canvas that is painted: all of it, or when that is over `budget`
// pixels its top rows, as many as the budget holds (none when a single row is over it). Paint must
// keep to a band as it keeps to the whole canvas; the rows below the band differ only in y.
TextureLayout Band(TextureLayout layout, std::int64_t budget) {
    if (layout.width > 0 && std::int64_t{layout.width} * layout.height > budget) {
        layout.height = static_cast<std::int32_t>(budget / layout.width);
    }
    return layout;
}

// Paints an accepted layout into a canvas of guard words, from only the pixel bytes the reader says
// land on it, and checks every word of it against the whole pixel data.
std::string PaintFault(const texture::TextureReader& reader, const TextureLayout& layout,
                       std::span<const std::uint8_t> file) {
    const auto width = static_cast<std::size_t>(layout.width);
    const auto height = static_cast<std::size_t>(layout.height);
    // An empty canvas has no rows to guard: Paint must not touch the buffer at all.
    const bool empty = width == 0 || height == 0;
    const std::size_t stride = empty ? 0 : width + kRowGuardWords;
    std::vector<std::uint32_t> buffer(stride * height + kEndGuardWords, kGuard);
    const auto data = texture::PixelDataOf(layout, file);
    reader.Paint(layout, data.first(texture::PixelBytesNeeded(layout)),
                 {buffer.data(), static_cast<std::ptrdiff_t>(stride)});

    for (std::size_t y = 0; y < (empty ? 0 : height); ++y) {
        const std::uint32_t* row = buffer.data() + y * stride;
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t expected = ExpectedPixel(
                layout, data, reader.Palette(), static_cast<std::int64_t>(x), static_cast<std::int64_t>(y));
            if (row[x] != expected) {
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " + Hex(row[x]) +
                       ", expected " + Hex(expected);
            }
        }
        for (std::size_t k = width; k < stride; ++k) {
            if (row[k] != kGuard) {
                return "the guard after row " + std::to_string(y) + " was written";
            }
        }
    }
    for (std::size_t k = buffer.size() - kEndGuardWords; k < buffer.size(); ++k) {
        if (buffer[k] != kGuard) {
            return "the guard after the canvas was written";
        }
    }
    return {};
}

auto Fields(const TextureLayout& l) {
    return std::tie(l.container, l.mipFormat, l.imageFormat, l.width, l.height, l.pitch, l.rowLength,
                    l.fourBit, l.paletteRead, l.result, l.pixelDataOffset, l.pixelDataSize, l.pixelCount);
}

}  // namespace

Outcome ReadAndPaint(texture::TextureReader& reader, std::span<const std::uint8_t> file,
                     std::int64_t paintBudget) {
    const Palette before = reader.Palette();
    const auto read = reader.ReadLayout(file);
    Outcome outcome{read, read ? std::nullopt : std::optional(read.Reason()), {}};
    if (outcome.refusal) {
        outcome.fault = RefusalFault(*outcome.refusal, file.size());
        return outcome;
    }
    if (!outcome.layout->paletteRead && reader.Palette() != before) {
        outcome.fault = "the palette changed although the file loaded none";
        return outcome;
    }
    outcome.fault = LayoutFault(*outcome.layout, file.size());
    if (outcome.fault.empty()) {
        outcome.fault = PaintFault(reader, Band(*outcome.layout, paintBudget), file);
    }
    return outcome;
}

bool SameLayout(const Outcome& a, const Outcome& b) {
    if (!a.layout || !b.layout) {
        return a.layout.has_value() == b.layout.has_value() && a.refusal == b.refusal;
    }
    return Fields(*a.layout) == Fields(*b.layout);
}

texture::TextureReader ReaderWithPalette() {
    samples::MipFields fields;
    fields.image = {0, 1, 1, 0};
    fields.paletteChunk = samples::PaletteChunk::BeforeImage;
    fields.palette = samples::DemoPalette(4);
    texture::TextureReader reader;
    if (!texture::Decode(reader, samples::MipFile(fields, samples::Bytes{0x12}))) {
        throw std::logic_error("the reader refused the file that carries the palette");
    }
    return reader;
}

}  // namespace tamsel::fuzzing

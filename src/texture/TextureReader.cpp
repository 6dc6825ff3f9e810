#include "texture/TextureReader.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

#include "texture/ByteCursor.h"
#include "texture/PixelKernels.h"

namespace tamsel::texture {
namespace {

constexpr std::uint32_t kTagBareImage = TagOf("PAMB");
constexpr std::uint32_t kTagSrbWrapper = TagOf(" BRS");
constexpr std::uint32_t kTagPalette = TagOf("PAMC");

// Record sizes: every record is read field after field, with no padding between fields.
constexpr std::size_t kChunkHeaderSize = 12;
constexpr std::size_t kSrbHeaderSize = 36;
constexpr std::size_t kMipHeaderSize = 32;
constexpr std::size_t kImageHeaderSize = 28;
constexpr std::size_t kPaletteEntriesSize = 64;

struct ChunkHeader {
    std::uint64_t at = 0;  // where it starts in the file
    std::uint32_t tag = 0;
    std::int32_t size = 0;
};

struct MipHeader {
    std::uint8_t format = 0;
    std::int32_t resultValue = 0;
};

struct ImageHeader {
    std::uint8_t format = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t pitch = 0;
};

using PaletteColours = std::array<Binary::ColourValue, 16>;

OrRefusal<ChunkHeader> ReadChunkHeader(ByteCursor& cursor) {
    const std::uint64_t at = cursor.Offset();
    const auto record = cursor.Take<kChunkHeaderSize>();
    if (!record) {
        return record.Reason();
    }
    return ChunkHeader{at, Le32At(*record, 0), LongAt(*record, 8)};
}

OrRefusal<MipHeader> ReadMipHeader(ByteCursor& cursor) {
    const auto record = cursor.Take<kMipHeaderSize>();
    if (!record) {
        return record.Reason();
    }
    return MipHeader{(*record)[12], LongAt(*record, 26)};
}

OrRefusal<ImageHeader> ReadImageHeader(ByteCursor& cursor) {
    const auto record = cursor.Take<kImageHeaderSize>();
    if (!record) {
        return record.Reason();
    }
    return ImageHeader{(*record)[12], LongAt(*record, 13), LongAt(*record, 17), LongAt(*record, 21)};
}

// The refusal of a chunk whose Size is below `least`, the least its payload must hold.
std::optional<Refusal> BelowLeast(const ChunkHeader& chunk, std::int32_t least) {
    if (chunk.size < least) {
        return Refusal::ChunkTooSmall(chunk.at, chunk.size, least);
    }
    return std::nullopt;
}

// Replaces all 16 palette colours, but only when all 64 entry bytes are there.
std::optional<Refusal> LoadPalette(ByteCursor& cursor, PaletteColours& palette) {
    const auto entries = cursor.Take<kPaletteEntriesSize>();
    if (!entries) {
        return entries.Reason();
    }
    for (std::size_t k = 0; k < palette.size(); ++k) {
        palette[k] = Binary::PaletteEntryColour(Le32At(*entries, 4 * k));
    }
    return std::nullopt;
}

// An SRB wrapper's preamble up to the embedded MIP file's body: the SRB header, a chunk whose payload
// is skipped (it must hold at least one byte), and the MIP file's own chunk header.
std::optional<Refusal> SkipSrbPreamble(ByteCursor& cursor) {
    if (const auto header = cursor.Take<kSrbHeaderSize>(); !header) {
        return header.Reason();
    }
    const auto skipped = ReadChunkHeader(cursor);
    if (!skipped) {
        return skipped.Reason();
    }
    if (const auto refused = BelowLeast(*skipped, 1)) {
        return refused;
    }
    if (const auto refused = cursor.Skip(static_cast<std::uint64_t>(skipped->size))) {
        return refused;
    }
    if (const auto own = ReadChunkHeader(cursor); !own) {
        return own.Reason();
    }
    return std::nullopt;
}

// The MIP body after the file's chunk header: the MIP header, the palette when the file has one, and
// the image header. A ResultValue outside 16 bits refuses the file before the palette is reached.
OrRefusal<ImageHeader> ReadMipBody(ByteCursor& cursor, TextureLayout& layout, PaletteColours& palette) {
    const auto mip = ReadMipHeader(cursor);
    if (!mip) {
        return mip.Reason();
    }
    if (!std::in_range<std::int16_t>(mip->resultValue)) {
        return Refusal::ResultOutOfRange(mip->resultValue);
    }
    layout.mipFormat = mip->format;
    layout.result = static_cast<std::int16_t>(mip->resultValue);
    layout.fourBit = Binary::IsPaletteFormat(mip->format);

    const auto next = ReadChunkHeader(cursor);
    if (!next) {
        return next.Reason();
    }
    if (next->tag == kTagPalette) {
        if (const auto refused = LoadPalette(cursor, palette)) {
            return *refused;
        }
        layout.paletteRead = true;
        layout.paletteSource = PaletteSource::OwnChunkBefore;
        if (const auto imageChunk = ReadChunkHeader(cursor); !imageChunk) {
            return imageChunk.Reason();
        }
        return ReadImageHeader(cursor);
    }
    const auto image = ReadImageHeader(cursor);
    if (!image || !Binary::IsPaletteFormat(image->format)) {
        return image;
    }
    if (const auto paletteChunk = ReadChunkHeader(cursor); !paletteChunk) {
        return paletteChunk.Reason();
    }
    if (const auto refused = LoadPalette(cursor, palette)) {
        return *refused;
    }
    layout.paletteRead = true;
    layout.paletteSource = PaletteSource::OwnChunkAfter;
    return image;
}

// The pixel data chunk: its Size must give at least one stored pixel and a pixel count that a signed
// 32-bit integer holds, and fit in the rest of the file. The count is checked first: a Size whose count
// overflows is refused for that, whatever the file holds.
std::optional<Refusal> ReadPixelChunk(ByteCursor& cursor, TextureLayout& layout) {
    const auto header = ReadChunkHeader(cursor);
    if (!header) {
        return header.Reason();
    }
    if (const auto refused = BelowLeast(*header, layout.fourBit ? 1 : 2)) {
        return refused;
    }
    layout.pixelCount = layout.fourBit ? 2 * std::int64_t{header->size} : header->size / 2;
    if (!std::in_range<std::int32_t>(layout.pixelCount)) {
        return Refusal::CountOverflows(layout.pixelCount);
    }
    layout.pixelDataOffset = cursor.Offset();
    layout.pixelDataSize = static_cast<std::size_t>(header->size);
    return cursor.Skip(layout.pixelDataSize);
}

// The canvas and the row length R. Only a bare image has row padding, P = Pitch \ 2 - Width; R must
// not be 0, the canvas must have no negative side, no side longer than kMaxCanvasSide and must stay
// within kMaxCanvasPixels.
std::optional<Refusal> SetGeometry(const ImageHeader& image, TextureLayout& layout) {
    layout.imageFormat = image.format;
    layout.width = image.width;
    layout.height = image.height;
    layout.pitch = image.pitch;
    const std::int64_t padding =
        layout.container == Container::BareImage ? std::int64_t{image.pitch / 2} - image.width : 0;
    const std::int64_t rowLength = image.width + padding;
    if (!std::in_range<std::int32_t>(padding)) {
        return Refusal::CountOverflows(padding);
    }
    if (rowLength == 0 || image.width < 0 || image.height < 0) {
        return Refusal::SizeNotPositive(image.width, image.height, rowLength);
    }
    layout.rowLength = static_cast<std::int32_t>(rowLength);
    if (image.width > kMaxCanvasSide || image.height > kMaxCanvasSide ||
        std::int64_t{image.width} * image.height > kMaxCanvasPixels) {
        return Refusal::CanvasOverLimit(image.width, image.height);
    }
    return std::nullopt;
}

}  // namespace

OrRefusal<TextureLayout> TextureReader::ReadLayout(std::span<const std::uint8_t> file) {
    SpanSource source(file);
    return ReadLayout(source);
}

OrRefusal<TextureLayout> TextureReader::ReadLayout(ByteSource& file) {
    if (file.Size() == 0) {
        return Refusal::EmptyFile();
    }
    ByteCursor cursor(file);
    const auto first = ReadChunkHeader(cursor);
    if (!first) {
        return first.Reason();
    }
    TextureLayout layout;
    if (first->tag == kTagBareImage) {
        layout.container = Container::BareImage;
        layout.result = 1;
    } else if (first->tag == kTagSrbWrapper) {
        layout.container = Container::SrbWrapper;
        if (const auto refused = SkipSrbPreamble(cursor)) {
            return *refused;
        }
    }
    const auto image = layout.container == Container::BareImage ? ReadImageHeader(cursor)
                                                                : ReadMipBody(cursor, layout, palette_);
    if (!image) {
        return image.Reason();
    }
    if (const auto refused = ReadPixelChunk(cursor, layout)) {
        return *refused;
    }
    if (const auto refused = SetGeometry(*image, layout)) {
        return *refused;
    }
    return layout;
}

void TextureReader::Paint(const TextureLayout& layout, std::span<const std::uint8_t> pixelData,
                          CanvasView canvas) const {
    PaintArea(layout, PixelBytes{pixelData, 0}, WholeCanvas(layout), canvas);
}

void TextureReader::PaintArea(const TextureLayout& layout, PixelBytes data, CanvasArea area,
                              CanvasView canvas) const {
    if (area.width <= 0 || area.height <= 0) {
        return;
    }
    // The stored pixels that the bytes in hand reach, within the pixel data chunk.
    const std::uint64_t dataEnd =
        std::min<std::uint64_t>(data.start + data.bytes.size(), layout.pixelDataSize);
    const std::int64_t stored =
        std::min<std::int64_t>(layout.pixelCount, layout.fourBit ? 2 * static_cast<std::int64_t>(dataEnd)
                                                                 : static_cast<std::int64_t>(dataEnd / 2));
    // The 4-bit colour table is made from the palette as it stands now, and only for 4-bit pixels.
    std::optional<Binary::NibblePairs> pairs;
    if (layout.fourBit) {
        pairs.emplace(palette_);
    }

    // Stored pixel i lands at x = i mod R, y = i / R, truncating. With R > 0 canvas row y takes the
    // stored pixels y x R onwards, as many as the row holds; with R < 0 every i past -R - 1 has y < 0,
    // so only row 0 is reached, by the first -R stored pixels.
    const std::int64_t rowSpan = std::abs(std::int64_t{layout.rowLength});
    const std::int64_t reachedRows = layout.rowLength > 0 ? layout.height : 1;
    const std::int64_t perRow = std::min<std::int64_t>(rowSpan, layout.width);
    const std::int64_t areaEnd = std::int64_t{area.x} + area.width;
    for (std::int64_t row = 0; row < area.height; ++row) {
        const std::span<std::uint32_t> out(canvas.pixels + row * canvas.stride,
                                           static_cast<std::size_t>(area.width));
        const std::int64_t y = area.y + row;
        // The stored pixels that land on this row of the area: from its first column to the end of
        // the row's stored pixels or of the area, whichever comes first.
        const std::int64_t first = y * rowSpan + area.x;
        const std::int64_t last = std::min(y * rowSpan + std::min(perRow, areaEnd), stored);
        std::size_t painted = 0;
        if (y < reachedRows && first < last) {
            painted = static_cast<std::size_t>(last - first);
            const auto index = static_cast<std::size_t>(first);
            if (layout.fourBit) {
                pairs->Convert(data.bytes, index - 2 * data.start, out.first(painted));
            } else {
                Binary::ConvertWords(data.bytes.subspan(2 * index - data.start), layout.imageFormat,
                                     out.first(painted));
            }
        }
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(painted), out.end(), Binary::kBlackCanvasPixel);
    }
}

namespace {

// The stretch of pixel data whose stored pixels land on `area`: from the first stored pixel of its
// top row to the last of its bottom row. With R < 0 only row 0 is reached.
struct ByteRange {
    std::uint64_t start = 0;
    std::size_t size = 0;
};

ByteRange PixelRange(const TextureLayout& layout, CanvasArea area) {
    const std::int64_t rowLength = layout.rowLength;
    if (area.width <= 0 || area.height <= 0 || (rowLength < 0 && area.y > 0)) {
        return {};
    }
    const std::int64_t rowSpan = std::abs(rowLength);
    const std::int64_t lastRow = rowLength > 0 ? std::int64_t{area.y} + area.height - 1 : 0;
    const std::int64_t first = area.y * rowSpan + area.x;
    const std::int64_t end =
        std::min(layout.pixelCount, lastRow * rowSpan + std::min({rowSpan, std::int64_t{layout.width},
                                                                  std::int64_t{area.x} + area.width}));
    if (end <= first) {
        return {};
    }
    const std::int64_t start = layout.fourBit ? first / 2 : 2 * first;
    const std::int64_t stop =
        std::min(layout.fourBit ? (end + 1) / 2 : 2 * end, static_cast<std::int64_t>(layout.pixelDataSize));
    return {static_cast<std::uint64_t>(start),
            static_cast<std::size_t>(std::max<std::int64_t>(stop - start, 0))};
}

}  // namespace

std::size_t PixelBytesNeeded(const TextureLayout& layout) {
    return PixelRange(layout, WholeCanvas(layout)).size;
}

std::uint64_t DecodeBytes(const TextureLayout& layout) {
    const auto pixels = static_cast<std::uint64_t>(std::max(layout.width, 0)) *
                        static_cast<std::uint64_t>(std::max(layout.height, 0));
    return 4 * pixels + PixelBytesNeeded(layout);
}

OrRefusal<PixelBytes> ReadPixelArea(ByteSource& file, const TextureLayout& layout, CanvasArea area,
                                    std::vector<std::uint8_t>& buffer) {
    const ByteRange range = PixelRange(layout, area);
    buffer.resize(range.size);
    const std::uint64_t at = layout.pixelDataOffset + range.start;
    if (!file.ReadAt(at, buffer)) {
        return ShortRead(file, at, range.size);
    }
    return PixelBytes{buffer, range.start};
}

OrRefusal<PixelBytes> ReadPixelData(ByteSource& file, const TextureLayout& layout,
                                    std::vector<std::uint8_t>& buffer) {
    return ReadPixelArea(file, layout, WholeCanvas(layout), buffer);
}

std::span<const std::uint8_t> PixelDataOf(const TextureLayout& layout, std::span<const std::uint8_t> file) {
    const auto start = static_cast<std::size_t>(std::min<std::uint64_t>(layout.pixelDataOffset, file.size()));
    return file.subspan(start, std::min(layout.pixelDataSize, file.size() - start));
}

OrRefusal<DecodedTexture> Decode(TextureReader& reader, std::span<const std::uint8_t> file) {
    const auto layout = reader.ReadLayout(file);
    if (!layout) {
        return layout.Reason();
    }
    DecodedTexture decoded{
        *layout,
        std::vector<std::uint32_t>(static_cast<std::size_t>(std::int64_t{layout->width} * layout->height))};
    reader.Paint(decoded.layout, PixelDataOf(*layout, file),
                 CanvasView{decoded.pixels.data(), layout->width});
    return decoded;
}

}  // namespace tamsel::texture

#include "samples/TextureFiles.h"

#include <stdexcept>

namespace tamsel::samples {
namespace {

constexpr std::size_t kMipPrefixSize = 12 + 32;  // file chunk header and MIP header
constexpr std::size_t kChunkHeaderSize = 12;
constexpr std::size_t kImageHeaderSize = 28;
constexpr std::size_t kPaletteEntriesSize = 64;
constexpr std::size_t kSrbPrefixSize = 12 + 36 + 12;  // file chunk header, SRB header, skipped chunk header

// Appends little-endian fields.
class Writer {
public:
    void Byte(std::uint32_t value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }
    void Word(std::uint32_t value) {
        Byte(value);
        Byte(value >> 8);
    }
    void Long(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        Word(bits);
        Word(bits >> 16);
    }
    void Tag(std::string_view tag) {
        if (tag.size() != 4) {
            throw std::invalid_argument("a tag has four characters");
        }
        bytes_.insert(bytes_.end(), tag.begin(), tag.end());
    }
    void Append(std::span<const std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }

    // A chunk header; its Aux field is never interpreted.
    void ChunkHeader(std::string_view tag, std::int32_t size) {
        Tag(tag);
        Long(0x1F2E3D4C);
        Long(size);
    }

    // A chunk header whose Size is not interpreted either.
    void InnerChunkHeader(std::string_view tag) { ChunkHeader(tag, 0x0BADF00D); }

    void ImageHeader(const ImageFields& image) {
        InnerChunkHeader("IHDR");
        Byte(image.format);
        Long(image.width);
        Long(image.height);
        Long(image.pitch);
        Byte(0xA7);
        Word(0xC3B1);
    }

    void PaletteEntries(const PaletteColours& palette) {
        for (std::size_t k = 0; k < palette.size(); ++k) {
            const Pixel colour = palette[k];
            Byte(colour);
            Byte(colour >> 8);
            Byte(colour >> 16);
            Byte(0x80U | static_cast<std::uint32_t>(7 * k));  // ignored; its top bit set on purpose
        }
    }

    void PixelData(std::span<const std::uint8_t> data, std::optional<std::int32_t> declaredSize) {
        ChunkHeader("SXLP", declaredSize.value_or(static_cast<std::int32_t>(data.size())));
        Append(data);
    }

    Bytes Take() { return std::move(bytes_); }

private:
    Bytes bytes_;
};

}  // namespace

ChannelBits BitsOfFormat(std::uint8_t format) {
    switch (format) {
        case kFormat565:
            return {5, 6, 5};
        case kFormat1555:
            return {5, 5, 5};
        case kFormat4444:
            return {4, 4, 4};
        default:
            throw std::invalid_argument("not a 16-bit format with channels");
    }
}

Bytes EncodeWords(const Picture& picture, std::uint8_t format, std::int32_t paddingWords) {
    const ChannelBits bits = BitsOfFormat(format);
    const unsigned greenShift = bits.blue;
    const unsigned redShift = bits.blue + bits.green;
    const unsigned ignoredShift = redShift + bits.red;
    const auto rowWords = static_cast<std::size_t>(picture.width) + static_cast<std::size_t>(paddingWords);
    Bytes words(2 * rowWords * static_cast<std::size_t>(picture.height));
    auto out = words.begin();
    const auto put = [&out](std::uint32_t word) {
        *out++ = static_cast<std::uint8_t>(word);
        *out++ = static_cast<std::uint8_t>(word >> 8);
    };
    for (std::int32_t y = 0; y < picture.height; ++y) {
        for (std::int32_t x = 0; x < picture.width; ++x) {
            const Pixel colour = picture.At(x, y);
            const std::uint32_t ignored = static_cast<std::uint32_t>(x + 3 * y) << ignoredShift;
            put((((colour >> 16) & 255U) >> (8 - bits.red)) << redShift |
                (((colour >> 8) & 255U) >> (8 - bits.green)) << greenShift |
                ((colour & 255U) >> (8 - bits.blue)) | ignored);
        }
        for (std::int32_t k = 0; k < paddingWords; ++k) {
            put(0xF81FU ^ static_cast<std::uint32_t>(k));
        }
    }
    return words;
}

Bytes EncodeNibbles(const IndexedPicture& picture) {
    Bytes packed((picture.indices.size() + 1) / 2, 0x0F);
    for (std::size_t i = 0; i < picture.indices.size(); ++i) {
        const unsigned shift = i % 2 == 0 ? 4 : 0;
        packed[i / 2] =
            static_cast<std::uint8_t>((packed[i / 2] & ~(15U << shift)) | (picture.indices[i] << shift));
    }
    return packed;
}

Bytes BareImageFile(const ImageFields& image, std::span<const std::uint8_t> data,
                    std::optional<std::int32_t> declaredSize) {
    Writer out;
    out.InnerChunkHeader("PAMB");
    out.ImageHeader(image);
    out.PixelData(data, declaredSize);
    return out.Take();
}

Bytes MipFile(const MipFields& fields, std::span<const std::uint8_t> data,
              std::optional<std::int32_t> declaredSize) {
    Writer out;
    out.InnerChunkHeader(fields.firstTag);
    out.InnerChunkHeader("HPIM");
    out.Byte(fields.mipFormat);
    out.Long(0x11111111);
    out.Long(0x22222222);
    out.Long(0x33333333);
    out.Byte(0x44);
    out.Long(fields.resultValue);
    out.Word(0x5566);
    if (fields.paletteChunk == PaletteChunk::BeforeImage) {
        out.InnerChunkHeader("PAMC");
        out.PaletteEntries(fields.palette);
    }
    out.InnerChunkHeader("GAMI");
    out.ImageHeader(fields.image);
    if (fields.paletteChunk == PaletteChunk::AfterImage) {
        out.InnerChunkHeader("LAPQ");
        out.PaletteEntries(fields.palette);
    }
    out.PixelData(data, declaredSize);
    return out.Take();
}

std::size_t PaletteEnd(const MipFields& fields) {
    switch (fields.paletteChunk) {
        case PaletteChunk::BeforeImage:
            return kMipPrefixSize + kChunkHeaderSize + kPaletteEntriesSize;
        case PaletteChunk::AfterImage:
            return kMipPrefixSize + kChunkHeaderSize + kImageHeaderSize + kChunkHeaderSize +
                   kPaletteEntriesSize;
        case PaletteChunk::None:
            break;
    }
    return 0;
}

Bytes SrbFile(std::span<const std::uint8_t> mipFile, std::span<const std::uint8_t> skipped,
              std::optional<std::int32_t> declaredSkipSize) {
    Writer out;
    out.InnerChunkHeader(" BRS");
    out.InnerChunkHeader("HBRS");
    for (std::int32_t k = 1; k <= 6; ++k) {
        out.Long(0x01010101 * k);
    }
    out.ChunkHeader("PIKS", declaredSkipSize.value_or(static_cast<std::int32_t>(skipped.size())));
    out.Append(skipped);
    out.Append(mipFile);
    return out.Take();
}

std::size_t SrbPreambleSize(std::size_t skippedSize) {
    return kSrbPrefixSize + skippedSize;
}

}  // namespace tamsel::samples

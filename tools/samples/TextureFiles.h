#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "samples/Pictures.h"

// Writers of the three texture containers and of their pixel data, byte for byte as the layouts lay
// them out. The fields that the reader does not interpret are filled with arbitrary non-zero values,
// so that a reader which wrongly depends on them shows it.
namespace tamsel::samples {

using Bytes = std::vector<std::uint8_t>;

// Format codes of the MIP and image headers.
inline constexpr std::uint8_t kFormat565 = 3;
inline constexpr std::uint8_t kFormat1555 = 4;
inline constexpr std::uint8_t kFormat4444 = 5;

// The channel widths of a 16-bit format code (3, 4 or 5); throws std::invalid_argument for others.
ChannelBits BitsOfFormat(std::uint8_t format);

// The 16-bit words of a picture under a format code (3, 4 or 5), little-endian, row by row; each row
// is followed by `paddingWords` words that are not part of the picture. Each channel v is stored as
// v >> (8 - bits); the bits a format ignores carry a pattern, to show that they change nothing.
Bytes EncodeWords(const Picture& picture, std::uint8_t format, std::int32_t paddingWords = 0);

// The 4-bit indices of a picture, row by row, two a byte with the high four bits first; an odd count
// ends in a low four bits of index 15, which falls outside the picture.
Bytes EncodeNibbles(const IndexedPicture& picture);

// The interpreted fields of an image header.
struct ImageFields {
    std::uint8_t format = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t pitch = 0;
};

// A bare image ("PAMB"): image header, then the pixel data chunk. The chunk declares `declaredSize`
// bytes, or the data's own length when none is given.
Bytes BareImageFile(const ImageFields& image, std::span<const std::uint8_t> data,
                    std::optional<std::int32_t> declaredSize = std::nullopt);

enum class PaletteChunk {
    None,         // no palette
    BeforeImage,  // a "PAMC" chunk between the MIP header and the image header
    AfterImage,   // a palette chunk after the image header; the reader looks for it when the image format is
                  // 0..2
};

struct MipFields {
    std::string_view firstTag = "PIM ";  // four characters
    std::uint8_t mipFormat = 0;
    std::int32_t resultValue = 0;
    ImageFields image;
    PaletteChunk paletteChunk = PaletteChunk::None;
    PaletteColours palette{};
};

// A MIP file: file chunk header, MIP header, the palette where `fields` puts it, the image header and
// the pixel data chunk.
Bytes MipFile(const MipFields& fields, std::span<const std::uint8_t> data,
              std::optional<std::int32_t> declaredSize = std::nullopt);

// Where the palette entries of a MIP file end: the length from which a prefix of the file carries the
// whole palette; 0 without a palette.
std::size_t PaletteEnd(const MipFields& fields);

// An SRB wrapper (" BRS") around a MIP file, with a chunk of `skipped` bytes before it that declares
// `declaredSkipSize` bytes (or the length of `skipped`).
Bytes SrbFile(std::span<const std::uint8_t> mipFile, std::span<const std::uint8_t> skipped,
              std::optional<std::int32_t> declaredSkipSize = std::nullopt);

// How far an SRB wrapper with `skippedSize` skipped bytes puts its MIP file.
std::size_t SrbPreambleSize(std::size_t skippedSize);

}  // namespace tamsel::samples

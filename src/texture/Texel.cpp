#include "texture/Texel.h"

#include <array>
#include <cstdlib>

namespace tamsel::texture {

std::optional<StoredTexel> ReadStoredTexel(ByteSource& file, const TextureLayout& layout, std::int32_t x,
                                           std::int32_t y) {
    if (x < 0 || y < 0 || x >= layout.width || y >= layout.height) {
        return std::nullopt;
    }
    // Stored pixel i lands at column i mod R of row i / R (truncating): with R > 0 a texel left of
    // column R is stored pixel y x R + x; with R < 0 only row 0 is reached. The pixel data ends after
    // pixelCount stored pixels.
    const std::int64_t rowLength = layout.rowLength;
    if (x >= std::abs(rowLength) || (rowLength < 0 && y > 0)) {
        return std::nullopt;
    }
    const std::int64_t index = (rowLength > 0 ? std::int64_t{y} * rowLength : 0) + x;
    if (index >= layout.pixelCount) {
        return std::nullopt;
    }
    const std::uint64_t offset =
        layout.pixelDataOffset + static_cast<std::uint64_t>(layout.fourBit ? index / 2 : index * 2);
    std::array<std::uint8_t, 2> bytes{};
    if (!file.ReadAt(offset, std::span(bytes).first(layout.fourBit ? 1 : 2))) {
        return std::nullopt;
    }
    if (layout.fourBit) {
        // Two indices a byte, the first in the high half.
        return StoredTexel{true,
                           static_cast<std::uint16_t>(index % 2 == 0 ? bytes[0] >> 4 : bytes[0] & 0x0F)};
    }
    return StoredTexel{false, static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8)};
}

}  // namespace tamsel::texture

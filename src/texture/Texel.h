#pragma once

#include <cstdint>
#include <optional>

#include "texture/ByteSource.h"
#include "texture/TextureReader.h"

// One texel of a texture as its file stores it, for a modder to see what lies under the pointer.
namespace tamsel::texture {

// A 16-bit texture's word, or a 4-bit texture's palette index.
struct StoredTexel {
    bool fourBit = false;
    std::uint16_t value = 0;
};

// The stored value of the texel at column `x`, row `y` of `layout`'s canvas, read from `file`; nothing
// outside the canvas, or where the pixel data ends before it (the texel shows black).
std::optional<StoredTexel> ReadStoredTexel(ByteSource& file, const TextureLayout& layout, std::int32_t x,
                                           std::int32_t y);

}  // namespace tamsel::texture

#pragma once

#include <string>
#include <string_view>

#include "texture/TextureReader.h"

// What a texture's headers say, in the words that people read: the same words wherever a texture is
// described, in the command-line tool and beside the picture.
namespace tamsel::texture {

// "bare", "MIP" or "SRB".
std::string_view ContainerWords(Container container);

// "4-bit paletted" for palette indices; for 16-bit pixels the channel widths of the image header's
// format ("5:6:5", "1:5:5:5", "4:4:4:4"), or "unknown code N" for a format that shows black.
std::string PixelFormatWords(const TextureLayout& layout);

// "own PAMC chunk", "own chunk after the header" or "none".
std::string_view PaletteWords(PaletteSource source);

}  // namespace tamsel::texture

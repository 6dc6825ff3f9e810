#include "texture/TextureFacts.h"

#include <algorithm>
#include <array>

namespace tamsel::texture {

std::string_view ContainerWords(Container container) {
    switch (container) {
        case Container::BareImage:
            return "bare";
        case Container::SrbWrapper:
            return "SRB";
        case Container::MipFile:
            break;
    }
    return "MIP";
}

std::string PixelFormatWords(const TextureLayout& layout) {
    if (layout.fourBit) {
        return "4-bit paletted";
    }
    switch (layout.imageFormat) {
        case Binary::kFormat565:
            return "5:6:5";
        case Binary::kFormat1555:
            return "1:5:5:5";
        case Binary::kFormat4444:
            return "4:4:4:4";
        default:
            return "unknown code " + std::to_string(layout.imageFormat);
    }
}

std::string_view PaletteWords(PaletteSource source) {
    switch (source) {
        case PaletteSource::OwnChunkBefore:
            return "own PAMC chunk";
        case PaletteSource::OwnChunkAfter:
            return "own chunk after the header";
        case PaletteSource::None:
            break;
    }
    return "none";
}

}  // namespace tamsel::texture

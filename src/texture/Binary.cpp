#include "texture/Binary.h"

namespace tamsel::Binary {
namespace {

// A channel field of `bits` bits widened to 8: 0 stays 0, any other value moves to the top and the
// freed low bits are set, so that the largest field gives 255.
constexpr std::int32_t Widen(std::uint32_t field, unsigned bits) {
    if (field == 0) {
        return 0;
    }
    const unsigned freed = 8 - bits;
    return static_cast<std::int32_t>((field << freed) | ((1U << freed) - 1));
}

// The field of `bits` bits that starts at bit `shift` of a word, widened to 8 bits.
constexpr std::int32_t Channel(std::int32_t word, unsigned shift, unsigned bits) {
    return Widen((static_cast<std::uint32_t>(word) >> shift) & ((1U << bits) - 1), bits);
}

}  // namespace

std::int32_t RedOf(std::int32_t word, std::uint8_t format) {
    switch (format) {
        case kFormat565:
            return Channel(word, 11, 5);
        case kFormat1555:
            return Channel(word, 10, 5);
        case kFormat4444:
            return Channel(word, 8, 4);
        default:
            return 0;
    }
}

std::int32_t GreenOf(std::int32_t word, std::uint8_t format) {
    switch (format) {
        case kFormat565:
            return Channel(word, 5, 6);
        case kFormat1555:
            return Channel(word, 5, 5);
        case kFormat4444:
            return Channel(word, 4, 4);
        default:
            return 0;
    }
}

std::int32_t BlueOf(std::int32_t word, std::uint8_t format) {
    switch (format) {
        case kFormat565:
        case kFormat1555:
            return Channel(word, 0, 5);
        case kFormat4444:
            return Channel(word, 0, 4);
        default:
            return 0;
    }
}

ColourValue WordColour(std::int32_t word, std::uint8_t format) {
    return RedOf(word, format) + 256 * GreenOf(word, format) + 65536 * BlueOf(word, format);
}

ColourValue PaletteEntryColour(std::uint32_t entry) {
    const auto red = static_cast<ColourValue>((entry >> 16) & 255U);
    const auto green = static_cast<ColourValue>((entry >> 8) & 255U);
    const auto blue = static_cast<ColourValue>(entry & 255U);
    return red + 256 * green + 65536 * blue;
}

}  // namespace tamsel::Binary

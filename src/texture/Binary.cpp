#include "texture/Binary.h"

#include "texture/WordLayout.h"

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

// A channel of a word under a format code, widened to 8 bits; 0 when the format has no channels.
std::int32_t ChannelOf(std::int32_t word, std::uint8_t format, ChannelField WordLayout::*channel) {
    const WordLayout* layout = WordLayoutOf(format);
    if (layout == nullptr) {
        return 0;
    }
    const ChannelField field = layout->*channel;
    return Widen((static_cast<std::uint32_t>(word) >> field.shift) & ((1U << field.bits) - 1), field.bits);
}

}  // namespace

std::int32_t RedOf(std::int32_t word, std::uint8_t format) {
    return ChannelOf(word, format, &WordLayout::red);
}

std::int32_t GreenOf(std::int32_t word, std::uint8_t format) {
    return ChannelOf(word, format, &WordLayout::green);
}

std::int32_t BlueOf(std::int32_t word, std::uint8_t format) {
    return ChannelOf(word, format, &WordLayout::blue);
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

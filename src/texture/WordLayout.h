#pragma once

#include <cstdint>

#include "texture/Binary.h"

// Where the channels of a 16-bit pixel word sit, for each format code that has channels.
namespace tamsel::Binary {

struct ChannelField {
    unsigned shift;  // lowest bit of the field
    unsigned bits;   // 4, 5 or 6
};

struct WordLayout {
    ChannelField red;
    ChannelField green;
    ChannelField blue;
};

inline constexpr WordLayout kLayout565{{11, 5}, {5, 6}, {0, 5}};
inline constexpr WordLayout kLayout1555{{10, 5}, {5, 5}, {0, 5}};
inline constexpr WordLayout kLayout4444{{8, 4}, {4, 4}, {0, 4}};

// The layout of a format code's words; nullptr for the codes whose words give black.
constexpr const WordLayout* WordLayoutOf(std::uint8_t format) {
    switch (format) {
        case kFormat565:
            return &kLayout565;
        case kFormat1555:
            return &kLayout1555;
        case kFormat4444:
            return &kLayout4444;
        default:
            return nullptr;
    }
}

}  // namespace tamsel::Binary

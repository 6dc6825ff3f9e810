#include "texture/PixelKernels.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "texture/WordLayout.h"

// On x86-64 each 16-bit loop is built twice, for AVX2 and for the baseline, and the loader picks one
// for the processor it runs on.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define TAMSEL_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TAMSEL_VECTOR_CLONES
#endif

namespace tamsel::Binary {
namespace {

// A channel widened to 8 bits without a branch: (field + largest) >> bits is 1 for every non-zero
// field and 0 for zero, and its negation masks the freed low bits on or off.
template <ChannelField F>
[[gnu::always_inline]] inline std::uint32_t Channel(std::uint32_t word) {
    constexpr std::uint32_t largest = (1U << F.bits) - 1;
    constexpr unsigned freed = 8 - F.bits;
    const std::uint32_t field = (word >> F.shift) & largest;
    const std::uint32_t nonZero = (field + largest) >> F.bits;
    return (field << freed) | ((0U - nonZero) & ((1U << freed) - 1));
}

// The little-endian word at `bytes`: one 16-bit load on a little-endian processor.
[[gnu::always_inline]] inline std::uint32_t WordAt(const std::uint8_t* bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint16_t word = 0;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    } else {
        return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8);
    }
}

template <WordLayout L>
[[gnu::always_inline]] inline void ConvertRun(const std::uint8_t* __restrict words, std::size_t count,
                                              std::uint32_t* __restrict out) {
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t word = WordAt(words + 2 * k);
        out[k] = 0xFF000000U | (Channel<L.red>(word) << 16) | (Channel<L.green>(word) << 8) |
                 Channel<L.blue>(word);
    }
}

TAMSEL_VECTOR_CLONES void Convert565(const std::uint8_t* words, std::size_t count, std::uint32_t* out) {
    ConvertRun<kLayout565>(words, count, out);
}

TAMSEL_VECTOR_CLONES void Convert1555(const std::uint8_t* words, std::size_t count, std::uint32_t* out) {
    ConvertRun<kLayout1555>(words, count, out);
}

TAMSEL_VECTOR_CLONES void Convert4444(const std::uint8_t* words, std::size_t count, std::uint32_t* out) {
    ConvertRun<kLayout4444>(words, count, out);
}

}  // namespace

void ConvertWords(std::span<const std::uint8_t> words, std::uint8_t format, std::span<std::uint32_t> out) {
    switch (format) {
        case kFormat565:
            Convert565(words.data(), out.size(), out.data());
            break;
        case kFormat1555:
            Convert1555(words.data(), out.size(), out.data());
            break;
        case kFormat4444:
            Convert4444(words.data(), out.size(), out.data());
            break;
        default:
            std::fill(out.begin(), out.end(), kBlackCanvasPixel);
            break;
    }
}

NibblePairs::NibblePairs(const std::array<ColourValue, 16>& palette) {
    for (std::size_t byte = 0; byte < pairs_.size(); ++byte) {
        pairs_[byte] = {CanvasPixelOf(palette[byte >> 4]), CanvasPixelOf(palette[byte & 15])};
    }
}

void NibblePairs::Convert(std::span<const std::uint8_t> packed, std::size_t first,
                          std::span<std::uint32_t> out) const {
    std::size_t index = first;
    std::uint32_t* target = out.data();
    std::uint32_t* const end = target + out.size();
    // A run that starts on a low four bits takes that one first, so that the rest go in whole bytes.
    if ((index & 1) != 0 && target != end) {
        *target++ = pairs_[packed[index / 2]][1];
        ++index;
    }
    const std::uint8_t* byte = packed.data() + index / 2;
    for (; end - target >= 2; target += 2) {
        std::memcpy(target, pairs_[*byte++].data(), 2 * sizeof(std::uint32_t));
    }
    if (target != end) {
        *target = pairs_[*byte][0];
    }
}

}  // namespace tamsel::Binary

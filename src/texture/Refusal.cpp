#include "texture/Refusal.h"

#include <algorithm>

#include "texture/TextureReader.h"

namespace tamsel::texture {
namespace {

// A number with its thousands set apart by commas: "4,096", "-32,768".
std::string Grouped(std::int64_t number) {
    const bool negative = number < 0;
    // The magnitude as unsigned, so that the most negative number has one too.
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
    std::string digits;
    for (int k = 0; k == 0 || magnitude > 0; ++k) {
        if (k > 0 && k % 3 == 0) {
            digits.insert(digits.begin(), ',');
        }
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    }
    return negative ? "-" + digits : digits;
}

// "the canvas W x H", its sides as the headers give them.
std::string Canvas(std::int64_t width, std::int64_t height) {
    return "the canvas " + std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

std::string RefusalWords(const Refusal& refusal) {
    const auto& [first, second, third] = refusal.numbers;
    switch (refusal.kind) {
        case RefusalKind::EmptyFile:
            break;
        case RefusalKind::DataEnds:
            return "the data ends at byte " + Grouped(first) + " of " + Grouped(second);
        case RefusalKind::Unreadable:
            return "the data cannot be read at byte " + Grouped(first);
        case RefusalKind::ChunkTooSmall:
            return "the chunk at byte " + Grouped(first) + " has Size " + Grouped(second) + ", below " +
                   Grouped(third);
        case RefusalKind::CountOverflows:
            return "the count " + Grouped(first) + " does not fit in 32 bits";
        case RefusalKind::ResultOutOfRange:
            return "the result value " + Grouped(first) + " is outside -32,768 to 32,767";
        case RefusalKind::SizeNotPositive:
            return Canvas(first, second) +
                   (third == 0 ? " has stored rows of 0 pixels" : " has a negative side");
        case RefusalKind::CanvasOverLimit:
            return std::max(first, second) > kMaxCanvasSide
                       ? Canvas(first, second) + " has a side over the limit of " + Grouped(kMaxCanvasSide) +
                             " pixels"
                       : Canvas(first, second) + " is over the limit of " + Grouped(kMaxCanvasPixels) +
                             " pixels";
    }
    return "the file is empty";
}

}  // namespace tamsel::texture

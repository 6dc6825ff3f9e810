#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "texture/ByteSource.h"

// Bounds-checked, little-endian reading of the texture files.
namespace tamsel::texture {

// The unsigned 32-bit little-endian number at `offset` of `bytes`; the caller has checked the length.
constexpr std::uint32_t Le32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} | (std::uint32_t{bytes[offset + 1]} << 8) |
           (std::uint32_t{bytes[offset + 2]} << 16) | (std::uint32_t{bytes[offset + 3]} << 24);
}

// A Long (signed 32-bit little-endian) at `offset` of `bytes`.
constexpr std::int32_t LongAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::int32_t>(Le32At(bytes, offset));
}

// A four-character tag as the number its bytes make when read like a Long, so that tags compare as
// numbers, case-sensitively and byte for byte.
consteval std::uint32_t TagOf(const char (&text)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])) << 24);
}

// Reads a file strictly front to back and never past its end.
class ByteCursor {
public:
    // The longest record taken at once: the 16 palette entries.
    static constexpr std::size_t kLongestRecord = 64;

    explicit ByteCursor(ByteSource& source) : source_(source) {}

    // The next `count` bytes (at most kLongestRecord), valid until the next take; nothing when fewer
    // remain or they cannot be read. A refused take leaves the cursor where it was.
    std::optional<std::span<const std::uint8_t>> Take(std::size_t count) {
        if (count > record_.size() || count > Remaining() ||
            !source_.ReadAt(offset_, std::span(record_).first(count))) {
            return std::nullopt;
        }
        offset_ += count;
        return std::span<const std::uint8_t>(record_).first(count);
    }

    // Passes over `count` bytes without reading them; false, with the cursor unmoved, when fewer remain.
    bool Skip(std::uint64_t count) {
        if (count > Remaining()) {
            return false;
        }
        offset_ += count;
        return true;
    }

    std::uint64_t Offset() const { return offset_; }
    std::uint64_t Remaining() const { return source_.Size() - offset_; }

private:
    ByteSource& source_;
    std::uint64_t offset_ = 0;
    std::array<std::uint8_t, kLongestRecord> record_{};
};

}  // namespace tamsel::texture

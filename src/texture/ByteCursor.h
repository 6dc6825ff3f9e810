#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "texture/ByteSource.h"
#include "texture/Refusal.h"

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

// Why `count` bytes at `at` of `source` could not be read: the data ends before them, or reading
// them failed.
inline Refusal ShortRead(const ByteSource& source, std::uint64_t at, std::uint64_t count) {
    return source.Size() - std::min(at, source.Size()) < count ? Refusal::DataEnds(source.Size(), at + count)
                                                               : Refusal::Unreadable(at);
}

// Reads a file strictly front to back and never past its end.
class ByteCursor {
public:
    explicit ByteCursor(ByteSource& source) : source_(source) {}

    // The next `Count` bytes, valid until the next take; the refusal when fewer remain or they cannot
    // be read. A refused take leaves the cursor where it was.
    template <std::size_t Count>
    OrRefusal<std::span<const std::uint8_t>> Take() {
        static_assert(Count <= kLongestRecord);
        const auto record = std::span(record_).first(Count);
        if (Count > Remaining() || !source_.ReadAt(offset_, record)) {
            return ShortRead(source_, offset_, Count);
        }
        offset_ += Count;
        return std::span<const std::uint8_t>(record);
    }

    // Passes over `count` bytes without reading them; the refusal, with the cursor unmoved, when fewer
    // remain.
    std::optional<Refusal> Skip(std::uint64_t count) {
        if (count > Remaining()) {
            return Refusal::DataEnds(source_.Size(), offset_ + count);
        }
        offset_ += count;
        return std::nullopt;
    }

    std::uint64_t Offset() const { return offset_; }
    std::uint64_t Remaining() const { return source_.Size() - std::min(offset_, source_.Size()); }

private:
    // The longest record taken at once: the 16 palette entries.
    static constexpr std::size_t kLongestRecord = 64;

    ByteSource& source_;
    std::uint64_t offset_ = 0;
    std::array<std::uint8_t, kLongestRecord> record_{};
};

}  // namespace tamsel::texture

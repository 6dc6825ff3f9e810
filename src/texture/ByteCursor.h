#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

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
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // The next `count` bytes, or nothing when fewer remain; a refused take leaves the cursor where it was.
    std::optional<std::span<const std::uint8_t>> Take(std::size_t count) {
        if (count > Remaining()) {
            return std::nullopt;
        }
        const auto taken = bytes_.subspan(offset_, count);
        offset_ += count;
        return taken;
    }

    std::size_t Offset() const { return offset_; }
    std::size_t Remaining() const { return bytes_.size() - offset_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
};

}  // namespace tamsel::texture

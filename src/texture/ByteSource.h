#pragma once

#include <cstdint>
#include <span>

// Where the texture reader takes a file's bytes from: a buffer in memory, an open file, or a device
// of the caller's. The reader asks only for the records it reads and for the pixels that reach the
// canvas, so a huge file costs no more memory than its headers justify.
namespace tamsel::texture {

class ByteSource {
public:
    virtual ~ByteSource() = default;

    // The number of bytes the file holds.
    virtual std::uint64_t Size() const = 0;

    // Copies the into.size() bytes at `offset` into `into`; false when they cannot all be read.
    virtual bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) = 0;
};

// The bytes of a file already in memory.
class SpanSource final : public ByteSource {
public:
    explicit SpanSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override;

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace tamsel::texture

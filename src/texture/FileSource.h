#pragma once

#include <cstdint>
#include <span>

#include "texture/ByteSource.h"

namespace tamsel::texture {

// An open regular file as a byte source, read at offsets as the reader asks. Only regular files are
// opened: a FIFO, a folder or a device is refused at once, without waiting on it, so no file can hold
// the caller. The descriptor is closed when the source goes.
class FileSource final : public ByteSource {
public:
    // Opens the file at `path`, given as the file system's own bytes.
    explicit FileSource(const char* path);
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    ~FileSource() override;

    // False when the file could not be opened or is no regular file.
    bool IsOpen() const { return fd_ >= 0; }

    // The open descriptor, for a decoder that reads the file itself; -1 when not open.
    int Descriptor() const { return fd_; }

    std::uint64_t Size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace tamsel::texture

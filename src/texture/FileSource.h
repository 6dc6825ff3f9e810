#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "texture/ByteSource.h"

namespace tamsel::texture {

// What tells one version of a file from another without reading it: the file it is and when and how
// it was last written.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` (links followed), taken without opening it; nothing when it cannot
// be read.
std::optional<FileStamp> StampOf(const char* path);

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

    // The size when opened, or where the data was found to end by a read that met it since.
    std::uint64_t Size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace tamsel::texture

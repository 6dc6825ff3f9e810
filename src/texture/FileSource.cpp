#include "texture/FileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace tamsel::texture {

namespace {

FileStamp StampFrom(const struct stat& status) {
    const auto ns = [](const timespec& t) { return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; };
    return {status.st_dev, status.st_ino, status.st_size, ns(status.st_mtim), ns(status.st_ctim)};
}

}  // namespace

std::optional<FileStamp> StampOf(const char* path) {
    struct stat status {};
    if (::stat(path, &status) != 0) {
        return std::nullopt;
    }
    return StampFrom(status);
}

FileSource::FileSource(const char* path) {
    // Non-blocking, so that opening a FIFO returns at once; it is then refused as no regular file.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (fd < 0) {
        return;
    }
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(status.st_size);
}

FileSource::~FileSource() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FileSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
    if (fd_ < 0 || offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
        return false;
    }
    std::size_t done = 0;
    while (done < into.size()) {
        const ssize_t got =
            ::pread(fd_, into.data() + done, into.size() - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got == 0) {
            // The file shrank since it was opened: from now on its size is where its data ends.
            size_ = std::min(size_, offset + done);
            return false;
        }
        if (got < 0) {
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace tamsel::texture

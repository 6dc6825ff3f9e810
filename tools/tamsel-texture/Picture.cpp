#include "Picture.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QImageWriter>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ostream>
#include <span>
#include <streambuf>
#include <vector>

#include "StopSignals.h"
#include "samples/Ppm.h"
#include "texture/DecodeBudget.h"

namespace tamsel::tool {
namespace {

using texture::CanvasArea;

// The most canvas pixels painted at once: 4 MiB of canvas and at most 2 MiB of pixel bytes.
constexpr std::int64_t kPartPixels = std::int64_t{1} << 20;

std::string ErrorText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Calls `paint` for the parts of canvas rows firstRow to endRow - 1, top to bottom and left to right:
// runs of whole rows, or pieces of one row when a row alone is longer than a part. False as soon as
// `paint` is.
template <typename Paint>
bool ForEachPart(std::int32_t width, std::int32_t firstRow, std::int32_t endRow, Paint&& paint) {
    if (width <= kPartPixels) {
        const auto rows = static_cast<std::int32_t>(kPartPixels / width);
        for (std::int32_t y = firstRow; y < endRow; y += rows) {
            if (!paint(CanvasArea{0, y, width, std::min(rows, endRow - y)})) {
                return false;
            }
        }
        return true;
    }
    const auto columns = static_cast<std::int32_t>(kPartPixels);
    for (std::int32_t y = firstRow; y < endRow; ++y) {
        for (std::int32_t x = 0; x < width; x += columns) {
            if (!paint(CanvasArea{x, y, std::min(columns, width - x), 1})) {
                return false;
            }
        }
    }
    return true;
}

// A canvas side of `canvas` pixels cut into `count` boxes of whole pixels, their sizes spread evenly:
// box c starts at canvas pixel ceil(c x canvas / count), and pixel x lies in box floor(x x count / canvas).
struct Boxes {
    std::int64_t canvas;
    std::int64_t count;

    std::int64_t Start(std::int64_t box) const { return (box * canvas + count - 1) / count; }
    std::int64_t Of(std::int64_t pixel) const { return pixel * count / canvas; }
};

// Adds the red, green and blue of each painted pixel of `area` to the sums of the box it lies in.
void AddToSums(std::span<const std::uint32_t> painted, CanvasArea area, Boxes columns,
               std::vector<std::uint64_t>& sums) {
    const std::int64_t end = std::int64_t{area.x} + area.width;
    for (std::int64_t row = 0; row < area.height; ++row) {
        const std::uint32_t* pixels = painted.data() + row * area.width - area.x;
        for (std::int64_t x = area.x; x < end;) {
            const std::int64_t column = columns.Of(x);
            const std::int64_t boxEnd = std::min(end, columns.Start(column + 1));
            std::uint64_t* sum = &sums[static_cast<std::size_t>(3 * column)];
            for (; x < boxEnd; ++x) {
                const std::uint32_t pixel = pixels[x];
                sum[0] += (pixel >> 16) & 0xFFU;
                sum[1] += (pixel >> 8) & 0xFFU;
                sum[2] += pixel & 0xFFU;
            }
        }
    }
}

// Row `y` of the picture, the means of its boxes from their sums, each box `boxHeight` canvas rows
// high; the sums are cleared for the next row.
void StoreMeans(QImage& picture, std::int32_t y, Boxes columns, std::int64_t boxHeight,
                std::vector<std::uint64_t>& sums) {
    auto* out = reinterpret_cast<std::uint32_t*>(picture.scanLine(y));
    for (std::int64_t column = 0; column < columns.count; ++column) {
        const auto count =
            static_cast<std::uint64_t>((columns.Start(column + 1) - columns.Start(column)) * boxHeight);
        std::uint32_t pixel = 0xFF000000U;
        for (std::size_t channel = 0; channel < 3; ++channel) {
            std::uint64_t& sum = sums[static_cast<std::size_t>(3 * column) + channel];
            pixel |= static_cast<std::uint32_t>((sum + count / 2) / count) << (16 - 8 * channel);
            sum = 0;
        }
        out[column] = pixel;
    }
}

// A stream buffer that writes to a Qt device, for the PPM writer.
class DeviceBuffer final : public std::streambuf {
public:
    explicit DeviceBuffer(QIODevice& device) : device_(device) {}

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        return std::max<std::streamsize>(device_.write(bytes, count), 0);
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return traits_type::not_eof(c);
        }
        const char byte = traits_type::to_char_type(c);
        return device_.write(&byte, 1) == 1 ? c : traits_type::eof();
    }

private:
    QIODevice& device_;
};

// The permissions of a new file: read and write for all, less the process's umask.
mode_t NewFileMode() {
    static const mode_t mask = [] {
        const mode_t current = ::umask(0);
        ::umask(current);
        return current;
    }();
    return 0666 & ~mask;
}

// Writes through `write` into the open file `fd` and syncs it to the disk.
bool WriteAndSync(int fd, const std::function<bool(QIODevice&)>& write) {
    QFile file;
    const bool written =
        file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) && write(file) && file.flush();
    file.close();
    return written && ::fsync(fd) == 0;
}

}  // namespace

TextureFile::TextureFile(const std::string& path, texture::TextureReader& reader) : source_(path.c_str()) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        error_ = ErrorText("cannot open");
    } else if (S_ISDIR(status.st_mode)) {
        error_ = "is a folder";
    } else if (!S_ISREG(status.st_mode)) {
        error_ = "not a regular file";
    } else if (!source_.IsOpen()) {
        error_ = "cannot open";
    } else if (const auto layout = reader.ReadLayout(source_)) {
        layout_ = *layout;
    } else {
        refusal_ = layout.Reason();
        error_ = RefusedError(*refusal_);
    }
}

std::string RefusedError(const texture::Refusal& refusal) {
    return std::string(kNotValidTexture) + ": " + texture::RefusalWords(refusal);
}

std::optional<QImage> PaintReduced(const texture::TextureReader& reader, TextureFile& file,
                                   std::int32_t pictureWidth, std::int32_t pictureHeight,
                                   std::uint64_t extraBytes, std::string& error) {
    const texture::TextureLayout& layout = file.Layout();
    const std::int64_t width = layout.width;
    const std::int64_t height = layout.height;
    if (width == 0 || height == 0) {
        return QImage();
    }
    const Boxes columns{width, pictureWidth};
    const Boxes rows{height, pictureHeight};
    const bool reducing = pictureWidth < width || pictureHeight < height;
    // Unreduced, each part is painted straight into the picture.
    const auto partPixels = static_cast<std::uint64_t>(std::min(kPartPixels, width * height));
    const std::uint64_t needed =
        4 * static_cast<std::uint64_t>(pictureWidth) * pictureHeight + 2 * partPixels + 1 +
        (reducing ? 4 * partPixels + 24 * static_cast<std::uint64_t>(pictureWidth) : 0) + extraBytes;
    const auto reserved = texture::DecodeBudget::Program().Reserve(needed);
    if (!reserved) {
        error = "needs more memory than the decode budget holds";
        return std::nullopt;
    }
    QImage picture(pictureWidth, pictureHeight, QImage::Format_RGB32);
    if (picture.isNull()) {
        error = "out of memory";
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> part(reducing ? partPixels : 0);
    std::vector<std::uint64_t> sums(reducing ? 3 * static_cast<std::size_t>(pictureWidth) : 0);
    const auto paint = [&](CanvasArea area) {
        const auto data = texture::ReadPixelArea(file.Source(), layout, area, bytes);
        if (!data) {
            error = RefusedError(data.Reason());
            return false;
        }
        if (!reducing) {
            auto* corner = reinterpret_cast<std::uint32_t*>(picture.scanLine(area.y)) + area.x;
            reader.PaintArea(layout, *data, area, {corner, picture.bytesPerLine() / 4});
            return true;
        }
        reader.PaintArea(layout, *data, area, {part.data(), area.width});
        AddToSums(part, area, columns, sums);
        return true;
    };
    bool read = true;
    if (!reducing) {
        read = ForEachPart(layout.width, 0, layout.height, paint);
    }
    for (std::int32_t y = 0; reducing && read && y < pictureHeight; ++y) {
        const auto firstRow = static_cast<std::int32_t>(rows.Start(y));
        const auto endRow = static_cast<std::int32_t>(rows.Start(y + 1));
        read = ForEachPart(layout.width, firstRow, endRow, paint);
        StoreMeans(picture, y, columns, endRow - firstRow, sums);
    }
    if (!read) {
        return std::nullopt;
    }
    return picture;
}

const char* ExtensionOf(PictureFormat format) {
    switch (format) {
        case PictureFormat::Ppm:
            return ".ppm";
        case PictureFormat::Bmp:
            return ".bmp";
        case PictureFormat::Png:
            break;
    }
    return ".png";
}

std::uint64_t EncodingBytes(PictureFormat format, std::uint64_t pixels) {
    // The PPM writer holds the picture's red, green and blue bytes before it writes them.
    return format == PictureFormat::Ppm ? 3 * pixels : 0;
}

bool WritePicture(QIODevice& device, PictureFormat format, const QImage& picture, std::int32_t width,
                  std::int32_t height) {
    if (format != PictureFormat::Ppm) {
        QImageWriter writer(&device, format == PictureFormat::Png ? "png" : "bmp");
        return !picture.isNull() && writer.write(picture);
    }
    // A 32-bit picture's rows follow each other without a gap.
    const std::span<const std::uint32_t> pixels(
        reinterpret_cast<const std::uint32_t*>(picture.constBits()),
        picture.isNull() ? 0 : static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    DeviceBuffer buffer(device);
    std::ostream out(&buffer);
    samples::WritePpm(out, width, height, pixels);
    return static_cast<bool>(out.flush());
}

bool WriteAtomically(const std::string& target, bool replace, const std::function<bool(QIODevice&)>& write,
                     std::string& error) {
    // Only a regular file is ever replaced: never a device, a FIFO, a folder or a link.
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        error = "not a regular file";
        return false;
    }
    const std::size_t slash = target.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    FileInProgress temporary(target.substr(0, nameStart) + "." + target.substr(nameStart) + ".XXXXXX",
                             FileInProgress::Undo::Remove,
                             [](char* path) { return ::mkostemp(path, O_CLOEXEC); });
    const int fd = temporary.Descriptor();
    if (fd < 0) {
        error = ErrorText("cannot create a file beside it");
        return false;
    }
    bool written = ::fchmod(fd, NewFileMode()) == 0 && WriteAndSync(fd, write);
    written = ::close(fd) == 0 && written;
    const char* const from = temporary.Path().c_str();
    if (!written) {
        error = ErrorText("cannot write");
    } else if (temporary.Finish([&] {
                   return replace
                              ? ::rename(from, target.c_str()) == 0
                              : ::renameat2(AT_FDCWD, from, AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0;
               })) {
        return true;
    } else {
        error = errno == EEXIST ? std::string(kExists) : ErrorText("cannot write");
    }
    temporary.UndoNow();
    return false;
}

bool WriteThumbnailFile(const std::string& target, const std::function<bool(QIODevice&)>& write,
                        std::string& error) {
    struct stat existing {};
    const bool missing = ::lstat(target.c_str(), &existing) != 0 && errno == ENOENT;
    if (!missing && !(S_ISREG(existing.st_mode) && existing.st_size == 0)) {
        return WriteAtomically(target, true, write, error);
    }
    // Written into the file itself, which a service may hold open already. O_NOFOLLOW and O_NONBLOCK:
    // a link or a FIFO put there meanwhile is refused at once, and so is a file no longer empty.
    FileInProgress file(
        target, missing ? FileInProgress::Undo::Remove : FileInProgress::Undo::Empty, [&](char* path) {
            const int flags =
                O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (missing ? O_CREAT | O_EXCL : 0);
            const int fd = ::open(path, flags, NewFileMode());
            struct stat opened {};
            if (fd < 0) {
                error = errno == ELOOP || errno == ENXIO ? "not a regular file" : ErrorText("cannot write");
            } else if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_size != 0) {
                error = "changed while being written";
                ::close(fd);
                return -1;
            }
            return fd;
        });
    const int fd = file.Descriptor();
    if (fd < 0) {
        return false;
    }
    if (WriteAndSync(fd, write) && file.Finish([] { return true; })) {
        ::close(fd);
        return true;
    }
    error = ErrorText("cannot write");
    file.UndoNow();
    ::close(fd);
    return false;
}

bool WriteToStandardOutput(const std::function<bool(QIODevice&)>& write) {
    QFile out;
    return out.open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) && write(out) &&
           out.flush();
}

}  // namespace tamsel::tool

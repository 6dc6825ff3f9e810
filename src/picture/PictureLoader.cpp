#include "picture/PictureLoader.h"

#include <QFile>
#include <QImageReader>
#include <QTransform>
#include <algorithm>
#include <array>
#include <limits>

#include "files/FileNames.h"
#include "picture/FitRule.h"
#include "picture/JpegDecode.h"
#include "picture/JpegHeader.h"
#include "texture/FileSource.h"

namespace tamsel::picture {

namespace {

// No limit on a picture's pixels but the budget's.
constexpr std::uint64_t kAnyPixels = std::numeric_limits<std::uint64_t>::max();

// What decoding a picture of `size` whole takes: the decoded pixels in the reader's own format, and a
// 32-bit copy of them when that format is another.
std::uint64_t WholeDecodeBytes(QSize size, QImage::Format format) {
    const auto pixels = static_cast<std::uint64_t>(size.width()) * static_cast<std::uint64_t>(size.height());
    const int depth = std::max<int>(QImage::toPixelFormat(format).bitsPerPixel(), 8);
    const bool copied = format != QImage::Format_RGB32;
    return pixels * static_cast<std::uint64_t>(depth / 8) + (copied ? pixels * 4 : 0);
}

// The picture without its alpha channel: every pixel keeps its colour and becomes fully opaque.
QImage Opaque(QImage image) {
    if (!image.hasAlphaChannel()) {
        return image;
    }
    if (image.format() != QImage::Format_ARGB32) {
        image = image.convertToFormat(QImage::Format_ARGB32);
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            row[x] |= 0xFF000000U;
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

// Whether the file starts with the marker every JPEG starts with, whatever its name: the JPEG library
// decodes it, also when stray bytes follow the marker, as some writers leave them.
bool StartsAsJpeg(texture::ByteSource& file) {
    std::array<std::uint8_t, 2> start{};
    return file.ReadAt(0, start) && start[0] == 0xFF && start[1] == 0xD8;
}

// Whether the file is an uncompressed BMP cut short: shorter than its pixel offset plus its rows, each
// padded to four bytes, need. Qt's reader paints the missing rows black and calls the picture good;
// such a file is refused like a cut JPEG. Compressed BMPs, whose length their headers do not tell,
// and files that are no BMP say no.
bool IsCutBmp(texture::ByteSource& file) {
    std::array<std::uint8_t, 34> header{};
    if (!file.ReadAt(0, header) || header[0] != 'B' || header[1] != 'M') {
        return false;
    }
    const auto number = [&header](std::size_t at, std::size_t bytes) {
        std::uint64_t value = 0;
        for (std::size_t i = bytes; i-- > 0;) {
            value = value << 8 | header[at + i];
        }
        return value;
    };
    const std::uint64_t pixelOffset = number(10, 4);
    const std::uint64_t infoSize = number(14, 4);
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint64_t bitsPerPixel = 0;
    if (infoSize == 12) {  // the core header: 16-bit sides, never compressed
        width = number(18, 2);
        height = number(20, 2);
        bitsPerPixel = number(24, 2);
    } else if (infoSize >= 40) {
        constexpr std::uint64_t kUncompressed = 0;
        constexpr std::uint64_t kBitFields = 3;
        const std::uint64_t compression = number(30, 4);
        if (compression != kUncompressed && compression != kBitFields) {
            return false;
        }
        // Sides are signed: a negative height stores the rows top down.
        width = number(18, 4);
        const auto signedHeight = static_cast<std::int32_t>(number(22, 4));
        height = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(signedHeight)));
        bitsPerPixel = number(28, 2);
    } else {
        return false;
    }
    if (width > 0x7FFF'FFFF || bitsPerPixel > 64) {
        return false;  // no picture the reader takes: it refuses it itself
    }
    const std::uint64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return file.Size() < pixelOffset + rowBytes * height;
}

// A picture stored as Exif orientation `orientation` says, made upright: mirrored left to right or
// flipped top to bottom as it asks, then turned a quarter clockwise or anticlockwise as it asks.
QImage Upright(QImage image, int orientation) {
    switch (orientation) {
        case 2:
            return std::move(image).mirrored(true, false);
        case 3:
            return std::move(image).mirrored(true, true);
        case 4:
            return std::move(image).mirrored(false, true);
        case 5:
            return std::move(image).mirrored(false, true).transformed(QTransform().rotate(90));
        case 6:
            return image.transformed(QTransform().rotate(90));
        case 7:
            return std::move(image).mirrored(true, false).transformed(QTransform().rotate(90));
        case 8:
            return image.transformed(QTransform().rotate(270));
        default:
            return image;
    }
}

// A JPEG, decoded by the JPEG library: refused before any decoding when its first scan's data is too
// small for the blocks it must hold, or when it is in more scans than its size justifies; then decoded
// within the budget at the smallest scale that still covers the fitted size, and refused at the first
// sign that its data ran out or is corrupt.
// A picture whose header claims more than `mostPixels` is refused before that.
std::optional<Picture> LoadJpeg(texture::FileSource& file, QSize limit, texture::DecodeBudget& budget,
                                const std::function<bool()>& shouldStop,
                                std::uint64_t mostPixels = kAnyPixels) {
    const std::optional<JpegHeader> header = ReadJpegHeader(file);
    const auto pixels =
        header ? static_cast<std::uint64_t>(header->width) * static_cast<std::uint64_t>(header->height)
               : std::uint64_t{0};
    if (!header || pixels > mostPixels || !FirstScanHoldsItsBlocks(file, *header)) {
        return std::nullopt;
    }
    // A picture in more scans than any encoder writes would hold the decoder for seconds on end.
    const auto mostScans = static_cast<int>(
        std::min<std::uint64_t>(kMostScanPixels / std::max<std::uint64_t>(pixels, 1), 65536));
    if (header->multipleScans && CountScans(file, mostScans) > mostScans) {
        return std::nullopt;
    }
    const QSize stored(static_cast<int>(header->width), static_cast<int>(header->height));
    const QSize upright = header->orientation >= 5 ? stored.transposed() : stored;
    const std::optional<QSize> fitted = FittedSize(upright, limit);
    const int divisor = fitted ? ScaleDivisor(upright, *fitted) : 1;
    const std::optional<texture::DecodeBudget::Reservation> reserved =
        budget.Reserve(JpegDecodeBytes(*header, divisor));
    if (!reserved) {
        return std::nullopt;
    }
    std::optional<QImage> image = DecodeJpeg(file, divisor, shouldStop);
    if (!image) {
        return std::nullopt;
    }
    // At a decoder scale the decoder rounds each side up; the picture is held at its size divided and
    // rounded down, resampled smoothly to it.
    const QSize scaled(stored.width() / divisor, stored.height() / divisor);
    if (image->size() != scaled) {
        *image = image->scaled(scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QImage shown = Upright(std::move(*image), header->orientation);
    if (shown.isNull()) {  // a copy the toolkit could not make
        return std::nullopt;
    }
    return Picture{upright, std::move(shown), divisor, true};
}

// The file as Qt's readers read it; once the decode proper begins, every read fails when `shouldStop`
// says so, and a reader that reads a picture a part at a time stops at its next read.
class StoppableFile : public QFile {
public:
    void StopWhen(const std::function<bool()>* shouldStop) { shouldStop_ = shouldStop; }

protected:
    qint64 readData(char* data, qint64 size) override {
        return shouldStop_ != nullptr && *shouldStop_ && (*shouldStop_)() ? -1 : QFile::readData(data, size);
    }

private:
    const std::function<bool()>* shouldStop_ = nullptr;
};

// Any other picture (a BMP, or whatever else Qt's readers recognise in the file), decoded whole by Qt
// within the budget; refused before that when its header claims more than `mostPixels`, and after it
// when `shouldStop` said to stop while it was read. `format`, when given, is tried first: a format such
// as TGA that has no mark of its own at its start is known by it.
std::optional<Picture> LoadOther(texture::FileSource& file, texture::DecodeBudget& budget,
                                 const std::function<bool()>& shouldStop = {},
                                 std::uint64_t mostPixels = kAnyPixels, const QByteArray& format = {}) {
    if (IsCutBmp(file)) {
        return std::nullopt;
    }
    StoppableFile device;
    if (!device.open(file.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        return std::nullopt;
    }
    QImageReader reader(&device, format);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid() ||
        static_cast<std::uint64_t>(stored.width()) * static_cast<std::uint64_t>(stored.height()) >
            mostPixels) {
        return std::nullopt;
    }
    const bool turned = (reader.transformation() & QImageIOHandler::TransformationRotate90) != 0;
    const std::optional<texture::DecodeBudget::Reservation> reserved =
        budget.Reserve(2 * WholeDecodeBytes(stored, reader.imageFormat()));
    if (!reserved) {
        return std::nullopt;
    }
    device.StopWhen(&shouldStop);
    QImage image = reader.read();
    if (image.isNull() || (shouldStop && shouldStop())) {
        return std::nullopt;
    }
    return Picture{turned ? stored.transposed() : stored, Opaque(std::move(image)), 1, false};
}

}  // namespace

int ScaleDivisor(QSize size, QSize target) {
    int divisor = 1;
    // A side never shrinks to nothing: a picture one pixel wide is still one pixel wide at every scale.
    while (divisor < 8 && size.width() / (divisor * 2) >= std::max(target.width(), 1) &&
           size.height() / (divisor * 2) >= std::max(target.height(), 1)) {
        divisor *= 2;
    }
    return divisor;
}

std::optional<Picture> LoadPicture(const QString& path, QSize limit, texture::DecodeBudget& budget,
                                   const std::function<bool()>& shouldStop) {
    texture::FileSource file(files::EncodeName(path).constData());
    if (!file.IsOpen()) {
        return std::nullopt;
    }
    return StartsAsJpeg(file) ? LoadJpeg(file, limit, budget, shouldStop)
                              : LoadOther(file, budget, shouldStop);
}

std::optional<QImage> LoadWhole(const QString& path, std::int64_t mostPixels, texture::DecodeBudget& budget) {
    texture::FileSource file(files::EncodeName(path).constData());
    if (!file.IsOpen() || mostPixels < 0) {
        return std::nullopt;
    }
    const auto most = static_cast<std::uint64_t>(mostPixels);
    const QByteArray ending = path.sliced(path.lastIndexOf(u'.') + 1).toLower().toLatin1();
    // At the largest limit a JPEG is decoded at its own scale.
    std::optional<Picture> picture =
        StartsAsJpeg(file)
            ? LoadJpeg(file, QSize(texture::kMaxCanvasSide, texture::kMaxCanvasSide), budget, {}, most)
            : LoadOther(file, budget, {}, most, ending);
    if (!picture) {
        return std::nullopt;
    }
    return std::move(picture->image);
}

bool PaintTexture(const texture::TextureReader& reader, texture::ByteSource& file,
                  const texture::TextureLayout& layout, std::vector<std::uint8_t>& pixels,
                  const std::function<QImage*(int, int)>& canvasFor, std::optional<texture::Refusal>& refusal,
                  texture::DecodeBudget& budget) {
    const auto reserved = budget.Reserve(texture::DecodeBytes(layout));
    if (!reserved) {
        return false;
    }
    if (const auto data = texture::ReadPixelData(file, layout, pixels); !data) {
        refusal = data.Reason();
        return false;
    }
    QImage* canvas = canvasFor(layout.width, layout.height);
    if (canvas == nullptr) {
        return false;
    }
    // Every canvas pixel is painted (black where no stored pixel lands), so the canvas's memory is
    // reused as it is.
    reader.Paint(layout, pixels,
                 {reinterpret_cast<std::uint32_t*>(canvas->bits()), canvas->bytesPerLine() / 4});
    return true;
}

}  // namespace tamsel::picture

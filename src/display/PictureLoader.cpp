#include "display/PictureLoader.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>

#include "display/FitRule.h"
#include "display/JpegHeader.h"
#include "platform/FileNames.h"
#include "texture/FileSource.h"

namespace tamsel::display {

namespace {

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

std::optional<Picture> LoadPicture(const QString& path, QSize limit, texture::DecodeBudget& budget) {
    texture::FileSource file(platform::EncodeName(path).constData());
    QFile device;
    if (!file.IsOpen() ||
        !device.open(file.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        return std::nullopt;
    }
    QImageReader reader(&device);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid()) {
        return std::nullopt;
    }
    const bool turned = (reader.transformation() & QImageIOHandler::TransformationRotate90) != 0;
    const QSize upright = turned ? stored.transposed() : stored;
    const std::optional<QSize> fitted = FittedSize(upright, limit);

    // What the decode will take, from the header alone, before anything is decoded.
    std::uint64_t needed = 0;
    int divisor = 1;
    const bool scalable = reader.format() == "jpeg";
    if (scalable) {
        const std::optional<JpegHeader> header = ReadJpegHeader(file);
        if (!header) {
            return std::nullopt;
        }
        // A picture in more scans than any encoder writes would hold the decoder for seconds on end.
        const auto pixels =
            static_cast<std::uint64_t>(header->width) * static_cast<std::uint64_t>(header->height);
        const auto mostScans = static_cast<int>(
            std::min<std::uint64_t>(kMostScanPixels / std::max<std::uint64_t>(pixels, 1), 65536));
        if (header->multipleScans && CountScans(file, mostScans) > mostScans) {
            return std::nullopt;
        }
        divisor = fitted ? ScaleDivisor(upright, *fitted) : 1;
        if (divisor > 1) {
            reader.setScaledSize(QSize(stored.width() / divisor, stored.height() / divisor));
        }
        needed = JpegDecodeBytes(*header, divisor);
    } else {
        needed = 2 * WholeDecodeBytes(stored, reader.imageFormat());
    }
    const std::optional<texture::DecodeBudget::Reservation> reserved = budget.Reserve(needed);
    if (!reserved) {
        return std::nullopt;
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return std::nullopt;
    }
    return Picture{upright, Opaque(std::move(image)), divisor, scalable};
}

bool PaintTexture(const texture::TextureReader& reader, texture::ByteSource& file,
                  const texture::TextureLayout& layout, std::vector<std::uint8_t>& pixels,
                  const std::function<QImage*(int, int)>& canvasFor, texture::DecodeBudget& budget) {
    const auto reserved = budget.Reserve(texture::DecodeBytes(layout));
    if (!reserved || !texture::ReadPixelData(file, layout, pixels)) {
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

}  // namespace tamsel::display

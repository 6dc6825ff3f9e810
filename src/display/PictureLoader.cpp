#include "display/PictureLoader.h"

#include <QFile>
#include <QImageReader>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "display/FitRule.h"
#include "display/JpegHeader.h"
#include "platform/FileNames.h"
#include "texture/FileSource.h"

namespace tamsel::display {

namespace {

// The largest decoder scale divisor (1, 2, 4 or 8) at which a picture of `size` still gives at
// least `target`.
int ScaleDivisor(QSize size, QSize target) {
    int divisor = 1;
    while (divisor < 8 && size.width() / (divisor * 2) >= target.width() &&
           size.height() / (divisor * 2) >= target.height()) {
        divisor *= 2;
    }
    return divisor;
}

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
    if (reader.format() == "jpeg") {
        const std::optional<JpegHeader> header = ReadJpegHeader(file);
        if (!header) {
            return std::nullopt;
        }
        const int divisor = fitted ? ScaleDivisor(upright, *fitted) : 1;
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
    return Picture{upright, Opaque(std::move(image))};
}

PicturePrefetch::~PicturePrefetch() {
    Clear();
}

void PicturePrefetch::Start(const QStringList& paths, QSize limit) {
    for (const QString& path : paths) {
        pending_.push_back(
            {path, limit, QtConcurrent::run([path, limit] { return LoadPicture(path, limit); })});
    }
}

std::optional<Picture> PicturePrefetch::Take(const QString& path, QSize limit) {
    const auto found = std::find_if(pending_.begin(), pending_.end(), [&](const Pending& pending) {
        return pending.path == path && pending.limit == limit;
    });
    if (found == pending_.end()) {
        return LoadPicture(path, limit);
    }
    std::optional<Picture> picture = found->picture.result();
    pending_.erase(found);
    return picture;
}

void PicturePrefetch::Clear() {
    for (Pending& pending : pending_) {
        pending.picture.waitForFinished();
    }
    pending_.clear();
}

}  // namespace tamsel::display

#include "display/FitRule.h"

#include "platform/PictureBox.h"
#include "platform/Rounding.h"
#include "texture/ReducedPaint.h"

namespace tamsel::display {

bool Fits(QSize picture, QSize limit) {
    return picture.height() <= limit.height() && picture.width() <= limit.width();
}

std::optional<QSize> FittedSize(QSize picture, QSize limit) {
    if (limit.width() < 0 || limit.height() < 0) {
        return std::nullopt;
    }
    if (Fits(picture, limit)) {
        return picture;
    }
    if (picture.width() == 0 || limit.width() == 0 || limit.height() == 0) {
        return std::nullopt;
    }
    const auto pictureWidth = static_cast<float>(picture.width());
    const auto pictureHeight = static_cast<float>(picture.height());
    const auto boxWidth = static_cast<float>(limit.width());
    const auto boxHeight = static_cast<float>(limit.height());
    const float aspect = pictureHeight / pictureWidth;
    const float widthRatio = pictureWidth / boxWidth;
    const float heightRatio = pictureHeight / boxHeight;
    if (widthRatio > heightRatio) {
        return QSize(limit.width(), platform::RoundHalfEven(boxWidth * aspect));
    }
    return QSize(platform::RoundHalfEven(boxHeight / aspect), limit.height());
}

std::optional<QImage> FittedPicture(const QImage& staged, QSize size, QSize limit) {
    const std::optional<QSize> shown = FittedSize(size, limit);
    if (!shown) {
        return std::nullopt;
    }
    return Fits(size, limit) ? staged : platform::Halftone(staged, *shown);
}

int TextureReduction(QSize size, QSize limit) {
    const std::optional<QSize> fitted = FittedSize(size, limit);
    return !fitted || Fits(size, limit)
               ? 1
               : texture::ReductionFor(size.width(), size.height(), fitted->width(), fitted->height());
}

std::optional<QImage> FittedTexture(const QImage& canvas, QSize limit) {
    const int k = TextureReduction(canvas.size(), limit);
    if (k == 1) {
        std::optional<QImage> shown = FittedPicture(canvas, canvas.size(), limit);
        return shown && Fits(canvas.size(), limit) ? std::optional(shown->copy()) : shown;
    }
    QImage reduced(texture::Reduced(canvas.width(), k), texture::Reduced(canvas.height(), k),
                   QImage::Format_RGB32);
    if (reduced.isNull()) {
        return std::nullopt;
    }
    for (int y = 0; y < reduced.height(); ++y) {
        texture::ReduceRows(reinterpret_cast<const std::uint32_t*>(canvas.constScanLine(y * k)),
                            canvas.bytesPerLine() / 4, canvas.width(), std::min(k, canvas.height() - y * k),
                            k, reinterpret_cast<std::uint32_t*>(reduced.scanLine(y)));
    }
    return FittedPicture(reduced, canvas.size(), limit);
}

}  // namespace tamsel::display

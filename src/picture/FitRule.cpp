#include "picture/FitRule.h"

#include "picture/Rounding.h"
#include "texture/ReducedPaint.h"

namespace tamsel::picture {

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
        return QSize(limit.width(), RoundHalfEven(boxWidth * aspect));
    }
    return QSize(RoundHalfEven(boxHeight / aspect), limit.height());
}

QImage Halftone(const QImage& source, QSize size) {
    return source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

std::optional<QImage> FittedPicture(const QImage& staged, QSize size, QSize limit) {
    const std::optional<QSize> shown = FittedSize(size, limit);
    if (!shown) {
        return std::nullopt;
    }
    return Fits(size, limit) ? staged : Halftone(staged, *shown);
}

int TextureReduction(QSize size, QSize limit) {
    const std::optional<QSize> fitted = FittedSize(size, limit);
    return !fitted || Fits(size, limit)
               ? 1
               : texture::ReductionFor(size.width(), size.height(), fitted->width(), fitted->height());
}

}  // namespace tamsel::picture

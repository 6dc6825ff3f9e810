#include "display/FitRule.h"

#include "platform/PictureBox.h"
#include "platform/Rounding.h"

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

}  // namespace tamsel::display

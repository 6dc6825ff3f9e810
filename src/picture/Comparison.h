#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

// A texture beside the picture it was made from: which file that is, and how far the two differ.
namespace tamsel::picture {

// Of `names` (the files of a folder), the source of the texture `textureName`: the one with the same
// base name, in any case, ending in ".png", ".tga", ".bmp" or ".jpg", in any case. Preferred in that
// order of endings, then a base name in the texture's own case, then the first of `names`.
std::optional<QString> SourceNameFor(const QString& textureName, const QStringList& names);

// How a source differs from its texture over the area the two share, both from their top-left
// corners, in red, green and blue (alpha is ignored).
struct Difference {
    QSize texture;
    QSize source;
    QSize shared;                  // the area compared
    std::array<int, 3> largest{};  // red, green, blue: the largest absolute difference of a channel
    std::array<double, 3> mean{};  // red, green, blue: the mean absolute difference over `shared`
    std::int64_t differing = 0;    // the texels of `shared` that differ in any channel
    bool operator==(const Difference&) const = default;
};

Difference DifferenceOf(const QImage& texture, const QImage& source);

}  // namespace tamsel::picture

#include "picture/Comparison.h"

#include <algorithm>
#include <cstdlib>

namespace tamsel::picture {

namespace {

// The endings a source may have, in the order they are preferred.
constexpr std::array<QLatin1StringView, 4> kSourceEndings{QLatin1StringView("png"), QLatin1StringView("tga"),
                                                          QLatin1StringView("bmp"), QLatin1StringView("jpg")};

QString BaseOf(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.first(dot);
}

// Where an ending stands in the order of preference; nothing for another ending.
std::optional<std::size_t> EndingRank(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0) {
        return std::nullopt;
    }
    const QStringView ending = QStringView(name).sliced(dot + 1);
    for (std::size_t rank = 0; rank < kSourceEndings.size(); ++rank) {
        if (ending.compare(kSourceEndings[rank], Qt::CaseInsensitive) == 0) {
            return rank;
        }
    }
    return std::nullopt;
}

// A picture as 32-bit pixels, without a copy when it is one already.
QImage AsRgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
               ? image
               : image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

std::optional<QString> SourceNameFor(const QString& textureName, const QStringList& names) {
    const QString base = BaseOf(textureName);
    std::optional<QString> best;
    std::size_t bestRank = 0;
    for (const QString& name : names) {
        const std::optional<std::size_t> ending = EndingRank(name);
        const QString candidate = BaseOf(name);
        if (!ending || candidate.compare(base, Qt::CaseInsensitive) != 0) {
            continue;
        }
        // Two ranks an ending: its own case of the base name first.
        const std::size_t rank = 2 * *ending + (candidate == base ? 0 : 1);
        if (!best || rank < bestRank) {
            best = name;
            bestRank = rank;
        }
    }
    return best;
}

Difference DifferenceOf(const QImage& texture, const QImage& source) {
    Difference difference;
    difference.texture = texture.size();
    difference.source = source.size();
    difference.shared = texture.size().boundedTo(source.size());
    const QSize& shared = difference.shared;
    if (shared.isEmpty()) {
        return difference;
    }
    const QImage first = AsRgb32(texture);
    const QImage second = AsRgb32(source);
    std::array<std::int64_t, 3> sums{};
    for (int y = 0; y < shared.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(first.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(second.constScanLine(y));
        for (int x = 0; x < shared.width(); ++x) {
            const std::array<int, 3> apart{std::abs(qRed(a[x]) - qRed(b[x])),
                                           std::abs(qGreen(a[x]) - qGreen(b[x])),
                                           std::abs(qBlue(a[x]) - qBlue(b[x]))};
            for (std::size_t channel = 0; channel < apart.size(); ++channel) {
                sums[channel] += apart[channel];
                difference.largest[channel] = std::max(difference.largest[channel], apart[channel]);
            }
            difference.differing += (apart[0] | apart[1] | apart[2]) != 0 ? 1 : 0;
        }
    }
    const auto texels = static_cast<double>(shared.width()) * static_cast<double>(shared.height());
    for (std::size_t channel = 0; channel < sums.size(); ++channel) {
        difference.mean[channel] = static_cast<double>(sums[channel]) / texels;
    }
    return difference;
}

}  // namespace tamsel::picture

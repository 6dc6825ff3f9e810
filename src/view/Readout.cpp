#include "view/Readout.h"

#include "texts/Texts.h"
#include "texture/PixelKernels.h"
#include "texture/WordLayout.h"

#include <array>

namespace tamsel::view {

using texts::Text;

QRgb RgbOf(Binary::ColourValue colour) {
    const auto value = static_cast<std::uint32_t>(colour);
    return qRgb(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

QString ColourHex(QRgb colour) {
    return QStringLiteral("%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

QRgb ColourOfTexel(const std::optional<texture::StoredTexel>& stored, std::uint8_t format,
                   const std::optional<picture::Palette>& palette) {
    if (!stored) {
        return qRgb(0, 0, 0);
    }
    if (stored->fourBit) {
        return palette ? RgbOf((*palette)[stored->value & 0x0F]) : qRgb(0, 0, 0);
    }
    const std::array<std::uint8_t, 2> word{static_cast<std::uint8_t>(stored->value & 0xFF),
                                           static_cast<std::uint8_t>(stored->value >> 8)};
    std::uint32_t pixel = 0;
    Binary::ConvertWords(word, format, std::span(&pixel, 1));
    return pixel;
}

QStringList ReadoutLines(QPoint texel, std::optional<QRgb> colour,
                         const std::optional<texture::StoredTexel>& stored, std::uint8_t format) {
    QStringList lines{Text(texts::kReadoutTexel).arg(texel.x()).arg(texel.y())};
    if (colour) {
        lines << Text(texts::kReadoutColour)
                     .arg(ColourHex(*colour))
                     .arg(qRed(*colour))
                     .arg(qGreen(*colour))
                     .arg(qBlue(*colour));
    }
    if (!stored) {
        return lines;
    }
    if (stored->fourBit) {
        lines << Text(texts::kReadoutIndex).arg(stored->value);
        return lines;
    }
    const QString word = QStringLiteral("%1").arg(stored->value, 4, 16, QLatin1Char('0')).toUpper();
    const Binary::WordLayout* layout = Binary::WordLayoutOf(format);
    if (layout == nullptr) {
        lines << Text(texts::kReadoutWordBlack).arg(word);
        return lines;
    }
    const auto field = [&](const Binary::ChannelField& f) {
        return (stored->value >> f.shift) & ((1U << f.bits) - 1U);
    };
    const unsigned top = layout->red.shift + layout->red.bits;
    if (top >= 16) {
        lines << Text(texts::kReadoutWord)
                     .arg(word)
                     .arg(field(layout->red))
                     .arg(field(layout->green))
                     .arg(field(layout->blue));
    } else {
        lines << Text(texts::kReadoutWordIgnored)
                     .arg(word)
                     .arg(stored->value >> top, static_cast<int>(16 - top), 2, QLatin1Char('0'))
                     .arg(field(layout->red))
                     .arg(field(layout->green))
                     .arg(field(layout->blue));
    }
    return lines;
}

}  // namespace tamsel::view

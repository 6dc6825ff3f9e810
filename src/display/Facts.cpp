#include "display/Facts.h"

#include <QLocale>

#include "texture/TextureFacts.h"

namespace tamsel::display {

namespace {

QString Words(std::string_view words) {
    return QString::fromUtf8(words.data(), static_cast<qsizetype>(words.size()));
}

}  // namespace

Facts FactsOf(browse::ImageKind kind, const HeldPicture& held, const QString& paletteFrom) {
    Facts facts;
    const texture::TextureLayout* layout = held.layout ? &*held.layout : nullptr;
    if (layout != nullptr) {
        facts.lines << QStringLiteral("%1 texture, %2")
                           .arg(Words(texture::ContainerWords(layout->container)),
                                Words(texture::PixelFormatWords(*layout)));
    } else {
        facts.lines << (kind == browse::ImageKind::Bmp ? QStringLiteral("BMP picture")
                                                       : QStringLiteral("JPEG picture"));
    }
    facts.lines << QStringLiteral("%1 x %2 pixels").arg(held.size.width()).arg(held.size.height());
    facts.lines << QStringLiteral("%1 bytes").arg(QLocale::c().toString(held.stamp.size));
    if (layout == nullptr) {
        return facts;
    }
    if (layout->paletteSource != texture::PaletteSource::None) {
        facts.lines << QStringLiteral("palette: %1").arg(Words(texture::PaletteWords(layout->paletteSource)));
    } else if (!layout->fourBit) {
        facts.lines << QStringLiteral("palette: none");
    } else if (paletteFrom.isEmpty()) {
        facts.lines << QStringLiteral("palette: none (black)");
    } else {
        facts.lines << QStringLiteral("palette: carried over from %1").arg(paletteFrom);
    }
    if (layout->fourBit) {
        facts.swatches = held.paletteTaken ? held.paletteTaken : held.paletteLoaded;
    }
    return facts;
}

}  // namespace tamsel::display

#include "view/Facts.h"

#include <QLocale>

#include "texts/Texts.h"
#include "texture/TextureFacts.h"

namespace tamsel::view {

namespace {

QString Words(std::string_view words) {
    return QString::fromUtf8(words.data(), static_cast<qsizetype>(words.size()));
}

}  // namespace

using texts::Text;

Facts FactsOf(texture::FileKind kind, const picture::HeldPicture& held, const QString& paletteFrom) {
    Facts facts;
    const texture::TextureLayout* layout = held.layout ? &*held.layout : nullptr;
    if (layout != nullptr) {
        facts.lines << Text(texts::kFactsTexture)
                           .arg(Words(texture::ContainerWords(layout->container)),
                                Words(texture::PixelFormatWords(*layout)));
    } else {
        facts.lines << Text(kind == texture::FileKind::Bmp ? texts::kFactsBmp : texts::kFactsJpeg);
    }
    facts.lines << Text(texts::kFactsSize).arg(held.size.width()).arg(held.size.height());
    facts.lines << Text(texts::kFactsBytes).arg(QLocale::c().toString(held.stamp.size));
    if (layout == nullptr) {
        return facts;
    }
    if (layout->paletteSource != texture::PaletteSource::None) {
        facts.lines << Text(texts::kFactsPalette).arg(Words(texture::PaletteWords(layout->paletteSource)));
    } else if (!layout->fourBit) {
        facts.lines << Text(texts::kFactsNoPalette);
    } else if (paletteFrom.isEmpty()) {
        facts.lines << Text(texts::kFactsBlackPalette);
    } else {
        facts.lines << Text(texts::kFactsCarriedPalette).arg(paletteFrom);
    }
    if (layout->fourBit) {
        facts.swatches = held.paletteTaken ? held.paletteTaken : held.paletteLoaded;
    }
    return facts;
}

Facts RefusalFacts(const QString& name, const QString& reason) {
    Facts facts;
    facts.lines = {name, Text(texts::kFactsRefused).arg(reason)};
    return facts;
}

}  // namespace tamsel::view

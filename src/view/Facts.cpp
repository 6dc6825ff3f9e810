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

Facts SourceFacts(const QString& sourceName, const QString& textureName,
                  const picture::Difference& difference) {
    Facts facts;
    facts.lines << Text(texts::kFactsSource).arg(sourceName, textureName);
    facts.lines << Text(texts::kFactsSize).arg(difference.source.width()).arg(difference.source.height());
    if (difference.source != difference.texture) {
        facts.lines << Text(texts::kFactsSizesDiffer)
                           .arg(difference.texture.width())
                           .arg(difference.texture.height())
                           .arg(difference.source.width())
                           .arg(difference.source.height());
    }
    const QLocale c = QLocale::c();
    facts.lines << Text(texts::kFactsDiffering)
                       .arg(c.toString(difference.differing))
                       .arg(difference.shared.width())
                       .arg(difference.shared.height());
    const auto [red, green, blue] = difference.largest;
    facts.lines << Text(texts::kFactsLargestDifference).arg(red).arg(green).arg(blue);
    const auto mean = [&c](double value) { return c.toString(value, 'f', 2); };
    facts.lines << Text(texts::kFactsMeanDifference)
                       .arg(mean(difference.mean[0]), mean(difference.mean[1]), mean(difference.mean[2]));
    return facts;
}

Facts RefusalFacts(const QString& name, const QString& reason) {
    Facts facts;
    facts.lines = {name, Text(texts::kFactsRefused).arg(reason)};
    return facts;
}

}  // namespace tamsel::view

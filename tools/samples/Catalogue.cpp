#include "samples/Catalogue.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tamsel::samples {
namespace {

constexpr std::int32_t kCardWidth = 64;
constexpr std::int32_t kCardHeight = 48;
constexpr std::int32_t kOddWidth = 37;
constexpr std::int32_t kOddHeight = 23;
// MIP files never use the image header's Pitch; the samples give it a value no layout would have.
constexpr std::int32_t kUnusedPitch = 0x00C0FFEE;

Sample Good(std::string name, std::string extension, std::string description, Bytes bytes,
            std::int32_t result, Picture picture) {
    return Sample{std::move(name),
                  std::move(extension),
                  std::move(description),
                  std::move(bytes),
                  Expected{static_cast<std::int16_t>(result), std::move(picture)},
                  {},
                  {},
                  0};
}

Sample Bad(std::string name, std::string extension, std::string description, Bytes bytes,
           std::string reason) {
    return Sample{std::move(name),
                  std::move(extension),
                  std::move(description),
                  std::move(bytes),
                  std::nullopt,
                  std::move(reason),
                  {},
                  0};
}

// A MIP file the reader refuses. It loads its palette first unless its ResultValue, which comes before
// the palette, refuses it.
Sample BadMip(std::string name, std::string description, const MipFields& fields,
              std::span<const std::uint8_t> data, std::string reason,
              std::optional<std::int32_t> declaredSize = std::nullopt) {
    Sample sample = Bad(std::move(name), ".mip", std::move(description), MipFile(fields, data, declaredSize),
                        std::move(reason));
    sample.paletteEnd = std::in_range<std::int16_t>(fields.resultValue) ? PaletteEnd(fields) : 0;
    return sample;
}

const Sample& Find(const std::vector<Sample>& samples, const std::string& name) {
    return *std::find_if(samples.begin(), samples.end(), [&name](const Sample& s) { return s.name == name; });
}

Bytes Prefix(const Sample& sample, std::size_t length) {
    return Bytes(sample.bytes.begin(), sample.bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

bool HasChannels(std::uint8_t format) {
    return format >= kFormat565 && format <= kFormat4444;
}

// A bare image of a 16-bit test card whose rows carry `paddingWords` words after the picture.
Sample BareCard(std::string name, std::string extension, std::string description, ImageFields image,
                std::int32_t paddingWords) {
    Picture picture = DrawTestCard(image.width, image.height, BitsOfFormat(image.format));
    Bytes bytes = BareImageFile(image, EncodeWords(picture, image.format, paddingWords));
    return Good(std::move(name), std::move(extension), std::move(description), std::move(bytes), 1,
                std::move(picture));
}

// A bare image whose stored rows, the rows of `stored`, do not match its canvas: its first `shownRows`
// rows show, cut to the canvas width.
Sample BareStored(std::string name, std::string description, ImageFields image, const Picture& stored,
                  std::int32_t shownRows) {
    Bytes bytes = BareImageFile(image, EncodeWords(stored, image.format));
    return Good(std::move(name), ".pbf", std::move(description), std::move(bytes), 1,
                PlaceTopLeft(stored, image.width, image.height, shownRows));
}

// A MIP file of a 16-bit test card. Image formats without channels show black.
Sample Mip16(std::string name, std::string extension, std::string description, const MipFields& fields) {
    const ImageFields& image = fields.image;
    const std::uint8_t encoding = HasChannels(image.format) ? image.format : kFormat565;
    Picture picture = DrawTestCard(image.width, image.height, BitsOfFormat(encoding));
    Bytes bytes = MipFile(fields, EncodeWords(picture, encoding));
    Sample sample = Good(
        std::move(name), std::move(extension), std::move(description), std::move(bytes), fields.resultValue,
        HasChannels(image.format) ? std::move(picture) : BlankPicture(image.width, image.height));
    sample.paletteEnd = PaletteEnd(fields);
    return sample;
}

// A MIP file of the 4-bit indices `data` of `stored`; its canvas shows `stored`, cut to the canvas, in
// the colours of palette `variant`.
Sample Mip4(std::string name, std::string description, const MipFields& fields, const IndexedPicture& stored,
            std::span<const std::uint8_t> data, unsigned variant) {
    Picture coloured = Colour(stored, DemoPalette(variant));
    Sample sample =
        Good(std::move(name), ".mip", std::move(description), MipFile(fields, data), fields.resultValue,
             PlaceTopLeft(coloured, fields.image.width, fields.image.height, fields.image.height));
    sample.paletteEnd = PaletteEnd(fields);
    return sample;
}

MipFields Fields16(std::uint8_t mipFormat, std::uint8_t imageFormat, std::int32_t result, std::int32_t width,
                   std::int32_t height) {
    MipFields fields;
    fields.mipFormat = mipFormat;
    fields.resultValue = result;
    fields.image = {imageFormat, width, height, kUnusedPitch};
    return fields;
}

MipFields Fields4(std::uint8_t mipFormat, std::uint8_t imageFormat, std::int32_t result, PaletteChunk chunk,
                  unsigned variant, std::int32_t width = kCardWidth, std::int32_t height = kCardHeight) {
    MipFields fields = Fields16(mipFormat, imageFormat, result, width, height);
    fields.paletteChunk = chunk;
    fields.palette = DemoPalette(variant);
    return fields;
}

// The indexed test card as a 4-bit MIP file that carries (or relies on) palette `variant`.
Sample MipCard4(std::string name, std::string description, const MipFields& fields, unsigned variant) {
    const IndexedPicture card = DrawIndexedTestCard(fields.image.width, fields.image.height);
    return Mip4(std::move(name), std::move(description), fields, card, EncodeNibbles(card), variant);
}

// A 4-bit MIP file without a palette, whose colours come from the palette that `before` leave.
Sample CarriedPalette(std::string name, std::string description, std::vector<std::string> before,
                      unsigned variant, std::int32_t result) {
    Sample sample = MipCard4(std::move(name), std::move(description),
                             Fields4(2, 6, result, PaletteChunk::None, variant), variant);
    sample.decodedBefore = std::move(before);
    return sample;
}

Sample Wrapped(const Sample& mip, std::string name, std::size_t skippedSize) {
    Bytes skipped(skippedSize);
    for (std::size_t k = 0; k < skippedSize; ++k) {
        skipped[k] = static_cast<std::uint8_t>(0xA0 + k);
    }
    Sample wrapper = mip;
    wrapper.name = std::move(name);
    wrapper.extension = ".srb";
    wrapper.description =
        "SRB wrapper, " + std::to_string(skippedSize) + " skipped bytes, around: " + mip.description;
    wrapper.bytes = SrbFile(mip.bytes, skipped);
    wrapper.paletteEnd = mip.paletteEnd == 0 ? 0 : SrbPreambleSize(skippedSize) + mip.paletteEnd;
    return wrapper;
}

void AddBareImages(std::vector<Sample>& out) {
    const std::int32_t w = kCardWidth;
    const std::int32_t h = kCardHeight;
    out.push_back(BareCard("bare-565", ".pbf", "bare image, 5:6:5, Pitch = 2 x Width", {3, w, h, 2 * w}, 0));
    out.push_back(
        BareCard("bare-1555", ".pbf", "bare image, 1:5:5:5, Pitch = 2 x Width", {4, w, h, 2 * w}, 0));
    out.push_back(
        BareCard("bare-4444", ".pbf", "bare image, 4:4:4:4, Pitch = 2 x Width", {5, w, h, 2 * w}, 0));
    out.push_back(BareCard("bare-565-padded", ".pbf", "bare image, 5:6:5, two padding pixels a row",
                           {3, w, h, 2 * w + 4}, 2));
    out.push_back(BareCard("bare-1555-padded", ".pbf", "bare image, 1:5:5:5, two padding pixels a row",
                           {4, w, h, 2 * w + 4}, 2));
    out.push_back(BareCard("bare-4444-padded", ".pbf", "bare image, 4:4:4:4, two padding pixels a row",
                           {5, w, h, 2 * w + 4}, 2));
    out.push_back(BareCard("bare-odd-pitch", ".pbf",
                           "bare image, 4:4:4:4, Pitch = 2 x Width + 3: one padding pixel",
                           {5, w, h, 2 * w + 3}, 1));
    out.push_back(BareCard("bare-odd-size", ".pbf", "bare image, 5:6:5, 37 x 23",
                           {3, kOddWidth, kOddHeight, 2 * kOddWidth}, 0));
    out.push_back(BareCard("bare-named-mip", ".mip", "bare image in a file named .mip: the tag decides",
                           {4, kOddWidth, kOddHeight, 2 * kOddWidth}, 0));

    const Picture card = DrawTestCard(w, h, BitsOfFormat(kFormat565));
    Bytes words = EncodeWords(card, kFormat565);
    out.push_back(BareStored("bare-narrow-pitch", "bare image, Pitch / 2 = 30 < Width = 40: 30 pixels a row",
                             {3, 40, 24, 60}, DrawTestCard(30, 24, BitsOfFormat(kFormat565)), 24));
    out.push_back(BareStored("bare-negative-pitch",
                             "bare image, Pitch -24: only the first 12 pixels of row 0", {3, 20, 10, -24},
                             DrawTestCard(12, 3, BitsOfFormat(kFormat565)), 1));
    out.push_back(BareStored("bare-long-data", "bare image, pixel data 8 rows longer than the canvas",
                             {3, w, h, 2 * w}, DrawTestCard(w, h + 8, BitsOfFormat(kFormat565)), h));
    out.push_back(
        Good("bare-short-data", ".pbf", "bare image, pixel data for 2.5 rows: the rest is black",
             BareImageFile({3, w, h, 2 * w},
                           std::span(words).first(std::size_t{2} * static_cast<std::size_t>(2 * w + w / 2))),
             1, KeepLeading(card, 2 * w + w / 2)));
    Bytes oddSize = words;
    oddSize.push_back(0xEE);
    out.push_back(Good("bare-odd-data-size", ".pbf",
                       "bare image, pixel data Size odd: the last byte is ignored",
                       BareImageFile({3, w, h, 2 * w}, oddSize), 1, card));
    const Bytes fewWords = EncodeWords(DrawTestCard(4, 2, BitsOfFormat(kFormat565)), kFormat565);
    out.push_back(Good("bare-zero-width", ".pbf", "bare image 0 x 5 with Pitch 8: an empty canvas",
                       BareImageFile({3, 0, 5, 8}, fewWords), 1, BlankPicture(0, 5)));
    out.push_back(Good("bare-zero-height", ".pbf", "bare image 16 x 0: an empty canvas",
                       BareImageFile({3, 16, 0, 32}, fewWords), 1, BlankPicture(16, 0)));
}

void AddMipFiles(std::vector<Sample>& out) {
    const std::int32_t w = kCardWidth;
    const std::int32_t h = kCardHeight;
    out.push_back(MipCard4("mip-palette-first", "MIP, 4-bit, \"PAMC\" palette ahead of the image header",
                           Fields4(0, 9, 5, PaletteChunk::BeforeImage, 0), 0));
    out.push_back(MipCard4("mip-image-first-palette",
                           "MIP, 4-bit, palette chunk after an image header of format 2",
                           Fields4(1, 2, 100, PaletteChunk::AfterImage, 1), 1));
    out.push_back(MipCard4("mip-palette-first-odd", "MIP, 4-bit, \"PAMC\" palette, 37 x 23",
                           Fields4(2, 3, 6, PaletteChunk::BeforeImage, 5, kOddWidth, kOddHeight), 5));
    out.push_back(MipCard4("mip-image-first-palette-odd",
                           "MIP, 4-bit, palette chunk after the image header, 37 x 23",
                           Fields4(0, 0, 7, PaletteChunk::AfterImage, 6, kOddWidth, kOddHeight), 6));

    const MipFields shortFields = Fields4(0, 1, 8, PaletteChunk::AfterImage, 1);
    const IndexedPicture card = DrawIndexedTestCard(w, h);
    const Bytes nibbles = EncodeNibbles(card);
    Sample shortData =
        Mip4("mip-4bit-short-data", "MIP, 4-bit, pixel data for 1000 pixels: the rest is black", shortFields,
             card, std::span(nibbles).first(500), 1);
    shortData.expected->picture = KeepLeading(shortData.expected->picture, 1000);
    out.push_back(std::move(shortData));
    const IndexedPicture tall = DrawIndexedTestCard(w, h + 12);
    out.push_back(Mip4("mip-4bit-long-data", "MIP, 4-bit, pixel data 12 rows longer than the canvas",
                       shortFields, tall, EncodeNibbles(tall), 1));

    out.push_back(Mip16("mip-565", ".mip", "MIP, 16-bit 5:6:5 (MIP format 4 only says 16-bit)",
                        Fields16(4, 3, 9, w, h)));
    out.push_back(Mip16("mip-1555", ".mip", "MIP, 16-bit 1:5:5:5 (MIP format 5 only says 16-bit)",
                        Fields16(5, 4, 10, w, h)));
    out.push_back(Mip16("mip-4444", ".mip", "MIP, 16-bit 4:4:4:4 (MIP format 3 only says 16-bit)",
                        Fields16(3, 5, 11, w, h)));
    out.push_back(Mip16("mip-565-odd", ".mip", "MIP, 16-bit 5:6:5, 37 x 23",
                        Fields16(3, 3, 12, kOddWidth, kOddHeight)));
    out.push_back(Mip16("mip-format-6-black", ".mip", "MIP, 16-bit under image format 6: black",
                        Fields16(7, 6, 13, w, h)));
    MipFields blackWithPalette = Fields4(3, 2, 14, PaletteChunk::AfterImage, 2);
    out.push_back(Mip16("mip-16bit-palette-chunk", ".mip",
                        "MIP, 16-bit pixels under image format 2 (black) after a palette chunk",
                        blackWithPalette));

    out.push_back(Mip16("mip-result-zero", ".mip", "MIP with ResultValue 0", Fields16(3, 3, 0, w, h)));
    out.push_back(
        Mip16("mip-result-negative", ".mip", "MIP with ResultValue -1234", Fields16(3, 4, -1234, w, h)));
    out.push_back(
        Mip16("mip-result-min", ".mip", "MIP with ResultValue -32768", Fields16(3, 5, -32768, w, h)));
    out.push_back(Mip16("mip-result-max", ".mip", "MIP with ResultValue 32767", Fields16(3, 3, 32767, w, h)));

    MipFields tagged = Fields16(4, 4, 15, w, h);
    tagged.firstTag = "DHPM";
    out.push_back(Mip16("mip-unknown-tag", ".mip", "first tag \"DHPM\": read as a MIP file", tagged));
    tagged.firstTag = "pamb";
    out.push_back(Mip16("mip-lowercase-tag", ".pbf",
                        "first tag \"pamb\": tags are case-sensitive, so a MIP file", tagged));
    out.push_back(Mip16("pbf-named-mip", ".pbf", "\"PIM \" file named .pbf: the tag decides",
                        Fields16(3, 3, 16, w, h)));

    out.push_back(CarriedPalette("mip-carried-palette",
                                 "MIP, 4-bit without a palette, after mip-palette-first",
                                 {"mip-palette-first"}, 0, 17));
    out.push_back(CarriedPalette("mip-palette-from-16bit",
                                 "MIP, 4-bit without a palette, after a 16-bit file's palette",
                                 {"mip-16bit-palette-chunk"}, 2, 18));
    out.push_back(
        CarriedPalette("mip-palette-from-refused",
                       "MIP, 4-bit without a palette, after a refused file that had loaded its palette",
                       {"bad-palette-then-negative-width"}, 3, 19));
    out.push_back(
        CarriedPalette("mip-palette-over-bad-result",
                       "MIP, 4-bit without a palette, after a palette file and a file refused for its "
                       "ResultValue before its own palette",
                       {"mip-palette-first", "bad-result-too-large"}, 0, 20));
}

void AddSrbWrappers(std::vector<Sample>& out) {
    out.push_back(Wrapped(Find(out, "mip-palette-first"), "srb-palette-first", 1));
    out.push_back(Wrapped(Find(out, "mip-image-first-palette"), "srb-image-first-palette", 13));
    out.push_back(Wrapped(Find(out, "mip-565"), "srb-565", 40));
    out.push_back(Wrapped(Find(out, "mip-1555"), "srb-1555", 7));
    out.push_back(Wrapped(Find(out, "mip-4444"), "srb-4444", 2));
    out.push_back(Wrapped(Find(out, "mip-palette-first-odd"), "srb-odd", 3));
    out.push_back(Wrapped(Find(out, "mip-carried-palette"), "srb-carried-palette", 5));
}

void AddBadFiles(std::vector<Sample>& out) {
    const Sample bare = Find(out, "bare-565");
    const Sample mip = Find(out, "mip-565");
    const Sample srb = Find(out, "srb-565");
    const Bytes words = EncodeWords(DrawTestCard(4, 4, BitsOfFormat(kFormat565)), kFormat565);
    const Bytes nibbles = EncodeNibbles(DrawIndexedTestCard(4, 4));
    constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

    out.push_back(Bad("bad-empty", ".mip", "an empty file", {}, "the file is empty"));
    out.push_back(
        Bad("bad-short-tag", ".pbf", "three bytes", {'P', 'A', 'M'}, "the data ends at byte 3 of 12"));
    out.push_back(Bad("bad-bare-header-cut", ".pbf", "bare image cut inside its image header",
                      Prefix(bare, 30), "the data ends at byte 30 of 40"));
    out.push_back(Bad("bad-bare-data-header-cut", ".pbf", "bare image cut inside its data chunk header",
                      Prefix(bare, 46), "the data ends at byte 46 of 52"));
    out.push_back(Bad("bad-mip-header-cut", ".mip", "MIP cut inside its MIP header", Prefix(mip, 30),
                      "the data ends at byte 30 of 44"));
    out.push_back(Bad("bad-image-header-cut", ".mip", "MIP cut inside its image header", Prefix(mip, 70),
                      "the data ends at byte 70 of 84"));
    out.push_back(Bad("bad-palette-cut", ".mip", "MIP cut inside its \"PAMC\" palette",
                      Prefix(Find(out, "mip-palette-first"), 100), "the data ends at byte 100 of 120"));
    out.push_back(Bad("bad-palette-chunk-cut", ".mip",
                      "MIP cut inside the palette chunk after its image header",
                      Prefix(Find(out, "mip-image-first-palette"), 150), "the data ends at byte 150 of 160"));
    out.push_back(Bad("bad-srb-header-cut", ".srb", "SRB cut inside its SRB header", Prefix(srb, 40),
                      "the data ends at byte 40 of 48"));
    out.push_back(Bad("bad-srb-skip-zero", ".srb", "SRB whose skipped chunk has Size 0",
                      SrbFile(mip.bytes, {}, 0), "the chunk at byte 48 has Size 0, below 1"));
    out.push_back(Bad("bad-srb-skip-negative", ".srb", "SRB whose skipped chunk has Size -8",
                      SrbFile(mip.bytes, {}, -8), "the chunk at byte 48 has Size -8, below 1"));
    // The skipped chunk's payload starts at 60 and claims one byte more than the rest of the file: the
    // 32 bytes given and the 6240 of the MIP file.
    out.push_back(
        Bad("bad-srb-skip-beyond-end", ".srb", "SRB whose skipped chunk reaches past the end",
            SrbFile(mip.bytes, words, static_cast<std::int32_t>(words.size() + mip.bytes.size() + 1)),
            "the data ends at byte 6,332 of 6,333"));

    out.push_back(Bad("bad-bare-zero-width-and-pitch", ".pbf", "bare image with Width 0 and Pitch 0",
                      BareImageFile({3, 0, 4, 0}, words), "the canvas 0 x 4 has stored rows of 0 pixels"));
    out.push_back(Bad("bad-bare-negative-width", ".pbf", "bare image with Width -4",
                      BareImageFile({3, -4, 4, 8}, words), "the canvas -4 x 4 has a negative side"));
    out.push_back(Bad("bad-bare-negative-height", ".pbf", "bare image with Height -4",
                      BareImageFile({3, 4, -4, 8}, words), "the canvas 4 x -4 has a negative side"));
    out.push_back(BadMip("bad-mip-zero-width", "MIP with Width 0", Fields16(3, 3, 1, 0, 4), words,
                         "the canvas 0 x 4 has stored rows of 0 pixels"));
    out.push_back(BadMip("bad-mip-negative-height", "MIP with Height -1, after a palette chunk",
                         Fields4(0, 0, 1, PaletteChunk::AfterImage, 4, 4, -1), nibbles,
                         "the canvas 4 x -1 has a negative side"));
    out.push_back(Bad("bad-canvas-over-cap", ".pbf", "a 64-byte bare image claiming 30000 x 30000",
                      BareImageFile({3, 30000, 30000, 60000}, std::span(words).first(12)),
                      "the canvas 30000 x 30000 is over the limit of 67,108,864 pixels"));
    out.push_back(Bad("bad-side-over-cap", ".pbf", "a bare image claiming 16777216 x 1",
                      BareImageFile({3, 16777216, 1, 33554432}, words),
                      "the canvas 16777216 x 1 has a side over the limit of 16,777,215 pixels"));
    // Row padding P = Pitch / 2 - Width = -2^30 - (2^31 - 1).
    out.push_back(Bad("bad-pitch-overflow", ".pbf", "bare image whose row padding overflows 32 bits",
                      BareImageFile({3, kIntMax, 0, kIntMin}, words),
                      "the count -3,221,225,471 does not fit in 32 bits"));

    out.push_back(Bad("bad-bare-size-one", ".pbf", "bare image with pixel data Size 1",
                      BareImageFile({3, 4, 4, 8}, std::span(words).first(1)),
                      "the chunk at byte 40 has Size 1, below 2"));
    out.push_back(Bad("bad-bare-size-zero", ".pbf", "bare image with pixel data Size 0",
                      BareImageFile({3, 4, 4, 8}, {}), "the chunk at byte 40 has Size 0, below 2"));
    out.push_back(Bad("bad-bare-size-negative", ".pbf", "bare image with pixel data Size -2",
                      BareImageFile({3, 4, 4, 8}, words, -2), "the chunk at byte 40 has Size -2, below 2"));
    out.push_back(BadMip("bad-mip-16bit-size-one", "16-bit MIP with pixel data Size 1",
                         Fields16(3, 3, 1, 4, 4), std::span(words).first(1),
                         "the chunk at byte 84 has Size 1, below 2"));
    out.push_back(BadMip("bad-mip-4bit-size-zero", "4-bit MIP with pixel data Size 0, after a palette chunk",
                         Fields4(0, 0, 1, PaletteChunk::AfterImage, 4, 4, 4), {},
                         "the chunk at byte 160 has Size 0, below 1"));
    out.push_back(Bad("bad-size-beyond-end", ".pbf", "bare image whose pixel data Size reaches past the end",
                      BareImageFile({3, 4, 4, 8}, words, static_cast<std::int32_t>(words.size() + 2)),
                      "the data ends at byte 84 of 86"));
    out.push_back(BadMip("bad-4bit-count-overflow",
                         "4-bit MIP with pixel data Size 2^30 (2 x Size overflows)",
                         Fields4(0, 0, 1, PaletteChunk::AfterImage, 4, 4, 4), nibbles,
                         "the count 2,147,483,648 does not fit in 32 bits", 1 << 30));

    MipFields badResult = Fields4(0, 0, 32768, PaletteChunk::BeforeImage, 4, 4, 4);
    out.push_back(BadMip("bad-result-too-large", "MIP with ResultValue 32768 and a palette after it",
                         badResult, nibbles, "the result value 32,768 is outside -32,768 to 32,767"));
    badResult.resultValue = -32769;
    out.push_back(BadMip("bad-result-too-small", "MIP with ResultValue -32769 and a palette after it",
                         badResult, nibbles, "the result value -32,769 is outside -32,768 to 32,767"));
    out.push_back(BadMip("bad-palette-then-negative-width", "MIP with a \"PAMC\" palette and then Width -5",
                         Fields4(0, 0, 1, PaletteChunk::BeforeImage, 3, -5, 4), nibbles,
                         "the canvas -5 x 4 has a negative side"));
}

}  // namespace

std::vector<Sample> Catalogue() {
    std::vector<Sample> samples;
    AddBareImages(samples);
    AddMipFiles(samples);
    AddSrbWrappers(samples);
    AddBadFiles(samples);
    return samples;
}

Picture FreshPicture(const Sample& sample) {
    const Picture& picture = sample.expected.value().picture;
    return sample.decodedBefore.empty() ? picture : BlankPicture(picture.width, picture.height);
}

}  // namespace tamsel::samples

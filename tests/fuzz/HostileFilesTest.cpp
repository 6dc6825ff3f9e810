#include <QDir>
#include <QFile>
#include <QTest>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "PaintCheck.h"
#include "support/SampleNamed.h"
#include "texture/ByteCursor.h"

using namespace tamsel;
using testing::AllSamples;

namespace {

// The header fields that decide how much the reader reads, allocates and paints.
enum class Field { Width, Height, Pitch, DataSize, SkipSize, Result };

constexpr std::size_t kChunkHeaderSize = 12;
constexpr std::size_t kMipHeaderSize = 32;
constexpr std::size_t kImageHeaderSize = 28;
constexpr std::size_t kPaletteEntriesSize = 64;
constexpr std::size_t kPaletteChunkSize = kChunkHeaderSize + kPaletteEntriesSize;
constexpr std::size_t kSrbSkipChunk = kChunkHeaderSize + 36;  // the skipped chunk's header
constexpr std::size_t kSizeInChunkHeader = 8;
constexpr std::size_t kWidthInImageHeader = 13;
constexpr std::size_t kResultInMipHeader = 26;

constexpr const char* kFieldNames[] = {
    "Width", "Height", "Pitch", "pixel data Size", "skipped chunk Size", "ResultValue"};

bool TagIs(std::span<const std::uint8_t> file, std::size_t offset, std::uint32_t tag) {
    return texture::Le32At(file, offset) == tag;
}

// Where each field of a well-formed file lies, found by walking its headers: a bare image's image
// header follows the file chunk header; a MIP file's follows the MIP header, after the "PAMC" palette
// when that comes first; an SRB wrapper holds a MIP file after its skipped chunk.
std::vector<std::pair<Field, std::size_t>> PlacesOf(std::span<const std::uint8_t> file) {
    if (TagIs(file, 0, texture::TagOf("PAMB"))) {
        const std::size_t image = kChunkHeaderSize;
        const std::size_t data = image + kImageHeaderSize;
        return {{Field::Width, image + kWidthInImageHeader},
                {Field::Height, image + kWidthInImageHeader + 4},
                {Field::Pitch, image + kWidthInImageHeader + 8},
                {Field::DataSize, data + kSizeInChunkHeader}};
    }
    std::vector<std::pair<Field, std::size_t>> places;
    std::size_t mip = 0;
    if (TagIs(file, 0, texture::TagOf(" BRS"))) {
        const std::size_t skipSize = kSrbSkipChunk + kSizeInChunkHeader;
        places.emplace_back(Field::SkipSize, skipSize);
        mip = samples::SrbPreambleSize(static_cast<std::size_t>(texture::LongAt(file, skipSize)));
    }
    const std::size_t mipHeader = mip + kChunkHeaderSize;
    places.emplace_back(Field::Result, mipHeader + kResultInMipHeader);
    const std::size_t next = mipHeader + kMipHeaderSize;
    const bool paletteFirst = TagIs(file, next, texture::TagOf("PAMC"));
    const std::size_t image = next + (paletteFirst ? kPaletteChunkSize : 0) + kChunkHeaderSize;
    const bool paletteAfter = !paletteFirst && Binary::IsPaletteFormat(file[image + kWidthInImageHeader - 1]);
    const std::size_t data = image + kImageHeaderSize + (paletteAfter ? kPaletteChunkSize : 0);
    places.emplace_back(Field::Width, image + kWidthInImageHeader);
    places.emplace_back(Field::Height, image + kWidthInImageHeader + 4);
    places.emplace_back(Field::DataSize, data + kSizeInChunkHeader);
    return places;
}

void PutLong(samples::Bytes& bytes, std::size_t offset, std::int32_t value) {
    for (std::size_t k = 0; k < 4; ++k) {
        bytes[offset + k] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * k));
    }
}

// Values that a file's own field could never give the reader to accept: a negative side, pixel data
// or a skipped chunk that is empty or reaches past the end, a ResultValue outside 16 bits.
bool MustRefuse(Field field, std::int32_t value, std::size_t fieldEnd, std::size_t fileSize) {
    const std::int64_t rest = static_cast<std::int64_t>(fileSize - fieldEnd);
    switch (field) {
        case Field::Width:
        case Field::Height:
            return value < 0;
        case Field::DataSize:
        case Field::SkipSize:
            return value < 1 || value > rest;
        case Field::Result:
            return !std::in_range<std::int16_t>(value);
        case Field::Pitch:
            break;
    }
    return false;
}

}  // namespace

Q_DECLARE_METATYPE(Field)

class HostileFilesTest : public QObject {
    Q_OBJECT

private slots:
    void regressions();
    void headerFields_data();
    void headerFields();
    void everyHeaderByte_data();
    void everyHeaderByte();
    void landingRule_data();
    void landingRule();
};

// Every input the fuzzer once failed on (tests/fuzz/regressions/) is read and painted by a fresh
// reader and by one that carries an earlier file's palette, and keeps every promise.
void HostileFilesTest::regressions() {
    const QDir folder(QStringLiteral(TAMSEL_FUZZ_REGRESSIONS));
    QStringList names = folder.entryList(QDir::Files, QDir::Name);
    names.removeAll(QStringLiteral("README.md"));
    if (names.isEmpty()) {
        QSKIP("the fuzzer has not failed on any input yet");
    }
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
        const QByteArray content = file.readAll();
        const std::span bytes(reinterpret_cast<const std::uint8_t*>(content.constData()),
                              static_cast<std::size_t>(content.size()));
        texture::TextureReader fresh;
        texture::TextureReader carried = fuzzing::ReaderWithPalette();
        const fuzzing::Outcome first = fuzzing::ReadAndPaint(fresh, bytes);
        const fuzzing::Outcome second = fuzzing::ReadAndPaint(carried, bytes);
        QVERIFY2(first.fault.empty(), qPrintable(name + ": " + QString::fromStdString(first.fault)));
        QVERIFY2(second.fault.empty(), qPrintable(name + ": " + QString::fromStdString(second.fault)));
        QVERIFY2(fuzzing::SameLayout(first, second),
                 qPrintable(name + ": the layout depends on the palette"));
    }
}

void HostileFilesTest::headerFields_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Field>("field");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("mustRefuse");

    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kValues[] = {0, 1, 65535, 65536, kMax, -1, kMin};
    for (const samples::Sample& sample : AllSamples()) {
        if (!sample.expected) {
            continue;
        }
        for (const auto& [field, offset] : PlacesOf(sample.bytes)) {
            for (const std::int32_t value : kValues) {
                const bool refuse = MustRefuse(field, value, offset + 4, sample.bytes.size());
                QTest::addRow("%s, %s %d", sample.name.c_str(), kFieldNames[static_cast<int>(field)], value)
                    << QString::fromStdString(sample.name) << field << static_cast<int>(offset) << value
                    << refuse;
            }
        }
    }
}

// A good file with one header field set to an extreme value: the reader refuses it, or accepts it with
// a canvas within the cap that it paints without writing outside it (the check's guard words) and
// with every pixel where the landing rule puts it.
void HostileFilesTest::headerFields() {
    QFETCH(QString, name);
    QFETCH(Field, field);
    QFETCH(int, offset);
    QFETCH(int, value);
    QFETCH(bool, mustRefuse);
    const samples::Sample& sample = testing::SampleNamed(name.toStdString());
    samples::Bytes bytes = sample.bytes;
    const auto at = static_cast<std::size_t>(offset);
    const std::int32_t original = texture::LongAt(bytes, at);
    const samples::Expected& expected = *sample.expected;
    switch (field) {  // the places found hold what the sample was written with
        case Field::Width:
            QCOMPARE(original, expected.picture.width);
            break;
        case Field::Height:
            QCOMPARE(original, expected.picture.height);
            break;
        case Field::DataSize:
            QCOMPARE(static_cast<std::size_t>(original), bytes.size() - at - 4);
            break;
        case Field::Result:
            QCOMPARE(original, std::int32_t{expected.result});
            break;
        case Field::Pitch:
        case Field::SkipSize:
            break;
    }
    PutLong(bytes, at, value);

    texture::TextureReader reader = fuzzing::ReaderWithPalette();
    const fuzzing::Outcome outcome = fuzzing::ReadAndPaint(reader, bytes);
    QVERIFY2(outcome.fault.empty(), outcome.fault.c_str());
    if (mustRefuse) {
        QVERIFY(!outcome.layout);
    } else if (outcome.layout && (field == Field::Width || field == Field::Height)) {
        QCOMPARE(field == Field::Width ? outcome.layout->width : outcome.layout->height, value);
    }
}

void HostileFilesTest::everyHeaderByte_data() {
    QTest::addColumn<QString>("name");
    for (const samples::Sample& sample : AllSamples()) {
        if (sample.expected) {
            QTest::newRow(sample.name.c_str()) << QString::fromStdString(sample.name);
        }
    }
}

// A good file as it is and with any one of its first 180 bytes set to an extreme value: every promise
// kept, whatever the reader makes of it.
void HostileFilesTest::everyHeaderByte() {
    QFETCH(QString, name);
    const samples::Bytes& original = testing::SampleNamed(name.toStdString()).bytes;
    for (std::size_t at = 0; at < std::min<std::size_t>(original.size(), 180); ++at) {
        for (const std::uint8_t value : {original[at], std::uint8_t{0x00}, std::uint8_t{0x01},
                                         std::uint8_t{0x7F}, std::uint8_t{0x80}, std::uint8_t{0xFF}}) {
            samples::Bytes bytes = original;
            bytes[at] = value;
            texture::TextureReader reader = fuzzing::ReaderWithPalette();
            const fuzzing::Outcome outcome = fuzzing::ReadAndPaint(reader, bytes);
            QVERIFY2(outcome.fault.empty(), qPrintable(QStringLiteral("byte %1 set to %2: %3")
                                                           .arg(at)
                                                           .arg(value)
                                                           .arg(QString::fromStdString(outcome.fault))));
        }
    }
}

void HostileFilesTest::landingRule_data() {
    QTest::addColumn<bool>("fourBit");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("pitch");  // bare images only; a MIP file's rows are Width long
    QTest::addColumn<int>("dataSize");
    QTest::addColumn<int>("rowLength");
    QTest::newRow("R > Width") << false << 10 << 6 << 24 << 120 << 12;
    QTest::newRow("R < Width") << false << 10 << 6 << 14 << 84 << 7;
    QTest::newRow("R < Width, odd Pitch") << false << 10 << 6 << 15 << 84 << 7;
    QTest::newRow("R = 1") << false << 7 << 3 << 2 << 20 << 1;
    QTest::newRow("R < 0") << false << 10 << 6 << -8 << 60 << -4;
    QTest::newRow("R < 0, |R| > Width") << false << 5 << 3 << -16 << 40 << -8;
    QTest::newRow("R < 0, few pixels") << false << 10 << 6 << -20 << 6 << -10;
    QTest::newRow("short data, partial row") << false << 10 << 6 << 20 << 46 << 10;
    QTest::newRow("long data") << false << 10 << 6 << 20 << 400 << 10;
    QTest::newRow("one column") << false << 1 << 50 << 2 << 100 << 1;
    QTest::newRow("Width 0") << false << 0 << 4 << 6 << 20 << 3;
    QTest::newRow("Height 0") << false << 4 << 0 << 8 << 20 << 4;
    QTest::newRow("4-bit, odd Width, short") << true << 7 << 5 << 0 << 13 << 7;
    QTest::newRow("4-bit, odd Width, long") << true << 7 << 5 << 0 << 40 << 7;
    QTest::newRow("4-bit, exact") << true << 8 << 4 << 0 << 16 << 8;
    QTest::newRow("4-bit, one pixel") << true << 1 << 1 << 0 << 1 << 1;
}

// Stored pixel i lands at x = i mod R, y = i / R (truncating) when that lies on the canvas, R being
// half the Pitch of a bare image and the Width of a MIP file's; every other canvas pixel is black.
void HostileFilesTest::landingRule() {
    QFETCH(bool, fourBit);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, pitch);
    QFETCH(int, dataSize);
    QFETCH(int, rowLength);
    samples::Bytes data(static_cast<std::size_t>(dataSize));
    for (std::size_t k = 0; k < data.size(); ++k) {
        data[k] = static_cast<std::uint8_t>((k * 2654435761U) >> 13);
    }
    samples::MipFields fields;
    fields.image = {3, width, height, pitch};
    fields.paletteChunk = samples::PaletteChunk::BeforeImage;
    fields.palette = samples::DemoPalette(2);
    texture::TextureReader reader;
    const fuzzing::Outcome outcome = fuzzing::ReadAndPaint(
        reader, fourBit ? samples::MipFile(fields, data) : samples::BareImageFile(fields.image, data));
    QVERIFY2(outcome.fault.empty(), outcome.fault.c_str());
    QVERIFY(outcome.layout);
    QCOMPARE(outcome.layout->rowLength, rowLength);
}

QTEST_APPLESS_MAIN(HostileFilesTest)
#include "HostileFilesTest.moc"

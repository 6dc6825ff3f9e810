// Files that try to break the texture reader, each read and painted with the fuzz target's own checks
// (fuzz/PaintCheck.cpp): every input the fuzzer once failed on, every good sample with its header bytes
// set to extreme values, and pixels laid out every way a row length allows.
#include <QDir>
#include <QFile>
#include <QTest>
#include <utility>

#include "PaintCheck.h"
#include "support/SampleNamed.h"

using namespace tamsel;
using namespace Qt::StringLiterals;

class HostileFilesTest : public QObject {
    Q_OBJECT

private slots:
    // Every input the fuzzer once failed on (tests/fuzz/regressions/) is read and painted by a fresh
    // reader and by one that carries an earlier file's palette, and keeps every promise.
    void regressions() {
        const QDir folder(QStringLiteral(TAMSEL_FUZZ_REGRESSIONS));
        QStringList names = folder.entryList(QDir::Files, QDir::Name);
        names.removeAll(u"README.md"_s);
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

    void everyHeaderByte_data() {
        QTest::addColumn<QString>("name");
        for (const samples::Sample& sample : testing::AllSamples()) {
            if (sample.expected) {
                QTest::newRow(sample.name.c_str()) << QString::fromStdString(sample.name);
            }
        }
    }

    // A good file as it is, and with one of its first 180 bytes set to an extreme value or the Long that
    // starts there set to one: every promise kept, whatever the reader makes of it.
    void everyHeaderByte() {
        QFETCH(QString, name);
        const samples::Bytes& original = testing::SampleNamed(name.toStdString()).bytes;
        const auto check = [](const samples::Bytes& bytes, const QString& change) {
            texture::TextureReader reader = fuzzing::ReaderWithPalette();
            const fuzzing::Outcome outcome = fuzzing::ReadAndPaint(reader, bytes);
            QVERIFY2(outcome.fault.empty(),
                     qPrintable(change + u": "_s + QString::fromStdString(outcome.fault)));
        };
        check(original, u"as it is"_s);
        // Each value with the number of bytes it takes, low byte first.
        const std::pair<std::uint32_t, std::size_t> changes[] = {
            {0x00, 1}, {0x80, 1}, {0xFF, 1}, {1, 4}, {65536, 4}, {0x7FFFFFFF, 4}, {0x80000000, 4}};
        for (std::size_t at = 0; at < std::min<std::size_t>(original.size(), 180); ++at) {
            for (const auto& [value, width] : changes) {
                samples::Bytes bytes = original;
                for (std::size_t k = 0; k < width && at + k < bytes.size(); ++k) {
                    bytes[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
                }
                check(bytes, u"%1 at byte %2"_s.arg(value, 0, 16).arg(at));
            }
        }
    }

    void landingRule_data() {
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
    void landingRule() {
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
};

QTEST_APPLESS_MAIN(HostileFilesTest)
#include "HostileFilesTest.moc"

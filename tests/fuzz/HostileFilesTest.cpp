// Files that try to break the texture reader, each read and painted with the fuzz target's own checks
// (fuzz/PaintCheck.cpp): every input the fuzzer once failed on, and every good sample with its header
// bytes set to extreme values.
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
    // Every hostile file found so far (tests/fuzz/regressions/) is read and painted by a fresh reader
    // and by one that carries an earlier file's palette, and keeps every promise; one whose name starts
    // with "refused-" is refused by both.
    void regressions() {
        const QDir folder(QStringLiteral(TAMSEL_FUZZ_REGRESSIONS));
        QStringList names = folder.entryList(QDir::Files, QDir::Name);
        names.removeAll(u"README.md"_s);
        QVERIFY(!names.isEmpty());
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
            QVERIFY2(!name.startsWith(u"refused-"_s) || !first.layout, qPrintable(name + ": accepted"));
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
};

QTEST_APPLESS_MAIN(HostileFilesTest)
#include "HostileFilesTest.moc"

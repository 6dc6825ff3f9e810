// Runs the thumbnailer as a file manager does: from the entry installed under TAMSEL_PREFIX, its Exec
// line with the size, input and output put in, and its program found on the PATH.
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <optional>

#include "ToolTesting.h"
#include "Version.h"

using namespace tamsel;
using namespace tamsel::tooltests;

namespace {

struct Entry {
    QString group;
    QMap<QString, QString> keys;
};

Entry ReadEntry() {
    QFile file(QStringLiteral(TAMSEL_PREFIX "/share/thumbnailers/") + kApplicationId + ".thumbnailer");
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("no thumbnailer entry %s", qPrintable(file.fileName()));
    }
    Entry entry;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith('[')) {
            entry.group = line;
        } else {
            entry.keys.insert(line.section('=', 0, 0), line.section('=', 1));
        }
    }
    return entry;
}

QProcessEnvironment InstalledPath() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", TAMSEL_PREFIX "/bin:" + environment.value("PATH"));
    return environment;
}

// The entry's Exec line with its field codes put in, run under /usr/bin/time, which reports the peak
// memory in KiB as the last line of the standard error.
struct Thumbnailed {
    Finished run;
    qint64 peakKiB = 0;
};

Thumbnailed RunEntry(const QString& input, const QString& output, int size) {
    QStringList command = QProcess::splitCommand(ReadEntry().keys.value("Exec"));
    for (QString& argument : command) {
        argument.replace("%s", QString::number(size))
            .replace("%i", input)
            .replace("%u", QUrl::fromLocalFile(input).toString())
            .replace("%o", output);
    }
    Thumbnailed result{Run("/usr/bin/time", QStringList{"-f", "%M"} + command, InstalledPath())};
    result.peakKiB = result.run.err.trimmed().split('\n').last().toLongLong();
    return result;
}

QImage ImageOf(const samples::Picture& picture) {
    return QImage(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                  QImage::Format_RGB32)
        .copy();
}

QByteArray BytesOf(const samples::Bytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

class ThumbnailerTest : public QObject {
    Q_OBJECT

private slots:
    void entry();
    void thumbnails_data();
    void thumbnails();
    void refusedFilesGetNothing_data();
    void refusedFilesGetNothing();
    void smallFileClaimingALargeCanvas();

private:
    QTemporaryDir dir_;
};

// The entry names the three texture types and a program the installation put on the PATH.
void ThumbnailerTest::entry() {
    const Entry entry = ReadEntry();
    QCOMPARE(entry.group, QStringLiteral("[Thumbnailer Entry]"));
    QCOMPARE(entry.keys.value("MimeType").split(';', Qt::SkipEmptyParts),
             QStringList({"image/x-tamsel-mip", "image/x-tamsel-srb", "image/x-tamsel-pbf"}));
    QCOMPARE(QStandardPaths::findExecutable(entry.keys.value("TryExec"), {TAMSEL_PREFIX "/bin"}),
             QStringLiteral(TAMSEL_PREFIX "/bin/tamsel-texture"));
    const QString exec = entry.keys.value("Exec");
    QVERIFY(exec.contains("%s") && exec.contains("%o") && (exec.contains("%i") || exec.contains("%u")));
}

void ThumbnailerTest::thumbnails_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QImage>("canvas");
    QTest::addColumn<int>("size");
    QTest::addColumn<QSize>("expected");
    QTest::addColumn<int>("tolerance");  // in each channel, against the whole canvas scaled smoothly
    const auto sample = [](const char* name) {
        const samples::Sample& found = SampleNamed(name);
        return std::pair{BytesOf(found.bytes), ImageOf(samples::FreshPicture(found))};
    };
    const auto [bare, bareCanvas] = sample("bare-565");
    const auto [srb, srbCanvas] = sample("srb-odd");
    const auto [mip, mipCanvas] = sample("mip-palette-first");
    const auto [odd, oddCanvas] = sample("bare-odd-size");
    const auto [carried, carriedCanvas] = sample("mip-carried-palette");
    const samples::Picture card =
        samples::DrawTestCard(600, 400, samples::BitsOfFormat(samples::kFormat1555));
    const QByteArray large = BytesOf(samples::BareImageFile(
        {samples::kFormat1555, 600, 400, 1200}, samples::EncodeWords(card, samples::kFormat1555)));
    QTest::newRow("smaller than asked: as it is") << bare << bareCanvas << 256 << QSize(64, 48) << 0;
    QTest::newRow("odd size, SRB, as it is") << srb << srbCanvas << 37 << QSize(37, 23) << 0;
    QTest::newRow("halved") << bare << bareCanvas << 32 << QSize(32, 24) << 1;
    QTest::newRow("a quarter, 4-bit, reduced first") << mip << mipCanvas << 16 << QSize(16, 12) << 2;
    QTest::newRow("37 x 23 to 10 x 6") << odd << oddCanvas << 10 << QSize(10, 6) << 0;
    QTest::newRow("no palette: black") << carried << carriedCanvas << 48 << QSize(48, 36) << 0;
    QTest::newRow("600 x 400 to 50 x 33, reduced by 6 first")
        << large << ImageOf(card) << 50 << QSize(50, 33) << 6;
}

// A PNG of the canvas, at most `size` on its longer side with its proportions kept and never
// enlarged, close to the whole canvas scaled smoothly.
void ThumbnailerTest::thumbnails() {
    QFETCH(QByteArray, file);
    QFETCH(QImage, canvas);
    QFETCH(int, size);
    QFETCH(QSize, expected);
    QFETCH(int, tolerance);
    const QString input = WriteFile(dir_.path(), "texture.pbf", {file.begin(), file.end()});
    const QString output = dir_.filePath("thumbnail.png");
    const Thumbnailed made = RunEntry(input, output, size);
    QCOMPARE(made.run.status, 0);
    const QImage thumbnail(output, "png");
    QCOMPARE(thumbnail.size(), expected);
    const QImage reference = canvas.scaled(expected, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    samples::Picture wanted = samples::BlankPicture(expected.width(), expected.height());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            wanted.pixels[static_cast<std::size_t>(y * expected.width() + x)] = reference.pixel(x, y);
        }
    }
    ComparePicture(thumbnail, wanted, tolerance);
}

void ThumbnailerTest::refusedFilesGetNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("canvas over the cap") << "bad-canvas-over-cap";
    QTest::newRow("cut palette") << "bad-palette-cut";
    QTest::newRow("empty canvas") << "bare-zero-width";
}

void ThumbnailerTest::refusedFilesGetNothing() {
    QFETCH(QString, name);
    const QString output = dir_.filePath(name + ".png");
    const Thumbnailed made = RunEntry(WriteSample(dir_.path(), name.toStdString()), output, 128);
    QVERIFY(made.run.status > 0);
    QVERIFY(!QFile::exists(output));
    QCOMPARE(QDir(dir_.path()).entryList({".*.png.*"}, QDir::Files | QDir::Hidden), QStringList());
}

// A 54-byte file whose canvas is 8192 x 8192 (256 MiB at 4 bytes a pixel) is painted straight into
// the thumbnail: its peak memory stays far below that canvas.
void ThumbnailerTest::smallFileClaimingALargeCanvas() {
    const samples::Bytes white{0xFF, 0xFF};
    const samples::Bytes file = samples::BareImageFile({samples::kFormat565, 8192, 8192, 16384}, white);
    QCOMPARE(file.size(), std::size_t{54});
    const QString output = dir_.filePath("large.png");
    const Thumbnailed made = RunEntry(WriteFile(dir_.path(), "large.pbf", file), output, 256);
    QCOMPARE(made.run.status, 0);
    QCOMPARE(QImage(output).size(), QSize(256, 256));
    QVERIFY2(made.peakKiB > 0 && made.peakKiB < 96 * 1024, qPrintable(QString::number(made.peakKiB)));
}

QTEST_GUILESS_MAIN(ThumbnailerTest)
#include "ThumbnailerTest.moc"

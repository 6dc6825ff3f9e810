// Runs the thumbnailer as a file manager does: from the entry installed under TAMSEL_PREFIX, its Exec
// line with the size, input and output put in, and its program found on the PATH.
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include "ToolTesting.h"
#include "Version.h"

using namespace tamsel;
using namespace tamsel::tooltests;

namespace {

// The installed entry's lines, "[Thumbnailer Entry]" first, then its keys.
QStringList EntryLines() {
    QFile file(QStringLiteral(TAMSEL_PREFIX "/share/thumbnailers/") + kApplicationId + ".thumbnailer");
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("no thumbnailer entry %s", qPrintable(file.fileName()));
    }
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

QString EntryKey(const QString& key) {
    const QStringList lines = EntryLines().filter(QRegularExpression("^" + key + "="));
    return lines.isEmpty() ? QString() : lines[0].section('=', 1);
}

// The Exec line with its field codes put in, run under /usr/bin/time, which reports the peak memory
// in KiB as the last line of the standard error.
std::pair<Finished, qint64> RunEntry(const QString& input, const QString& output, int size) {
    QStringList command = QProcess::splitCommand(EntryKey("Exec"));
    for (QString& argument : command) {
        argument.replace("%s", QString::number(size))
            .replace("%i", input)
            .replace("%u", QUrl::fromLocalFile(input).toString())
            .replace("%o", output);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", TAMSEL_PREFIX "/bin:" + environment.value("PATH"));
    const Finished run = Run("/usr/bin/time", QStringList{"-f", "%M"} + command, environment);
    return {run, run.err.trimmed().split('\n').last().toLongLong()};
}

QImage ImageOf(const samples::Picture& picture) {
    return QImage(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                  QImage::Format_RGB32)
        .copy();
}

}  // namespace

class ThumbnailerTest : public QObject {
    Q_OBJECT

private slots:
    // The entry names the three texture types and a program that the installation puts on the PATH.
    void entry() {
        QCOMPARE(EntryLines().value(0), QStringLiteral("[Thumbnailer Entry]"));
        QCOMPARE(EntryKey("MimeType"),
                 QStringLiteral("image/x-tamsel-mip;image/x-tamsel-srb;image/x-tamsel-pbf;"));
        QCOMPARE(QStandardPaths::findExecutable(EntryKey("TryExec"), {TAMSEL_PREFIX "/bin"}),
                 QStringLiteral(TAMSEL_PREFIX "/bin/tamsel-texture"));
    }

    void thumbnails_data() {
        QTest::addColumn<QString>("name");  // a sample, or "card": a 600 x 400 bare image of the test card
        QTest::addColumn<int>("size");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<int>("tolerance");  // in each channel, against the whole canvas scaled smoothly
        QTest::newRow("smaller than asked: as it is") << "bare-565" << 256 << QSize(64, 48) << 0;
        QTest::newRow("odd size, SRB, as it is") << "srb-odd" << 37 << QSize(37, 23) << 0;
        QTest::newRow("37 x 23 to 10 x 6") << "bare-odd-size" << 10 << QSize(10, 6) << 0;
        QTest::newRow("no palette: black") << "mip-carried-palette" << 48 << QSize(48, 36) << 0;
        QTest::newRow("4-bit, reduced by 2 first") << "mip-palette-first" << 16 << QSize(16, 12) << 2;
        QTest::newRow("600 x 400, reduced by 6 first") << "card" << 50 << QSize(50, 33) << 6;
    }

    // A PNG of the canvas, at most `size` on its longer side with its proportions kept and never
    // enlarged, close to the whole canvas scaled smoothly.
    void thumbnails() {
        QFETCH(QString, name);
        QFETCH(int, size);
        QFETCH(QSize, expected);
        QFETCH(int, tolerance);
        const bool card = name == "card";
        const samples::Picture canvas =
            card ? samples::DrawTestCard(600, 400, samples::BitsOfFormat(samples::kFormat565))
                 : samples::FreshPicture(SampleNamed(name.toStdString()));
        const samples::Bytes file =
            card ? samples::BareImageFile({samples::kFormat565, 600, 400, 1200},
                                          samples::EncodeWords(canvas, samples::kFormat565))
                 : SampleNamed(name.toStdString()).bytes;
        const QString output = dir_.filePath("thumbnail.png");
        QCOMPARE(RunEntry(WriteFile(dir_.path(), "texture", file), output, size).first.status, 0);
        const QImage thumbnail(output, "png");
        const QImage wanted =
            ImageOf(canvas).scaled(expected, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        samples::Picture reference = samples::BlankPicture(expected.width(), expected.height());
        std::copy_n(reinterpret_cast<const samples::Pixel*>(wanted.constBits()), reference.pixels.size(),
                    reference.pixels.begin());
        ComparePicture(thumbnail, reference, tolerance);
    }

    // Nothing is written for a refused file or a canvas without pixels.
    void refusedFilesGetNothing() {
        const QTemporaryDir dir;
        for (const char* name : {"bad-canvas-over-cap", "bad-palette-cut", "bare-zero-width"}) {
            QVERIFY(RunEntry(WriteSample(dir.path(), name), dir.filePath("refused.png"), 128).first.status >
                    0);
            QCOMPARE(QDir(dir.path()).entryList({"*.png*"}, QDir::Files | QDir::Hidden), QStringList());
        }
    }

    // A 54-byte file whose canvas is 8192 x 8192 (256 MiB at 4 bytes a pixel) is painted straight into
    // the thumbnail: its peak memory stays far below that canvas.
    void smallFileClaimingALargeCanvas() {
        const samples::Bytes white{0xFF, 0xFF};
        const samples::Bytes file = samples::BareImageFile({samples::kFormat565, 8192, 8192, 16384}, white);
        QCOMPARE(file.size(), std::size_t{54});
        const QString output = dir_.filePath("large.png");
        const auto [run, peakKiB] = RunEntry(WriteFile(dir_.path(), "large.pbf", file), output, 256);
        QCOMPARE(run.status, 0);
        QCOMPARE(QImage(output).size(), QSize(256, 256));
        QVERIFY2(peakKiB > 0 && peakKiB < 96 * 1024, qPrintable(QString::number(peakKiB)));
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(ThumbnailerTest)
#include "ThumbnailerTest.moc"

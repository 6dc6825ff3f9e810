// The real viewer on a virtual X screen under openbox, driven with real keys and clicks: bad and
// hostile files, resizes by the window manager, clicks on the thumbnail page, closing through the
// window manager and the settings file, each judged from outside the program.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <memory>

#include "e2e/Desktop.h"
#include "samples/TextureFiles.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using e2e::Desktop;
using e2e::Viewer;
using e2e::WaitUntil;

namespace {

const QString kTitle = QStringLiteral("Tamsel Image Viewer: ");
// Menu items from the keyboard: a lone Alt gives the menu bar the keys.
const QStringList kThumbnailView{QStringLiteral("alt"), QStringLiteral("Down"), QStringLiteral("Down"),
                                 QStringLiteral("Return")};
const QStringList kBeginSlideShow{QStringLiteral("alt"), QStringLiteral("Right"), QStringLiteral("Down"),
                                  QStringLiteral("Return")};
const QStringList kHelp{QStringLiteral("alt"), QStringLiteral("Right"), QStringLiteral("Right"),
                        QStringLiteral("Down"), QStringLiteral("Return")};

// One picture's work may take 1 GiB; the window itself needs about 100 MB more.
constexpr qint64 kPeakBudget = 1'200'000'000;
constexpr int kOutcomeMs = 20'000;
// The menu bar above the inner area is about this high; clicks aim at the middle of pictures
// large enough to absorb the difference.
constexpr int kMenuBarHeight = 20;

const QByteArray kSection = "[HKEY_LOCAL_MACHINE\\Software\\Corvane Software Store\\Tamsel Image Viewer]";

QString SettingsFolder(const QString& configHome) {
    return QDir(configHome).filePath(QStringLiteral("Corvane Software Store"));
}

QString SettingsFile(const QString& configHome) {
    return QDir(SettingsFolder(configHome)).filePath(QStringLiteral("Tamsel Image Viewer.ini"));
}

void WriteSettings(const QString& configHome, const QByteArray& content) {
    QDir().mkpath(SettingsFolder(configHome));
    QFile file(SettingsFile(configHome));
    file.open(QIODevice::WriteOnly);
    file.write(content);
}

QByteArray FolderLine(const QString& folder) {
    return "LastUsedPath=" + QFile::encodeName(folder) + "/\n";
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The folder the settings file remembers, as stored: the line after our section header.
QByteArray StoredFolder(const QString& path) {
    const QList<QByteArray> lines = Contents(path).split('\n');
    const qsizetype section = lines.indexOf(kSection);
    return section >= 0 && section + 1 < lines.size() ? lines[section + 1] + '\n' : QByteArray();
}

QByteArray Bytes(const samples::Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

QByteArray Jpeg(const QImage& image, bool progressive) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return buffer.data();
}

// A progressive 16 x 16 JPEG whose frame header claims `side` x `side` pixels.
QByteArray ClaimingJpeg(QImage::Format format, int side) {
    QImage image(16, 16, format);
    image.fill(Qt::gray);
    QByteArray bytes = Jpeg(image, true);
    const qsizetype frame = bytes.indexOf("\xFF\xC2");  // SOF2: length, precision, height, width
    for (const qsizetype at : {frame + 5, frame + 7}) {
        bytes[at] = static_cast<char>(side >> 8);
        bytes[at + 1] = static_cast<char>(side & 0xFF);
    }
    return bytes;
}

// An 8-bit run-length BMP of about 1 KB claiming `side` x `side` pixels: a grey colour table, then
// runs of 255 pixels, an end of line and the end of the bitmap.
QByteArray RunLengthBmp(int side) {
    const QByteArray runs("\xFF\x01\xFF\x02\x00\x00\xFF\x03\x00\x01", 10);
    const auto runsSize = static_cast<quint32>(runs.size());
    constexpr quint32 kHeaders = 14 + 40 + 256 * 4;
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << kHeaders + runsSize << quint32{0} << kHeaders;
    out << quint32{40} << qint32{side} << qint32{side} << quint16{1} << quint16{8} << quint32{1} << runsSize
        << qint32{2835} << qint32{2835} << quint32{256} << quint32{0};
    for (int i = 0; i < 256; ++i) {
        out << quint8(i) << quint8(i) << quint8(i) << quint8{0};
    }
    out.writeRawData(runs.constData(), static_cast<int>(runsSize));
    return file;
}

// Writes `content` as `name`, grown with a hole of zeros to `size` bytes when that is larger.
QString WriteFile(const QString& folder, const QString& name, const QByteArray& content, qint64 size) {
    const QString path = testing::WriteBytes(folder, name, content);
    if (size > content.size()) {
        QFile(path).resize(size);
    }
    return path;
}

// What a run came to, for failure messages.
QString Seen(const Viewer::Outcome& outcome, Viewer& viewer) {
    return QStringLiteral("%1 boxes answered, %2 at once, %3, peak %4 MB, %5")
        .arg(outcome.answered)
        .arg(outcome.mostAtOnce)
        .arg(outcome.settled ? QStringLiteral("settled") : QStringLiteral("not settled"))
        .arg(viewer.PeakMemory() / 1'000'000)
        .arg(viewer.State());
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void aBadFileOnTheCommandLineGetsOneBox_data();
    void aBadFileOnTheCommandLineGetsOneBox();
    void startUpReadsThePictureOnce();
    void aResizeReadsEachFileAtMostOnce_data();
    void aResizeReadsEachFileAtMostOnce();
    void oneClickOnAPageAfterTheFullSizeView();
    void aSlideShowClosedByTheWindowManager();
    void hostileFiles_data();
    void hostileFiles();
    void aFullDiskKeepsTheSettingsFile();
    void aLargeSettingsFileKeepsEveryOtherByte();
    void aLinkedSettingsFileStaysALink_data();
    void aLinkedSettingsFileStaysALink();
    void theFrameCoversTheScreen_data();
    void theFrameCoversTheScreen();

private:
    // Starts the viewer on `folder`, closes it through the window manager once it shows; how it ended.
    QString OpenAndClose(const QString& configHome, const QString& folder);

    std::unique_ptr<Desktop> desktop_;
};

void EndToEndTest::initTestCase() {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "xprop", "xwininfo"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (see E2E_PACKAGES in scripts/common.sh)")
                                 .arg(QLatin1String(tool))));
        }
    }
    desktop_ = std::make_unique<Desktop>(QSize(1024, 768));
    QVERIFY2(desktop_->Fault().isEmpty(), qPrintable(desktop_->Fault()));
}

void EndToEndTest::cleanupTestCase() {
    desktop_.reset();
}

QString EndToEndTest::OpenAndClose(const QString& configHome, const QString& folder) {
    Viewer viewer(*desktop_, configHome, {folder});
    if (viewer.Window().isEmpty()) {
        return QStringLiteral("no window, ") + viewer.State();
    }
    viewer.WaitQuiet();
    viewer.Close();
    return viewer.Finish();
}

void EndToEndTest::aBadFileOnTheCommandLineGetsOneBox_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    const QByteArray jpeg = Jpeg(testing::SolidImage(64, 48, qRgb(0, 128, 0)), false);
    QTest::newRow("refused texture") << "garbage.mip" << QByteArray(300, '\x5A');
    QTest::newRow("empty texture") << "empty.mip" << QByteArray();
    QTest::newRow("broken JPEG") << "broken.jpg" << jpeg.left(40) + QByteArray(200, '\x33');
    QTest::newRow("text named .bmp") << "notes.bmp" << QByteArray("just some words, no picture\n");
}

// One message box, never two stacked; once it is answered the program runs on and its menus work.
void EndToEndTest::aBadFileOnTheCommandLineGetsOneBox() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QTemporaryDir files;
    QTemporaryDir config;
    Viewer viewer(*desktop_, config.path(), {WriteFile(files.path(), name, content, 0)});
    QVERIFY2(!viewer.Window().isEmpty(), qPrintable(viewer.State()));
    const Viewer::Outcome outcome = viewer.AnswerBoxes(kOutcomeMs);
    const QString seen = Seen(outcome, viewer);
    QVERIFY2(outcome.mostAtOnce == 1 && outcome.answered == 1, qPrintable(seen));
    QVERIFY2(viewer.Running() && outcome.settled, qPrintable(seen));
    desktop_->Keys(viewer.Window(), kHelp);
    QVERIFY(
        WaitUntil([&] { return !viewer.Windows(QStringLiteral("^Tamsel Sound Player Help$")).isEmpty(); }));
}

// A picture given on the command line is read once on its way to the screen, however the window
// manager settles the window.
void EndToEndTest::startUpReadsThePictureOnce() {
    QTemporaryDir files;
    QTemporaryDir config;
    const QString path = testing::WritePicture(files.path(), QStringLiteral("large.jpg"),
                                               testing::SolidImage(4000, 3000, qRgb(200, 120, 40)));
    e2e::OpenCounter counter(files.path());
    Viewer viewer(*desktop_, config.path(), {path});
    QVERIFY(viewer.ShowsTitle(kTitle + QStringLiteral("large.jpg")));
    viewer.WaitQuiet();
    QCOMPARE(counter.Opens(QStringLiteral("large.jpg")), 1);
}

void EndToEndTest::aResizeReadsEachFileAtMostOnce_data() {
    QTest::addColumn<bool>("page");
    QTest::newRow("single view") << false;
    QTest::newRow("thumbnail page") << true;
}

void EndToEndTest::aResizeReadsEachFileAtMostOnce() {
    QFETCH(bool, page);
    QTemporaryDir files;
    QTemporaryDir config;
    QStringList names;
    for (int i = 0; i < 9; ++i) {
        names << QStringLiteral("p%1.%2").arg(i).arg(i % 2 == 0 ? QStringLiteral("pbf")
                                                                : QStringLiteral("jpg"));
        if (i % 2 == 0) {
            testing::WriteSolidTexture(files.path(), names.last(), 96, 64, qRgb(200, 0, 0));
        } else {
            testing::WritePicture(files.path(), names.last(),
                                  testing::SolidImage(1200, 900, qRgb(0, 0, 200)));
        }
    }
    Viewer viewer(*desktop_, config.path(), {page ? files.path() : QDir(files.path()).filePath(names[1])});
    const QString window = viewer.Window();
    QVERIFY2(!window.isEmpty(), qPrintable(viewer.State()));
    if (page) {
        desktop_->Keys(window, kThumbnailView);
    }
    QVERIFY(viewer.ShowsTitle(kTitle + (page ? names.last() : names[1])));
    viewer.WaitQuiet();

    e2e::OpenCounter counter(files.path());
    desktop_->Resize(window, {800, 600});
    QVERIFY(WaitUntil([&] { return desktop_->Inner(window).size() == QSize(800, 600); }));
    viewer.WaitQuiet();
    QStringList readAgain;
    for (const QString& name : names) {
        if (counter.Opens(name) > 1) {
            readAgain << QStringLiteral("%1 %2 times").arg(name).arg(counter.Opens(name));
        }
    }
    QVERIFY2(readAgain.isEmpty(), qPrintable(readAgain.join(QStringLiteral(", "))));
}

// Back on the page after a double click showed a picture full size, one click selects a cell.
void EndToEndTest::oneClickOnAPageAfterTheFullSizeView() {
    QTemporaryDir files;
    QTemporaryDir config;
    for (int i = 0; i < 12; ++i) {
        testing::WriteSolidTexture(files.path(), QStringLiteral("t%1.pbf").arg(i, 2, 10, QLatin1Char('0')),
                                   160, 120, qRgb(0, 160, 0));
    }
    Viewer viewer(*desktop_, config.path(), {files.path()});
    const QString window = viewer.Window();
    QVERIFY2(!window.isEmpty(), qPrintable(viewer.State()));
    desktop_->Keys(window, kThumbnailView);
    QVERIFY(viewer.ShowsTitle(kTitle + QStringLiteral("t08.pbf")));  // the page's last cell was drawn last
    // Cell 1 starts 10 pixels into the inner area, below the menu bar; the middle button's top is 80
    // pixels above the inner bottom edge.
    const QSize inner = desktop_->Inner(window).size();
    const QPoint cell1(10 + 80, kMenuBarHeight + 10 + 60);
    const QPoint middleButton(inner.width() / 2, inner.height() - 80 + 16);
    desktop_->Click(window, cell1, 2);
    QVERIFY(viewer.ShowsTitle(kTitle + QStringLiteral("t00.pbf")));
    desktop_->Click(window, middleButton);
    QVERIFY(viewer.ShowsTitle(kTitle + QStringLiteral("t08.pbf")));
    viewer.WaitQuiet();
    desktop_->Click(window, cell1);
    QVERIFY2(viewer.ShowsTitle(kTitle + QStringLiteral("t00.pbf"), 3000), qPrintable(viewer.Title()));
}

void EndToEndTest::aSlideShowClosedByTheWindowManager() {
    QTemporaryDir files;
    QTemporaryDir config;
    testing::WriteNumberedTextures(files.path(), 3);
    Viewer viewer(*desktop_, config.path(), {files.path()});
    QVERIFY2(!viewer.Window().isEmpty(), qPrintable(viewer.State()));
    desktop_->Keys(viewer.Window(), kBeginSlideShow);
    QVERIFY(WaitUntil([&] { return viewer.Title().startsWith(kTitle); }));
    viewer.Close();
    QCOMPARE(viewer.Finish(), QStringLiteral("exit 0"));
    QCOMPARE(StoredFolder(SettingsFile(config.path())), FolderLine(files.path()));
}

void EndToEndTest::hostileFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("page");

    constexpr std::int32_t kWide = 67'108'864;
    const samples::Bytes pixels(2, 0x5A);
    samples::MipFields paletted;  // MIP format 0: 4-bit pixels
    paletted.paletteChunk = samples::PaletteChunk::BeforeImage;
    paletted.image = {0, kWide, 1, kWide / 2};
    samples::MipFields plain;
    plain.mipFormat = samples::kFormat565;
    plain.image = {samples::kFormat565, kWide, 1, 2 * kWide};
    struct File {
        const char* row;
        const char* name;
        QByteArray content;
        qint64 size;
        bool refused;
    };
    const File files[] = {
        {"bare texture 67108864 wide", "wide.pbf", Bytes(samples::BareImageFile(plain.image, pixels)), 0,
         true},
        {"4-bit MIP 67108864 wide", "wide.mip", Bytes(samples::MipFile(paletted, pixels)), 0, true},
        {"SRB 67108864 wide", "wide.srb",
         Bytes(samples::SrbFile(samples::MipFile(plain, pixels), samples::Bytes(13, 1))), 0, true},
        {"grey progressive JPEG claiming 65500 x 65500", "grey.jpg",
         ClaimingJpeg(QImage::Format_Grayscale8, 65'500), 0, true},
        {"colour progressive JPEG claiming 30000 x 30000", "colour.jpg",
         ClaimingJpeg(QImage::Format_RGB32, 30'000), 0, true},
        {"RLE8 BMP claiming 16000 x 16000", "runs.bmp", RunLengthBmp(16'000), 0, true},
        {"1 GiB JPEG: a small picture, then zeros", "padded.jpg",
         Jpeg(testing::SolidImage(64, 48, qRgb(0, 0, 255)), false), qint64{1} << 30, false},
    };
    for (const File& file : files) {
        for (const bool page : {false, true}) {
            QTest::addRow("%s, %s", file.row, page ? "page of nine" : "single view")
                << QString::fromLatin1(file.name) << file.content << file.size << file.refused << page;
        }
    }
}

// Refused with its message, or shown, within the time and memory one picture may take.
void EndToEndTest::hostileFiles() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(qint64, size);
    QFETCH(bool, refused);
    QFETCH(bool, page);
    QTemporaryDir files;
    QTemporaryDir config;
    QString last = name;
    if (page) {
        for (int i = 1; i <= 9; ++i) {
            last = QStringLiteral("%1-%2").arg(i).arg(name);
            WriteFile(files.path(), last, content, size);
        }
    }
    Viewer viewer(*desktop_, config.path(),
                  {page ? files.path() : WriteFile(files.path(), name, content, size)});
    QVERIFY2(!viewer.Window().isEmpty(), qPrintable(viewer.State()));
    if (page) {
        desktop_->Keys(viewer.Window(), kThumbnailView);
    }
    const Viewer::Outcome outcome = viewer.AnswerBoxes(kOutcomeMs, kPeakBudget);
    const QString seen = Seen(outcome, viewer);
    qInfo("%s", qPrintable(seen));
    QVERIFY2(viewer.Running() && viewer.PeakMemory() < kPeakBudget, qPrintable(seen));
    QVERIFY2(outcome.settled && outcome.mostAtOnce <= 1, qPrintable(seen));
    if (!refused) {
        QCOMPARE(outcome.answered, 0);
        QCOMPARE(viewer.Title(), kTitle + last);
    } else if (!page) {
        QCOMPARE(outcome.answered, 1);
    }
}

void EndToEndTest::aFullDiskKeepsTheSettingsFile() {
    if (::geteuid() != 0) {
        QSKIP("mounting a small tmpfs as the settings folder needs root");
    }
    QTemporaryDir config;
    QTemporaryDir pictures;
    const QByteArray folder = QFile::encodeName(SettingsFolder(config.path()));
    QDir().mkpath(SettingsFolder(config.path()));
    if (::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=64k") != 0) {
        QSKIP("no tmpfs can be mounted here");
    }
    const auto unmount = qScopeGuard([&] { ::umount2(folder.constData(), MNT_DETACH); });
    const QByteArray before = kSection + '\n' + FolderLine(config.path());
    WriteSettings(config.path(), before);
    QFile filler(QDir(SettingsFolder(config.path())).filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, '\0');
    while (filler.write(block) == block.size()) {
    }
    QCOMPARE(OpenAndClose(config.path(), pictures.path()), QStringLiteral("exit 0"));
    QCOMPARE(Contents(SettingsFile(config.path())), before);
}

// Other sections, comments and keys are the user's: only the remembered folder's line changes.
void EndToEndTest::aLargeSettingsFileKeepsEveryOtherByte() {
    QTemporaryDir config;
    QTemporaryDir pictures;
    QByteArray head = "; written by hand\n[Other]\n";
    for (int i = 0; head.size() <= (1 << 20); ++i) {
        head += "Key" + QByteArray::number(i) + '=' + QByteArray(64, 'v') + '\n';
    }
    head += "\n; ours\n" + kSection + '\n';
    const QByteArray tail = "Unknown=kept\n\n[Later]\n; the last section\nColour=blue\n";
    WriteSettings(config.path(), head + FolderLine(config.path()) + tail);
    QCOMPARE(OpenAndClose(config.path(), pictures.path()), QStringLiteral("exit 0"));
    const QByteArray expected = head + FolderLine(pictures.path()) + tail;
    const QByteArray after = Contents(SettingsFile(config.path()));
    QCOMPARE(after.size(), expected.size());
    QVERIFY(after == expected);
}

void EndToEndTest::aLinkedSettingsFileStaysALink_data() {
    QTest::addColumn<bool>("fifo");
    QTest::newRow("to a regular file") << false;
    QTest::newRow("to a FIFO") << true;
}

// The link is the user's: a file it leads to takes the new folder; a FIFO is left as it is, and
// neither reading nor writing waits on it.
void EndToEndTest::aLinkedSettingsFileStaysALink() {
    QFETCH(bool, fifo);
    QTemporaryDir config;
    QTemporaryDir pictures;
    QTemporaryDir elsewhere;
    const QString target = QDir(elsewhere.path()).filePath(QStringLiteral("settings"));
    if (fifo) {
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    } else {
        testing::WriteBytes(elsewhere.path(), QStringLiteral("settings"),
                            kSection + '\n' + FolderLine(elsewhere.path()));
    }
    QDir().mkpath(SettingsFolder(config.path()));
    QVERIFY(QFile::link(target, SettingsFile(config.path())));
    QCOMPARE(OpenAndClose(config.path(), pictures.path()), QStringLiteral("exit 0"));
    QVERIFY(QFileInfo(SettingsFile(config.path())).isSymLink());
    struct stat status {};
    QCOMPARE(::lstat(QFile::encodeName(target).constData(), &status), 0);
    QCOMPARE(S_ISFIFO(status.st_mode), fifo);
    if (!fifo) {
        QCOMPARE(StoredFolder(target), FolderLine(pictures.path()));
    }
}

void EndToEndTest::theFrameCoversTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::newRow("1024 x 768") << QSize(1024, 768);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080);
}

// Once openbox has framed the window, the frame is at the top left, as wide as the screen and at
// most a pixel shorter.
void EndToEndTest::theFrameCoversTheScreen() {
    QFETCH(QSize, screen);
    const Desktop desktop(screen);
    QVERIFY2(desktop.Fault().isEmpty(), qPrintable(desktop.Fault()));
    QTemporaryDir config;
    Viewer viewer(desktop, config.path(), {});
    const QString window = viewer.Window();
    QVERIFY2(!window.isEmpty(), qPrintable(viewer.State()));
    QRect frame;
    QVERIFY2(WaitUntil([&] {
                 frame = desktop.Frame(window);
                 return frame.topLeft() == QPoint(0, 0) && frame.width() == screen.width() &&
                        frame.height() >= screen.height() - 1 && frame.height() <= screen.height();
             }),
             qPrintable(QStringLiteral("frame at %1,%2, %3 x %4")
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(frame.width())
                            .arg(frame.height())));
}

QTEST_GUILESS_MAIN(EndToEndTest)
#include "EndToEndTest.moc"

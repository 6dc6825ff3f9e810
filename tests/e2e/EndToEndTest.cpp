// The real viewer on a virtual X screen under openbox, driven with real keys and clicks: bad and
// hostile files, resizes by the window manager, clicks on a thumbnail page, closing through the
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
#include <optional>

#include "e2e/Desktop.h"
#include "samples/TextureFiles.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using e2e::Desktop;
using e2e::Viewer;
using e2e::WaitUntil;

namespace {

const QString kTitle = u"Tamsel Image Viewer: "_s;
// Menu items from the keyboard: a lone Alt gives the menu bar the keys.
const QString kThumbnailView = u"alt Down Down Return"_s;
const QString kBeginSlideShow = u"alt Right Down Return"_s;

constexpr qint64 kPeakBudget = 1'200'000'000;  // one picture's 1 GiB of work and the window's own
constexpr int kOutcomeMs = 20'000;

const QByteArray kSection = "[HKEY_LOCAL_MACHINE\\Software\\Corvane Software Store\\Tamsel Image Viewer]";

QString SettingsFile(const QString& configHome) {
    return QDir(configHome).filePath(u"Corvane Software Store/Tamsel Image Viewer.ini"_s);
}

QByteArray FolderLine(const QString& folder) {
    return "LastUsedPath=" + QFile::encodeName(folder) + "/\n";
}

void WriteSettings(const QString& configHome, const QByteArray& content) {
    QDir().mkpath(QFileInfo(SettingsFile(configHome)).path());
    QFile file(SettingsFile(configHome));
    file.open(QIODevice::WriteOnly);
    file.write(content);
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray Bytes(const samples::Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

QByteArray Jpeg(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    return buffer.data();
}

// A progressive 16 x 16 JPEG whose frame header claims `side` x `side` pixels.
QByteArray ClaimingJpeg(QImage::Format format, int side) {
    QImage image(16, 16, format);
    image.fill(Qt::gray);
    QByteArray bytes = Jpeg(image);
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
    out << kHeaders + runsSize << quint32{0} << kHeaders << quint32{40} << qint32{side} << qint32{side}
        << quint16{1} << quint16{8} << quint32{1} << runsSize << qint32{2835} << qint32{2835} << quint32{256}
        << quint32{0};
    for (int i = 0; i < 256; ++i) {
        out << quint8(i) << quint8(i) << quint8(i) << quint8{0};
    }
    out.writeRawData(runs.constData(), static_cast<int>(runsSize));
    return file;
}

// Writes `content` as `name`, grown with a hole of zeros to `paddedTo` bytes when that is larger.
QString WriteFile(const QString& folder, const QString& name, const QByteArray& content,
                  qint64 paddedTo = 0) {
    const QString path = testing::WriteBytes(folder, name, content);
    if (paddedTo > content.size()) {
        QFile(path).resize(paddedTo);
    }
    return path;
}

QString Seen(const Viewer::Outcome& outcome, Viewer& viewer) {
    return u"%1 boxes answered, %2 at once, %3, peak %4 MB, %5"_s.arg(
        QString::number(outcome.answered), QString::number(outcome.mostAtOnce),
        outcome.settled ? u"settled"_s : u"not settled"_s, QString::number(viewer.PeakMemory() / 1'000'000),
        viewer.State());
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void filesThatCannotBeShownOrOnlyJust_data();
    void filesThatCannotBeShownOrOnlyJust();
    void eachFileIsReadOnceAndOnceMorePerResize_data();
    void eachFileIsReadOnceAndOnceMorePerResize();
    void oneClickOnAPageAfterTheFullSizeView();
    void aSlideShowClosedByTheWindowManager();
    void aFullDiskKeepsTheSettingsFile();
    void aLargeSettingsFileKeepsEveryOtherByte();
    void aLinkedSettingsFileStaysALink_data();
    void aLinkedSettingsFileStaysALink();
    void theFrameCoversTheScreen_data();
    void theFrameCoversTheScreen();

private:
    // Starts the viewer on the test's folder and closes it through the window manager once it shows;
    // how it ended.
    QString OpenAndClose();

    std::unique_ptr<Desktop> desktop_;
    std::optional<QTemporaryDir> files_;   // each test's pictures
    std::optional<QTemporaryDir> config_;  // and the viewer's configuration folder
};

void EndToEndTest::initTestCase() {
    for (const QString& tool : {u"Xvfb"_s, u"openbox"_s, u"xdotool"_s, u"xprop"_s, u"xwininfo"_s}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            QSKIP(qPrintable(tool + u" is not installed (E2E_PACKAGES in scripts/common.sh)"_s));
        }
    }
    desktop_ = std::make_unique<Desktop>(QSize(1024, 768));
    QVERIFY2(desktop_->Fault().isEmpty(), qPrintable(desktop_->Fault()));
}

void EndToEndTest::init() {
    files_.emplace();
    config_.emplace();
}

QString EndToEndTest::OpenAndClose() {
    Viewer viewer(*desktop_, config_->path(), {files_->path()});
    if (viewer.Window().isEmpty()) {
        return u"no window, "_s + viewer.State();
    }
    viewer.WaitQuiet();
    viewer.Close();
    return viewer.State(10'000);
}

void EndToEndTest::filesThatCannotBeShownOrOnlyJust_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("paddedTo");
    QTest::addColumn<bool>("page");
    const auto row = [](const char* what, const char* name, const QByteArray& content, bool page,
                        qint64 paddedTo = 0) {
        QTest::addRow("%s, %s", what, page ? "page of nine" : "single view")
            << QString::fromLatin1(name) << content << paddedTo << page;
    };
    const QByteArray jpeg = Jpeg(testing::SolidImage(64, 48, qRgb(0, 128, 0)));
    row("refused texture", "garbage.mip", QByteArray(300, '\x5A'), false);
    row("empty texture", "empty.mip", {}, false);
    row("broken JPEG", "broken.jpg", jpeg.left(40) + QByteArray(200, '\x33'), false);
    row("text named .bmp", "notes.bmp", "just some words, no picture\n", false);

    constexpr std::int32_t kWide = 67'108'864;
    const samples::Bytes pixels(2, 0x5A);
    samples::MipFields paletted;  // MIP format 0: 4-bit pixels
    paletted.paletteChunk = samples::PaletteChunk::BeforeImage;
    paletted.image = {0, kWide, 1, kWide / 2};
    samples::MipFields plain;
    plain.mipFormat = samples::kFormat565;
    plain.image = {samples::kFormat565, kWide, 1, 2 * kWide};
    const QByteArray bare = Bytes(samples::BareImageFile(plain.image, pixels));
    const QByteArray mip = Bytes(samples::MipFile(paletted, pixels));
    const QByteArray srb = Bytes(samples::SrbFile(samples::MipFile(plain, pixels), samples::Bytes(13, 1)));
    for (const bool page : {false, true}) {
        row("bare texture 67108864 wide", "wide.pbf", bare, page);
        row("4-bit MIP 67108864 wide", "wide.mip", mip, page);
        row("SRB 67108864 wide", "wide.srb", srb, page);
        row("grey JPEG claiming 65500 x 65500", "grey.jpg", ClaimingJpeg(QImage::Format_Grayscale8, 65'500),
            page);
        row("colour JPEG claiming 30000 x 30000", "colour.jpg", ClaimingJpeg(QImage::Format_RGB32, 30'000),
            page);
        row("RLE8 BMP claiming 16000 x 16000", "runs.bmp", RunLengthBmp(16'000), page);
        row("1 GiB: a small JPEG, then zeros", "padded.jpg", jpeg, page, qint64{1} << 30);
    }
}

// Each file is refused with one message box at a time, never two stacked, or shown, within the time
// and memory one picture may take; afterwards the program runs on and steps to the next picture.
void EndToEndTest::filesThatCannotBeShownOrOnlyJust() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(qint64, paddedTo);
    QFETCH(bool, page);
    const bool shown = paddedTo > 0;  // the one good picture: the zeros after it are no part of it
    testing::WriteSolidTexture(files_->path(), u"zz-next.pbf"_s, 12, 6, qRgb(0, 0, 255));
    QString last = name;  // the file drawn last, that a shown file leaves in the title
    for (int i = 1; page && i <= 9; ++i) {
        last = u"%1-%2"_s.arg(i).arg(name);
        WriteFile(files_->path(), last, content, paddedTo);
    }
    Viewer viewer(*desktop_, config_->path(),
                  {page ? files_->path() : WriteFile(files_->path(), name, content, paddedTo)});
    QVERIFY2(!viewer.Window().isEmpty(), qPrintable(viewer.State()));
    if (page) {
        viewer.Keys(kThumbnailView);
    }
    const Viewer::Outcome outcome = viewer.AnswerBoxes(kOutcomeMs, kPeakBudget);
    const QString seen = Seen(outcome, viewer);
    qInfo("%s", qPrintable(seen));
    QVERIFY2(viewer.Running() && viewer.PeakMemory() < kPeakBudget, qPrintable(seen));
    QVERIFY2(outcome.settled && outcome.mostAtOnce <= 1, qPrintable(seen));
    if (shown) {
        QCOMPARE(outcome.answered, 0);
        QCOMPARE(viewer.Title(), kTitle + last);
    } else if (!page) {
        QCOMPARE(outcome.answered, 1);
    }
    // The next picture, or on a page of nine shown pictures the next page: zz-next.pbf and eight of them.
    viewer.Keys(u"Right"_s);
    const QString next = page && shown ? u"8-"_s + name : u"zz-next.pbf"_s;
    QVERIFY2(viewer.ShowsTitle(kTitle + next), qPrintable(viewer.State()));
}

void EndToEndTest::eachFileIsReadOnceAndOnceMorePerResize_data() {
    QTest::addColumn<bool>("page");
    QTest::newRow("single view") << false;
    QTest::newRow("thumbnail page") << true;
}

// A file is read once on its way to the screen, however the window manager settles the window
// meanwhile, and at most once more for each resize by the window manager.
void EndToEndTest::eachFileIsReadOnceAndOnceMorePerResize() {
    QFETCH(bool, page);
    testing::WriteNumberedTextures(files_->path(), 8);
    const QString picture =  // larger than the screen, and last in the folder
        testing::WritePicture(files_->path(), u"z.jpg"_s, testing::SolidImage(3000, 2000, qRgb(0, 0, 200)));
    e2e::OpenCounter counter(files_->path());
    const auto readMoreThan = [&](int times) {
        QStringList over;
        for (const QString& name : QDir(files_->path()).entryList(QDir::Files)) {
            if (counter.Opens(name) > times) {
                over << u"%1 %2 times"_s.arg(name).arg(counter.Opens(name));
            }
        }
        return over.join(u", "_s);
    };
    Viewer viewer(*desktop_, config_->path(), {page ? files_->path() : picture});
    const QString window = viewer.Window();
    QVERIFY2(!window.isEmpty(), qPrintable(viewer.State()));
    if (page) {
        viewer.Keys(kThumbnailView);
    }
    QVERIFY(viewer.ShowsTitle(kTitle + u"z.jpg"_s));
    viewer.WaitQuiet();
    QCOMPARE(readMoreThan(1), QString());
    desktop_->Run(u"xdotool windowsize %1 800 600"_s.arg(window));
    QVERIFY(WaitUntil([&] { return desktop_->Geometry(window).size() == QSize(800, 600); }));
    viewer.WaitQuiet();
    QCOMPARE(readMoreThan(2), QString());
}

// Back on the page after a double click showed a picture full size, one click selects a cell.
void EndToEndTest::oneClickOnAPageAfterTheFullSizeView() {
    for (int i = 0; i < 12; ++i) {
        testing::WriteSolidTexture(files_->path(), u"t%1.pbf"_s.arg(i, 2, 10, QLatin1Char('0')), 160, 120,
                                   qRgb(0, 160, 0));
    }
    Viewer viewer(*desktop_, config_->path(), {files_->path()});
    const QString window = viewer.Window();
    QVERIFY2(!window.isEmpty(), qPrintable(viewer.State()));
    viewer.Keys(kThumbnailView);
    QVERIFY(viewer.ShowsTitle(kTitle + u"t08.pbf"_s));  // the page's last cell is drawn last
    // Cell 1 starts 10 pixels into the inner area, below a menu bar about 20 high: the click aims at
    // the middle of its picture, large enough to absorb the difference. The middle button's top is 80
    // pixels above the inner bottom edge.
    const QSize inner = desktop_->Geometry(window).size();
    const QPoint cell1(10 + 80, 20 + 10 + 60);
    desktop_->Click(window, cell1, 2);
    QVERIFY(viewer.ShowsTitle(kTitle + u"t00.pbf"_s));
    desktop_->Click(window, {inner.width() / 2, inner.height() - 80 + 16});
    QVERIFY(viewer.ShowsTitle(kTitle + u"t08.pbf"_s));
    viewer.WaitQuiet();
    desktop_->Click(window, cell1);
    QVERIFY2(viewer.ShowsTitle(kTitle + u"t00.pbf"_s, 3000), qPrintable(viewer.Title()));
}

void EndToEndTest::aSlideShowClosedByTheWindowManager() {
    testing::WriteNumberedTextures(files_->path(), 3);
    Viewer viewer(*desktop_, config_->path(), {files_->path()});
    QVERIFY2(!viewer.Window().isEmpty(), qPrintable(viewer.State()));
    viewer.Keys(kBeginSlideShow);
    QVERIFY(WaitUntil([&] { return viewer.Title().startsWith(kTitle); }));
    viewer.Close();
    QCOMPARE(viewer.State(10'000), u"exit 0"_s);
    QCOMPARE(Contents(SettingsFile(config_->path())), kSection + '\n' + FolderLine(files_->path()));
}

void EndToEndTest::aFullDiskKeepsTheSettingsFile() {
    if (::geteuid() != 0) {
        QSKIP("mounting a small tmpfs as the settings folder needs root");
    }
    const QString folder = QFileInfo(SettingsFile(config_->path())).path();
    const QByteArray mountPoint = QFile::encodeName(folder);
    QDir().mkpath(folder);
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0) {
        QSKIP("no tmpfs can be mounted here");
    }
    const auto unmount = qScopeGuard([&] { ::umount2(mountPoint.constData(), MNT_DETACH); });
    const QByteArray before = kSection + '\n' + FolderLine(config_->path());
    WriteSettings(config_->path(), before);
    QFile filler(QDir(folder).filePath(u"filler"_s));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, '\0');
    while (filler.write(block) == block.size()) {
    }
    QCOMPARE(OpenAndClose(), u"exit 0"_s);
    QCOMPARE(Contents(SettingsFile(config_->path())), before);
}

// Other sections, comments and keys are the user's: only the remembered folder's line changes.
void EndToEndTest::aLargeSettingsFileKeepsEveryOtherByte() {
    QByteArray head = "; written by hand\n[Other]\n";
    for (int i = 0; head.size() <= (1 << 20); ++i) {
        head += "Key" + QByteArray::number(i) + '=' + QByteArray(64, 'v') + '\n';
    }
    head += "\n; ours\n" + kSection + '\n';
    const QByteArray tail = "Unknown=kept\n\n[Later]\n; the last section\nColour=blue\n";
    WriteSettings(config_->path(), head + FolderLine(config_->path()) + tail);
    QCOMPARE(OpenAndClose(), u"exit 0"_s);
    const QByteArray expected = head + FolderLine(files_->path()) + tail;
    const QByteArray after = Contents(SettingsFile(config_->path()));
    QCOMPARE(after.size(), expected.size());
    QVERIFY(after == expected);
}

void EndToEndTest::aLinkedSettingsFileStaysALink_data() {
    QTest::addColumn<bool>("fifo");
    QTest::newRow("to a regular file") << false;
    QTest::newRow("to a FIFO") << true;
}

// The link is the user's: the file it leads to takes the new folder and the link stays; a FIFO stays a
// FIFO, and neither reading nor writing the settings waits on it.
void EndToEndTest::aLinkedSettingsFileStaysALink() {
    QFETCH(bool, fifo);
    const QString target = config_->filePath(u"elsewhere"_s);
    if (fifo) {
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    } else {
        WriteFile(config_->path(), u"elsewhere"_s, kSection + '\n' + FolderLine(config_->path()));
    }
    QDir().mkpath(QFileInfo(SettingsFile(config_->path())).path());
    QVERIFY(QFile::link(target, SettingsFile(config_->path())));
    QCOMPARE(OpenAndClose(), u"exit 0"_s);
    struct stat status {};
    QCOMPARE(::lstat(QFile::encodeName(target).constData(), &status), 0);
    QCOMPARE(S_ISFIFO(status.st_mode), fifo);
    if (!fifo) {
        QVERIFY(QFileInfo(SettingsFile(config_->path())).isSymLink());
        QCOMPARE(Contents(target), kSection + '\n' + FolderLine(files_->path()));
    }
}

void EndToEndTest::theFrameCoversTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::newRow("1024 x 768") << QSize(1024, 768);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080);
}

// Once openbox has framed the window, the frame is at the top left, as wide as the screen and at most a
// pixel shorter.
void EndToEndTest::theFrameCoversTheScreen() {
    QFETCH(QSize, screen);
    const Desktop desktop(screen);
    QVERIFY2(desktop.Fault().isEmpty(), qPrintable(desktop.Fault()));
    Viewer viewer(desktop, config_->path(), {});
    const QString window = viewer.Window();
    QVERIFY2(!window.isEmpty(), qPrintable(viewer.State()));
    const QRect lower(0, 0, screen.width(), screen.height() - 1);
    QRect frame;
    if (!WaitUntil([&] {
            frame = desktop.Geometry(window, true);
            return frame == lower || frame == QRect(QPoint(0, 0), screen);
        })) {
        QCOMPARE(frame, lower);  // says where it is
    }
}

QTEST_GUILESS_MAIN(EndToEndTest)
#include "EndToEndTest.moc"

// What a modder uses beside the picture: the facts of a texture, zoom with crisp texels, files that
// change on disk, the keyboard, a texture beside its source, and the first start.
#include <sys/resource.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "browse/Browser.h"
#include "help/HelpWindow.h"
#include "navigation/ButtonRow.h"
#include "platform/PictureBox.h"
#include "samples/TextureFiles.h"
#include "shell/MainWindow.h"
#include "support/SampleNamed.h"
#include "support/TestPlatform.h"
#include "thumbs/ThumbnailPage.h"
#include "view/SingleView.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::TestPlatform;

namespace {

// A 4 x 2 MIP texture of 4-bit indices 0..7, with a palette of its own or none.
QString WriteIndexedMip(const QString& folder, const QString& name,
                        std::optional<samples::PaletteColours> palette) {
    samples::MipFields mip;
    mip.image = {palette ? std::uint8_t{0} : std::uint8_t{3}, 4, 2, 0};
    if (palette) {
        mip.paletteChunk = samples::PaletteChunk::BeforeImage;
        mip.palette = *palette;
    }
    return testing::WriteTextureFile(folder, name,
                                     samples::MipFile(mip, samples::Bytes{0x01, 0x23, 0x45, 0x67}));
}

samples::PaletteColours Ramp() {
    samples::PaletteColours palette{};
    for (std::uint32_t i = 0; i < palette.size(); ++i) {
        palette[i] = samples::Rgb(16 * i, 255 - 16 * i, (i % 2) * 255);
    }
    return palette;
}

// The start of a PNG: its signature and a header that claims `width` x `height` RGB pixels, with the
// checksum a PNG reader checks, and no pixel data.
QByteArray PngClaiming(quint32 width, quint32 height) {
    const auto be32 = [](quint32 value) {
        QByteArray bytes;
        for (const int shift : {24, 16, 8, 0}) {
            bytes += static_cast<char>((value >> shift) & 0xFF);
        }
        return bytes;
    };
    const QByteArray chunk = "IHDR" + be32(width) + be32(height) + QByteArray("\x08\x02\x00\x00\x00", 5);
    quint32 crc = 0xFFFFFFFFU;
    for (const char byte : chunk) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1U) != 0 ? 0xEDB88320U : 0U);
        }
    }
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + be32(13) + chunk + be32(~crc);
}

// The peak of this process's resident memory, in KiB.
long PeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Viewer {
    explicit Viewer(TestPlatform& platform) : window(platform.Build()) { window.show(); }
    void Open(const QString& name) {
        for (int i = 0; i < window.State().folder.Count(); ++i) {
            if (window.State().folder.Name(i) == name) {
                window.ChooseFile(i);
                window.OpenChosenFile();
                return;
            }
        }
        QFAIL("no such file in the list");
    }
    QString Title() const { return window.windowTitle(); }
    void Press(Qt::Key key) { QTest::keyClick(&window, key); }
    QStringList Facts() const {
        return window.SingleView().Facts().isVisible() ? window.SingleView().Facts().Shown().lines
                                                       : QStringList();
    }
    shell::MainWindow window;
};

}  // namespace

class ModderTest : public QObject {
    Q_OBJECT
private slots:
    void factsFollowThePictureAndAreRemembered();
    void theFactsOfARefusedTextureSayWhy();
    void zoomDrawsEachTexelAsASquare();
    void theWheelZoomsAboutThePointer();
    void theReadoutFollowsThePointer();
    void changesOnDiskAreShown();
    void theFileOnShowRefusedThenMendedOrGone();
    void keysGoThroughTheHandlers();
    void theSourceFlipsWithTheTextureAtOneZoom();
    void aSourceIsFoundOrRefused();
    void aTgaSourceIsRead();
    void theHintFitsItsBox();
    void theHelpAndVersionNeedNoDisplay();
};

void ModderTest::factsFollowThePictureAndAreRemembered() {
    TestPlatform platform;
    WriteIndexedMip(platform.programFolder, QStringLiteral("a.mip"), Ramp());
    WriteIndexedMip(platform.programFolder, QStringLiteral("b.mip"), std::nullopt);
    testing::WritePicture(platform.programFolder, QStringLiteral("c.bmp"),
                          testing::SolidImage(6, 3, qRgb(1, 2, 3)));
    {
        Viewer viewer(platform);
        viewer.Open(QStringLiteral("b.mip"));
        QVERIFY(viewer.Facts().isEmpty());
        QTest::keyClick(&viewer.window, Qt::Key_I);
        QCOMPARE(viewer.Facts(), (QStringList{"MIP texture, 4-bit paletted", "4 x 2 pixels", "100 bytes",
                                              "palette: none (black)"}));
        viewer.window.Previous();
        QCOMPARE(viewer.Facts().last(), QStringLiteral("palette: own PAMC chunk"));
        QCOMPARE(viewer.window.SingleView().Facts().Shown().swatches->at(1),
                 static_cast<Binary::ColourValue>(16 + 256 * 239 + 65536 * 255));
        viewer.window.Next();
        QCOMPARE(viewer.Facts().last(), QStringLiteral("palette: carried over from a.mip"));
        viewer.window.Next();
        QCOMPARE(viewer.Facts(), (QStringList{"BMP picture", "6 x 3 pixels", "114 bytes"}));
        viewer.window.ShowBrowser();
        QVERIFY(viewer.Facts().isEmpty());
        viewer.window.Exit();
    }
    Viewer again(platform);
    again.Open(QStringLiteral("c.bmp"));
    QCOMPARE(again.Facts().first(), QStringLiteral("BMP picture"));
}

// A refused texture gives its message as every refused texture does and leaves the view empty; with the
// facts on, the panel names it and gives the reader's reason, until a picture is shown again.
void ModderTest::theFactsOfARefusedTextureSayWhy() {
    TestPlatform platform;
    WriteIndexedMip(platform.programFolder, QStringLiteral("a.mip"), Ramp());
    testing::WriteTextureFile(platform.programFolder, QStringLiteral("b.mip"),
                              testing::SampleNamed("bad-palette-cut").bytes);
    testing::WritePicture(platform.programFolder, QStringLiteral("c.bmp"),
                          testing::SolidImage(6, 3, qRgb(1, 2, 3)));
    Viewer viewer(platform);
    const auto messages = [&platform] {
        QStringList shown;
        for (const testing::ShownMessage& message : platform.messages->shown) {
            shown << QStringList{message.caption, message.text,
                                 message.icon == platform::MessageIcon::Warning ? "warning" : "other"}
                         .join(u'|');
        }
        return shown;
    };
    const QString refusedMessage = QStringLiteral("Tamsel Image Viewer|Not a valid texture file|warning");
    const QStringList refusedFacts{"b.mip", "refused: the data ends at byte 100 of 120"};

    viewer.Open(QStringLiteral("b.mip"));
    QCOMPARE(messages(), QStringList{refusedMessage});
    QVERIFY(viewer.Facts().isEmpty());
    QTest::keyClick(&viewer.window, Qt::Key_I);
    QCOMPARE(viewer.Facts(), refusedFacts);
    QVERIFY(!viewer.window.SingleView().Box().isVisible());

    viewer.window.Next();
    QCOMPARE(viewer.Facts(), (QStringList{"BMP picture", "6 x 3 pixels", "114 bytes"}));
    viewer.window.Previous();
    QCOMPARE(messages(), (QStringList{refusedMessage, refusedMessage}));
    QCOMPARE(viewer.Facts(), refusedFacts);
    viewer.window.Previous();
    QCOMPARE(viewer.Facts().first(), QStringLiteral("MIP texture, 4-bit paletted"));
    viewer.window.ShowBrowser();
    QVERIFY(viewer.Facts().isEmpty());
}

// Zoomed in, at every level a texture's texels are squares of one size and one colour each, not
// blends; the keys go from level to level and the level shows.
void ModderTest::zoomDrawsEachTexelAsASquare() {
    TestPlatform platform;
    WriteIndexedMip(platform.programFolder, QStringLiteral("a.mip"), Ramp());
    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("b.pbf"), 2, 2, qRgb(255, 0, 0));
    Viewer viewer(platform);
    viewer.Open(QStringLiteral("a.mip"));
    view::ZoomView& zoom = viewer.window.SingleView().Zoom();
    QTest::keyClick(&viewer.window, Qt::Key_1);
    QVERIFY(zoom.isVisible());
    QCOMPARE(zoom.Scale(), 1.0);
    for (const int level : {2, 3, 4, 6, 8, 12, 16, 32}) {
        QTest::keyClick(&viewer.window, Qt::Key_Plus);
        QCOMPARE(zoom.Scale(), level);
        QCOMPARE(viewer.window.SingleView().Notice().text(), QStringLiteral("%1%").arg(100 * level));
        const QImage drawn = zoom.grab().toImage();
        const QPoint corner = zoom.Offset().toPoint();
        for (int texel = 0; texel < 8; ++texel) {
            const QRgb expected = Ramp()[static_cast<std::size_t>(texel)] & 0xFFFFFFU;
            const QPoint first = corner + QPoint(texel % 4, texel / 4) * level;
            // Its first and last pixels have its colour, the pixels just outside it do not.
            for (const QPoint inside : {first, first + QPoint(level - 1, level - 1)}) {
                QCOMPARE(drawn.pixel(inside) & 0xFFFFFFU, expected);
            }
            for (const QPoint outside : {first - QPoint(1, 0), first + QPoint(level, 0)}) {
                QVERIFY((drawn.pixel(outside) & 0xFFFFFFU) != expected);
            }
        }
    }
    QTest::keyClick(&viewer.window, Qt::Key_Plus);
    QCOMPARE(zoom.Scale(), 32.0);
    QTest::keyClick(&viewer.window, Qt::Key_0);
    QVERIFY(!zoom.isVisible());
    QTest::keyClick(&viewer.window, Qt::Key_Plus);
    QCOMPARE(zoom.Scale(), 2.0);
    viewer.window.Next();
    QVERIFY(!zoom.isVisible());
    QVERIFY(viewer.window.SingleView().Box().isVisible());
}

// The wheel zooms from anywhere in the window: about the pointer over the picture, whose point under
// it stays under it; a picture larger than the view is dragged.
void ModderTest::theWheelZoomsAboutThePointer() {
    TestPlatform platform;
    testing::WritePicture(platform.programFolder, QStringLiteral("p.bmp"),
                          testing::SolidImage(400, 300, qRgb(9, 9, 9)));
    Viewer viewer(platform);
    viewer.Open(QStringLiteral("p.bmp"));
    platform::PictureBox& box = viewer.window.SingleView().Box();
    const QPointF at(150.5, 120.5);
    QCursor::setPos(box.mapToGlobal(at.toPoint()));
    QWheelEvent notches(at, box.mapToGlobal(at), {}, QPoint(0, 4 * 120), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&box, &notches);
    view::ZoomView& zoom = viewer.window.SingleView().Zoom();
    QCOMPARE(zoom.Scale(), 6.0);
    // Once the picture is larger than the view, its point under the pointer stays under it.
    const QPointF pointer = zoom.mapFrom(&viewer.window, box.mapTo(&viewer.window, at));
    const std::optional<QPoint> underPointer = zoom.PixelAt(pointer);
    QCoreApplication::sendEvent(&zoom, &notches);
    QCOMPARE(zoom.Scale(), 32.0);
    QCOMPARE(zoom.PixelAt(pointer), underPointer);
    const QPointF before = zoom.Offset();
    QTest::mousePress(&zoom, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseMove(&zoom, QPoint(280, 310));
    QCOMPARE(zoom.Offset(), before + QPointF(-20, 10));

    // Over the button row, a notch out zooms about the view's centre.
    const QPointF centre = zoom.rect().center();
    const std::optional<QPoint> pixelAtCentre = zoom.PixelAt(centre);
    QPushButton& next = *viewer.window.Buttons().Next();
    QCursor::setPos(next.mapToGlobal(QPoint(5, 5)));
    QWheelEvent out(QPointF(5, 5), next.mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&next, &out);
    QCOMPARE(zoom.Scale(), 16.0);
    QCOMPARE(zoom.PixelAt(centre), pixelAtCentre);
}

// With the facts on, the texel under the pointer is read out: where it is, its colour, what its file
// stores there; a 4-bit texel marks its swatch.
void ModderTest::theReadoutFollowsThePointer() {
    TestPlatform platform;
    WriteIndexedMip(platform.programFolder, QStringLiteral("a.mip"), Ramp());
    const samples::Bytes words{0x1F, 0xFC, 0x00, 0x00};  // 1:5:5:5 words FC1F and 0000
    testing::WriteTextureFile(platform.programFolder, QStringLiteral("b.pbf"),
                              samples::BareImageFile({Binary::kFormat1555, 2, 1, 4}, words));
    testing::WritePicture(platform.programFolder, QStringLiteral("c.bmp"),
                          testing::SolidImage(6, 3, qRgb(1, 2, 3)));
    Viewer viewer(platform);
    viewer.Open(QStringLiteral("a.mip"));
    QTest::keyClick(&viewer.window, Qt::Key_I);
    QTest::keyClick(&viewer.window, Qt::Key_1);
    view::ZoomView& zoom = viewer.window.SingleView().Zoom();
    zoom.ZoomAbout(QPointF(zoom.rect().center()), 8.0);
    const auto pointAt = [](QWidget& widget, QPoint at) {
        QCursor::setPos(widget.mapToGlobal(at));
        QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &move);
    };
    pointAt(zoom, zoom.Offset().toPoint() + QPoint(8 + 3, 5));
    QCOMPARE(viewer.Facts().mid(4),
             (QStringList{u"zoom: 800%"_s, u"texel 1, 0"_s, u"colour #10EFFF: red 16, green 239, blue 255"_s,
                          u"palette index 1"_s}));
    QCOMPARE(viewer.window.SingleView().Facts().Shown().markedSwatch, std::optional(1));
    pointAt(zoom, zoom.Offset().toPoint() + QPoint(-3, 5));
    QCOMPARE(viewer.Facts().last(), u"zoom: 800%"_s);

    viewer.window.Next();
    platform::PictureBox& box = viewer.window.SingleView().Box();
    pointAt(box, QPoint(0, 0));
    QCOMPARE(viewer.Facts().mid(4),
             (QStringList{u"texel 0, 0"_s, u"colour #FF00FF: red 255, green 0, blue 255"_s,
                          u"word FC1F: ignored 1, red 31, green 0, blue 31"_s}));
    viewer.window.Next();
    pointAt(box, QPoint(5, 2));
    QCOMPARE(viewer.Facts().mid(3),
             (QStringList{u"texel 5, 2"_s, u"colour #010203: red 1, green 2, blue 3"_s}));
}

// A file saved again is shown anew once it is still; a file written in two goes gives no message;
// files added and removed come and go with the selection kept; a page is drawn again too.
void ModderTest::changesOnDiskAreShown() {
    TestPlatform platform;
    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("a.pbf"), 8, 4, qRgb(0, 0, 255));
    const QString b =
        testing::WriteSolidTexture(platform.programFolder, QStringLiteral("b.pbf"), 8, 4, qRgb(0, 255, 0));
    Viewer viewer(platform);
    viewer.Open(QStringLiteral("b.pbf"));
    const QString staging = testing::MakeFolder(platform.sandbox.path(), QStringLiteral("staging"));
    QFile source(testing::WriteSolidTexture(staging, QStringLiteral("b.pbf"), 12, 6, qRgb(255, 0, 0)));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray content = source.readAll();
    QFile target(b);
    QVERIFY(target.open(QIODevice::WriteOnly | QIODevice::Truncate));
    target.write(content.first(60));
    target.flush();
    QTest::qWait(100);
    target.write(content.sliced(60));
    target.close();
    QTRY_COMPARE(viewer.window.SingleView().Box().size(), QSize(12, 6));
    QVERIFY(platform.messages->shown.empty());

    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("c.pbf"), 4, 4, qRgb(1, 1, 1));
    QVERIFY(QFile::remove(QDir(platform.programFolder).filePath(QStringLiteral("a.pbf"))));
    QTRY_COMPARE(viewer.window.State().folder.Name(1), QStringLiteral("c.pbf"));
    QCOMPARE(viewer.window.State().folder.Count(), 2);
    QCOMPARE(viewer.window.State().folder.SelectedName(), QStringLiteral("b.pbf"));

    viewer.window.ToggleThumbnailView();
    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("c.pbf"), 5, 5, qRgb(1, 1, 1));
    QTRY_COMPARE(viewer.window.Page().Cell(2).size(), QSize(5, 5));
    testing::WriteBytes(platform.programFolder, QStringLiteral("c.pbf"), "broken now");
    QTRY_COMPARE(platform.messages->shown.size(), std::size_t{1});
    QTest::qWait(500);
    QCOMPARE(platform.messages->shown.size(), std::size_t{1});
}

// A file on show that is refused while being written is shown once a good version is in place, with
// one message for the refused version; a file on show that vanishes leaves the view, and Next and
// Previous go on from its place; a folder renamed away gives way to the folder above it, silently.
void ModderTest::theFileOnShowRefusedThenMendedOrGone() {
    TestPlatform platform;
    const QString folder = testing::MakeFolder(platform.sandbox.path(), QStringLiteral("textures"));
    const QStringList textures = testing::WriteNumberedTextures(folder, 4);
    Viewer viewer(platform);
    shell::MainWindow& window = viewer.window;
    QVERIFY(window.OpenPath(textures[1]).isEmpty());
    QFile file(textures[1]);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray good = file.readAll();
    QVERIFY(file.resize(0));
    QTRY_COMPARE(platform.messages->shown.size(), std::size_t{1});
    QVERIFY(!window.SingleView().Box().isVisible());
    QVERIFY(file.seek(0) && file.write(good) == good.size());
    file.close();
    QTRY_VERIFY(window.SingleView().Box().isVisible());
    QCOMPARE(testing::EntryShownIn(window.SingleView().Box()), 1);
    QCOMPARE(platform.messages->shown.size(), std::size_t{1});

    QVERIFY(QFile::remove(textures[1]));
    QTRY_VERIFY(!window.SingleView().Box().isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Tamsel Image Viewer v1.0.2"));
    window.Next();
    QCOMPARE(window.State().folder.SelectedName(), QStringLiteral("t02.pbf"));
    QVERIFY(QFile::remove(textures[2]));
    QTRY_VERIFY(!window.SingleView().Box().isVisible());
    window.Previous();
    QCOMPARE(window.State().folder.SelectedName(), QStringLiteral("t00.pbf"));

    QVERIFY(QDir(platform.sandbox.path()).rename(QStringLiteral("textures"), QStringLiteral("moved")));
    QTRY_COMPARE(window.State().folder.Path(), platform.sandbox.path());
    QVERIFY(!window.SingleView().Box().isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Tamsel Image Viewer v1.0.2"));
    QCOMPARE(window.State().folder.Count(), 0);
    window.Next();
    QCOMPARE(platform.messages->shown.size(), std::size_t{1});
}

void ModderTest::keysGoThroughTheHandlers() {
    TestPlatform platform;
    testing::WriteNumberedTextures(testing::MakeFolder(platform.programFolder, QStringLiteral("sub")), 3);
    Viewer viewer(platform);
    shell::MainWindow& window = viewer.window;
    QCOMPARE(window.focusWidget(), &window.Browser().Files());
    window.ChangeFolder(QDir(platform.programFolder).filePath(QStringLiteral("sub")));
    QTest::keyClick(&window, Qt::Key_Backspace);
    QCOMPARE(window.State().folder.Path(), platform.programFolder);
    window.Browser().Folders().setFocus();
    window.Browser().Folders().setCurrentRow(window.Browser().Folders().count() - 1);
    QTest::keyClick(&window.Browser().Folders(), Qt::Key_Return);
    QCOMPARE(window.State().folder.Count(), 3);
    window.Browser().Files().setFocus();
    window.ChooseFile(1);
    QTest::keyClick(&window.Browser().Files(), Qt::Key_Return);
    QCOMPARE(testing::EntryShownIn(window.SingleView().Box()), 1);

    window.ToggleThumbnailView();
    window.OpenCell(2);
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY((window.State().mode == shell::Mode::Pages));
    QTest::keyClick(&window, Qt::Key_F1);
    QVERIFY(window.Help() != nullptr);
    window.Help()->close();
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(platform.end->ends, 1);
}

// Key C shows the texture's source in its place, at the zoom's scale and position, and the texture
// again; the title names the file on show, the facts how the two differ. Key 0 and Next go back to the
// texture.
void ModderTest::theSourceFlipsWithTheTextureAtOneZoom() {
    TestPlatform platform;
    const QString& folder = platform.programFolder;
    testing::WriteSolidTexture(folder, u"car.pbf"_s, 8, 4, qRgb(255, 0, 0));
    QImage source = testing::SolidImage(8, 4, qRgb(255, 0, 0));
    source.setPixel(3, 1, qRgb(200, 0, 0));
    QVERIFY(source.save(QDir(folder).filePath(u"car.png"_s), "PNG"));
    testing::WriteSolidTexture(folder, u"next.pbf"_s, 8, 4, qRgb(0, 0, 255));
    Viewer viewer(platform);
    viewer.Open(u"car.pbf"_s);
    view::ZoomView& zoom = viewer.window.SingleView().Zoom();
    const QString textureTitle = u"Tamsel Image Viewer: car.pbf"_s;
    const QString sourceTitle = u"Tamsel Image Viewer: car.png (source of car.pbf)"_s;

    // Out of the zoom, C enters it at the fit.
    viewer.Press(Qt::Key_C);
    QVERIFY(zoom.isVisible());
    QCOMPARE(viewer.Title(), sourceTitle);
    QCOMPARE(zoom.Picture().pixel(3, 1), qRgb(200, 0, 0));
    zoom.ZoomAbout(QPointF(10, 10), 200.0);
    const double scale = zoom.Scale();
    const QPointF offset = zoom.Offset();
    QVERIFY(offset != QPointF(zoom.width() - 1600, zoom.height() - 800) / 2.0);
    for (const QString& title : {textureTitle, sourceTitle}) {
        viewer.Press(Qt::Key_C);
        QCOMPARE(viewer.Title(), title);
        QCOMPARE(zoom.Scale(), scale);
        QCOMPARE(zoom.Offset(), offset);
        QCOMPARE(zoom.Picture().pixel(3, 1), title == sourceTitle ? qRgb(200, 0, 0) : qRgb(255, 0, 0));
    }

    viewer.Press(Qt::Key_I);
    QCOMPARE(
        viewer.Facts().mid(0, 6),
        (QStringList{u"car.png, the source of car.pbf"_s, u"8 x 4 pixels"_s,
                     u"texels that differ: 1 of 8 x 4"_s, u"largest difference: red 55, green 0, blue 0"_s,
                     u"mean difference: red 1.72, green 0.00, blue 0.00"_s, u"zoom: 20000%"_s}));
    viewer.Press(Qt::Key_0);
    QVERIFY(!zoom.isVisible());
    QCOMPARE(viewer.Title(), textureTitle);
    QCOMPARE(viewer.Facts().first(), u"bare texture, 5:6:5"_s);

    viewer.Press(Qt::Key_C);
    QCOMPARE(viewer.Title(), sourceTitle);
    viewer.window.Next();
    QCOMPARE(viewer.Title(), u"Tamsel Image Viewer: next.pbf"_s);
    QVERIFY(!viewer.window.State().source);
    QVERIFY(!zoom.isVisible());

    // The texture saved again is shown anew, in place of its source.
    viewer.window.Previous();
    viewer.Press(Qt::Key_C);
    QCOMPARE(viewer.Title(), sourceTitle);
    testing::WriteSolidTexture(folder, u"car.pbf"_s, 8, 4, qRgb(0, 255, 0));
    QTRY_COMPARE(viewer.Title(), textureTitle);
    QVERIFY(!zoom.isVisible());
    QCOMPARE(viewer.window.SingleView().Box().Surface().pixel(0, 0), qRgb(0, 255, 0));

    // The slide show's next picture too.
    viewer.Press(Qt::Key_C);
    QCOMPARE(viewer.Title(), sourceTitle);
    viewer.window.BeginShow();
    platform.interval->RunOut();
    QVERIFY(!viewer.window.State().source);
    QVERIFY(!viewer.Title().contains(u"source"_s));
}

// A source in any case of its name is found, and one of another size said to be; without a source, or
// with one that cannot be read or claims more than a texture may hold, a notice says so for a moment
// and nothing else changes: no message box, no memory taken. C is no key in the browser or for a photo.
void ModderTest::aSourceIsFoundOrRefused() {
    TestPlatform platform;
    const QString& folder = platform.programFolder;
    testing::WriteSolidTexture(folder, u"huge.pbf"_s, 4, 4, qRgb(255, 0, 0));
    testing::WriteBytes(folder, u"huge.png"_s, PngClaiming(100000, 100000));
    testing::WriteSolidTexture(folder, u"lone.pbf"_s, 4, 4, qRgb(255, 0, 0));
    testing::WriteSolidTexture(folder, u"torn.pbf"_s, 4, 4, qRgb(255, 0, 0));
    testing::WriteBytes(folder, u"torn.png"_s, PngClaiming(4, 4));
    testing::WritePicture(folder, u"view.bmp"_s, testing::SolidImage(4, 4, qRgb(1, 2, 3)));
    testing::WriteSolidTexture(folder, u"wide.pbf"_s, 8, 4, qRgb(255, 0, 0));
    QVERIFY(testing::SolidImage(9, 4, qRgb(255, 0, 0)).save(QDir(folder).filePath(u"WIDE.PNG"_s), "PNG"));
    Viewer viewer(platform);
    const QLabel& notice = viewer.window.SingleView().Notice();
    const view::ZoomView& zoom = viewer.window.SingleView().Zoom();

    viewer.Open(u"wide.pbf"_s);
    viewer.Press(Qt::Key_I);
    viewer.Press(Qt::Key_C);
    QCOMPARE(viewer.Title(), u"Tamsel Image Viewer: WIDE.PNG (source of wide.pbf)"_s);
    QCOMPARE(viewer.Facts().mid(1, 3),
             (QStringList{u"9 x 4 pixels"_s, u"sizes differ: the texture is 8 x 4, the source 9 x 4"_s,
                          u"texels that differ: 0 of 8 x 4"_s}));

    const long peakBefore = PeakKiB();
    for (const auto& [texture, said] :
         {std::pair{u"lone.pbf"_s, u"no source picture beside it"_s},
          std::pair{u"huge.pbf"_s, u"the source picture huge.png cannot be read"_s},
          std::pair{u"torn.pbf"_s, u"the source picture torn.png cannot be read"_s}}) {
        viewer.Open(texture);
        viewer.Press(Qt::Key_C);
        QVERIFY(notice.isVisible());
        QCOMPARE(notice.text(), said);
        // With the facts on, the notice stands below them rather than over their lines.
        QVERIFY(!notice.geometry().intersects(viewer.window.SingleView().Facts().geometry()));
        QCOMPARE(viewer.Title(), u"Tamsel Image Viewer: "_s + texture);
        QVERIFY(!zoom.isVisible());
    }
    QVERIFY2(PeakKiB() - peakBefore < 64 * 1024, qPrintable(QString::number(PeakKiB() - peakBefore)));
    QVERIFY(platform.messages->shown.empty());

    viewer.Open(u"view.bmp"_s);
    QVERIFY(!viewer.window.HandleKey(Qt::Key_C));
    viewer.Open(u"wide.pbf"_s);
    viewer.window.ShowBrowser();
    QVERIFY(!viewer.window.HandleKey(Qt::Key_C));
    QCOMPARE(viewer.Title(), u"Tamsel Image Viewer: wide.pbf"_s);
}

// A TGA of version 2.0 (with its footer), rows from the top, is read by Qt's TGA reader.
void ModderTest::aTgaSourceIsRead() {
    if (!QImageReader::supportedImageFormats().contains("tga")) {
        QSKIP("Qt's TGA reader (qt6-image-formats-plugins) is not installed");
    }
    TestPlatform platform;
    testing::WriteSolidTexture(platform.programFolder, u"road.pbf"_s, 2, 1, qRgb(255, 0, 0));
    const QByteArray header = QByteArray(2, '\0') + '\x02' + QByteArray(9, '\0') + testing::Le16(2) +
                              testing::Le16(1) + '\x18' + '\x20';
    const QByteArray pixels("\x00\x00\xFF\x00\xFF\x00", 6);  // blue, green, red: red, then green
    testing::WriteBytes(platform.programFolder, u"road.Tga"_s,
                        header + pixels + QByteArray(8, '\0') + QByteArray("TRUEVISION-XFILE.", 18));
    Viewer viewer(platform);
    viewer.Open(u"road.pbf"_s);
    viewer.Press(Qt::Key_I);
    viewer.Press(Qt::Key_C);
    QCOMPARE(viewer.Title(), u"Tamsel Image Viewer: road.Tga (source of road.pbf)"_s);
    QCOMPARE(viewer.Facts().at(3), u"largest difference: red 255, green 255, blue 0"_s);
}

// Drawn in the font it is given, the hint wraps within its 180 x 32 box.
void ModderTest::theHintFitsItsBox() {
    TestPlatform platform;
    Viewer viewer(platform);
    const QLabel& hint = viewer.window.Hint();
    QCOMPARE(hint.size(), QSize(180, 32));
    const QRect needed =
        QFontMetrics(hint.font()).boundingRect(QRect(0, 0, 180, 32), Qt::TextWordWrap, hint.text());
    QVERIFY2(needed.height() <= 32 && needed.width() <= 180, qPrintable(QString::number(needed.height())));
}

void ModderTest::theHelpAndVersionNeedNoDisplay() {
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("--version")}) {
        QProcess viewer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        viewer.setProcessEnvironment(environment);
        viewer.start(QStringLiteral(TAMSEL_VIEWER_BINARY), {option});
        QVERIFY(viewer.waitForFinished(5000));
        QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(viewer.exitCode(), 0);
        QVERIFY(!viewer.readAllStandardOutput().isEmpty());
    }
}

QTEST_MAIN(ModderTest)
#include "ModderTest.moc"

// The real viewer on a virtual X screen under openbox, driven with real keys: bad and hostile files, and
// the frame the window manager adds, each judged from outside the program.
#include <QFile>
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
// The menu item from the keyboard: a lone Alt gives the menu bar the keys.
const QString kThumbnailView = u"alt Down Down Return"_s;

constexpr qint64 kPeakBudget = 1'200'000'000;  // one picture's 1 GiB of work and the window's own

// Writes `content` as `name`, grown with a hole of zeros to `paddedTo` bytes when that is larger.
QString WriteFile(const QString& folder, const QString& name, const QByteArray& content, qint64 paddedTo) {
    const QString path = testing::WriteBytes(folder, name, content);
    if (paddedTo > content.size()) {
        QFile(path).resize(paddedTo);
    }
    return path;
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        for (const QString& tool : {u"Xvfb"_s, u"openbox"_s, u"xdotool"_s, u"xprop"_s, u"xwininfo"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty()) {
                QSKIP(qPrintable(tool + u" is not installed (E2E_PACKAGES in scripts/common.sh)"_s));
            }
        }
        desktop_ = std::make_unique<Desktop>(QSize(1024, 768));
        QVERIFY2(desktop_->Fault().isEmpty(), qPrintable(desktop_->Fault()));
    }

    void init() {
        files_.emplace();
        config_.emplace();
    }

    void filesThatCannotBeShownOrOnlyJust_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("paddedTo");
        QTest::addColumn<bool>("page");
        const auto row = [](const char* what, const char* name, const QByteArray& content, bool page,
                            qint64 paddedTo = 0) {
            QTest::addRow("%s, %s", what, page ? "page of nine" : "single view")
                << QString::fromLatin1(name) << content << paddedTo << page;
        };
        const QByteArray jpeg = testing::Jpeg(testing::SolidImage(64, 48, qRgb(0, 128, 0)), true);
        const QImage grey = testing::SolidImage(16, 16, qRgb(128, 128, 128));
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
        for (const bool page : {false, true}) {
            row("bare texture 67108864 wide", "wide.pbf",
                testing::BytesOf(samples::BareImageFile(plain.image, pixels)), page);
            row("4-bit MIP 67108864 wide", "wide.mip", testing::BytesOf(samples::MipFile(paletted, pixels)),
                page);
            row("SRB 67108864 wide", "wide.srb",
                testing::BytesOf(samples::SrbFile(samples::MipFile(plain, pixels), samples::Bytes(13, 1))),
                page);
            row("grey JPEG claiming 65500 x 65500", "grey.jpg",
                testing::ClaimingSize(testing::Jpeg(grey.convertToFormat(QImage::Format_Grayscale8), true),
                                      65'500, 65'500),
                page);
            row("colour JPEG claiming 30000 x 30000", "colour.jpg",
                testing::ClaimingSize(testing::Jpeg(grey, true), 30'000, 30'000), page);
            row("RLE8 BMP claiming 16000 x 16000", "runs.bmp", testing::RunLengthBmp(16'000), page);
            row("1 GiB: a small JPEG, then zeros", "padded.jpg", jpeg, page, qint64{1} << 30);
        }
    }

    // Each file is refused with one message box at a time, never two stacked, or shown, within the time
    // and memory one picture may take; afterwards the program runs on and steps to the next picture.
    void filesThatCannotBeShownOrOnlyJust() {
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
        const Viewer::Outcome outcome = viewer.AnswerBoxes(20'000, kPeakBudget);
        const QString seen = u"%1 boxes answered, %2 at once, %3, peak %4 MB, %5"_s.arg(
            QString::number(outcome.answered), QString::number(outcome.mostAtOnce),
            outcome.settled ? u"settled"_s : u"not settled"_s,
            QString::number(viewer.PeakMemory() / 1'000'000), viewer.State());
        qInfo("%s", qPrintable(seen));
        QVERIFY2(viewer.Running() && viewer.PeakMemory() < kPeakBudget, qPrintable(seen));
        QVERIFY2(outcome.settled && outcome.mostAtOnce <= 1, qPrintable(seen));
        if (shown) {
            QCOMPARE(outcome.answered, 0);
            QCOMPARE(viewer.Title(), kTitle + last);
        } else if (!page) {
            QCOMPARE(outcome.answered, 1);
        }
        // The next picture, or on a page of nine shown pictures the next page: zz-next.pbf and eight of them;
        // the keys are the window's again once the menus opened with F10 are closed.
        viewer.Keys(u"F10 Escape Right"_s);
        const QString next = page && shown ? u"8-"_s + name : u"zz-next.pbf"_s;
        QVERIFY2(viewer.ShowsTitle(kTitle + next), qPrintable(viewer.State()));
    }

    void theFrameCoversTheScreen_data() {
        QTest::addColumn<QSize>("screen");
        QTest::newRow("1024 x 768") << QSize(1024, 768);
        QTest::newRow("1920 x 1080") << QSize(1920, 1080);
    }

    // Once openbox has framed the window, the frame is at the top left, as wide as the screen and at most
    // a pixel shorter.
    void theFrameCoversTheScreen() {
        QFETCH(QSize, screen);
        const Desktop desktop(screen);
        QVERIFY2(desktop.Fault().isEmpty(), qPrintable(desktop.Fault()));
        Viewer viewer(desktop, config_->path(), {});
        const QString window = viewer.Window();
        QVERIFY2(!window.isEmpty(), qPrintable(viewer.State()));
        const QRect lower(0, 0, screen.width(), screen.height() - 1);
        QRect frame;
        if (!WaitUntil([&] {
                frame = desktop.FrameGeometry(window);
                return frame == lower || frame == QRect(QPoint(0, 0), screen);
            })) {
            QCOMPARE(frame, lower);  // says where it is
        }
    }

private:
    std::unique_ptr<Desktop> desktop_;
    std::optional<QTemporaryDir> files_;   // each test's pictures
    std::optional<QTemporaryDir> config_;  // and the viewer's configuration folder
};

QTEST_GUILESS_MAIN(EndToEndTest)
#include "EndToEndTest.moc"

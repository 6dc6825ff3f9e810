// The real viewer on a virtual X screen under openbox when things change around it: the window made
// smaller by the window manager, the file on show refused and then mended, removed, or taken away with
// its folder, letters typed into the browser, and a session without a home folder. Each is judged from
// outside the program: its titles, its window's pixels, its message boxes, its output and its files.
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <memory>
#include <optional>

#include "e2e/Desktop.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using e2e::Desktop;
using e2e::Viewer;
using e2e::WaitUntil;

namespace {

const QString kTitle = u"Tamsel Image Viewer: "_s;
const QString kCaption = u"Tamsel Image Viewer v1.0.2"_s;

bool Near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) < 40 && std::abs(qGreen(a) - qGreen(b)) < 40 &&
           std::abs(qBlue(a) - qBlue(b)) < 40;
}

// How many pixels of `shot` inside `area` (all of it when empty) are near `colour`, and the rightmost
// and lowest place of one.
struct Found {
    int count = 0;
    QPoint last{-1, -1};
};
Found Find(const QImage& shot, QRgb colour, QRect area = {}) {
    Found found;
    const QRect within = area.isEmpty() ? shot.rect() : area.intersected(shot.rect());
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            if (Near(shot.pixel(x, y), colour)) {
                ++found.count;
                found.last = {std::max(found.last.x(), x), std::max(found.last.y(), y)};
            }
        }
    }
    return found;
}

QByteArray SolidTextureBytes(const QString& folder, QRgb colour) {
    QFile file(testing::WriteSolidTexture(folder, u"staged.pbf"_s, 64, 48, colour));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ChangesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (const QString missing = e2e::Missing({u"import"_s}); !missing.isEmpty()) {
            QSKIP(qPrintable(missing));
        }
        desktop_ = std::make_unique<Desktop>(QSize(1024, 768));
        QVERIFY2(desktop_->Fault().isEmpty(), qPrintable(desktop_->Fault()));
    }

    void init() {
        files_.emplace();
        config_.emplace();
        // The pointer rests on the frame's corner, where no picture shows its hover text over the pixels
        // a test reads.
        desktop_->Run(u"xdotool mousemove 1023 767"_s);
    }

    // Made smaller than at start, the window shows the facts panel at the top left of its picture area,
    // and a picture zoomed there stays above the buttons' row, its far corner dragged into view at the
    // area's edge.
    void theFactsAndTheZoomFollowASmallerWindow() {
        const QString picture =
            testing::WritePicture(files_->path(), u"q.bmp"_s, testing::Quadrants(400, 300));
        Viewer viewer(*desktop_, config_->path(), {picture});
        const QString window = viewer.Window();
        QVERIFY2(viewer.ShowsTitle(kTitle + u"q.bmp"_s), qPrintable(viewer.State()));
        desktop_->Run(u"xdotool windowsize %1 700 500"_s.arg(window));
        QVERIFY(WaitUntil([&] { return desktop_->FrameGeometry(window).width() < 750; }));
        viewer.WaitQuiet();
        viewer.Keys(u"i"_s);
        viewer.WaitQuiet();
        QImage shot = desktop_->Shot(window);
        QVERIFY(!shot.isNull());
        const Found facts = Find(shot, qRgb(35, 35, 35), QRect(0, 0, 150, 150));
        QVERIFY2(facts.count > 2000, qPrintable(u"%1 dark pixels at the top left"_s.arg(facts.count)));

        // Zoomed in about the middle of the picture, then dragged as far up and left as it goes.
        const QPoint middle(shot.width() / 2, shot.height() / 2 - 30);
        desktop_->Run(u"xdotool mousemove --window %1 %2 %3 key --delay 100 plus plus plus"_s.arg(
            window, QString::number(middle.x()), QString::number(middle.y())));
        desktop_->Run(
            u"xdotool mousedown 1 mousemove --window %1 200 150 mousemove --window %1 5 5 mouseup 1"_s.arg(
                window));
        viewer.WaitQuiet();
        shot = desktop_->Shot(window);
        const Found corner = Find(shot, testing::kQuadrant[3]);
        const QString seen = u"%1 x %2 window, yellow %3 pixels to (%4, %5)"_s.arg(shot.width())
                                 .arg(shot.height())
                                 .arg(corner.count)
                                 .arg(corner.last.x())
                                 .arg(corner.last.y());
        QVERIFY2(corner.count > 300 * 200, qPrintable(seen));  // zoomed: a quadrant larger than 200 x 150
        QVERIFY2(corner.last.x() >= shot.width() - 12 && corner.last.x() <= shot.width() - 10,
                 qPrintable(seen));
        QVERIFY2(corner.last.y() < shot.height() - 50, qPrintable(seen));
        QVERIFY2(Find(shot, testing::kQuadrant[3], QRect(0, corner.last.y() + 2, shot.width(), shot.height()))
                         .count == 0,
                 qPrintable(seen));
        QVERIFY(Find(shot, qRgb(35, 35, 35), QRect(0, 0, 150, 150)).count > 2000);
    }

    // The file on show, refused while it is empty, is shown once a good version is written into it in
    // place; the refused version gives one message, the good one none.
    void aRefusedFileIsShownOnceMended() {
        const QString staging = testing::MakeFolder(files_->path(), u"staging"_s);
        const QString path =
            testing::WriteBytes(files_->path(), u"c.pbf"_s, SolidTextureBytes(staging, qRgb(255, 0, 0)));
        const QByteArray good = SolidTextureBytes(staging, qRgb(0, 255, 0));
        Viewer viewer(*desktop_, config_->path(), {path});
        const QString window = viewer.Window();
        QVERIFY2(viewer.ShowsTitle(kTitle + u"c.pbf"_s), qPrintable(viewer.State()));
        QVERIFY(QFile::resize(path, 0));
        QVERIFY(WaitUntil([&] { return !viewer.Windows(u"^Tamsel Image Viewer$"_s).isEmpty(); }));
        const Viewer::Outcome refused = viewer.AnswerBoxes(10'000);
        QCOMPARE(refused.answered, 1);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.write(good) == good.size());
        file.close();
        QVERIFY2(WaitUntil([&] { return Find(desktop_->Shot(window), qRgb(0, 255, 0)).count == 64 * 48; }),
                 qPrintable(viewer.State()));
        const Viewer::Outcome mended = viewer.AnswerBoxes(3000);
        QVERIFY(mended.settled);
        QCOMPARE(mended.answered, 0);
    }

    // The file on show removed leaves the view, the title back to the caption, and Next shows the file
    // after it; its folder renamed away leaves nothing of it, silently.
    void theFileOnShowOrItsFolderGoes() {
        const QString folder = testing::MakeFolder(files_->path(), u"textures"_s);
        testing::WriteSolidTexture(folder, u"a.pbf"_s, 64, 48, qRgb(255, 0, 0));
        const QString b = testing::WriteSolidTexture(folder, u"b.pbf"_s, 64, 48, qRgb(0, 0, 255));
        testing::WriteSolidTexture(folder, u"c.pbf"_s, 64, 48, qRgb(0, 255, 0));
        Viewer viewer(*desktop_, config_->path(), {b});
        const QString window = viewer.Window();
        QVERIFY2(viewer.ShowsTitle(kTitle + u"b.pbf"_s), qPrintable(viewer.State()));
        QVERIFY(QFile::remove(b));
        QVERIFY2(viewer.ShowsTitle(kCaption), qPrintable(viewer.Title()));
        QCOMPARE(Find(desktop_->Shot(window), qRgb(0, 0, 255)).count, 0);
        viewer.Keys(u"Right"_s);
        QVERIFY2(viewer.ShowsTitle(kTitle + u"c.pbf"_s), qPrintable(viewer.Title()));

        QVERIFY(QDir(files_->path()).rename(u"textures"_s, u"moved"_s));
        QVERIFY2(viewer.ShowsTitle(kCaption), qPrintable(viewer.Title()));
        viewer.Keys(u"Right"_s);
        const Viewer::Outcome outcome = viewer.AnswerBoxes(3000);
        QVERIFY(outcome.settled);
        QCOMPARE(outcome.answered, 0);
        QCOMPARE(viewer.Title(), kCaption);
        QCOMPARE(Find(desktop_->Shot(window), qRgb(0, 255, 0)).count, 0);
    }

    // In the browser a letter typed into the file list jumps to a name, rather than toggling the facts,
    // which stay unasked for: nothing of them is stored.
    void lettersTypedInTheBrowserGoToTheList() {
        for (const char* name : {"a.pbf", "img.pbf", "zz.pbf"}) {
            testing::WriteSolidTexture(files_->path(), QString::fromLatin1(name), 16, 16, qRgb(0, 0, 255));
        }
        Viewer viewer(*desktop_, config_->path(), {files_->path()});
        QVERIFY2(!viewer.Window().isEmpty(), qPrintable(viewer.State()));
        viewer.Keys(u"i Return"_s);
        QVERIFY2(viewer.ShowsTitle(kTitle + u"img.pbf"_s), qPrintable(viewer.Title()));
        viewer.Keys(u"ctrl+q"_s);
        QCOMPARE(viewer.State(10'000), u"exit 0"_s);
        QFile settings(QDir(config_->path()).filePath(u"Corvane Software Store/Tamsel Image Viewer.ini"_s));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray stored = settings.readAll();
        QVERIFY2(stored.contains("LastUsedPath=") && !stored.contains("ShowFacts"), stored.constData());
    }

    // Without HOME or XDG_CONFIG_HOME the viewer runs, says on its output that nothing is remembered, and
    // makes no settings folder below the root.
    void withoutAHomeNothingIsStored() {
        const QString below = u"/.config/Corvane Software Store"_s;
        if (QFile::exists(below)) {
            QSKIP("a settings folder below the root is there already");
        }
        Viewer viewer(*desktop_, QString(), {});
        QVERIFY2(!viewer.Window().isEmpty(), qPrintable(viewer.State()));
        viewer.Keys(u"ctrl+q"_s);
        QCOMPARE(viewer.State(10'000), u"exit 0"_s);
        QVERIFY2(viewer.Output().contains(u"HOME is not set"_s), qPrintable(viewer.Output()));
        QVERIFY(!QFile::exists(below));
    }

private:
    std::unique_ptr<Desktop> desktop_;
    std::optional<QTemporaryDir> files_;   // each test's pictures
    std::optional<QTemporaryDir> config_;  // and the viewer's configuration folder
};

QTEST_GUILESS_MAIN(ChangesTest)
#include "ChangesTest.moc"

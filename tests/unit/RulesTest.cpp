// The window's pure rules: the controls for each state, geometry, fit, kinds and paths, paging and
// stepping.
#include <QTest>

#include "browse/Stepping.h"
#include "files/Drives.h"
#include "picture/FitRule.h"
#include "shell/Controls.h"
#include "shell/Geometry.h"
#include "texture/FileKinds.h"
#include "thumbs/Paging.h"
#include "view/Readout.h"
#include "view/ZoomLevels.h"

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

// The three buttons as "caption [tip]", "-" marking one disabled and "~" one hidden; then the menu items
// that change, "-" marking one disabled and "*" one checked; then what else shows.
QString Told(const shell::Controls& controls) {
    QStringList buttons;
    for (const shell::ButtonFace& face : {controls.previous, controls.middle, controls.next}) {
        buttons << face.caption + (face.enabled ? u""_s : u"-"_s) + (face.shown ? u""_s : u"~"_s) + u" ["_s +
                       face.tip + u']';
    }
    const shell::MenuStates& m = controls.menus;
    const auto item = [](const char* name, bool enabled, bool checked = false) {
        return QString::fromLatin1(name) + (enabled ? u""_s : u"-"_s) + (checked ? u"*"_s : u""_s);
    };
    const QStringList menus{item("File", m.fileMenu),
                            item("Open File", m.openFile),
                            item("Thumbnail View", true, m.thumbnailViewChecked),
                            item("Slide Show", m.slideShowMenu),
                            item("Begin", m.beginShow),
                            item("End", m.endShow),
                            item("Sequential", true, m.sequentialChecked),
                            item("Random", true, m.randomChecked),
                            item("Interval", m.intervalMenu) + QString::number(m.intervalChecked)};
    return buttons.join(u" | "_s) + u" / "_s + menus.join(u' ') + u" / hint "_s +
           (controls.hintShown ? u"shown"_s : u"hidden"_s) + u", browser "_s +
           (controls.browserShown ? u"shown"_s : u"hidden"_s) + u", "_s + controls.title;
}

}  // namespace

class RulesTest : public QObject {
    Q_OBJECT
private slots:
    void controlsForAState_data() {
        using shell::MiddleHint;
        using shell::MiddleMode;
        using shell::Mode;
        using shell::SteppingHints;
        QTest::addColumn<shell::ViewState>("state");
        QTest::addColumn<QString>("controls");
        shell::ViewState state;
        state.hintShown = true;
        QTest::newRow("start-up: the browser") << state
                                               << u"Previous~ [Previous Image] | Open- [Open Selected File] "
                                                  u"| Next~ [Next Image] / File Open File "
                                                  "Thumbnail View Slide Show Begin End- Sequential* Random "
                                                  "Interval1 / hint shown, browser shown, "
                                                  "Tamsel Image Viewer v1.0.2"_s;
        state.browserShown = false;
        state.hintShown = false;
        state.middle = {MiddleMode::Open, true, false, MiddleHint::OpenSelectedFile};
        state.titleName = u"a.mip"_s;
        QTest::newRow("a picture opened from the browser")
            << state
            << u"Previous [Previous Image] | Open~ [Open Selected File] | Next [Next Image] / File Open File "
               "Thumbnail View Slide Show Begin End- Sequential* Random Interval1 / hint hidden, browser "
               "hidden, "
               "Tamsel Image Viewer: a.mip"_s;
        state.source = shell::SourceOnShow{u"A.PNG"_s, {}};
        QTest::newRow("its source shown in its place")
            << state
            << u"Previous [Previous Image] | Open~ [Open Selected File] | Next [Next Image] / File Open File "
               "Thumbnail View Slide Show Begin End- Sequential* Random Interval1 / hint hidden, browser "
               "hidden, "
               "Tamsel Image Viewer: A.PNG (source of a.mip)"_s;
        state.source.reset();
        state.mode = Mode::Pages;
        state.stepping = SteppingHints::PagesEntered;
        QTest::newRow("the thumbnail view entered") << state
                                                    << u"Previous [Previous Thumbnails] | Open~ [Open "
                                                       u"Selected File] | Next [Next ThumbNails] / File Open "
                                                       "File Thumbnail View* Slide Show- Begin End- "
                                                       "Sequential* Random Interval1 / hint hidden, browser "
                                                       "hidden, Tamsel Image Viewer: a.mip"_s;
        state.mode = Mode::PictureFromPage;
        state.middle = {MiddleMode::BackToPage, true, true, MiddleHint::ViewMoreThumbnails};
        QTest::newRow("a picture full size from its page")
            << state
            << u"Previous- [Previous Thumbnails] | ThumbNails [View More Thumbnails] | Next- [Next "
               u"ThumbNails] / "
               "File Open File- Thumbnail View* Slide Show- Begin End- Sequential* Random Interval1 / hint "
               "hidden, "
               "browser hidden, Tamsel Image Viewer: a.mip"_s;
        state.mode = Mode::Pages;
        state.stepping = SteppingHints::PagesReturned;
        state.hintShown = true;
        state.middle = {MiddleMode::Open, false, false, MiddleHint::ViewThumbnails};
        QTest::newRow("back to the page") << state
                                          << u"Previous [Previous Thumbnails] | Open-~ [View Thumbnails] | "
                                             u"Next [Next Thumbnails] / File Open "
                                             "File Thumbnail View* Slide Show- Begin End- Sequential* Random "
                                             "Interval1 / hint shown, browser "
                                             "hidden, Tamsel Image Viewer: a.mip"_s;
        state.mode = Mode::Pictures;
        state.stepping = SteppingHints::Pictures;
        state.hintShown = false;
        state.show = {slideshow::Phase::Running, slideshow::Order::Random, 6};
        state.middle = {MiddleMode::Pause, true, true, MiddleHint::PauseShow};
        QTest::newRow("a show running") << state
                                        << u"Previous- [Previous Image] | Pause [Pause Slide Show] | Next- "
                                           u"[Next Image] / File- Open File "
                                           "Thumbnail View Slide Show Begin- End Sequential Random* "
                                           "Interval-6 / hint hidden, browser hidden, "
                                           "Tamsel Image Viewer: a.mip"_s;
        state.show.phase = slideshow::Phase::Paused;
        state.middle = {MiddleMode::Continue, true, true, MiddleHint::ContinueShow};
        QTest::newRow("the show paused") << state
                                         << u"Previous [Previous Image] | Continue [Continue Slide Show] | "
                                            u"Next [Next Image] / File- Open File "
                                            "Thumbnail View Slide Show Begin- End Sequential Random* "
                                            "Interval-6 / hint hidden, browser hidden, "
                                            "Tamsel Image Viewer: a.mip"_s;
        state.show.phase = slideshow::Phase::Off;
        state.middle.shown = false;
        state.browserShown = true;
        state.titleName.reset();
        QTest::newRow("the show ended, the browser back")
            << state
            << u"Previous~ [Previous Image] | Continue~ [Continue Slide Show] | Next~ [Next Image] / File "
               u"Open "
               "File Thumbnail View Slide Show Begin End- Sequential Random* Interval6 / hint hidden, "
               "browser "
               "shown, Tamsel Image Viewer v1.0.2"_s;
    }

    // Every control follows from the state: the buttons' captions, tooltips and whether they can be used
    // or are shown, the menus, the hint, the browser and the title.
    void controlsForAState() {
        QFETCH(shell::ViewState, state);
        QFETCH(QString, controls);
        QCOMPARE(Told(shell::ControlsFor(state)), controls);
    }

    void viewGeometry_data() {
        QTest::addColumn<QSize>("inner");
        QTest::addColumn<QList<int>>("sizes");  // view width and height, cell width and height
        QTest::addColumn<QList<int>>("lefts");  // left, middle, right column
        QTest::addColumn<QList<int>>("tops");   // top, middle, bottom row
        // The middle row is half the distance between the rows (405 / 2 = 202.5, to the even 202), not
        // their midpoint.
        QTest::newRow("1000 x 700") << QSize(1000, 700) << QList<int>{980, 600, 320, 183}
                                    << QList<int>{10, 340, 670} << QList<int>{10, 202, 415};
        // 320.33 rounds to 320, and the middle column's 500.5 - 160 = 340.5 to the even 340.
        QTest::newRow("1001 x 700") << QSize(1001, 700) << QList<int>{981, 600, 320, 183}
                                    << QList<int>{10, 340, 671} << QList<int>{10, 202, 415};
        QTest::newRow("1920 x 1031") << QSize(1920, 1031) << QList<int>{1900, 931, 627, 293}
                                     << QList<int>{10, 646, 1283} << QList<int>{10, 313, 636};
    }

    void viewGeometry() {
        QFETCH(QSize, inner);
        QFETCH(QList<int>, sizes);
        QFETCH(QList<int>, lefts);
        QFETCH(QList<int>, tops);
        const shell::ViewGeometry g = shell::ComputeViewGeometry(inner.width(), inner.height(), 32);
        QCOMPARE((QList<int>{g.viewWidth, g.viewHeight, g.thumbWidth, g.thumbHeight}), sizes);
        for (std::size_t cell = 0; cell < 9; ++cell) {
            QCOMPARE(g.thumbCellPos[cell], lefts[static_cast<qsizetype>(cell % 3)]);
            QCOMPARE(g.thumbCellPos[cell + 9], tops[static_cast<qsizetype>(cell / 3)]);
        }
    }

    // The worked examples, the limits themselves and pictures over 32767 are shown by the window tests;
    // here the edges of the rule.
    void fit_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("limit");
        QTest::addColumn<QSize>("shown");  // invalid: no answer
        QTest::newRow("one taller shrinks") << QSize(1000, 701) << QSize(1000, 700) << QSize(999, 700);
        QTest::newRow("never enlarged") << QSize(10, 5) << QSize(1000, 700) << QSize(10, 5);
        QTest::newRow("equal ratios keep the height")
            << QSize(2000, 1400) << QSize(1000, 700) << QSize(1000, 700);
        // Single precision: 1000 x 251/2000 is 125.5 exactly, which rounds to 126, but comes out below it;
        // 700 x 51/840 and 183 x 14/244 are 42.5 and 10.5 and come out at or below them, 700 x 68/800 is
        // 59.5 and comes out above it. In double precision each lands on the other side.
        QTest::newRow("single precision, 125.5 low")
            << QSize(2000, 251) << QSize(1000, 700) << QSize(1000, 125);
        QTest::newRow("single precision, 42.5") << QSize(51, 840) << QSize(1000, 700) << QSize(42, 700);
        QTest::newRow("single precision, 59.5 high") << QSize(68, 800) << QSize(1000, 700) << QSize(60, 700);
        QTest::newRow("single precision, a cell") << QSize(14, 244) << QSize(320, 183) << QSize(10, 183);
        QTest::newRow("zero-width picture too tall") << QSize(0, 900) << QSize(1000, 700) << QSize();
        QTest::newRow("zero-height picture too wide") << QSize(2000, 0) << QSize(1000, 700) << QSize(1000, 0);
        QTest::newRow("zero limit") << QSize(5, 5) << QSize(0, 0) << QSize();
        QTest::newRow("negative limit") << QSize(5, 5) << QSize(-10, 100) << QSize();
    }

    void fit() {
        QFETCH(QSize, picture);
        QFETCH(QSize, limit);
        QFETCH(QSize, shown);
        const std::optional<QSize> fitted = picture::FittedSize(picture, limit);
        QCOMPARE(fitted.value_or(QSize()), shown);
        QCOMPARE(picture::Fits(picture, limit), fitted == picture);
    }

    void kindOfName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");  // -1: no kind
        QTest::newRow("road.mip") << "road.mip" << int(texture::FileKind::Mip);
        QTest::newRow("ROAD.MIP") << "ROAD.MIP" << int(texture::FileKind::Mip);
        QTest::newRow("road.Mip") << "road.Mip" << -1;
        QTest::newRow("road.mIP") << "road.mIP" << -1;
        QTest::newRow("a.JPG") << "a.JPG" << int(texture::FileKind::Jpeg);
        QTest::newRow("a.Jpg") << "a.Jpg" << -1;
        QTest::newRow("a.jpeg") << "a.jpeg" << -1;
        QTest::newRow("xbmp, no dot") << "xbmp" << int(texture::FileKind::Bmp);
        QTest::newRow("t.srb") << "t.srb" << int(texture::FileKind::Srb);
        QTest::newRow("t.PBF") << "t.PBF" << int(texture::FileKind::Pbf);
        QTest::newRow("short name") << "mip" << int(texture::FileKind::Mip);
        QTest::newRow("shorter than three") << "ip" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void kindOfName() {
        QFETCH(QString, name);
        QFETCH(int, kind);
        const std::optional<texture::FileKind> found = texture::KindOfName(name.toStdString());
        QCOMPARE(found ? int(*found) : -1, kind);
    }

    void kindOfContent_data() {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<int>("kind");  // -1: no kind
        QTest::newRow("JPEG") << QByteArray("\xFF\xD8\xFF\xE0") << int(texture::FileKind::Jpeg);
        QTest::newRow("JPEG cut to two bytes") << QByteArray("\xFF\xD8") << -1;
        QTest::newRow("BMP") << QByteArray("BM6\0") << int(texture::FileKind::Bmp);
        QTest::newRow("bare texture") << QByteArray("PAMB") << int(texture::FileKind::Pbf);
        QTest::newRow("SRB") << QByteArray(" BRS") << int(texture::FileKind::Srb);
        QTest::newRow("MIP") << QByteArray("PIM ") << int(texture::FileKind::Mip);
        QTest::newRow("MIP's tag cut short") << QByteArray("PIM") << -1;
        QTest::newRow("GIF") << QByteArray("GIF8") << -1;
        QTest::newRow("empty") << QByteArray() << -1;
    }

    // A file from outside is told by its first bytes when its name says nothing.
    void kindOfContent() {
        QFETCH(QByteArray, first);
        QFETCH(int, kind);
        const std::optional<texture::FileKind> found =
            texture::KindOfContent(std::span(reinterpret_cast<const std::uint8_t*>(first.constData()),
                                             static_cast<std::size_t>(first.size())));
        QCOMPARE(found ? int(*found) : -1, kind);
    }

    // The file list shows the names of the same endings, each in lower and in upper case.
    void theFileListPattern() {
        QCOMPARE(texture::FileListPattern(), "*.bmp;*.BMP;*.jpg;*.JPG;*.pbf;*.PBF;*.srb;*.SRB;*.mip;*.MIP");
    }

    void fullPath() {
        QCOMPARE(files::FullPath(u"/"_s, u"road.mip"_s), u"/road.mip"_s);
        QCOMPARE(files::FullPath(u"/cars"_s, u"road.mip"_s), u"/cars/road.mip"_s);
    }

    void paging_data() {
        QTest::addColumn<int>("listCount");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("pageStart");
        QTest::addColumn<QList<int>>("pages");  // the next page's start, the previous page's, the page size
        // 12 files: after the page at 0 the selection rests on 8; the page at 9 ends on entry 5.
        QTest::newRow("12 files, first page") << 12 << 8 << 0 << QList<int>{9, 3, 9};
        QTest::newRow("12 files, second page") << 12 << 5 << 9 << QList<int>{6, 0, 9};
        QTest::newRow("5 files") << 5 << 4 << 0 << QList<int>{0, 0, 5};
        QTest::newRow("9 files") << 9 << 8 << 0 << QList<int>{0, 0, 9};
        QTest::newRow("10 files") << 10 << 8 << 0 << QList<int>{9, 1, 9};
        QTest::newRow("one file") << 1 << 0 << 0 << QList<int>{0, 0, 1};
        QTest::newRow("none") << 0 << -1 << 0 << QList<int>{0, 0, 0};
    }

    void paging() {
        QFETCH(int, listCount);
        QFETCH(int, selected);
        QFETCH(int, pageStart);
        QFETCH(QList<int>, pages);
        QCOMPARE((QList<int>{thumbs::NextPageStart(selected, listCount),
                             thumbs::PreviousPageStart(pageStart, listCount), thumbs::PageSize(listCount)}),
                 pages);
    }

    void cellToFile() {
        QList<int> cells;  // 12 files from page start 9
        for (int cell = 1; cell <= 9; ++cell) {
            cells << thumbs::CellEntry(9, cell, 12);
        }
        QCOMPARE(cells, (QList<int>{9, 10, 11, 0, 1, 2, 3, 4, 5}));
        QCOMPARE(thumbs::CellEntry(8, 3, 10), 0);
        QCOMPARE(thumbs::CellEntry(40'000, 9, 40'010), 40'008);  // indices past 32767
        QCOMPARE(thumbs::CellEntry(40'000, 9, 40'005), 3);
    }

    // In from any scale to the next level; out to the level below, but never below the fit.
    void zoomLevels() {
        QStringList in;
        for (double scale = 0.1; scale < 32; scale = view::NextZoomLevel(scale, 0.1, true)) {
            in << view::ZoomLevelText(view::NextZoomLevel(scale, 0.1, true));
        }
        QCOMPARE(in.join(u' '), u"12.5% 25% 33% 50% 75% 100% 200% 300% 400% 600% 800% 1200% 1600% 3200%"_s);
        QCOMPARE(view::NextZoomLevel(32, 0.1, true), 32.0);
        QCOMPARE(view::NextZoomLevel(1.5, 0.1, true), 2.0);
        QCOMPARE(view::NextZoomLevel(1.5, 0.1, false), 1.0);
        QCOMPARE(view::NextZoomLevel(0.5, 0.4, false), 0.4);  // the fit, between levels
        QCOMPARE(view::NextZoomLevel(0.4, 0.4, false), 0.4);  // and no further
        QCOMPARE(view::NextZoomLevel(0.25, 0.25, false), 0.25);
        QCOMPARE(view::ZoomLevelText(0.4), u"40%"_s);
        QCOMPARE(view::ZoomLevelText(0.0625), u"6.3%"_s);
    }

    // What a 16-bit word holds, field by field, and the colour the reader makes of it.
    void readoutOfAWord_data() {
        QTest::addColumn<std::uint8_t>("format");
        QTest::addColumn<int>("word");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("5:6:5") << Binary::kFormat565 << 0xF81F
                               << QStringList{u"texel 3, 1"_s,
                                              u"colour #FF00FF: red 255, green 0, blue 255"_s,
                                              u"word F81F: red 31, green 0, blue 31"_s};
        QTest::newRow("1:5:5:5, its top bit ignored")
            << Binary::kFormat1555 << 0x83E0
            << QStringList{u"texel 3, 1"_s, u"colour #00FF00: red 0, green 255, blue 0"_s,
                           u"word 83E0: ignored 1, red 0, green 31, blue 0"_s};
        QTest::newRow("4:4:4:4, its top four bits ignored")
            << Binary::kFormat4444 << 0xA12F
            << QStringList{u"texel 3, 1"_s, u"colour #1F2FFF: red 31, green 47, blue 255"_s,
                           u"word A12F: ignored 1010, red 1, green 2, blue 15"_s};
        QTest::newRow("a format that shows black")
            << std::uint8_t{9} << 0x1234
            << QStringList{u"texel 3, 1"_s, u"colour #000000: red 0, green 0, blue 0"_s,
                           u"word 1234: a format that shows black"_s};
    }
    void readoutOfAWord() {
        QFETCH(std::uint8_t, format);
        QFETCH(int, word);
        const texture::StoredTexel stored{false, static_cast<std::uint16_t>(word)};
        QFETCH(QStringList, lines);
        QCOMPARE(view::ReadoutLines(QPoint(3, 1), view::ColourOfTexel(stored, format, std::nullopt), stored,
                                    format),
                 lines);
    }

    void stepping() {  // from entries -1 (none), 0, 1 and 3 of four, and 0 of one
        QList<int> steps;
        for (const auto& [entry, count] : {std::pair{-1, 4}, {0, 4}, {1, 4}, {3, 4}, {0, 1}}) {
            steps << browse::NextEntry(entry, count) << browse::PreviousEntry(entry, count);
        }
        QCOMPARE(steps, (QList<int>{0, 3, 1, 3, 2, 0, 0, 2, 0, 0}));
    }
};

QTEST_APPLESS_MAIN(RulesTest)
#include "RulesTest.moc"

// The real viewer on a virtual X screen under openbox, a texture looked at closely: zoomed level by
// level, every texel is a square of one size on the screen, at one device pixel to the pixel and at
// two. Judged from screenshots of the window.
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "e2e/Desktop.h"
#include "samples/TextureFiles.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using e2e::Desktop;
using e2e::Viewer;

namespace {

// A 4 x 2 texture of eight 5:6:5 words that each give a colour of their own, exactly.
constexpr std::array<std::uint16_t, 8> kWords{0xF800, 0x07E0, 0x001F, 0x841F, 0xF81F, 0x07FF, 0xFFE0, 0x8010};

QRgb ColourOf(std::uint16_t word) {
    const auto widen = [](unsigned field, unsigned bits) {
        return static_cast<int>(field == 0 ? 0 : (field << (8 - bits)) | ((1U << (8 - bits)) - 1));
    };
    return qRgb(widen(word >> 11, 5), widen((word >> 5) & 0x3F, 6), widen(word & 0x1F, 5));
}

// How many pixels of `shot` from `from` on, stepping by `step`, have the colour there.
int RunAt(const QImage& shot, QPoint from, QPoint step) {
    const QRgb colour = shot.pixel(from);
    int run = 0;
    for (QPoint at = from; shot.rect().contains(at) && shot.pixel(at) == colour; at += step) {
        ++run;
    }
    return run;
}

// Each texel's width and height on screen, in its order, as "w x h" words; empty when the first texel is
// not on the screen.
QStringList TexelSizes(const QImage& shot) {
    QPoint corner(-1, -1);
    for (int y = 0; y < shot.height() && corner.x() < 0; ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, y) == ColourOf(kWords[0])) {
                corner = {x, y};
                break;
            }
        }
    }
    QStringList sizes;
    if (corner.x() < 0) {
        return sizes;
    }
    // Along the top row, then down each column: each run starts where the one before it ended.
    QList<int> columns{corner.x()};
    QList<int> widths;
    for (int texel = 0; texel < 4; ++texel) {
        widths << RunAt(shot, {columns.last(), corner.y()}, {1, 0});
        columns << columns.last() + widths.last();
    }
    for (int texel = 0; texel < 8; ++texel) {
        const int column = columns[texel % 4];
        const int top = corner.y() + (texel / 4) * RunAt(shot, {column, corner.y()}, {0, 1});
        const bool right = shot.pixel(column, top) == ColourOf(kWords[static_cast<std::size_t>(texel)]);
        sizes << (right ? u"%1 x %2"_s.arg(RunAt(shot, {column, top}, {1, 0}))
                              .arg(RunAt(shot, {column, top}, {0, 1}))
                        : u"wrong colour"_s);
    }
    return sizes;
}

}  // namespace

class ZoomedTexelsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (const QString missing = e2e::Missing({u"import"_s}); !missing.isEmpty()) {
            QSKIP(qPrintable(missing));
        }
        desktop_ = std::make_unique<Desktop>(QSize(1280, 1024));
        QVERIFY2(desktop_->Fault().isEmpty(), qPrintable(desktop_->Fault()));
        samples::Bytes words;
        for (const std::uint16_t word : kWords) {
            words.push_back(static_cast<std::uint8_t>(word & 0xFF));
            words.push_back(static_cast<std::uint8_t>(word >> 8));
        }
        texture_ = testing::WriteTextureFile(files_.path(), u"squares.pbf"_s,
                                             samples::BareImageFile({3, 4, 2, 8}, words));
    }

    void everyTexelIsASquareOfOneSize_data() {
        QTest::addColumn<int>("devicePixels");
        QTest::newRow("one device pixel to the pixel") << 1;
        QTest::newRow("two device pixels to the pixel") << 2;
    }
    void everyTexelIsASquareOfOneSize() {
        QFETCH(int, devicePixels);
        QTemporaryDir config;
        desktop_->Run(u"xdotool mousemove 1279 1023"_s);
        Viewer viewer(*desktop_, config.path(), {texture_}, {u"QT_SCALE_FACTOR=%1"_s.arg(devicePixels)});
        QVERIFY2(viewer.ShowsTitle(u"Tamsel Image Viewer: squares.pbf"_s), qPrintable(viewer.State()));
        viewer.WaitQuiet();
        viewer.Keys(u"1"_s);
        for (const int level : {1, 2, 3, 4, 6, 8, 12, 16, 32}) {
            if (level > 1) {
                viewer.Keys(u"plus"_s);
            }
            viewer.WaitQuiet();
            const int side = level * devicePixels;
            const QString square = u"%1 x %1"_s.arg(side);
            QCOMPARE(TexelSizes(desktop_->Shot(viewer.Window())),
                     (QStringList{square, square, square, square, square, square, square, square}));
        }
    }

private:
    std::unique_ptr<Desktop> desktop_;
    QTemporaryDir files_;
    QString texture_;
};

QTEST_GUILESS_MAIN(ZoomedTexelsTest)
#include "ZoomedTexelsTest.moc"

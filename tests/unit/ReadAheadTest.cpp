// The read-ahead's work that the window no longer wants, or wants at once: a file dropped before its
// turn is never read, a decode dropped part way stops there and gives its memory back, and the window
// never waits for a file queued behind other work. The work is watched, and held where it must be,
// through the read-ahead's preparer.
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <latch>
#include <mutex>
#include <semaphore>
#include <set>
#include <thread>

#include "picture/ReadAhead.h"
#include "support/TestPlatform.h"
#include "texture/DecodeBudget.h"

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

const QSize kLimit(1000, 700);

// Makes files ready as the window would, counting by name the files it begins; the file named
// `held` is held once begun until the test lets it go on.
class WatchedPreparer {
public:
    explicit WatchedPreparer(QString held = {}) : held_(std::move(held)) {}

    picture::Preparer Preparer() {
        return [this](const QString& path, QSize limit, picture::Palette& palette, bool keep,
                      const std::function<bool()>& shouldStop) {
            {
                const QMutexLocker lock(&mutex_);
                ++begun_[path];
            }
            if (path.endsWith(held_)) {
                started.release();
                release.wait();
            }
            return picture::Prepare(path, limit, palette, keep, shouldStop);
        };
    }

    int Begun(const QString& path) {
        const QMutexLocker lock(&mutex_);
        return begun_.value(path);
    }

    std::binary_semaphore started{0};
    std::latch release{1};

private:
    QString held_;
    QMutex mutex_;
    QHash<QString, int> begun_;
};

std::optional<texture::FileStamp> StampOf(const QString& path) {
    return texture::StampOf(QFile::encodeName(path).constData());
}

}  // namespace

class ReadAheadTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(dir_.isValid()); }

    // While a long decode holds the read-ahead's thread, a file queued behind it is taken back by the
    // window at once, and never read by the read-ahead; the long decode itself, under way, is waited
    // for and handed over.
    void theWindowDoesNotWaitForWorkQueuedBeforeItsFile() {
        const QString slow = testing::WritePicture(dir_.path(), u"slow.jpg"_s, testing::Quadrants(800, 600));
        const QString wanted =
            testing::WritePicture(dir_.path(), u"wanted.jpg"_s, testing::Quadrants(80, 60));
        WatchedPreparer preparer(u"slow.jpg"_s);
        picture::ReadAhead ahead(preparer.Preparer());
        ahead.Want({{{slow}, kLimit, {}}, {{wanted}, kLimit, {}}}, false);
        preparer.started.acquire();
        QVERIFY(!ahead.Take(wanted, StampOf(wanted), kLimit, {}).has_value());
        preparer.release.count_down();
        const std::optional<picture::Prepared> taken = ahead.Take(slow, StampOf(slow), kLimit, {});
        QVERIFY(taken.has_value());
        QCOMPARE(taken->shown.size(), QSize(800, 600));
        ahead.Clear();
        QCOMPARE(preparer.Begun(wanted), 0);
    }

    // A file that no job asks for any more before its turn comes is never read.
    void aFileDroppedBeforeItsTurnIsNeverRead() {
        const QString slow = testing::WritePicture(dir_.path(), u"slow.jpg"_s, testing::Quadrants(400, 300));
        const QString dropped =
            testing::WriteSolidTexture(dir_.path(), u"dropped.pbf"_s, 16, 16, qRgb(0, 0, 255));
        WatchedPreparer preparer(u"slow.jpg"_s);
        picture::ReadAhead ahead(preparer.Preparer());
        ahead.Want({{{slow}, kLimit, {}}, {{dropped}, kLimit, {}}}, false);
        preparer.started.acquire();
        ahead.Want({{{slow}, kLimit, {}}}, false);
        preparer.release.count_down();
        ahead.Clear();
        QCOMPARE(preparer.Begun(slow), 1);
        QCOMPARE(preparer.Begun(dropped), 0);
    }

    void aDecodeDroppedUnderWayStops_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("limit");
        // Reduced by 8, a band of rows at a time.
        QTest::newRow("texture shown reduced") << u"big.pbf"_s << QSize(64, 64);
        QTest::newRow("JPEG, row by row") << u"big.jpg"_s << kLimit;
        QTest::newRow("BMP, read by read") << u"big.bmp"_s << kLimit;
    }

    // Dropped once its decode has begun, a file stops at the next point its decode asks (where a whole
    // decode asks many times), gives nothing, and its memory is back in the budget as it stops.
    void aDecodeDroppedUnderWayStops() {
        QFETCH(QString, name);
        QFETCH(QSize, limit);
        const QString path = name.endsWith(u".pbf"_s)
                                 ? testing::WriteSolidTexture(dir_.path(), name, 1024, 1024, qRgb(9, 9, 9))
                                 : testing::WritePicture(dir_.path(), name, testing::Quadrants(1024, 1024));
        for (const bool drop : {false, true}) {
            std::binary_semaphore asked{0};
            std::latch answer{1};
            std::atomic<int> asks = 0;
            std::mutex askersMutex;
            std::set<std::thread::id> askers;
            std::atomic<bool> made = false;
            std::atomic<std::uint64_t> inUse = 1;
            std::binary_semaphore done{0};
            picture::ReadAhead ahead([&](const QString& file, QSize fitTo, picture::Palette& palette,
                                         bool keep, const std::function<bool()>& shouldStop) {
                // Every ask waits for the answer: a texture reduced on several threads asks from each.
                const std::function<bool()> watched = [&] {
                    {
                        const std::lock_guard lock(askersMutex);
                        askers.insert(std::this_thread::get_id());
                    }
                    if (asks++ == 0) {
                        asked.release();
                    }
                    answer.wait();
                    return shouldStop();
                };
                picture::Preparation preparation = picture::Prepare(file, fitTo, palette, keep, watched);
                made = preparation.prepared.has_value();
                inUse = texture::DecodeBudget::Program().InUse();
                done.release();
                return preparation;
            });
            ahead.Want({{{path}, limit, {}}}, false);
            asked.acquire();
            if (drop) {
                ahead.Want({}, false);
            }
            answer.count_down();
            done.acquire();
            QCOMPARE(made.load(), !drop);
            QCOMPARE(inUse.load(), std::uint64_t{0});
            // Stopped, each thread asks once; a reader that cannot tell a failed read from the end of
            // its data is asked once more as it ends.
            const int most = static_cast<int>(askers.size()) + 1;
            QVERIFY2(drop ? asks <= most : asks > most,
                     qPrintable(u"%1 asks from %2 threads"_s.arg(asks.load()).arg(askers.size())));
        }
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(ReadAheadTest)
#include "ReadAheadTest.moc"

// The settings file: values survive a round trip, other values are kept, and failures are quiet and
// leave the old file as it was.
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "platform/FileNames.h"
#include "platform/SettingsStore.h"

using tamsel::platform::SettingsStore;
using namespace Qt::StringLiterals;

namespace {

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteContent(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

}  // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void valuesRoundTrip_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("folder") << u"/home/user/pictures/"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("root") << u"//"_s;
        QTest::newRow("backslashes and equals") << u"C:\\a=b\\"_s;
        QTest::newRow("line breaks") << u"/a\nb\r/[c]\n[Other]"_s;
        QTest::newRow("non-ASCII") << QString::fromUtf8("/home/\xc3\xa9t\xc3\xa9/\xe6\x97\xa5/");
        QTest::newRow("not valid UTF-8") << tamsel::platform::DecodeName("/home/caf\xe9/bad\xc3(/");
    }

    void valuesRoundTrip() {
        QFETCH(QString, value);
        QTemporaryDir dir;
        const SettingsStore store(dir.filePath(u"deep/down/settings.ini"_s));
        QVERIFY(!store.Read(u"Key"_s, u"Value"_s));
        QVERIFY(store.Write(u"Key"_s, u"Value"_s, value));
        QCOMPARE(store.Read(u"Key"_s, u"Value"_s), std::optional<QString>(value));
        // Nothing but the file is left behind.
        QCOMPARE(QDir(dir.filePath(u"deep/down"_s)).entryList(QDir::Files), QStringList{"settings.ini"});
    }

    void failuresAreQuiet() {
        QTemporaryDir dir;
        // The settings file is a folder.
        QVERIFY(QDir(dir.path()).mkdir(u"folder.ini"_s));
        const SettingsStore folder(dir.filePath(u"folder.ini"_s));
        QVERIFY(!folder.Read(u"A"_s, u"x"_s));
        QVERIFY(!folder.Write(u"A"_s, u"x"_s, u"1"_s));
        // Its folder cannot be made: a file stands in the way.
        QFile blocker(dir.filePath(u"file"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const SettingsStore blocked(dir.filePath(u"file/s.ini"_s));
        QVERIFY(!blocked.Write(u"A"_s, u"x"_s, u"1"_s));
        QVERIFY(!blocked.Read(u"A"_s, u"x"_s));
    }

    void writingChangesOnlyItsOwnLine_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QByteArray big = "[Other]\n" + QByteArray(1'200'000, 'x') + "\n; kept\n";
        QTest::newRow("over 1 MiB, the value replaced") << big + "[K]\nv=/old/\nw=2\n[Last]\n"
                                                        << big + "[K]\nv=/new/\nw=2\n[Last]\n";
        QTest::newRow("line ends kept") << QByteArray("; c\r\n[K]\r\nv=/old/\r\n[L]\r\n")
                                        << QByteArray("; c\r\n[K]\r\nv=/new/\r\n[L]\r\n");
        QTest::newRow("value added to its section")
            << QByteArray("[K]\nw=2\n\n[L]\nv=3") << QByteArray("[K]\nw=2\nv=/new/\n\n[L]\nv=3");
        QTest::newRow("section added") << QByteArray("[L]\nv=3") << QByteArray("[L]\nv=3\n[K]\nv=/new/\n");
    }

    void writingChangesOnlyItsOwnLine() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"s.ini"_s);
        WriteContent(path, before);
        QVERIFY(SettingsStore(path).Write(u"K"_s, u"v"_s, u"/new/"_s));
        QCOMPARE(Content(path), after);
    }

    // A full disk (here a file size limit), or a settings file that names a FIFO: the write fails, and the
    // old file is as it was.
    void aFailedWriteLeavesTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"s.ini"_s);
        const QByteArray old("[K]\nv=/a/folder/that/was/remembered/\n[Other]\nx=1\n");
        WriteContent(path, old);
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 16;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = SettingsStore(path).Write(u"K"_s, u"v"_s, u"/b/"_s);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &saved), 0);
        QVERIFY(!written);
        QCOMPARE(Content(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"s.ini"});

        const QString fifo = dir.filePath(u"fifo"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QFile::link(fifo, dir.filePath(u"fifo.ini"_s)));
        const SettingsStore throughLink(dir.filePath(u"fifo.ini"_s));
        QVERIFY(!throughLink.Write(u"K"_s, u"v"_s, u"/b/"_s));
        QVERIFY(!throughLink.Read(u"K"_s, u"v"_s));
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(fifo).constData(), &status), 0);
        QVERIFY(S_ISFIFO(status.st_mode));
    }

    void aLinkIsWrittenThrough() {
        QTemporaryDir dir;
        const QString target = dir.filePath(u"real/s.ini"_s);
        QVERIFY(QDir().mkpath(dir.filePath(u"real"_s)));
        WriteContent(target, "[Other]\nx=1\n");
        const QString link = dir.filePath(u"s.ini"_s);
        QVERIFY(QFile::link(u"real/s.ini"_s, link));
        QVERIFY(SettingsStore(link).Write(u"K"_s, u"v"_s, u"/b/"_s));
        QCOMPARE(QFileInfo(link).symLinkTarget(), target);
        QCOMPARE(Content(target), QByteArray("[Other]\nx=1\n[K]\nv=/b/\n"));
    }

    // A value that cannot be read is none; writing it repairs it and keeps the rest readable.
    void aBrokenFileReadsAsNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"s.ini"_s);
        WriteContent(path, QByteArray("[A]\nx=bad\\escape\n\x00\xff\xfe garbage\ny\n[B]\nz=1\n", 39));
        const SettingsStore store(path);
        QVERIFY(!store.Read(u"A"_s, u"x"_s));
        QVERIFY(!store.Read(u"A"_s, u"y"_s));
        QVERIFY(store.Write(u"A"_s, u"x"_s, u"/ok/"_s));
        QCOMPARE(*store.Read(u"A"_s, u"x"_s), u"/ok/"_s);
        QCOMPARE(*store.Read(u"B"_s, u"z"_s), u"1"_s);
    }
};

QTEST_APPLESS_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"

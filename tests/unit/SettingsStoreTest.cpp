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

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void writingKeepsEveryOtherValue();
    void failuresAreQuiet();
    void writingChangesOnlyItsOwnLine_data();
    void writingChangesOnlyItsOwnLine();
    void aFailedWriteLeavesTheOldFile();
    void aLinkIsWrittenThrough();
    void aBrokenFileReadsAsNothing();
};

void SettingsStoreTest::valuesRoundTrip_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("folder") << QStringLiteral("/home/user/pictures/");
    QTest::newRow("empty") << QString();
    QTest::newRow("root") << QStringLiteral("//");
    QTest::newRow("backslashes and equals") << QStringLiteral("C:\\a=b\\");
    QTest::newRow("line breaks") << QStringLiteral("/a\nb\r/[c]\n[Other]");
    QTest::newRow("non-ASCII") << QString::fromUtf8("/home/\xc3\xa9t\xc3\xa9/\xe6\x97\xa5/");
    QTest::newRow("not valid UTF-8") << tamsel::platform::DecodeName("/home/caf\xe9/bad\xc3(/");
}

void SettingsStoreTest::valuesRoundTrip() {
    QFETCH(QString, value);
    QTemporaryDir dir;
    const SettingsStore store(dir.filePath(QStringLiteral("deep/down/settings.ini")));
    QVERIFY(!store.Read(QStringLiteral("Key"), QStringLiteral("Value")));
    QVERIFY(store.Write(QStringLiteral("Key"), QStringLiteral("Value"), value));
    QCOMPARE(store.Read(QStringLiteral("Key"), QStringLiteral("Value")), std::optional<QString>(value));
    // Nothing but the file is left behind.
    QCOMPARE(QDir(dir.filePath(QStringLiteral("deep/down"))).entryList(QDir::Files),
             QStringList{"settings.ini"});
}

void SettingsStoreTest::writingKeepsEveryOtherValue() {
    QTemporaryDir dir;
    const SettingsStore store(dir.filePath(QStringLiteral("s.ini")));
    QVERIFY(store.Write(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("1")));
    QVERIFY(store.Write(QStringLiteral("B"), QStringLiteral("x"), QStringLiteral("2")));
    QVERIFY(store.Write(QStringLiteral("A"), QStringLiteral("y"), QStringLiteral("3")));
    QVERIFY(store.Write(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("4")));
    QCOMPARE(*store.Read(QStringLiteral("A"), QStringLiteral("x")), QStringLiteral("4"));
    QCOMPARE(*store.Read(QStringLiteral("A"), QStringLiteral("y")), QStringLiteral("3"));
    QCOMPARE(*store.Read(QStringLiteral("B"), QStringLiteral("x")), QStringLiteral("2"));
    QVERIFY(!store.Read(QStringLiteral("B"), QStringLiteral("y")));
}

void SettingsStoreTest::failuresAreQuiet() {
    QTemporaryDir dir;
    // The settings file is a folder.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.ini")));
    const SettingsStore folder(dir.filePath(QStringLiteral("folder.ini")));
    QVERIFY(!folder.Read(QStringLiteral("A"), QStringLiteral("x")));
    QVERIFY(!folder.Write(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("1")));
    // Its folder cannot be made: a file stands in the way.
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const SettingsStore blocked(dir.filePath(QStringLiteral("file/s.ini")));
    QVERIFY(!blocked.Write(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("1")));
    QVERIFY(!blocked.Read(QStringLiteral("A"), QStringLiteral("x")));
}

void SettingsStoreTest::aBrokenFileReadsAsNothing() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[A]\nx=bad\\escape\n\x00\xff\xfe garbage\ny");
    file.close();
    const SettingsStore store(path);
    QVERIFY(!store.Read(QStringLiteral("A"), QStringLiteral("x")));
    QVERIFY(!store.Read(QStringLiteral("A"), QStringLiteral("y")));
    // Writing repairs what it writes and keeps the rest readable.
    QVERIFY(store.Write(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("/ok/")));
    QCOMPARE(*store.Read(QStringLiteral("A"), QStringLiteral("x")), QStringLiteral("/ok/"));
}

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

void SettingsStoreTest::writingChangesOnlyItsOwnLine_data() {
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

void SettingsStoreTest::writingChangesOnlyItsOwnLine() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    WriteContent(path, before);
    QVERIFY(SettingsStore(path).Write(QStringLiteral("K"), QStringLiteral("v"), QStringLiteral("/new/")));
    QCOMPARE(Content(path), after);
}

// A full disk (here a file size limit), or a settings file that names a FIFO: the write fails, and the
// old file is as it was.
void SettingsStoreTest::aFailedWriteLeavesTheOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    const QByteArray old("[K]\nv=/a/folder/that/was/remembered/\n[Other]\nx=1\n");
    WriteContent(path, old);
    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written =
        SettingsStore(path).Write(QStringLiteral("K"), QStringLiteral("v"), QStringLiteral("/b/"));
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    QVERIFY(!written);
    QCOMPARE(Content(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"s.ini"});

    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(QFile::link(fifo, dir.filePath(QStringLiteral("fifo.ini"))));
    const SettingsStore throughLink(dir.filePath(QStringLiteral("fifo.ini")));
    QVERIFY(!throughLink.Write(QStringLiteral("K"), QStringLiteral("v"), QStringLiteral("/b/")));
    QVERIFY(!throughLink.Read(QStringLiteral("K"), QStringLiteral("v")));
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(fifo).constData(), &status), 0);
    QVERIFY(S_ISFIFO(status.st_mode));
}

void SettingsStoreTest::aLinkIsWrittenThrough() {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("real/s.ini"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("real"))));
    WriteContent(target, "[Other]\nx=1\n");
    const QString link = dir.filePath(QStringLiteral("s.ini"));
    QVERIFY(QFile::link(QStringLiteral("real/s.ini"), link));
    QVERIFY(SettingsStore(link).Write(QStringLiteral("K"), QStringLiteral("v"), QStringLiteral("/b/")));
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    QCOMPARE(Content(target), QByteArray("[Other]\nx=1\n[K]\nv=/b/\n"));
}

QTEST_APPLESS_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"

// The settings file: values survive a round trip, other values are kept, and failures are quiet.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/SettingsStore.h"

using tamsel::platform::SettingsStore;

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void writingKeepsEveryOtherValue();
    void failuresAreQuiet();
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

QTEST_APPLESS_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"

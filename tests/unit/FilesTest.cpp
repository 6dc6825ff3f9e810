// Files as the viewer reads them: names that keep their bytes, folder listings (the wildcard pattern, the one
// listing order, which entries are files) and the settings file (values survive a round trip, other
// values are kept, and failures are quiet and leave the old file as it was).
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>

#include "files/FileNames.h"
#include "files/FolderListing.h"
#include "files/SettingsStore.h"

using namespace tamsel::files;
using namespace Qt::StringLiterals;

namespace {

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QStringList Texts(const std::vector<ListedName>& names) {
    QStringList texts;
    for (const ListedName& name : names) {
        texts << name.text;
    }
    return texts;
}

std::vector<ListedName> Names(const QList<QByteArray>& bytes) {
    std::vector<ListedName> names;
    for (const QByteArray& b : bytes) {
        names.push_back({b, QString::fromUtf8(b)});
    }
    return names;
}

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

class FilesTest : public QObject {
    Q_OBJECT
private slots:
    void namesKeepTheirBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("validText");
        QTest::newRow("ASCII") << QByteArray("road.mip") << true;
        QTest::newRow("UTF-8, two to four bytes")
            << QByteArray("\xc3\xa9\xe6\x97\xa5\xf0\x9f\x98\x80.jpg") << true;
        QTest::newRow("Latin-1 byte") << QByteArray("caf\xe9.bmp") << false;
        QTest::newRow("cut sequence") << QByteArray("bad\xc3(.jpg") << false;
        QTest::newRow("stray continuation bytes") << QByteArray("\x80\xbf\xff\xfe") << false;
        QTest::newRow("an encoded surrogate") << QByteArray("\xed\xb2\x80.pbf") << false;
        QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf\x62") << false;
        QTest::newRow("valid beside invalid") << QByteArray("\xc3\xa9\xe9\xc3\xa9") << false;
    }

    // Every name comes back to its own bytes; valid UTF-8 reads as its text.
    void namesKeepTheirBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, validText);
        const QString text = DecodeName(bytes);
        QCOMPARE(EncodeName(text), bytes);
        QCOMPARE(text == QString::fromUtf8(bytes), validText);
    }

    void wildcard_data() {
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("extension") << QByteArray("*.bmp") << QByteArray("a.bmp") << true;
        QTest::newRow("case matters") << QByteArray("*.bmp") << QByteArray("a.BMP") << false;
        QTest::newRow("mixed case") << QByteArray("*.jpg") << QByteArray("a.Jpg") << false;
        QTest::newRow("only the ending") << QByteArray("*.bmp") << QByteArray("a.bmp.txt") << false;
        QTest::newRow("no dot") << QByteArray("*.bmp") << QByteArray("xbmp") << false;
        QTest::newRow("dot only") << QByteArray("*.bmp") << QByteArray(".bmp") << true;
        QTest::newRow("backtracking") << QByteArray("*.mip") << QByteArray("a.mip.mip") << true;
        QTest::newRow("question mark") << QByteArray("a?c") << QByteArray("abc") << true;
        QTest::newRow("question mark needs one") << QByteArray("a?c") << QByteArray("ac") << false;
        QTest::newRow("everything") << QByteArray("*") << QByteArray("") << true;
        QTest::newRow("*.*") << QByteArray("*.*") << QByteArray("readme") << false;
    }

    void wildcard() {
        QFETCH(QByteArray, pattern);
        QFETCH(QByteArray, name);
        QFETCH(bool, matches);
        QCOMPARE(WildcardMatch(pattern, name), matches);
    }

    void naturalOrder_data() {
        QTest::addColumn<QList<QByteArray>>("sorted");
        QTest::newRow("numbers by value") << QList<QByteArray>{"img1", "img2", "img10", "img100"};
        QTest::newRow("case-insensitive first") << QList<QByteArray>{"apple", "Banana", "cherry"};
        QTest::newRow("case breaks ties") << QList<QByteArray>{"IMG2", "Img2", "img2"};
        QTest::newRow("leading zeros break ties") << QList<QByteArray>{"img2", "img02", "img002", "img3"};
        QTest::newRow("digits before letters") << QList<QByteArray>{"a1", "a9", "ab"};
        QTest::newRow("long numbers")
            << QList<QByteArray>{"x99999999999999999998", "x99999999999999999999", "x100000000000000000000"};
        QTest::newRow("non-ASCII folds case")
            << QList<QByteArray>{"\xc3\xa9t\xc3\xa9", "\xc3\x89T\xc3\x89 2"};
        QTest::newRow("invalid UTF-8 last, by bytes") << QList<QByteArray>{"zzz", "\xff\x01", "\xff\x02"};
    }

    void naturalOrder() {
        QFETCH(QList<QByteArray>, sorted);
        QList<QByteArray> shuffled = sorted;
        std::reverse(shuffled.begin(), shuffled.end());
        std::vector<ListedName> names = Names(shuffled);
        SortNaturally(names);
        QList<QByteArray> result;
        for (const ListedName& name : names) {
            result << name.bytes;
        }
        QCOMPARE(result, sorted);
    }

    void listsOnlyMatchingRegularFiles() {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        for (const char* name : {"b10.jpg", "b9.jpg", "a.BMP", "c.Jpg", "notes.txt", "road.mip"}) {
            Touch(folder.filePath(QString::fromLatin1(name)));
        }
        QVERIFY(folder.mkdir(u"folder.jpg"_s));
        QVERIFY(::mkfifo(QFile::encodeName(folder.filePath(u"pipe.mip"_s)).constData(), 0600) == 0);
        const char* const links[][2] = {{"road.mip", "link.mip"},
                                        {"nowhere", "broken.mip"},
                                        {"folder.jpg", "dirlink.jpg"},
                                        {"loop1.bmp", "loop2.bmp"},
                                        {"loop2.bmp", "loop1.bmp"}};
        for (const auto& link : links) {
            QVERIFY(QFile::link(folder.filePath(link[0]), folder.filePath(link[1])));
        }
        Touch(folder.filePath(QString::fromUtf8("caf\xc3\xa9 1.jpg")));

        const std::optional<std::vector<ListedName>> listed =
            ListFiles(dir.path(), u"*.bmp;*.BMP;*.jpg;*.JPG;*.mip"_s);
        QVERIFY(listed);
        QCOMPARE(Texts(*listed),
                 (QStringList{"a.BMP", "b9.jpg", "b10.jpg", QString::fromUtf8("caf\xc3\xa9 1.jpg"),
                              "link.mip", "road.mip"}));
    }

    void listsSubfoldersInOrder() {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        for (const char* name : {"track10", "track9", "Cars"}) {
            QVERIFY(folder.mkdir(QString::fromLatin1(name)));
        }
        Touch(folder.filePath(u"file"_s));
        QVERIFY(QFile::link(folder.filePath(u"Cars"_s), folder.filePath(u"linked"_s)));
        const std::optional<std::vector<ListedName>> listed = ListSubfolders(dir.path());
        QVERIFY(listed);
        QCOMPARE(Texts(*listed), (QStringList{"Cars", "linked", "track9", "track10"}));
    }

    void valuesRoundTrip_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("folder") << u"/home/user/pictures/"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("root") << u"//"_s;
        QTest::newRow("backslashes and equals") << u"C:\\a=b\\"_s;
        QTest::newRow("line breaks") << u"/a\nb\r/[c]\n[Other]"_s;
        QTest::newRow("non-ASCII") << QString::fromUtf8("/home/\xc3\xa9t\xc3\xa9/\xe6\x97\xa5/");
        QTest::newRow("not valid UTF-8") << DecodeName("/home/caf\xe9/bad\xc3(/");
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

QTEST_APPLESS_MAIN(FilesTest)
#include "FilesTest.moc"

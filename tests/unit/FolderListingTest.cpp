// Folder listings: the wildcard pattern, the one listing order, and which entries are files.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <random>

#include "platform/FileNames.h"
#include "platform/FolderListing.h"

using namespace tamsel::platform;
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

}  // namespace

class FolderListingTest : public QObject {
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

    void orderIsTheSameWhateverTheInput() {
        // A strict total order: every permutation sorts the same way, even with names that differ only in
        // case, in leading zeros or in both.
        const QList<QByteArray> all{"a01b2", "a1b02", "A1b2", "a1b2", "a1B2", "a001",
                                    "a1",    "A01",   "b",    "\xfe", "\xff"};
        std::vector<ListedName> reference = Names(all);
        SortNaturally(reference);
        std::mt19937 random(7);
        for (int round = 0; round < 50; ++round) {
            QList<QByteArray> shuffled = all;
            std::shuffle(shuffled.begin(), shuffled.end(), random);
            std::vector<ListedName> names = Names(shuffled);
            SortNaturally(names);
            for (std::size_t i = 0; i < names.size(); ++i) {
                QCOMPARE(names[i].bytes, reference[i].bytes);
            }
        }
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

    void anUnreadableFolderListsNothing() {
        QTemporaryDir dir;
        QVERIFY(!ListFiles(dir.filePath(u"missing"_s), u"*"_s));
        Touch(dir.filePath(u"plain"_s));
        QVERIFY(!ListSubfolders(dir.filePath(u"plain"_s)));
    }
};

QTEST_APPLESS_MAIN(FolderListingTest)
#include "FolderListingTest.moc"

#include <sys/stat.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <optional>

#include "ToolTesting.h"
#include "Version.h"

using namespace tamsel;
using namespace tamsel::tooltests;

namespace {

Finished Tool(const QStringList& arguments) {
    return Run(QStringLiteral(TAMSEL_TEXTURE), arguments);
}

}  // namespace

// tamsel-texture end to end, as a modder's script runs it.
class TextureToolTest : public QObject {
    Q_OBJECT

private slots:
    // Each test in a folder of its own.
    void init() { QVERIFY(dir_.emplace().isValid()); }

    void infoFacts_data();
    void infoFacts();
    void convertPictures_data();
    void convertPictures();
    void folders();
    void existingPictures();
    void badUsage_data();
    void badUsage();
    void filesThatAreNoTexture_data();
    void filesThatAreNoTexture();
    void helpAndVersion();

private:
    std::optional<QTemporaryDir> dir_;
};

void TextureToolTest::infoFacts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("palette");
    QTest::addColumn<int>("pitch");
    QTest::newRow("bare, padded") << "bare-565-padded"
                                  << "bare"
                                  << "5:6:5"
                                  << "none" << 132;
    QTest::newRow("bare named .mip") << "bare-named-mip"
                                     << "bare"
                                     << "1:5:5:5"
                                     << "none" << 74;
    QTest::newRow("bare 4:4:4:4") << "bare-4444"
                                  << "bare"
                                  << "4:4:4:4"
                                  << "none" << 128;
    QTest::newRow("MIP, PAMC") << "mip-palette-first"
                               << "MIP"
                               << "4-bit paletted"
                               << "own PAMC chunk" << 0xC0FFEE;
    QTest::newRow("MIP, palette chunk after") << "mip-image-first-palette"
                                              << "MIP"
                                              << "4-bit paletted"
                                              << "own chunk after the header" << 0xC0FFEE;
    QTest::newRow("MIP, no palette") << "mip-carried-palette"
                                     << "MIP"
                                     << "4-bit paletted"
                                     << "none" << 0xC0FFEE;
    QTest::newRow("MIP, 16-bit under format 2") << "mip-16bit-palette-chunk"
                                                << "MIP"
                                                << "unknown code 2"
                                                << "own chunk after the header" << 0xC0FFEE;
    QTest::newRow("MIP, format 6") << "mip-format-6-black"
                                   << "MIP"
                                   << "unknown code 6"
                                   << "none" << 0xC0FFEE;
    QTest::newRow("SRB, PAMC") << "srb-palette-first"
                               << "SRB"
                               << "4-bit paletted"
                               << "own PAMC chunk" << 0xC0FFEE;
    QTest::newRow("SRB, 1:5:5:5") << "srb-1555"
                                  << "SRB"
                                  << "1:5:5:5"
                                  << "none" << 0xC0FFEE;
}

// One JSON object a line, with what the headers say in the same words as the text form.
void TextureToolTest::infoFacts() {
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QString, format);
    QFETCH(QString, palette);
    QFETCH(int, pitch);
    const samples::Sample& sample = SampleNamed(name.toStdString());
    const QString path = WriteSample(dir_->path(), sample.name);

    const Finished json = Tool({"info", "--json", path});
    QCOMPARE(json.status, 0);
    QVERIFY(json.out.endsWith('\n') && json.out.count('\n') == 1);
    const QJsonObject facts = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(facts["file"].toString(), path);
    QCOMPARE(facts["container"].toString(), container);
    QCOMPARE(facts["format"].toString(), format);
    QCOMPARE(facts["palette"].toString(), palette);
    QCOMPARE(facts["pitch"].toInt(), pitch);
    QCOMPARE(facts["width"].toInt(), sample.expected->picture.width);
    QCOMPARE(facts["height"].toInt(), sample.expected->picture.height);
    QCOMPARE(facts["result"].toInt(), sample.expected->result);
    QCOMPARE(facts["size"].toInteger(), static_cast<qint64>(sample.bytes.size()));

    const Finished text = Tool({"info", path});
    QCOMPARE(text.status, 0);
    QCOMPARE(QString::fromUtf8(text.out),
             QStringLiteral("%1: %2, %3, %4 x %5, pitch %6, palette %7, result %8, %9 bytes\n")
                 .arg(path, container, format)
                 .arg(sample.expected->picture.width)
                 .arg(sample.expected->picture.height)
                 .arg(pitch)
                 .arg(palette)
                 .arg(sample.expected->result)
                 .arg(sample.bytes.size()));
}

void TextureToolTest::convertPictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("paletteFrom");
    QTest::newRow("bare, PNG") << "bare-1555-padded"
                               << "png"
                               << "";
    QTest::newRow("MIP 4-bit, PNG") << "mip-palette-first-odd"
                                    << "png"
                                    << "";
    QTest::newRow("SRB, PNG") << "srb-odd"
                              << "png"
                              << "";
    QTest::newRow("MIP 4:4:4:4, BMP") << "mip-4444"
                                      << "bmp"
                                      << "";
    QTest::newRow("bare odd size, BMP") << "bare-odd-size"
                                        << "bmp"
                                        << "";
    QTest::newRow("no palette: black") << "mip-carried-palette"
                                       << "png"
                                       << "";
    QTest::newRow("--palette-from") << "mip-carried-palette"
                                    << "png"
                                    << "mip-palette-first";
    QTest::newRow("--palette-from, SRB") << "srb-carried-palette"
                                         << "bmp"
                                         << "mip-palette-first";
    QTest::newRow("--palette-from a refused file") << "mip-palette-from-16bit"
                                                   << "png"
                                                   << "mip-16bit-palette-chunk";
}

// The picture read back is the canvas, pixel for pixel; a texture without a palette takes that of
// --palette-from, or shows black.
void TextureToolTest::convertPictures() {
    QFETCH(QString, name);
    QFETCH(QString, format);
    QFETCH(QString, paletteFrom);
    const samples::Sample& sample = SampleNamed(name.toStdString());
    QStringList arguments{"convert", "--to", format, WriteSample(dir_->path(), sample.name)};
    if (!paletteFrom.isEmpty()) {
        arguments << "--palette-from" << WriteSample(dir_->path(), paletteFrom.toStdString());
    }
    const Finished run = Tool(arguments);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.status, 0);
    const QString picture = dir_->filePath(name + "." + format);
    QCOMPARE(QString::fromUtf8(run.out), arguments[3] + " -> " + picture + "\n");
    ComparePicture(QImage(picture),
                   paletteFrom.isEmpty() ? samples::FreshPicture(sample) : sample.expected->picture);
}

// A folder gives its texture files, lower or upper case ending, in name order; the refused ones are
// named in that order and the rest are still converted; folders below are walked with -r only and
// keep their place below -o.
void TextureToolTest::folders() {
    const QDir dir(dir_->path());
    QVERIFY(dir.mkpath("in/below"));
    const auto& good = SampleNamed("bare-565").bytes;
    WriteFile(dir.filePath("in"), "a.pbf", good);
    WriteFile(dir.filePath("in"), "b.mip", SampleNamed("bad-palette-cut").bytes);
    WriteFile(dir.filePath("in"), "c.SRB", SampleNamed("srb-565").bytes);
    WriteFile(dir.filePath("in"), "d.Mip", good);
    WriteFile(dir.filePath("in"), "e.txt", good);
    WriteFile(dir.filePath("in"), "fmip", good);
    WriteFile(dir.filePath("in"), "g.mip", SampleNamed("bad-empty").bytes);
    WriteFile(dir.filePath("in/below"), "h.mip", good);
    const QString in = dir.filePath("in");

    const Finished flat = Tool({"convert", "-j", "3", in});
    QCOMPARE(flat.status, 1);
    QCOMPARE(QString::fromUtf8(flat.out),
             QStringLiteral("%1/a.pbf -> %1/a.png\n%1/c.SRB -> %1/c.png\n%1/fmip -> %1/fmip.png\n").arg(in));
    QCOMPARE(QString::fromUtf8(flat.err),
             QStringLiteral("tamsel-texture: %1/b.mip: Not a valid texture file\n"
                            "tamsel-texture: %1/g.mip: Not a valid texture file\n")
                 .arg(in));
    QVERIFY(!QFile::exists(dir.filePath("in/d.png")) && !QFile::exists(dir.filePath("in/below/h.png")));

    const Finished deep = Tool({"convert", "-r", "-o", dir.filePath("out"), in, dir.filePath("in/d.Mip")});
    QCOMPARE(deep.status, 1);
    QCOMPARE(deep.out.count('\n'), 5);
    for (const char* made : {"out/a.png", "out/c.png", "out/fmip.png", "out/below/h.png", "out/d.png"}) {
        QVERIFY2(QImage(dir.filePath(made)).size() == QSize(64, 48), made);
    }
}

// An existing picture stays as it is without --force, and is replaced with it; an output that two
// inputs would write is written once.
void TextureToolTest::existingPictures() {
    const QString texture = WriteSample(dir_->path(), "mip-565");
    const QString picture = dir_->filePath("mip-565.png");
    WriteFile(dir_->path(), "mip-565.png", {'o', 'l', 'd'});
    const QString other = WriteFile(dir_->path(), "mip-565.pbf", SampleNamed("bare-565").bytes);

    const Finished kept = Tool({"convert", texture, other});
    QCOMPARE(kept.status, 1);
    QCOMPARE(QString::fromUtf8(kept.err),
             QStringLiteral("tamsel-texture: %1: %2: exists; --force replaces it\n"
                            "tamsel-texture: %3: %2: an earlier texture writes it\n")
                 .arg(texture, picture, other));
    QFile old(picture);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));

    const Finished replaced = Tool({"convert", "--force", texture});
    QCOMPARE(replaced.status, 0);
    ComparePicture(QImage(picture), SampleNamed("mip-565").expected->picture);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden).size(), 3);  // no temporary file left
}

void TextureToolTest::badUsage_data() {
    QTest::addColumn<QStringList>("arguments");  // FILE: a good texture; DIR: a folder
    QTest::addColumn<QString>("message");
    QTest::newRow("no command") << QStringList{} << "no command given";
    QTest::newRow("unknown command") << QStringList{"show", "FILE"} << "unknown command 'show'";
    QTest::newRow("info without files") << QStringList{"info", "--json"} << "no FILE or FOLDER given";
    QTest::newRow("unknown option") << QStringList{"convert", "--bogus=1", "FILE"}
                                    << "unknown option --bogus";
    QTest::newRow("unknown letter") << QStringList{"info", "-x", "FILE"} << "unknown option -x";
    QTest::newRow("no value") << QStringList{"convert", "FILE", "-o"} << "missing value for -o";
    QTest::newRow("bad format") << QStringList{"convert", "--to", "gif", "FILE"}
                                << "--to takes png, ppm or bmp";
    QTest::newRow("no jobs") << QStringList{"convert", "-j0", "FILE"}
                             << "-j takes a whole number from 1 to 256";
    QTest::newRow("jobs not a number") << QStringList{"convert", "-j", "2x", "FILE"} << "not '2x'";
    QTest::newRow("-o - with two files")
        << QStringList{"convert", "-o", "-", "FILE", "FILE"} << "exactly one FILE";
    QTest::newRow("-o - with a folder") << QStringList{"convert", "-o", "-", "DIR"} << "exactly one FILE";
    QTest::newRow("-o a file") << QStringList{"convert", "-o", "FILE", "FILE"} << "not a folder";
    QTest::newRow("palette from a folder")
        << QStringList{"convert", "--palette-from", "DIR", "FILE"} << "is a folder";
    QTest::newRow("palette from no palette")
        << QStringList{"convert", "--palette-from", "FILE", "FILE"} << "has no palette of its own";
    QTest::newRow("thumbnail, one operand")
        << QStringList{"thumbnail", "FILE"} << "give one INPUT and one OUTPUT";
    QTest::newRow("thumbnail, size 0") << QStringList{"thumbnail", "-s", "0", "FILE", "x.png"} << "-s takes";
}

// Bad usage exits with 2, says what is wrong, and writes nothing.
void TextureToolTest::badUsage() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QString file = WriteSample(dir_->path(), "bare-565");
    arguments.replaceInStrings(QRegularExpression("^FILE$"), file);
    arguments.replaceInStrings(QRegularExpression("^DIR$"), dir_->path());
    const Finished run = Tool(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bare-565.pbf"});
}

void TextureToolTest::filesThatAreNoTexture_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "missing"
                             << "cannot open: No such file or directory";
    QTest::newRow("FIFO") << "fifo"
                          << "not a regular file";
    QTest::newRow("device") << "/dev/zero"
                            << "not a regular file";
    QTest::newRow("1 GiB of zeros") << "huge"
                                    << "Not a valid texture file";
    QTest::newRow("a refused texture") << "bad"
                                       << "Not a valid texture file";
}

// Each command names such a file with the reason, exits with 1 and writes nothing, at once.
void TextureToolTest::filesThatAreNoTexture() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QString path = kind.startsWith('/') ? kind : dir_->filePath(kind + ".mip");
    if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == "huge") {
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64{1} << 30));
    } else if (kind == "bad") {
        WriteFile(dir_->path(), "bad.mip", SampleNamed("bad-canvas-over-cap").bytes);
    }
    const QString out = dir_->filePath("out.png");
    for (const QStringList& arguments :
         {QStringList{"info", path}, QStringList{"convert", "-o", dir_->path(), path},
          QStringList{"thumbnail", path, out}}) {
        const Finished run = Tool(arguments);
        QCOMPARE(run.status, 1);
        QCOMPARE(QString::fromUtf8(run.err), "tamsel-texture: " + path + ": " + message + "\n");
        QCOMPARE(run.out, QByteArray());
    }
    QVERIFY(QDir(dir_->path()).entryList({"*.png", ".*"}, QDir::Files | QDir::Hidden).isEmpty());
}

void TextureToolTest::helpAndVersion() {
    for (const QString command : {"info", "convert", "thumbnail"}) {
        const Finished help = Tool({command, "--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.startsWith("tamsel-texture " + command.toUtf8() + " ["));
        QVERIFY(help.out.contains("EXIT STATUS"));
        QCOMPARE(Tool({command, "--version"}).out, QByteArray("tamsel-texture ") + kVersionText + "\n");
    }
    const Finished all = Tool({"--help"});
    QCOMPARE(all.status, 0);
    for (const char* part :
         {"tamsel-texture info [", "tamsel-texture convert [", "tamsel-texture thumbnail ["}) {
        QCOMPARE(all.out.count(part), 2);  // in the synopsis and in the command's own part
    }
}

QTEST_GUILESS_MAIN(TextureToolTest)
#include "TextureToolTest.moc"

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

// Rows of strings: a row's name, then its columns (their names live as long as the program).
void AddRows(std::initializer_list<const char*> columns, const std::vector<QStringList>& rows) {
    for (const char* column : columns) {
        QTest::addColumn<QString>(column);
    }
    for (const QStringList& row : rows) {
        QTestData& data = QTest::newRow(row[0].toUtf8());
        for (const QString& value : row.mid(1)) {
            data << value;
        }
    }
}

}  // namespace

// tamsel-texture end to end, as a modder's script runs it.
class TextureToolTest : public QObject {
    Q_OBJECT

private slots:
    // Each test in a folder of its own.
    void init() { QVERIFY(dir_.emplace().isValid()); }

    void infoFacts_data() {
        AddRows({"name", "container", "format", "palette", "pitch"},
                {{"bare, padded", "bare-565-padded", "bare", "5:6:5", "none", "132"},
                 {"bare named .mip", "bare-named-mip", "bare", "1:5:5:5", "none", "74"},
                 {"MIP, PAMC", "mip-palette-first", "MIP", "4-bit paletted", "own PAMC chunk", "12648430"},
                 {"MIP, chunk after", "mip-image-first-palette", "MIP", "4-bit paletted",
                  "own chunk after the header", "12648430"},
                 {"MIP, no palette", "mip-carried-palette", "MIP", "4-bit paletted", "none", "12648430"},
                 {"MIP, 16-bit, format 2", "mip-16bit-palette-chunk", "MIP", "unknown code 2",
                  "own chunk after the header", "12648430"},
                 {"SRB, 4:4:4:4", "srb-4444", "SRB", "4:4:4:4", "none", "12648430"}});
    }

    // One JSON object a line, in the same words as the text form.
    void infoFacts() {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QString, format);
        QFETCH(QString, palette);
        QFETCH(QString, pitch);
        const samples::Sample& sample = SampleNamed(name.toStdString());
        const samples::Picture& canvas = sample.expected->picture;
        const QString path = WriteSample(dir_->path(), sample.name);
        const Finished json = Tool({"info", "--json", path});
        QCOMPARE(json.status, 0);
        QCOMPARE(json.out.count('\n'), 1);
        const QJsonObject facts = QJsonDocument::fromJson(json.out).object();
        const QStringList words{facts["file"].toString(), facts["container"].toString(),
                                facts["format"].toString(), facts["palette"].toString()};
        QCOMPARE(words, QStringList({path, container, format, palette}));
        const QList<qint64> numbers{facts["pitch"].toInteger(), facts["width"].toInteger(),
                                    facts["height"].toInteger(), facts["result"].toInteger(),
                                    facts["size"].toInteger()};
        QCOMPARE(numbers, QList<qint64>({pitch.toLongLong(), canvas.width, canvas.height,
                                         sample.expected->result, static_cast<qint64>(sample.bytes.size())}));
        QCOMPARE(QString::fromUtf8(Tool({"info", path}).out),
                 QStringLiteral("%1: %2, %3, %4 x %5, pitch %6, palette %7, result %8, %9 bytes\n")
                     .arg(path, container, format)
                     .arg(canvas.width)
                     .arg(canvas.height)
                     .arg(pitch, palette)
                     .arg(sample.expected->result)
                     .arg(sample.bytes.size()));
    }

    void convertPictures_data() {
        AddRows(
            {"name", "format", "paletteFrom"},
            {{"bare, PNG", "bare-1555-padded", "png", ""},
             {"MIP 4-bit, PNG", "mip-palette-first-odd", "png", ""},
             {"SRB, BMP", "srb-odd", "bmp", ""},
             {"no palette: black", "mip-carried-palette", "png", ""},
             {"--palette-from", "srb-carried-palette", "bmp", "mip-palette-first"},
             {"--palette-from a 16-bit file", "mip-palette-from-16bit", "png", "mip-16bit-palette-chunk"}});
    }

    // The picture read back is the canvas, pixel for pixel; a texture without a palette takes that of
    // --palette-from, or shows black.
    void convertPictures() {
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(QString, paletteFrom);
        const samples::Sample& sample = SampleNamed(name.toStdString());
        QStringList arguments{"convert", "--to", format, WriteSample(dir_->path(), sample.name)};
        if (!paletteFrom.isEmpty()) {
            arguments << "--palette-from" << WriteSample(dir_->path(), paletteFrom.toStdString());
        }
        const Finished run = Tool(arguments);
        QCOMPARE(run.status, 0);
        const QString picture = dir_->filePath(name + "." + format);
        QCOMPARE(QString::fromUtf8(run.out + run.err), arguments[3] + " -> " + picture + "\n");
        ComparePicture(QImage(picture),
                       paletteFrom.isEmpty() ? samples::FreshPicture(sample) : sample.expected->picture);
    }

    // A folder gives its texture files in name order; the refused ones are named in that order and the
    // rest still converted; folders below are walked with -r only and keep their place below -o.
    void folders() {
        const QDir dir(dir_->path());
        QVERIFY(dir.mkpath("in/below"));
        const samples::Bytes& good = SampleNamed("bare-565").bytes;
        for (const char* name : {"a.pbf", "d.Mip", "e.txt", "fmip", "below/h.mip"}) {
            WriteFile(dir.filePath("in"), name, good);
        }
        WriteFile(dir.filePath("in"), "b.mip", SampleNamed("bad-palette-cut").bytes);
        WriteFile(dir.filePath("in"), "c.SRB", SampleNamed("srb-565").bytes);
        WriteFile(dir.filePath("in"), "g.mip", SampleNamed("bad-empty").bytes);
        const QString in = dir.filePath("in");

        const Finished flat = Tool({"convert", "-j", "3", in});
        QCOMPARE(flat.status, 1);
        QCOMPARE(
            QString::fromUtf8(flat.out),
            QStringLiteral("%1/a.pbf -> %1/a.png\n%1/c.SRB -> %1/c.png\n%1/fmip -> %1/fmip.png\n").arg(in));
        QCOMPARE(QString::fromUtf8(flat.err),
                 QStringLiteral("tamsel-texture: %1/b.mip: Not a valid texture file\n"
                                "tamsel-texture: %1/g.mip: Not a valid texture file\n")
                     .arg(in));
        QVERIFY(!QFile::exists(dir.filePath("in/d.png")) && !QFile::exists(dir.filePath("in/below/h.png")));

        const Finished deep =
            Tool({"convert", "-r", "-o", dir.filePath("out"), in, dir.filePath("in/d.Mip")});
        QCOMPARE(deep.status, 1);
        for (const char* made : {"out/a.png", "out/c.png", "out/fmip.png", "out/below/h.png", "out/d.png"}) {
            QVERIFY2(QImage(dir.filePath(made)).size() == QSize(64, 48), made);
        }
    }

    // An existing picture stays as it is without --force and is replaced with it; a picture that two
    // textures would write is written once.
    void existingPictures() {
        const QString texture = WriteSample(dir_->path(), "mip-565");
        const QString picture = WriteFile(dir_->path(), "mip-565.png", {'o', 'l', 'd'});
        const QString other = WriteFile(dir_->path(), "mip-565.pbf", SampleNamed("bare-565").bytes);
        const Finished kept = Tool({"convert", texture, other});
        QCOMPARE(kept.status, 1);
        QCOMPARE(QString::fromUtf8(kept.err),
                 QStringLiteral("tamsel-texture: %1: %2: exists; --force replaces it\n"
                                "tamsel-texture: %3: %2: an earlier texture writes it\n")
                     .arg(texture, picture, other));
        QFile old(picture);
        QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "old");

        QCOMPARE(Tool({"convert", "--force", texture}).status, 0);
        ComparePicture(QImage(picture), SampleNamed("mip-565").expected->picture);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden).size(),
                 3);  // no temporary file left
    }

    void badUsage_data() {
        QTest::addColumn<QStringList>("arguments");  // the message, then the arguments; FILE: a texture
        for (const QStringList& row : std::vector<QStringList>{
                 {"no command given"},
                 {"unknown command 'show'", "show", "FILE"},
                 {"no FILE or FOLDER given", "info", "--json"},
                 {"unknown option --bogus", "convert", "--bogus=1", "FILE"},
                 {"unknown option -x", "info", "-x", "FILE"},
                 {"missing value for -o", "convert", "FILE", "-o"},
                 {"--to takes png, ppm or bmp, not 'gif'", "convert", "--to", "gif", "FILE"},
                 {"-j takes a whole number from 1 to 256, not '2x'", "convert", "-j", "2x", "FILE"},
                 {"-o - writes one picture", "convert", "-o", "-", "FILE", "FILE"},
                 {"not a folder", "convert", "-o", "FILE", "FILE"},
                 {": has no palette of its own", "convert", "--palette-from", "FILE", "FILE"},
                 {"give one INPUT and one OUTPUT", "thumbnail", "FILE"},
                 {"-s takes a whole number from 1 to 16384, not '0'", "thumbnail", "-s", "0", "FILE", "x"}}) {
            QTest::newRow(row[0].toUtf8()) << row;
        }
    }

    // Bad usage exits with 2, says what is wrong, and writes nothing.
    void badUsage() {
        QFETCH(QStringList, arguments);
        const QString file = WriteSample(dir_->path(), "bare-565");
        const QString message = arguments.takeFirst();
        const Finished run = Tool(arguments.replaceInStrings(QRegularExpression("^FILE$"), file));
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
        QCOMPARE(run.out + QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden).join(' ').toUtf8(),
                 QByteArray("bare-565.pbf"));
    }

    void filesThatAreNoTexture_data() {
        AddRows({"kind", "message"}, {{"missing", "missing", "cannot open: No such file or directory"},
                                      {"FIFO", "fifo", "not a regular file"},
                                      {"device", "/dev/zero", "not a regular file"},
                                      {"folder", "folder", "is a folder"},
                                      {"1 GiB of zeros", "huge", "Not a valid texture file"}});
    }

    // Each command names such a file with the reason, at once, exits with 1 and writes nothing.
    void filesThatAreNoTexture() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const QString path = kind.startsWith('/') ? kind : dir_->filePath(kind + ".mip");
        QFile huge(path);
        QVERIFY(kind != "fifo" || ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        QVERIFY(kind != "folder" || QDir().mkdir(path));
        QVERIFY(kind != "huge" || (huge.open(QIODevice::WriteOnly) && huge.resize(qint64{1} << 30)));
        for (const QStringList& arguments :
             {QStringList{"info", path}, QStringList{"convert", "-o", dir_->path(), path},
              QStringList{"thumbnail", path, dir_->filePath("out.png")}}) {
            if (kind == "folder" && arguments[0] != "thumbnail") {
                continue;  // a folder is walked
            }
            const Finished run = Tool(arguments);
            QCOMPARE(QString::fromUtf8(run.out + run.err), "tamsel-texture: " + path + ": " + message + "\n");
            QCOMPARE(run.status, 1);
        }
        QVERIFY(QDir(dir_->path()).entryList({"*.png", ".*"}, QDir::Files | QDir::Hidden).isEmpty());
    }

    void helpAndVersion() {
        QCOMPARE(Tool({"--help"}).out.count("tamsel-texture convert ["),
                 2);  // synopsis and the command's part
        for (const QString command : {"info", "convert", "thumbnail"}) {
            const Finished help = Tool({command, "--help"});
            QVERIFY(help.status == 0 && help.out.startsWith("tamsel-texture " + command.toUtf8() + " ["));
            QVERIFY(help.out.contains("EXIT STATUS"));
            QCOMPARE(Tool({command, "--version"}).out, QByteArray("tamsel-texture ") + kVersionText + "\n");
        }
    }

private:
    std::optional<QTemporaryDir> dir_;
};

QTEST_GUILESS_MAIN(TextureToolTest)
#include "TextureToolTest.moc"

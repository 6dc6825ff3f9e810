// The textures outside the viewer: tamsel-texture as a modder's script and a thumbnail service run it,
// and the MIME types of the database a desktop builds from the package (XDG_DATA_DIRS names it first).
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <QDir>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <optional>

#include "Version.h"
#include "support/Processes.h"
#include "support/SampleNamed.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::Difference;
using testing::Finished;
using testing::ImageOf;
using testing::Run;
using testing::SampleNamed;

namespace {

// Writes the sample under its own name and extension.
QString WriteSample(const QString& folder, const std::string& name) {
    const samples::Sample& sample = SampleNamed(name);
    return testing::WriteTextureFile(folder, QString::fromStdString(sample.name + sample.extension),
                                     sample.bytes);
}

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

// Whether `folder` holds a hidden file: a temporary file left behind.
bool HoldsHiddenFiles(const QString& folder) {
    return !QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression("^\\.")).isEmpty();
}

}  // namespace

class ToolsTest : public QObject {
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
        QCOMPARE(
            QString::fromUtf8(Tool({"info", path}).out),
            u"%1: %2, %3, %4 x %5, pitch %6, palette %7, result %8, %9 bytes\n"_s.arg(path, container, format)
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
        QCOMPARE(Difference(QImage(picture), ImageOf(paletteFrom.isEmpty() ? samples::FreshPicture(sample)
                                                                           : sample.expected->picture)),
                 0);
    }

    // A folder gives its texture files in name order; the refused ones are named in that order and the
    // rest still converted; folders below are walked with -r only and keep their place below -o.
    void folders() {
        const QDir dir(dir_->path());
        QVERIFY(dir.mkpath("in/below"));
        const samples::Bytes& good = SampleNamed("bare-565").bytes;
        for (const char* name : {"a.pbf", "d.Mip", "e.txt", "fmip", "below/h.mip"}) {
            testing::WriteTextureFile(dir.filePath("in"), name, good);
        }
        testing::WriteTextureFile(dir.filePath("in"), "b.mip", SampleNamed("bad-palette-cut").bytes);
        testing::WriteTextureFile(dir.filePath("in"), "c.SRB", SampleNamed("srb-565").bytes);
        testing::WriteTextureFile(dir.filePath("in"), "g.mip", SampleNamed("bad-empty").bytes);
        const QString in = dir.filePath("in");

        const Finished flat = Tool({"convert", "-j", "3", in});
        QCOMPARE(flat.status, 1);
        QCOMPARE(QString::fromUtf8(flat.out),
                 u"%1/a.pbf -> %1/a.png\n%1/c.SRB -> %1/c.png\n%1/fmip -> %1/fmip.png\n"_s.arg(in));
        QCOMPARE(QString::fromUtf8(flat.err),
                 u"tamsel-texture: %1/b.mip: Not a valid texture file: the data ends at byte 100 of 120\n"
                 "tamsel-texture: %1/g.mip: Not a valid texture file: the file is empty\n"_s.arg(in));
        QVERIFY(!QFile::exists(dir.filePath("in/d.png")) && !QFile::exists(dir.filePath("in/below/h.png")));

        const Finished deep =
            Tool({"convert", "-r", "-o", dir.filePath("out"), in, dir.filePath("in/d.Mip")});
        QCOMPARE(deep.status, 1);
        for (const char* made : {"out/a.png", "out/c.png", "out/fmip.png", "out/below/h.png", "out/d.png"}) {
            QVERIFY2(QImage(dir.filePath(made)).size() == QSize(64, 48), made);
        }
    }

    // A refused texture is named with the reader's reason, after the file, on the standard error, and
    // in JSON with its error and its reason; an accepted one has no reason. Every bad sample gives the
    // reason the samples say, and the exit status is 1 as for any failure.
    void infoSaysWhy() {
        QStringList bad;
        for (const samples::Sample& sample : testing::AllSamples()) {
            if (!sample.expected) {
                bad << WriteSample(dir_->path(), sample.name);
            }
        }
        const auto reasonOf = [](const QString& path) {
            return QString::fromStdString(
                SampleNamed(QFileInfo(path).completeBaseName().toStdString()).reason);
        };
        const auto complaint = [&](const QString& path) {
            return u"tamsel-texture: %1: Not a valid texture file: %2\n"_s.arg(path, reasonOf(path));
        };
        const Finished json =
            Tool(QStringList{"info", "--json", WriteSample(dir_->path(), "bare-565")} + bad);
        QCOMPARE(json.status, 1);
        const QList<QByteArray> lines = json.out.trimmed().split('\n');
        QCOMPARE(lines.size(), bad.size() + 1);
        QVERIFY(!QJsonDocument::fromJson(lines[0]).object().contains("reason"));
        for (qsizetype i = 0; i < bad.size(); ++i) {
            const QJsonObject refused = QJsonDocument::fromJson(lines[i + 1]).object();
            QCOMPARE(refused["file"].toString(), bad[i]);
            QCOMPARE(refused["error"].toString(), "Not a valid texture file");
            QCOMPARE(refused["reason"].toString(), reasonOf(bad[i]));
            QVERIFY2(json.err.contains(complaint(bad[i]).toUtf8()), qPrintable(bad[i]));
        }
        const Finished text = Tool({"info", bad[0]});
        QCOMPARE(text.status, 1);
        QCOMPARE(QString::fromUtf8(text.out + text.err), complaint(bad[0]));
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
        AddRows({"kind", "message"},
                {{"missing", "missing", "cannot open: No such file or directory"},
                 {"FIFO", "fifo", "not a regular file"},
                 {"device", "/dev/zero", "not a regular file"},
                 {"folder", "folder", "is a folder"},
                 {"1 GiB of zeros", "huge",
                  "Not a valid texture file: the chunk at byte 160 has Size 0, below 1"}});
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

    void existingPictures_data() {
        QTest::addColumn<QString>("existing");  // "picture": a file of old bytes; "link": a link to one
        QTest::addColumn<bool>("force");
        QTest::newRow("a picture, kept") << u"picture"_s << false;
        QTest::newRow("a picture, --force") << u"picture"_s << true;
        QTest::newRow("a link, kept with --force too") << u"link"_s << true;
    }

    // An existing picture is kept, byte for byte, and named with the reason, unless --force is given;
    // a link is never written through.
    void existingPictures() {
        QFETCH(QString, existing);
        QFETCH(bool, force);
        const QString input = WriteSample(dir_->path(), "bare-565");
        const QString picture = dir_->filePath("bare-565.png");
        const QString old = testing::WriteBytes(dir_->path(), "old", "old bytes");
        QVERIFY(existing == "link" ? QFile::link(old, picture) : QFile::copy(old, picture));
        const Finished run =
            Tool(force ? QStringList{"convert", "--force", input} : QStringList{"convert", input});
        const bool replaced = force && existing == "picture";
        const QString reason = existing == "link" ? "not a regular file" : "exists; --force replaces it";
        QCOMPARE(run.status, replaced ? 0 : 1);
        QCOMPARE(QString::fromUtf8(run.err),
                 replaced ? QString() : u"tamsel-texture: %1: %2: %3\n"_s.arg(input, picture, reason));
        QFile file(picture);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes == "old bytes", !replaced);
        QCOMPARE(QImage::fromData(bytes, "png").size(), replaced ? QSize(64, 48) : QSize(0, 0));
        QCOMPARE(QFileInfo(picture).isSymLink(), existing == "link");
        QVERIFY(!HoldsHiddenFiles(dir_->path()));
    }

    void aStopLeavesNoFileBehind_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
    }

    // Stopped while it writes a picture (a 64-megapixel canvas takes a while to encode), convert
    // removes the new file it was writing and ends by the signal.
    void aStopLeavesNoFileBehind() {
        QFETCH(int, signal);
        const QString input = testing::WriteTextureFile(
            dir_->path(), "large.pbf",
            samples::BareImageFile({samples::kFormat565, 8192, 8192, 16384}, samples::Bytes{0xFF, 0xFF}));
        QProcess convert;
        convert.start(QStringLiteral(TAMSEL_TEXTURE), {"convert", input});
        bool writing = false;
        while (!writing && !convert.waitForFinished(1)) {
            writing = HoldsHiddenFiles(dir_->path());
        }
        QVERIFY2(writing, "convert ended before its new file was seen");
        ::kill(static_cast<pid_t>(convert.processId()), signal);
        QVERIFY(convert.waitForFinished(60000));
        QCOMPARE(convert.exitStatus(), QProcess::CrashExit);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"large.pbf"});
    }

    void thumbnails_data() {
        QTest::addColumn<QString>("name");  // a sample, or "card": a 600 x 400 bare image of the test card
        QTest::addColumn<int>("size");
        QTest::addColumn<QSize>("expected");  // invalid: nothing is written
        QTest::addColumn<int>("tolerance");   // in each channel, against the whole canvas scaled smoothly
        QTest::newRow("smaller than asked: as it is") << "bare-565" << 256 << QSize(64, 48) << 0;
        QTest::newRow("odd size, SRB, as it is") << "srb-odd" << 37 << QSize(37, 23) << 0;
        QTest::newRow("37 x 23 to 10 x 6") << "bare-odd-size" << 10 << QSize(10, 6) << 0;
        QTest::newRow("no palette: black") << "mip-carried-palette" << 48 << QSize(48, 36) << 0;
        QTest::newRow("4-bit, reduced by 2 first") << "mip-palette-first" << 16 << QSize(16, 12) << 2;
        QTest::newRow("600 x 400, reduced by 6 first") << "card" << 50 << QSize(50, 33) << 6;
        for (const char* refused : {"bad-canvas-over-cap", "bad-palette-cut", "bare-zero-width"}) {
            QTest::newRow(refused) << QString::fromLatin1(refused) << 128 << QSize() << 0;
        }
    }

    // A PNG of the canvas, at most `size` on its longer side with its proportions kept and never enlarged,
    // close to the whole canvas scaled smoothly; nothing for a refused file or a canvas without pixels.
    void thumbnails() {
        QFETCH(QString, name);
        QFETCH(int, size);
        QFETCH(QSize, expected);
        QFETCH(int, tolerance);
        const bool card = name == "card";
        const samples::Picture canvas =
            card ? samples::DrawTestCard(600, 400, samples::BitsOfFormat(samples::kFormat565))
                 : samples::BlankPicture(0, 0);
        const samples::Bytes file =
            card ? samples::BareImageFile({samples::kFormat565, 600, 400, 1200},
                                          samples::EncodeWords(canvas, samples::kFormat565))
                 : SampleNamed(name.toStdString()).bytes;
        const QString output = dir_->filePath("thumbnail.png");
        const int status = Tool({"thumbnail", "-s", QString::number(size),
                                 testing::WriteTextureFile(dir_->path(), "texture", file), output})
                               .status;
        if (!expected.isValid()) {
            QVERIFY(status > 0);
            QCOMPARE(QDir(dir_->path()).entryList({"*.png*"}, QDir::Files | QDir::Hidden), QStringList());
            return;
        }
        QCOMPARE(status, 0);
        const QImage whole = ImageOf(card ? canvas : samples::FreshPicture(SampleNamed(name.toStdString())));
        const int difference = Difference(
            QImage(output, "png"), whole.scaled(expected, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        QVERIFY2(difference >= 0 && difference <= tolerance, qPrintable(QString::number(difference)));
    }

    void thumbnailOutputs_data() {
        QTest::addColumn<QString>("output");  // "missing", "empty" or "old": a file of old bytes
        QTest::addColumn<QString>("input");   // "good", "bad": refused, "cut": its write fails
        for (const char* output : {"missing", "empty", "old"}) {
            for (const char* input : {"good", "bad", "cut"}) {
                QTest::addRow("%s, %s", output, input)
                    << QString::fromLatin1(output) << QString::fromLatin1(input);
            }
        }
    }

    // A thumbnail service makes OUTPUT, holds it open and reads the thumbnail through that descriptor
    // once the tool is done: a missing or empty OUTPUT is written into itself, any other is replaced
    // as a whole. A failed write (here: a file size limit of 40 bytes) leaves it as it was, and no
    // other file behind; a refused texture is named.
    void thumbnailOutputs() {
        QFETCH(QString, output);
        QFETCH(QString, input);
        const QString texture = WriteSample(dir_->path(), input == "bad" ? "bad-palette-cut" : "bare-565");
        const QString path = dir_->filePath("out.png");
        const QByteArray before = output == "old" ? "old bytes" : "";
        QFile held(output == "missing" ? QString() : testing::WriteBytes(dir_->path(), "out.png", before));
        QVERIFY(output == "missing" || held.open(QIODevice::ReadOnly));
        QProcess tool;
        if (input == "cut") {
            tool.setChildProcessModifier([] {
                std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
                const rlimit limit{40, 40};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            });
        }
        tool.start(QStringLiteral(TAMSEL_TEXTURE), {"thumbnail", "-s", "32", texture, path});
        QVERIFY(tool.waitForFinished(60000));
        const bool good = input == "good";
        QCOMPARE(tool.exitCode(), good ? 0 : 1);
        QCOMPARE(QString::fromUtf8(tool.readAllStandardError()).section(':', 0, 1),
                 good ? QString() : u"tamsel-texture: "_s + (input == "bad" ? texture : path));
        QCOMPARE(QFile::exists(path), output != "missing" || good);
        QFile after(path);
        const QByteArray written = after.open(QIODevice::ReadOnly) ? after.readAll() : QByteArray();
        QCOMPARE(QImage::fromData(written, "png").size(), good ? QSize(32, 24) : QSize(0, 0));
        QVERIFY(output == "missing" || held.readAll() == (output == "empty" && good ? written : before));
        QVERIFY(!HoldsHiddenFiles(dir_->path()));
    }

    // A 54-byte file whose canvas is 8192 x 8192 (256 MiB at 4 bytes a pixel) is painted straight into
    // the thumbnail: its peak memory, as /usr/bin/time reports it in KiB on the last line of the
    // standard error, stays far below that canvas.
    void aThumbnailOfASmallFileClaimingALargeCanvas() {
        const samples::Bytes file =
            samples::BareImageFile({samples::kFormat565, 8192, 8192, 16384}, samples::Bytes{0xFF, 0xFF});
        QCOMPARE(file.size(), std::size_t{54});
        const QString output = dir_->filePath("large.png");
        const Finished run =
            Run("/usr/bin/time", {"-f", "%M", QStringLiteral(TAMSEL_TEXTURE), "thumbnail",
                                  testing::WriteTextureFile(dir_->path(), "large.pbf", file), output});
        const qint64 peakKiB = run.err.trimmed().split('\n').last().toLongLong();
        QCOMPARE(run.status, 0);
        QCOMPARE(QImage(output).size(), QSize(256, 256));
        QVERIFY2(peakKiB > 0 && peakKiB < 96 * 1024, qPrintable(QString::number(peakKiB)));
    }

    // Where the output named is no regular file (a FIFO, a link), nothing is written, it stays, and the
    // message names it.
    void aThumbnailNeverReplacesWhatIsNoFile() {
        const QString input =
            testing::WriteTextureFile(dir_->path(), "texture", SampleNamed("bare-565").bytes);
        const QString fifo = dir_->filePath("fifo.png");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString link = dir_->filePath("link.png");
        QVERIFY(QFile::link(input, link));
        for (const QString& output : {fifo, link}) {
            const Finished run = Tool({"thumbnail", input, output});
            QCOMPARE(run.status, 1);
            QCOMPARE(QString::fromUtf8(run.err), "tamsel-texture: " + output + ": not a regular file\n");
        }
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(testing::BytesOf(SampleNamed("bare-565").bytes), [&] {
            QFile file(input);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }());
    }

    // By name in either case, or by the first bytes of a file whose name says nothing.
    void mimeTypes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("contents");  // empty: by the name alone
        QTest::addColumn<QString>("type");
        const samples::ImageFields image{samples::kFormat565, 4, 2, 8};
        const samples::Bytes data = samples::EncodeWords(samples::BlankPicture(4, 2), samples::kFormat565);
        const samples::Bytes mip = samples::MipFile({.image = image}, data);
        QTest::newRow("bare image") << u"texture"_s << testing::BytesOf(samples::BareImageFile(image, data))
                                    << u"image/x-tamsel-pbf"_s;
        QTest::newRow("SRB wrapper") << u"texture"_s
                                     << testing::BytesOf(samples::SrbFile(mip, samples::Bytes{1, 2, 3}))
                                     << u"image/x-tamsel-srb"_s;
        QTest::newRow("MIP file") << u"texture"_s << testing::BytesOf(mip) << u"image/x-tamsel-mip"_s;
        for (const char* name : {"x.mip", "x.MIP", "x.srb", "x.SRB", "x.pbf", "x.PBF"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << QByteArray()
                                << u"image/x-tamsel-"_s + QString::fromLatin1(name + 2).toLower();
        }
        QTest::newRow("x.Mip, no known kind") << u"x.Mip"_s << QByteArray() << u"application/octet-stream"_s;
    }

    void mimeTypes() {
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QFETCH(QString, type);
        const QMimeDatabase database;
        QCOMPARE(contents.isEmpty()
                     ? database.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name()
                     : database.mimeTypeForFile(testing::WriteBytes(dir_->path(), name, contents)).name(),
                 type);
    }

private:
    std::optional<QTemporaryDir> dir_;
};

QTEST_GUILESS_MAIN(ToolsTest)
#include "ToolsTest.moc"

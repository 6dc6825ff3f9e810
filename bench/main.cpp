// tamsel-bench [--quick] [--out DIR]: the viewer's speed and memory, each figure beside a reference
// measured in the same run, printed as one table. See README.md.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "BenchWindow.h"
#include "Children.h"
#include "Figures.h"
#include "Measure.h"

using namespace tamsel;
using namespace tamsel::bench;

namespace {

// A line of progress on standard error, with the seconds since the benchmark started.
void Say(const QString& text) {
    static QElapsedTimer sinceStart;
    if (!sinceStart.isValid()) {
        sinceStart.start();
    }
    std::fprintf(stderr, "tamsel-bench: [%5.1f s] %s\n", static_cast<double>(sinceStart.elapsed()) / 1e3,
                 qPrintable(text));
}

QSize ThumbCellOn(QSize screen, const QString& programFolder, const QString& settingsFile) {
    const std::unique_ptr<FrmImageViewer> window =
        BenchPlatform(screen, programFolder, settingsFile).Window();
    return {window->ThumbWidth, window->ThumbHeight};
}

QString Run(bool quick, const QString& root) {
    SampleData data(root);
    Table table;
    const QString settingsNone = QDir(root).filePath(QStringLiteral("settings/none.ini"));
    const QString empty = data.EmptyFolder();
    const QString folder = QCoreApplication::applicationDirPath();
    Context context{
        quick,
        data,
        table,
        {QCoreApplication::applicationFilePath(), QDir(folder).filePath(QStringLiteral("tamsel-bench-peak"))},
        settingsNone,
        ScreenForView(kViewLimit, empty, settingsNone),
        QSize(1920, 1080),
        {}};
    context.thumbCell = ThumbCellOn(context.pageScreen, empty, settingsNone);
    if (!QFile::exists(context.programs.launcher)) {
        throw std::runtime_error("tamsel-bench-peak is not beside tamsel-bench");
    }

    Say(QStringLiteral("data in %1").arg(root));
    Say(QStringLiteral("textures"));
    TextureFigures(context);
    Say(QStringLiteral("JPEGs in the single view and on a thumbnail page"));
    PictureFigures(context);
    Say(QStringLiteral("a folder of %1 files").arg(kListedFolderSize));
    FolderFigures(context);
    Say(QStringLiteral("a waiting slide show"));
    SlideShowFigures(context);
    Say(QStringLiteral("peaks of memory"));
    MemoryFigures(context);

    return MachineLine() +
           QStringLiteral("; Qt %1%2\n\n")
               .arg(QLatin1String(qVersion()), quick ? QStringLiteral("; --quick") : QString()) +
           table.Text();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.value(1) == QStringLiteral("--child")) {
        return RunChild(arguments.mid(2));
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Measures the viewer's speed and memory beside reference tools and prints one table."));
    parser.addHelpOption();
    const QCommandLineOption quick(QStringLiteral("quick"),
                                   QStringLiteral("A short run with fewer repeats, for smoke-testing."));
    const QCommandLineOption out(
        QStringLiteral("out"),
        QStringLiteral("Keep the generated files in DIR/data (reused by later runs) and "
                       "write the table to DIR/results.md."),
        QStringLiteral("DIR"));
    parser.addOption(quick);
    parser.addOption(out);
    parser.process(app);

    try {
        std::optional<QTemporaryDir> temporary;
        QString root;
        if (parser.isSet(out)) {
            root = QDir(parser.value(out)).filePath(QStringLiteral("data"));
        } else {
            temporary.emplace(QDir::temp().filePath(QStringLiteral("tamsel-bench-XXXXXX")));
            root = temporary->path();
        }
        const QString report = Run(parser.isSet(quick), root);
        std::fputs(qPrintable(report), stdout);
        if (parser.isSet(out)) {
            QFile results(QDir(parser.value(out)).filePath(QStringLiteral("results.md")));
            if (!results.open(QIODevice::WriteOnly | QIODevice::Text) || results.write(report.toUtf8()) < 0) {
                throw std::runtime_error("cannot write " + results.fileName().toStdString());
            }
        }
    } catch (const std::exception& error) {
        Say(QString::fromUtf8(error.what()));
        return 1;
    }
    return 0;
}

// tamsel-bench [--quick] [--only GROUPS] [--out DIR]: the viewer's speed and memory, each figure beside a
// reference measured in the same run, printed as one table. See README.md.
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>

#include "Figures.h"
#include "Measure.h"

using namespace tamsel::bench;
using namespace Qt::StringLiterals;

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

QString Run(bool quick, const QStringList& groups, const QString& root) {
    const QString viewer = QStringLiteral(TAMSEL_VIEWER_PATH);
    if (!QFile::exists(viewer)) {
        throw std::runtime_error("tamsel-viewer must be built");
    }
    SampleData data(root);
    Table table;
    Say(QStringLiteral("data in %1").arg(root));
    Desktop desktop(QDir(root).filePath(QStringLiteral("config")));
    Say(desktop.Absence().isEmpty() ? QStringLiteral("on screen, beside feh")
                                    : QStringLiteral("no figures on screen: ") + desktop.Absence());
    Context context{quick, data, table, desktop, viewer, Say, groups};
    ScreenFigures(context);
    return MachineLine() + QStringLiteral("; Qt %1%2\n\n").arg(qVersion(), quick ? "; --quick" : "") +
           table.Text();
}

}  // namespace

int main(int argc, char* argv[]) {
    // The benchmark shows nothing itself: the programs it measures run on its own X server.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures the viewer beside feh and prints one table."));
    parser.addHelpOption();
    const QCommandLineOption quick(QStringLiteral("quick"),
                                   QStringLiteral("Fewer repeats, for smoke-testing."));
    const QCommandLineOption out(
        QStringLiteral("out"),
        QStringLiteral("Keep the generated files in DIR/data (reused by later runs) and "
                       "write the table to DIR/results.md."),
        QStringLiteral("DIR"));
    const QCommandLineOption only(
        QStringLiteral("only"),
        QStringLiteral("Measure only these groups of rows, separated by commas: start, "
                       "keys, pages, refusals."),
        QStringLiteral("GROUPS"));
    parser.addOptions({quick, out, only});
    parser.process(app);
    try {
        const QTemporaryDir temporary(QDir::temp().filePath(QStringLiteral("tamsel-bench-XXXXXX")));
        const QString root =
            parser.isSet(out) ? QDir(parser.value(out)).filePath(QStringLiteral("data")) : temporary.path();
        const QStringList groups = parser.value(only).split(u',', Qt::SkipEmptyParts);
        for (const QString& group : groups) {
            if (!QStringList{u"start"_s, u"keys"_s, u"pages"_s, u"refusals"_s}.contains(group)) {
                throw std::runtime_error("no group of rows is called " + group.toStdString());
            }
        }
        const QString report = Run(parser.isSet(quick), groups, root);
        std::fputs(qPrintable(report), stdout);
        QFile results(QDir(parser.value(out)).filePath(QStringLiteral("results.md")));
        if (parser.isSet(out) &&
            (!results.open(QIODevice::WriteOnly | QIODevice::Text) || results.write(report.toUtf8()) < 0)) {
            throw std::runtime_error("cannot write " + results.fileName().toStdString());
        }
    } catch (const std::exception& error) {
        Say(QString::fromUtf8(error.what()));
        return 1;
    }
    return 0;
}

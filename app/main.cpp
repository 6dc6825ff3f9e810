#include <QApplication>
#include <QCommandLineParser>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "Version.h"
#include "browse/ImageKind.h"
#include "display/ReadAhead.h"
#include "platform/Drives.h"
#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "shell/FrmImageViewer.h"
#include "shell/Geometry.h"
#include "shell/Texts.h"

namespace {

using namespace tamsel;

// The arguments as the system gave them: a file name that is not valid UTF-8 keeps its bytes.
QStringList Arguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << platform::DecodeName(argv[i]);
    }
    return arguments;
}

// The path given, if any; --help and --version print and end the program here. Exits with 2 on a
// wrong command line.
QString ParsePath(const QStringList& arguments) {
    QCoreApplication::setApplicationName(texts::ApplicationTitle());
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersionText));
    QCoreApplication::setOrganizationName(QString::fromUtf8(kCompanyName));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows the simulation's texture files (.mip, .srb, .pbf) and BMP and JPEG pictures.\n"
        "With a folder, opens it in the file browser; with a picture, shows it. Without an argument,\n"
        "opens the folder used last."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("A picture or a folder to open."),
                                 QStringLiteral("[FILE | FOLDER]"));
    parser.process(arguments);
    if (parser.positionalArguments().size() > 1) {
        std::fputs("tamsel-viewer: give at most one file or folder\n", stderr);
        std::exit(2);
    }
    return parser.positionalArguments().value(0);
}

}  // namespace

int main(int argc, char* argv[]) {
    const QStringList arguments = Arguments(argc, argv);
    // Help and the version need no display: they are answered before the window system is asked for.
    const bool answerOnly = std::any_of(arguments.begin() + 1, arguments.end(), [](const QString& argument) {
        return argument == QStringLiteral("-h") || argument == QStringLiteral("--help") ||
               argument == QStringLiteral("--help-all") || argument == QStringLiteral("-v") ||
               argument == QStringLiteral("--version");
    });
    if (answerOnly) {
        const QCoreApplication app(argc, argv);
        ParsePath(arguments);
        return 2;  // not reached: the parser ends the program after answering
    }
    // Without a display to show the window on, the window system would end the program with an abort:
    // it ends here instead, saying why.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("tamsel-viewer: there is no display to show the window on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    const QApplication app(argc, argv);
    const QString path = ParsePath(arguments);
    QApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));

    // A picture named on the command line is decoded at once, while the window is made and placed,
    // for the largest single view this screen allows; the window fits it to its own limit.
    auto readAhead = std::make_shared<display::ReadAhead>();
    platform::Platform platform = platform::ProductPlatform();
    if (platform.settingsFile.isEmpty()) {
        std::fputs(
            "tamsel-viewer: HOME is not set to a folder, so nothing is remembered from this run and "
            "the browser starts in /\n",
            stderr);
    }
    const QString absolute = path.isEmpty() ? QString() : platform::NormalFolderPath(path);
    if (!absolute.isEmpty() && browse::KindOfFile(absolute)) {
        readAhead->Want({{{absolute}, shell::LargestViewLimit(platform.screenSize), {}, true}}, true);
    }

    FrmImageViewer window(std::move(platform), readAhead);
    window.show();
    if (!path.isEmpty()) {
        window.WhenPlaced([&window, path] {
            const QString refusal = window.OpenPath(path);
            if (!refusal.isEmpty()) {
                std::fprintf(stderr, "tamsel-viewer: %s: %s\n", platform::EncodeName(path).constData(),
                             qPrintable(refusal));
                std::fflush(stderr);
                window.ReportRefusedPath(path);
            }
        });
    }
    return QApplication::exec();
}

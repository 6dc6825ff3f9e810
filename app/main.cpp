#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "Version.h"
#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "shell/FrmImageViewer.h"
#include "shell/Texts.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(tamsel::texts::ApplicationTitle());
    QApplication::setApplicationVersion(QString::fromLatin1(tamsel::kVersionText));
    QApplication::setOrganizationName(QString::fromUtf8(tamsel::kCompanyName));
    QApplication::setDesktopFileName(QString::fromLatin1(tamsel::kApplicationId));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows the simulation's texture files (.mip, .srb, .pbf) and BMP and JPEG pictures.\n"
        "With a folder, opens it in the file browser; with a picture, shows it. Without an argument,\n"
        "opens the folder used last."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("A picture or a folder to open."),
                                 QStringLiteral("[FILE | FOLDER]"));
    // The arguments as the system gave them: a file name that is not valid UTF-8 keeps its bytes.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << tamsel::platform::DecodeName(argv[i]);
    }
    parser.process(arguments);
    if (parser.positionalArguments().size() > 1) {
        std::fputs("tamsel-viewer: give at most one file or folder\n", stderr);
        return 2;
    }

    tamsel::FrmImageViewer window(tamsel::platform::ProductPlatform());
    window.show();
    if (!parser.positionalArguments().isEmpty()) {
        const QString path = parser.positionalArguments().constFirst();
        window.WhenPlaced([&window, path] {
            const QString refusal = window.OpenPath(path);
            if (!refusal.isEmpty()) {
                std::fprintf(stderr, "tamsel-viewer: %s: %s\n",
                             tamsel::platform::EncodeName(path).constData(), qPrintable(refusal));
            }
        });
    }
    return QApplication::exec();
}

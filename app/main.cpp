#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "Version.h"
#include "platform/Platform.h"
#include "shell/FrmImageViewer.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(tamsel::kApplicationTitle);
    QApplication::setApplicationVersion(QString::fromLatin1(tamsel::kVersionText));
    QApplication::setOrganizationName(QString::fromLatin1(tamsel::kCompanyName));
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
    parser.process(app);
    if (parser.positionalArguments().size() > 1) {
        std::fputs("tamsel-viewer: give at most one file or folder\n", stderr);
        return 2;
    }

    tamsel::FrmImageViewer window(tamsel::platform::ProductPlatform());
    window.show();
    if (!parser.positionalArguments().isEmpty()) {
        const QString path = parser.positionalArguments().constFirst();
        const QString refusal = window.OpenPath(path);
        if (!refusal.isEmpty()) {
            std::fprintf(stderr, "tamsel-viewer: %s: %s\n", qPrintable(path), qPrintable(refusal));
        }
    }
    return QApplication::exec();
}

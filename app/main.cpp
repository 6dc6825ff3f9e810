#include <QApplication>

#include "Version.h"
#include "platform/Platform.h"
#include "shell/FrmImageViewer.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(tamsel::kApplicationTitle);
    QApplication::setApplicationVersion(QString::fromLatin1(tamsel::kVersionText));
    QApplication::setOrganizationName(QString::fromLatin1(tamsel::kCompanyName));

    tamsel::FrmImageViewer window(tamsel::platform::ProductPlatform());
    window.show();
    return QApplication::exec();
}

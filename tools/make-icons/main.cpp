// make-icons SIZE FILE: writes the viewer's icon, SIZE x SIZE pixels, to FILE as a PNG.
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

#include "shell/AppIcon.h"

int main(int argc, char* argv[]) {
    bool isNumber = false;
    const int size = argc == 3 ? QString::fromLocal8Bit(argv[1]).toInt(&isNumber) : 0;
    if (!isNumber || size <= 0) {
        std::fputs("usage: make-icons SIZE FILE\n", stderr);
        return EXIT_FAILURE;
    }
    const QString file = QString::fromLocal8Bit(argv[2]);
    if (!tamsel::shell::DrawAppIcon(size).save(file, "PNG")) {
        std::fprintf(stderr, "make-icons: cannot write %s\n", argv[2]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}

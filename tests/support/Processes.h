#pragma once

#include <QImage>
#include <QProcess>
#include <algorithm>
#include <cstdlib>

#include "samples/Pictures.h"

// Programs run to their end, and pictures compared, for the tests of the tool, the plugin and the
// thumbnail services.
namespace tamsel::testing {

struct Finished {
    int status = -1;  // -1: it crashed or did not end within the time allowed
    QByteArray out;
    QByteArray err;
};

inline Finished Run(const QString& program, const QStringList& arguments,
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(60000);
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    const bool exited = ended && process.exitStatus() == QProcess::NormalExit;
    return {exited ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

inline QImage ImageOf(const samples::Picture& picture) {
    return QImage(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                  QImage::Format_RGB32)
        .copy();
}

// The largest difference in a channel between two pictures of one size; -1 when their sizes differ.
inline int Difference(const QImage& actual, const QImage& expected) {
    int largest = actual.size() == expected.size() ? 0 : -1;
    for (int y = 0; largest >= 0 && y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb got = actual.pixel(x, y);
            const QRgb want = expected.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(got) - qRed(want)),
                                std::abs(qGreen(got) - qGreen(want)), std::abs(qBlue(got) - qBlue(want))});
        }
    }
    return largest;
}

}  // namespace tamsel::testing

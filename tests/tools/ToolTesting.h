#pragma once

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "support/SampleNamed.h"

// What the tests of the command-line tool, the thumbnailer and the image-format plugin share: the
// sample catalogue written to files, a child process run to its end, and pictures compared pixel by
// pixel.
namespace tamsel::tooltests {

using testing::SampleNamed;

// Writes `bytes` to `dir`/`fileName` and returns its path.
inline QString WriteFile(const QDir& dir, const QString& fileName, const std::vector<std::uint8_t>& bytes) {
    QFile file(dir.filePath(fileName));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
        qFatal("cannot write %s", qPrintable(file.fileName()));
    }
    return file.fileName();
}

// Writes the sample under its own name and extension.
inline QString WriteSample(const QDir& dir, const std::string& name) {
    const samples::Sample& sample = SampleNamed(name);
    return WriteFile(dir, QString::fromStdString(sample.name + sample.extension), sample.bytes);
}

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

// Fails at the first pixel where `actual` differs from `expected` by more than `tolerance` in a channel.
inline void ComparePicture(const QImage& actual, const samples::Picture& expected, int tolerance = 0) {
    QCOMPARE(actual.size(), QSize(expected.width, expected.height));
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            const QRgb got = actual.pixel(x, y);
            const QRgb want = expected.At(x, y);
            if (std::abs(qRed(got) - qRed(want)) > tolerance ||
                std::abs(qGreen(got) - qGreen(want)) > tolerance ||
                std::abs(qBlue(got) - qBlue(want)) > tolerance) {
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(got, 8, 16)
                                     .arg(want, 8, 16)));
            }
        }
    }
}

}  // namespace tamsel::tooltests

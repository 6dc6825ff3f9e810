#include "Measure.h"

#include <QDateTime>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <chrono>
#include <thread>

namespace tamsel::bench {

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

std::int64_t MonotonicNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double SecondsBetween(std::int64_t start, std::int64_t end) {
    return static_cast<double>(end - start) / 1e9;
}

void Pause(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

bool Start(QProcess& process, const QStringList& command, const QProcessEnvironment& environment,
           bool keepOutput) {
    process.setProcessEnvironment(environment);
    if (!keepOutput) {
        process.setStandardOutputFile(QProcess::nullDevice());
    }
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(command.front(), command.mid(1));
    return process.waitForStarted(-1);
}

bool Run(const QStringList& command) {
    QProcess process;
    return Start(process, command) && process.waitForFinished(-1) &&
           process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString FindProgram(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

QString MachineLine() {
    const auto read = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray cpuinfo = read(QStringLiteral("/proc/cpuinfo"));
    const qsizetype model = cpuinfo.indexOf(':', cpuinfo.indexOf("model name"));
    // Other work on the machine slows every figure: the load of the last minute says how much there was.
    return QStringLiteral("machine: %1, %2 cores; %3; load average %4")
        .arg(QString::fromUtf8(cpuinfo.mid(model + 1, cpuinfo.indexOf('\n', model) - model - 1).trimmed()))
        .arg(std::thread::hardware_concurrency())
        .arg(QDateTime::currentDateTime().toString(Qt::ISODate),
             QString::fromLatin1(read(QStringLiteral("/proc/loadavg")).split(' ').value(0)));
}

}  // namespace tamsel::bench

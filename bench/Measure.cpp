#include "Measure.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <ctime>
#include <thread>

extern char** environ;

namespace tamsel::bench {

namespace {

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// Reads a pipe to its end.
QByteArray ReadAll(int fd) {
    QByteArray all;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return all;
        }
        all.append(chunk, static_cast<qsizetype>(got));
    }
}

}  // namespace

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

std::vector<double> MedianSeconds(int runs, const std::vector<std::function<void()>>& bodies) {
    std::vector<std::vector<double>> times(bodies.size());
    QElapsedTimer timer;
    for (int round = -1; round < runs; ++round) {
        for (std::size_t b = 0; b < bodies.size(); ++b) {
            timer.start();
            bodies[b]();
            const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
            QCoreApplication::processEvents();
            if (round >= 0) {
                times[b].push_back(seconds);
            }
        }
    }
    std::vector<double> medians;
    medians.reserve(bodies.size());
    for (std::vector<double>& list : times) {
        medians.push_back(Median(std::move(list)));
    }
    return medians;
}

ProcessResult RunProcess(const QString& program, const QStringList& arguments, Output output) {
    std::vector<QByteArray> storage;
    storage.push_back(QFile::encodeName(program));
    for (const QString& argument : arguments) {
        storage.push_back(QFile::encodeName(argument));
    }
    std::vector<char*> argv;
    for (QByteArray& argument : storage) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int pipeEnds[2] = {-1, -1};
    if (output == Output::Capture && ::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output == Output::Capture) {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    ProcessResult result;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output == Output::Capture) {
        ::close(pipeEnds[1]);
        if (spawned == 0) {
            result.output = ReadAll(pipeEnds[0]);
        }
        ::close(pipeEnds[0]);
    }
    if (spawned != 0) {
        return result;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    result.started = true;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

QString FindProgram(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

std::int64_t MonotonicNanoseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

double ProcessCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

QString MachineLine() {
    QString model = QStringLiteral("unknown CPU");
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QByteArray& line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name")) {
                model = QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
                break;
            }
        }
    }
    // Other work on the machine slows every figure: the load of the last minute says how much there was.
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QByteArray load =
        loadavg.open(QIODevice::ReadOnly) ? loadavg.readAll().split(' ').value(0) : QByteArray("unknown");
    return QStringLiteral("machine: %1, %2 cores; %3; load average %4")
        .arg(model)
        .arg(std::thread::hardware_concurrency())
        .arg(QDateTime::currentDateTime().toString(Qt::ISODate), QString::fromLatin1(load));
}

}  // namespace tamsel::bench

#include "Measure.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <ctime>
#include <thread>

extern char** environ;

namespace tamsel::bench {

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

void Interleave(int runs, const std::vector<std::function<void(int round)>>& bodies) {
    for (int round = -1; round < runs; ++round) {
        for (const std::function<void(int)>& body : bodies) {
            body(round);
        }
    }
}

void Timed(int round, std::vector<double>& times, const std::function<void()>& body) {
    const std::int64_t start = MonotonicNanoseconds();
    body();
    if (round >= 0) {
        times.push_back(SecondsBetween(start, MonotonicNanoseconds()));
    }
}

std::int64_t MonotonicNanoseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

double SecondsBetween(std::int64_t start, std::int64_t end) {
    return static_cast<double>(end - start) / 1e9;
}

void Pause(double seconds) {
    const auto nanoseconds = static_cast<std::int64_t>(seconds * 1e9);
    timespec wait{static_cast<time_t>(nanoseconds / 1'000'000'000),
                  static_cast<long>(nanoseconds % 1'000'000'000)};
    while (::nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

Process::Process(const QString& program, const QStringList& arguments, StandardOutput output,
                 const std::vector<QByteArray>& environment) {
    std::vector<QByteArray> storage{QFile::encodeName(program)};
    for (const QString& argument : arguments) {
        storage.push_back(QFile::encodeName(argument));
    }
    std::vector<char*> argv;
    for (QByteArray& argument : storage) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::vector<QByteArray> envStorage = environment;
    std::vector<char*> envp;
    for (QByteArray& entry : envStorage) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    int pipeEnds[2] = {-1, -1};
    if (output == StandardOutput::Capture && ::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output == StandardOutput::Capture) {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(),
                                    environment.empty() ? environ : envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (output == StandardOutput::Capture) {
        ::close(pipeEnds[1]);
        outFd_ = pipeEnds[0];
    }
    if (spawned == 0) {
        pid_ = pid;
    }
}

Process::~Process() {
    if (pid_ > 0) {
        Terminate();
        Finish();
    }
    if (outFd_ >= 0) {
        ::close(outFd_);
    }
}

QByteArray Process::ReadLine() {
    QByteArray line;
    char byte = 0;
    for (;;) {
        const ssize_t got = outFd_ >= 0 ? ::read(outFd_, &byte, 1) : 0;
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got != 1 || byte == '\n') {
            return line;
        }
        line.append(byte);
    }
}

void Process::Terminate() const {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
    }
}

int Process::Finish() {
    if (outFd_ >= 0) {
        char chunk[4096];
        ssize_t got = 0;
        while ((got = ::read(outFd_, chunk, sizeof chunk)) > 0 || (got < 0 && errno == EINTR)) {
            output_.append(chunk, static_cast<qsizetype>(std::max<ssize_t>(got, 0)));
        }
        ::close(outFd_);
        outFd_ = -1;
    }
    if (pid_ <= 0) {
        return -1;
    }
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int RunProcess(const QString& program, const QStringList& arguments) {
    return Process(program, arguments, Process::StandardOutput::Discard).Finish();
}

QString FindProgram(const QString& name) {
    return QStandardPaths::findExecutable(name);
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

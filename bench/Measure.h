#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

// Timing, processes and the machine: what every figure of the benchmark is measured with.
namespace tamsel::bench {

// The median of a list of values (the mean of the middle two for an even count).
double Median(std::vector<double> values);

// Calls every body once with round -1, the warm-up, then `runs` rounds (0 on) in which every body is
// called once, in turn: ours and the references alternate.
void Interleave(int runs, const std::vector<std::function<void(int round)>>& bodies);

// Runs `body` and, on a counted round (0 on), adds the seconds it took to `times`.
void Timed(int round, std::vector<double>& times, const std::function<void()>& body);

// The monotonic clock in nanoseconds: one clock for every process of the machine.
std::int64_t MonotonicNanoseconds();

// Seconds from `start` to `end`, both from MonotonicNanoseconds().
double SecondsBetween(std::int64_t start, std::int64_t end);

// Sleeps for `seconds`.
void Pause(double seconds);

// A started child process. Its standard error goes to /dev/null, its standard output to a pipe that
// Finish reads, or to /dev/null.
class Process {
public:
    enum class StandardOutput { Discard, Capture };

    // Starts `program` with `arguments` in `environment` ("NAME=value" entries; this process's own when
    // empty). Started() is false when it could not be started.
    Process(const QString& program, const QStringList& arguments, StandardOutput output,
            const std::vector<QByteArray>& environment = {});
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    bool Started() const { return pid_ > 0; }

    // The next line of standard output, without its end; empty at the end of the output.
    QByteArray ReadLine();

    // Sends SIGTERM.
    void Terminate() const;

    // Waits for the end and returns its exit status (the exit code, or 128 + the signal that ended
    // it; -1 when it never started). Standard output is then in Output().
    int Finish();
    const QByteArray& Output() const { return output_; }

private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    QByteArray output_;
};

// Runs `program` to its end, output discarded; its exit status.
int RunProcess(const QString& program, const QStringList& arguments);

// The full path of a program on PATH; empty when it is not installed.
QString FindProgram(const QString& name);

// "machine: <CPU model>, <n> cores; <date and time>; load average <last minute's>".
QString MachineLine();

}  // namespace tamsel::bench

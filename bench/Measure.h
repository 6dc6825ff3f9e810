#pragma once

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

// Runs every body once to warm up, then `runs` rounds in which each body runs once, in turn, and
// returns each body's median time in seconds. After each body the pending events are dispatched,
// untimed, so that no body pays for the repaints of the one before.
std::vector<double> MedianSeconds(int runs, const std::vector<std::function<void()>>& bodies);

// Keeps the compiler from dropping stores to `memory` that nothing reads back.
inline void DoNotOptimise(const void* memory) {
    __asm__ __volatile__("" : : "r"(memory) : "memory");
}

// What a finished child process gave.
struct ProcessResult {
    bool started = false;
    int exitStatus = -1;  // the exit code, or 128 + the signal that ended it
    double seconds = 0.0;
    QByteArray output;  // its standard output, when captured
};

enum class Output { Discard, Capture };

// Starts `program` with `arguments`, standard error discarded, and waits for it to end.
ProcessResult RunProcess(const QString& program, const QStringList& arguments, Output output);

// The full path of a program on PATH; empty when it is not installed.
QString FindProgram(const QString& name);

// The monotonic clock in nanoseconds: one clock for every process of the machine.
std::int64_t MonotonicNanoseconds();

// User and system CPU time of this process so far, all threads, in seconds.
double ProcessCpuSeconds();

// "machine: <CPU model>, <n> cores; <date and time>; load average <last minute's>".
QString MachineLine();

}  // namespace tamsel::bench

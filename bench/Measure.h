#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// Timing, processes and the machine: what every figure of the benchmark is measured with.
namespace tamsel::bench {

// The median of a list of values (the mean of the middle two for an even count).
double Median(std::vector<double> values);

// The monotonic clock in nanoseconds, and the seconds between two of its readings.
std::int64_t MonotonicNanoseconds();
double SecondsBetween(std::int64_t start, std::int64_t end);

void Pause(double seconds);

// Starts `command` (the program, then its arguments) in `environment`, its output thrown away unless
// `keepOutput`. Whether it started.
bool Start(QProcess& process, const QStringList& command,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
           bool keepOutput = false);

// Runs `command` to its end; whether it exited with 0.
bool Run(const QStringList& command);

// The full path of a program on PATH; empty when it is not installed.
QString FindProgram(const QString& name);

// "machine: <CPU model>, <n> cores; <date and time>; load average <last minute's>".
QString MachineLine();

}  // namespace tamsel::bench

#pragma once

#include <getopt.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the commands share: exit statuses, messages and the reading of their options.
namespace tamsel::tool {

inline constexpr int kAllWell = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kBadUsage = 2;

// "tamsel-texture: what" on the standard error.
void Complain(std::string_view what);

// Prints `text` on the standard output: kAllWell, or kSomeFailed when it could not be written.
int Print(std::string_view text);

// "tamsel-texture VERSION" and a new line.
std::string VersionLine();

// Says what is wrong with a command's usage and where its help is; returns kBadUsage.
int BadUsage(std::string_view command, std::string_view what);

// The options and operands of one command.
struct CommandLine {
    std::vector<std::string> operands;
    std::optional<int> exitStatus;  // set when the command has nothing further to do
};

// Reads the arguments of `command` (argv[0] is the command's own name) with getopt_long, which takes
// an option's value joined or as the next argument, options and operands in any order, and "--" to end
// the options. Adds --help, which prints `help`, and --version. Calls `take` with each other option's
// short name or key and its value; `take` returns false when the value is bad, after saying why.
CommandLine ReadCommandLine(std::string_view command, int argc, char** argv, std::string_view shortOptions,
                            std::vector<option> longOptions, std::string_view help,
                            const std::function<bool(int, const char*)>& take);

// A whole number from 1 to `largest`, or nothing after saying why `text` is none.
std::optional<std::int32_t> CountOption(std::string_view command, std::string_view option, const char* text,
                                        std::int32_t largest);

}  // namespace tamsel::tool

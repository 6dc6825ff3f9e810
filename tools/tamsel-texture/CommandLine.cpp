#include "CommandLine.h"

#include <charconv>
#include <cstring>
#include <iostream>

#include "Help.h"
#include "Version.h"

namespace tamsel::tool {
namespace {

constexpr int kHelpKey = 0x100;
constexpr int kVersionKey = 0x101;

}  // namespace

void Complain(std::string_view what) {
    std::cerr << kProgramName << ": " << what << std::endl;
}

int Print(std::string_view text) {
    std::cout << text;
    return std::cout.flush() ? kAllWell : kSomeFailed;
}

std::string VersionLine() {
    return std::string(kProgramName) + " " + kVersionText + "\n";
}

int BadUsage(std::string_view command, std::string_view what) {
    std::cerr << kProgramName << ' ' << command << ": " << what << "\nTry '" << kProgramName << ' ' << command
              << " --help'." << std::endl;
    return kBadUsage;
}

CommandLine ReadCommandLine(std::string_view command, int argc, char** argv, std::string_view shortOptions,
                            std::vector<option> longOptions, std::string_view help,
                            const std::function<bool(int, const char*)>& take) {
    longOptions.push_back({"help", no_argument, nullptr, kHelpKey});
    longOptions.push_back({"version", no_argument, nullptr, kVersionKey});
    longOptions.push_back({nullptr, 0, nullptr, 0});
    // getopt_long names the program by argv[0] in its messages: the program and the command.
    std::string name = std::string(kProgramName) + " " + std::string(command);
    std::vector<char*> arguments(argv, argv + argc);
    arguments[0] = name.data();
    // ':' first: getopt_long prints nothing and tells a missing value from an unknown option. (Built by
    // appending: GCC 12 at -O3 takes an insert at the front for an overlapping copy.)
    std::string letters = ":";
    letters += shortOptions;
    optind = 1;
    CommandLine line;
    for (;;) {
        const int key = getopt_long(argc, arguments.data(), letters.c_str(), longOptions.data(), nullptr);
        if (key == -1) {
            break;
        }
        if (key == kHelpKey || key == kVersionKey) {
            line.exitStatus = Print(key == kHelpKey ? std::string(help) : VersionLine());
            return line;
        }
        if (key == '?' || key == ':') {
            // A long option as given, up to its value; a short one by its letter. getopt_long sets no
            // letter for an unknown long option, and the key of a long option without a letter.
            const std::string_view given = arguments[static_cast<std::size_t>(optind - 1)];
            const bool longOption = optopt == 0 || optopt > 0xFF || (key == ':' && given.starts_with("--"));
            const std::string option = longOption ? std::string(given.substr(0, given.find('=')))
                                                  : std::string{'-', static_cast<char>(optopt)};
            line.exitStatus =
                BadUsage(command, (key == ':' ? "missing value for " : "unknown option ") + option);
            return line;
        }
        if (!take(key, optarg)) {
            line.exitStatus = kBadUsage;
            return line;
        }
    }
    line.operands.assign(arguments.begin() + optind, arguments.end());
    return line;
}

std::optional<std::int32_t> CountOption(std::string_view command, std::string_view option, const char* text,
                                        std::int32_t largest) {
    std::int32_t value = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end || value < 1 || value > largest) {
        BadUsage(command, std::string(option) + " takes a whole number from 1 to " + std::to_string(largest) +
                              ", not '" + text + "'");
        return std::nullopt;
    }
    return value;
}

}  // namespace tamsel::tool

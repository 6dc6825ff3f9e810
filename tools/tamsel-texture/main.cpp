// tamsel-texture: the texture reader on the command line. `info` tells what a texture's headers say,
// `convert` writes its canvas as a PNG, PPM or BMP picture, and `thumbnail` writes the small PNG that a
// file manager shows for it.
#include <iostream>
#include <string_view>

#include "CommandLine.h"
#include "Commands.h"
#include "Help.h"

using namespace tamsel::tool;

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "info") {
        return Info(argc - 1, argv + 1);
    }
    if (command == "convert") {
        return Convert(argc - 1, argv + 1);
    }
    if (command == "thumbnail") {
        return Thumbnail(argc - 1, argv + 1);
    }
    if (command == "--help") {
        return Print(std::string(kProgramHelp) + std::string(kInfoHelp) + "\n" + std::string(kConvertHelp) +
                     "\n" + std::string(kThumbnailHelp) + std::string(kExitStatusHelp));
    }
    if (command == "--version") {
        return Print(VersionLine());
    }
    std::cerr << kProgramName << ": "
              << (command.empty() ? std::string("no command given")
                                  : "unknown command '" + std::string(command) + "'")
              << "\nUsage: " << kProgramName << " info|convert|thumbnail ... ; " << kProgramName
              << " --help tells more." << std::endl;
    return kBadUsage;
}

#pragma once

#include <string_view>

// The help of the program and of each of its commands.
namespace tamsel::tool {

inline constexpr const char* kProgramName = "tamsel-texture";

extern const std::string_view kProgramHelp;
extern const std::string_view kInfoHelp;
extern const std::string_view kConvertHelp;
extern const std::string_view kThumbnailHelp;
extern const std::string_view kExitStatusHelp;

}  // namespace tamsel::tool

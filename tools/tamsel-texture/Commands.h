#pragma once

// The commands of tamsel-texture; each takes its own name as argv[0] and returns the exit status.
namespace tamsel::tool {

int Info(int argc, char** argv);
int Convert(int argc, char** argv);
int Thumbnail(int argc, char** argv);

}  // namespace tamsel::tool

#pragma once

#include <string>
#include <vector>

// The files that the command line names: each file as given, and the texture files of each folder.
namespace tamsel::tool {

struct Input {
    std::string path;      // as given, or the folder as given joined with the names below it
    std::string relative;  // the path below the folder it was found in; the name for a file given alone
    std::string error;     // why a folder could not be read; empty for a file to read
};

// The inputs that `arguments` name, in their order. A folder gives the files in it whose names are a
// texture's, in byte order of their paths, and with `recursive` those of every folder below it too
// (symbolic links to folders are not followed); other files in it are passed over. Anything else is
// an input as given, even a name that does not exist: reading it tells what is wrong.
std::vector<Input> ExpandInputs(const std::vector<std::string>& arguments, bool recursive);

}  // namespace tamsel::tool

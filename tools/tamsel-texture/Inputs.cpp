#include "Inputs.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "texture/FileKinds.h"

namespace tamsel::tool {
namespace {

namespace fs = std::filesystem;

bool IsTextureName(const std::string& name) {
    const std::optional<texture::FileKind> kind = texture::KindOfName(name);
    return kind && texture::IsTexture(*kind);
}

// The texture files of `folder`, and with `recursive` of every folder below it.
void AddFolder(const std::string& folder, bool recursive, std::vector<Input>& inputs) {
    std::vector<Input> found;
    std::error_code error;
    const auto add = [&](const fs::directory_entry& entry) {
        std::error_code ignored;
        if (!entry.is_directory(ignored) && IsTextureName(entry.path().filename().native())) {
            found.push_back({entry.path().native(), entry.path().lexically_relative(folder).native(), {}});
        }
    };
    if (recursive) {
        for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            add(*it);
        }
    } else {
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            add(*it);
        }
    }
    std::sort(found.begin(), found.end(), [](const Input& a, const Input& b) { return a.path < b.path; });
    inputs.insert(inputs.end(), found.begin(), found.end());
    if (error) {
        inputs.push_back({folder, {}, "cannot read the folder: " + error.message()});
    }
}

}  // namespace

std::vector<Input> ExpandInputs(const std::vector<std::string>& arguments, bool recursive) {
    std::vector<Input> inputs;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (fs::is_directory(argument, error)) {
            AddFolder(argument, recursive, inputs);
        } else {
            inputs.push_back({argument, fs::path(argument).filename().native(), {}});
        }
    }
    return inputs;
}

}  // namespace tamsel::tool

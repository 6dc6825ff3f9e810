#include "texture/FileKinds.h"

#include <algorithm>
#include <array>

namespace tamsel::texture {

namespace {

struct Ending {
    std::string_view text;
    FileKind kind;
};

constexpr std::array<Ending, 10> kEndings{{
    {"bmp", FileKind::Bmp},
    {"BMP", FileKind::Bmp},
    {"jpg", FileKind::Jpeg},
    {"JPG", FileKind::Jpeg},
    {"pbf", FileKind::Pbf},
    {"PBF", FileKind::Pbf},
    {"srb", FileKind::Srb},
    {"SRB", FileKind::Srb},
    {"mip", FileKind::Mip},
    {"MIP", FileKind::Mip},
}};

struct Signature {
    std::string_view bytes;
    FileKind kind;
};

constexpr std::array<Signature, 5> kSignatures{{
    {"\xFF\xD8\xFF", FileKind::Jpeg},
    {"BM", FileKind::Bmp},
    {"PAMB", FileKind::Pbf},
    {" BRS", FileKind::Srb},
    {"PIM ", FileKind::Mip},
}};

}  // namespace

std::optional<FileKind> KindOfName(std::string_view name) {
    const std::string_view ending = name.substr(name.size() - std::min<std::size_t>(name.size(), 3));
    const auto found = std::find_if(kEndings.begin(), kEndings.end(),
                                    [ending](const Ending& e) { return e.text == ending; });
    return found != kEndings.end() ? std::optional(found->kind) : std::nullopt;
}

std::optional<FileKind> KindOfContent(std::span<const std::uint8_t> firstBytes) {
    const std::string_view first(reinterpret_cast<const char*>(firstBytes.data()), firstBytes.size());
    for (const Signature& signature : kSignatures) {
        if (first.starts_with(signature.bytes)) {
            return signature.kind;
        }
    }
    return std::nullopt;
}

std::string FileListPattern() {
    std::string pattern;
    for (const Ending& ending : kEndings) {
        pattern += (pattern.empty() ? "*." : ";*.") + std::string(ending.text);
    }
    return pattern;
}

}  // namespace tamsel::texture

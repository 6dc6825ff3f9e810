#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The five kinds of file the viewer shows, told from a name's ending or from a file's first bytes: the
// one list of them that the file list, the viewer, the texture tool and its thumbnailer follow.
namespace tamsel::texture {

enum class FileKind { Bmp, Jpeg, Pbf, Srb, Mip };

// True for the three texture containers, which the texture reader decodes; BMP and JPEG are pictures.
constexpr bool IsTexture(FileKind kind) {
    return kind == FileKind::Pbf || kind == FileKind::Srb || kind == FileKind::Mip;
}

// The kind of a file from the last three characters of its name (the whole name when shorter), compared
// exactly: only the all-lower-case and the all-upper-case ending count, so "x.Mip" is none. No dot is
// needed: "xbmp" is a BMP name.
std::optional<FileKind> KindOfName(std::string_view name);

// The kind that a file's first bytes say: a JPEG starts with FF D8 FF, a BMP with "BM", a texture
// container with the tag of its first chunk, "PAMB", " BRS" or "PIM ".
std::optional<FileKind> KindOfContent(std::span<const std::uint8_t> firstBytes);

// How many first bytes KindOfContent looks at, at most.
inline constexpr std::size_t kKindBytes = 4;

// The file list's wildcards: every ending of every kind after "*.", joined by ";", in the order
// "*.bmp;*.BMP;*.jpg;*.JPG;*.pbf;*.PBF;*.srb;*.SRB;*.mip;*.MIP".
std::string FileListPattern();

}  // namespace tamsel::texture

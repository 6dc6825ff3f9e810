#pragma once

#include <QString>
#include <optional>

// Which files the viewer shows, and how it names them.
namespace tamsel::browse {

enum class ImageKind { Bmp, Jpeg, Pbf, Srb, Mip };

// The file list admits the five endings, each in lower and in upper case.
inline const QString kFileListPattern =
    QStringLiteral("*.bmp;*.BMP;*.jpg;*.JPG;*.pbf;*.PBF;*.srb;*.SRB;*.mip;*.MIP");

// The kind of a file, from the last three characters of its name (the whole name when shorter),
// compared exactly: only the all-lower-case and all-upper-case endings count. No dot is needed.
std::optional<ImageKind> KindOfName(const QString& name);

// True for the three texture containers, which the viewer decodes itself.
constexpr bool IsTexture(ImageKind kind) {
    return kind == ImageKind::Pbf || kind == ImageKind::Srb || kind == ImageKind::Mip;
}

// True for a BMP or JPEG name: a picture the image reader loads, rather than a texture.
bool IsPictureName(const QString& name);

}  // namespace tamsel::browse

#pragma once

#include <QByteArrayView>
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

// The kind that a file's first bytes say: a JPEG starts with FF D8 FF, a BMP with "BM", and a texture
// container with the tag of its first chunk, "PAMB", " BRS" or "PIM ".
std::optional<ImageKind> KindOfContent(QByteArrayView firstBytes);

// The kind of the file at `path` for a way in from outside the browser, where a name need not follow
// the file list's rule: by its name's ending, else by its first bytes. Nothing when neither tells, or
// the file cannot be read.
std::optional<ImageKind> KindOfFile(const QString& path);

}  // namespace tamsel::browse

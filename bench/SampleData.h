#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// The files the benchmark measures on, made here and kept in one folder: a file that is already there
// from an earlier figure or an earlier run with the same folder is used as it is.
namespace tamsel::bench {

enum class TextureKind { Words565, Words1555, Words4444, Nibbles };

// "5:6:5", "1:5:5:5", "4:4:4:4" or "4-bit".
QString KindName(TextureKind kind);

// What a list folder holds: how many names in all, and how many of them the file list shows.
inline constexpr int kListedFolderSize = 10'000;
inline constexpr int kListedFolderMatches = 6'646;

// The kinds of 64-byte file that claim a 30000 x 30000 picture.
enum class ClaimKind { Texture, Bitmap, Jpeg };

// ".pbf", ".bmp" or ".jpg".
QString ClaimExtension(ClaimKind kind);

// The JPEGs of a folder made by SampleData::Photos, in order.
QStringList PhotoFiles(const QString& folder);

class SampleData {
public:
    explicit SampleData(QString root);

    const QString& Root() const { return root_; }

    // A square texture of `side` pixels: a bare image of a test card for the 16-bit kinds, a MIP file
    // with its palette for the 4-bit one.
    QString Texture(TextureKind kind, int side);

    // A folder of `count` photo-like JPEGs of `size` (quality 90, 4:2:0), "photo-1.jpg" and on, each
    // drawn from its own seed. Missing ones are made two at a time.
    QString Photos(QSize size, int count);

    // A folder of kListedFolderSize empty files, kListedFolderMatches of them with a name the file
    // list shows.
    QString ListedFolder();

    // An empty folder.
    QString EmptyFolder();

    // A folder holding only a 64-byte file of `kind` that claims a 30000 x 30000 picture.
    QString ClaimFolder(ClaimKind kind);

    // A settings file named `name` that remembers `folder` as the folder used last.
    QString SettingsRemembering(const QString& name, const QString& folder);

private:
    QString Folder(const QString& name) const;

    QString root_;
};

}  // namespace tamsel::bench

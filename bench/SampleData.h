#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// The files the benchmark measures on, made here and kept in one folder: a file that is already there
// from an earlier run with the same folder is used as it is.
namespace tamsel::bench {

// What a list folder holds: how many names in all, and how many of them the file list shows.
inline constexpr int kListedFolderSize = 10'000;
inline constexpr int kListedFolderMatches = 6'646;

// The files of `folder` whose names match `pattern` ("photo-*.jpg"), in order.
QStringList FilesOf(const QString& folder, const QString& pattern);

class SampleData {
public:
    explicit SampleData(QString root);

    const QString& Root() const { return root_; }

    // A folder `name` of `count` photo-like JPEGs of `size` (quality 90, 4:2:0), "photo-1.jpg" and
    // on, each drawn from its own seed. Missing ones are made two at a time.
    QString Photos(const QString& name, QSize size, int count);

    // A folder of `count` bare-image textures of `side` x `side` pixels in 5:6:5, "texture-1.pbf" and
    // on, each a photo-like picture of its own; and beside it (the folder's name + "-bmp") the same
    // pixels as 24-bit BMPs, "texture-1.bmp" and on, written from the canvas the texture reader paints.
    QString Textures(int side, int count);

    // A folder of kListedFolderSize empty files, kListedFolderMatches of them with a name the file
    // list shows.
    QString ListedFolder();

    // An empty folder.
    QString EmptyFolder();

private:
    QString Folder(const QString& name) const;

    QString root_;
};

}  // namespace tamsel::bench

#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// The files the benchmark measures on, made here and kept in one folder: a file that is already there
// from an earlier run with the same folder is used as it is.
namespace tamsel::bench {

class SampleData {
public:
    explicit SampleData(QString root);

    const QString& Root() const { return root_; }

    // A folder `name` holding only `count` photo-like JPEGs of `size` (quality 90, 4:2:0), each drawn
    // from its own seed; their paths, in the order of their names. Missing ones are made two at a time.
    QStringList Photos(const QString& name, QSize size, int count);

    // An empty folder `name`; its path.
    QString Empty(const QString& name);

    // A folder of `count` bare-image textures of `side` x `side` pixels in 5:6:5, each a photo-like
    // picture of its own, and in another folder the same pixels as 24-bit BMPs, written from the
    // canvas that the texture reader paints.
    struct TextureFiles {
        QStringList textures;
        QStringList bitmaps;
    };
    TextureFiles Textures(int side, int count);

    // A folder of `count` photo-like JPEGs of `size` with, second of them, a photo-like 24-bit BMP of
    // `side` x `side` pixels; their paths, in the order of their names.
    QStringList BitmapAmongPhotos(int side, QSize size, int count);

    // A folder `name` holding only `count` files of `content`, named 1.jpg, 22.jpg, 333.jpg and so on: a
    // message that names one is wider than one that names the one before. Their paths, in that order.
    QStringList Copies(const QString& name, const QByteArray& content, int count);

    // A file beside the folder of `files` that lists them, one a line; its path.
    QString FileList(const QStringList& files);

private:
    QString Folder(const QString& name) const;

    QString root_;
};

}  // namespace tamsel::bench

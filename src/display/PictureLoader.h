#pragma once

#include <QFuture>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

#include "texture/DecodeBudget.h"

// Reading BMP and JPEG pictures: only regular files are ever opened, each is read as its decoder asks
// for the bytes (never whole into memory), and each decode first reserves, from the program's decode
// budget, what its header says it will need.
namespace tamsel::display {

// A decoded BMP or JPEG picture: its own size, upright (EXIF orientation applied), and its pixels,
// which a JPEG that will be shrunk may hold at a reduced scale. Always opaque: an alpha channel the
// file may carry is not shown, so a picture looks the same at every size.
struct Picture {
    QSize size;
    QImage image;
};

// Reads and decodes the picture at `path` for showing within `limit`. A JPEG that will be shrunk to fit
// is decoded at the smallest of the decoder's scales (1/2, 1/4, 1/8) whose result is still at least the
// fitted size, so that the final shrink starts from no more pixels than it needs. Nothing when the file
// cannot be opened, is no regular file, cannot be decoded, or would need more than the whole budget.
std::optional<Picture> LoadPicture(const QString& path, QSize limit,
                                   texture::DecodeBudget& budget = texture::DecodeBudget::Program());

// Pictures decoded ahead on worker threads while the window draws the ones before them: a thumbnail
// page starts its BMP and JPEG files at once and takes each when its cell's turn comes, so the page
// shows the same pictures in the same order, sooner. The workers share the program's decode budget.
class PicturePrefetch {
public:
    PicturePrefetch() = default;
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;
    ~PicturePrefetch();

    // Starts decoding each of `paths` for `limit`.
    void Start(const QStringList& paths, QSize limit);

    // The picture at `path` for `limit`: the decode started for it, waited for, or else one made now.
    std::optional<Picture> Take(const QString& path, QSize limit);

    // Waits for the decodes that were never taken, and drops them.
    void Clear();

private:
    struct Pending {
        QString path;
        QSize limit;
        QFuture<std::optional<Picture>> picture;
    };
    std::vector<Pending> pending_;
};

}  // namespace tamsel::display

#pragma once

#include <QByteArray>
#include <QFuture>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

// Reading picture files: only regular files are ever opened, and each is read from disk once.
namespace tamsel::display {

// The largest file the viewer reads; larger ones are treated as unreadable.
inline constexpr qint64 kLargestFile = qint64{1} << 30;

// Reads the whole regular file at `path` into `content`, reusing its memory: a large texture read
// again and again costs no fresh allocation. False when the file cannot be opened, is no regular file
// (a folder, a FIFO or a device is never read, so it can never hold the window), is larger than
// kLargestFile, or cannot be read.
bool ReadRegularFile(const QString& path, QByteArray& content);

// A decoded BMP or JPEG picture: its own size, upright (EXIF orientation applied), and its pixels,
// which a JPEG that will be shrunk may hold at a reduced scale.
struct Picture {
    QSize size;
    QImage image;
};

// Decodes the BMP or JPEG in `data` for showing within `limit`. A JPEG that will be shrunk to fit is
// decoded at the smallest of the decoder's scales (1/2, 1/4, 1/8) whose result is still at least the
// fitted size, so that the final shrink starts from no more pixels than it needs. Nothing when the
// picture cannot be decoded.
std::optional<Picture> DecodePicture(const QByteArray& data, QSize limit);

// Reads the picture file at `path` and decodes it for showing within `limit`.
std::optional<Picture> LoadPicture(const QString& path, QSize limit);

// Pictures decoded ahead on worker threads while the window draws the ones before them: a thumbnail
// page starts its BMP and JPEG files at once and takes each when its cell's turn comes, so the page
// shows the same pictures in the same order, sooner.
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

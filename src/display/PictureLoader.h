#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

// Reading picture files: only regular files are ever opened, and each is read from disk once.
namespace tamsel::display {

// The largest file the viewer reads; larger ones are treated as unreadable.
inline constexpr qint64 kLargestFile = qint64{1} << 30;

// The whole content of the regular file at `path`. Nothing when it cannot be opened, is no regular
// file (a folder, a FIFO or a device is never read, so it can never hold the window), is larger than
// kLargestFile, or cannot be read.
std::optional<QByteArray> ReadRegularFile(const QString& path);

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

}  // namespace tamsel::display

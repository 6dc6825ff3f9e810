#include "display/PictureLoader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "display/FitRule.h"

namespace tamsel::display {

namespace {

// Closes a file descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }

private:
    int fd_;
};

// The largest decoder scale divisor (1, 2, 4 or 8) at which a picture of `size` still gives at
// least `target`.
int ScaleDivisor(QSize size, QSize target) {
    int divisor = 1;
    while (divisor < 8 && size.width() / (divisor * 2) >= target.width() &&
           size.height() / (divisor * 2) >= target.height()) {
        divisor *= 2;
    }
    return divisor;
}

}  // namespace

bool ReadRegularFile(const QString& path, QByteArray& content) {
    // Non-blocking, so that opening a FIFO returns at once; it is then refused as no regular file.
    const Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size > kLargestFile) {
        return false;
    }
    content.resize(static_cast<qsizetype>(status.st_size));
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t got =
            ::read(fd.Get(), content.data() + done, static_cast<std::size_t>(content.size() - done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            content.truncate(done);  // the file shrank while it was read
            break;
        }
        done += got;
    }
    return true;
}

std::optional<Picture> DecodePicture(const QByteArray& data, QSize limit) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);

    const QSize stored = reader.size();
    const bool turned = (reader.transformation() & QImageIOHandler::TransformationRotate90) != 0;
    const QSize upright = turned ? stored.transposed() : stored;
    if (stored.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)) {
        const std::optional<QSize> fitted = FittedSize(upright, limit);
        const int divisor = fitted ? ScaleDivisor(upright, *fitted) : 1;
        if (divisor > 1) {
            reader.setScaledSize(QSize(stored.width() / divisor, stored.height() / divisor));
        }
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return std::nullopt;
    }
    const QSize size = stored.isValid() ? upright : image.size();
    return Picture{size, std::move(image)};
}

std::optional<Picture> LoadPicture(const QString& path, QSize limit) {
    QByteArray file;
    return ReadRegularFile(path, file) ? DecodePicture(file, limit) : std::nullopt;
}

PicturePrefetch::~PicturePrefetch() {
    Clear();
}

void PicturePrefetch::Start(const QStringList& paths, QSize limit) {
    for (const QString& path : paths) {
        pending_.push_back(
            {path, limit, QtConcurrent::run([path, limit] { return LoadPicture(path, limit); })});
    }
}

std::optional<Picture> PicturePrefetch::Take(const QString& path, QSize limit) {
    const auto found = std::find_if(pending_.begin(), pending_.end(), [&](const Pending& pending) {
        return pending.path == path && pending.limit == limit;
    });
    if (found == pending_.end()) {
        return LoadPicture(path, limit);
    }
    std::optional<Picture> picture = found->picture.result();
    pending_.erase(found);
    return picture;
}

void PicturePrefetch::Clear() {
    for (Pending& pending : pending_) {
        pending.picture.waitForFinished();
    }
    pending_.clear();
}

}  // namespace tamsel::display

#include "platform/SettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>

#include "platform/FileNames.h"

namespace tamsel::platform {

namespace {

QByteArray SectionLine(const QString& section) {
    return '[' + EncodeName(section) + ']';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

QByteArray Escaped(const QString& value) {
    const QByteArray bytes = EncodeName(value);
    QByteArray out;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const qsizetype length = Utf8SequenceAt(bytes, i);
        if (byte == '\\') {
            out += "\\\\";
        } else if (length == 0 || byte < 0x20 || byte == 0x7F) {
            out += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
        } else {
            out += bytes.sliced(i, length);
            i += length;
            continue;
        }
        ++i;
    }
    return out;
}

std::optional<QString> Unescaped(QByteArrayView stored) {
    QByteArray bytes;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (stored[i] != '\\') {
            bytes += stored[i];
        } else if (i + 1 < stored.size() && stored[i + 1] == '\\') {
            bytes += '\\';
            ++i;
        } else if (i + 3 < stored.size() && stored[i + 1] == 'x' && HexDigit(stored[i + 2]) >= 0 &&
                   HexDigit(stored[i + 3]) >= 0) {
            bytes += static_cast<char>(HexDigit(stored[i + 2]) * 16 + HexDigit(stored[i + 3]));
            i += 3;
        } else {
            return std::nullopt;
        }
    }
    return DecodeName(bytes);
}

// One line of the file: where it starts, where its text ends (before "\r\n" or "\n") and where the
// next line starts.
struct Line {
    qsizetype start;
    qsizetype end;
    qsizetype next;
};

template <typename Visit>
void ForEachLine(const QByteArray& content, Visit visit) {
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype newline = content.indexOf('\n', start);
        const qsizetype next = newline < 0 ? content.size() : newline + 1;
        qsizetype end = newline < 0 ? content.size() : newline;
        if (end > start && content[end - 1] == '\r') {
            --end;
        }
        if (!visit(Line{start, end, next}, QByteArrayView(content).sliced(start, end - start))) {
            return;
        }
        start = next;
    }
}

// The content of the regular file at `path` (links followed); nothing when it is no regular file or
// cannot be read whole.
std::optional<QByteArray> ReadContent(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return content;
}

// `content` with `entry` as the line of `prefix` in the section headed `header`: the line replaced
// where it stands, or added at the end of the section, or a new section at the end of the file.
QByteArray WithEntry(const QByteArray& content, const QByteArray& header, const QByteArray& prefix,
                     const QByteArray& entry) {
    bool inSection = false;
    qsizetype replaceFrom = -1;
    qsizetype replaceTo = -1;
    qsizetype sectionEnd = -1;  // after the section's last line that is not blank
    ForEachLine(content, [&](const Line& line, QByteArrayView text) {
        if (text.startsWith('[')) {
            if (inSection) {
                return false;
            }
            inSection = text == header;
            sectionEnd = inSection ? line.next : sectionEnd;
        } else if (inSection && text.startsWith(prefix)) {
            replaceFrom = line.start;
            replaceTo = line.end;
            return false;
        } else if (inSection && !text.trimmed().isEmpty()) {
            sectionEnd = line.next;
        }
        return true;
    });
    QByteArray updated = content;
    if (replaceFrom >= 0) {
        return updated.replace(replaceFrom, replaceTo - replaceFrom, entry);
    }
    const QByteArray newline = content.contains("\r\n") ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
    if (sectionEnd >= 0) {
        const bool endsLine = sectionEnd == 0 || content[sectionEnd - 1] == '\n';
        return updated.insert(sectionEnd, (endsLine ? QByteArray() : newline) + entry + newline);
    }
    if (!updated.isEmpty() && !updated.endsWith('\n')) {
        updated += newline;
    }
    return updated + header + newline + entry + newline;
}

// The file a settings path stands for: the path itself, or, when it is a link, the file the chain
// of links ends at (which need not exist yet). Nothing when the chain cannot be followed.
std::optional<QByteArray> FinalTarget(QByteArray path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (::lstat(path.constData(), &status) != 0) {
            return errno == ENOENT ? std::optional(path) : std::nullopt;
        }
        if (!S_ISLNK(status.st_mode)) {
            return path;
        }
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), target.data(), target.size());
        if (length < 0 || length >= target.size()) {
            return std::nullopt;
        }
        target.truncate(length);
        const qsizetype slash = path.lastIndexOf('/');
        path = target.startsWith('/') || slash < 0 ? target : path.first(slash + 1) + target;
    }
    return std::nullopt;
}

bool WriteAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote =
            ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        done += wrote;
    }
    return true;
}

// Replaces the regular file `target` (or creates it) with `content`: written to a new file beside it,
// synced, then renamed over it, and the folder synced. Any failure removes the new file and leaves
// the old one as it was.
bool ReplaceFile(const QByteArray& target, const QByteArray& content, mode_t mode) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : target.first(slash);
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, content) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

}  // namespace

std::optional<QString> SettingsStore::Read(const QString& section, const QString& name) const {
    const std::optional<QByteArray> content = ReadContent(filePath_);
    if (!content) {
        return std::nullopt;
    }
    const QByteArray header = SectionLine(section);
    const QByteArray prefix = EncodeName(name) + '=';
    bool inSection = false;
    std::optional<QString> value;
    ForEachLine(*content, [&](const Line& /*line*/, QByteArrayView text) {
        if (text.startsWith('[')) {
            inSection = text == header;
        } else if (inSection && text.startsWith(prefix)) {
            value = Unescaped(text.sliced(prefix.size()));
            return false;
        }
        return true;
    });
    return value;
}

bool SettingsStore::Write(const QString& section, const QString& name, const QString& value) const {
    const std::optional<QByteArray> target =
        filePath_.isEmpty() ? std::nullopt : FinalTarget(QFile::encodeName(filePath_));
    if (!target) {
        return false;
    }
    struct stat status {};
    const bool exists = ::stat(target->constData(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode)) {
        return false;
    }
    QByteArray content;
    if (exists) {
        const std::optional<QByteArray> old = ReadContent(QFile::decodeName(*target));
        if (!old) {
            return false;
        }
        content = *old;
    } else if (!QDir().mkpath(QFileInfo(QFile::decodeName(*target)).absolutePath())) {
        return false;
    }
    const QByteArray entry = EncodeName(name) + '=' + Escaped(value);
    return ReplaceFile(*target, WithEntry(content, SectionLine(section), EncodeName(name) + '=', entry),
                       exists ? status.st_mode & 07777 : 0644);
}

}  // namespace tamsel::platform

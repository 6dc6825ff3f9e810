#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tamsel::platform {

namespace {

constexpr qint64 kLargestSettingsFile = 1 << 20;

QByteArray SectionLine(const QString& section) {
    return '[' + section.toUtf8() + ']';
}

// The lines of the file, or nothing when it cannot be read (missing, a folder, unreadable, huge).
std::optional<QList<QByteArray>> ReadLines(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray content = file.read(kLargestSettingsFile + 1);
    if (content.size() > kLargestSettingsFile) {
        return std::nullopt;
    }
    QList<QByteArray> lines = content.split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
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

}  // namespace

QByteArray SettingsStore::Escape(const QString& value) {
    QByteArray out;
    for (const char c : value.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<QString> SettingsStore::Unescape(QByteArrayView stored) {
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
    return QString::fromUtf8(bytes);
}

std::optional<QString> SettingsStore::Read(const QString& section, const QString& name) const {
    const std::optional<QList<QByteArray>> lines = ReadLines(filePath_);
    if (!lines) {
        return std::nullopt;
    }
    const QByteArray header = SectionLine(section);
    const QByteArray prefix = name.toUtf8() + '=';
    bool inSection = false;
    for (const QByteArray& line : *lines) {
        if (line.startsWith('[')) {
            inSection = line == header;
        } else if (inSection && line.startsWith(prefix)) {
            return Unescape(QByteArrayView(line).sliced(prefix.size()));
        }
    }
    return std::nullopt;
}

bool SettingsStore::Write(const QString& section, const QString& name, const QString& value) const {
    QList<QByteArray> lines = ReadLines(filePath_).value_or(QList<QByteArray>{});
    while (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    const QByteArray header = SectionLine(section);
    const QByteArray prefix = name.toUtf8() + '=';
    const QByteArray entry = prefix + Escape(value);

    const qsizetype headerAt = lines.indexOf(header);
    if (headerAt < 0) {
        lines << header << entry;
    } else {
        qsizetype at = headerAt + 1;
        while (at < lines.size() && !lines[at].startsWith('[') && !lines[at].startsWith(prefix)) {
            ++at;
        }
        if (at < lines.size() && lines[at].startsWith(prefix)) {
            lines[at] = entry;
        } else {
            lines.insert(at, entry);
        }
    }

    if (!QDir().mkpath(QFileInfo(filePath_).absolutePath())) {
        return false;
    }
    QSaveFile file(filePath_);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(lines.join('\n') + '\n');
    return file.commit();
}

}  // namespace tamsel::platform

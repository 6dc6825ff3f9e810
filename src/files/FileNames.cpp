#include "files/FileNames.h"

namespace tamsel::files {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

}  // namespace

qsizetype Utf8SequenceAt(QByteArrayView bytes, qsizetype at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    qsizetype length = 0;
    if (lead < 0x80) {
        length = 1;
    } else if (lead >= 0xC2 && lead < 0xE0) {
        length = 2;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4;
    }
    if (length == 0 || at + length > bytes.size()) {
        return 0;
    }
    return bytes.sliced(at, length).isValidUtf8() ? length : 0;
}

QString DecodeName(QByteArrayView bytes) {
    if (bytes.isValidUtf8()) {
        return QString::fromUtf8(bytes);
    }
    QString text;
    text.reserve(bytes.size());
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype length = Utf8SequenceAt(bytes, at);
        if (length == 0) {
            text += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[at])));
            ++at;
        } else {
            text += QString::fromUtf8(bytes.sliced(at, length));
            at += length;
        }
    }
    return text;
}

QByteArray EncodeName(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype start = 0;  // the first character not yet written
    const auto flush = [&](qsizetype end) { bytes += QStringView(text).sliced(start, end - start).toUtf8(); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool escaped = unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF &&
                             (i == 0 || !text[i - 1].isHighSurrogate());
        if (escaped) {
            flush(i);
            bytes += static_cast<char>(unit - kEscapeBase);
            start = i + 1;
        }
    }
    flush(text.size());
    return bytes;
}

}  // namespace tamsel::files

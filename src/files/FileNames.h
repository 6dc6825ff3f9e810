#pragma once

#include <QByteArray>
#include <QString>

// File names as the file system holds them (bytes) and as the window shows them (text), such that
// every name survives the trip from bytes to text and back unchanged, valid UTF-8 or not.
//
// Bytes that are valid UTF-8 become their characters. Every byte of a name that is not valid UTF-8
// becomes the lone low surrogate U+DC00 + byte (U+DC80..U+DCFF): no valid UTF-8 text holds such a
// character, so the way back is unambiguous. The window shows such a name with a stand-in character
// where the byte is; listing, opening, stepping and remembering all keep the original bytes.
namespace tamsel::files {

QString DecodeName(QByteArrayView bytes);
QByteArray EncodeName(const QString& text);

// The length of the valid UTF-8 sequence that starts at `at` of `bytes`, or 0 when none does.
qsizetype Utf8SequenceAt(QByteArrayView bytes, qsizetype at);

}  // namespace tamsel::files

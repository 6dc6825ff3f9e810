#include "platform/FolderListing.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tamsel::platform {

namespace fs = std::filesystem;

bool WildcardMatch(QByteArrayView pattern, QByteArrayView name) {
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starAt = -1;   // position in the pattern after the last "*"
    qsizetype starName = 0;  // position in the name that the last "*" has absorbed up to
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = ++p;
            starName = n;
        } else if (starAt >= 0) {
            p = starAt;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool MatchesPatternList(const QList<QByteArray>& patterns, QByteArrayView name) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [name](const QByteArray& pattern) { return WildcardMatch(pattern, name); });
}

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

qsizetype DigitRunEnd(const QString& s, qsizetype i) {
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
    }
    return i;
}

qsizetype SkipZeros(const QString& s, qsizetype i, qsizetype end) {
    while (i < end && s[i] == u'0') {
        ++i;
    }
    return i;
}

// Compares two texts with runs of ASCII digits compared by numeric value; -1, 0 or 1.
int CompareNumeric(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const qsizetype endA = DigitRunEnd(a, i);
            const qsizetype endB = DigitRunEnd(b, j);
            const qsizetype sigA = SkipZeros(a, i, endA);
            const qsizetype sigB = SkipZeros(b, j, endB);
            if (endA - sigA != endB - sigB) {
                return endA - sigA < endB - sigB ? -1 : 1;
            }
            for (qsizetype k = 0; k < endA - sigA; ++k) {
                if (a[sigA + k] != b[sigB + k]) {
                    return a[sigA + k] < b[sigB + k] ? -1 : 1;
                }
            }
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j]) {
                return a[i] < b[j] ? -1 : 1;
            }
            ++i;
            ++j;
        }
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

// Compares the leading zeros of the digit runs, run by run: fewer zeros first. Only called when the
// numeric comparison found the texts equal, so their runs stand at the same places.
int CompareLeadingZeros(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const qsizetype endA = DigitRunEnd(a, i);
            const qsizetype endB = DigitRunEnd(b, j);
            const qsizetype zerosA = SkipZeros(a, i, endA) - i;
            const qsizetype zerosB = SkipZeros(b, j, endB) - j;
            if (zerosA != zerosB) {
                return zerosA < zerosB ? -1 : 1;
            }
            i = endA;
            j = endB;
        } else {
            ++i;
            ++j;
        }
    }
    return 0;
}

// The entry's own name: the last component of its path, as bytes, without a copy.
QByteArrayView NameBytes(const fs::directory_entry& entry) {
    const std::string& full = entry.path().native();
    const std::size_t slash = full.rfind('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    return {full.data() + start, static_cast<qsizetype>(full.size() - start)};
}

ListedName NameOf(const fs::directory_entry& entry) {
    QByteArray bytes = NameBytes(entry).toByteArray();
    QString text = QFile::decodeName(bytes);
    return {std::move(bytes), std::move(text)};
}

// Lists the entries of `folder` that `keep` accepts; nothing when the folder cannot be read.
template <typename Keep>
std::optional<std::vector<ListedName>> ListWhere(const QString& folder, Keep keep) {
    const fs::path path(QFile::encodeName(folder).toStdString());
    std::error_code error;
    fs::directory_iterator it(path, error);
    if (error) {
        return std::nullopt;
    }
    std::vector<ListedName> names;
    while (it != fs::directory_iterator()) {
        if (keep(*it)) {
            names.push_back(NameOf(*it));
        }
        if (it.increment(error); error) {
            return std::nullopt;
        }
    }
    SortNaturally(names);
    return names;
}

}  // namespace

NaturalOrder::Key NaturalOrder::KeyOf(const ListedName& name) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString checked = decoder.decode(name.bytes);
    Key key;
    key.bytes = name.bytes;
    key.validText = !decoder.hasError();
    if (key.validText) {
        key.folded = checked.toCaseFolded();
        key.text = std::move(checked);
    }
    return key;
}

bool NaturalOrder::Less(const Key& a, const Key& b) {
    if (a.validText != b.validText) {
        return a.validText;
    }
    if (a.validText) {
        if (const int folded = CompareNumeric(a.folded, b.folded); folded != 0) {
            return folded < 0;
        }
        if (const int exact = CompareNumeric(a.text, b.text); exact != 0) {
            return exact < 0;
        }
        if (const int zeros = CompareLeadingZeros(a.text, b.text); zeros != 0) {
            return zeros < 0;
        }
    }
    return a.bytes < b.bytes;
}

void SortNaturally(std::vector<ListedName>& names) {
    std::vector<std::pair<NaturalOrder::Key, ListedName>> keyed;
    keyed.reserve(names.size());
    for (ListedName& name : names) {
        keyed.emplace_back(NaturalOrder::KeyOf(name), std::move(name));
    }
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return NaturalOrder::Less(a.first, b.first); });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        names[i] = std::move(keyed[i].second);
    }
}

std::optional<std::vector<ListedName>> ListFiles(const QString& folder, const QString& patternList) {
    const QList<QByteArray> patterns = QFile::encodeName(patternList).split(';');
    return ListWhere(folder, [&patterns](const fs::directory_entry& entry) {
        if (!MatchesPatternList(patterns, NameBytes(entry))) {
            return false;
        }
        // The entry's type comes from the directory itself where the file system records it; only
        // links and entries of unknown type are looked up.
        std::error_code error;
        return entry.is_regular_file(error);
    });
}

std::optional<std::vector<ListedName>> ListSubfolders(const QString& folder) {
    return ListWhere(folder, [](const fs::directory_entry& entry) {
        std::error_code error;
        return entry.is_directory(error);
    });
}

}  // namespace tamsel::platform

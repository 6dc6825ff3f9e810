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

// -1, 0 or 1 as a is before, level with or after b.
template <typename T>
int Order(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// A run of digits: where it starts, where its significant digits start, and where it ends.
struct DigitRun {
    qsizetype start;
    qsizetype significant;
    qsizetype end;
};

DigitRun RunAt(const QString& s, qsizetype i) {
    const qsizetype end = DigitRunEnd(s, i);
    return {i, SkipZeros(s, i, end), end};
}

// Walks two texts side by side, comparing characters one for one and each pair of digit runs that
// stand level with `runOrder`; -1, 0 or 1.
template <typename RunOrder>
int CompareWithRuns(const QString& a, const QString& b, RunOrder runOrder) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const DigitRun runA = RunAt(a, i);
            const DigitRun runB = RunAt(b, j);
            if (const int order = runOrder(runA, runB); order != 0) {
                return order;
            }
            i = runA.end;
            j = runB.end;
        } else {
            if (a[i] != b[j]) {
                return Order(a[i], b[j]);
            }
            ++i;
            ++j;
        }
    }
    return Order(a.size() - i, b.size() - j);
}

// Runs of ASCII digits compared by numeric value: the longer significant part is the larger.
int CompareNumeric(const QString& a, const QString& b) {
    return CompareWithRuns(a, b, [&a, &b](const DigitRun& x, const DigitRun& y) {
        if (const int length = Order(x.end - x.significant, y.end - y.significant); length != 0) {
            return length;
        }
        return Order(QStringView(a).sliced(x.significant, x.end - x.significant),
                     QStringView(b).sliced(y.significant, y.end - y.significant));
    });
}

// The leading zeros of the digit runs, run by run: fewer zeros first.
int CompareLeadingZeros(const QString& a, const QString& b) {
    return CompareWithRuns(a, b, [](const DigitRun& x, const DigitRun& y) {
        return Order(x.significant - x.start, y.significant - y.start);
    });
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

#include "files/FolderListing.h"

#include "files/FileNames.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <numeric>

namespace tamsel::files {

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

// Closes a folder opened for reading when it goes out of scope.
struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

// True when the entry is of `type` (S_IFREG, S_IFDIR): the folder's own record of the entry's type
// answers where the file system keeps one; only links and entries of unknown type are looked up.
bool IsOfType(int folder, const dirent& entry, mode_t type) {
    const unsigned char recorded = type == S_IFDIR ? DT_DIR : DT_REG;
    if (entry.d_type == recorded) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat status {};
    return ::fstatat(folder, entry.d_name, &status, 0) == 0 && (status.st_mode & S_IFMT) == type;
}

// Lists the entries of `folder` that `keep` accepts, in one pass over the folder; nothing when the
// folder cannot be read.
template <typename Keep>
std::optional<std::vector<ListedName>> ListWhere(const QString& folder, Keep keep) {
    const std::unique_ptr<DIR, FolderCloser> reading(::opendir(EncodeName(folder).constData()));
    if (!reading) {
        return std::nullopt;
    }
    const int descriptor = ::dirfd(reading.get());
    std::vector<ListedName> names;
    errno = 0;
    while (const dirent* entry = ::readdir(reading.get())) {
        const QByteArrayView name(entry->d_name);
        if (name != "." && name != ".." && keep(descriptor, *entry, name)) {
            QByteArray bytes = name.toByteArray();
            QString text = DecodeName(bytes);
            names.push_back({std::move(bytes), std::move(text)});
        }
        errno = 0;
    }
    if (errno != 0) {
        return std::nullopt;
    }
    SortNaturally(names);
    return names;
}

}  // namespace

NaturalOrder::Key NaturalOrder::KeyOf(const ListedName& name) {
    Key key;
    key.bytes = name.bytes;
    key.validText = QByteArrayView(name.bytes).isValidUtf8();
    if (key.validText) {
        key.text = QString::fromUtf8(name.bytes);
        key.folded = key.text.toCaseFolded();
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
    // Each key is made once; the sort moves only indices.
    std::vector<NaturalOrder::Key> keys;
    keys.reserve(names.size());
    for (const ListedName& name : names) {
        keys.push_back(NaturalOrder::KeyOf(name));
    }
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&keys](std::size_t a, std::size_t b) { return NaturalOrder::Less(keys[a], keys[b]); });
    std::vector<ListedName> sorted;
    sorted.reserve(names.size());
    for (const std::size_t i : order) {
        sorted.push_back(std::move(names[i]));
    }
    names = std::move(sorted);
}

std::optional<std::vector<ListedName>> ListFiles(const QString& folder, const QString& patternList) {
    const QList<QByteArray> patterns = EncodeName(patternList).split(';');
    return ListWhere(folder, [&patterns](int descriptor, const dirent& entry, QByteArrayView name) {
        return MatchesPatternList(patterns, name) && IsOfType(descriptor, entry, S_IFREG);
    });
}

std::optional<std::vector<ListedName>> ListSubfolders(const QString& folder) {
    return ListWhere(folder, [](int descriptor, const dirent& entry, QByteArrayView /*name*/) {
        return IsOfType(descriptor, entry, S_IFDIR);
    });
}

}  // namespace tamsel::files

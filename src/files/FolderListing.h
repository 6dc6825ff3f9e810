#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Reading folders the way the three lists show them: synchronous listings in one shared order.
namespace tamsel::files {

// One listed name: its bytes as the file system holds them and its text for display.
struct ListedName {
    QByteArray bytes;
    QString text;
};

// True when `name` matches the wildcard `pattern` ("*" any run, "?" any one character), comparing
// bytes exactly, as the file system's own names are case-sensitive.
bool WildcardMatch(QByteArrayView pattern, QByteArrayView name);

// True when `name` matches at least one of the ";"-separated wildcards of `patternList`.
bool MatchesPatternList(const QList<QByteArray>& patterns, QByteArrayView name);

// The one order of every listing: names compared case-insensitively with runs of digits compared by
// their numeric value ("img2" before "img10"), ties broken by case-sensitive character order and then
// by the leading zeros of the digit runs; names that are not valid UTF-8 come after the others,
// compared by their bytes.
class NaturalOrder {
public:
    struct Key {
        QString folded;
        QString text;
        QByteArray bytes;
        bool validText = true;
    };
    static Key KeyOf(const ListedName& name);
    static bool Less(const Key& a, const Key& b);
};

// Sorts names by NaturalOrder, computing each key once.
void SortNaturally(std::vector<ListedName>& names);

// The regular files of `folder` (and links to regular files) whose names match one of `patterns`,
// sorted. Nothing when the folder cannot be read.
std::optional<std::vector<ListedName>> ListFiles(const QString& folder, const QString& patternList);

// The subfolders of `folder` (and links to folders), sorted, without "." and "..". Nothing when the
// folder cannot be read.
std::optional<std::vector<ListedName>> ListSubfolders(const QString& folder);

}  // namespace tamsel::files

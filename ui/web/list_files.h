#pragma once
// The files of the webcam-list download: the index the web site offers, the name a downloaded
// list is saved under in the program folder, and "downloaded.txt", the known list files.

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ui {

// One line of the index: the name before the first comma, the URL after it (bytes as
// received). A line without a comma has an empty name and is all URL; blank lines are skipped.
struct ListIndexEntry {
    std::string name;
    std::string url;
};
std::vector<ListIndexEntry> ParseListIndex(std::string_view text);

// The file name of a downloaded list named name (Windows-1252): the name up to the blank before
// its first "-" ("Europe - 150 webcams" → "Europe"; without "-", or with "-" first, whole),
// reduced to letters, digits, blanks, "_", "-" and single dots, without dots or blanks at its
// ends, "list" when nothing is left, lower-cased, + ".txt". It never holds a separator or "..",
// so the list always lands in the folder it is saved to.
QString SavedListFileName(std::string_view name);

// Texts, each with what it belongs to, in the order of a sorted list: by text ignoring letter
// case, equal texts as they came. "downloaded.txt" and the list manager's box are in it.
void SortListTexts(std::vector<std::pair<QString, int>>& texts);

// The lines of "downloaded.txt" in folder, sorted without duplicates; none when it is missing
// or unreadable.
QStringList ReadDownloadedLines(const std::string& folder);
// Writes them sorted without duplicates; throws std::system_error when the file cannot be
// written (the old file then stays).
void WriteDownloadedLines(const std::string& folder, const QStringList& lines);
// Adds one line: the list's name, " - " and its file's path; or a bare path.
void AddDownloadedEntry(const std::string& folder, const QString& line);

// The list file a line of "downloaded.txt" names. A list saved into listsFolder (ending in
// '/') is the path after the last " - " that starts listsFolder, when no '/' follows: so the
// list's name may hold anything, "/" first and " - " included. Else a bare path (starting
// with "/") is whole, else the path after the first " - /", else after the last " - ".
QString ListPathOfLine(const QString& line, const QString& listsFolder);

// Writes text as the file path through a temporary file renamed into place; throws
// std::system_error naming the file when it cannot.
void SaveListText(const std::string& path, std::string_view text);

}  // namespace ui

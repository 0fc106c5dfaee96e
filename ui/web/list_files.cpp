#include "ui/web/list_files.h"

#include "engine/list_text.h"
#include "engine/picture_folder.h"
#include "ui/dialogs/record_text.h"

#include <QCollator>

#include <algorithm>
#include <system_error>

namespace ui {
namespace {

constexpr const char* kDownloadedFile = "downloaded.txt";
const QString kSeparator = QStringLiteral(" - ");

QStringList SortedUnique(const QStringList& lines) {
    std::vector<std::pair<QString, int>> texts;
    texts.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines) texts.emplace_back(line, 0);
    SortListTexts(texts);
    QStringList sorted;
    sorted.reserve(lines.size());
    for (auto& text : texts) sorted.append(std::move(text.first));
    sorted.removeDuplicates();
    return sorted;
}

bool Allowed(QChar c) {
    return c.isLetterOrNumber() || c == u' ' || c == u'_' || c == u'-' || c == u'.';
}

}  // namespace

// Through sort keys, made once per text: a list of a hundred thousand webcams sorts at once.
// The keys are of the case-folded texts: in the C locale a key keeps the letter case.
void SortListTexts(std::vector<std::pair<QString, int>>& texts) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QCollatorSortKey, std::size_t>> keys;
    keys.reserve(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        keys.emplace_back(collator.sortKey(texts[i].first.toCaseFolded()), i);
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    std::vector<std::pair<QString, int>> sorted;
    sorted.reserve(texts.size());
    for (const auto& key : keys) sorted.push_back(std::move(texts[key.second]));
    texts = std::move(sorted);
}

std::vector<ListIndexEntry> ParseListIndex(std::string_view text) {
    std::vector<ListIndexEntry> entries;
    for (std::string_view line : engine::SplitListLines(text)) {
        if (line.empty()) continue;
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) entries.push_back({{}, std::string(line)});
        else entries.push_back({std::string(line.substr(0, comma)), std::string(line.substr(comma + 1))});
    }
    return entries;
}

QString SavedListFileName(std::string_view name) {
    QString base = FromRecord(name);
    const qsizetype dash = base.indexOf(u'-');
    if (dash > 0) base.truncate(dash - 1);
    QString safe;
    for (QChar c : base) {
        if (!Allowed(c) || (c == u'.' && safe.endsWith(u'.'))) continue;
        safe += c;
    }
    while (!safe.isEmpty() && (safe.front() == u'.' || safe.front() == u' ')) safe.remove(0, 1);
    while (!safe.isEmpty() && (safe.back() == u'.' || safe.back() == u' ')) safe.chop(1);
    constexpr qsizetype kMaxBase = 100;  // the path has to fit the 255 characters of ListFile
    safe.truncate(kMaxBase);
    if (safe.isEmpty()) safe = QStringLiteral("list");
    return safe.toLower() + QStringLiteral(".txt");
}

QStringList ReadDownloadedLines(const std::string& folder) {
    QStringList lines;
    try {
        const std::string text = engine::ReadListFile(folder + kDownloadedFile);
        for (std::string_view line : engine::SplitListLines(text))
            if (!line.empty()) lines.append(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    } catch (const std::system_error&) {
    }
    return SortedUnique(lines);
}

void WriteDownloadedLines(const std::string& folder, const QStringList& lines) {
    std::string text;
    for (const QString& line : SortedUnique(lines)) text += line.toStdString() + "\n";
    SaveListText(folder + kDownloadedFile, text);
}

void AddDownloadedEntry(const std::string& folder, const QString& line) {
    QStringList lines = ReadDownloadedLines(folder);
    lines.append(line);
    WriteDownloadedLines(folder, lines);
}

QString ListPathOfLine(const QString& line, const QString& listsFolder) {
    // A saved list's file name never holds a '/'.
    const qsizetype saved = line.lastIndexOf(kSeparator + listsFolder);
    if (saved >= 0 && !listsFolder.isEmpty() && line.indexOf(u'/', saved + kSeparator.size() + listsFolder.size()) < 0)
        return line.mid(saved + kSeparator.size());
    if (line.startsWith(u'/')) return line;
    const qsizetype path = line.indexOf(kSeparator + u'/');
    if (path >= 0) return line.mid(path + kSeparator.size());
    const qsizetype last = line.lastIndexOf(kSeparator);
    return last >= 0 ? line.mid(last + kSeparator.size()) : line;
}

void SaveListText(const std::string& path, std::string_view text) {
    // The picture writer's temporary file and rename serve any file that must never be seen
    // half written.
    if (!engine::WritePictureFile(path, text))
        throw std::system_error(errno, std::generic_category(), "Cannot write " + path);
}

}  // namespace ui

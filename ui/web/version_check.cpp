#include "ui/web/version_check.h"

#include "ui/dialogs/record_text.h"

#include <QStringList>

#include <algorithm>

namespace ui {
namespace {

constexpr std::size_t kDateSize = 8;
constexpr qsizetype kShownLines = 4;
constexpr qsizetype kShownLineLength = 120;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

VersionAnswer ReadVersionReply(const std::string& reply) {
    VersionAnswer answer;
    if (reply.size() < kDateSize) {
        answer.reason = "Le fichier de version est trop court (" + std::to_string(reply.size()) +
                        " caractères, il en faut au moins " + std::to_string(kDateSize) + ")";
        return answer;
    }
    answer.text = reply;
    const auto date = reply.begin() + kDateSize;
    if (!std::all_of(reply.begin(), date, IsDigit)) {
        answer.reason = "Le fichier de version ne commence pas par une date";
        return answer;
    }
    answer.kind = std::stol(std::string(reply.begin(), date)) > kThisVersionDate ? VersionAnswer::Kind::Newer
                                                                                 : VersionAnswer::Kind::Latest;
    return answer;
}

VersionAnswer CheckNewVersion(const std::string& url, const WebProxy& proxy, const std::function<bool()>& cancelled,
                              const FetchLimits& limits) {
    try {
        return ReadVersionReply(FetchText(url, proxy, limits, cancelled));
    } catch (const std::exception& e) {
        VersionAnswer failed;
        failed.reason = e.what();
        return failed;
    }
}

QString ShownVersionText(const std::string& reply) {
    QStringList shown;
    for (const QString& line : FromRecord(reply).split(u'\n')) {
        QString printable;
        for (QChar c : line)
            if (c.category() != QChar::Other_Control) printable += c;
        printable = printable.trimmed();
        if (printable.isEmpty()) continue;
        if (printable.size() > kShownLineLength) printable = printable.left(kShownLineLength - 1) + u'…';
        if (shown.size() == kShownLines) {
            shown.back() += u'…';
            break;
        }
        shown.append(printable);
    }
    return shown.join(u'\n');
}

QString FitLines(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideRight, width);
    return lines.join(u'\n');
}

}  // namespace ui

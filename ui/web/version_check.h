#pragma once
// The check for a newer program version: the version file's first eight characters are a date
// YYYYMMDD, newer when later than this version's 20030225. Only a reply that starts with such a
// date is an answer; a failed request or any other reply is a failed check, and says why.

#include "ui/web/web_fetch.h"

#include <QFontMetrics>
#include <QString>

#include <functional>
#include <string>

namespace ui {

inline constexpr long kThisVersionDate = 20030225;

struct VersionAnswer {
    enum class Kind { Newer, Latest, Failed };
    Kind kind = Kind::Failed;
    std::string text;    // the reply, when it has at least eight characters
    std::string reason;  // why the check failed, in French words
};

// Newer or Latest when the reply's first eight characters are decimal digits (a date), Failed
// otherwise.
VersionAnswer ReadVersionReply(const std::string& reply);

// Asks for the version file at url (VersionFileUrl()) and reads its reply as above. Never
// throws: a failed request, a reply past the version file's cap, or one cancelled() ended
// (asked several times a second) is a failed check.
VersionAnswer CheckNewVersion(const std::string& url, const WebProxy& proxy,
                              const std::function<bool()>& cancelled = {},
                              const FetchLimits& limits = {kVersionFileCap});

// The reply as a window shows it: without control characters or blank lines, at most a few
// short lines, so that a hostile version file cannot make a window taller than the screen.
QString ShownVersionText(const std::string& reply);
// Each line of text cut with "…" where it would be wider than width in metrics' font: a word
// longer than the line (a version file of 120 "Z") is not wrapped by a label.
QString FitLines(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace ui

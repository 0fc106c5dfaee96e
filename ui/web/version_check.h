#pragma once
// The check for a newer program version: the version file's first eight characters are a date
// YYYYMMDD, newer when later than this version's 20030225.

#include "ui/web/web_fetch.h"

#include <string>

namespace ui {

inline constexpr long kThisVersionDate = 20030225;

// With at least eight characters, text := reply, and the result is whether they read as a
// decimal number above kThisVersionDate. A shorter reply leaves text as it was: false.
bool NewerVersionIn(const std::string& reply, std::string& text);

// Asks for the version file at url (VersionFileUrl()) and reads its reply as above. Never
// throws: a failed request, a reply past the version file's cap, or one that does not read
// as a date means no newer version.
bool CheckNewVersion(const std::string& url, const WebProxy& proxy, std::string& text,
                     const FetchLimits& limits = {kVersionFileCap});

}  // namespace ui

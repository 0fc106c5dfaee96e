#pragma once
// Why a request of the web features failed, in French words for the person who reads it: the
// engines' numbered English texts say nothing to a user.

#include <chrono>
#include <cstddef>
#include <string>

namespace ui {

// The failure of a request ended with code and message ("code: text", as the internet
// components raise them; for a refused status the text is the status line).
std::string FetchFailureText(int code, const std::string& message);

std::string CancelledFetchText();
std::string QuietServerText(std::chrono::milliseconds quiet);
std::string ReplyTooLargeText(std::size_t maxBytes);

}  // namespace ui

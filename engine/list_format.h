#pragma once
// The program's own webcam-list text format, shared by its writer and its reader: the header
// line, the block lines and the five-character keys that start every value line.

#include <string>
#include <string_view>

namespace engine {

inline constexpr std::string_view kListEncode = "ENCODE";  // header line; also turns decoding on
inline constexpr std::string_view kListStart = "START";
inline constexpr std::string_view kListEnd = "ENDWC";
inline constexpr std::size_t kListKeySize = 5;

inline constexpr std::string_view kKeyPictureURL = "PREF=";
inline constexpr std::string_view kKeyLinkURL = "HREF=";
inline constexpr std::string_view kKeyDescription = "DESC=";
inline constexpr std::string_view kKeyName = "NAME=";
inline constexpr std::string_view kKeyType = "TYPE=";
inline constexpr std::string_view kKeyRefresh = "REFR=";
inline constexpr std::string_view kKeyUserName = "USER=";
inline constexpr std::string_view kKeyPassword = "PASS=";
inline constexpr std::string_view kKeyCategories = "CATS=";
inline constexpr std::string_view kKeyWeatherURL = "WREF=";
inline constexpr std::string_view kKeyCountry = "CNTY=";
inline constexpr std::string_view kKeyMapURL = "MREF=";
inline constexpr std::string_view kKeyPlaceName = "PNAM=";
inline constexpr std::string_view kKeyHeaderLine = "ADDH=";

// Every line after the header goes through these; the format defines them as the identity.
inline std::string EncodeListLine(std::string_view line) { return std::string(line); }
inline std::string DecodeListLine(std::string_view line) { return std::string(line); }

}  // namespace engine

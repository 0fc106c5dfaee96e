#pragma once
// Picture URLs that name a file on this machine instead of a web address: "file:" followed by
// an absolute path ("file:///x", "file:/x", or the backslash form "file:\\x"), or an absolute
// path on its own. Such a picture is read from disk, never fetched.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// The path of a local-file picture URL; nothing when the URL is a web address.
std::optional<std::string> LocalPicturePath(std::string_view url);

// Reads the whole file into bytes when it is a regular file of at most maxBytes; false (bytes
// left empty) when it is missing, unreadable, not a regular file or larger.
bool ReadLocalPicture(const std::string& path, std::size_t maxBytes, std::string& bytes);

}  // namespace engine

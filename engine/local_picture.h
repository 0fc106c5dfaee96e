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

}  // namespace engine

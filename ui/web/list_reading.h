#pragma once
// A list file read for the list manager. A ".dat" list is read whole and searched for picture
// addresses, so it first warns that a large file takes a while (message 65116, OK only); a list
// in another program's format is read under the hourglass.

#include "engine/static_object.h"

#include <functional>
#include <string>

namespace ui {

using ListReader = std::function<int(engine::twebcamstaticlist& list, const std::string& path)>;

// Reads path into list with read (the engine's importer); returns its error count and throws
// what it throws.
int ReadWebcamList(engine::twebcamstaticlist& list, const std::string& path, const ListReader& read);

}  // namespace ui

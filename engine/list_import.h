#pragma once
// Reading webcam lists: the program's own format and three other programs' formats, told apart
// by the file extension. Every reader appends to the list it is given and never stops at a bad
// line. Lists come from the network, so what is read is made safe to add: a name that is not a
// safe folder name is emptied (adding the webcam then gives it the default "CamNNN" name), string
// fields are cut to their 255 characters, and extra request lines with control characters are
// dropped. A file that cannot be read throws std::system_error.

#include "engine/static_object.h"

#include <string>
#include <string_view>

namespace engine {

enum class ListFormat { Own, Jcc, Dat, Lgs };

// By the last four characters of the name, in any case: ".jcc", ".dat", ".lgs", else our own.
ListFormat ListFormatOf(std::string_view fileName);

// Reads the file with the reader of its format; the result is that reader's error count.
int ImportWebcamList(twebcamstaticlist& list, const std::string& fileName);

// The readers themselves. Only our own format counts errors: duplicate picture URLs, bad
// "REFR=" and "TYPE=" numbers and bad "CATS=" characters; the others return 0.
int ImportOwnListFormat(twebcamstaticlist& list, const std::string& fileName);
int ImportJccList(twebcamstaticlist& list, const std::string& fileName);
int ImportDatList(twebcamstaticlist& list, const std::string& fileName);
int ImportLgsList(twebcamstaticlist& list, const std::string& fileName);

// The same readers on text already in memory.
int ParseWebcamList(ListFormat format, std::string_view text, twebcamstaticlist& list);

}  // namespace engine

#pragma once
// The webcam-list readers on text in memory, one file each; list_import.cpp picks one.

#include "engine/static_object.h"

#include <string_view>

namespace engine {

int ParseOwnList(std::string_view text, twebcamstaticlist& list);
int ParseJccList(std::string_view text, twebcamstaticlist& list);
int ParseDatList(std::string_view text, twebcamstaticlist& list);
int ParseLgsList(std::string_view text, twebcamstaticlist& list);

// Appends one webcam at the list's next position; the one place every reader passes through.
// A webcam without a picture URL is not appended (it would become an unused record), and a name
// that is not a safe folder name is emptied.
void AppendListEntry(twebcamstaticlist& list, const TWebcamDefRec& rec, const TWebcamDef1Rec& rec2,
                     std::optional<std::vector<std::string>> headerLines = std::nullopt);

// Both records zeroed, and the refresh that means "the automatic refresh applies".
void StartListEntry(TWebcamDefRec& rec, TWebcamDef1Rec& rec2);

}  // namespace engine

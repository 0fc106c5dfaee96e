#pragma once
// The webcam definition files in the data folder: webcams.def (record 1) and webcams1.def
// (record 2), parallel by record number, which is also the webcam's 0-based list position.
// Every operation opens and closes the files itself. I/O errors are not reported to the main
// program: an operation that fails simply has no effect, and never leaves the two files out of
// step or the folder without webcams.def.

#include "engine/webcam_records.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace engine {

inline constexpr const char* kWebcamsDef = "webcams.def";
inline constexpr const char* kWebcams1Def = "webcams1.def";

// Writes one record at its record number, creating the file when it is missing. A file shorter
// than the record number is padded with zero records first. Returns false on an I/O error.
bool WriteDefRecord(const std::string& dataDir, int recordNumber, const TWebcamDefRec& rec);
bool WriteDef1Record(const std::string& dataDir, int recordNumber, const TWebcamDef1Rec& rec);

struct WebcamDefinition {
    TWebcamDefRec rec1;
    TWebcamDef1Rec rec2;
};

// Reads both files record by record. A missing webcams.def gives no webcams (it is first
// recovered from webcams.def_ when an interrupted rewrite left only that); a missing
// webcams1.def is created with as many zero records as webcams.def has. Records with an empty
// picture URL are dropped from both files, so list positions and record numbers stay equal.
std::vector<WebcamDefinition> ReadDefinitionFiles(const std::string& dataDir);

// Rewrites both files without the records for which skip(recordNumber, record1) is true; the
// previous files survive as webcams.bak / webcams1.bak. Returns false (files as they were) when
// anything could not be written.
using SkipRecord = std::function<bool(int recordNumber, const TWebcamDefRec& rec)>;
bool DeleteDefRecords(const std::string& dataDir, const SkipRecord& skip);

bool DeleteDefRecordNumber(const std::string& dataDir, int recordNumber);
bool DeleteDefRecordsByName(const std::string& dataDir, const std::string& name);
bool DeleteDisabledDefRecords(const std::string& dataDir);

// "007", "042", "999"; from 1000 on a letter for the thousands: 1000 "A000", 2345 "B345".
std::string FormatNumber3(std::uint16_t n);

// The default name of webcam number n: "Cam" + FormatNumber3(n) while the thousands have a
// letter ("CamZ999" the last); past them the number's digits ("Cam27000"), so that a long list
// never wraps onto names in use or reaches characters that name no folder.
std::string DefaultWebcamName(int n);

// The first number after webcamCount whose folder dataDir + DefaultWebcamName(n) is free.
int NextFreeCamNumber(const std::string& dataDir, int webcamCount);

// The defaults of a new webcam's record 1 (name "Cam" + the next free number).
void InitNewWebcamRecord(TWebcamDefRec& rec, const std::string& dataDir, int webcamCount);

}  // namespace engine

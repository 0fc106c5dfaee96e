#pragma once
// Where whole-program tests keep their screenshots: $ORVELLO_PROGRAM_ARTIFACTS, else the folder
// the test program was built with, else a folder in the temporary directory. Header-only, so the
// folder is the one its test program defines.

#include <cstdlib>
#include <filesystem>

namespace testsupport {

inline std::filesystem::path ProgramArtifactFolder() {
    if (const char* folder = std::getenv("ORVELLO_PROGRAM_ARTIFACTS")) return folder;
#ifdef ORVELLO_PROGRAM_ARTIFACTS
    return ORVELLO_PROGRAM_ARTIFACTS;
#else
    return std::filesystem::temp_directory_path() / "orvello-artifacts";
#endif
}

}  // namespace testsupport

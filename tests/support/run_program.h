#pragma once
// Runs a program without a shell and collects what it wrote, for tests that check files with
// real tools (ffprobe, ffmpeg).

#include <string>
#include <vector>

namespace testsupport {

struct ProgramResult {
  int exit_code = -1;  // -1 when it could not be started or did not exit normally
  std::string out;
  std::string err;
};

// Argv[0] is looked up on PATH. A program silent for 60 s is killed.
ProgramResult RunProgram(const std::vector<std::string>& argv);

}  // namespace testsupport

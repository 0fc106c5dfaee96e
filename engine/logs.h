#pragma once
// The two logs of the main window: the error log, to which every fetch error appends one entry,
// and the debug log, whose lines are kept in memory and written out whole.

#include <atomic>
#include <string>
#include <vector>

namespace engine {

class terrorlog {
public:
    terrorlog();  // file: the program folder + "errors.txt"; logging off

    // Appends the entry's lines to the file. Does nothing while logging is off; a failure to
    // write loses the entry silently, as a log must never disturb the program.
    void Add(const std::vector<std::string>& lines);

    // Read by the fetch and stream threads to decide whether to build an entry at all.
    std::atomic<bool> FEnabled{false};
    std::string FFileName;
};

class tdebuglog {
public:
    tdebuglog() = default;

    // Writes the lines to FFileName, replacing the file, then clears them.
    void Save();

    bool FEnabled = false;
    std::string FFileName;
    std::vector<std::string> FLines;
};

}  // namespace engine

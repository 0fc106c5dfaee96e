#pragma once
// Requests counted where the server sees them: the lines of an nginx access log in its
// "combined" format, by status, between two marks (byte offsets of the log).

#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <string>
#include <system_error>

namespace bench {

class AccessLog {
public:
    explicit AccessLog(std::filesystem::path file) : file_(std::move(file)) {}
    const std::filesystem::path& file() const { return file_; }

    // The end of the log now.
    std::uintmax_t Mark() const {
        std::error_code error;
        const auto size = std::filesystem::file_size(file_, error);
        return error ? 0 : size;
    }

    // Requests by status logged between the two marks; a line cut by a mark belongs to the
    // part where it starts.
    std::map<int, long> CountByStatus(std::uintmax_t from, std::uintmax_t to) const {
        std::map<int, long> counts;
        std::ifstream log(file_, std::ios::binary);
        if (from > 0) {
            log.seekg(static_cast<std::streamoff>(from - 1));
            if (log.get() != '\n') log.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        }
        for (std::string line; static_cast<std::uintmax_t>(log.tellg()) < to && std::getline(log, line);) {
            // ... "GET /x HTTP/1.0" 200 ...: the status follows the quoted request line.
            const auto open = line.find('"');
            const auto close = open == std::string::npos ? open : line.find('"', open + 1);
            if (close == std::string::npos) continue;
            ++counts[std::atoi(line.c_str() + close + 1)];
        }
        return counts;
    }

private:
    std::filesystem::path file_;
};

}  // namespace bench

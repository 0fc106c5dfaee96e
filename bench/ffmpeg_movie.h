#pragma once
// ffmpeg as the anchor of the AVI export's benchmarks: a movie made from a folder of numbered
// pictures at the export's 2 frames a second, on one thread, and the CPU time its process used.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// The name of picture Index in such a folder: 000000.jpg, 000001.jpg, ...
inline std::string NumberedPicture(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "%06d.jpg", index);
    return name;
}

inline double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Runs a program and returns the CPU seconds (user + system) its process used; exits on failure.
inline double ChildCpuSeconds(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

// The CPU seconds of single-threaded ffmpeg making Movie from the numbered pictures in Pictures
// with the Output options (such as {"-c", "copy"}). The last movie is removed first rather than
// truncated by ffmpeg, as the export's side does too.
inline double FfmpegMovieCpuSeconds(const std::filesystem::path& pictures, const std::vector<std::string>& output,
                                    const std::string& movie) {
    std::vector<std::string> args = {"ffmpeg", "-nostdin", "-v", "error", "-y", "-threads", "1", "-filter_threads", "1",
                                     "-framerate", "2", "-i", (pictures / "%06d.jpg").string(), "-threads", "1"};
    args.insert(args.end(), output.begin(), output.end());
    args.push_back(movie);
    std::filesystem::remove(movie);
    return ChildCpuSeconds(args);
}

}  // namespace bench

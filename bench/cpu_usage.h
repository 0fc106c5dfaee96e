#pragma once
// The CPU time this process has used so far, user and system, in seconds; and that of its
// children that have ended and been waited for (a program run and waited for between two
// readings is the difference).

#include <sys/resource.h>

namespace bench {

inline double CpuSeconds(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline double ChildrenCpuSeconds() { return CpuSeconds(RUSAGE_CHILDREN); }

}  // namespace bench

#pragma once
// A program run to its end with the CPU time it used (user and system of it and of the children
// it waited for), for the anchors the benchmarks compare with.

#include <string>
#include <vector>

#include "bench/cpu_usage.h"
#include "tests/support/run_program.h"

namespace bench {

struct MeasuredProgram {
    testsupport::ProgramResult result;
    double cpuSeconds = 0;
};

inline MeasuredProgram RunMeasured(const std::vector<std::string>& argv) {
    const double before = ChildrenCpuSeconds();
    MeasuredProgram run{testsupport::RunProgram(argv), 0};
    run.cpuSeconds = ChildrenCpuSeconds() - before;
    return run;
}

}  // namespace bench

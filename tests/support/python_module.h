#pragma once
// Peers written in Python need an interpreter that has their module. A missing one skips
// the test, unless ORVELLO_REQUIRE_PEERS=1 makes it a failure (as peers.h does).

#include <gtest/gtest.h>

#include <string>

#include "tests/support/peers.h"

namespace testsupport {

// A Python 3 interpreter that imports module: Debian's /usr/bin/python3 first, then
// python3 on PATH; "" when neither does.
std::string PythonWithModule(const std::string& module);

}  // namespace testsupport

// Use at the top of a test body, after ORVELLO_NEED_PEER("python3").
#define ORVELLO_NEED_PYTHON_MODULE(module)                                                   \
    do {                                                                                     \
        if (::testsupport::PythonWithModule(module).empty()) {                               \
            if (::testsupport::PeersRequired()) FAIL() << "missing Python module " module;   \
            GTEST_SKIP() << "Python module " module " is not installed";                     \
        }                                                                                    \
    } while (0)

#pragma once
// Real test peers (nginx, tinyproxy, aiosmtpd, ffprobe) are programs on this machine.
// A missing peer skips its test, unless ORVELLO_REQUIRE_PEERS=1 (as in CI) makes it a failure.

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

// The full path of a program found on PATH or in /usr/sbin, or "" when there is none.
std::string FindProgram(const std::string& name);
bool PeersRequired();

}  // namespace testsupport

// Use at the top of a test body: skips (or fails, when peers are required) without the program.
#define ORVELLO_NEED_PEER(program)                                                  \
    do {                                                                            \
        if (::testsupport::FindProgram(program).empty()) {                          \
            if (::testsupport::PeersRequired()) FAIL() << "missing peer " program;  \
            GTEST_SKIP() << "peer " program " is not installed";                    \
        }                                                                           \
    } while (0)

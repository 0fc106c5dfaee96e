#include "inet/winsock_binding.h"

#include <sys/resource.h>

#include <algorithm>
#include <mutex>

namespace inet::winsock {

namespace {

constexpr const char* kDefaultPath = "WSOCK32.DLL";
constexpr std::size_t kMaxPath = 200;

std::mutex bindingLock;  // guards the fields below
int references = 0;
std::string path = kDefaultPath;

}  // namespace

bool Acquire() {
    std::lock_guard<std::mutex> hold(bindingLock);
    ++references;
    return true;
}

void Release() {
    std::lock_guard<std::mutex> hold(bindingLock);
    if (references > 0) --references;
}

int References() {
    std::lock_guard<std::mutex> hold(bindingLock);
    return references;
}

std::string Info() { return References() > 0 ? "POSIX sockets 1.1" : ""; }

std::string Status() { return References() > 0 ? "Running" : "Down"; }

std::uint16_t MaxSockets() {
    if (References() == 0) return 0;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) < 0) return 0;
    return static_cast<std::uint16_t>(std::min<rlim_t>(limit.rlim_cur, 0xFFFF));
}

std::uint16_t MaxUdpDatagram() { return References() > 0 ? 65507 : 0; }

std::string Path() {
    std::lock_guard<std::mutex> hold(bindingLock);
    return path;
}

void SetPath(const std::string& text) {
    std::lock_guard<std::mutex> hold(bindingLock);
    path = text.empty() ? kDefaultPath : text.substr(0, kMaxPath);
}

}  // namespace inet::winsock

// A live fetch whose name look-up stalls, as with a DNS server that never answers: ending the
// saver must not wait for it. The test program's own getaddrinfo stands in for the resolver:
// the name "stalled.test" hangs until the test lets it go, every other name is looked up as
// usual.
#include "saver/fetch/live_fetch_thread.h"

#include "platform/dispatch.h"

#include <dlfcn.h>
#include <netdb.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::mutex gStallLock;  // guards the two flags below
std::condition_variable gStallSignal;
bool gStallEntered = false;
bool gStallReleased = false;

void ReleaseStalledLookUps() {
    std::lock_guard lock(gStallLock);
    gStallReleased = true;
    gStallSignal.notify_all();
}

// The threads of this process.
std::size_t ThreadCount() {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<std::size_t>(std::distance(begin(tasks), end(tasks)));
}

}  // namespace

extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** res) {
    if (node && std::strcmp(node, "stalled.test") == 0) {
        std::unique_lock lock(gStallLock);
        gStallEntered = true;
        gStallSignal.notify_all();
        gStallSignal.wait_for(lock, 20s, [] { return gStallReleased; });
        return EAI_AGAIN;
    }
    using Real = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "getaddrinfo"));
    return real(node, service, hints, res);
}

namespace {

// Destroyed (cancel, then join) or abandoned, the thread lets its owner go at once while the
// look-up hangs; the abandoned one ends by itself once the look-up returns (with libcurl's
// resolver thread and the one that frees it), delivering nothing.
TEST(StalledLookUpTest, EndingDoesNotWaitForTheLookUp) {
    std::thread([] {}).join();  // a sanitizer's runtime starts its helper thread with the first one
    for (const bool abandon : {false, true}) {
        SCOPED_TRACE(abandon ? "abandoned" : "destroyed");
        {
            std::lock_guard lock(gStallLock);
            gStallEntered = gStallReleased = false;
        }
        const std::size_t threadsBefore = ThreadCount();
        saver::LiveRequest request;
        request.url = "http://stalled.test/cam.jpg";
        std::optional<saver::LiveReply> delivered;
        auto thread = std::make_unique<saver::LiveFetchThread>(
            request, [&](const saver::LiveReply& reply) { delivered = reply; });
        {
            std::unique_lock lock(gStallLock);
            ASSERT_TRUE(gStallSignal.wait_for(lock, 10s, [] { return gStallEntered; }));
        }
        const auto start = std::chrono::steady_clock::now();
        if (abandon) thread.release()->Abandon();
        else thread.reset();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
        ReleaseStalledLookUps();
        // Every thread the fetch left behind ends once the look-up returns.
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (ThreadCount() > threadsBefore && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
        EXPECT_EQ(ThreadCount(), threadsBefore);
        if (abandon) {
            platform::ProcessMessages();
            EXPECT_FALSE(delivered.has_value());
        } else {
            ASSERT_TRUE(delivered.has_value());
            EXPECT_EQ(delivered->error, "Cancelled");
        }
    }
}

}  // namespace

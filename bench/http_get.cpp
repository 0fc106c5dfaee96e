// GETs per second of a small JPEG from a local nginx through one TtvxHTTP on one thread,
// side by side with curl fetching the same URL the same number of times (HTTP/1.0, one
// transfer after the other, a new connection each), and the ratio of the two rates.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "inet/tvx_http.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kGetsPerRound = 200;
constexpr std::size_t kPictureSize = 12 * 1024;

struct Server {
    testsupport::TempDir temp;
    std::unique_ptr<testsupport::NginxPeer> nginx;
    Server() {
        nginx = std::make_unique<testsupport::NginxPeer>(temp.path());
        std::string picture = "\xFF\xD8\xFF\xE0";
        picture.resize(kPictureSize, '\x5A');
        testsupport::WriteFile(nginx->root() / "small.jpg", picture);
    }
};

Server& LocalServer() {
    static Server server;
    return server;
}

// One curl process that fetches url count times in a row; false when it failed.
bool CurlRound(const std::string& url, int count) {
    return testsupport::RunProgram({"curl", "-s", "-f", "-0", url + "?n=[1-" + std::to_string(count) + "]"})
               .exit_code == 0;
}

void BM_SmallJpegGets_TtvxHTTP_vs_curl(benchmark::State& state) {
    Server& server = LocalServer();
    if (!server.nginx->Running() || testsupport::FindProgram("curl").empty()) {
        state.SkipWithError("needs nginx and curl");
        return;
    }
    const std::string url = server.nginx->Url("/small.jpg");
    inet::TtvxHTTP http;
    std::size_t received = 0;
    http.OnTransfer = [&](auto&, int, std::int64_t, const std::string& text) { received += text.size(); };
    http.SetURL(url);
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        for (int i = 0; i < kGetsPerRound; ++i) {
            received = 0;
            http.SetAction(inet::httpGet);
            if (received != kPictureSize) {
                state.SkipWithError("short body");
                return;
            }
        }
        auto middle = Clock::now();
        if (!CurlRound(url, kGetsPerRound)) {
            state.SkipWithError("curl failed");
            return;
        }
        auto end = Clock::now();
        ours += std::chrono::duration<double>(middle - start).count();
        theirs += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(std::chrono::duration<double>(middle - start).count());
    }
    double gets = static_cast<double>(state.iterations()) * kGetsPerRound;
    state.counters["TtvxHTTP_gets_per_s"] = gets / ours;
    state.counters["curl_gets_per_s"] = gets / theirs;
    state.counters["ratio_TtvxHTTP_to_curl"] = theirs / ours;
}

BENCHMARK(BM_SmallJpegGets_TtvxHTTP_vs_curl)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

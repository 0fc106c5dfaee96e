#pragma once
// The anchor of the not-modified runs: a libcurl client in a process of its own (this benchmark
// program run again with --conditional-fetches) making conditional GETs (If-Modified-Since) of
// the same URLs one after another, against the same nginx. Its CPU per fetch is its user +
// system time, less that of a run without fetches (its start), over the fetches the server
// answered 304.

#include <curl/curl.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "bench/access_log.h"
#include "bench/measured_program.h"

namespace bench {

constexpr int kConditionalRounds = 5;  // the anchor fetches every URL this often

// The anchor's client: conditional GETs of prefix + i + ".jpg" for i < webcams, rounds times;
// prints how many were answered 304.
inline int ConditionalFetches(const std::string& prefix, int webcams, int rounds, long modified) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    CURL* curl = curl_easy_init();
    if (!curl) return 1;
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    curl_easy_setopt(curl, CURLOPT_TIMECONDITION, CURL_TIMECOND_IFMODSINCE);
    curl_easy_setopt(curl, CURLOPT_TIMEVALUE, modified);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, +[](char*, size_t size, size_t n, void*) { return size * n; });
    long notModified = 0;
    for (int round = 0; round < rounds; ++round)
        for (int i = 0; i < webcams; ++i) {
            const std::string url = prefix + std::to_string(i) + ".jpg";
            curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
            long status = 0;
            if (curl_easy_perform(curl) == CURLE_OK &&
                curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK)
                notModified += status == 304;
        }
    curl_easy_cleanup(curl);
    curl_global_cleanup();
    std::printf("%ld\n", notModified);
    return 0;
}

// The client's own run, when this process was started as one.
inline std::optional<int> ConditionalFetchesMain(int argc, char** argv) {
    if (argc != 6 || std::string(argv[1]) != "--conditional-fetches") return std::nullopt;
    return ConditionalFetches(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atol(argv[5]));
}

struct CurlAnchor {
    long fetches = 0;     // answered 304, counted in the server's log
    long ownCount = 0;    // by the client's own count
    double msPerFetch = 0;
};

// Runs the client on prefix + i + ".jpg", last modified at modified (seconds since 1970).
inline CurlAnchor MeasureCurl(const AccessLog& log, const std::string& prefix, int webcams, long modified) {
    const auto run = [&](int rounds) {
        return RunMeasured({"/proc/self/exe", "--conditional-fetches", prefix, std::to_string(webcams),
                            std::to_string(rounds), std::to_string(modified)});
    };
    const auto start = run(0);  // the process and the library starting, no fetch
    const auto from = log.Mark();
    const auto fetching = run(kConditionalRounds);
    CurlAnchor anchor;
    anchor.fetches = log.CountByStatus(from, log.Mark())[304];
    anchor.ownCount = std::atol(fetching.result.out.c_str());
    if (anchor.fetches > 0)
        anchor.msPerFetch = (fetching.cpuSeconds - start.cpuSeconds) * 1000.0 / static_cast<double>(anchor.fetches);
    return anchor;
}

}  // namespace bench

#include "saver/fetch/live_fetch.h"

#include <curl/curl.h>

#include <mutex>
#include <stdexcept>

namespace saver {
namespace {

// curl_global_init is not safe beside other threads' curl calls: run it once, early.
void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Transfer {
    const std::atomic<bool>* cancelled;
    std::size_t maxBody;
    std::string body;
    bool tooLong = false;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    if (transfer.body.size() + n > transfer.maxBody) {
        transfer.tooLong = true;
        return 0;  // ends the transfer with a write error
    }
    transfer.body.append(data, n);
    return n;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(user)->cancelled->load() ? 1 : 0;
}

// Owns one easy handle and its extra header lines.
struct Easy {
    CURL* handle = curl_easy_init();
    curl_slist* headers = nullptr;
    ~Easy() {
        curl_easy_cleanup(handle);
        curl_slist_free_all(headers);
    }
    template <typename T>
    void Set(CURLoption option, T value) { curl_easy_setopt(handle, option, value); }
};

void Configure(Easy& easy, const LiveRequest& request, Transfer& transfer, char* errorText) {
    easy.Set(CURLOPT_URL, request.url.c_str());
    easy.Set(CURLOPT_PROTOCOLS_STR, "http,https");
    easy.Set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    easy.Set(CURLOPT_FOLLOWLOCATION, 1L);
    easy.Set(CURLOPT_MAXREDIRS, 5L);
    easy.Set(CURLOPT_NOSIGNAL, 1L);
    // A cancelled transfer leaves a name look-up still running behind instead of waiting for it.
    easy.Set(CURLOPT_QUICK_EXIT, 1L);
    easy.Set(CURLOPT_FAILONERROR, 1L);
    easy.Set(CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeout.count()));
    // The saver's identification: its program, and a mail address of the abbreviation alone.
    easy.Set(CURLOPT_USERAGENT, "OVL");
    easy.headers = curl_slist_append(easy.headers, "From: ovl@");
    easy.Set(CURLOPT_HTTPHEADER, easy.headers);
    easy.Set(CURLOPT_ERRORBUFFER, errorText);
    if (!request.referer.empty()) easy.Set(CURLOPT_REFERER, request.referer.c_str());
    if (!request.user.empty()) {
        easy.Set(CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        easy.Set(CURLOPT_USERNAME, request.user.c_str());
        easy.Set(CURLOPT_PASSWORD, request.password.c_str());
    }
    if (request.proxyHost.empty()) {
        easy.Set(CURLOPT_PROXY, "");  // not the environment's proxy either
    } else {
        easy.Set(CURLOPT_PROXY, request.proxyHost.c_str());
        easy.Set(CURLOPT_PROXYPORT, static_cast<long>(request.proxyPort & 0xFFFF));
        if (!request.proxyUser.empty()) {
            easy.Set(CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
            easy.Set(CURLOPT_PROXYUSERNAME, request.proxyUser.c_str());
            easy.Set(CURLOPT_PROXYPASSWORD, request.proxyPassword.c_str());
        }
    }
    easy.Set(CURLOPT_WRITEFUNCTION, OnBody);
    easy.Set(CURLOPT_WRITEDATA, &transfer);
    easy.Set(CURLOPT_NOPROGRESS, 0L);
    easy.Set(CURLOPT_XFERINFOFUNCTION, OnProgress);
    easy.Set(CURLOPT_XFERINFODATA, &transfer);
}

}  // namespace

LiveFetch::LiveFetch() {
    GlobalInit();
    multi_ = curl_multi_init();
    if (!multi_) throw std::runtime_error("curl_multi_init failed");
}

LiveFetch::~LiveFetch() { curl_multi_cleanup(static_cast<CURLM*>(multi_)); }

void LiveFetch::Cancel() {
    cancelled_.store(true);
    curl_multi_wakeup(static_cast<CURLM*>(multi_));
}

LiveReply LiveFetch::Get(const LiveRequest& request) {
    LiveReply reply;
    if (cancelled_.load()) {
        reply.error = "Cancelled";
        return reply;
    }
    auto* multi = static_cast<CURLM*>(multi_);
    Transfer transfer{&cancelled_, request.maxBody, {}, false};
    char errorText[CURL_ERROR_SIZE] = {};
    Easy easy;
    if (!easy.handle) {
        reply.error = "curl_easy_init failed";
        return reply;
    }
    Configure(easy, request, transfer, errorText);
    curl_multi_add_handle(multi, easy.handle);
    CURLcode result = CURLE_OK;
    bool ended = false;
    int running = 1;
    while (!cancelled_.load()) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) break;
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
            if (message->msg == CURLMSG_DONE) {
                result = message->data.result;
                ended = true;
            }
        }
        if (ended || running == 0) break;
        // Cancel wakes this wait at once; the time-out is libcurl's own.
        curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
    }
    curl_multi_remove_handle(multi, easy.handle);

    if (cancelled_.load()) {
        reply.error = "Cancelled";
    } else if (!ended) {
        reply.error = "Transfer did not end";
    } else if (transfer.tooLong) {
        reply.error = "Picture larger than " + std::to_string(request.maxBody) + " bytes";
    } else if (result != CURLE_OK) {
        reply.error = errorText[0] ? errorText : curl_easy_strerror(result);
    } else {
        reply.ok = true;
        reply.body = std::move(transfer.body);
    }
    return reply;
}

}  // namespace saver

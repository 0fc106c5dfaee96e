#include "inet/http_engine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "inet/engine_errors.h"
#include "inet/engine_text.h"
#include "inet/http_errors.h"
#include "inet/url_parts.h"
#include "inet/winsock_binding.h"
#include "platform/fd_io.h"

namespace inet {

const char* const HttpEngine::kDefaultUserAgent = "Portivo HTTP Component - http://www.portivo.example/";

namespace {

using P = HttpProperty;

constexpr std::uint16_t kDefaultPort = 80;
constexpr std::string_view kDefaultScheme = "http";
// Wait steps after an action, at most, for the notices the socket still has queued; the drain
// ends as soon as nothing is pending.
constexpr int kDrainSteps = 100;

// Values that go out inside one header line (or the request line).
bool SingleLine(P id) {
    switch (id) {
    case P::Accept:
    case P::Authorization:
    case P::ContentType:
    case P::FromHeader:
    case P::HttpVersion:
    case P::IfModifiedSince:
    case P::Password:
    case P::Pragma:
    case P::ProxyServer:
    case P::Referer:
    case P::URL:
    case P::URLPath:
    case P::URLScheme:
    case P::URLServer:
    case P::User:
    case P::UserAgent:
        return true;
    default:
        return false;
    }
}

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string WithoutLineBreaks(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') line += c;
    return line;
}

// The extra header text ends in exactly one CRLF: trailing "\n" and "\r\n" are removed,
// then one pair is added. Nothing is left of a text that held only line ends.
std::string NormaliseOtherHeaders(std::string_view text) {
    for (;;) {
        if (text.ends_with("\r\n"))
            text.remove_suffix(2);
        else if (text.ends_with('\n'))
            text.remove_suffix(1);
        else
            break;
    }
    return text.empty() ? std::string() : std::string(text) + "\r\n";
}

bool StartsWithHostField(std::string_view headers) {
    return headers.size() >= 5 && CompareTextNoCase(headers.substr(0, 4), "host") == 0 && headers[4] == ':';
}

// Opens a file for reading and tells its size; false when it cannot be read.
bool OpenForReading(const std::string& name, int& fd, std::uint64_t& size) {
    fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        fd = -1;
        return false;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

}  // namespace

HttpEngine::HttpEngine(HttpEngineEvents& events) : events_(events) {
    Text(P::HttpVersion).Set("HTTP/1.0");
    Text(P::UserAgent).Set(kDefaultUserAgent);
    SetURL("");
}

HttpEngine::~HttpEngine() = default;

// ---- properties

int HttpEngine::Set(P id, std::string_view value) {
    if (id == P::PostData) {
        postData_.assign(value);
        return 0;
    }
    value = UpToNul(value);
    std::string line;
    if (SingleLine(id)) {
        line = WithoutLineBreaks(value);
        value = line;
    }
    int code = 0;
    switch (id) {
    case P::Accept:
    case P::AttachedFile:
    case P::Authorization:
    case P::ContentType:
    case P::FromHeader:
    case P::HttpVersion:
    case P::IfModifiedSince:
    case P::OtherHeaders:
    case P::Pragma:
    case P::ProxyServer:
    case P::Referer:
    case P::URLPath:
    case P::URLScheme:
    case P::URLServer:
    case P::UserAgent:
        code = Text(id).Set(value);
        break;
    case P::User:
    case P::Password:
        code = Text(id).Set(value);
        if (!code) code = RebuildAuthorization();
        break;
    case P::URL:
        code = SetURL(value);
        break;
    case P::LocalFile:
        SetLocalFile(std::string(value));
        break;
    case P::WinsockPath:
        winsock::SetPath(std::string(value));
        break;
    default:
        return -1;
    }
    return SetError(code);
}

int HttpEngine::SetNumber(P id, std::uint32_t value) {
    switch (id) {
    case P::Action:
        return Dispatch(value & 0xFF);
    case P::ProxyPort:
        proxyPort_ = static_cast<std::uint16_t>(value);
        return 0;
    case P::URLPort:
        urlPort_ = static_cast<std::uint16_t>(value);
        return 0;
    case P::WinsockLoaded:
        SetWinsockLoaded(value != 0);
        return 0;
    default:
        return -1;
    }
}

std::string HttpEngine::Get(P id) {
    switch (id) {
    case P::LocalHost:
        return GetLocalHost();
    case P::LocalFile:
        return LocalFile();
    case P::PostData:
        return postData_;
    case P::WinsockInfo:
        return winsock::Info();
    case P::WinsockPath:
        return winsock::Path();
    case P::WinsockStatus:
        return winsock::Status();
    default:
        break;
    }
    int index = static_cast<int>(id);
    return index > 0 && index < static_cast<int>(std::size(texts_)) ? texts_[index].str() : std::string();
}

std::int64_t HttpEngine::GetNumber(P id) const {
    switch (id) {
    case P::Action:
        return currentAction_;
    case P::ProxyPort:
        return proxyPort_;
    case P::URLPort:
        return urlPort_;
    case P::SocketHandle:
        return Socket();
    case P::WinsockLoaded:
        return WinsockLoaded() ? 1 : 0;
    case P::MaxSockets:
        return winsock::MaxSockets();
    case P::MaxUdpDatagram:
        return winsock::MaxUdpDatagram();
    default:
        return 0;
    }
}

// ---- URL and login

int HttpEngine::SetURL(std::string_view url) {
    UrlParts parts = ParseURL(url);
    // A URL that names no server leaves none: the request then fails with 152 instead of
    // going to the server of an earlier URL.
    std::string server = parts.server.value_or(std::string());
    if (!TextEmpty(P::URLServer) && Text(P::URLServer).view() != server) ClearLogin();
    urlPort_ = parts.port;
    int code = Text(P::URL).Set(url);
    if (!code) code = Text(P::URLScheme).Set(parts.scheme);
    if (!code) code = Text(P::URLPath).Set(parts.path);
    if (!code) code = Text(P::URLServer).Set(server);
    if (!code && parts.login) {
        if (parts.login->password) code = Text(P::Password).Set(*parts.login->password);
        if (!code) code = Text(P::User).Set(parts.login->user);
        if (!code) code = RebuildAuthorization();
    }
    return code;
}

void HttpEngine::ClearLogin() {
    Text(P::User).Clear();
    Text(P::Password).Clear();
    Text(P::Authorization).Clear();
}

int HttpEngine::RebuildAuthorization() {
    Text(P::Authorization).Clear();
    if (TextEmpty(P::User) && TextEmpty(P::Password)) return 0;
    return Text(P::Authorization).Set("Basic " + Base64(Get(P::User) + ":" + Get(P::Password)));
}

// ---- actions

int HttpEngine::Dispatch(std::uint32_t action) {
    if (running_ && action != 0) {
        SetLastError(kTextHttpBusy);
        return kErrHttpBusy;
    }
    ActionScope scope(*this);
    SetDeadline();
    ClearInterruptRequest();
    ClearLastError();
    Text(P::StatusLine).Clear();
    int result = 0;
    if (action == 0) {
        if (currentAction_ != 0) Interrupt();  // the running wait ends with 301
        currentAction_ = 0;
        Connect(false);
    } else {
        result = RunAction(action);
    }
    if (handlerError_ && !running_) std::rethrow_exception(std::exchange(handlerError_, nullptr));
    return SetError(result);
}

int HttpEngine::RunAction(std::uint32_t action) {
    // However the action ends (an exception from a timer of this thread included), the
    // connection is closed and the engine is idle again.
    struct Finish {
        HttpEngine& engine;
        ~Finish() {
            if (engine.Socket() != platform::kNoSocket) engine.Connect(false);
            engine.currentAction_ = 0;
            engine.running_ = false;
        }
    } finish{*this};
    currentAction_ = static_cast<std::uint8_t>(action);
    running_ = true;
    ClearInterrupted();
    int result = 0;
    switch (static_cast<HttpAction>(action)) {
    case HttpAction::Get:
        result = PlainRequest("GET");
        break;
    case HttpAction::Head:
        result = PlainRequest("HEAD");
        break;
    case HttpAction::Post:
        result = BodyRequest("POST");
        break;
    case HttpAction::Put:
        result = BodyRequest("PUT");
        break;
    case HttpAction::ResetHeaders:
        result = ResetHeaders();
        break;
    default:
        break;
    }
    if (Socket() != platform::kNoSocket) Connect(false);
    for (int step = 0; step < kDrainSteps; ++step)
        if (!WaitStep(0)) break;
    if (Interrupted()) {
        ClearInterrupted();
        result = kErrInterrupted;
    }
    return result;
}

int HttpEngine::ResetHeaders() {
    for (P id : {P::URL, P::URLServer, P::URLPath, P::ContentType, P::User, P::Password, P::Authorization, P::Accept,
                 P::FromHeader, P::IfModifiedSince, P::Referer, P::Pragma, P::OtherHeaders, P::StatusLine,
                 P::AttachedFile})
        Text(id).Clear();
    postData_.clear();
    SetLocalFile({});
    urlPort_ = kDefaultPort;
    return Text(P::URLScheme).Set(kDefaultScheme);
}

// Checks the URL, chooses the peer and builds the request head up to its last header
// line (without the blank line).
int HttpEngine::OpenRequest(std::string_view method, std::string& head) {
    phase_ = Phase::StatusLine;
    bodyBytes_ = 0;
    headLine_.clear();
    headBytes_ = 0;
    headLines_ = 0;
    replyError_ = 0;
    receiveError_ = 0;
    fileError_ = 0;
    if (int code = SetEOL("\n")) return code;
    if (TextEmpty(P::URLServer)) {
        SetLastError(kTextNoServer);
        return kErrNoServer;
    }
    const bool proxy = !TextEmpty(P::ProxyServer);
    if (!proxy && CompareTextNoCase(Text(P::URLScheme).view(), kDefaultScheme) != 0) {
        SetLastError(kTextBadScheme);
        return kErrBadScheme;
    }
    int code = SetRemoteHost(Get(proxy ? P::ProxyServer : P::URLServer));
    if (!code) code = SetRemotePort(proxy ? proxyPort_ : urlPort_);
    if (code) return code;

    std::string_view other = Text(P::OtherHeaders).view();
    head.clear();
    head.reserve(256 + other.size());
    head.append(method).append(" ");
    if (proxy) {
        head.append(Text(P::URLScheme).view()).append("://").append(Text(P::URLServer).view());
        if (urlPort_ != kDefaultPort) head.append(":").append(std::to_string(urlPort_));
    }
    head.append(Text(P::URLPath).view()).append(" ").append(Text(P::HttpVersion).view());
    if (!StartsWithHostField(other)) head.append("\r\nHost: ").append(Text(P::URLServer).view());
    static constexpr std::pair<P, std::string_view> kFixedHeaders[] = {
        {P::Authorization, "Authorization: "}, {P::Accept, "Accept: "},   {P::FromHeader, "From: "},
        {P::UserAgent, "User-Agent: "},        {P::IfModifiedSince, "If-Modified-Since: "},
        {P::Referer, "Referer: "},             {P::Pragma, "Pragma: "},
    };
    for (const auto& [id, name] : kFixedHeaders)
        if (!TextEmpty(id)) head.append("\r\n").append(name).append(Text(id).view());
    head.append("\r\n");
    if (!other.empty()) {
        if (int code = Text(P::OtherHeaders).Set(NormaliseOtherHeaders(other))) return code;
        head.append(Text(P::OtherHeaders).view());
    }
    return 0;
}

int HttpEngine::PlainRequest(std::string_view method) {
    std::string head;
    if (int code = OpenRequest(method, head)) return code;
    head.append("\r\n");
    if (int code = ConnectAndWait()) return code;
    if (int code = SendAll(head.data(), head.size())) return code;
    return AwaitReply();
}

int HttpEngine::BodyRequest(std::string_view method) {
    std::string head;
    if (int code = OpenRequest(method, head)) return code;
    if (!TextEmpty(P::ContentType)) head.append("Content-Type: ").append(Text(P::ContentType).view()).append("\r\n");
    std::uint64_t fileSize = 0;
    const std::string attached = Get(P::AttachedFile);
    if (!attached.empty()) {
        int fd = -1;
        if (!OpenForReading(attached, fd, fileSize)) {
            SetLastError(kTextOpenAttached);
            return kErrFileAccess;
        }
        close(fd);
    }
    head.append("Content-Length: ").append(std::to_string(postData_.size() + fileSize)).append("\r\n\r\n");
    if (int code = ConnectAndWait()) return code;
    if (postData_.empty() && attached.empty()) {
        if (int code = SendAll(head.data(), head.size())) return code;
        return AwaitReply();
    }
    Fire([&] { events_.StartTransfer(kDirectionOut); });
    head.append(postData_);
    int code = SendAll(head.data(), head.size());
    if (!code && !attached.empty()) code = Upload(fileSize);
    Fire([&] { events_.EndTransfer(kDirectionOut); });
    return code ? code : AwaitReply();
}

// Sends the attached file in chunks, reporting each and stopping as soon as a reply with
// a failure status has come in. Exactly the announced length is sent.
int HttpEngine::Upload(std::uint64_t size) {
    int fd = -1;
    std::uint64_t now = 0;
    if (!OpenForReading(Get(P::AttachedFile), fd, now)) {
        SetLastError(kTextReadAttached);
        return kErrFileAccess;
    }
    char chunk[kUploadChunk];
    int code = 0;
    for (std::uint64_t sent = 0; sent < size && !code;) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, size - sent));
        if (!platform::PreadAll(fd, chunk, n, static_cast<off_t>(sent))) {  // the file shrank or failed
            SetLastError(kTextReadAttached);
            code = kErrFileAccess;
            break;
        }
        code = SendAll(chunk, n);
        if (code) break;
        sent += n;
        Fire([&] { events_.Transfer(kDirectionOut, static_cast<std::int64_t>(sent), {}); });
        code = StatusCheck(0);
    }
    close(fd);
    return code;
}

int HttpEngine::AwaitReply() {
    SetAcceptData(true);
    return StatusCheck(WaitDisconnect());
}

}  // namespace inet

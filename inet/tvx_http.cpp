#include "inet/tvx_http.h"

#include <string_view>

namespace inet {

namespace {

constexpr const char* kTextCreateFailed = "Portivo HTTP: Error creating component";

// The lines of a header text, split at CRLF, LF or CR.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        auto end = text.find_first_of("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text.append(line).append("\r\n");
    return text;
}

}  // namespace

// Hands the engine's events to the component's handlers; an unassigned handler is skipped.
class TtvxHTTP::Events : public HttpEngineEvents {
public:
    explicit Events(TtvxHTTP& owner) : owner_(owner) {}

    void Connected(int code, const std::string& text) override {
        if (owner_.OnConnected) owner_.OnConnected(owner_, code & 0xFFFF, text);
    }
    void Disconnected(int code, const std::string& text) override {
        if (owner_.OnDisconnected) owner_.OnDisconnected(owner_, code & 0xFFFF, text);
    }
    void EndTransfer(int direction) override {
        if (owner_.OnEndTransfer) owner_.OnEndTransfer(owner_, direction);
    }
    void Error(int code, const std::string& text) override {
        if (owner_.OnError) owner_.OnError(owner_, code & 0xFFFF, text);
    }
    void Header(const std::string& field, const std::string& value) override {
        if (owner_.OnHeader) owner_.OnHeader(owner_, field, value);
    }
    void StartTransfer(int direction) override {
        if (owner_.OnStartTransfer) owner_.OnStartTransfer(owner_, direction);
    }
    void Transfer(int direction, std::int64_t bytes, std::string_view data) override {
        if (owner_.OnTransfer) owner_.OnTransfer(owner_, direction, bytes, std::string(data));
    }

private:
    TtvxHTTP& owner_;
};

TtvxHTTP::TtvxHTTP() : events_(std::make_unique<Events>(*this)) {
    try {
        engine_ = std::make_unique<HttpEngine>(*events_);
    } catch (const std::exception&) {
        RaiseError(-1, kTextCreateFailed);
    }
}

TtvxHTTP::~TtvxHTTP() = default;

std::exception_ptr TtvxHTTP::CreateException(int code, const std::string& text) const {
    return std::make_exception_ptr(EtvxHTTP(code, text));
}

std::string TtvxHTTP::EngineLastError() const { return engine_ ? engine_->LastError() : std::string(); }

std::string TtvxHTTP::Text(HttpProperty id) const { return engine_->Get(id); }

void TtvxHTTP::SetText(HttpProperty id, const std::string& value) {
    if (int code = engine_->Set(id, value)) RaiseError(code);
}

std::int64_t TtvxHTTP::Number(HttpProperty id) const { return engine_->GetNumber(id); }

void TtvxHTTP::SetNumber(HttpProperty id, std::uint32_t value) {
    if (int code = engine_->SetNumber(id, value)) RaiseError(code);
}

TtvxhttpActions TtvxHTTP::Action() const { return static_cast<TtvxhttpActions>(Number(HttpProperty::Action)); }

int TtvxHTTP::RunAction(TtvxhttpActions action) {
    SetText(HttpProperty::OtherHeaders, JoinLines(extraHeaders_));
    const int code = engine_->SetNumber(HttpProperty::Action, action);
    if (code == 0) extraHeaders_ = SplitLines(Text(HttpProperty::OtherHeaders));
    return code;
}

void TtvxHTTP::SetAction(TtvxhttpActions action) {
    if (int code = RunAction(action)) RaiseError(code);
}

std::string TtvxHTTP::PerformAction(TtvxhttpActions action) {
    const int code = RunAction(action);
    return code ? FailureMessage(code, EngineLastError()) : std::string();
}

}  // namespace inet

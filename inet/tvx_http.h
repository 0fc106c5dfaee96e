#pragma once
// TtvxHTTP: the HTTP/1.0 client component that every network fetch of the program uses.
// A thin wrapper over HttpEngine: each property lives in the engine, setting Action runs a
// whole request synchronously on the calling thread (its loop keeps running meanwhile, so
// the thread's timers and the events fire inside the call), and every failure raises
// EtvxHTTP with the engine's code and text ("301: Interrupted.", "151: 304 Not Modified").
//
// A component belongs to the thread that created it. To abort its request from a handler
// or a timer of that thread, set Action to httpIdle. From another thread, keep
// InterruptHandle() and call Request() on it: the running action ends with 301, and the
// owning thread closes its own connection.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "inet/http_engine.h"
#include "inet/tvx_core.h"
#include "platform/message_loop_interrupt.h"

namespace inet {

enum TtvxhttpActions : std::uint8_t { httpIdle, httpGet, httpPost, httpHead, httpResetHeaders, httpPut };

class TtvxHTTP;
using TConnectedEvent = std::function<void(TtvxHTTP& Sender, int StatusCode, const std::string& Description)>;
using TDisconnectedEvent = TConnectedEvent;
using TEndTransferEvent = std::function<void(TtvxHTTP& Sender, int Direction)>;
using TStartTransferEvent = TEndTransferEvent;
using TErrorEvent = std::function<void(TtvxHTTP& Sender, int ErrorCode, const std::string& Description)>;
using THeaderEvent = std::function<void(TtvxHTTP& Sender, const std::string& Field, const std::string& Value)>;
// Direction 1: BytesTransferred is the reply body's total so far and Text this chunk's
// bytes exactly (NUL bytes included). Direction 0: the attached file's upload, the total
// so far and an empty Text.
using TTransferEvent =
    std::function<void(TtvxHTTP& Sender, int Direction, std::int64_t BytesTransferred, const std::string& Text)>;

class TtvxHTTP : public TtvxCore {
public:
    // Raises EtvxHTTP -1 "Portivo HTTP: Error creating component" when the engine
    // cannot be made.
    TtvxHTTP();
    ~TtvxHTTP() override;
    TtvxHTTP(const TtvxHTTP&) = delete;
    TtvxHTTP& operator=(const TtvxHTTP&) = delete;

    std::string Accept() const { return Text(HttpProperty::Accept); }
    void SetAccept(const std::string& value) { SetText(HttpProperty::Accept, value); }
    // The running action, httpIdle when none runs.
    TtvxhttpActions Action() const;
    // Sends ExtraHeaders with the request, performs the action, and puts the header text
    // as the engine left it back into ExtraHeaders.
    void SetAction(TtvxhttpActions action);
    // SetAction that hands a failure of the action back as its message ("151: 304 Not
    // Modified"), empty after a success, instead of raising it: the fetch threads meet a
    // not-modified answer on most turns. An exception of an event handler is still raised.
    std::string PerformAction(TtvxhttpActions action);
    std::string LocalHost() const { return Text(HttpProperty::LocalHost); }
    std::string LocalFile() const { return Text(HttpProperty::LocalFile); }
    void SetLocalFile(const std::string& value) { SetText(HttpProperty::LocalFile, value); }
    std::string Password() const { return Text(HttpProperty::Password); }
    void SetPassword(const std::string& value) { SetText(HttpProperty::Password, value); }
    std::uint16_t ProxyPort() const { return static_cast<std::uint16_t>(Number(HttpProperty::ProxyPort)); }
    void SetProxyPort(std::uint16_t value) { SetNumber(HttpProperty::ProxyPort, value); }
    std::string ProxyServer() const { return Text(HttpProperty::ProxyServer); }
    void SetProxyServer(const std::string& value) { SetText(HttpProperty::ProxyServer, value); }
    // Setting URL sets URLPort, and clears User, Password and Authorization when the
    // server changes: set URL before User and Password.
    std::string URL() const { return Text(HttpProperty::URL); }
    void SetURL(const std::string& value) { SetText(HttpProperty::URL, value); }
    std::string User() const { return Text(HttpProperty::User); }
    void SetUser(const std::string& value) { SetText(HttpProperty::User, value); }
    std::string UserAgent() const { return Text(HttpProperty::UserAgent); }
    void SetUserAgent(const std::string& value) { SetText(HttpProperty::UserAgent, value); }
    std::string WinsockInfo() const { return Text(HttpProperty::WinsockInfo); }
    bool WinsockLoaded() const { return Number(HttpProperty::WinsockLoaded) != 0; }
    void SetWinsockLoaded(bool value) { SetNumber(HttpProperty::WinsockLoaded, value ? 1 : 0); }
    std::string WinsockStatus() const { return Text(HttpProperty::WinsockStatus); }

    // "Basic " and the Base64 of User:Password, empty when both are empty.
    std::string Authorization() const { return Text(HttpProperty::Authorization); }
    // Lines sent after the fixed request headers.
    std::vector<std::string>& ExtraHeaders() { return extraHeaders_; }
    std::string Referer() const { return Text(HttpProperty::Referer); }
    void SetReferer(const std::string& value) { SetText(HttpProperty::Referer, value); }
    std::uint16_t URLPort() const { return static_cast<std::uint16_t>(Number(HttpProperty::URLPort)); }

    // The thread-safe way to stop this component's running action from another thread.
    std::shared_ptr<platform::LoopInterrupt> InterruptHandle() const { return engine_->InterruptHandle(); }

    TConnectedEvent OnConnected;
    TDisconnectedEvent OnDisconnected;
    TEndTransferEvent OnEndTransfer;
    TErrorEvent OnError;
    THeaderEvent OnHeader;
    TStartTransferEvent OnStartTransfer;
    TTransferEvent OnTransfer;

protected:
    std::exception_ptr CreateException(int code, const std::string& text) const override;
    std::string EngineLastError() const override;

private:
    class Events;

    std::string Text(HttpProperty id) const;
    void SetText(HttpProperty id, const std::string& value);
    std::int64_t Number(HttpProperty id) const;
    void SetNumber(HttpProperty id, std::uint32_t value);
    // The action's engine code, 0 for a success.
    int RunAction(TtvxhttpActions action);

    std::vector<std::string> extraHeaders_;
    std::unique_ptr<Events> events_;
    std::unique_ptr<HttpEngine> engine_;
};

}  // namespace inet

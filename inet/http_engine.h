#pragma once
// The protocol half of the HTTP component: a table of numbered properties, the action
// dispatch that performs a whole HTTP/1.0 request synchronously on the calling thread,
// and seven events reported to a sink.
//
// One request per connection: the request head goes out, the reply is read until the
// server closes the connection, and the connection never outlives the action. No
// redirects, cookies, TLS, chunked transfer or keep-alive of its own; https is only
// reachable through a proxy.
//
// Everything here belongs to the thread that created the engine. While an action waits,
// that thread's loop keeps running (its timers and tasks, and the event handlers): a
// handler or timer may set the action to idle (0) to abort; any other action is then
// refused with 143. Another thread stops an action only through InterruptHandle().

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "inet/engine_string.h"
#include "inet/message_connection.h"

namespace inet {

enum class HttpProperty : int {
    Accept = 1,
    Action = 2,
    AttachedFile = 3,
    Authorization = 4,
    ContentType = 5,
    FromHeader = 6,
    HttpVersion = 7,
    IfModifiedSince = 8,
    LocalHost = 9,
    LocalFile = 10,
    OtherHeaders = 11,
    Password = 12,
    PostData = 13,
    Pragma = 14,
    ProxyPort = 15,
    ProxyServer = 16,
    Referer = 17,
    SocketHandle = 18,
    StatusLine = 19,
    URL = 20,
    URLPath = 21,
    URLPort = 22,
    URLScheme = 23,
    URLServer = 24,
    User = 25,
    UserAgent = 26,
    WinsockInfo = 27,
    WinsockLoaded = 28,
    MaxSockets = 29,
    MaxUdpDatagram = 30,
    WinsockPath = 31,
    WinsockStatus = 32,
};

// Values of the Action property.
enum class HttpAction : std::uint8_t { Idle = 0, Get = 1, Post = 2, Head = 3, ResetHeaders = 4, Put = 5 };

// Direction of a transfer event: 0 the request body going out, 1 the reply coming in.
constexpr int kDirectionOut = 0;
constexpr int kDirectionIn = 1;

// Where the engine reports its events, on the engine's thread, from inside the calls
// that cause them. An exception thrown by a handler aborts the running action and comes
// out of the action call once the action has been cleaned up; the events of that action
// end with it.
class HttpEngineEvents {
public:
    virtual ~HttpEngineEvents() = default;
    virtual void Connected(int code, const std::string& text) = 0;
    virtual void Disconnected(int code, const std::string& text) = 0;
    virtual void EndTransfer(int direction) = 0;
    virtual void Error(int code, const std::string& text) = 0;
    virtual void Header(const std::string& field, const std::string& value) = 0;
    virtual void StartTransfer(int direction) = 0;
    // bytes: the running total of the direction; data: this chunk's bytes (empty for an
    // upload step).
    virtual void Transfer(int direction, std::int64_t bytes, std::string_view data) = 0;
};

class HttpEngine : public MessageConnection {
public:
    // A status or header line longer than this fails the reply with 200, and so does a
    // head (status line and header lines) larger than kMaxHead bytes or kMaxHeadLines lines:
    // a server that sends header lines for ever cannot fill the memory.
    static constexpr std::size_t kMaxHeadLine = 16 * 1024;
    static constexpr std::size_t kMaxHead = 64 * 1024;
    static constexpr std::size_t kMaxHeadLines = 1000;
    static constexpr std::size_t kUploadChunk = 2048;
    static const char* const kDefaultUserAgent;

    explicit HttpEngine(HttpEngineEvents& events);
    ~HttpEngine() override;

    // Text properties (PostData: any bytes; the others end at their first NUL byte, and
    // single-line ones lose every CR and LF so that no value can add a header line).
    // Returns 0, an error code, or -1 for an id that takes no text.
    int Set(HttpProperty id, std::string_view value);
    // Number properties; setting Action runs the action and returns its result.
    int SetNumber(HttpProperty id, std::uint32_t value);
    std::string Get(HttpProperty id);
    std::int64_t GetNumber(HttpProperty id) const;

    int Action(HttpAction action) { return SetNumber(HttpProperty::Action, static_cast<std::uint32_t>(action)); }

protected:
    void OnDisconnected(int code) override;
    int OnDataIn(const char* data, std::size_t length, bool endOfLine) override;
    void OnError(int code, const std::string& text) override;
    void ConnectedText(int code, const std::string& text) override;
    void DisconnectedText(int code, const std::string& text) override;

private:
    // Done: a HEAD reply's head came; whatever follows it is no part of the reply.
    enum class Phase : std::uint8_t { StatusLine, Headers, Body, Done };

    EngineString& Text(HttpProperty id) { return texts_[static_cast<int>(id)]; }
    const EngineString& Text(HttpProperty id) const { return texts_[static_cast<int>(id)]; }
    bool TextEmpty(HttpProperty id) const { return Text(id).empty(); }

    int SetURL(std::string_view url);
    void ClearLogin();
    int RebuildAuthorization();

    int Dispatch(std::uint32_t action);
    int RunAction(std::uint32_t action);
    int ResetHeaders();
    int PlainRequest(std::string_view method);
    int BodyRequest(std::string_view method);
    int OpenRequest(std::string_view method, std::string& head);
    int Upload(std::uint64_t size);
    int AwaitReply();
    int StatusCheck(int result);

    int HeadPiece(std::string_view piece, bool endOfLine);
    void HeadLine(std::string_view line, bool complete);
    void StatusLineIn(std::string_view line);
    void HeaderLineIn(std::string_view line);
    void BodyIn(std::string_view chunk);
    void FailReply(int code);
    // A HEAD reply has no body: it ends with its head, whatever else the server sends.
    bool EndsWithHead() const;
    void EndReply();

    // Calls a handler; an exception it throws is kept for the action's caller and
    // aborts the action, and no further event reaches a handler until then.
    template <class Call>
    void Fire(Call&& call) {
        if (handlerError_) return;
        try {
            call();
        } catch (...) {
            handlerError_ = std::current_exception();
            if (running_) Interrupt();
        }
    }

    HttpEngineEvents& events_;
    EngineString texts_[33];
    std::string postData_;
    std::uint16_t urlPort_ = 80;
    std::uint16_t proxyPort_ = 80;
    std::uint8_t currentAction_ = 0;
    bool running_ = false;  // an action other than idle is being performed

    // The reply.
    Phase phase_ = Phase::StatusLine;
    std::uint64_t bodyBytes_ = 0;
    std::string headLine_;  // a status or header line that arrives in pieces
    std::size_t headBytes_ = 0;  // of the head so far, line ends included
    std::size_t headLines_ = 0;
    int replyError_ = 0;    // the reply could not be taken in (200)
    int receiveError_ = 0;  // the connection failed while the reply came in
    int fileError_ = 0;     // LocalFile could not be written (302, 7): the action fails
    std::string fileErrorText_;
    std::exception_ptr handlerError_;
};

}  // namespace inet

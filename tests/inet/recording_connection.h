#pragma once
// Connections for the inet tests that record what their hooks were told.

#include <functional>
#include <string>
#include <vector>

#include "inet/message_connection.h"
#include "inet/tcp_connection.h"
#include "platform/socket_async.h"

namespace inettest {

struct Event {
    enum class Kind { Connected, Disconnected, Data, Error } kind;
    int code = 0;
    std::string text;
    bool endOfLine = false;
    bool operator==(const Event&) const = default;
};

inline Event Connected(int code) { return {Event::Kind::Connected, code, {}, false}; }
inline Event Disconnected(int code) { return {Event::Kind::Disconnected, code, {}, false}; }
inline Event Data(std::string text, bool endOfLine) { return {Event::Kind::Data, 0, std::move(text), endOfLine}; }
inline Event Error(int code, std::string text) { return {Event::Kind::Error, code, std::move(text), false}; }

void PrintTo(const Event& e, std::ostream* os);

// Records the TCP layer's hooks; onData runs inside the data hook.
template <class Base>
class Recording : public Base {
public:
    std::vector<Event> events;
    std::function<void(const std::string&, bool)> onData;

    std::size_t Count(Event::Kind kind) const {
        std::size_t n = 0;
        for (auto& e : events) n += e.kind == kind;
        return n;
    }
    // Queues a read notice as the socket layer would.
    void PostReadNotice() {
        this->Loop().Post({this->Target(), inet::kSocketMessage, static_cast<std::uintptr_t>(this->Socket()),
                           platform::MakeSelectReply(platform::kFdRead, 0)});
    }

protected:
    void OnConnected(int code) override {
        events.push_back(Connected(code));
        Base::OnConnected(code);
    }
    void OnDisconnected(int code) override {
        events.push_back(Disconnected(code));
        Base::OnDisconnected(code);
    }
    int OnDataIn(const char* data, std::size_t length, bool endOfLine) override {
        events.push_back(Data(std::string(data, length), endOfLine));
        if (onData) onData(std::string(data, length), endOfLine);
        return Base::OnDataIn(data, length, endOfLine);
    }
    void OnError(int code, const std::string& text) override {
        events.push_back(Error(code, text));
        Base::OnError(code, text);
    }
};

using RecordingTcp = Recording<inet::TcpConnection>;

}  // namespace inettest

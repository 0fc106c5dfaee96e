#pragma once
// What the SMTP tests share: the component with its engine in reach, the events it
// raised as text lines, and the opening of a scripted server's session.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "inet/tvx_smtp.h"
#include "platform/socket_resolver.h"
#include "tests/support/loopback_peer.h"

namespace smtptest {

using Peer = testsupport::LoopbackPeer;

// The component as a test drives it: its engine's port and inactivity limit are in reach.
class TestSMTP : public inet::TtvxSMTP {
public:
    using inet::TtvxSMTP::Engine;

    // Records every event as one line: "C: EHLO x", "R: 250 ok", "N: Connected.",
    // "E: 161 550 no", "X: address", "start", "transfer 12", "end".
    std::vector<std::string> events;

    TestSMTP() {
        OnPITrail = [this](TtvxSMTP&, inet::TPIDirections direction, const std::string& text) {
            static const char* const kPrefix[] = {"C: ", "R: ", "N: "};
            events.push_back(kPrefix[direction] + text);
        };
        OnError = [this](TtvxSMTP&, int code, const std::string& text) {
            events.push_back("E: " + std::to_string(code) + " " + text);
        };
        OnExpand = [this](TtvxSMTP&, const std::string& address) { events.push_back("X: " + address); };
        OnStartTransfer = [this](TtvxSMTP&) { events.push_back("start"); };
        OnTransfer = [this](TtvxSMTP&, int bytes) { events.push_back("transfer " + std::to_string(bytes)); };
        OnEndTransfer = [this](TtvxSMTP&) { events.push_back("end"); };
    }

    // The mail server on loopback at port, with a limit that fails a broken test instead
    // of hanging it.
    void Aim(std::uint16_t port) {
        SetMailServer(Peer::host());
        ASSERT_EQ(0, Engine().SetNumber(inet::SmtpProperty::MailPort, port));
        Engine().SetTimeout(10000);
    }

    // The message of the exception that action raises, "" when none.
    std::string Failure(inet::TtvxsmtpActions action) {
        try {
            SetAction(action);
            return {};
        } catch (const inet::EtvxSMTP& e) {
            return e.what();
        }
    }
};

// The name the engine gives in EHLO and HELO.
inline std::string HeloName() {
    std::string name;
    platform::LocalHostName(name);
    return name;
}

// A server's greeting, and its multi-line answer to EHLO, sent in one piece.
inline std::vector<Peer::Step> Greeted() {
    return {Peer::Send("220 peer ready\r\n"), Peer::ReceiveUntil("EHLO " + HeloName() + "\r\n"),
            Peer::Send("250-peer greets you\r\n250-SIZE 1000000\r\n250 HELP\r\n")};
}

// One command answered by one reply.
inline std::vector<Peer::Step> Answer(const std::string& command, const std::string& reply) {
    return {Peer::ReceiveUntil(command + "\r\n"), Peer::Send(reply + "\r\n")};
}

inline std::vector<Peer::Step> operator+(std::vector<Peer::Step> a, const std::vector<Peer::Step>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace smtptest

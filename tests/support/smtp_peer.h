#pragma once
// A real mail server for the SMTP tests: aiosmtpd on a free loopback port, with our
// handler (smtp_peer_handler.py) that stores each message it accepts in a folder and
// refuses one address. Started by the constructor, stopped by the destructor.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

class SmtpPeer {
public:
    struct Message {
        std::string from;
        std::vector<std::string> to;
        std::string content;  // as received, dots unstuffed, without the final "."
    };

    // python: an interpreter that has aiosmtpd (PythonWithModule("aiosmtpd")). Mail for
    // refused is answered "550 5.1.1 no such user here".
    SmtpPeer(const std::string& python, const std::filesystem::path& folder, const std::string& refused = {});
    ~SmtpPeer();
    SmtpPeer(const SmtpPeer&) = delete;
    SmtpPeer& operator=(const SmtpPeer&) = delete;

    // False when the server did not start listening (Log() tells why).
    bool Running() const { return pid_ > 0; }
    std::uint16_t port() const { return port_; }
    static const char* host() { return "127.0.0.1"; }

    // The messages stored so far, once there are count of them or the time is up.
    std::vector<Message> WaitMessages(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // What the server wrote on its output.
    std::string Log() const;

private:
    bool Start(const std::string& python, const std::string& refused);
    void Stop();
    std::vector<Message> Stored() const;

    std::filesystem::path folder_;
    std::filesystem::path log_;
    int pid_ = -1;
    int pidFd_ = -1;
    std::uint16_t port_ = 0;
};

}  // namespace testsupport

#pragma once
// The SMTP engine's interface numbers: actions, property ids, event ids, trail directions,
// and the result codes with the texts the engine stores with them.

#include <cstdint>

namespace inet {

// The component's TtvxsmtpActions use the same values.
enum class SmtpAction : std::uint8_t {
    Idle = 0,  // interrupts the running action
    Connect = 1,
    Disconnect = 2,
    Send = 3,  // MAIL
    ResetHeaders = 4,
    Expand = 5,
    Verify = 6,
    SendToTerminalAndEmail = 7,  // SAML
    SendToTerminalOrEmail = 8,   // SOML
    SendToTerminalOnly = 9,      // SEND
};

enum class SmtpProperty : int {
    Action = 1,
    EhloFirst = 2,
    MessageFile = 3,
    BCc = 4,
    Cc = 5,
    Command = 6,
    Date = 7,
    From = 8,
    HeloName = 9,
    LastReply = 10,
    LocalHost = 11,
    MailPort = 12,
    MailServer = 13,
    MessageText = 15,
    OtherHeaders = 16,
    ReplyTo = 17,
    Socket = 18,
    Subject = 19,
    SendTo = 20,
    WinsockInfo = 21,
    WinsockLoaded = 22,
    MaxSockets = 23,
    MaxUdpDatagram = 24,
    WinsockPath = 25,
    WinsockStatus = 26,
};

enum class SmtpEventId : int {
    EndTransfer = 1,
    Error = 2,          // number: the code
    Expand = 3,         // text: one address of the expansion
    PITrail = 4,        // number: the SmtpTrail direction
    StartTransfer = 5,
    Transfer = 6,       // number: bytes sent so far
};

enum class SmtpTrail : int {
    Command = 0,  // a command the client sent
    Reply = 1,    // a reply line of the server
    Note = 2,     // the engine's own note
};

constexpr int kErrSmtpReply = 161;
constexpr int kErrSmtpConnection = 162;
constexpr int kErrSmtpNoSender = 164;
constexpr int kErrSmtpNoRecipient = 165;
constexpr int kErrSmtpBusy = 166;

inline constexpr const char* kTextSmtpNoSender = "Please specify a sender (From).";
inline constexpr const char* kTextSmtpNoRecipient = "Please specify a recipient (To).";
inline constexpr const char* kTextSmtpBusy = "Busy performing current action.";
inline constexpr const char* kTextSmtpOpenFile = "Can't open file for reading.";

}  // namespace inet

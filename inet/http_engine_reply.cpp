// The reply side of the HTTP engine: the status line, the header lines (joined when they
// arrive in pieces), the body to the Transfer event and to LocalFile, and the status check
// that turns a reply other than 2xx into 151.

#include <utility>

#include "inet/engine_errors.h"
#include "inet/http_engine.h"
#include "inet/http_errors.h"
#include "inet/winsock_errors.h"

namespace inet {

using P = HttpProperty;

namespace {

constexpr int kFirstWinsockCode = 10000;

}  // namespace

void HttpEngine::ConnectedText(int code, const std::string& text) {
    Fire([&] { events_.Connected(code, text); });
}

void HttpEngine::DisconnectedText(int code, const std::string& text) {
    Fire([&] { events_.Disconnected(code, text); });
}

// A receive error (a reset) cuts the reply short: the action must not succeed.
void HttpEngine::OnError(int code, const std::string& text) {
    if (code >= kFirstWinsockCode && !receiveError_) receiveError_ = code;
    Fire([&] { events_.Error(code, text); });
}

void HttpEngine::OnDisconnected(int code) {
    // A last head line that the close cut off still counts.
    if (phase_ != Phase::Body && !headLine_.empty() && !replyError_) HeadLine(std::exchange(headLine_, {}), false);
    Fire([&] { events_.EndTransfer(kDirectionIn); });
    MessageConnection::OnDisconnected(code);  // closes LocalFile, reports Disconnected
}

int HttpEngine::OnDataIn(const char* data, std::size_t length, bool endOfLine) {
    if (replyError_ || phase_ == Phase::Done) return 0;  // the connection is being closed
    std::string_view piece(data, length);
    if (phase_ == Phase::Body) {
        BodyIn(piece);
        return 0;
    }
    return HeadPiece(piece, endOfLine);
}

int HttpEngine::HeadPiece(std::string_view piece, bool endOfLine) {
    if (phase_ == Phase::StatusLine && headLine_.empty() && !piece.starts_with('H')) {
        // No status line: the reply is all body, its first line included.
        phase_ = Phase::Body;
        bodyBytes_ = 0;
        Text(P::StatusLine).Clear();
        SetEOL({});
        std::string first(piece);
        if (endOfLine) first += '\n';
        BodyIn(first);
        if (EndsWithHead()) EndReply();
        return 0;
    }
    headBytes_ += piece.size() + (endOfLine ? 1 : 0);
    headLines_ += endOfLine ? 1 : 0;
    if (headLine_.size() + piece.size() > kMaxHeadLine || headBytes_ > kMaxHead || headLines_ > kMaxHeadLines) {
        FailReply(kErrOutOfMemory);
        return kErrOutOfMemory;
    }
    if (!endOfLine) {
        headLine_.append(piece);
        return 0;
    }
    if (headLine_.empty()) {
        HeadLine(piece, true);
    } else {
        headLine_.append(piece);
        HeadLine(std::exchange(headLine_, {}), true);
    }
    return 0;
}

void HttpEngine::HeadLine(std::string_view line, bool complete) {
    if (complete && line.ends_with('\r')) line.remove_suffix(1);
    if (phase_ == Phase::StatusLine)
        StatusLineIn(line);
    else
        HeaderLineIn(line);
}

void HttpEngine::StatusLineIn(std::string_view line) {
    bodyBytes_ = 0;
    if (Text(P::StatusLine).Set(line)) {
        FailReply(kErrOutOfMemory);
        return;
    }
    phase_ = Phase::Headers;
}

void HttpEngine::HeaderLineIn(std::string_view line) {
    if (line.empty()) {
        phase_ = Phase::Body;
        SetEOL({});
        Fire([&] { events_.StartTransfer(kDirectionIn); });
        if (EndsWithHead()) EndReply();
        return;
    }
    std::string field, value;
    if (static_cast<unsigned char>(line[0]) < 33) {  // a continuation of the previous line
        value = line.substr(1);
    } else if (auto colon = line.find(':'); colon != std::string_view::npos) {
        field = line.substr(0, colon);
        std::string_view rest = line.substr(colon + 1);
        if (rest.starts_with(' ')) rest.remove_prefix(1);
        value = rest;
    } else {
        field = line;
    }
    Fire([&] { events_.Header(field, value); });
}

void HttpEngine::BodyIn(std::string_view chunk) {
    bodyBytes_ += chunk.size();
    // The first failure of LocalFile is the last try: a later chunk must not create the
    // file anew over what was written, and the action reports the failure.
    if (!fileError_ && !LocalFile().empty()) {
        if (!LocalFileOpen() && OpenLocalFile() != 0) {
            fileError_ = kErrFileAccess;
            fileErrorText_ = kTextOpenLocalFile;
        } else if (LocalFileOpen() && WriteLocalFile(chunk.data(), chunk.size()) != 0) {
            fileError_ = kErrWriteLocalFile;
            fileErrorText_ = kTextWriteLocalFile;
        }
    }
    Fire([&] { events_.Transfer(kDirectionIn, static_cast<std::int64_t>(bodyBytes_), chunk); });
}

// The reply cannot be taken in: it is dropped and the connection closed.
void HttpEngine::FailReply(int code) {
    replyError_ = code;
    headLine_.clear();
    OnError(code, kTextReplyOutOfMemory);
    Connect(false);
}

bool HttpEngine::EndsWithHead() const { return static_cast<HttpAction>(currentAction_) == HttpAction::Head; }

// The reply is whole: the connection is closed, and the wait for its end returns.
void HttpEngine::EndReply() {
    phase_ = Phase::Done;
    Connect(false);
}

int HttpEngine::StatusCheck(int result) {
    if (result == kErrInterrupted) return result;
    if (replyError_) return replyError_;
    if (receiveError_) {
        SetLastError(ErrorText(receiveError_));
        return receiveError_;
    }
    if (fileError_) {
        SetLastError(fileErrorText_);
        return fileError_;
    }
    std::string_view status = Text(P::StatusLine).view();
    if (status.empty()) return result;
    auto space = status.find(' ');
    std::string_view rest = space == std::string_view::npos ? std::string_view() : status.substr(space + 1);
    if (rest.starts_with('2')) return result;
    SetLastError(std::string(rest));
    return kErrHttpStatus;
}

}  // namespace inet

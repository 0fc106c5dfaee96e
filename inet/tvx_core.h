#pragma once
// What the internet components share: the exception classes and the rule by which an
// engine's error code becomes an exception. The message is the code in decimal, ": " and
// the text, so a caller can tell by the prefix what happened ("301: Interrupted.",
// "151: 304 Not Modified").

#include <exception>
#include <stdexcept>
#include <string>

namespace inet {

// A failure's message: the code in decimal, ": " and the text.
std::string FailureMessage(int code, const std::string& text);

class ETarvixBase : public std::runtime_error {
public:
    ETarvixBase(int code, const std::string& text);
    int Code;
};

class EtvxHTTP : public ETarvixBase {
public:
    using ETarvixBase::ETarvixBase;
};

class EtvxSMTP : public ETarvixBase {
public:
    using ETarvixBase::ETarvixBase;
};

class TtvxCore {
public:
    virtual ~TtvxCore() = default;

protected:
    // The exception a component raises; each component makes its own class.
    virtual std::exception_ptr CreateException(int code, const std::string& text) const;
    // The engine's last-error text at the moment of the failure.
    virtual std::string EngineLastError() const = 0;
    // Raises CreateException(code, text), with the engine's last-error text when text is empty.
    [[noreturn]] void RaiseError(int code, const std::string& text = {}) const;
};

}  // namespace inet

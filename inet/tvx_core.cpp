#include "inet/tvx_core.h"

namespace inet {

std::string FailureMessage(int code, const std::string& text) { return std::to_string(code) + ": " + text; }

ETarvixBase::ETarvixBase(int code, const std::string& text) : std::runtime_error(FailureMessage(code, text)), Code(code) {}

std::exception_ptr TtvxCore::CreateException(int code, const std::string& text) const {
    return std::make_exception_ptr(ETarvixBase(code, text));
}

void TtvxCore::RaiseError(int code, const std::string& text) const {
    std::rethrow_exception(CreateException(code, text.empty() ? EngineLastError() : text));
}

}  // namespace inet

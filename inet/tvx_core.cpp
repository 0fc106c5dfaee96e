#include "inet/tvx_core.h"

namespace inet {

ETarvixBase::ETarvixBase(int code, const std::string& text)
    : std::runtime_error(std::to_string(code) + ": " + text), Code(code) {}

std::exception_ptr TtvxCore::CreateException(int code, const std::string& text) const {
    return std::make_exception_ptr(ETarvixBase(code, text));
}

void TtvxCore::RaiseError(int code, const std::string& text) const {
    std::rethrow_exception(CreateException(code, text.empty() ? EngineLastError() : text));
}

}  // namespace inet

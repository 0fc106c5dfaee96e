#include "tests/inet/recording_connection.h"

#include <ostream>

namespace inettest {

void PrintTo(const Event& e, std::ostream* os) {
    static const char* const kNames[] = {"Connected", "Disconnected", "Data", "Error"};
    *os << kNames[static_cast<int>(e.kind)] << "(" << e.code;
    if (e.kind == Event::Kind::Data) *os << ", \"" << e.text << "\", " << (e.endOfLine ? "line" : "piece");
    if (e.kind == Event::Kind::Error) *os << ", \"" << e.text << "\"";
    *os << ")";
}

}  // namespace inettest

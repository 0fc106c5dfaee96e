#pragma once
// The process-wide socket binding that every connection holds a reference on while its
// WinsockLoaded setting is on, and the information texts the components show about it.
// POSIX sockets need no start-up, so taking a reference always succeeds; without one a
// connection's socket calls fail with 10093, as before the start of the library.

#include <cstdint>
#include <string>

namespace inet::winsock {

bool Acquire();
// Gives one reference back; does nothing once none is held.
void Release();
int References();

// Description and system status, as the startup data would give them: "Down" while no
// reference is held.
std::string Info();
std::string Status();
std::uint16_t MaxSockets();
std::uint16_t MaxUdpDatagram();

// The library name setting, kept as a text; an empty name restores the default.
std::string Path();
void SetPath(const std::string& path);

}  // namespace inet::winsock

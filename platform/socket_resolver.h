#pragma once
// Host-name look-up for the internet components: a dotted IPv4 address is taken as it is,
// anything else goes to getaddrinfo (IPv4 only). Tests install their own resolver, so a
// failed look-up can be tested without DNS.

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// Returns 0 and the first IPv4 address in network order, or a Winsock code (11001 ...).
using HostResolver = std::function<int(const std::string& host, std::uint32_t& addressNet)>;

int ResolveHost(const std::string& host, std::uint32_t& addressNet);
// The dotted form of an IPv4 address in network order.
std::string DottedAddress(std::uint32_t addressNet);
// Replaces the resolver for the whole process (empty: getaddrinfo again); returns the old one.
HostResolver SetHostResolver(HostResolver resolver);
// The machine's host name, or a Winsock code.
int LocalHostName(std::string& name);

}  // namespace platform

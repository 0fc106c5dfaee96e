#include "platform/socket_resolver.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>

#include "platform/socket_errors.h"

namespace platform {

namespace {

std::mutex resolverLock;  // guards installedResolver
HostResolver installedResolver;

int SystemResolve(const std::string& host, std::uint32_t& addressNet) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int result = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result != 0) return wsa::FromAddrInfo(result);
    int code = wsa::kNoData;
    for (addrinfo* ai = found; ai; ai = ai->ai_next) {
        if (ai->ai_family == AF_INET) {
            addressNet = reinterpret_cast<sockaddr_in*>(ai->ai_addr)->sin_addr.s_addr;
            code = 0;
            break;
        }
    }
    freeaddrinfo(found);
    return code;
}

}  // namespace

int ResolveHost(const std::string& host, std::uint32_t& addressNet) {
    in_addr dotted{};
    if (inet_aton(host.c_str(), &dotted)) {
        addressNet = dotted.s_addr;
        return 0;
    }
    HostResolver resolver;
    {
        std::lock_guard<std::mutex> hold(resolverLock);
        resolver = installedResolver;
    }
    return resolver ? resolver(host, addressNet) : SystemResolve(host, addressNet);
}

std::string DottedAddress(std::uint32_t addressNet) {
    char text[INET_ADDRSTRLEN] = {};
    in_addr address{addressNet};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

HostResolver SetHostResolver(HostResolver resolver) {
    std::lock_guard<std::mutex> hold(resolverLock);
    std::swap(installedResolver, resolver);
    return resolver;
}

int LocalHostName(std::string& name) {
    char buffer[HOST_NAME_MAX + 1] = {};
    if (gethostname(buffer, sizeof buffer - 1) < 0) return wsa::FromErrno(errno);
    name = buffer;
    return 0;
}

}  // namespace platform

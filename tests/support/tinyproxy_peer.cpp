#include "tests/support/tinyproxy_peer.h"

#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

TinyproxyPeer::TinyproxyPeer(const std::filesystem::path& folder, const std::string& user,
                             const std::string& password)
    : folder_(folder / "tinyproxy") {
    std::filesystem::create_directories(folder_);
    const std::string program = FindProgram("tinyproxy");
    if (program.empty()) return;
    port_ = StartOnFreePort(process_, folder_ / "output.log", [&](std::uint16_t port) {
        std::string conf = "Port " + std::to_string(port) + "\nListen 127.0.0.1\nTimeout 30\nMaxClients 16\n";
        conf += "Allow 127.0.0.1\nDisableViaHeader Yes\nLogLevel Info\n";
        conf += "LogFile \"" + (folder_ / "tinyproxy.log").string() + "\"\n";
        if (!user.empty()) conf += "BasicAuth " + user + " " + password + "\n";
        WriteFile(folder_ / "tinyproxy.conf", conf);
        return std::vector<std::string>{program, "-d", "-c", (folder_ / "tinyproxy.conf").string()};
    });
}

std::string TinyproxyPeer::Log() const { return ReadFile(folder_ / "tinyproxy.log"); }

}  // namespace testsupport

#include "tests/support/nginx_peer.h"

#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

NginxPeer::NginxPeer(const std::filesystem::path& folder, const std::string& serverLines, int workerConnections,
                     const std::string& httpLines)
    : folder_(folder / "nginx"), root_(folder_ / "www") {
    std::filesystem::create_directories(root_);
    std::filesystem::create_directories(folder_ / "temp");
    const std::string program = FindProgram("nginx");
    if (program.empty()) return;
    const std::string f = folder_.string();
    port_ = StartOnFreePort(process_, folder_ / "output.log", [&](std::uint16_t port) {
        std::string conf;
        conf += "worker_processes 1;\nmaster_process off;\n";
        conf += "error_log " + f + "/error.log info;\npid " + f + "/nginx.pid;\n";
        conf += "events { worker_connections " + std::to_string(workerConnections) + "; }\n";
        conf += "http {\n  access_log off;\n  keepalive_timeout 0;\n  default_type application/octet-stream;\n";
        conf += "  types { image/jpeg jpg; text/plain txt; text/html html; }\n";
        for (const char* temp : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
            conf += std::string("  ") + temp + "_temp_path " + f + "/temp/" + temp + ";\n";
        conf += httpLines;
        conf += "  server {\n    listen 127.0.0.1:" + std::to_string(port) + ";\n    server_name localhost;\n";
        conf += "    root " + root_.string() + ";\n" + serverLines + "\n  }\n}\n";
        WriteFile(folder_ / "nginx.conf", conf);
        return std::vector<std::string>{program, "-p", f + "/", "-c", f + "/nginx.conf", "-g", "daemon off;"};
    });
}

std::string NginxPeer::Url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::string NginxPeer::BasicAuthLocation(const std::filesystem::path& passwordFile, const std::string& location,
                                         const std::string& user, const std::string& password) {
    WriteFile(passwordFile, user + ":{PLAIN}" + password + "\n");
    return "    location " + location + " { auth_basic \"cams\"; auth_basic_user_file " + passwordFile.string() +
           "; }\n";
}

std::string NginxPeer::ErrorLog() const { return ReadFile(folder_ / "error.log"); }

}  // namespace testsupport

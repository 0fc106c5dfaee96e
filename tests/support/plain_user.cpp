#include "tests/support/plain_user.h"

#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/xvfb_display.h"

#include <pwd.h>
#include <unistd.h>

namespace testsupport {

namespace {
constexpr uid_t kOverflowId = 65534;  // "nobody" where the password file has no such entry
}  // namespace

PlainUser::PlainUser() : changes_(geteuid() == 0), uid_(geteuid()), gid_(getegid()) {
    if (!changes_) return;
    const passwd* nobody = getpwnam("nobody");
    uid_ = nobody ? nobody->pw_uid : kOverflowId;
    gid_ = nobody ? nobody->pw_gid : kOverflowId;
}

std::vector<std::string> PlainUser::Command(std::vector<std::string> argv) const {
    if (!changes_) return argv;
    const std::vector<std::string> asUser{FindProgram("setpriv"), "--reuid=" + std::to_string(uid_),
                                          "--regid=" + std::to_string(gid_), "--clear-groups", "--"};
    argv.insert(argv.begin(), asUser.begin(), asUser.end());
    return argv;
}

::testing::AssertionResult PlainUser::Passes(const char* check, const std::filesystem::path& path) const {
    const ProgramResult result = RunProgram(Command({FindProgram("test"), check, path.string()}));
    if (result.exit_code == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "user " << uid_ << " fails test " << check << " " << path
                                         << ": a folder above it is closed to that user " << result.err;
}

std::string PlainUser::Runnable(const std::filesystem::path& program) {
    if (!changes_) return program.string();
    if (!programs_) {
        programs_.emplace();
        if (chown(programs_->path().c_str(), uid_, gid_) != 0) {
            ADD_FAILURE() << "cannot give " << programs_->path() << " to user " << uid_;
            return {};
        }
    }
    const std::filesystem::path copy = programs_->path() / program.filename();
    std::error_code error;
    std::filesystem::copy_file(program, copy, std::filesystem::copy_options::overwrite_existing, error);
    if (error || chown(copy.c_str(), uid_, gid_) != 0) {
        ADD_FAILURE() << "cannot copy " << program << " for user " << uid_ << ": " << error.message();
        return {};
    }
    const ::testing::AssertionResult runs = Passes("-x", copy);
    if (!runs) {
        ADD_FAILURE() << runs.message();
        return {};
    }
    return copy.string();
}

::testing::AssertionResult PlainUser::HandOver(const std::filesystem::path& folder) const {
    if (!changes_) return ::testing::AssertionSuccess();
    if (chown(folder.c_str(), uid_, gid_) != 0)
        return ::testing::AssertionFailure() << "cannot give " << folder << " to user " << uid_;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (lchown(entry.path().c_str(), uid_, gid_) != 0)
            return ::testing::AssertionFailure() << "cannot give " << entry.path() << " to user " << uid_;
    return Passes("-w", folder);
}

pid_t PlainUser::Start(const std::string& program, const std::vector<std::string>& arguments,
                       const std::vector<std::string>& environment, const std::string& logFile) const {
    std::vector<std::string> command = Command({program});
    command.insert(command.end(), arguments.begin(), arguments.end());
    const std::string first = command.front();
    command.erase(command.begin());
    return StartProgram(first, command, environment, logFile);
}

}  // namespace testsupport

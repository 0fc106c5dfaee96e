// cmake --install puts the programs, the launcher, the desktop entry and the icon where a Linux
// desktop looks for them, and the launcher gives ovl a program folder the user can write.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QImage>

#include <filesystem>
#include <string>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

bool Executable(const fs::path& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IXUSR);
}

TEST(Install, PutsTheProgramsTheDesktopEntryAndTheIconInTheirPlaces) {
    testsupport::TempDir temp;
    const fs::path prefix = temp.path() / "usr";
    const testsupport::ProgramResult installed =
        testsupport::RunProgram({"cmake", "--install", ORVELLO_BUILD_DIR, "--prefix", prefix.string()});
    ASSERT_EQ(installed.exit_code, 0) << installed.out << installed.err;

    EXPECT_TRUE(Executable(prefix / "bin/ovl"));
    EXPECT_TRUE(Executable(prefix / "bin/orvello"));
    if (fs::exists(fs::path(ORVELLO_BUILD_DIR) / "ovlsaver")) EXPECT_TRUE(Executable(prefix / "bin/ovlsaver"));

    const std::string entry = testsupport::ReadFile(prefix / "share/applications/orvello.desktop");
    for (const char* line : {"[Desktop Entry]\n", "\nType=Application\n", "\nName=Orvello\n", "\nExec=orvello\n",
                             "\nIcon=orvello\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    for (int size : {48, 128, 256}) {
        const std::string dir = std::to_string(size) + "x" + std::to_string(size);
        const QImage icon(QString::fromStdString((prefix / "share/icons/hicolor" / dir / "apps/orvello.png").string()));
        EXPECT_EQ(icon.size(), QSize(size, size)) << dir;
    }
}

// The launcher runs the installed ovl with the user's own folder as its program folder; here
// the program it starts is a stand-in that reports that folder.
TEST(Install, TheLauncherGivesOvlAFolderOfTheUsersOwn) {
    testsupport::TempDir temp;
    const fs::path bin = temp.path() / "bin";
    fs::create_directories(bin);
    fs::copy_file(fs::path(ORVELLO_SOURCE_DIR) / "ui/app/orvello", bin / "orvello");
    testsupport::WriteFile(bin / "ovl", "#!/bin/sh\necho \"$ORVELLO_PROGRAM_DIR|$*\"\n");
    fs::permissions(bin / "ovl", fs::perms::owner_all);
    const fs::path data = temp.path() / "data";
    const testsupport::ProgramResult run =
        testsupport::RunProgram({"env", "-u", "ORVELLO_PROGRAM_DIR", "XDG_DATA_HOME=" + data.string(),
                                 (bin / "orvello").string(), "-AUTOCAP"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, (data / "Orvello").string() + "|-AUTOCAP\n");
    EXPECT_TRUE(fs::is_directory(data / "Orvello"));
}

}  // namespace

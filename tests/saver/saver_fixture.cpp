#include "tests/saver/saver_fixture.h"

#include "engine/definition_files.h"
#include "engine/regconfig.h"
#include "platform/qt/gui_loop.h"
#include "platform/settings_store.h"
#include "tests/support/webcam_defs.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace savertest {
namespace {

// The test program's application and the bridge that serves other threads' calls from its
// event loop, made before the first test.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_saver";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        bridge_ = std::make_unique<platform::GuiEventBridge>();
    }
    void TearDown() override {
        bridge_.reset();
        app_.reset();
    }

private:
    std::unique_ptr<QApplication> app_;
    std::unique_ptr<platform::GuiEventBridge> bridge_;
};

[[maybe_unused]] const bool kRegistered = (::testing::AddGlobalTestEnvironment(new ApplicationEnvironment), true);

}  // namespace

std::string JpegOf(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes.toStdString();
}

std::string BuiltProgram(const char* name) {
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    self[n] = '\0';
    return (std::filesystem::path(self).parent_path().parent_path() / name).string();
}

void SaverTest::SetUp() {
    IsolatedTest::SetUp();
    // The lock files too, so that no test meets another's (or a running program's) locks.
    const std::filesystem::path runtime = temp_.path() / "run";
    std::filesystem::create_directories(runtime);
    std::filesystem::create_directories(dataDir());
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
        hadRuntime_ = true;
        oldRuntime_ = old;
    }
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    testsupport::StoreDataFolder(dataFolder());
}

void SaverTest::TearDown() {
    if (hadRuntime_) setenv("XDG_RUNTIME_DIR", oldRuntime_.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
    IsolatedTest::TearDown();
}

void SaverTest::WriteSavedRedWebcam() {
    WriteWebcams({{"http://127.0.0.1:1/cam.jpg", "Harbour", 3, false, "The harbour"}});
    StoreSaverSettings([](engine::TExtra1Rec& r) { r.SaverSavedOnly = 1; });
}

void SaverTest::WriteWebcams(const std::vector<WebcamSpec>& webcams) {
    for (std::size_t i = 0; i < webcams.size(); ++i) {
        const WebcamSpec& spec = webcams[i];
        engine::TWebcamDefRec rec = engine::ZeroRecord<engine::TWebcamDefRec>();
        rec.PictureURL.assign(spec.url);
        rec.Name.assign(spec.name);
        rec.Description.assign(spec.description);
        rec.Refresh = 30;
        rec.Enabled = 1;
        rec.InSaverList = spec.onList ? 1 : 0;
        ASSERT_TRUE(engine::WriteDefRecord(dataFolder(), static_cast<int>(i), rec));
        const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
        const std::string picture = JpegOf(64, 48, colours[i % 4]);
        for (int p = 0; p < spec.savedPictures; ++p) {
            char file[32];
            std::snprintf(file, sizeof file, "pic%04d.jpg", p);
            testsupport::WriteFile(dataDir() / spec.name / file, picture);
        }
    }
}

engine::TExtra1Rec SaverTest::Extra1() const {
    engine::tregconfig store;
    engine::TExtra1Rec rec;
    store.ReadSaverExtra1(rec);
    return rec;
}

void SaverTest::StoreExtra1(const engine::TExtra1Rec& rec) const {
    platform::SettingsKey(engine::kSettingsKey, true).WriteBinary("EXTRA1", &rec, sizeof rec);
}

}  // namespace savertest

// Stopping every webcam and destroying the manager while 64 fetch threads are in transfers.

#include "engine/fetch_thread_services.h"
#include "engine/regconfig.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/dispatch.h"
#include "tests/support/nginx_peer.h"
#include "tests/support/peers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/watchdog.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace std::chrono_literals;

class FetchThreadShutdownTest : public testsupport::IsolatedTest {};

TEST_F(FetchThreadShutdownTest, StopAllAndDestroyWithEveryThreadBusy) {
    ORVELLO_NEED_PEER("nginx");
    testsupport::NginxPeer nginx(temp_.path() / "nginx", "    location /slow/ { limit_rate 1k; }\n");
    ASSERT_TRUE(nginx.Running());
    std::filesystem::create_directories(nginx.root() / "slow");
    testsupport::WriteFile(nginx.root() / "slow" / "a.jpg", std::string(64 * 1024, 'x'));
    std::filesystem::create_directories(dataDir());
    auto settings = std::make_shared<engine::FetchThreadSettings>();
    settings->newPicture = [](engine::twebcam&, const std::string&, const std::string&, engine::PreparedPicture*) {
        return engine::PictureVerdict::Taken;
    };
    testsupport::Watchdog watchdog(60s);
    auto manager = std::make_unique<engine::twebcammanager>(dataDir().string() + "/", 64, engine::DefaultExtra1(),
                                                            engine::DefaultConfig(),
                                                            engine::FetchThreadServices(settings));
    for (int i = 0; i < 80; ++i) {
        auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
        rec.PictureURL = nginx.Url("/slow/a.jpg");
        rec.Name = "cam" + std::to_string(i);
        rec.Refresh = 60;
        rec.Enabled = 1;
        manager->AppendWebcam(rec, engine::ZeroRecord<engine::TWebcamDef1Rec>(), false);
    }
    manager->StartAll();
    ASSERT_TRUE(platform::Dispatcher::Main().WaitUntil(
        [&] {
            int header = 0, picture = 0;
            manager->CountThreadStates(header, picture);
            return picture == 64;
        },
        5ms, std::chrono::steady_clock::now() + 20s));
    manager->StopAll();
    EXPECT_EQ(manager->RunningCount(), 0);
    for (int i = 1; i <= manager->Count(); ++i) EXPECT_FALSE(manager->GetWebcam(i)->FBusy);
    manager.reset();
}

}  // namespace

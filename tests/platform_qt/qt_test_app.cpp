// The test program's application object: the program's own, so that exceptions leaving event
// handlers are handled as in the program.
#include <gtest/gtest.h>

#include <memory>

#include "platform/qt/application.h"

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_platform_qt";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<platform::Application>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<platform::Application> app_;
};

[[maybe_unused]] const bool kRegistered =
    (::testing::AddGlobalTestEnvironment(new ApplicationEnvironment), true);

}  // namespace

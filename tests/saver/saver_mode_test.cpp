#include "saver/saver_mode.h"

#include <gtest/gtest.h>

namespace {

using saver::SaverMode;

TEST(SaverMode, FirstParameterSelectsTheMode) {
    const struct {
        const char* parameter;
        SaverMode mode;
    } cases[] = {
        {"", SaverMode::None},          {"/X", SaverMode::None},
        {"/p 123", SaverMode::Preview}, {"/s", SaverMode::Run},
        {"-S", SaverMode::Run},         {"s", SaverMode::Run},
        {"/c:1234", SaverMode::Configure}, {"-c", SaverMode::Configure},
        {"C", SaverMode::Configure},    {"/a 1234", SaverMode::ChangePassword},
        {"-", SaverMode::None},         {"x/s", SaverMode::None},
    };
    for (const auto& c : cases) EXPECT_EQ(saver::ModeFromParameter(c.parameter), c.mode) << '"' << c.parameter << '"';
}

}  // namespace

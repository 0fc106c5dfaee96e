#include "engine/webcam_list.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(WebcamList, HoldsButNeverOwnsItsItems) {
    auto* a = reinterpret_cast<engine::twebcam*>(0x10);
    auto* b = reinterpret_cast<engine::twebcam*>(0x20);
    auto list = std::make_unique<engine::twebcamlist1>();
    EXPECT_EQ(list->MaxCount(), 0);
    EXPECT_EQ(list->Add(a), 0);
    EXPECT_EQ(list->Add(b), 1);
    list->Put(0, nullptr);
    EXPECT_EQ(list->Get(0), nullptr);
    EXPECT_EQ(list->Get(1), b);
    EXPECT_THROW(list->Get(2), std::out_of_range);
    EXPECT_THROW(list->Put(-1, a), std::out_of_range);
    list->SetOwnsObjects(true);
    list->Clear();  // would crash on the fake pointers if it freed anything
    EXPECT_EQ(list->Count(), 0);
    list->Add(a);
    list.reset();
}

}  // namespace

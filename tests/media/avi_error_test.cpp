#include "media/avi_error.h"

#include <gtest/gtest.h>

namespace {

using namespace media;

std::string MessageOf(AVIResult code) {
  try {
    Check(code);
  } catch (const EMMAVIError& e) {
    EXPECT_EQ(e.Code(), code);
    return e.what();
  }
  return "passed";
}

TEST(AVIErrorTest, MessagesCarryTheCodeInUpperCaseHexAndItsText) {
  const struct {
    AVIResult code;
    const char* message;
  } cases[] = {
      {AVIERR_CANTCOMPRESS, "AVI error (80044075): Can't compress"},
      {AVIERR_UNSUPPORTED, "AVI error (80044065): Unsupported"},
      {AVIERR_BADPARAM, "AVI error (8004406A): Bad parameter"},
      {AVIERR_FILEWRITE, "AVI error (8004406E): Error writing file"},
      {AVIERR_ERROR, "AVI error (800440C7): Error"},
      {0x80044099, "AVI error (80044099): Unknown error"},
      {0x1, "AVI error (       1): Unknown error"},  // width 8, space-filled
  };
  for (const auto& c : cases) EXPECT_EQ(MessageOf(c.code), c.message);
}

TEST(AVIErrorTest, CheckPassesSuccessAndTheAllowedCodes) {
  EXPECT_NO_THROW(Check(AVIERR_OK));
  EXPECT_NO_THROW(Check(AVIERR_NODATA, {AVIERR_BADPARAM, AVIERR_NODATA}));
  EXPECT_THROW(Check(AVIERR_FILEREAD, {AVIERR_NODATA}), EMMAVIError);
}

}  // namespace

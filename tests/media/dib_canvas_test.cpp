#include "media/dib_canvas.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace media;

// Runs a drawing pass on the canvas.
template <typename F>
void Draw(TMMDIBCanvas& canvas, F&& f) {
  canvas.BeginDraw();
  f();
  canvas.EndDraw();
}

std::string Message(const std::function<void()>& f) {
  try {
    f();
  } catch (const EMMDIBError& e) {
    return e.what();
  }
  return "no error";
}

class DIBCanvasTest : public ::testing::TestWithParam<int> {};

TEST_P(DIBCanvasTest, PixelRoutinesWriteTheRightPixels) {
  TMMDIBCanvas canvas;
  canvas.SetBitsPerPixel(GetParam());
  canvas.SetSize(10, 6);
  EXPECT_EQ(canvas.DIB().RowSize(), GetParam() == 24 ? 32 : 12);
  Draw(canvas, [&] {
    canvas.SetColor(clBlue);
    canvas.Clear();
    canvas.SetColor(clRed);
    canvas.FillRect({8, 4, 20, 20});  // clipped to the DIB
    canvas.SetColor(clBtnFace);       // a system colour
    canvas.FillRectDoted({1, 1, 5, 4});
    canvas.SetColor(clLime);
    canvas.Line(0, 5, 3, 2);
    canvas.SetPixel(-1, 0);  // outside: nothing
  });
  EXPECT_EQ(canvas.Pixel(0, 0), clBlue);
  EXPECT_EQ(canvas.Pixel(8, 4), clRed);
  EXPECT_EQ(canvas.Pixel(9, 5), clRed);
  EXPECT_EQ(canvas.Pixel(7, 4), clBlue);
  EXPECT_EQ(canvas.Pixel(1, 1), clSilver);
  EXPECT_EQ(canvas.Pixel(3, 1), clSilver);
  EXPECT_EQ(canvas.Pixel(2, 1), clBlue);  // every second pixel
  EXPECT_EQ(canvas.Pixel(1, 2), clBlue);  // of every second row
  EXPECT_EQ(canvas.Pixel(3, 3), clSilver);
  for (int i = 0; i <= 3; ++i) EXPECT_EQ(canvas.Pixel(i, 5 - i), clLime) << i;
}

TEST_P(DIBCanvasTest, BackgroundIsStretchedOrLaidAtItsOwnSize) {
  Bitmap picture(2, 2);
  picture.SetPixel(0, 0, clRed);
  picture.SetPixel(1, 0, clLime);
  picture.SetPixel(0, 1, clBlue);
  picture.SetPixel(1, 1, clWhite);

  TMMDIBCanvas canvas;
  canvas.SetBitsPerPixel(GetParam());
  canvas.SetSize(4, 4);
  canvas.SetBackGroundBitmap(picture);
  EXPECT_TRUE(canvas.HasBackground());
  EXPECT_EQ(canvas.Pixel(1, 1), clRed);
  EXPECT_EQ(canvas.Pixel(3, 0), clLime);
  EXPECT_EQ(canvas.Pixel(0, 3), clBlue);
  EXPECT_EQ(canvas.Pixel(2, 2), clWhite);

  canvas.SetStretchBackGround(false);
  EXPECT_EQ(canvas.Pixel(1, 1), clWhite);
  EXPECT_EQ(canvas.Pixel(2, 2), clBlack);

  // Drawing over it and laying it in again.
  Draw(canvas, [&] {
    canvas.SetColor(clYellow);
    canvas.Clear();
    canvas.DrawBackground();
  });
  EXPECT_EQ(canvas.Pixel(0, 0), clRed);
  EXPECT_EQ(canvas.Pixel(3, 3), clBlack);

  canvas.SetBackGroundBitmap(Bitmap());
  EXPECT_FALSE(canvas.HasBackground());
  EXPECT_EQ(canvas.Pixel(0, 0), clBlack);
}

INSTANTIATE_TEST_SUITE_P(Depths, DIBCanvasTest, ::testing::Values(8, 24));

TEST(DIBCanvasRulesTest, UnsupportedDepthRaisesAndKeepsTheDepth) {
  TMMDIBCanvas canvas;
  canvas.SetBitsPerPixel(24);
  for (int bits : {16, 32, 4, 0}) {
    EXPECT_EQ(Message([&] { canvas.SetBitsPerPixel(bits); }), "Bitlength not supported yet");
    EXPECT_EQ(canvas.BitsPerPixel(), 24);
    EXPECT_EQ(canvas.DIB().BitCount(), 24);
  }
}

TEST(DIBCanvasRulesTest, TheDIBIsNeverReplacedDuringAPass) {
  TMMDIBCanvas canvas;
  canvas.SetSize(4, 4);
  canvas.BeginDraw();
  canvas.SetSize(8, 2);  // deferred
  EXPECT_EQ(canvas.Width(), 8);
  EXPECT_EQ(canvas.DIB().Width(), 4);
  EXPECT_TRUE(canvas.RecreatePending());
  EXPECT_EQ(Message([&] { canvas.RecreateDIB(); }), "Attempt to create new DIB while initialized for drawing");
  EXPECT_EQ(Message([&] { canvas.SetBitsPerPixel(24); }), "Attempt to create new DIB while initialized for drawing");
  EXPECT_EQ(canvas.BitsPerPixel(), 8);
  EXPECT_EQ(Message([&] { canvas.SetBackGroundBitmap(Bitmap(2, 2)); }),
            "Attempt to create new DIB while initialized for drawing");
  canvas.BeginDraw();  // nested passes count
  canvas.EndDraw();
  EXPECT_TRUE(canvas.Drawing());
  canvas.EndDraw();
  EXPECT_EQ(canvas.DIB().Width(), 4);  // still the old one until the next pass
  canvas.BeginDraw();
  EXPECT_EQ(canvas.DIB().Width(), 8);
  EXPECT_EQ(canvas.DIB().Height(), 2);
  canvas.EndDraw();
  canvas.EndDraw();  // unbalanced: ignored
  EXPECT_FALSE(canvas.Drawing());
}

TEST(DIBCanvasRulesTest, PixelRoutinesNeedAPassAndCopyNeedsTheSameShape) {
  TMMDIBCanvas a, b;
  EXPECT_EQ(Message([&] { a.FillRect({0, 0, 1, 1}); }), "DIB not initialized for drawing");
  EXPECT_EQ(Message([&] { a.SetColor(clRed); }), "DIB not initialized for drawing");
  a.SetSize(3, 3);
  b.SetSize(3, 3);
  Draw(b, [&] {
    b.SetColor(clFuchsia);
    b.Clear();
  });
  Draw(a, [&] { a.CopyFrom(b); });
  EXPECT_EQ(a.Pixel(2, 2), clFuchsia);
  b.SetBitsPerPixel(24);
  Draw(a, [&] { EXPECT_EQ(Message([&] { a.CopyFrom(b); }), "DIB size or depth differs"); });
  Draw(a, [&] { EXPECT_EQ(Message([&] { a.DrawBackground(); }), "DIB has no background"); });
}

TEST(DIBCanvasRulesTest, EightBitCanvasUsesTheStaticColours) {
  TMMDIBCanvas canvas;
  EXPECT_EQ(canvas.DIB().Color(0), ToRGBQuad(clBlack));
  EXPECT_EQ(canvas.DIB().Color(9), ToRGBQuad(RGBColor(166, 202, 240)));
  EXPECT_EQ(canvas.DIB().Color(249), ToRGBQuad(clRed));
  EXPECT_EQ(canvas.DIB().Color(255), ToRGBQuad(clWhite));
  Draw(canvas, [&] {
    canvas.SetColor(RGBColor(10, 250, 240));  // nearest: aqua
    canvas.Clear();
  });
  EXPECT_EQ(canvas.DIB().Row(0)[0], 254);
  EXPECT_EQ(canvas.Pixel(0, 0), clAqua);
}

}  // namespace

#include "media/qt/dib_graphic_control.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "media/bitmap_to_dib.h"
#include "media/qt/qt_convert.h"

namespace {

using namespace media;

QRgb Rgb(TColor c) { return ToQColor(c).rgb(); }

TEST(DIBGraphicControlTest, BackgroundPictureOrColourFillsTheCanvas) {
  TMMDIBGraphicControl control;
  control.SetColor(clTeal);
  control.resize(8, 4);
  control.show();  // delivers the resize: the canvas takes the control's size
  EXPECT_EQ(control.DIBCanvas().Width(), 8);
  EXPECT_EQ(control.DIBCanvas().Height(), 4);

  TMMDIBCanvas& canvas = control.DIBCanvas();
  {
    const DIBDrawPass pass(canvas);
    control.DrawBackground();
  }
  EXPECT_EQ(canvas.Pixel(7, 3), clTeal);

  QImage picture(2, 1, QImage::Format_RGB32);
  picture.setPixel(0, 0, qRgb(255, 0, 0));
  picture.setPixel(1, 0, qRgb(0, 0, 255));
  control.SetBitsPerPixel(24);
  control.SetBackgroundPicture(picture);
  {
    const DIBDrawPass pass(canvas);
    canvas.SetColor(clWhite);
    canvas.Clear();
    control.DrawBackground();
  }
  EXPECT_EQ(canvas.Pixel(0, 0), clRed);  // stretched over the whole canvas
  EXPECT_EQ(canvas.Pixel(3, 3), clRed);
  EXPECT_EQ(canvas.Pixel(4, 0), clBlue);

  // Drawn onto a painter from a source position.
  QImage screen(4, 2, QImage::Format_RGB32);
  screen.fill(Qt::black);
  {
    QPainter painter(&screen);
    DrawTo(painter, canvas, QRect(1, 0, 3, 2), 3, 0);
  }
  EXPECT_EQ(screen.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(screen.pixel(1, 0), Rgb(clRed));
  EXPECT_EQ(screen.pixel(2, 1), Rgb(clBlue));
}

TEST(QtConvertTest, ImagesAndPackedDIBsRoundTrip) {
  QImage frame(3, 2, QImage::Format_RGB32);
  frame.fill(Qt::white);
  frame.setPixel(0, 0, qRgb(10, 20, 30));
  frame.setPixel(2, 1, qRgb(200, 100, 50));
  for (int orientation : {kBottomUp, kTopDown}) {
    const std::optional<PackedDIB> dib = BitmapToDIB(RowsOf(frame), {}, 24, orientation);
    ASSERT_TRUE(dib);
    const QImage back = ImageOf(*dib);
    EXPECT_EQ(back.size(), frame.size());
    EXPECT_EQ(back.pixel(0, 0), qRgb(10, 20, 30)) << orientation;
    EXPECT_EQ(back.pixel(2, 1), qRgb(200, 100, 50)) << orientation;
    EXPECT_EQ(back.pixel(1, 1), qRgb(255, 255, 255)) << orientation;
  }
  // Formats the rows cannot be read in without a conversion give no DIB.
  EXPECT_FALSE(BitmapToDIB(RowsOf(frame.convertToFormat(QImage::Format_RGB16)), {}, 24, kBottomUp));

  const Bitmap copy = BitmapFromImage(frame.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  EXPECT_EQ(copy.Width(), 3);
  EXPECT_EQ(copy.Pixel(2, 1), RGBColor(200, 100, 50));
  EXPECT_TRUE(BitmapFromImage(QImage()).Empty());
}

}  // namespace

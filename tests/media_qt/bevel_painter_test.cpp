#include "media/qt/bevel_painter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "media/qt/graphic_control.h"
#include "media/qt/qt_convert.h"

namespace {

using namespace media;

QRgb Rgb(TColor c) { return ToQColor(c).rgb(); }

TEST(BevelPainterTest, PaintsEachRingWithItsCornersAndReturnsTheInside) {
  TMMBevel bevel;
  bevel.SetBorderStyle(bsSingle);
  bevel.SetBorderWidth(2);
  bevel.SetBorderColor(clRed);
  QImage image(20, 10, QImage::Format_RGB32);
  image.fill(Qt::green);
  QRect inside;
  {
    QPainter painter(&image);
    inside = PaintBevel(painter, bevel, image.rect(), true);
  }
  EXPECT_EQ(inside, QRect(4, 4, 12, 2));
  struct Probe { int x, y; TColor color; };
  const Probe probes[] = {
      {0, 0, clBlack}, {19, 9, clBlack}, {10, 0, clBlack},  // the window frame
      {1, 1, clBtnShadow}, {1, 8, clBtnShadow}, {10, 1, clBtnShadow},  // lowered: shadow top left
      {18, 1, clBtnHighlight}, {18, 8, clBtnHighlight}, {10, 8, clBtnHighlight},
      {2, 2, clRed}, {3, 3, clRed}, {16, 6, clRed},  // the border, 2 wide
  };
  for (const Probe& p : probes) EXPECT_EQ(image.pixel(p.x, p.y), Rgb(p.color)) << p.x << "," << p.y;
  EXPECT_EQ(image.pixel(4, 4), QColor(Qt::green).rgb());  // the inside is untouched
}

TEST(GraphicControlTest, FillsTheInsideWithItsColourUnlessLeftUnfilled) {
  TMMGraphicControl control;
  control.resize(30, 12);
  control.SetColor(clNavy);
  control.Bevel().SetBevelOuterWidth(2);
  EXPECT_EQ(control.InnerRect(), QRect(2, 2, 26, 8));
  QImage image = control.grab().toImage();
  EXPECT_EQ(image.pixel(0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(image.pixel(29, 11), Rgb(clBtnHighlight));
  EXPECT_EQ(image.pixel(2, 2), Rgb(clNavy));
  EXPECT_EQ(image.pixel(27, 9), Rgb(clNavy));

  control.SetInsideUnfilled(true);
  image.fill(Qt::green);
  control.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);  // no background of its own
  EXPECT_EQ(image.pixel(15, 6), QColor(Qt::green).rgb());
  EXPECT_EQ(image.pixel(0, 0), Rgb(clBtnShadow));
}

TEST(GraphicControlTest, ClickNeedsPressAndReleaseOverTheControl) {
  TMMGraphicControl control;
  control.resize(20, 10);
  int clicks = 0;
  QObject::connect(&control, &TMMGraphicControl::clicked, [&] { ++clicks; });
  auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button) {
    QMouseEvent event(type, at, control.mapToGlobal(at), button,
                      type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&control, &event);
  };
  send(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, {6, 5}, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  send(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, {50, 5}, Qt::LeftButton);  // released outside
  send(QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton);   // no press before it
  send(QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
  send(QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton);
  EXPECT_EQ(clicks, 1);
}

}  // namespace

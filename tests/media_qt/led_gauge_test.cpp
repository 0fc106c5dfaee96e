#include "media/qt/led_gauge.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <string>

#include "media/qt/qt_convert.h"
#include "tests/media_qt/render_output.h"

namespace {

using namespace media;

QRgb Rgb(TColor c) { return ToQColor(c).rgb(); }

TEST(LEDGaugeTest, DefaultsGiveNinetyNineSpotsInThreeZones) {
  TMMLEDGauge gauge;
  EXPECT_EQ(gauge.size(), QSize(200, 17));
  EXPECT_EQ(gauge.Bevel().Extent(), 1);
  EXPECT_EQ(gauge.BarRect(), QRect(1, 1, 198, 15));
  EXPECT_EQ(gauge.Color(), clBlack);
  EXPECT_EQ(gauge.Kind(), gkHorizontal);
  EXPECT_EQ(gauge.Bar3Color(), clRed);
  EXPECT_EQ(gauge.Inactive1Color(), 0x808000u);
  EXPECT_EQ(gauge.SpotCount(), 99);
  EXPECT_EQ(gauge.FirstSpot(), 0);
  EXPECT_EQ(gauge.Zone1End(), 49);
  EXPECT_EQ(gauge.Zone2End(), 84);
  EXPECT_EQ(gauge.minimumSize(), QSize(4, 2));

  gauge.SetProgress(50);
  EXPECT_EQ(gauge.ActiveSpots(), 49);  // all of them in zone 1
  gauge.SetProgress(100);
  EXPECT_EQ(gauge.ActiveSpots(), 99);

  gauge.resize(102, 17);  // a 100-pixel bar
  gauge.SetSpotWidth(5);
  gauge.SetSpotSpace(2);
  EXPECT_EQ(gauge.SpotCount(), 14);
  EXPECT_EQ(gauge.FirstSpot(), 2);
  EXPECT_EQ(gauge.ActiveSpots(), 14);  // the lit share follows a new layout
}

TEST(LEDGaugeTest, PropertiesAreKeptInTheirRanges) {
  struct Case {
    const char* name;
    void (TMMLEDGauge::*set)(int);
    int (TMMLEDGauge::*get)() const;
    int value, stored;
  };
  const Case cases[] = {
      {"progress below", &TMMLEDGauge::SetProgress, &TMMLEDGauge::Progress, -5, 0},
      {"progress above", &TMMLEDGauge::SetProgress, &TMMLEDGauge::Progress, 250, 100},
      {"point 1 below", &TMMLEDGauge::SetPoint1, &TMMLEDGauge::Point1, 0, 1},
      {"point 1 above", &TMMLEDGauge::SetPoint1, &TMMLEDGauge::Point1, 150, 100},
      {"point 2 below", &TMMLEDGauge::SetPoint2, &TMMLEDGauge::Point2, -1, 1},
      {"spot space above", &TMMLEDGauge::SetSpotSpace, &TMMLEDGauge::SpotSpace, 20, 10},
      {"spot space below", &TMMLEDGauge::SetSpotSpace, &TMMLEDGauge::SpotSpace, -3, 0},
      {"spot width 0", &TMMLEDGauge::SetSpotWidth, &TMMLEDGauge::SpotWidth, 0, 1},
      {"spot width on a 30-pixel bar", &TMMLEDGauge::SetSpotWidth, &TMMLEDGauge::SpotWidth, 50, 10},
  };
  for (const Case& c : cases) {
    TMMLEDGauge gauge;
    gauge.resize(32, 17);  // a 30-pixel bar
    (gauge.*c.set)(c.value);
    EXPECT_EQ((gauge.*c.get)(), c.stored) << c.name;
  }
  TMMLEDGauge gauge;
  gauge.SetPoint(1, 150);
  EXPECT_EQ(gauge.Point2(), 100);
  EXPECT_EQ(gauge.Zone2End(), 99);
}

TEST(LEDGaugeTest, KindTurnsTheControlAndTheBevelShrinksTheBar) {
  TMMLEDGauge gauge;
  gauge.SetKind(gkVertical);
  EXPECT_EQ(gauge.size(), QSize(17, 200));
  EXPECT_EQ(gauge.SpotCount(), 99);
  gauge.SetKind(gkHorizontal);
  EXPECT_EQ(gauge.size(), QSize(200, 17));

  gauge.Bevel().SetBorderStyle(bsSingle);
  gauge.Bevel().SetBorderWidth(2);
  EXPECT_EQ(gauge.BarRect(), QRect(4, 4, 192, 9));
  EXPECT_EQ(gauge.SpotCount(), 96);
  EXPECT_EQ(gauge.minimumSize(), QSize(10, 8));
}

TEST(LEDGaugeTest, OtherBitDepthsAreRefused) {
  TMMLEDGauge gauge;
  gauge.SetBitsPerPixel(24);
  try {
    gauge.SetBitsPerPixel(16);
    ADD_FAILURE() << "16 bits accepted";
  } catch (const EMMDIBError& e) {
    EXPECT_STREQ(e.what(), "Bitlength not supported yet");
  }
  EXPECT_EQ(gauge.BitsPerPixel(), 24);
}

// A gauge of 14 spots, 5 pixels long and 2 apart, in six distinct colours at 90 %:
// spots 1-7 zone 1, 8-11 zone 2, 12 zone 3 lit, 13-14 unlit zone 3.
class LEDGaugeRenderTest : public ::testing::TestWithParam<int> {
 protected:
  void Configure(TMMLEDGauge& gauge) {
    gauge.SetBitsPerPixel(GetParam());
    gauge.SetSpotWidth(5);
    gauge.SetSpotSpace(2);
    gauge.SetBar1Color(clLime);
    gauge.SetBar2Color(clYellow);
    gauge.SetBar3Color(clRed);
    gauge.SetInactive1Color(clGreen);
    gauge.SetInactive2Color(clOlive);
    gauge.SetInactive3Color(clMaroon);
    gauge.SetProgress(90);
  }
  // Spot i begins this many pixels from the control's start edge (bevel 1, first spot 2).
  static int SpotStart(int i) { return 1 + 2 + (i - 1) * 7; }

  static void ExpectSpots(const QImage& image, bool horizontal, bool reversed) {
    const TColor expected[] = {clLime,   clLime,   clLime,   clLime, clLime,   clLime,  clLime,
                               clYellow, clYellow, clYellow, clYellow, clRed, clMaroon, clMaroon};
    const int length = horizontal ? image.width() : image.height();
    for (int i = 1; i <= 14; ++i) {
      const int start = reversed ? length - 1 - SpotStart(i) - 4 : SpotStart(i);
      for (int along : {start, start + 4}) {
        for (int across : {1, 10}) {
          const int x = horizontal ? along : across, y = horizontal ? across : along;
          EXPECT_EQ(image.pixel(x, y), Rgb(expected[i - 1])) << "spot " << i << " at " << x << "," << y;
        }
      }
      const int gap = reversed ? start - 1 : start + 5;
      EXPECT_EQ(image.pixel(horizontal ? gap : 5, horizontal ? 5 : gap), Rgb(clBlack)) << "gap after " << i;
    }
    EXPECT_EQ(image.pixel(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), Rgb(clBtnHighlight));
  }
};

TEST_P(LEDGaugeRenderTest, HorizontalGaugeFillsToTheRight) {
  TMMLEDGauge gauge;
  gauge.resize(102, 12);
  Configure(gauge);
  const QImage image = gauge.grab().toImage();
  ASSERT_FALSE(testsupport::SaveRender(image, QString("led_gauge_horizontal_%1").arg(GetParam())).isEmpty());
  ExpectSpots(image, true, false);

  // The unlit image follows its colours and the control's colour.
  gauge.SetInactive3Color(clNavy);
  gauge.SetColor(clWhite);
  const QImage changed = gauge.grab().toImage();
  EXPECT_EQ(changed.pixel(SpotStart(14), 5), Rgb(clNavy));
  EXPECT_EQ(changed.pixel(SpotStart(1) + 5, 5), Rgb(clWhite));
  EXPECT_EQ(changed.pixel(SpotStart(12), 5), Rgb(clRed));
}

TEST_P(LEDGaugeRenderTest, VerticalReversedGaugeFillsFromTheTopDown) {
  TMMLEDGauge gauge;
  gauge.SetKind(gkVertical);
  gauge.resize(12, 102);
  gauge.SetDirection(dirReversed);
  Configure(gauge);
  const QImage image = gauge.grab().toImage();
  ASSERT_FALSE(testsupport::SaveRender(image, QString("led_gauge_vertical_reversed_%1").arg(GetParam())).isEmpty());
  ExpectSpots(image, false, false);  // reversed vertical counts from the top, like a normal horizontal one

  gauge.SetDirection(dirNormal);  // grows upward
  ExpectSpots(gauge.grab().toImage(), false, true);
}

TEST_P(LEDGaugeRenderTest, DottedSpotsLeaveEverySecondPixel) {
  TMMLEDGauge gauge;
  gauge.resize(102, 12);
  Configure(gauge);
  gauge.SetActiveDoted(true);
  QImage image = gauge.grab().toImage();
  const int lit = SpotStart(1), unlit = SpotStart(14);
  EXPECT_EQ(image.pixel(lit, 1), Rgb(clLime));
  EXPECT_EQ(image.pixel(lit + 2, 3), Rgb(clLime));
  EXPECT_EQ(image.pixel(lit + 1, 1), Rgb(clGreen));  // the unlit image shows between the dots
  EXPECT_EQ(image.pixel(lit, 2), Rgb(clGreen));
  EXPECT_EQ(image.pixel(unlit + 1, 1), Rgb(clMaroon));

  gauge.SetInactiveDoted(true);
  image = gauge.grab().toImage();
  EXPECT_EQ(image.pixel(unlit, 1), Rgb(clMaroon));
  EXPECT_EQ(image.pixel(unlit + 1, 1), Rgb(clBlack));
  EXPECT_EQ(image.pixel(lit + 1, 1), Rgb(clBlack));
  EXPECT_EQ(image.pixel(lit, 1), Rgb(clLime));
}

INSTANTIATE_TEST_SUITE_P(Depths, LEDGaugeRenderTest, ::testing::Values(8, 24));

TEST(LEDGaugeTest, DrawBarHandlerPaintsTheWholeBar) {
  TMMLEDGauge gauge;
  gauge.resize(52, 10);
  TRect seen;
  int spots = -1;
  gauge.SetOnDrawBar([&](TMMLEDGauge& sender, TMMDIBCanvas& dib, const TRect& rect, int n) {
    EXPECT_EQ(&sender, &gauge);
    seen = rect;
    spots = n;
    dib.SetColor(clFuchsia);
    dib.Clear();
  });
  gauge.SetProgress(40);
  const QImage image = gauge.grab().toImage();
  EXPECT_EQ(seen, (TRect{0, 0, 50, 8}));
  EXPECT_EQ(spots, 10);  // 40 % of 25 spots
  EXPECT_EQ(image.pixel(1, 1), Rgb(clFuchsia));
  EXPECT_EQ(image.pixel(50, 8), Rgb(clFuchsia));
}

// A burst of changes paints the bar once, with the next frame, showing the last value.
TEST(LEDGaugeTest, ProgressRedrawsAShownGaugeOnceWithTheNextFrame) {
  TMMLEDGauge gauge;
  int paints = 0, litPainted = -1;
  gauge.SetOnDrawBar([&](TMMLEDGauge&, TMMDIBCanvas&, const TRect&, int lit) {
    ++paints;
    litPainted = lit;
  });
  gauge.show();
  QApplication::processEvents();
  const int before = paints;
  for (int value : {30, 80, 50}) gauge.SetProgress(value);
  EXPECT_EQ(paints, before);  // nothing inside the calls
  QApplication::processEvents();
  EXPECT_EQ(paints, before + 1);
  EXPECT_EQ(litPainted, gauge.ActiveSpots());
  EXPECT_EQ(litPainted, 49);  // 50 % of 99 spots
  gauge.SetProgress(50);  // unchanged: nothing
  QApplication::processEvents();
  EXPECT_EQ(paints, before + 1);
}

// The bar shows lit spots, not the number: a value that lights as many spots as before paints
// nothing (a status gauge's numbers change with every turn of every webcam).
TEST(LEDGaugeTest, ProgressPaintsOnlyWhenTheLitSpotsChange) {
  struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) ++paints;
      return false;
    }
  } counter;
  TMMLEDGauge gauge;
  gauge.resize(52, 10);  // 25 spots: 4 % a spot
  gauge.installEventFilter(&counter);
  gauge.show();
  QApplication::processEvents();
  const struct {
    int value, lit;
    bool paints;
  } steps[] = {{40, 10, true}, {43, 10, false}, {41, 10, false}, {44, 11, true}, {100, 25, true}, {99, 24, true}};
  for (const auto& step : steps) {
    const int before = counter.paints;
    gauge.SetProgress(step.value);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints > before, step.paints) << step.value;
    EXPECT_EQ(gauge.ActiveSpots(), step.lit) << step.value;
  }
}

}  // namespace

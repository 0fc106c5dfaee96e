#include "ui/viewer/zoom.h"
#include "ui/viewer/viewer_texts.h"

#include <gtest/gtest.h>

namespace {

using ui::PictureSize;

TEST(ViewerZoom, FitAndScaleArithmetic) {
    struct Case {
        int mode;
        PictureSize picture, box, expected;
    };
    const std::vector<Case> cases = {
        {-1, {640, 480}, {600, 400}, {521, 392}},  // A = 592/392, P = 1.333 < A
        {-2, {640, 480}, {600, 400}, {521, 392}},
        {3, {640, 480}, {600, 400}, {480, 360}},
        {-1, {160, 120}, {600, 400}, {160, 120}},  // never enlarged
        {-2, {160, 120}, {600, 400}, {521, 392}},
        {-1, {800, 200}, {600, 400}, {592, 143}},  // P > A: trunc(400 x 1.510 / 4) - 8
        {-1, {592, 392}, {600, 400}, {592, 392}},  // P = A: the whole area
        {1, {641, 483}, {1, 1}, {160, 120}},
        {2, {641, 483}, {1, 1}, {320, 241}},
        {4, {641, 483}, {1, 1}, {641, 483}},
        {5, {641, 483}, {1, 1}, {960, 723}},
        {6, {640, 480}, {1, 1}, {1280, 960}},
        {7, {640, 480}, {1, 1}, {1920, 1440}},
        // A minimised viewer and a picture too small to scale down never give 0 or less.
        {-2, {640, 480}, {0, 0}, {1, 1}},
        {-1, {640, 480}, {5, 300}, {1, 1}},
        {1, {3, 3}, {600, 400}, {1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::ZoomedSize(c.mode, c.picture, c.box), c.expected)
            << c.mode << " " << c.picture.width << "x" << c.picture.height << " in " << c.box.width << "x"
            << c.box.height;
    EXPECT_EQ(ui::CentredOrigin({521, 392}, {600, 400}), (PictureSize{39, 4}));
    EXPECT_EQ(ui::CentredOrigin({1280, 960}, {600, 400}), (PictureSize{0, 0}));
}

TEST(ViewerZoom, ButtonsAndLabels) {
    struct Case {
        int mode;
        const char* label;
        int zoomIn, zoomOut;
        bool inEnabled, outEnabled;
    };
    const std::vector<Case> cases = {
        {-2, "(étirer)", 5, 3, true, true},   {-1, "(ajuster)", 5, 3, true, true},
        {1, " (25%)", 2, 3, true, false},     {2, " (50%) ", 3, 1, true, true},
        {3, " (75%)", 4, 2, true, true},      {4, " (100%)", 5, 3, true, true},
        {5, " (150%) ", 6, 4, true, true},    {6, " (200%) ", 7, 5, true, true},
        {7, " (300%) ", 8, 6, false, true},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(ui::IsZoomMode(c.mode));
        EXPECT_EQ(ui::ZoomLabel(c.mode), QString::fromUtf8(c.label)) << c.mode;
        EXPECT_EQ(ui::ZoomIn(c.mode), c.zoomIn) << c.mode;
        EXPECT_EQ(ui::ZoomOut(c.mode), c.zoomOut) << c.mode;
        EXPECT_EQ(ui::ZoomInEnabled(c.mode), c.inEnabled) << c.mode;
        EXPECT_EQ(ui::ZoomOutEnabled(c.mode), c.outEnabled) << c.mode;
    }
    for (int mode : {-3, 0, 8}) EXPECT_FALSE(ui::IsZoomMode(mode));
}

TEST(ViewerTexts, FormatAge) {
    struct Case {
        double days;
        const char* text;
    };
    const std::vector<Case> cases = {
        {3.0, "3  jour(s)"},       {2.5, "2  jour(s)"},      {2.0, "48  heure(s)"},
        {1.0 / 12 + 1e-6, "2  heure(s)"}, {1.0 / 12, "120  minute(s)"}, {0.05, "72  minute(s)"},
        {0.0, "0  minute(s)"},     {600.0, "600  jour(s)"},  {600.5, "inconnu"},
        {46000.0, "inconnu"},
    };
    for (const Case& c : cases) EXPECT_EQ(ui::FormatAge(c.days), QString::fromUtf8(c.text)) << c.days;
}

TEST(ViewerTexts, CaptionShorteningSizeAndLinks) {
    const QString path35 = QStringLiteral("/data/webcams/cam/x123456789012.jpg");
    ASSERT_EQ(path35.size(), 35);
    EXPECT_EQ(ui::ShortenCaption(path35), path35);
    const QString path36 = QStringLiteral("/data/webcams/cams/x123456789012.jpg");
    EXPECT_EQ(ui::ShortenCaption(path36), QStringLiteral("/da.../x123456789012.jpg"));
    EXPECT_EQ(ui::PictureSizeText(0), QString());
    EXPECT_EQ(ui::PictureSizeText(1234), QStringLiteral(" 1234octects"));
    EXPECT_EQ(ui::SizeLabelText(640, 480), QStringLiteral("Taille 640 x 480"));

    struct Link {
        const char* url;
        bool opens;
    };
    for (const Link& l : std::vector<Link>{{"http://example.org/cam", true},
                                           {"HTTPS://example.org/", true},
                                           {"  http://example.org/  ", true},
                                           {"file:///etc/passwd", false},
                                           {"javascript:alert(1)", false},
                                           {"ftp://example.org/", false},
                                           {"http:relative", false},
                                           {"example.org", false},
                                           {"", false}})
        EXPECT_EQ(ui::IsWebLink(QString::fromUtf8(l.url)), l.opens) << l.url;
}

TEST(ViewerTexts, CaptionOfAFileAndAgeOfAWebcam) {
    const platform::TDateTime t = platform::EncodeDate(2026, 12, 10) + platform::EncodeTime(8, 15, 2);
    const platform::TDateTime now = t + 0.05;
    EXPECT_EQ(ui::PictureCaptionText(QStringLiteral("/d/cam/cam20261210081502.jpg"), QStringLiteral("short"), now, 3, 9),
              QString::fromUtf8("Enregistré à 08:15:02 10/12/2026 - 72  minute(s) ( 3de9 )"));
    EXPECT_EQ(ui::PictureCaptionText(QStringLiteral("/d/cam/notes.jpg"), QStringLiteral("short"), now, 3, 9),
              QStringLiteral("short"));
    EXPECT_EQ(ui::PictureCaptionText(QStringLiteral("/d/cam/cam_lastframe.jpg"), QString(), now, 1, 1),
              QString::fromUtf8("Montrer la dernière image"));
    EXPECT_EQ(ui::PictureCaptionText(QString(), QString(), now, 1, 1), QString());

    EXPECT_EQ(ui::WebcamAgeText(now, 0, 0, 0), QString());
    EXPECT_EQ(ui::WebcamAgeText(now, t, 0, 0), QString::fromUtf8(" - Dernière image enregistré 72  minute(s)"));
    // With both server dates the age counts from the picture's Last-Modified.
    EXPECT_EQ(ui::WebcamAgeText(now, t, t, t - 0.02), QStringLiteral(" - Actif depuis 100  minute(s)"));
}

}  // namespace

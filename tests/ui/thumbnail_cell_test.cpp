#include "ui/grid/thumbnail_cell.h"

#include "tests/ui/dialog_test_support.h"

#include <QLabel>
#include <QPixmap>

#include "media/qt/qt_convert.h"

namespace {

using media::TColor;

QColor Colour(TColor c) { return media::ToQColor(c); }

struct PixelCheck {
    int x, y;
    TColor colour;
    const char* what;
};

void ExpectPixels(const QImage& cell, std::initializer_list<PixelCheck> checks) {
    for (const PixelCheck& c : checks)
        EXPECT_EQ(QColor(cell.pixel(c.x, c.y)), Colour(c.colour)) << c.what << " at " << c.x << "," << c.y;
}

ui::ThumbnailCellLook Look(std::uint8_t status, bool selected) {
    ui::ThumbnailCellLook look;
    look.name = QStringLiteral("Une webcam au nom bien trop long pour sa case");
    look.thumbnail = QImage(86, 80, QImage::Format_RGB32);
    look.thumbnail.fill(QColor(0x33, 0x66, 0x99));
    look.status = status;
    look.indicatorColor = media::clLime;
    look.selected = selected;
    return look;
}

constexpr TColor kThumb = media::RGBColor(0x33, 0x66, 0x99);

// A cell of 98 x 106 (thumbnail 86 x 80): the raised frame on (2, 2)-(96, 104), the sunken one
// on (4, 4)-(93, 85), the thumbnail on (6, 6)-(92, 86), the lamps in (86, 89)-(91, 94) and
// (86, 95)-(91, 100), the name clipped to (6, 90)-(82, 102).
TEST(RenderThumbnailCell, FramesThumbnailAndLampsAtTheirPixels) {
    const QImage cell = ui::RenderThumbnailCell({98, 106}, Look(7, false));
    ExpectPixels(cell, {{0, 0, media::clSilver, "outside the frames"},
                        {1, 50, media::clSilver, "outside the frames"},
                        {2, 2, media::clWhite, "raised frame, top-left corner"},
                        {50, 2, media::clWhite, "raised frame, top"},
                        {2, 103, media::clWhite, "raised frame, bottom-left corner"},
                        {95, 2, media::clGray, "raised frame, top-right corner"},
                        {95, 50, media::clGray, "raised frame, right"},
                        {50, 103, media::clGray, "raised frame, bottom"},
                        {96, 50, media::clSilver, "right of the raised frame"},
                        {50, 104, media::clSilver, "below the raised frame"},
                        {4, 4, media::clGray, "sunken frame, top-left"},
                        {50, 4, media::clGray, "sunken frame, top"},
                        {4, 50, media::clGray, "sunken frame, left"},
                        {92, 50, media::clWhite, "sunken frame, right"},
                        {92, 84, media::clWhite, "sunken frame, bottom-right corner"},
                        {5, 5, media::clSilver, "inside the sunken frame"},
                        {6, 6, kThumb, "thumbnail, first pixel"},
                        {91, 85, kThumb, "thumbnail, last pixel"},
                        {50, 84, kThumb, "thumbnail over the sunken frame's bottom line"},
                        {50, 86, media::clSilver, "below the thumbnail"},
                        {88, 91, media::clRed, "status lamp of an error"},
                        {86, 91, media::clBlack, "status lamp outline, left"},
                        {88, 89, media::clBlack, "status lamp outline, top"},
                        {90, 92, media::clBlack, "status lamp outline, right"},
                        {86, 89, media::clSilver, "status lamp box corner"},
                        {88, 97, media::clLime, "indicator lamp"},
                        {88, 95, media::clBlack, "indicator lamp outline, top"},
                        {88, 99, media::clBlack, "indicator lamp outline, bottom"},
                        {91, 97, media::clSilver, "right of the lamps"}});
    // The long name stays inside its strip: nothing between the strip and the lamps.
    for (int y = 90; y < 102; ++y)
        for (int x = 82; x < 86; ++x) EXPECT_EQ(QColor(cell.pixel(x, y)), Colour(media::clSilver)) << x << "," << y;
    bool nameDrawn = false;
    for (int y = 90; y < 102; ++y)
        for (int x = 6; x < 82; ++x) nameDrawn = nameDrawn || QColor(cell.pixel(x, y)) != Colour(media::clSilver);
    EXPECT_TRUE(nameDrawn);
}

TEST(RenderThumbnailCell, SelectionDisabledAndLampsOff) {
    const QImage selected = ui::RenderThumbnailCell({98, 106}, Look(4, true));
    ExpectPixels(selected, {{1, 1, media::clNavy, "outer selection frame, top-left"},
                            {1, 105, media::clNavy, "outer selection frame, bottom-left"},
                            {95, 50, media::clNavy, "outer selection frame, right"},
                            {50, 105, media::clNavy, "outer selection frame, bottom"},
                            {2, 50, media::clNavy, "inner selection frame, left"},
                            {94, 50, media::clNavy, "inner selection frame, right"},
                            {50, 104, media::clNavy, "inner selection frame, bottom"},
                            {96, 50, media::clSilver, "right of the selection"},
                            {0, 50, media::clSilver, "left of the selection"},
                            {88, 91, media::clLime, "status lamp while fetching the picture"}});

    ui::ThumbnailCellLook off = Look(7, false);
    off.enabled = false;
    off.statusLeds = false;
    off.thumbnail = QImage();
    const QImage disabled = ui::RenderThumbnailCell({98, 106}, off);
    ExpectPixels(disabled, {{0, 0, media::clGray, "disabled background"},
                            {50, 50, media::clGray, "no thumbnail"},
                            {88, 91, media::clGray, "no status lamp"},
                            {88, 97, media::clGray, "no indicator lamp"}});
    ExpectPixels(ui::RenderThumbnailCell({48, 50}, off), {{36, 35, media::clGray, "small cell, no lamp"}});

    QLabel shot;
    QImage big = ui::RenderThumbnailCell({98, 106}, Look(7, true)).scaled(392, 424);
    shot.setPixmap(QPixmap::fromImage(big));
    shot.resize(big.size());
    dialogtest::SaveScreenshot(shot, "thumbnail_cell_x4");
}

TEST(CellLookOf, LampAndNameColours) {
    struct Case {
        bool favourite, resting, newPicture;
        TColor indicator, name;
    };
    for (const Case& c : {Case{true, true, false, media::clLime, media::clBtnText},
                          Case{false, true, true, media::clRed, media::clRed},
                          Case{false, false, false, media::clYellow, media::clBtnText}}) {
        ui::GridWebcam webcam;
        webcam.favourite = c.favourite;
        webcam.resting = c.resting;
        webcam.newPicture = c.newPicture;
        const ui::ThumbnailCellLook look = ui::CellLookOf(webcam, {}, true);
        EXPECT_EQ(look.indicatorColor, c.indicator);
        EXPECT_EQ(look.nameColor, c.name);
    }
    const TColor statusColours[] = {media::clBtnFace, media::clBlue,  media::clYellow, media::clBtnFace, media::clLime,
                                    media::clFuchsia, media::clBtnFace, media::clRed,  media::clBtnFace};
    for (int status = 0; status < 9; ++status)
        EXPECT_EQ(ui::StatusLampColor(static_cast<std::uint8_t>(status)), statusColours[status]) << status;
}

}  // namespace

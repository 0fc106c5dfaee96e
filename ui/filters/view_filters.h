#pragma once
// The main window's side of the view filter and of the manager's three events: ComboBox1Change,
// Timer4Timer, WebcamStatusChanged, NewPictureArrived, StreamPictureArrived. Events for a webcam
// that is not the current one never touch the viewer; while the disk page shows, an event only
// redraws the cell and the quick-bar button. Main thread only.

#include <cstdint>
#include <string>

namespace engine {
class twebcammanager;
class twebcampicture;
}  // namespace engine
namespace media {
class TMMLEDGauge;
}

namespace ui {

class PictureView;
class ViewFilterHost;

// MMLEDGauge5 after a picture of this kind: 0 without a motion test, else the score with both
// zone points at threshold x 4.
void UpdateMotionGauge(media::TMMLEDGauge& gauge, std::uint8_t kind, int score, int threshold);

class ViewFilters {
public:
    ViewFilters(engine::twebcammanager& manager, ViewFilterHost& host, PictureView& view)
        : manager_(manager), host_(host), view_(view) {}

    // Rebuilds the display map from the host's filter item at the current local time.
    void ApplyViewFilter();
    void ComboBox1Change();
    // Every 30 s: the time filters only.
    void Timer4Timer();

    // The manager's events (Index 0-based).
    void WebcamStatusChanged(int Index, int Status);
    void NewPictureArrived(int Index, const std::string& FileName, const std::string* Stream, std::uint8_t Kind,
                           engine::twebcampicture* Picture, int Score);
    void StreamPictureArrived(int Index, const std::string& FileName, const std::string* Stream, std::uint8_t Kind,
                              engine::twebcampicture* Picture, int Score);

private:
    bool HasCell(int webcam) const;
    void UpdateMotionGauge(std::uint8_t Kind, int Score);
    // Step 2a of both picture events: the current webcam's new picture into the viewer.
    void ShowCurrentPicture(bool stream, const std::string& FileName, engine::twebcampicture* Picture,
                            std::uint8_t Kind, int Score);
    // The cell and the quick-bar button, after every picture.
    void AfterPicture(int webcam);

    engine::twebcammanager& manager_;
    ViewFilterHost& host_;
    PictureView& view_;
};

}  // namespace ui

#pragma once
// The main window's commands on saved picture files and on the viewer's picture: walking
// through the current webcam's pictures (first, previous, next, last, and the latest picture not
// saved after the last file), copying, moving and deleting the pictures selected on the
// "Disque" page, deleting all pictures of the selected webcams, saving the viewer's picture,
// the clipboard, and the AVI movie of the selected pictures. Main thread only.

#include <QImage>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "media/movie_maker.h"

namespace engine {
class twebcammanager;
}

namespace ui {

class TViewer;
class tdiskthumbmanager;

class PictureCommandsHost {
public:
    virtual ~PictureCommandsHost() = default;
    virtual engine::twebcammanager* PictureManager() = 0;  // null before the engine exists
    virtual int CurrentWebcam() const = 0;
    virtual void UpdateMotionGauge(std::uint8_t kind, int score) = 0;
    // First and previous; next and last.
    virtual void SetWalkButtons(bool firstPrevious, bool nextLast) = 0;
    virtual void SetStatusText(const QString& text) = 0;
    virtual void ProcessMessages() = 0;
    // The movie's file name and compressor choices (the save and compression dialogs).
    virtual media::MovieMakerSetup MovieSetup() = 0;
};

struct PictureCommandsState {
    bool& StopRequested;
    int& ShiftState;
};

// A movie of uncompressed frames of this size would pass the AVI limit after this many frames.
int FramesWithinAviLimit(int width, int height, std::uint64_t limit);

class PictureCommands {
public:
    PictureCommands(PictureCommandsHost& host, PictureCommandsState state, tdiskthumbmanager& disk, TViewer& viewer)
        : FHost(host), FState(state), FDisk(disk), FViewer(viewer) {}

    void ToolButton16Click();  // first picture
    void ToolButton10Click();  // previous picture
    void ToolButton11Click();  // next picture
    void ToolButton17Click();  // last picture
    // Enables the four walk buttons by the disk browser's current entry.
    void PictureNavigationButtons();
    bool ShowingLatestUnsaved() const { return FShowingLatestUnsaved; }

    void CopySelectedPictures1Click() { CopyOrMoveSelectedPictures(false); }
    void MoveSelectedPictures1Click() { CopyOrMoveSelectedPictures(true); }
    void DeleteSelectedDiskPictures1Click();
    void DeleteAllPicturesforcurrentwebcam1Click();
    void SaveCurrentPicture1Click();
    void CopyPicturetoClipboard1Click();
    void CopyPictureFilenametoClipboard1Click();
    void SaveselectedpicturesasAVIfile1Click();

    // The paths of the last AVI export.
    const std::vector<std::string>& AviFrameList() const { return FAviFrameList; }

private:
    bool IsPicture(int entry) const;
    void ShowEntry();
    bool CurrentHasImage();
    // The selected pictures (the building of thumbnails stopped first); none: the message, and
    // an empty list.
    std::vector<std::string> SelectedPictures(int noneMessage);
    void CopyOrMoveSelectedPictures(bool move);
    void AviProgress(const std::string& text, bool& abort);

    PictureCommandsHost& FHost;
    PictureCommandsState FState;
    tdiskthumbmanager& FDisk;
    TViewer& FViewer;
    bool FShowingLatestUnsaved = false;
    bool FFirstPreviousEnabled = false;
    bool FNextLastEnabled = false;
    std::vector<std::string> FAviFrameList;
};

}  // namespace ui

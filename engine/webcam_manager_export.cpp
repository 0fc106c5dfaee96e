// The manager's side of list export: which webcams a list gets, and each webcam's block.

#include "engine/list_writer.h"
#include "engine/webcam.h"
#include "engine/webcam_folder.h"
#include "engine/webcam_manager.h"

namespace engine {
namespace {

bool Chosen(const twebcam& webcam, int position, int Mode, int Index) {
    switch (Mode) {
        case 2: return webcam.Rec().Enabled != 0;
        case 3: return webcam.Rec().Enabled == 0;
        case 4: return position == Index;
        case 5: return webcam.FSelected;
        default: return true;
    }
}

}  // namespace

void twebcammanager::SaveWebcamList(const std::string& FileName, int Mode, int Index, bool Append) const {
    std::string blocks;
    for (int i = 1; i <= Count(); ++i)
        if (const twebcam* w = FList.Get(i - 1); w && Chosen(*w, i, Mode, Index)) blocks += WriteWebcamBlock(*w);
    WriteListFile(FileName, Append, blocks);
}

std::string twebcammanager::WriteWebcamBlock(const twebcam& webcam) const {
    const std::string folder = webcam.Folder();  // empty for a name that is not a safe folder name
    const std::vector<std::string> lines = folder.empty() ? std::vector<std::string>() : ReadTextLines(folder + "addhead.txt");
    return FormatListBlock(webcam.Rec(), webcam.Rec2(), lines);
}

}  // namespace engine

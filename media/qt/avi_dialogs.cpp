#include "media/qt/avi_dialogs.h"

namespace media {

TMMAVIOpenDialog::TMMAVIOpenDialog() {
  SetOptions(Options() | ofHideReadOnly | ofNoNetworkButton);
  SetTitle(kOpenAVITitle);
  SetDefaultExt("avi");
  SetFilter(kAVIOpenFilter);
}

TMMAVISaveDialog::TMMAVISaveDialog() {
  SetOptions(Options() | ofOverwritePrompt);
  SetTitle(kSaveAVITitle);
  SetFilter(kAVISaveFilter);
}

}  // namespace media

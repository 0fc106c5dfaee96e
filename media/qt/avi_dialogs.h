#pragma once
// The file dialogs for AVI files: one to open, one to save.

#include "media/qt/file_dialog.h"

namespace media {

// Titles and filters of the AVI dialogs.
inline constexpr char kOpenAVITitle[] = "Open AVI File";
inline constexpr char kSaveAVITitle[] = "Enregistrer le fichier AVI";
inline constexpr char kAVIOpenFilter[] = "AVI-Files(*.avi)|*.avi|Wave-Files(*.wav)|*.wav";
inline constexpr char kAVISaveFilter[] = "AVI-Files(*.avi)|*.avi";

class TMMAVIOpenDialog : public TMMCustomOpenDialog {
 public:
  TMMAVIOpenDialog();
  bool Execute() override { return Run(QFileDialog::AcceptOpen); }
};

// Asks before it overwrites an existing file.
class TMMAVISaveDialog : public TMMAVIOpenDialog {
 public:
  TMMAVISaveDialog();
  bool Execute() override { return Run(QFileDialog::AcceptSave); }
};

}  // namespace media

#pragma once
// The open and save file dialogs of the media components, over QFileDialog: filter pairs in one
// "description|pattern|..." text, a 1-based filter index, an initial folder, title, default
// extension, the option flags of the classic dialog, multi-selection, and a dialog placed at the
// middle of the screen's width and a third of its free height.

#include <QFileDialog>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "media/mm_component.h"

namespace media {

// The option flags, with their classic values. Those Qt's dialog has no counterpart for are kept
// in Options without effect (read-only box, help button, network button, long names, sizing...).
enum TOpenOption : std::uint32_t {
  ofReadOnly = 0x1,
  ofOverwritePrompt = 0x2,
  ofHideReadOnly = 0x4,
  ofNoChangeDir = 0x8,
  ofShowHelp = 0x10,
  ofNoValidate = 0x100,
  ofAllowMultiSelect = 0x200,
  ofExtensionDifferent = 0x400,
  ofPathMustExist = 0x800,
  ofFileMustExist = 0x1000,
  ofCreatePrompt = 0x2000,
  ofShareAware = 0x4000,
  ofNoReadOnlyReturn = 0x8000,
  ofNoTestFileCreate = 0x10000,
  ofNoNetworkButton = 0x20000,
  ofNoLongNames = 0x40000,
  ofOldStyleDialog = 0x80000,
  ofNoDereferenceLinks = 0x100000,
  ofEnableIncludeNotify = 0x400000,
  ofEnableSizing = 0x800000,
};
using TOpenOptions = std::uint32_t;

// A folder without its trailing separator, except a root ("/", "C:\") which keeps it.
QString TrimInitialDir(const QString& dir);
// "desc|pattern|desc|pattern" as Qt name filters, "desc (pattern)", with ";" between patterns
// becoming blanks; a description that already ends with its pattern in parentheses stays as it is.
QStringList NameFiltersOf(const QString& filter);
// Where a window of Size goes on Screen: centred across, at a third of the free height.
QPoint DialogPosition(const QRect& screen, const QSize& size);

class TMMCustomOpenDialog : public TMMCommonDialog {
 public:
  // Shows the configured dialog and answers whether the user confirmed; tests put their own.
  using TShowFunction = std::function<bool(QFileDialog& dialog)>;

  TMMCustomOpenDialog();

  QStringList HistoryList() const { return history_; }
  void SetHistoryList(const QStringList& history) { history_ = history; }
  TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions options) { options_ = options; }
  bool HasOption(TOpenOption option) const { return (options_ & option) != 0; }
  QString Filter() const { return filter_; }
  void SetFilter(const QString& filter) { filter_ = filter; }
  int FilterIndex() const { return filter_index_; }
  void SetFilterIndex(int index) { filter_index_ = index; }
  QString InitialDir() const { return initial_dir_; }
  void SetInitialDir(const QString& dir) { initial_dir_ = TrimInitialDir(dir); }
  QString Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }
  QString DefaultExt() const { return default_ext_; }
  void SetDefaultExt(const QString& ext) { default_ext_ = ext; }
  QString FileName() const { return file_name_; }
  void SetFileName(const QString& name) { file_name_ = name; }
  // The chosen files, full paths; one unless ofAllowMultiSelect.
  QStringList Files() const { return files_; }

  void SetParent(QWidget* parent) { parent_ = parent; }
  void SetShowFunction(TShowFunction show) { show_ = std::move(show); }

  // The open dialog.
  bool Execute() override { return Run(QFileDialog::AcceptOpen); }

 protected:
  // Runs the dialog to open or to save; true when the user confirmed.
  bool Run(QFileDialog::AcceptMode mode);

  // Notifications of the running dialog, each called only when set.
  std::function<void(const QString& path)> OnSelectionChange;
  std::function<void(const QString& folder)> OnFolderChange;
  std::function<void(int filter_index)> OnTypeChange;
  // The user confirmed Files; false keeps the dialog open.
  std::function<bool(const QStringList& files)> OnFileNameOK;

 private:
  void Configure(QFileDialog& dialog, QFileDialog::AcceptMode mode) const;
  void TakeAnswer(const QFileDialog& dialog);

  QStringList history_;
  TOpenOptions options_ = 0;
  QString filter_;
  int filter_index_ = 1;
  QString initial_dir_;
  QString title_;
  QString default_ext_;
  QString file_name_;
  QStringList files_;
  QWidget* parent_ = nullptr;
  TShowFunction show_;
};

}  // namespace media

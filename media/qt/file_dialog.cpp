#include "media/qt/file_dialog.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace media {

namespace {

constexpr int kTitleMax = 79;

// A file dialog that asks before it closes on the user's confirmation.
class CheckedFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  std::function<bool(const QStringList&)> can_close;

  void accept() override {
    // The selection as the base would take it: what is typed, in the folder shown.
    if (can_close && !can_close(selectedFiles())) return;
    QFileDialog::accept();
  }
};

}  // namespace

QString TrimInitialDir(const QString& dir) {
  if (!dir.endsWith('/') && !dir.endsWith('\\')) return dir;
  const bool root = dir.size() == 1 || (dir.size() == 3 && dir[1] == ':');
  return root ? dir : dir.left(dir.size() - 1);
}

QStringList NameFiltersOf(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
    const QString& description = parts[i];
    out << (description.endsWith('(' + patterns + ')') ? description : description + " (" + patterns + ')');
  }
  return out;
}

QPoint DialogPosition(const QRect& screen, const QSize& size) {
  return {screen.left() + (screen.width() - size.width()) / 2, screen.top() + (screen.height() - size.height()) / 3};
}

TMMCustomOpenDialog::TMMCustomOpenDialog()
    : show_([](QFileDialog& dialog) { return dialog.exec() == QDialog::Accepted; }) {}

void TMMCustomOpenDialog::Configure(QFileDialog& dialog, QFileDialog::AcceptMode mode) const {
  dialog.setAcceptMode(mode);
  if (mode == QFileDialog::AcceptSave)
    dialog.setFileMode(QFileDialog::AnyFile);
  else if (HasOption(ofAllowMultiSelect))
    dialog.setFileMode(QFileDialog::ExistingFiles);
  else
    dialog.setFileMode(HasOption(ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !HasOption(ofOverwritePrompt));
  dialog.setOption(QFileDialog::DontResolveSymlinks, HasOption(ofNoDereferenceLinks));

  const QStringList filters = NameFiltersOf(filter_);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    if (filter_index_ >= 1 && filter_index_ <= filters.size()) dialog.selectNameFilter(filters[filter_index_ - 1]);
  }
  if (!initial_dir_.isEmpty()) dialog.setDirectory(initial_dir_);
  if (!title_.isEmpty()) dialog.setWindowTitle(title_.left(kTitleMax));
  dialog.setDefaultSuffix(default_ext_);
  if (!history_.isEmpty()) dialog.setHistory(history_);
  if (!file_name_.isEmpty()) dialog.selectFile(file_name_);

  const QScreen* screen = parent_ ? parent_->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    dialog.adjustSize();
    dialog.move(DialogPosition(screen->geometry(), dialog.size()));
  }
}

void TMMCustomOpenDialog::TakeAnswer(const QFileDialog& dialog) {
  files_ = dialog.selectedFiles();
  file_name_ = files_.value(0);
  const QString suffix = QFileInfo(file_name_).suffix();
  const bool different = !default_ext_.isEmpty() && suffix.compare(default_ext_, Qt::CaseInsensitive) != 0;
  options_ = different ? options_ | ofExtensionDifferent : options_ & ~TOpenOptions(ofExtensionDifferent);
  const qsizetype index = NameFiltersOf(filter_).indexOf(dialog.selectedNameFilter());
  if (index >= 0) filter_index_ = static_cast<int>(index) + 1;
}

bool TMMCustomOpenDialog::Run(QFileDialog::AcceptMode mode) {
  files_.clear();
  CheckedFileDialog dialog(parent_);
  Configure(dialog, mode);
  dialog.can_close = OnFileNameOK;
  if (OnSelectionChange) QObject::connect(&dialog, &QFileDialog::currentChanged, OnSelectionChange);
  if (OnFolderChange) QObject::connect(&dialog, &QFileDialog::directoryEntered, OnFolderChange);
  if (OnTypeChange) {
    QObject::connect(&dialog, &QFileDialog::filterSelected, [this](const QString& filter) {
      OnTypeChange(static_cast<int>(NameFiltersOf(filter_).indexOf(filter)) + 1);
    });
  }
  if (!show_(dialog)) return false;
  TakeAnswer(dialog);
  return true;
}

}  // namespace media

#include "ui/disk/picture_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <filesystem>
#include <optional>
#include <system_error>

#include "engine/folder_files.h"
#include "engine/messages.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "media/avi_error.h"
#include "media/packed_dib.h"
#include "platform/qt/prompts.h"
#include "ui/disk/avi_frames.h"
#include "ui/disk/disk_entry_text.h"
#include "ui/disk/disk_thumb_manager.h"
#include "ui/disk/picture_files.h"
#include "ui/viewer/viewer.h"

namespace ui {
namespace {

QString Message(int number) { return QString::fromStdString(engine::LoadMessage(number)); }
QString Path(const std::string& path) { return QString::fromStdString(path); }

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

std::uint64_t FrameBytes(int width, int height) {
    return static_cast<std::uint64_t>(media::DIBRowSize(width, 24)) * static_cast<std::uint64_t>(height);
}

QString LimitText(std::uint64_t limit) { return QString::number(limit >> 20) + QStringLiteral(" Mo"); }

bool Uncompressed(const std::vector<media::AVICompressOptions>& options) {
    for (const media::AVICompressOptions& o : options)
        if (o.fccHandler != 0) return false;
    return true;
}

}  // namespace

int FramesWithinAviLimit(int width, int height, std::uint64_t limit) {
    // Each frame is a chunk (8 bytes) and an index entry (16); the headers take a few kilobytes.
    const std::uint64_t frame = FrameBytes(width, height) + 8 + 16;
    const std::uint64_t room = limit > 65536 ? limit - 65536 : 0;
    return static_cast<int>(std::min<std::uint64_t>(room / frame, 0x7FFFFFFF));
}

bool PictureCommands::IsPicture(int entry) const {
    const int type = FDisk.ItemType(entry);
    return entry >= 1 && entry <= FDisk.Count() && (type == kEntryJpeg || type == kEntryCam);
}

void PictureCommands::ShowEntry() { FViewer.ShowPictureFile(FDisk.CurrentPath(), true); }

bool PictureCommands::CurrentHasImage() {
    engine::twebcammanager* manager = FHost.PictureManager();
    const int current = FHost.CurrentWebcam();
    return manager && current >= 1 && current <= manager->Count() && manager->GetWebcam(current)->HasImage();
}

void PictureCommands::PictureNavigationButtons() {
    const int index = FDisk.Current(), count = FDisk.Count();
    FFirstPreviousEnabled = (index > 1 && IsPicture(index - 1)) || (index == 1 && FShowingLatestUnsaved);
    FNextLastEnabled = (index + 1 <= count && IsPicture(index + 1)) ||
                       (!FShowingLatestUnsaved && index == count && CurrentHasImage());
    FHost.SetWalkButtons(FFirstPreviousEnabled, FNextLastEnabled);
}

void PictureCommands::ToolButton10Click() {
    if (!FFirstPreviousEnabled) return;
    FState.ShiftState = 0;
    if (FShowingLatestUnsaved) {
        FDisk.SelectItem(FDisk.Count());
        if (!IsPicture(FDisk.Current())) return;
        FShowingLatestUnsaved = false;
        PictureNavigationButtons();
        ShowEntry();
        FHost.UpdateMotionGauge(1, 0);
        return;
    }
    const int index = FDisk.Current();
    FDisk.SelectItem(index - 1);
    if (!IsPicture(FDisk.Current())) {
        FDisk.SelectItem(index);
        return;
    }
    ShowEntry();
}

void PictureCommands::ToolButton11Click() {
    if (!FNextLastEnabled) return;
    FState.ShiftState = 0;
    if (FDisk.Current() + 1 <= FDisk.Count()) {
        FDisk.SelectItem(FDisk.Current() + 1);
        if (IsPicture(FDisk.Current())) ShowEntry();
        return;
    }
    if (FShowingLatestUnsaved || !CurrentHasImage()) return;
    std::unique_ptr<engine::twebcampicture> picture;
    std::string fileName;
    if (!FHost.PictureManager()->GetWebcam(FHost.CurrentWebcam())->GetLatestImage(picture, fileName)) return;
    FViewer.ShowLatestPicture(std::move(picture), std::string());
    FViewer.SetPictureCaption(Message(65220), 0);
    FHost.UpdateMotionGauge(1, 0);
    FViewer.RepaintPicture();
    FShowingLatestUnsaved = true;
    PictureNavigationButtons();
}

void PictureCommands::ToolButton17Click() {
    if (!FNextLastEnabled) return;
    FState.ShiftState = 0;
    FDisk.SelectItem(FDisk.Count());
    engine::twebcammanager* manager = FHost.PictureManager();
    const int current = FHost.CurrentWebcam();
    std::unique_ptr<engine::twebcampicture> picture;
    std::string fileName;
    if (!manager || current < 1 || current > manager->Count() ||
        !manager->GetWebcam(current)->GetLatestImage(picture, fileName)) {
        FViewer.ClearViewer();
        return;
    }
    FViewer.ShowLatestPicture(std::move(picture), fileName);
    FShowingLatestUnsaved = fileName.empty();
    PictureNavigationButtons();
    if (fileName.empty()) {
        FViewer.SetPictureCaption(Message(65221), 0);
        FHost.UpdateMotionGauge(1, 0);
    }
}

// Without any picture entry nothing is shown.
void PictureCommands::ToolButton16Click() {
    if (!FFirstPreviousEnabled) return;
    FState.ShiftState = 0;
    FShowingLatestUnsaved = false;
    FDisk.SelectItem(1);
    while (!IsPicture(FDisk.Current()) && FDisk.Current() < FDisk.Count()) FDisk.SelectItem(FDisk.Current() + 1);
    if (IsPicture(FDisk.Current())) ShowEntry();
    PictureNavigationButtons();
}

std::vector<std::string> PictureCommands::SelectedPictures(int noneMessage) {
    FDisk.CancelThumbnails();
    std::vector<std::string> paths;
    FDisk.ForEachSelected(paths, {kEntryJpeg, kEntryCam});
    if (paths.empty()) platform::CurrentPrompts().Message(Message(noneMessage), platform::Prompts::Icon::Warning);
    return paths;
}

void PictureCommands::CopyOrMoveSelectedPictures(bool move) {
    platform::Prompts& prompts = platform::CurrentPrompts();
    const std::vector<std::string> paths = SelectedPictures(65203);
    if (paths.empty()) return;
    QString chosen = prompts.FolderName(move ? QStringLiteral("Déplacer les images sélectionnées")
                                             : QStringLiteral("Copier les images sélectionnées"),
                                        Path(FDisk.Folder()));
    if (chosen.isEmpty()) return;
    while (chosen.size() > 1 && chosen.endsWith(QLatin1Char('/'))) chosen.chop(1);
    const std::string folder = chosen.toStdString();
    bool moved = false;
    for (const std::string& path : paths) {
        const std::string destination = folder + "/" + EntryName(path);
        FHost.ProcessMessages();
        if (FState.StopRequested) break;
        if (!CopyPictureFile(path, destination)) {
            prompts.Message(Message(65204) + Path(destination), platform::Prompts::Icon::Error);
            continue;
        }
        const std::string companion = CompanionFileName(path);
        std::error_code error;
        const bool hasCompanion = std::filesystem::exists(companion, error);
        const bool companionCopied = hasCompanion && CopyPictureFile(companion, CompanionFileName(destination));
        if (hasCompanion && !companionCopied)
            prompts.Message(Message(65204) + Path(CompanionFileName(destination)), platform::Prompts::Icon::Error);
        if (move) {
            // The source goes only once its copy is whole; a companion that was not copied stays.
            std::filesystem::remove(path, error);
            if (companionCopied) std::filesystem::remove(companion, error);
            moved = true;
        }
    }
    if (!moved) return;
    FDisk.Refresh();
    FViewer.ForgetRemovedFile();
}

void PictureCommands::DeleteSelectedDiskPictures1Click() {
    platform::Prompts& prompts = platform::CurrentPrompts();
    const std::vector<std::string> paths = SelectedPictures(65261);
    if (paths.empty()) return;
    bool deleted = false;
    for (const std::string& path : paths) {
        std::error_code error;
        if (std::filesystem::remove(path, error)) {
            std::filesystem::remove(CompanionFileName(path), error);
            deleted = true;
        } else {
            prompts.Message(Message(65262) + Path(path), platform::Prompts::Icon::Warning);
        }
    }
    if (!deleted) return;
    FDisk.Refresh();
    FViewer.ForgetRemovedFile();
}

void PictureCommands::DeleteAllPicturesforcurrentwebcam1Click() {
    platform::Prompts& prompts = platform::CurrentPrompts();
    FState.ShiftState = 0;
    engine::twebcammanager* manager = FHost.PictureManager();
    if (!manager || manager->Count() < 1) {
        prompts.Message(Message(65229));
        return;
    }
    if (!prompts.Ask(Message(65202))) return;
    const WaitCursor wait;
    for (int i = 1; i <= manager->Count(); ++i) {
        engine::twebcam* webcam = manager->GetWebcam(i);
        if (!webcam || !webcam->FSelected) continue;
        const std::string folder = webcam->Folder();
        if (!folder.empty()) {
            engine::DeleteFilesInFolder(folder, "*.jpg");
            engine::DeleteFilesInFolder(folder, "header.*");
        }
        FDisk.Refresh();
        manager->ClearThumbnail(i);
        FViewer.ClearViewer();
    }
    FViewer.ForgetRemovedFile();
}

// The picture as shown, saved as a JPEG file; one more try after a failure. The file is
// written beside its name and renamed into place, so a failed save leaves no half file.
void PictureCommands::SaveCurrentPicture1Click() {
    platform::Prompts& prompts = platform::CurrentPrompts();
    const QImage shown = FViewer.ShownPicture();
    if (shown.width() == 0) {
        prompts.Message(Message(65184));
        return;
    }
    QString path = prompts.SaveFileName(QStringLiteral("Enregistrer l'image actuelle"), QStringLiteral("image.jpg"),
                                        QStringLiteral("JPEG Files (*.jpg)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".jpg");
    QString error;
    for (int attempt = 0; attempt < 2; ++attempt) {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            QImageWriter writer(&file, "jpg");
            if (writer.write(shown) && file.commit()) return;
            error = writer.error() != QImageWriter::UnknownError ? writer.errorString() : file.errorString();
        } else {
            error = file.errorString();
        }
    }
    prompts.Message(error, platform::Prompts::Icon::Error);
}

void PictureCommands::CopyPicturetoClipboard1Click() {
    FState.ShiftState = 0;
    engine::twebcampicture* picture = FViewer.ViewerJpeg();
    if (!picture) return;
    const std::string& bytes = picture->Bytes();
    const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
    if (image.width() > 0 && image.height() > 0) QApplication::clipboard()->setImage(image);
}

void PictureCommands::CopyPictureFilenametoClipboard1Click() {
    FState.ShiftState = 0;
    // The whole path of the file shown; nothing for a picture that is no file.
    if (!FViewer.ShowsLivePicture() && !FViewer.PreviousFileName().empty())
        QApplication::clipboard()->setText(Path(FViewer.PreviousFileName()));
}


void PictureCommands::AviProgress(const std::string& text, bool& abort) {
    FHost.SetStatusText(QString::fromStdString(text));
    FHost.ProcessMessages();
    abort = FState.StopRequested;
}

void PictureCommands::SaveselectedpicturesasAVIfile1Click() {
    platform::Prompts& prompts = platform::CurrentPrompts();
    FAviFrameList.clear();
    FDisk.ForEachSelected(FAviFrameList, {kEntryJpeg});
    const int count = static_cast<int>(FAviFrameList.size());
    if (count == 0) {
        prompts.Message(Message(65261), platform::Prompts::Icon::Warning);
        return;
    }
    if (count < 4) {
        prompts.Message(Message(65214), platform::Prompts::Icon::Warning);
        return;
    }
    std::optional<AviFrames> frames;
    try {
        frames.emplace(FAviFrameList);  // the first picture gives the movie's frame size
    } catch (const UnreadablePicture&) {
        prompts.Message(QStringLiteral("Unable to parse the JPEG data"), platform::Prompts::Icon::Error);
        return;
    }
    FState.StopRequested = false;
    const WaitCursor wait;

    media::MovieMakerSetup setup = FHost.MovieSetup();
    std::string fileName;
    const auto chooseFile = setup.ChooseFileName;
    setup.ChooseFileName = [&](std::string& name) {
        if (!chooseFile(name)) return false;
        fileName = name;
        return true;
    };
    // Uncompressed frames that would pass the size limit: the user is told before anything is
    // written, and chooses Motion-JPEG or the pictures that fit.
    const int fit = FramesWithinAviLimit(frames->Width(), frames->Height(), setup.MaxFileSize);
    int kept = count;
    const auto chooseCompression = setup.ChooseCompression;
    setup.ChooseCompression = [&](std::vector<media::AVICompressOptions>& options, unsigned flags) {
        for (;;) {
            if (chooseCompression) {
                if (!chooseCompression(options, flags)) return false;
            }
            if (!Uncompressed(options) || count <= fit) return true;
            const QString text = QStringLiteral("Sans compression, ces %1 images dépasseraient la taille limite d'un "
                                                "fichier AVI (%2) : seules les %3 premières y tiennent. Oui : enregistrer "
                                                "les %3 premières images. Non : choisir une autre compression (Motion JPEG).")
                                     .arg(count)
                                     .arg(LimitText(setup.MaxFileSize))
                                     .arg(fit);
            if (prompts.Ask(text, platform::Prompts::Icon::Warning)) {
                kept = fit;
                return true;
            }
            if (!chooseCompression) return false;
        }
    };
    int started = 0;  // frames begun: each one's progress report comes first
    try {
        media::MakeAVIFromFrames(
            setup, count,
            [&](int index) { return frames->Frame(index); },
            [&](int, const std::string& text, bool& abort) {
                AviProgress(text, abort);
                abort = abort || started >= kept;
                ++started;
            },
            2, frames->JpegPictures());
    } catch (const media::EMMAVIError& error) {
        std::error_code size;
        const std::uint64_t written = fileName.empty() ? 0 : std::filesystem::file_size(fileName, size);
        if (error.Code() != media::AVIERR_FILEWRITE ||
            written + FrameBytes(frames->Width(), frames->Height()) + (1 << 20) < setup.MaxFileSize)
            throw;
        prompts.Message(QStringLiteral("Le film a atteint la taille limite d'un fichier AVI (%1) : les %2 premières "
                                       "images ont été gardées.")
                            .arg(LimitText(setup.MaxFileSize))
                            .arg(started - 1),
                        platform::Prompts::Icon::Warning);
    } catch (const UnreadablePicture& error) {
        // A picture that does not decode ends the movie before it; what was written stays.
        prompts.Message(QStringLiteral("L'image %1 n'a pas pu être lue : le film s'arrête à l'image précédente.")
                            .arg(Path(error.what())),
                        platform::Prompts::Icon::Error);
    }
}

}  // namespace ui

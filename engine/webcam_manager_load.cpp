// The manager's list operations: loading the data folder, adding, deleting, selecting and
// blanking thumbnails. Main thread only.

#include "engine/definition_files.h"
#include "engine/list_text.h"
#include "engine/messages.h"
#include "engine/picture_folder.h"
#include "engine/timestamp.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/safe_name.h"
#include "platform/termination_request.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <stdexcept>
#include <unistd.h>

namespace engine {
namespace {

// Lines with CRLF ends, as the fetch threads read them back; failures are dropped, the webcam
// then simply has no extra request lines.
void SaveLines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
}

}  // namespace

bool SameWebcamUrl(std::string_view A, std::string_view B) { return WebcamUrlKey(A) == WebcamUrlKey(B); }

void twebcammanager::LoadWebcams() {
    // Reading first finishes a rewrite that was cut off, which may bring webcams.def back.
    const std::vector<WebcamDefinition> definitions = ReadDefinitionFiles(FDataFolder);
    if (::access((FDataFolder + kWebcamsDef).c_str(), F_OK) != 0) return;
    FListView->LoadStarted();
    try {
        AppendDefinitions(definitions);
    } catch (...) {
        // The webcams loaded so far stay; the loading window must not stay open over them.
        FListView->LoadFinished();
        throw;
    }
    FListView->LoadFinished();
    ResumeThreads();
}

void twebcammanager::AppendDefinitions(const std::vector<WebcamDefinition>& definitions) {
    const int count = static_cast<int>(definitions.size());
    for (int n = 0; n < count; ++n) {
        if (platform::TerminationRequested()) break;  // the program ends: the rest need not load
        FListView->LoadProgress(n, count);
        twebcam& webcam = AppendWebcam(definitions[n].rec1, definitions[n].rec2, false);
        const std::string folder = webcam.Folder();  // empty for a name that is not a safe folder name
        // Nothing saves while the list loads: a temporary file left now is from a save cut off.
        if (!folder.empty()) RemoveStaleTemporaryPictures(folder);
        const std::string newest = folder.empty() ? std::string() : webcam.FNewestSaved.Newest(folder).Name;
        if (newest.empty()) {
            if (!folder.empty()) std::remove((folder + "header.txt").c_str());
            continue;
        }
        webcam.FLastNewPicture = TimestampNameToDateTime(newest);
        Bitmap thumbnail = BlankThumbnail();
        try {
            MakeThumbnail(folder + newest, thumbnail);
        } catch (const std::exception&) {
            continue;  // a picture that does not decode leaves the webcam without a thumbnail
        }
        SetThumbnail(n, thumbnail);
    }
}

void twebcammanager::LoadFromFolder(const std::string& Folder) {
    Clear();
    FDataFolder = Folder;
    if (FDataFolder.empty() || FDataFolder.back() != '/') FDataFolder += '/';
    BeforeLoad();
    LoadWebcams();
}

void twebcammanager::Clear() {
    StopAll();
    for (int i = 0; i < FList.Count(); ++i) FreeWebcam(i);
    FList.Clear();
    FThumbnails.clear();
    FUrlIndex.Clear();
    FQueues.Clear();
}

int twebcammanager::AddWebcam(const TWebcamDefRec& Rec, const TWebcamDef1Rec& Rec2,
                              const std::optional<std::vector<std::string>>& HeaderLines) {
    const int same = FUrlIndex.Find(Rec.PictureURL.view(), [&](int position) {
        const twebcam* w = FList.Get(position);
        return w && SameWebcamUrl(w->Rec().PictureURL.view(), Rec.PictureURL.view());
    });
    if (same >= 0) return -(same + 1);
    TWebcamDefRec rec = Rec;
    if (!platform::IsSafeFolderName(rec.Name.view()))
        rec.Name.assign(DefaultWebcamName(NextFreeCamNumber()));
    twebcam& webcam = AppendWebcam(rec, Rec2, true);
    if (HeaderLines) SaveLines(webcam.Folder() + "addhead.txt", *HeaderLines);
    return Count();
}

void twebcammanager::DeleteWebcam(int i) {
    FreeWebcam(i - 1);
    DeleteDefRecordNumber(FDataFolder, i - 1);
}

void twebcammanager::DeleteWebcamByName(const std::string& Name) { DeleteDefRecordsByName(FDataFolder, Name); }

void twebcammanager::DeleteDisabledWebcams() {
    for (int i = 0; i < FList.Count(); ++i)
        if (const twebcam* w = FList.Get(i); w && w->Rec().Enabled == 0) FreeWebcam(i);
    DeleteDisabledDefRecords(FDataFolder);
}

// By record number, not by name: another webcam may have the same name.
void twebcammanager::DeleteSelectedWebcams() {
    std::set<int> selected;
    for (int i = 0; i < FList.Count(); ++i) {
        const twebcam* w = FList.Get(i);
        if (!w || !w->FSelected) continue;
        selected.insert(w->FRecordNo);
        FreeWebcam(i);
    }
    if (!selected.empty())
        DeleteDefRecords(FDataFolder, [&selected](int n, const TWebcamDefRec&) { return selected.count(n) != 0; });
}

void twebcammanager::ClearSelection() {
    for (int i = 0; i < FList.Count(); ++i)
        if (twebcam* w = FList.Get(i)) w->FSelected = false;
}

void twebcammanager::SelectWebcam(int i) {
    if (i < 1 || i > Count()) return;
    if (twebcam* w = FList.Get(i - 1)) w->FSelected = true;
}

int twebcammanager::IndexOfName(const std::string& Name) const {
    for (int i = 1; i <= Count(); ++i)
        if (const twebcam* w = FList.Get(i - 1); w && w->Name() == Name) return i;
    return -1;
}

void twebcammanager::ClearThumbnail(int i) {
    Checked(i);
    FThumbnails.at(static_cast<std::size_t>(i - 1)).reset();
    FListView->RedrawWebcamCell(i);
}

void twebcammanager::InitNewWebcamRecord(TWebcamDefRec& rec) const { engine::InitNewWebcamRecord(rec, FDataFolder, Count()); }

int twebcammanager::NextFreeCamNumber() const { return engine::NextFreeCamNumber(FDataFolder, Count()); }

}  // namespace engine

#include "engine/definition_files.h"
#include "engine/list_import.h"
#include "engine/messages.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "tests/engine/webcam_fixture.h"
#include "tests/support/not_a_picture.h"
#include "tests/support/watchdog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <set>
#include <stdexcept>

namespace {

using namespace engine;
using enginetest::PictureBytes;
using enginetest::SecondRecord;
using enginetest::StillRecord;
namespace fs = std::filesystem;

// Records what the list operations show in the main window.
class RecordingListView : public twebcamlistview {
public:
    void LoadStarted() override { calls.push_back("started"); }
    void LoadProgress(int position, int count) override {
        calls.push_back(std::to_string(position) + "/" + std::to_string(count));
    }
    void LoadFinished() override { calls.push_back("finished"); }
    void RedrawWebcamCell(int i) override { calls.push_back("redraw " + std::to_string(i)); }
    std::vector<std::string> calls;
};

class WebcamListOperations : public enginetest::WebcamTest {
protected:
    void SetUp() override {
        WebcamTest::SetUp();
        MakeManager();
        manager_->SetListView(&view_);
    }
    // Stored webcams, as a previous run left them.
    void Store(const std::vector<TWebcamDefRec>& recs, bool withDef1 = true) {
        for (std::size_t n = 0; n < recs.size(); ++n) {
            ASSERT_TRUE(WriteDefRecord(DataFolder(), static_cast<int>(n), recs[n]));
            if (withDef1) {
                ASSERT_TRUE(WriteDef1Record(DataFolder(), static_cast<int>(n), SecondRecord(false)));
            }
        }
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int i = 1; i <= manager_->Count(); ++i)
            names.push_back(manager_->GetWebcam(i) ? manager_->GetWebcam(i)->Name() : "(freed)");
        return names;
    }
    std::vector<std::string> StoredNames() const {
        std::vector<std::string> names;
        for (const auto& d : ReadDefinitionFiles(DataFolder())) names.push_back(d.rec1.Name.str());
        return names;
    }
    void Reload() { manager_->LoadFromFolder(DataFolder()); }
    std::uintmax_t Size(const std::string& file) const { return fs::file_size(DataFolder() + file); }
    // Blue byte of the thumbnail's first pixel: the fake pictures are one colour.
    int ThumbnailBlue(int i) const { return manager_->GetThumbnail(i).row(0)[0]; }

    RecordingListView view_;
};

TEST_F(WebcamListOperations, LoadCreatesAMissingWebcams1DefAndStartsTheThreads) {
    Store({StillRecord("A", 60), StillRecord("B", 60), StillRecord("C", 60)}, false);
    EXPECT_FALSE(manager_->ThreadsStarted());
    manager_->LoadWebcams();
    EXPECT_EQ(Size(kWebcams1Def), 4668u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C"}));
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(manager_->GetWebcam(i)->FRecordNo, i - 1);
    EXPECT_FALSE(manager_->GetWebcam(1)->FRunning);  // loaded stopped
    EXPECT_TRUE(manager_->ThreadsStarted());
    EXPECT_EQ(view_.calls, (std::vector<std::string>{"started", "0/3", "1/3", "2/3", "finished"}));
}

// A failure part way (out of memory for a thumbnail, say) reaches the caller with the loading
// window closed and the webcams loaded so far kept.
TEST_F(WebcamListOperations, AFailureDuringTheLoadClosesTheLoadingWindow) {
    class FailingListView : public RecordingListView {
    public:
        void LoadProgress(int position, int count) override {
            RecordingListView::LoadProgress(position, count);
            if (position == 1) throw std::bad_alloc();
        }
    } failing;
    manager_->SetListView(&failing);
    Store({StillRecord("A", 60), StillRecord("B", 60), StillRecord("C", 60)});
    EXPECT_THROW(manager_->LoadWebcams(), std::bad_alloc);
    EXPECT_EQ(failing.calls, (std::vector<std::string>{"started", "0/3", "1/3", "finished"}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"A"}));
    manager_->SetListView(&view_);
}

// Every webcam's blank thumbnail has the manager's size: a stored size out of range gets the
// default side, never a bitmap of gigabytes.
TEST_F(WebcamListOperations, ThumbnailSidesOutOfRangeAreTheDefaults) {
    Store({StillRecord("A", 60)});
    testsupport::WriteFile(DataFolder() + "A/a20240101000000.jpg", PictureBytes(5, 0, 0));
    manager_->SetThumbnailSize(2147483647, -1060000000);
    EXPECT_EQ(manager_->ThumbWidth(), 86);
    EXPECT_EQ(manager_->ThumbHeight(), 80);
    manager_->LoadWebcams();
    const Bitmap thumbnail = manager_->GetThumbnail(1);
    EXPECT_EQ(thumbnail.width(), 86);
    EXPECT_EQ(thumbnail.height(), 80);
    manager_->SetThumbnailSize(320, 240);
    EXPECT_EQ(manager_->BlankThumbnail().width(), 320);
    EXPECT_EQ(manager_->BlankThumbnail().height(), 240);
}

TEST_F(WebcamListOperations, NothingIsLoadedWithoutWebcamsDef) {
    manager_->LoadWebcams();
    EXPECT_EQ(manager_->Count(), 0);
    EXPECT_TRUE(view_.calls.empty());
    EXPECT_FALSE(manager_->ThreadsStarted());
    EXPECT_FALSE(fs::exists(DataFolder() + kWebcams1Def));
}

TEST_F(WebcamListOperations, EmptyUrlRecordsAreSkippedAndTheFilesCompacted) {
    TWebcamDefRec unused = StillRecord("Unused", 60);
    unused.PictureURL.assign("");
    Store({StillRecord("A", 60), unused, StillRecord("B", 60)});
    manager_->LoadWebcams();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(Size(kWebcamsDef), 2u * sizeof(TWebcamDefRec));
    EXPECT_EQ(Size(kWebcams1Def), 2u * sizeof(TWebcamDef1Rec));
    // B writes its record at its own position, not over the one after A.
    TWebcamDefRec b = manager_->GetWebcam(2)->Rec();
    b.Refresh = 99;
    manager_->GetWebcam(2)->SetRecord(b);
    const auto stored = ReadDefinitionFiles(DataFolder());
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].rec1.Refresh, 60);
    EXPECT_EQ(stored[1].rec1.Refresh, 99);
}

TEST_F(WebcamListOperations, ThumbnailsHeaderFilesAndPictureTimesAtLoad) {
    Store({StillRecord("Empty", 60), StillRecord("Pictures", 60), StillRecord("Broken", 60), StillRecord("Last", 60)});
    for (const char* name : {"Empty", "Pictures", "Broken", "Last"})
        testsupport::WriteFile(DataFolder() + name + "/header.txt", "Date: Tue, 15 Nov 1994 08:12:31 GMT\r\n");
    testsupport::WriteFile(DataFolder() + "Pictures/p20240102030405.jpg", PictureBytes(7, 0, 0));
    testsupport::WriteFile(DataFolder() + "Pictures/p20231231235959.jpg", PictureBytes(9, 0, 0));
    testsupport::WriteFile(DataFolder() + "Broken/x20240101000000.jpg", "not a jpeg");
    testsupport::WriteFile(DataFolder() + "Last/l20240101000000.jpg", PictureBytes(5, 0, 0));
    manager_->LoadWebcams();
    ASSERT_EQ(manager_->Count(), 4);
    // A folder without pictures loses its header.txt and gets a blank thumbnail.
    EXPECT_FALSE(fs::exists(DataFolder() + "Empty/header.txt"));
    EXPECT_EQ(manager_->GetThumbnail(1), manager_->BlankThumbnail());
    EXPECT_EQ(manager_->GetWebcam(1)->FLastNewPicture, 0);
    // The newest picture by name makes the thumbnail and the time of the last picture.
    EXPECT_TRUE(fs::exists(DataFolder() + "Pictures/header.txt"));
    EXPECT_EQ(ThumbnailBlue(2), 7);
    EXPECT_EQ(manager_->GetWebcam(2)->FLastNewPicture,
              platform::EncodeDate(2024, 1, 2) + platform::EncodeTime(3, 4, 5));
    // A picture that does not decode leaves a blank thumbnail; the load goes on.
    EXPECT_EQ(manager_->GetThumbnail(3), manager_->BlankThumbnail());
    EXPECT_EQ(ThumbnailBlue(4), 5);
}

// A newest "picture" that is a FIFO or a link to an endless device is skipped like a picture
// that does not decode: the load neither waits on it nor reads it without end.
TEST_F(WebcamListOperations, NewestFilesThatAreNoPicturesAreSkippedAtLoad) {
    const testsupport::Watchdog watchdog(std::chrono::seconds(20));
    std::vector<TWebcamDefRec> recs;
    for (const testsupport::NotAPicture kind : testsupport::kNotPictures) {
        const std::string name = "cam" + std::to_string(recs.size());
        recs.push_back(StillRecord(name, 60));
        testsupport::WriteFile(DataFolder() + name + "/p20240101000000.jpg", PictureBytes(7, 0, 0));
        testsupport::MakeNotAPicture(DataFolder() + name + "/p20261202000005.jpg", kind);
    }
    recs.push_back(StillRecord("Last", 60));
    testsupport::WriteFile(DataFolder() + "Last/l20240101000000.jpg", PictureBytes(5, 0, 0));
    Store(recs);
    manager_->LoadWebcams();
    ASSERT_EQ(manager_->Count(), 4);
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(testsupport::Describe(testsupport::kNotPictures[i - 1]));
        EXPECT_EQ(manager_->GetThumbnail(i), manager_->BlankThumbnail());
        std::unique_ptr<twebcampicture> picture;
        std::string fileName;
        EXPECT_FALSE(manager_->GetWebcam(i)->GetLatestImage(picture, fileName));
    }
    EXPECT_EQ(ThumbnailBlue(4), 5);
}

// A save cut off by a kill leaves its temporary file; loading the list removes it, and only it.
TEST_F(WebcamListOperations, LoadRemovesTemporaryFilesOfSavesCutOff) {
    Store({StillRecord("Cut", 60), StillRecord("Clean", 60)});
    const std::string cut = DataFolder() + "Cut/";
    testsupport::WriteFile(cut + "c20240101000000.jpg", PictureBytes(5, 0, 0));
    for (const char* stale : {".picture-a1B2c3", ".picture-XXXXXX"}) testsupport::WriteFile(cut + stale, "half a pic");
    for (const char* kept : {".picture-short", "notes.picture-abcdef", ".picture-abcdef.jpg"})
        testsupport::WriteFile(cut + kept, "the user's");
    manager_->LoadWebcams();
    ASSERT_EQ(manager_->Count(), 2);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(cut)) left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"c20240101000000.jpg", ".picture-short", "notes.picture-abcdef",
                                           ".picture-abcdef.jpg"}));
    EXPECT_EQ(ThumbnailBlue(1), 5);
}

TEST_F(WebcamListOperations, LoadFromFolderReplacesTheWebcams) {
    Store({StillRecord("A", 60)});
    manager_->LoadWebcams();
    manager_->StartWebcam(1);
    const fs::path other = dataDir().parent_path() / "other";
    fs::create_directories(other);
    ASSERT_TRUE(WriteDefRecord(other.string() + "/", 0, StillRecord("X", 60)));
    ASSERT_TRUE(WriteDefRecord(other.string() + "/", 1, StillRecord("Y", 60)));
    manager_->LoadFromFolder(other.string());  // no '/' at the end
    EXPECT_EQ(manager_->FDataFolder, other.string() + "/");
    EXPECT_EQ(Names(), (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(manager_->RunningCount(), 0);
    EXPECT_TRUE(manager_->FQueues.NormalQueue().empty());
    EXPECT_TRUE(manager_->FQueues.WaitList().empty());
    EXPECT_EQ(manager_->GetWebcam(2)->Folder(), other.string() + "/Y/");
}

TEST(SameWebcamUrl, ComparesWithoutCaseSchemeAndWww) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const std::vector<Case> cases = {
        {"http://www.site.example/cam/pic.jpg", "HTTP://site.example/CAM/PIC.JPG", true},
        {"http://site.example/a.jpg", "http://site.example/b.jpg", false},
        {"www.site.example/a.jpg", "http://site.example/a.jpg", true},
        {"https://www.site.example/a.jpg", "https://site.example/a.jpg", true},
        {"https://site.example/a.jpg", "http://site.example/a.jpg", false},
        {"http://site.example/www.a.jpg", "http://site.example/a.jpg", true},  // the first "WWW." anywhere
        {"http://www.www.site/a.jpg", "http://site/a.jpg", false},             // only the first one
        {"", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SameWebcamUrl(c.a, c.b), c.same) << c.a << " / " << c.b;
        EXPECT_EQ(SameWebcamUrl(c.b, c.a), c.same) << c.b << " / " << c.a;
    }
}

TEST_F(WebcamListOperations, AddWebcamWritesANewWebcamOrFindsTheDuplicate) {
    TWebcamDefRec a = StillRecord("A", 60), b = StillRecord("B", 60);
    b.PictureURL.assign("http://www.cams.example/Harbour.jpg");
    EXPECT_EQ(manager_->AddWebcam(a, SecondRecord(false), std::nullopt), 1);
    EXPECT_EQ(manager_->AddWebcam(b, SecondRecord(true), std::vector<std::string>{"Referer: http://x/", "X-A: b"}), 2);
    EXPECT_EQ(testsupport::ReadFile(DataFolder() + "B/addhead.txt"), "Referer: http://x/\r\nX-A: b\r\n");
    EXPECT_FALSE(fs::exists(DataFolder() + "A/addhead.txt"));

    TWebcamDefRec again = StillRecord("C", 60);
    again.PictureURL.assign("HTTP://cams.example/harbour.JPG");
    EXPECT_EQ(manager_->AddWebcam(again, SecondRecord(false), std::nullopt), -2);
    EXPECT_EQ(manager_->Count(), 2);
    EXPECT_FALSE(fs::exists(DataFolder() + "C"));

    const auto stored = ReadDefinitionFiles(DataFolder());
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1].rec1.PictureURL.str(), "http://www.cams.example/Harbour.jpg");
    EXPECT_EQ(stored[1].rec2.Favourite, 1);
    EXPECT_TRUE(fs::is_directory(DataFolder() + "B"));
    EXPECT_EQ(manager_->GetThumbnail(2), manager_->BlankThumbnail());
    EXPECT_FALSE(manager_->GetWebcam(2)->FRunning);
}

// The look-up by address follows the list: loaded webcams, the first of two with one address, an
// address changed by the editor (the old one is free again), and a freed webcam.
TEST_F(WebcamListOperations, DuplicatesAreFoundAfterLoadsEditsAndFrees) {
    std::vector<TWebcamDefRec> recs;
    for (const char* url : {"http://a.example/1.jpg", "http://www.b.example/2.jpg", "http://b.example/2.jpg"}) {
        recs.push_back(StillRecord("L" + std::to_string(recs.size()), 60));
        recs.back().PictureURL.assign(url);
    }
    Store(recs);
    manager_->LoadWebcams();
    const auto add = [&](const char* url) {
        TWebcamDefRec rec = StillRecord("N", 60);
        rec.PictureURL.assign(url);
        return manager_->AddWebcam(rec, SecondRecord(false), std::nullopt);
    };
    EXPECT_EQ(add("HTTP://A.EXAMPLE/1.jpg"), -1);
    EXPECT_EQ(add("http://B.example/2.jpg"), -2);  // the first in list order

    TWebcamDefRec edited = manager_->GetWebcam(1)->Rec();
    edited.PictureURL.assign("http://c.example/3.jpg");
    manager_->GetWebcam(1)->SetRecord(edited);
    EXPECT_EQ(add("http://www.c.example/3.jpg"), -1);

    manager_->FreeWebcam(1);  // webcam 2
    EXPECT_EQ(add("http://b.example/2.jpg"), -3);
    EXPECT_EQ(add("http://a.example/1.jpg"), 4);  // free since the edit
    EXPECT_EQ(add("http://a.example/1.jpg"), -4);
    manager_->Clear();
    EXPECT_EQ(add("http://a.example/1.jpg"), 1);
}

TEST_F(WebcamListOperations, AHostileListAddsOnlySafeWebcams) {
    twebcamstaticlist list;
    ImportWebcamList(list, std::string(ORVELLO_FIXTURES) + "lists/hostile_list.txt");
    TWebcamDefRec unsafe = StillRecord("..", 60);
    unsafe.PictureURL.assign("http://direct.example/x.jpg");
    for (const auto& item : list) {
        TWebcamDefRec rec;
        manager_->InitNewWebcamRecord(rec);
        rec.PictureURL = item.FRec.PictureURL;
        if (!item.FRec.Name.empty()) rec.Name = item.FRec.Name;
        EXPECT_GT(manager_->AddWebcam(rec, item.FRec2, item.FHeaderLines), 0);
    }
    EXPECT_GT(manager_->AddWebcam(unsafe, SecondRecord(false), std::nullopt), 0);  // unsafe names here too
    EXPECT_EQ(Names(), (std::vector<std::string>{"Cam001", "Cam002", "ok name", "Cam004", "Cam005"}));
    // Nothing was made outside the data folder, and only the webcams' folders inside it.
    std::set<std::string> around, inside;
    for (const auto& entry : fs::directory_iterator(dataDir().parent_path())) around.insert(entry.path().filename());
    for (const auto& entry : fs::directory_iterator(dataDir())) inside.insert(entry.path().filename());
    EXPECT_EQ(around, (std::set<std::string>{"config", "data", "program"}));
    EXPECT_EQ(inside, (std::set<std::string>{"Cam001", "Cam002", "ok name", "Cam004", "Cam005", kWebcamsDef, kWebcams1Def}));
    EXPECT_EQ(testsupport::ReadFile(DataFolder() + "Cam002/addhead.txt"), "X-Ok: yes\r\n");
}

TEST_F(WebcamListOperations, DeletesRewriteTheFilesForTheReload) {
    TWebcamDefRec off = StillRecord("Off", 60);
    off.Enabled = 0;
    Store({StillRecord("A", 60), StillRecord("B", 60), off, StillRecord("C", 60)});
    manager_->LoadWebcams();

    manager_->DeleteWebcam(2);
    EXPECT_EQ(manager_->GetWebcam(2), nullptr);  // an empty slot until the reload
    EXPECT_EQ(manager_->Count(), 4);
    Reload();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "Off", "C"}));
    EXPECT_EQ(Size("webcams.bak"), 4u * sizeof(TWebcamDefRec));

    manager_->DeleteDisabledWebcams();
    EXPECT_EQ(manager_->GetWebcam(2), nullptr);
    EXPECT_NE(manager_->GetWebcam(1), nullptr);
    Reload();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "C"}));

    manager_->DeleteWebcamByName("c");  // exact: nothing
    manager_->DeleteWebcamByName("C");
    Reload();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A"}));
    EXPECT_EQ(Size(kWebcams1Def), sizeof(TWebcamDef1Rec));
}

TEST_F(WebcamListOperations, DeleteSelectedDeletesExactlyTheSelectedWebcams) {
    TWebcamDefRec twin = StillRecord("Same", 60);
    twin.PictureURL.assign("http://twin.example/2.jpg");
    Store({StillRecord("Same", 60), StillRecord("Other", 60), twin, StillRecord("Last", 60)});
    manager_->LoadWebcams();
    manager_->SelectWebcam(3);
    manager_->SelectWebcam(4);
    manager_->DeleteSelectedWebcams();
    EXPECT_EQ(manager_->GetWebcam(3), nullptr);
    EXPECT_NE(manager_->GetWebcam(1), nullptr);
    Reload();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Same", "Other"}));
    EXPECT_EQ(manager_->GetWebcam(1)->Rec().PictureURL.str(), StillRecord("Same", 60).PictureURL.str());
}

TEST_F(WebcamListOperations, SelectionAndNames) {
    Store({StillRecord("Alpha", 60), StillRecord("Beta", 60), StillRecord("Beta", 60)});
    manager_->LoadWebcams();
    manager_->SelectWebcam(0);
    manager_->SelectWebcam(4);
    for (int i = 1; i <= 3; ++i) EXPECT_FALSE(manager_->GetWebcam(i)->FSelected);
    manager_->SelectWebcam(1);
    manager_->SelectWebcam(3);
    EXPECT_TRUE(manager_->GetWebcam(1)->FSelected);
    EXPECT_FALSE(manager_->GetWebcam(2)->FSelected);
    manager_->ClearSelection();
    EXPECT_FALSE(manager_->GetWebcam(1)->FSelected || manager_->GetWebcam(3)->FSelected);
    EXPECT_EQ(manager_->IndexOfName("Beta"), 2);
    EXPECT_EQ(manager_->IndexOfName("beta"), -1);
    EXPECT_EQ(manager_->IndexOfName(""), -1);
}

TEST_F(WebcamListOperations, ClearThumbnailBlanksAndRedrawsTheCell) {
    Store({StillRecord("A", 60), StillRecord("B", 60)});
    testsupport::WriteFile(DataFolder() + "B/b20240101000000.jpg", PictureBytes(5, 0, 0));
    manager_->LoadWebcams();
    ASSERT_EQ(ThumbnailBlue(2), 5);
    view_.calls.clear();
    manager_->ClearThumbnail(2);
    EXPECT_EQ(manager_->GetThumbnail(2), manager_->BlankThumbnail());
    EXPECT_EQ(view_.calls, std::vector<std::string>{"redraw 2"});
    for (int bad : {0, 3}) {
        try {
            manager_->ClearThumbnail(bad);
            ADD_FAILURE() << bad;
        } catch (const std::out_of_range& e) {
            EXPECT_EQ(e.what(), LoadMessage(kMsgOutOfRange));
        }
    }
}

TEST_F(WebcamListOperations, SaveWebcamListWritesTheWebcamsOfItsMode) {
    TWebcamDefRec off = StillRecord("Off", 60);
    off.Enabled = 0;
    Store({StillRecord("A", 60), off, StillRecord("C", 60)});
    testsupport::WriteFile(DataFolder() + "C/addhead.txt", "Referer: http://c/\n");
    manager_->LoadWebcams();
    manager_->SelectWebcam(1);
    manager_->SelectWebcam(2);
    struct Case {
        int mode;
        int index;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {2, 0, {"A", "C"}}, {3, 0, {"Off"}}, {4, 3, {"C"}}, {4, 9, {}},
        {5, 0, {"A", "Off"}}, {1, 0, {"A", "Off", "C"}}, {0, 0, {"A", "Off", "C"}},
    };
    const std::string file = DataFolder() + "export.txt";
    for (const Case& c : cases) {
        manager_->SaveWebcamList(file, c.mode, c.index, false);
        const std::string text = testsupport::ReadFile(file);
        EXPECT_EQ(text.rfind("ENCODE\r\n", 0), 0u) << c.mode;
        twebcamstaticlist list;
        ImportWebcamList(list, file);
        std::vector<std::string> names;
        for (const auto& item : list) names.push_back(item.FRec.Name.str());
        EXPECT_EQ(names, c.names) << "mode " << c.mode << " index " << c.index;
    }
    // Mode 4 writes the header line and exactly one block, with the webcam's extra lines.
    manager_->SaveWebcamList(file, 4, 3, false);
    EXPECT_EQ(testsupport::ReadFile(file), "ENCODE\r\n" + manager_->WriteWebcamBlock(*manager_->GetWebcam(3)));
    EXPECT_NE(testsupport::ReadFile(file).find("\r\nADDH=Referer: http://c/\r\nENDWC\r\n"), std::string::npos);
    manager_->SaveWebcamList(file, 4, 1, true);
    twebcamstaticlist list;
    ImportWebcamList(list, file);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].FRec.Name.str(), "A");
}

}  // namespace

#include "tests/ui/commands_fixture.h"

#include "engine/definition_files.h"
#include "engine/regconfig.h"
#include "engine/webcam_workers.h"
#include "tests/support/idle_fetch_worker.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/record_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>

namespace commandstest {
namespace {

// Saved pictures are not decoded by these tests: a thumbnail of one stays blank.
class UndecodablePicture : public engine::twebcampicture {
public:
    explicit UndecodablePicture(std::string bytes) : bytes_(std::move(bytes)) {}
    const std::string& Bytes() const override { return bytes_; }
    void SetFullColourDecoding() override {}
    void StretchDraw(engine::Bitmap&) override { throw std::runtime_error("not decoded in these tests"); }

private:
    std::string bytes_;
};

template <typename Rec>
Rec ReadRecord(const std::string& file, int n) {
    auto rec = engine::ZeroRecord<Rec>();
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0) return rec;
    const ssize_t got = ::pread(fd, &rec, sizeof rec, static_cast<off_t>(n) * static_cast<off_t>(sizeof rec));
    ::close(fd);
    if (got != static_cast<ssize_t>(sizeof rec)) ADD_FAILURE() << "no record " << n << " in " << file;
    return rec;
}

}  // namespace

QString Text(int number) { return ui::Message(number); }
QString Said(int number) { return QStringLiteral("message: ") + Text(number); }
QString Asked(int number) { return QStringLiteral("ask: ") + Text(number); }

bool FakeHost::Ask(const QString& text) {
    prompts << QStringLiteral("ask: ") + text;
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

QString FakeHost::SaveFileName(const QString& filter) {
    Call(QStringLiteral("SaveDialog1 ") + filter);
    return saveFileName;
}

bool FakeHost::EditWebcam(engine::TWebcamDefRec& rec, engine::TWebcamDef1Rec& rec2, bool isNew,
                          const std::string& dataFolder, ui::HeaderLines& headerLines) {
    Call(QStringLiteral("Tnewwebcamdlg %1 %2").arg(isNew ? "new" : "edit", QString::fromStdString(dataFolder)));
    return editWebcam && editWebcam(rec, rec2, headerLines);
}

bool FakeHost::EditCategories(engine::TWebcamDefRec& rec) {
    Call("Tcatedit");
    return editCategories && editCategories(rec);
}

bool FakeHost::EditSaverList(const std::string& dataFolder, std::vector<ui::SaverListChange>& changes) {
    Call(QStringLiteral("Tslistedit ") + QString::fromStdString(dataFolder));
    return editSaverList && editSaverList(dataFolder, changes);
}

bool FakeHost::ChangeRefresh(std::int32_t& seconds, std::uint8_t& ifModifiedSince) {
    Call(QStringLiteral("Tchangerefresh %1 %2").arg(seconds).arg(ifModifiedSince));
    return changeRefresh && changeRefresh(seconds, ifModifiedSince);
}

bool FakeHost::SelectSave(int& mode) {
    Call(QStringLiteral("Tselectsave %1").arg(mode));
    return selectSave && selectSave(mode);
}

bool FakeHost::GlobalSave(std::uint8_t& mode, std::uint8_t& on) {
    Call("TGlobalsave");
    return globalSave && globalSave(mode, on);
}

bool FakeHost::FavouritePreferences(engine::TConfigRec&) {
    Call("Tfavpref");
    return false;
}

bool FakeHost::SelectWebcam(int& index) {
    Call("Tselectwebcam");
    return selectWebcam && selectWebcam(index);
}

bool FakeHost::SelectEnabled(int& which, int& append) {
    Call("Tselectenabled");
    return selectEnabled && selectEnabled(which, append);
}

void FakeHost::ShowTextFile(const std::string& fileName, const QString& caption) {
    Call(QStringLiteral("Tshowtextfile %1 | %2").arg(QString::fromStdString(fileName), caption));
}

void FakeHost::EditMotionSettings(int webcam, bool global, std::array<int, 6>& settings) {
    Call(QStringLiteral("Tmotionsettings %1 %2").arg(webcam).arg(global ? "global" : "webcam"));
    if (editMotion) editMotion(settings);
}

void FakeHost::ShowWebcam(int webcam) {
    Call(QStringLiteral("ShowWebcam %1").arg(webcam));
    current = webcam;
}

bool FakeHost::ToggleSlowScanMark() {
    slowScanMark = !slowScanMark;
    return slowScanMark;
}

void CommandsTest::SetUp() {
    IsolatedTest::SetUp();
    std::filesystem::create_directories(dataDir());
    Config = engine::DefaultConfig();
    Extra = engine::ZeroRecord<engine::TExtraRec>();
    Extra.DataDir.assign(DataFolder());
    Extra1 = engine::DefaultExtra1();
    DiskMan = engine::DefaultDiskMan();
    commands_ = std::make_unique<ui::WebcamCommands>(
        host_, ui::WebcamCommandsState{Starting, Stopping, StopRequested, ShiftState, Config, Extra, Extra1, DiskMan,
                                       MotionSettings});
}

void CommandsTest::TearDown() {
    host_.manager = nullptr;
    manager_.reset();
    IsolatedTest::TearDown();
}

void CommandsTest::MakeManager() {
    engine::WebcamManagerServices services;
    services.fetchWorkers = testsupport::IdleFetchWorkers();
    services.decodePicture = [](std::string bytes) { return std::make_unique<UndecodablePicture>(std::move(bytes)); };
    manager_ = std::make_unique<engine::twebcammanager>(DataFolder(), 4, Extra1, Config, std::move(services));
    host_.manager = manager_.get();
}

void CommandsTest::MakeManagerWith(std::initializer_list<const char*> names) {
    MakeManager();
    for (const char* name : names) Add(name);
}

engine::twebcam& CommandsTest::Add(const std::string& name) {
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    rec.PictureURL.assign("http://127.0.0.1/" + name + ".jpg");
    rec.Name.assign(name);
    rec.Refresh = 60;
    rec.Enabled = 1;
    return manager_->AppendWebcam(rec, engine::ZeroRecord<engine::TWebcamDef1Rec>(), true);
}

engine::TWebcamDefRec CommandsTest::StoredRecord(int n) const {
    return ReadRecord<engine::TWebcamDefRec>(DataFolder() + engine::kWebcamsDef, n);
}

engine::TWebcamDef1Rec CommandsTest::StoredRecord2(int n) const {
    return ReadRecord<engine::TWebcamDef1Rec>(DataFolder() + engine::kWebcams1Def, n);
}

std::vector<std::string> CommandsTest::Names() const {
    std::vector<std::string> names;
    for (int i = 1; i <= manager_->Count(); ++i)
        if (const engine::twebcam* w = manager_->GetWebcam(i)) names.push_back(w->Name());
    return names;
}

}  // namespace commandstest

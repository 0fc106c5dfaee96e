#include "tests/ui/filters_fixture.h"

#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "engine/regconfig.h"
#include "engine/webcam_records.h"
#include "tests/support/idle_fetch_worker.h"

namespace filterstest {
namespace {

class FakePicture : public engine::twebcampicture {
public:
    explicit FakePicture(std::string bytes) : bytes_(std::move(bytes)) {}
    const std::string& Bytes() const override { return bytes_; }
    void SetFullColourDecoding() override {}
    void StretchDraw(engine::Bitmap& target) override { target = DecodePicture(*this); }

private:
    std::string bytes_;
};

}  // namespace

std::string PictureBytes(int width, int height, int r, int g, int b) {
    std::ostringstream out;
    out << "PIC " << width << ' ' << height << ' ' << r << ' ' << g << ' ' << b;
    return out.str();
}

std::unique_ptr<engine::twebcampicture> MakePicture(std::string bytes) {
    return std::make_unique<FakePicture>(std::move(bytes));
}

engine::Bitmap DecodePicture(engine::twebcampicture& picture) {
    std::istringstream in(picture.Bytes());
    std::string tag;
    int w = 0, h = 0, r = 0, g = 0, b = 0;
    if (!(in >> tag >> w >> h >> r >> g >> b) || tag != "PIC") throw std::runtime_error("not a picture");
    engine::Bitmap bitmap(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = bitmap.row(y) + x * 3;
            p[0] = static_cast<std::uint8_t>(b);
            p[1] = static_cast<std::uint8_t>(g);
            p[2] = static_cast<std::uint8_t>(r);
        }
    return bitmap;
}

void ManagerTest::SetUp() {
    IsolatedTest::SetUp();
    std::filesystem::create_directories(dataDir());
    engine::WebcamManagerServices services;
    services.fetchWorkers = testsupport::IdleFetchWorkers();
    services.decodePicture = MakePicture;
    manager_ = std::make_unique<engine::twebcammanager>(DataFolder(), 4, engine::DefaultExtra1(),
                                                        engine::DefaultConfig(), std::move(services));
}

void ManagerTest::TearDown() {
    manager_.reset();
    IsolatedTest::TearDown();
}

engine::twebcam& ManagerTest::Add(const std::string& name, bool favourite) {
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    rec.PictureURL = "http://127.0.0.1/" + name + ".jpg";
    rec.Name = name;
    rec.Refresh = 60;
    rec.Enabled = 1;
    auto rec2 = engine::ZeroRecord<engine::TWebcamDef1Rec>();
    rec2.Favourite = favourite ? 1 : 0;
    return manager_->AppendWebcam(rec, rec2, true);
}

}  // namespace filterstest

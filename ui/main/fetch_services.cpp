#include "ui/main/fetch_services.h"

#include <QByteArray>
#include <QImage>

#include <chrono>
#include <cstring>
#include <stdexcept>

namespace ui {
namespace {

using namespace std::chrono_literals;

// Waits until the manager ends it; never takes a webcam.
class tplaceholderfetchworker : public engine::tfetchworker {
public:
    using engine::tfetchworker::tfetchworker;
    void InterruptRequest(const engine::twebcam&) override {}

protected:
    void Execute() override {
        while (Doze(1h)) {
        }
    }
    void Turn(engine::twebcam&) override {}
};

class tplaceholderstreamworker : public engine::tstreamworker {
public:
    void InterruptRequest() override { WakeUp(); }

protected:
    void Execute() override {
        while (Doze(1h)) {
        }
    }
};

class QtImagePicture : public engine::twebcampicture {
public:
    explicit QtImagePicture(std::string bytes) : bytes_(std::move(bytes)) {}
    const std::string& Bytes() const override { return bytes_; }
    void SetFullColourDecoding() override {}
    void StretchDraw(engine::Bitmap& target) override {
        QImage image;
        if (!image.loadFromData(QByteArray::fromRawData(bytes_.data(), static_cast<qsizetype>(bytes_.size())), "JPEG"))
            throw std::runtime_error("JPEG picture does not decode");
        if (target.empty()) return;
        const QImage scaled = image.convertToFormat(QImage::Format_BGR888)
                                  .scaled(target.width(), target.height(), Qt::IgnoreAspectRatio,
                                          Qt::SmoothTransformation);
        if (target.bitsPerPixel() != 24) throw std::runtime_error("JPEG picture: 24-bit targets only");
        for (int y = 0; y < target.height(); ++y)
            std::memcpy(target.row(y), scaled.constScanLine(y), target.stride());
    }

private:
    std::string bytes_;
};

}  // namespace

engine::WebcamManagerServices MainManagerServices() {
    engine::WebcamManagerServices services;
    services.fetchWorkers = [](engine::twebcammanager& manager, int index) -> std::unique_ptr<engine::tfetchworker> {
        return std::make_unique<tplaceholderfetchworker>(manager, index);
    };
    services.streamWorkers = [](engine::twebcam&, engine::twebcammanager&) -> std::unique_ptr<engine::tstreamworker> {
        return std::make_unique<tplaceholderstreamworker>();
    };
    services.decodePicture = [](std::string bytes) -> std::unique_ptr<engine::twebcampicture> {
        return std::make_unique<QtImagePicture>(std::move(bytes));
    };
    return services;
}

}  // namespace ui

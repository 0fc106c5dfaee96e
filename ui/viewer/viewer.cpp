#include "ui/viewer/viewer.h"

#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "engine/messages.h"
#include "engine/picture_folder.h"
#include "media/qt/led_gauge.h"
#include "platform/clock.h"
#include "platform/cp1252.h"
#include "ui/controls/elided_label.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/grid/bitmap_image.h"
#include "ui/viewer/viewer_texts.h"

namespace ui {

// Image1: the picture, drawn at the size of the control. A left press arms a drag that starts
// once the mouse has moved far enough (Image1MouseDown).
class ViewerImage : public QWidget {
public:
    ViewerImage(TViewer& viewer, QWidget* parent) : QWidget(parent), viewer_(viewer) {}
    void SetImage(QImage image) {
        image_ = std::move(image);
        update();
    }
    const QImage& Image() const { return image_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (image_.isNull()) painter.fillRect(rect(), palette().button());
        else painter.drawImage(rect(), image_);
    }
    void mousePressEvent(QMouseEvent* event) override {
        pressedAt_ = event->button() == Qt::LeftButton ? std::optional(event->position().toPoint()) : std::nullopt;
    }
    void mouseReleaseEvent(QMouseEvent*) override { pressedAt_.reset(); }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!pressedAt_ || (event->position().toPoint() - *pressedAt_).manhattanLength() < QApplication::startDragDistance())
            return;
        pressedAt_.reset();
        QMimeData* data = viewer_.OnStartDrag ? viewer_.OnStartDrag() : nullptr;
        if (!data) return;
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    TViewer& viewer_;
    QImage image_;
    std::optional<QPoint> pressedAt_;
};

namespace {

QString Text(int number) { return QString::fromStdString(engine::LoadMessage(number)); }

QFrame* MakeBevel(QWidget* parent, const char* name, QFrame::Shadow shadow) {
    auto* bevel = Named<QFrame>(parent, name);
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(shadow);
    bevel->hide();
    return bevel;
}

bool EndsInJpg(const std::string& fileName) {
    return fileName.size() >= 4 && QString::fromStdString(fileName.substr(fileName.size() - 4)).toUpper() == ".JPG";
}

std::string ReadFileBytes(const std::string& path) {
    std::string bytes;
    if (!engine::ReadPictureFile(path, bytes)) throw std::runtime_error("cannot read " + path);
    return bytes;
}

}  // namespace

TViewer::TViewer(ViewerHost& host, ViewerServices services, QWidget* parent)
    : QWidget(parent), host_(host), services_(std::move(services)) {
    setObjectName(QStringLiteral("TabSheet11Viewer"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* zoomRow = new QHBoxLayout;
    auto* zoomLabel = Named<QLabel>(this, "Label31", QStringLiteral("Zoom"));
    Label32 = Named<QLabel>(this, "Label32");
    // Room for the widest zoom text, so a zoom change never changes the view's least width (and
    // so the split beside it).
    int zoomTextWidth = 0;
    for (int mode : {kZoomStretch, kZoomFit})
        zoomTextWidth = std::max(zoomTextWidth, Label32->fontMetrics().horizontalAdvance(ZoomLabel(mode)));
    for (int mode = kZoomSmallest; mode <= kZoomLargest; ++mode)
        zoomTextWidth = std::max(zoomTextWidth, Label32->fontMetrics().horizontalAdvance(ZoomLabel(mode)));
    Label32->setMinimumWidth(zoomTextWidth);
    const auto button = [this, zoomRow](const char* name, const QString& caption, void (TViewer::*click)()) {
        auto* b = Named<QToolButton>(this, name);
        b->setText(caption);
        connect(b, &QToolButton::clicked, this, [this, click] { (this->*click)(); });
        zoomRow->addWidget(b);
        return b;
    };
    zoomRow->addWidget(zoomLabel);
    zoomRow->addWidget(Label32);
    SpeedButton33 = button("SpeedButton33", QStringLiteral("Zoom +"), &TViewer::SpeedButton33Click);
    SpeedButton34 = button("SpeedButton34", QStringLiteral("Zoom -"), &TViewer::SpeedButton34Click);
    SpeedButton35 = button("SpeedButton35", QStringLiteral("Taille d'origine"), &TViewer::SpeedButton35Click);
    SpeedButton36 = button("SpeedButton36", QStringLiteral("Etirer"), &TViewer::SpeedButton36Click);
    SpeedButton1 = button("SpeedButton1", QStringLiteral("Ajuster"), &TViewer::SpeedButton1Click);
    zoomRow->addStretch(1);
    layout->addLayout(zoomRow);

    ScrollBox1 = Named<QScrollArea>(this, "ScrollBox1");
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    content_ = new QWidget;
    content_->setAutoFillBackground(true);
    Bevel9 = MakeBevel(content_, "Bevel9", QFrame::Raised);
    Bevel8 = MakeBevel(content_, "Bevel8", QFrame::Sunken);
    Image1 = new ViewerImage(*this, content_);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAttribute(Qt::WA_OpaquePaintEvent);
    ScrollBox1->setWidget(content_);
    layout->addWidget(ScrollBox1, 1);

    auto* captionRow = new QHBoxLayout;
    // A long caption must not widen the view (and so narrow the grid beside it): it is cut.
    Label9 = Named<ElidedLabel>(this, "Label9", Qt::ElideRight);
    Label19 = Named<QLabel>(this, "Label19");
    Label43 = Named<QLabel>(this, "Label43");
    captionRow->addWidget(Label9, 1);
    captionRow->addWidget(Label19);
    captionRow->addWidget(Label43);
    layout->addLayout(captionRow);

    ClearViewer();
    SetZoom(kZoomFit);
}

TViewer::~TViewer() = default;

QImage TViewer::ShownPicture() const { return Image1->Image(); }

void TViewer::SetZoom(int mode) {
    if (!IsZoomMode(mode)) return;
    zoomMode_ = mode;
    RedisplayPicture();
    Label32->setText(ZoomLabel(mode));
    SpeedButton34->setEnabled(ZoomOutEnabled(mode));
    SpeedButton33->setEnabled(ZoomInEnabled(mode));
}

void TViewer::RedisplayPicture(bool force) {
    if (lastDisplayMode_ != 0 && viewerJpeg_) DisplayPicture(viewerJpeg_.get(), lastDisplayMode_, force);
}

void TViewer::ClearViewer() {
    Image1->SetImage({});
    Image1->setGeometry(0, 0, 0, 0);
    Image1->hide();
    content_->resize(0, 0);
    lastDisplayMode_ = 0;
    layoutZoom_ = 0;
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    Bevel8->hide();
    Bevel9->hide();
    Label43->clear();  // the size of a picture no longer drawn
}

void TViewer::ShowNoPicture() {
    ClearViewer();
    viewerJpeg_.reset();
    previousFileName_.clear();
    showsLivePicture_ = false;
    SetPictureCaption(QString(), 0);
    host_.MotionGauge().SetProgress(0);
}

void TViewer::ForgetRemovedFile() {
    if (showsLivePicture_ || previousFileName_.empty()) return;
    std::error_code error;
    if (!std::filesystem::exists(previousFileName_, error) && !error) ShowNoPicture();
}

QImage TViewer::Drawn(engine::twebcampicture& picture) const {
    engine::Bitmap bitmap = services_.decode(picture);
    // The enhancement works on a copy; the picture itself keeps its bytes.
    if (Enhance.on && (Enhance.level != 0 || Enhance.mix != 0) && services_.enhance) {
        try {
            services_.enhance(bitmap, Enhance.level, Enhance.mix);
        } catch (const std::exception&) {
            bitmap = services_.decode(picture);  // too large to enhance: shown as it is
        }
    }
    return ImageOfBitmap(bitmap);
}

void TViewer::DisplayPicture(engine::twebcampicture* picture, int mode, bool force) {
    QImage image;
    if (picture) {
        try {
            image = Drawn(*picture);
        } catch (const std::exception&) {
            image = {};  // a picture that does not decode shows as no picture
        }
    }
    if (image.isNull() || image.width() == 0 || image.height() == 0) {
        ClearViewer();
        return;
    }
    const PictureSize box{ScrollBox1->width(), ScrollBox1->height()};
    const PictureSize size = ZoomedSize(zoomMode_, {image.width(), image.height()}, box);
    // A webcam that refreshes often must not make the view jump: the same size at the same
    // zoom keeps the layout and the scroll position.
    const bool keep = !force && Image1->isVisible() && Image1->width() == size.width &&
                      Image1->height() == size.height && layoutZoom_ == zoomMode_;
    if (!keep) Relayout(size);
    if (picture != viewerJpeg_.get()) viewerJpeg_ = services_.makePicture(picture->Bytes());
    lastDisplayMode_ = mode;
    Image1->SetImage(image.scaled(size.width, size.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    if (!(keep && Bevel8->isVisible())) PlaceBevels();
    Image1->show();
    Label43->setText(SizeLabelText(image.width(), image.height()));
}

void TViewer::Relayout(PictureSize size) {
    ++relayouts_;
    layoutZoom_ = zoomMode_;
    const PictureSize box{ScrollBox1->width(), ScrollBox1->height()};
    const PictureSize origin = CentredOrigin(size, box);
    content_->resize(std::max(box.width, origin.width + size.width), std::max(box.height, origin.height + size.height));
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    Image1->setGeometry(origin.width, origin.height, size.width, size.height);
}

void TViewer::PlaceBevels() {
    const QRect r = Image1->geometry();
    // Bevels that would reach outside the box are hidden rather than clipped.
    if (r.left() < 11 || r.top() < 11) {
        Bevel8->hide();
        Bevel9->hide();
        return;
    }
    Bevel8->setGeometry(r.left() - 4, r.top() - 4, r.width() + 8, r.height() + 8);
    Bevel9->setGeometry(r.left() - 10, r.top() - 10, r.width() + 20, r.height() + 20);
    Bevel8->show();
    Bevel9->show();
}

void TViewer::ShowPictureFile(const std::string& fileName, bool withCaption) {
    showsLivePicture_ = false;
    host_.RememberDiskPageState();
    if (withCaption) host_.SetStatusText(Text(65278));
    long long size = shownFileSize_;
    if (EndsInJpg(fileName)) {
        try {
            std::string bytes = ReadFileBytes(fileName);
            if (withCaption) host_.SetStatusText(Text(65279));
            size = static_cast<long long>(bytes.size());
            viewerJpeg_ = services_.makePicture(std::move(bytes));
        } catch (const std::exception&) {
            // A file that cannot be read leaves the view as it was.
        }
    }
    if (!previousFileName_.empty() && previousFileName_ != fileName && services_.compareFiles) {
        host_.LoadCurrentMotionSettings();
        const int score = services_.compareFiles(previousFileName_, fileName);
        media::TMMLEDGauge& gauge = host_.MotionGauge();
        gauge.SetProgress(score);
        gauge.SetPoint1(host_.MotionThreshold() * 4);
        gauge.SetPoint2(host_.MotionThreshold() * 4);
    }
    previousFileName_ = fileName;
    DisplayPicture(viewerJpeg_.get(), kDisplayFile);
    if (withCaption) {
        SetPictureCaption(QString::fromStdString(platform::Cp1252ToUtf8(fileName)), size);
        host_.SetStatusText(Text(65249));
    }
}

void TViewer::SetPictureCaption(const QString& text, long long size) {
    shownFileName_ = ShortenCaption(text);
    shownFileSize_ = size;
    Label9->setText(PictureCaptionText(text, shownFileName_, platform::Now(), host_.DiskEntryNumber(),
                                       host_.DiskEntryCount()));
    Label19->setText(PictureSizeText(size));
}

void TViewer::ShowUnsavedCaption() { SetPictureCaption(Text(65221), 0); }

void TViewer::ShowLatestPicture(std::unique_ptr<engine::twebcampicture> picture, const std::string& fileName) {
    if (!picture) {
        ShowNoPicture();
        return;
    }
    viewerJpeg_ = std::move(picture);
    showsLivePicture_ = fileName.empty();
    DisplayPicture(viewerJpeg_.get(), kDisplayFile);
    previousFileName_ = fileName;
    if (fileName.empty()) {
        host_.MotionGauge().SetProgress(0);
        ShowUnsavedCaption();
    } else {
        SetPictureCaption(QString::fromStdString(platform::Cp1252ToUtf8(fileName)), 0);
    }
    RepaintPicture();
}

void TViewer::RepaintPicture() { Image1->update(); }

void TViewer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RedisplayPicture();
}

}  // namespace ui

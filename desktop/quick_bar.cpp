#include "desktop/quick_bar.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDrag>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include <algorithm>

#include "desktop/quick_bar_button.h"
#include "desktop/quick_bar_store.h"
#include "desktop/url_drop.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"
#include "platform/cp1252.h"

namespace desktop {

namespace {

constexpr int kGripper = 16;
constexpr int kBarOffset = 18;  // the tool bar beside (or below) the gripper

const std::vector<const char*> kUrlFormats{"text/uri-list", "text/x-moz-url", "text/plain"};

}  // namespace

Tquickbar::Tquickbar(QuickBarHost& host, std::shared_ptr<AppBarService> service, QWidget* parent)
    : TAppBar(std::move(service), parent), FHost(host) {
    setObjectName(QStringLiteral("quickbar"));
    setWindowTitle(QStringLiteral("Doroza"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    // A docked bar is hardly ever the active window: its buttons' hints show all the same.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    imgmenu = new QLabel(this);
    imgmenu->setObjectName(QStringLiteral("imgmenu"));
    imgmenu->setGeometry(0, 0, kGripper, kGripper);
    // The program's own icon, as the main window has it.
    imgmenu->setPixmap(windowIcon().pixmap(kGripper, kGripper));
    imgmenu->installEventFilter(this);
    tbrQuickBar = new QWidget(this);
    tbrQuickBar->setObjectName(QStringLiteral("tbrQuickBar"));
    BuildMenus();

    BlankButton = DrawBlankButton();
    LoadSettings();
    // Fixed, whatever was stored.
    FSettings.TaskEntry = abtShow;
    FSettings.MinWidth = 124;
    FSettings.MinHeight = 104;
    FSettings.VertDockSize = 100;
    FSettings.HorzDockSize = 80;
    FSettings.MinVertDockSize = 100;
    FSettings.MinHorzDockSize = 80;
    FSettings.HorzSizeInc = kQuickButtonWidth;
    FSettings.VertSizeInc = kQuickButtonHeight;
    FSettings.AlwaysOnTop = 1;
    UpdateBar();
    show();
}

Tquickbar::~Tquickbar() { SaveSettings(); }

void Tquickbar::BuildMenus() {
    popMenu = new QMenu(this);
    popMenu->setObjectName(QStringLiteral("popMenu"));
    butpopup = new QMenu(this);
    butpopup->setObjectName(QStringLiteral("butpopup"));
    const auto add = [this](QMenu* menu, const char* name, const QString& caption, auto&& action) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, action);
    };
    add(popMenu, "ClearAllCams1", QStringLiteral("Effacer tout"), [this] { ClearButtons(); });
    popMenu->addSeparator();
    add(popMenu, "StartCamsonDoroza1", QStringLiteral("Démarrer les webcams de la DorOza"), [this] { RunButtonWebcams(true); });
    add(popMenu, "StopCamsonDoroza1", QStringLiteral("Stopper les webcams de la DorOza"), [this] { RunButtonWebcams(false); });
    popMenu->addSeparator();
    add(popMenu, "StartAllWebcams1", QStringLiteral("Démarrer toutes les webcams"), [this] { FHost.StartAllWebcams(); });
    add(popMenu, "StopAllWebcams1", QStringLiteral("Stopper toutes les webcams"), [this] { FHost.StopAllWebcams(); });
    popMenu->addSeparator();
    add(popMenu, "Restore1", QStringLiteral("Restaurer OVL"), [this] { FHost.RestoreMainWindow(); });
    add(popMenu, "miExit", QStringLiteral("&Fermer la Doroza"), [this] { close(); });
    popMenu->addSeparator();
    // Closing the main window deletes this bar, so not from inside its own menu's signal: the
    // menu and the action still run when it returns.
    add(popMenu, "Exit1", QStringLiteral("Quitter"), [this] {
        QMetaObject::invokeMethod(qApp, [host = &FHost] { host->CloseMainWindow(); }, Qt::QueuedConnection);
    });

    add(butpopup, "Remove1", QStringLiteral("Retirer de la DorOza"), [this] {
        RemoveButton(PressedButton);
        PressedButton = nullptr;
    });
    butpopup->addSeparator();
    add(butpopup, "StartWebcam1", QStringLiteral("Démarrer la webcam"), [this] { FHost.StartCurrentWebcam(); });
    add(butpopup, "StopWebcam1", QStringLiteral("Arrêter la webcam"), [this] { FHost.StopCurrentWebcam(); });
    add(butpopup, "EditWebcam1", QStringLiteral("Editer WebCam"), [this] { FHost.EditCurrentWebcam(); });
    butpopup->addSeparator();
    add(butpopup, "CopyPicture1", QStringLiteral("Copier l'image"), [this] {
        const QImage picture = FHost.DisplayedPicture();
        if (!picture.isNull() && picture.width() > 0 && picture.height() > 0) QApplication::clipboard()->setImage(picture);
    });
    add(butpopup, "CopyURL1", QStringLiteral("Copier l'adresse"), [this] {
        engine::twebcammanager* manager = FHost.WebcamManager();
        if (!manager || FPressedWebcam < 1 || FPressedWebcam > manager->Count()) return;
        const std::string url = manager->GetWebcam(FPressedWebcam)->Rec().PictureURL.str();
        QApplication::clipboard()->setText(QString::fromStdString(platform::Cp1252ToUtf8(url)));
    });
    butpopup->addSeparator();
    add(butpopup, "BrowseHomepage1", QStringLiteral("Parcourir"), [this] {
        engine::twebcammanager* manager = FHost.WebcamManager();
        if (!manager || FPressedWebcam < 1 || FPressedWebcam > manager->Count()) return;
        const QString link =
            QString::fromStdString(platform::Cp1252ToUtf8(manager->GetWebcam(FPressedWebcam)->Rec().LinkURL.str()));
        if (link.left(5).toUpper() == QStringLiteral("HTTP:")) {
            FHost.OpenWebPage(link);
        } else {
            FHost.Message(QStringLiteral("Lien invalid -- Utilisez la fonction éditer pour définir une nouvelle adresse."));
        }
    });
}

// --- buttons ------------------------------------------------------------------------------

std::vector<int> Tquickbar::ButtonWebcams() const {
    std::vector<int> webcams;
    for (const TQuickBarButton* button : FButtons) webcams.push_back(button->Tag());
    return webcams;
}

int Tquickbar::PositionOf(const TQuickBarButton* button) const {
    const auto it = std::find(FButtons.begin(), FButtons.end(), button);
    return it == FButtons.end() ? -1 : static_cast<int>(it - FButtons.begin());
}

void Tquickbar::AddButton(int index) {
    auto* button = new TQuickBarButton(index, FHost, BlankButton, tbrQuickBar);
    button->installEventFilter(this);
    button->setContextMenuPolicy(Qt::PreventContextMenu);
    FButtons.insert(FButtons.begin(), button);
    LayoutButtons();
}

void Tquickbar::AppendButton(int index) {
    AddButton(index);
    MoveButton(0, static_cast<int>(FButtons.size()) - 1);
}

void Tquickbar::MoveButton(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= int(FButtons.size()) || to >= int(FButtons.size())) return;
    TQuickBarButton* moved = FButtons[from];
    FButtons.erase(FButtons.begin() + from);
    FButtons.insert(FButtons.begin() + to, moved);
    LayoutButtons();
}

void Tquickbar::RemoveButton(TQuickBarButton* button) {
    const int position = PositionOf(button);
    if (position < 0) return;
    FButtons.erase(FButtons.begin() + position);
    if (PressedButton == button) PressedButton = nullptr;
    button->hide();
    button->deleteLater();  // it may be the one whose menu is running
    LayoutButtons();
}

void Tquickbar::ClearButtons() {
    while (!FButtons.empty()) RemoveButton(FButtons.front());
}

void Tquickbar::LayoutButtons() {
    // Rows of buttons across the tool bar, as many as fit (at least one a row); the rows that do
    // not fit whole are hidden, not shown cut.
    const int perRow = std::max(1, tbrQuickBar->width() / kQuickButtonWidth);
    const int rows = std::max(1, tbrQuickBar->height() / kQuickButtonHeight);
    for (std::size_t i = 0; i < FButtons.size(); ++i) {
        const int row = static_cast<int>(i) / perRow, column = static_cast<int>(i) % perRow;
        FButtons[i]->move(column * kQuickButtonWidth, row * kQuickButtonHeight);
        FButtons[i]->setHidden(row >= rows);
    }
}

void Tquickbar::UpdateWebcamButton(int index) {
    for (TQuickBarButton* button : FButtons) {
        if (button->Tag() == index) button->update();
    }
}

// --- settings -----------------------------------------------------------------------------

bool Tquickbar::LoadSettings() {
    const bool stored = TAppBar::LoadSettings();
    if (!stored) SetEdge(abeTop);
    engine::twebcammanager* manager = FHost.WebcamManager();
    for (const std::string& name : ReadQuickBarNames()) {
        // A name that matches no webcam is skipped; the next save leaves it out.
        const int index = manager ? manager->IndexOfName(name) : -1;
        if (index >= 1) AppendButton(index);
    }
    return stored;
}

bool Tquickbar::SaveSettings() {
    std::vector<std::string> names;
    engine::twebcammanager* manager = FHost.WebcamManager();
    for (const int webcam : ButtonWebcams()) {
        if (manager && webcam >= 1 && webcam <= manager->Count()) names.push_back(manager->GetWebcam(webcam)->Name());
    }
    // The names and the position in one go: "DOROZADATA" is never missing, not even for a moment.
    return WriteQuickBarStore(names, FSettings);
}

void Tquickbar::Reload() {
    ClearButtons();
    LoadSettings();
}

void Tquickbar::ClearRegistry() { ClearQuickBarStore(); }

// --- webcams from dropped addresses -------------------------------------------------------

void Tquickbar::AddURLs(const std::string& text) {
    const DroppedLines lines = UrlsFromText(text);
    for (const std::string& url : lines.urls) AddWebcamFromURL(url);
    if (lines.capped) {
        FHost.Message(QStringLiteral("Seules les %1 premières lignes du texte déposé ont été lues.").arg(lines.linesRead));
    }
}

void Tquickbar::AddWebcamFromURL(const std::string& url) {
    engine::twebcammanager* manager = FHost.WebcamManager();
    if (!manager) return;
    engine::TWebcamDefRec rec{};
    manager->InitNewWebcamRecord(rec);
    engine::TWebcamDef1Rec rec2{};
    const DroppedWebcamDefaults defaults = FHost.DroppedWebcamSettings();
    rec.PictureURL.assign(url.substr(0, 255));
    rec.Refresh = defaults.refresh;
    rec.HeadCheck = defaults.headCheck;
    rec.SaveMode = defaults.saveMode;
    const int added = manager->AddWebcam(rec, rec2, std::nullopt);
    const int index = added < 0 ? -added : added;  // negative: a webcam with that URL exists
    if (index < 1) return;
    AppendButton(index);
    FHost.WebcamsAdded();
    if (defaults.autoStart) {
        FHost.ShowWebcam(index);
        FHost.StartCurrentWebcam();
    }
}

void Tquickbar::AddURLFile(const std::string& path) {
    if (const std::optional<std::string> url = ShortcutFileUrl(path)) AddURLs(*url);
}

void Tquickbar::DropWebcams(int webcamIndex, TQuickBarButton* target) {
    engine::twebcammanager* manager = FHost.WebcamManager();
    if (!manager) return;
    std::vector<int> webcams;
    if (webcamIndex == 0) {
        for (int i = 1; i <= manager->Count(); ++i) {
            if (manager->GetWebcam(i)->FSelected) webcams.push_back(i);
        }
    } else if (webcamIndex <= manager->Count()) {
        webcams.push_back(webcamIndex);
    }
    for (const int webcam : webcams) {
        if (!target) {
            AppendButton(webcam);
            continue;
        }
        // The new button goes first, then to the target's place: right after the target.
        AddButton(webcam);
        MoveButton(0, PositionOf(target));
    }
}

bool Tquickbar::DropMimeData(const QMimeData& data, TQuickBarButton* target) {
    if (data.hasFormat(QLatin1String(kButtonDragFormat))) {
        const int from = data.data(QLatin1String(kButtonDragFormat)).toInt();
        MoveButton(from, target ? PositionOf(target) : static_cast<int>(FButtons.size()) - 1);
        return true;
    }
    if (data.hasFormat(QLatin1String(kWebcamDragFormat))) {
        DropWebcams(data.data(QLatin1String(kWebcamDragFormat)).toInt(), target);
        return true;
    }
    // Files first: a file manager offers their paths as text too.
    bool taken = false;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) continue;
        AddURLFile(url.toLocalFile().toStdString());
        taken = true;
    }
    if (taken) return true;
    if (data.hasFormat(QStringLiteral("text/x-moz-url"))) {
        const QByteArray raw = data.data(QStringLiteral("text/x-moz-url"));
        const QString link = QString::fromUtf16(reinterpret_cast<const char16_t*>(raw.constData()), raw.size() / 2);
        AddURLs(link.section(QLatin1Char('\n'), 0, 0).toStdString());
        return true;
    }
    if (data.hasText()) {
        AddURLs(data.text().toStdString());
        return true;
    }
    return false;
}

// --- start and stop the bar's webcams ------------------------------------------------------

void Tquickbar::RunButtonWebcams(bool start) {
    engine::twebcammanager* manager = FHost.WebcamManager();
    if (!manager) return;
    if (start) FHost.SetRunState(4);
    for (const int webcam : ButtonWebcams()) {
        if (webcam < 1 || webcam > manager->Count()) continue;
        if (start) {
            manager->StartWebcam(webcam);
        } else {
            manager->StopWebcam(webcam);
        }
    }
    FHost.RunStateChanged();
    if (manager->RunningCount() == 0) FHost.SetRunState(5);
}

// --- window events ------------------------------------------------------------------------

void Tquickbar::closeEvent(QCloseEvent* event) {
    FHost.QuickBarClosed();
    TAppBar::closeEvent(event);
}

void Tquickbar::paintEvent(QPaintEvent* event) {
    TAppBar::paintEvent(event);
    QPainter p(this);
    const QPalette& palette = this->palette();
    const QColor colours[] = {palette.color(QPalette::Button), palette.color(QPalette::Light),
                              palette.color(QPalette::Dark)};
    // The gripper: 16 one-pixel lines along the top (on a side edge) or the left side.
    const bool alongTop = IsVerticalEdge(Edge());
    for (int i = 0; i < kGripper; ++i) {
        p.setPen(colours[i % 3]);
        if (alongTop) {
            p.drawLine(2, i, width() - 2, i);
        } else {
            p.drawLine(i, 2, i, height() - 2);
        }
    }
}

void Tquickbar::resizeEvent(QResizeEvent* event) {
    TAppBar::resizeEvent(event);
    if (IsVerticalEdge(Edge())) {
        tbrQuickBar->setGeometry(0, kBarOffset, width(), height() - kBarOffset);
    } else {
        tbrQuickBar->setGeometry(kBarOffset, 0, width() - kBarOffset, height());
    }
    LayoutButtons();
}

void Tquickbar::keyPressEvent(QKeyEvent* event) {
    FHost.SetShiftState(QApplication::queryKeyboardModifiers());
    TAppBar::keyPressEvent(event);
}

void Tquickbar::keyReleaseEvent(QKeyEvent* event) {
    FHost.SetShiftState(QApplication::queryKeyboardModifiers());
    TAppBar::keyReleaseEvent(event);
}

TQuickBarButton* Tquickbar::ButtonAt(QPoint barPoint) const {
    for (TQuickBarButton* button : FButtons) {
        if (!button->isHidden() && button->geometry().translated(tbrQuickBar->pos()).contains(barPoint)) return button;
    }
    return nullptr;
}

bool Tquickbar::OwnDrag(const QMimeData& data) {
    return data.hasFormat(QLatin1String(kWebcamDragFormat)) || data.hasFormat(QLatin1String(kButtonDragFormat));
}

void Tquickbar::AcceptDrag(QDropEvent* event) {
    // The bar's own buttons and the grid's webcams move as proposed. What another program
    // offers is only ever copied: a source that honours move (a file manager) deletes it.
    if (OwnDrag(*event->mimeData())) return event->acceptProposedAction();
    if (!(event->possibleActions() & Qt::CopyAction)) return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void Tquickbar::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    const bool urls = std::any_of(kUrlFormats.begin(), kUrlFormats.end(),
                                  [&](const char* f) { return data->hasFormat(QLatin1String(f)); });
    if (!OwnDrag(*data) && !urls) return event->ignore();
    SlideAutoHide(true);  // an auto-hidden bar slides out for the drop
    AcceptDrag(event);
}

void Tquickbar::dragMoveEvent(QDragMoveEvent* event) {
    if (tbrQuickBar->geometry().contains(event->position().toPoint())) {
        AcceptDrag(event);
    } else {
        event->ignore();
    }
}

void Tquickbar::dropEvent(QDropEvent* event) {
    const QPoint at = event->position().toPoint();
    if (DropMimeData(*event->mimeData(), ButtonAt(at))) {
        AcceptDrag(event);
    } else {
        event->ignore();
    }
}

// --- the buttons' and the menu picture's mouse ---------------------------------------------

bool Tquickbar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == imgmenu) {
        MenuPictureMouse(event);
    } else if (auto* button = qobject_cast<TQuickBarButton*>(watched); button && PositionOf(button) >= 0) {
        ButtonMouse(button, event);
    }
    return TAppBar::eventFilter(watched, event);
}

void Tquickbar::MenuPictureMouse(QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        FHost.ShowMainWindow();
    } else if (event->type() == QEvent::MouseButtonPress) {
        popMenu->popup(mapToGlobal(QPoint(-1, kGripper)));
    }
}

void Tquickbar::ButtonMouse(TQuickBarButton* button, QEvent* event) {
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse || Dragging()) return;  // a drag of the bar stays the bar's to its end
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            FPressedWebcam = button->Tag();
            PressedButton = button;
            if (mouse->button() == Qt::LeftButton) ButtonDragged = false;
            break;
        case QEvent::MouseMove:
            if ((mouse->buttons() & Qt::LeftButton) && !ButtonDragged && !button->rect().contains(mouse->position().toPoint())) {
                ButtonDragged = true;
                auto* drag = new QDrag(button);
                auto* data = new QMimeData;
                data->setData(QLatin1String(kButtonDragFormat), QByteArray::number(PositionOf(button)));
                drag->setMimeData(data);
                drag->setPixmap(QPixmap::fromImage(button->Face()));
                drag->exec(Qt::MoveAction);
            }
            break;
        case QEvent::MouseButtonRelease: {
            const int webcam = button->Tag();
            if (mouse->button() == Qt::LeftButton && !ButtonDragged) FHost.ShowMainWindow();
            FHost.ShowWebcam(webcam);
            if (mouse->button() == Qt::RightButton) butpopup->popup(mouse->globalPosition().toPoint());
            break;
        }
        default: break;
    }
}

}  // namespace desktop

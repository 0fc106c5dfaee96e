#pragma once
// The main window's side of the quick bar: the "Doroza" button (ToolButton25) that opens and
// closes it, QuickBarClosed when the bar closes itself, reopening it at start-up when it was open,
// and what the rest of the window tells the bar (new pictures, reloads, forgetting its buttons).
// It is also the bar's host: the bar reaches the window's commands through it.
//
// Main thread only.

#include <QPointer>

#include "desktop/quick_bar.h"
#include "desktop/quick_bar_host.h"

namespace ui {

class Tsupamain;

class QuickBarLink : public desktop::QuickBarHost {
public:
    explicit QuickBarLink(Tsupamain& form);
    // An open bar saves its buttons and goes.
    ~QuickBarLink() override;
    QuickBarLink(const QuickBarLink&) = delete;
    QuickBarLink& operator=(const QuickBarLink&) = delete;

    // ToolButton25Click: opens the bar, or closes it when it is open.
    void ToolButton25Click();
    // At start-up, once the webcams are loaded: the bar again when it was open at the last exit.
    void ReopenAtStart();
    // At shutdown: the bar saves its buttons and settings and goes (it stays marked open).
    void CloseAtShutdown();
    // The bar is open (Extra1.QuickBarShown) and exists.
    desktop::Tquickbar* Bar() const;

    void UpdateWebcamButton(int webcam);
    // Around a change of the webcam list: the open bar saves its buttons before and reloads them
    // after, by name.
    void SaveButtons();
    void ReloadButtons();
    // The webcams the buttons named are gone (a new data folder, every webcam deleted): the open
    // bar loses its buttons, a closed one its stored button list.
    void ForgetButtons();

    // desktop::QuickBarHost.
    engine::twebcammanager* WebcamManager() override;
    desktop::DroppedWebcamDefaults DroppedWebcamSettings() const override;
    QImage WebcamThumbnail(int webcam) const override;
    void ShowMainWindow() override;
    void ShowWebcam(int webcam) override;
    void StartCurrentWebcam() override;
    void StopCurrentWebcam() override;
    void EditCurrentWebcam() override;
    void StartAllWebcams() override;
    void StopAllWebcams() override;
    void SetRunState(int code) override;
    void RunStateChanged() override;
    void WebcamsAdded() override;
    void RestoreMainWindow() override;
    void CloseMainWindow() override;
    QImage DisplayedPicture() const override;
    void OpenWebPage(const QString& url) override;
    void Message(const QString& text) override;
    void SetShiftState(Qt::KeyboardModifiers modifiers) override;
    void QuickBarClosed() override;

private:
    void Open();
    void SetButtonDown(bool down);

    Tsupamain& form_;
    QPointer<desktop::Tquickbar> bar_;  // the one quick bar; null when closed
};

}  // namespace ui

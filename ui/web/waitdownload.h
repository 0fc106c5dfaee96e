#pragma once
// "Téléchargement en cours...": the small window shown while a web request runs; its bar
// creeps on every 400 ms and wraps, so the user sees that the program is alive.

#include <QDialog>

class QProgressBar;
class QTimer;

namespace ui {

class Twaitdownload : public QDialog {
    Q_OBJECT
public:
    explicit Twaitdownload(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Timer1Timer();

    QProgressBar* ProgressBar1;
    QTimer* Timer1;
};

Twaitdownload& waitdownload();

// Shows the wait window for its lifetime.
class WaitDownloadScope {
public:
    WaitDownloadScope();
    ~WaitDownloadScope();
    WaitDownloadScope(const WaitDownloadScope&) = delete;
    WaitDownloadScope& operator=(const WaitDownloadScope&) = delete;
};

}  // namespace ui

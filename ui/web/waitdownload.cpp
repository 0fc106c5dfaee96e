#include "ui/web/waitdownload.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/title_width.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {

Twaitdownload::Twaitdownload(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("waitdownload"));
    setWindowTitle(QStringLiteral("Téléchargement en cours..."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Téléchargement de la list en cours ... merci de patienter un court instant ..."), this));
    ProgressBar1 = Named<QProgressBar>(this, "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    layout->addWidget(ProgressBar1);
    Timer1 = Named<QTimer>(this, "Timer1");
    Timer1->setInterval(400);
    connect(Timer1, &QTimer::timeout, this, &Twaitdownload::Timer1Timer);
    // A fixed size, 344 x 71 or what the text needs in the font in use.
    const QSize needed = sizeHint();
    setFixedSize(std::max(344, needed.width()), std::max(71, needed.height()));
    FitTitle(*this);
}

void Twaitdownload::showEvent(QShowEvent* event) {
    ProgressBar1->setValue(0);
    Timer1->start();
    QDialog::showEvent(event);
}

void Twaitdownload::hideEvent(QHideEvent* event) {
    Timer1->stop();
    ProgressBar1->setValue(0);
    QDialog::hideEvent(event);
}

void Twaitdownload::Timer1Timer() {
    const int next = ProgressBar1->value() + 1;
    ProgressBar1->setValue(next > ProgressBar1->maximum() ? 0 : next);
}

Twaitdownload& waitdownload() { return DialogInstance<Twaitdownload>::Get(); }

WaitDownloadScope::WaitDownloadScope() { waitdownload().show(); }

WaitDownloadScope::~WaitDownloadScope() { waitdownload().hide(); }

}  // namespace ui

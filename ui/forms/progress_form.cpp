#include "ui/forms/progress_form.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>

#include "media/rounding.h"
#include "ui/dialogs/dialog_controls.h"

namespace ui {

int ProgressPercent(int done, int total) {
    if (total <= 0) return 0;
    const std::int64_t percent = media::RoundHalfEven(std::int64_t{done} * 100, std::int64_t{total});
    return static_cast<int>(std::clamp<std::int64_t>(percent, 0, 100));
}

ProgressForm::ProgressForm(const char* name, const QString& caption, const QString& prefix, QWidget* parent,
                           Qt::WindowFlags flags)
    : QDialog(parent, flags), layout_(new QVBoxLayout(this)), prefix_(prefix) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    bar_ = Named<QProgressBar>(this, "ProgressBar1");
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    label_ = Named<QLabel>(this, "Label1");
    layout_->addWidget(bar_);
    layout_->addWidget(label_);
}

void ProgressForm::ShowCount(int done, int total) {
    label_->setText(prefix_ + QString::number(done) + QStringLiteral("de") + QString::number(total));
    bar_->setValue(ProgressPercent(done, total));
}

}  // namespace ui

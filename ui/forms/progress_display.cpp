#include "ui/forms/progress_display.h"

#include <QLabel>
#include <QProgressBar>
#include <QString>

#include <algorithm>
#include <cstdint>

#include "media/rounding.h"

namespace ui {

int ProgressPercent(int done, int total) {
    if (total <= 0) return 0;
    const std::int64_t percent = media::RoundHalfEven(std::int64_t{done} * 100, std::int64_t{total});
    return static_cast<int>(std::clamp<std::int64_t>(percent, 0, 100));
}

void ShowProgress(QProgressBar& bar, QLabel& label, const QString& prefix, int done, int total) {
    label.setText(prefix + QString::number(done) + QStringLiteral("de") + QString::number(total));
    bar.setValue(ProgressPercent(done, total));
}

}  // namespace ui

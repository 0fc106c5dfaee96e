#include "ui/controls/elided_label.h"

#include <QPainter>
#include <QStyle>

namespace ui {
namespace {

// What a label asks for at most, however long its text: the rest is shown cut.
constexpr int kPreferredWidth = 200;

}  // namespace

ElidedLabel::ElidedLabel(Qt::TextElideMode mode, QWidget* parent) : QLabel(parent), mode_(mode) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::SetReadableWidth(int pixels) {
    readableWidth_ = std::max(0, pixels);
    // A layout asks an "ignored" widget for no least width at all.
    setSizePolicy(readableWidth_ > 0 ? QSizePolicy::Preferred : QSizePolicy::Ignored, QSizePolicy::Preferred);
    updateGeometry();
}

QSize ElidedLabel::minimumSizeHint() const {
    return {std::min(QLabel::sizeHint().width(), readableWidth_), QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const {
    const QSize whole = QLabel::sizeHint();
    return {std::max(std::min(whole.width(), kPreferredWidth), minimumSizeHint().width()), whole.height()};
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QString shown = fontMetrics().elidedText(text(), mode_, area.width());
    style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shown, foregroundRole());
}

}  // namespace ui

#include "ui/dialogs/selthumbsize.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"

#include <QPixmap>
#include <QPushButton>
#include <QToolButton>

#include <array>

namespace ui {

namespace {

struct ThumbButton {
    const char* name;
    QSize preview;
};

// Largest first; each button is its preview plus the cell's frame and caption line.
constexpr std::array<ThumbButton, 7> kButtons{{
    {"b1", {320, 240}},
    {"b2", {240, 180}},
    {"b3", {160, 120}},
    {"b6", {100, 75}},
    {"b4", {80, 60}},
    {"b5", {48, 36}},
    {"b7", {36, 24}},
}};
constexpr QSize kCellFrame{12, 26};
constexpr int kGap = 8;

}  // namespace

Tselthumbsize::Tselthumbsize(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("selthumbsize"));
    setWindowTitle(QStringLiteral("Select Thumbnail Size"));
    setFixedSize(651, 517);
    // The two largest on the first line, the other five below them; each line's bottoms are
    // aligned to its first (largest) button.
    constexpr std::size_t kSecondLine = 2;
    int x = kGap;
    int lineBottom = kGap + (kButtons[0].preview + kCellFrame).height();
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const QSize size = kButtons[i].preview + kCellFrame;
        if (i == kSecondLine) {
            x = kGap;
            lineBottom += kGap + size.height();
        }
        auto* button = Named<QToolButton>(this, kButtons[i].name);
        // The caption below each picture is blank; Qt would draw a narrow button's blanks as
        // an ellipsis, so the button shows its picture only.
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setIconSize(kButtons[i].preview);
        button->setFixedSize(size);
        button->move(x, lineBottom - size.height());
        connect(button, &QToolButton::clicked, this, [this, button] { ButtonClick(button); });
        x += size.width() + kGap;
    }
    auto* cancel = Named<QPushButton>(this, "CancelBtn", QStringLiteral("Annuler"));
    cancel->adjustSize();
    cancel->move(width() - cancel->width() - kGap, height() - cancel->height() - kGap);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool Tselthumbsize::Execute(const QImage& picture, int& height, int& width) {
    chosen_ = nullptr;
    for (const ThumbButton& spec : kButtons) {
        auto* button = findChild<QToolButton*>(QString::fromLatin1(spec.name));
        const QImage glyph =
            picture.isNull() ? QImage() : picture.scaled(spec.preview, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        button->setIcon(QIcon(QPixmap::fromImage(glyph)));
    }
    if (exec() != QDialog::Accepted || !chosen_) return false;
    width = chosen_->width();
    height = chosen_->height();
    return true;
}

void Tselthumbsize::ButtonClick(QToolButton* button) {
    chosen_ = button;
    accept();
}

Tselthumbsize& selthumbsize() { return DialogInstance<Tselthumbsize>::Get(); }

}  // namespace ui

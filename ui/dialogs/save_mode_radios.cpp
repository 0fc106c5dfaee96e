#include "ui/dialogs/save_mode_radios.h"

#include "engine/webcam_records.h"
#include "ui/dialogs/dialog_controls.h"

#include <QBoxLayout>
#include <QRadioButton>
#include <QSpinBox>

namespace ui {

namespace {
constexpr int kMinSkip = 1;
constexpr int kMaxSkip = 253;
}  // namespace

SaveModeRadios::SaveModeRadios(QWidget* parent, QBoxLayout* layout, const SaveModeNames& names)
    : every_(Named<QRadioButton>(parent, names.every, QStringLiteral("toutes les images"))),
      none_(Named<QRadioButton>(parent, names.none, QStringLiteral("Aucune images"))),
      motion_(Named<QRadioButton>(parent, names.motion, QStringLiteral("Si mouvement"))),
      skip_(Named<QRadioButton>(parent, names.skip, QStringLiteral("Sauter"))) {
    layout->addWidget(every_);
    layout->addWidget(none_);
    layout->addWidget(motion_);
    auto* row = new QHBoxLayout;
    row->addWidget(skip_);
    layout->addLayout(row);
    skipCount_ = AddSpinEdit(parent, row, names.skipCount, {}, kMinSkip, kMaxSkip,
                             QStringLiteral("image(s) / enregistrement"));
    skipCount_->setValue(kMinSkip);
}

void SaveModeRadios::Show(std::uint8_t mode) const {
    switch (mode) {
        case engine::kSaveEvery: every_->setChecked(true); break;
        case engine::kSaveNone: none_->setChecked(true); break;
        case engine::kSaveOnMotion: motion_->setChecked(true); break;
        default:
            skip_->setChecked(true);
            skipCount_->setValue(mode);
            break;
    }
}

std::optional<std::uint8_t> SaveModeRadios::Checked() const {
    if (every_->isChecked()) return engine::kSaveEvery;
    if (none_->isChecked()) return engine::kSaveNone;
    if (motion_->isChecked()) return engine::kSaveOnMotion;
    if (skip_->isChecked()) return static_cast<std::uint8_t>(skipCount_->value());
    return std::nullopt;
}

void UncheckRadios(std::initializer_list<QRadioButton*> radios) {
    for (QRadioButton* radio : radios) {
        radio->setAutoExclusive(false);
        radio->setChecked(false);
        radio->setAutoExclusive(true);
    }
}

}  // namespace ui

#include "ui/commands/global_save_text.h"

#include "engine/webcam_records.h"

namespace ui {

QString GlobalSaveText(std::uint8_t on, std::uint8_t mode) {
    if (on == 0) return QStringLiteral("(Eteindre)");
    switch (mode) {
        case engine::kSaveEvery: return QStringLiteral("chaque image");
        case engine::kSaveOnMotion: return QStringLiteral("Si mouvement");
        case engine::kSaveNone: return QStringLiteral("Rien");
        default: return QStringLiteral("Sauter") + QString::number(mode);
    }
}

}  // namespace ui

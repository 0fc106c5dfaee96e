#include "ui/dialogs/category_box.h"

#include "engine/webcam_records.h"
#include "ui/dialogs/dialog_controls.h"

#include <QCollator>
#include <QSignalBlocker>

#include <algorithm>
#include <vector>

namespace ui {

void FillCategoryBox(QComboBox& box, const std::function<std::string(int slot)>& name) {
    constexpr int kMsgAllCameras = 65288;
    struct Entry {
        QString text;
        int value;
    };
    std::vector<Entry> entries{{Message(kMsgAllCameras), 0}};
    for (int slot = 1; slot <= engine::kCategoryNamesUsed; ++slot)
        entries.push_back({QString::fromStdString(name(slot)), slot});
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const Entry& a, const Entry& b) { return collator.compare(a.text, b.text) < 0; });
    // Filling must not run the category handler as a user's choice would.
    const QSignalBlocker blocker(&box);
    for (const Entry& entry : entries) box.addItem(entry.text, entry.value);
    box.setCurrentIndex(box.findData(0));
}

}  // namespace ui

#pragma once
// Places a top-level window in the middle of the primary screen's free area.

class QWidget;

namespace ui {

void CentreOnScreen(QWidget& window);

}  // namespace ui

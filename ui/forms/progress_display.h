#pragma once
// What the two progress forms show for "Done of Total": a bar in percent and a label with the
// numbers run together with the words ("Chargé3de10").

class QLabel;
class QProgressBar;
class QString;

namespace ui {

// Done / Total in percent, rounded halves to even, kept within 0..100; 0 when Total is not
// above 0, so that an empty list never divides by zero.
int ProgressPercent(int done, int total);

// The bar at ProgressPercent and the label at Prefix, Done, "de", Total.
void ShowProgress(QProgressBar& bar, QLabel& label, const QString& prefix, int done, int total);

}  // namespace ui

// Every window of the program that a test can build, the main window among them, as it first
// shows (with the program's placement of dialogs, which widens them for their titles): its
// title and the texts of its labels and buttons fit unelided in the default font.
#include "tests/ui/dialog_test_support.h"
#include "tests/ui/mainform_fixture.h"
#include "ui/dialogs/aboutbox.h"
#include "ui/dialogs/acdefopt.h"
#include "ui/dialogs/changerefresh.h"
#include "ui/dialogs/title_width.h"
#include "ui/dialogs/favpref.h"
#include "ui/dialogs/globalsave.h"
#include "ui/dialogs/joinmail.h"
#include "ui/dialogs/ledcolors.h"
#include "ui/dialogs/motion_settings_dialog.h"
#include "ui/dialogs/preferences.h"
#include "ui/dialogs/proxysetup.h"
#include "ui/dialogs/selectenabled.h"
#include "ui/dialogs/selectsave.h"
#include "ui/dialogs/selectwebcam.h"
#include "ui/dialogs/selthumbsize.h"
#include "ui/dialogs/showtextfile.h"
#include "ui/editors/addheadedit.h"
#include "ui/editors/catedit.h"
#include "ui/editors/newwebcamdlg.h"
#include "ui/forms/loadingwc.h"
#include "ui/forms/loadprog.h"
#include "ui/forms/splash1.h"
#include "ui/forms/waitform.h"
#include "ui/main/screen_placement.h"
#include "ui/saverlist/slistedit.h"
#include "ui/viewer/imageproc.h"
#include "ui/web/checknew.h"
#include "ui/web/getlocation.h"
#include "ui/web/waitdownload.h"
#include "ui/web/wclistdownload.h"
#include "ui/web/wclistman.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>

#include <functional>

namespace {

struct WindowFactory {
    const char* name;
    std::function<QWidget&()> window;
};

// Where a text does not fit in the widget showing it; empty when it does.
std::string CutText(const QWidget& widget, const QString& text, const QSize& needed) {
    if (widget.width() >= needed.width() && widget.height() >= needed.height()) return {};
    return widget.objectName().toStdString() + " \"" + text.toStdString() + "\" needs " +
           std::to_string(needed.width()) + " x " + std::to_string(needed.height()) + ", has " +
           std::to_string(widget.width()) + " x " + std::to_string(widget.height());
}

std::vector<std::string> CutTexts(QWidget& window) {
    std::vector<std::string> cut;
    const int title = ui::TitleBarWidth(window);
    if (window.width() < title)
        cut.push_back("title \"" + window.windowTitle().toStdString() + "\" needs " + std::to_string(title) +
                      ", has " + std::to_string(window.width()));
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || label->text().isEmpty()) continue;
        const QSize needed = label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
        if (std::string where = CutText(*label, label->text(), needed); !where.empty()) cut.push_back(where);
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&window) || button->text().isEmpty()) continue;
        auto* tool = qobject_cast<QToolButton*>(button);
        if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly && !tool->icon().isNull()) continue;  // no text shown
        // A check box or a radio button draws its mark before its text.
        const bool marked = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
        const int mark = marked ? button->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button) +
                                      button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button)
                                : 0;
        const QString text = QString(button->text()).remove(u'&');
        const QSize needed(mark + button->fontMetrics().horizontalAdvance(text), button->fontMetrics().height());
        if (std::string where = CutText(*button, button->text(), needed); !where.empty()) cut.push_back(where);
    }
    return cut;
}

TEST(WindowTexts, EveryTitleAndLabelFitsInTheDefaultFont) {
    const std::vector<WindowFactory> windows = {
        {"aboutbox", [] () -> QWidget& { return ui::aboutbox(); }},
        {"acdefopt", [] () -> QWidget& { return ui::acdefopt(); }},
        {"changerefresh", [] () -> QWidget& { return ui::changerefresh(); }},
        {"favpref", [] () -> QWidget& { return ui::favpref(); }},
        {"globalsave", [] () -> QWidget& { return ui::globalsave(); }},
        {"joinmail", [] () -> QWidget& { return ui::joinmail(); }},
        {"ledcolors", [] () -> QWidget& { return ui::ledcolors(); }},
        {"motionsettings", [] () -> QWidget& { return ui::motionsettings(); }},
        {"preferences", [] () -> QWidget& { return ui::preferences(); }},
        {"proxysetup", [] () -> QWidget& { return ui::proxysetup(); }},
        {"selectenabled", [] () -> QWidget& { return ui::selectenabled(); }},
        {"selectsave", [] () -> QWidget& { return ui::selectsave(); }},
        {"selectwebcam", [] () -> QWidget& { return ui::selectwebcam(); }},
        {"selthumbsize", [] () -> QWidget& { return ui::selthumbsize(); }},
        {"showtextfile", [] () -> QWidget& { return ui::showtextfile(); }},
        {"addheadedit", [] () -> QWidget& { return ui::addheadedit(); }},
        {"catedit", [] () -> QWidget& { return ui::catedit(); }},
        {"newwebcamdlg", [] () -> QWidget& { return ui::newwebcamdlg(); }},
        {"loadingwc", [] () -> QWidget& { return ui::loadingwc(); }},
        {"loadprog", [] () -> QWidget& { return ui::loadprog(); }},
        {"splash1", [] () -> QWidget& { return ui::splash1(); }},
        {"waitform", [] () -> QWidget& { return ui::waitform(); }},
        {"slistedit", [] () -> QWidget& { return ui::slistedit(); }},
        {"saverslistedit", [] () -> QWidget& { return ui::saverslistedit(); }},
        {"imageproc", [] () -> QWidget& { return ui::imageproc(); }},
        {"checknew", [] () -> QWidget& { return ui::checknew(); }},
        {"getlocation", [] () -> QWidget& { return ui::getlocation(); }},
        {"waitdownload", [] () -> QWidget& { return ui::waitdownload(); }},
        {"wclistdownload", [] () -> QWidget& { return ui::wclistdownload(); }},
        {"wclistman", [] () -> QWidget& { return ui::wclistman(); }},
    };
    QWidget mainWindow;
    ui::DialogPlacement placement(mainWindow);
    for (const WindowFactory& factory : windows) {
        SCOPED_TRACE(factory.name);
        QWidget& window = factory.window();
        window.show();
        QApplication::processEvents();
        for (const std::string& cut : CutTexts(window)) ADD_FAILURE() << factory.name << ": " << cut;
        window.hide();
    }
}

class MainWindowTexts : public mainformtest::StartedMainWindowTest {};

TEST_F(MainWindowTexts, TitleAndLabelsFitInTheDefaultFont) {
    form_->show();
    QApplication::processEvents();
    for (const std::string& cut : CutTexts(*form_)) ADD_FAILURE() << "main window: " << cut;
}

}  // namespace

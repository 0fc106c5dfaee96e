#pragma once
// "Télécharger la list des Webcams": checks for a newer version, fetches the index of the
// webcam lists the web site offers and, on a double click, downloads the chosen list into the
// program folder and records it in "downloaded.txt". The requests run on the GUI thread (the
// list requests with the wait window shown); the dialog keeps painting meanwhile, and closing it
// cancels the request, the version check's as well.

#include "ui/web/list_files.h"
#include "ui/web/version_check.h"
#include "ui/web/web_fetch.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace ui {

// What the dialog needs of the main window.
struct ListDownloadServices {
    // The main window's version check, which ends once its argument holds.
    std::function<VersionAnswer(const std::function<bool()>& cancelled)> checkNewVersion;
    std::function<void()> openHomePage;
    std::function<void()> createFromList;                     // the list manager command
    std::function<void(const std::string& path)> listSaved;  // CONFIG's ListFile := path
    WebProxy proxy;
    std::string programFolder;  // ending in '/'
    FetchLimits limits{kListCap};
};

class Twclistdownload : public QDialog {
    Q_OBJECT
public:
    explicit Twclistdownload(QWidget* parent = nullptr);

    // indexUrl empty: the web site's default index. Shows the dialog modally; true.
    bool Execute(const std::string& indexUrl, ListDownloadServices services);

    // Index lines: list box entry i and URLs()[i] belong together.
    const std::vector<std::string>& URLs() const { return URLs_; }
    // The list saved last (its path), empty before.
    const QString& CurrentList() const { return CurrentList_; }

protected:
    void done(int result) override;

private:
    void Timer1Timer();
    void ParseListIndex();
    void ListBox1DblClick();
    void CreatebtnClick();
    // GETs url into Buffer with the wait window shown; false (Buffer empty) when it failed.
    bool Download(const std::string& url);

    QLabel* Label1;
    QListWidget* ListBox1;
    QPushButton* createbtn;
    QPushButton* OKBtn;
    QTimer* Timer1;
    ListDownloadServices services_;
    std::string IndexURL;
    std::string Buffer;
    std::vector<std::string> URLs_;
    std::vector<std::string> names_;
    QString CurrentList_;
    bool busy_ = false;       // a request runs
    bool cancelled_ = false;  // the dialog was closed while it ran
};

Twclistdownload& wclistdownload();

}  // namespace ui

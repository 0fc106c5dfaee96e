#include "ui/main/main_menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <initializer_list>
#include <vector>

#include "ui/icons/icons.h"

namespace ui {
namespace {

// One control: its name, caption (or hint for a tool button), shortcut and handler.
struct Item {
    const char* name;
    const char* caption;
    const char* shortcut;
    const char* handler;
    bool checkable = false;
};

constexpr Item kSeparator{nullptr, nullptr, nullptr, nullptr};

struct Menu {
    const char* name;
    const char* caption;
    std::vector<Item> items;
};

// The menu bar, in order.
const std::vector<Menu>& MenuBar() {
    static const std::vector<Menu> menus = {
        {"File1", "&Fichier",
         {{"SelectWebcamFolder1", "Choisir le dossier des webcams...", "", "SelectWebcamFolder1Click"},
          {"Createwebcamfromwebcamlist1", "Importer &des webcams depuis une liste", "",
           "Createwebcamfromwebcamlist1Click"},
          {"Downloadwebcamlist1", "Télécharger les listes de Webcams", "", "Downloadwebcamlist1Click"},
          {"SaveWebcamList1", "Exporter des webcams dans une liste", "", "SaveWebcamList1Click"},
          kSeparator,
          {"Sendtosystemtray1", "Envoyer dans le systray", "", "Sendtosystemtray1Click"},
          kSeparator,
          {"Exit1", "Q&uitter", "", "Exit1Click"}}},
        {"Webcams1", "&Webcams",
         {{"Startallwebcams1", "Démarrer &toutes les webcams", "", "ToolButton8Click"},
          {"Stopallwebcams1", "Arrêter tout", "", "ToolButton9Click"},
          {"Startselectedwebcams1", "Démarrer toutes les webcams sélectionnées", "", "Startselectedwebcams1Click"},
          {"Stopselectedwebcams1", "Arrêter les webcams sélectionnées", "", "Stopselectedwebcams1Click"},
          {"StartFavorites1", "Démarrer les favoris", "", "StartFavorites1Click"},
          kSeparator,
          {"New1", "Ajouter nouvelle webcam...", "", "New1Click"},
          {"Edit2", "&Editer la webcam sélectionnée...", "", "Edit2Click"},
          {"Editwebcamcategories1", "Editer la ca&tégorie de la caméra actuelle...", "F5",
           "Editwebcamcategories1Click"},
          {"Enablecurrentwebcam1", "&Activer la webcam sélectionnée...", "", "ToolButton20Click"},
          {"Disablecurrentwebcam1", "Désactiver la webcam actuelle", "", "ToolButton19Click"},
          {"Enableselectedwebcams1", "Activer les webcams sélectionnées", "", "Enableselectedwebcams1Click"},
          {"Disableselectedwebcams1", "Désactiver les webcams sélectionnées", "", "Disableselectedwebcams1Click"},
          {"Enableallwebcams1", "A&ctiver toutes les webcams", "", "Enableallwebcams1Click"},
          {"Disableallwebcams1", "D&ésactiver toutes les webcams", "", "Disableallwebcams1Click"},
          kSeparator,
          {"Deletecurrentwebcam1", "&Effacer la webcam sélectionnée...", "", "Deletecurrentwebcam1Click"},
          {"Deleteselectedwebcams1", "Effacer les webcams sélectionnées", "", "Deleteselectedwebcams1Click"},
          {"Deletedisabledwebcams1", "Effacer les webcams inactives...", "", "Deletedisabledwebcams1Click"},
          {"Deleteallwebcams1", "Effacer toutes les webcams...", "", "Deleteallwebcams1Click"},
          kSeparator,
          {"AddselectedwebcamstoFavorites2", "Ajouter les webcams sélectionnées à mes favoris", "Ctrl+T",
           "AddselectedwebcamstoFavorites2Click"},
          {"RemoveselectedwebcamsfromFavorites2", "Retirer les webcams sélectionnées de mes Favoris", "",
           "RemoveselectedwebcamsfromFavorites1Click"},
          {"ClearFavorites1", "Effacer vos favoris", "", "ClearFavorites1Click"},
          {"ShowFavorites1", "Montrer mes Favoris", "", "ShowFavorites1Click"},
          {"PreferencesforFavorites1", "Préférences des favoris", "", "PreferencesforFavorites1Click"},
          kSeparator,
          {"Addcurrentwebcamtoscreensaverlist1",
           "Ajouter les webcams sélectionnées à la liste de l'économiseur d'écran", "",
           "Addcurrentwebcamtoscreensaverlist1Click"},
          {"Screensaverwebcamlist1", "Editer la liste de webcams de l'économiseur d'écran...", "",
           "Screensaverwebcamlist1Click"},
          kSeparator,
          {"Changerefreshrateforselectedwebcams1",
           "Changer la fréquence de rafraichissement pour les webcams sélectionnées...", "",
           "Changerefreshrateforselectedwebcams1Click"},
          {"Changesavesettingsforselectedwebcams1",
           "Enregistrer les changements effectués pour les webcams sélectionnées...", "",
           "Changesavesettingsforselectedwebcams1Click"},
          {"SelectWebcam1", "Trouver une Webcam", "Ctrl+F", "SelectWebcam1Click"},
          {"Browsetocurrentwebcampicture1", "Ouvrir la &webcam dans mon navigateur", "Ctrl+P", "Refreshclick"},
          {"Browsetocurrentwebcamsite1", "Ouvrir la page de la webcam", "", "Button2Click"},
          {"Showlastheader1", "Montrer l'en-tête de la webcam actuelle", "Ctrl+H", "Showlastheader1Click"},
          {"BrowseWeatherInformation1", "Météo de la webcam actuelle", "Ctrl+W", "BrowseWeatherInformation1Click"},
          {"ShowMapforcurrentwebcam1", "Carte de la webcam actuelle", "Ctrl+M", "ShowMapforcurrentwebcam1Click"}}},
        {"Pictures1", "&Images",
         {{"SaveCurrentPicture1", "Enregistrer l'image actuelle", "Ctrl+S", "SaveCurrentPicture1Click"},
          {"CopyPicturetoClipboard1", "copier l'image dans le presse-papier", "Ctrl+C",
           "CopyPicturetoClipboard1Click"},
          {"CopyPictureFilenametoClipboard1", "Copier le nom de l'image dans le presse-papier", "Ctrl+D",
           "CopyPictureFilenametoClipboard1Click"},
          kSeparator,
          {"CopySelectedPictures1", "Copier les images sélectionnées", "", "CopySelectedPictures1Click"},
          {"MoveSelectedPictures1", "Déplacer les images sélectionnées", "", "MoveSelectedPictures1Click"},
          {"DeleteSelectedPictures1", "Effacer les images sélectionnées", "Del", "DeleteSelectedDiskPictures1Click"},
          {"DeleteAllPicturesforcurrentwebcam1", "Effacer &toutes les images pour la webcam sélectionnée",
           "Shift+Del", "DeleteAllPicturesforcurrentwebcam1Click"},
          {"SaveselectedpicturesasAVIfile1", "Enregistrer au format video AVI les images sélectionnées", "",
           "SaveselectedpicturesasAVIfile1Click"}}},
        {"View1", "&Affichage",
         {{"StatusLEDs1", "Statut des LEDs", "Ctrl+L", "StatusLEDs1Click", true},
          {"WebcamHints1", "Bulles d'aide des webcams", "", "WebcamHints1Click", true},
          {"Autoupdate1", "Actualisation Auto", "", "Autoupdate1Click"},
          {"SelectAll1", "Sélectionner tout", "Ctrl+A", "SelectAll1Click"},
          {"Selectthumbnailsize1", "Taille des vignettes...", "", "Selectthumbnailsize1Click"}}},
        {"Tools1", "&Outils",
         {{"Preferences1", "Préferences...", "", "Preferences1Click"},
          {"ProxySetup1", "Paramètres du proxy", "", "ProxySetup1Click"},
          {"AutoCreatePreferences1", "Création automatique des préférences", "", "AutoCreatePreferences1Click"},
          {"GlobalSaveControl1", "Paramètres d'enregistrements", "", "GlobalSaveControl1Click"},
          {"SlowScanInactiveWebcams1", "Scan lent automatique pour les caméras inactives", "",
           "SlowScanInactiveWebcams1Click", true},
          {"MotionDetectionSettings1", "Paramètres de la détection de mouvement", "", "MotionDetectionSettings1Click"},
          kSeparator,
          {"Errorlogging1", "Enregistrer les erreurs dans le journal", "Ctrl+G", "Errorlogging1Click", true},
          {"Viewerrorlog1", "Voir le journal des erreurs", "Ctrl+E", "Viewerrorlog1Click"},
          {"Deleteerrorlog1", "Effacer le fichier journal des erreurs", "", "Deleteerrorlog1Click"}}},
        {"Debug1", "débugger",
         {{"Startlogging1", "Démarrer le journal d'évènements", "", "Startlogging1Click"},
          {"StopLogging1", "Arrêter le journal d'évènement", "", "StopLogging1Click"},
          {"Writemessage1", "Ecrire un message dans le journal d'évènement", "", "Writemessage1Click"},
          {"SpecifyLogfile1", "Spécification du fichier journal...", "", "SpecifyLogfile1Click"},
          {"ViewLog1", "Voir le journal", "", "ViewLog1Click"},
          {"DeleteLogfile1", "Effacer le fichier journal", "", "DeleteLogfile1Click"},
          {"importwct1", "Importer wct", "", "importwct1Click"}}},
        {"Help1", "&Aide",
         {{"Contents1", "&Contenus", "F1", "Contents1Click"},
          {"NewinVersion31", "Nouveautés de la version 3", "", "NewinVersion31Click"},
          {"BrowsetoOrvellohomepage1", "Page d'accueil de Orvello", "", "BrowsetoOrvellohomepage1Click"},
          {"Checkfornewversion1", "Vérifier s'il existe une version plus récente", "", "Checkfornewversion1Click"},
          {"StatusLEDColors1", "Statut des LEDs colorées", "", "StatusLEDColors1Click"},
          kSeparator,
          {"JoinMailingList1", "recevoir des infos", "", "JoinMailingList1Click"},
          {"Leavemailinglist1", "Quitter la mailling list", "", "Leavemailinglist1Click"},
          {"Sendusacomment1", "Envoyer nous vos commentaires", "", "Sendusacomment1Click"},
          kSeparator,
          {"About1", "A propos de Orvello...", "", "About1Click"}}},
    };
    return menus;
}

const std::vector<Item>& GridPopupItems() {
    static const std::vector<Item> items = {
        {"Start1", "Démarrer toutes les webcams sélectionnées", "", "Startselectedwebcams1Click"},
        {"Stop1", "Arrêter les webcams sélectionnées", "", "Stopselectedwebcams1Click"},
        kSeparator,
        {"SelectAll2", "Sélectionner tout", "", "SelectAll1Click"},
        {"SelectNone1", "Sélectionner aucun", "", "SelectNone1Click"},
        {"InvertSelection1", "Inverser la sélection", "", "InvertSelection1Click"},
        kSeparator,
        {"Editcurrentwebcam1", "&Editer la webcam sélectionnée...", "", "Edit2Click"},
        {"Editcategoriesforcurrentwebcam1", "Editer la ca&tégorie de la caméra actuelle...", "",
         "Editwebcamcategories1Click"},
        {"AddselectedwebcamstoFavorites1", "Ajouter les webcams sélectionnées à mes favoris", "",
         "AddselectedwebcamstoFavorites2Click"},
        {"RemoveselectedwebcamsfromFavorites1", "Retirer les webcams sélectionnées de mes Favoris", "",
         "RemoveselectedwebcamsfromFavorites1Click"},
        {"Addselectedwebcamstoscrrensaverlist1",
         "Ajouter les webcams sélectionnées à la liste de l'économiseur d'écran", "",
         "Addcurrentwebcamtoscreensaverlist1Click"},
        kSeparator,
        {"Copywebcampicturetoclipboard1", "copier l'image dans le presse-papier", "", "CopyPicturetoClipboard1Click"},
        {"Copywebcampicturefilenametoclipboard1", "Copier le nom de l'image dans le presse-papier", "",
         "CopyPictureFilenametoClipboard1Click"},
    };
    return items;
}

const std::vector<Item>& TrayPopupItems() {
    static const std::vector<Item> items = {
        {"ShowOrvello1", "Restaurer la fenêtre", "", "ShowOrvello1Click"},
        {"Startallwebcams2", "Démarrer toutes les webcams", "", "Startallwebcams2Click"},
        {"Stopallwebcams2", "Arrêter toutes les webcams", "", "Stopallwebcams2Click"},
        kSeparator,
        {"Exit2", "Quitter", "", "Exit2Click"},
    };
    return items;
}

// Tool buttons: the caption is shown as the button's text and hint.
const std::vector<Item>& ToolBarItems() {
    static const std::vector<Item> items = {
        {"ToolButton8", "Tout démarrer", "", "ToolButton8Click"},
        {"ToolButton9", "Arrêter tout", "", "ToolButton9Click"},
        kSeparator,
        {"ToolButton1", "Webcam précédente", "", "ToolButton1Click"},
        {"ToolButton2", "Webcam suivante", "", "ToolButton2Click"},
        {"ToolButton7", "Actualisation Auto", "", "ToolButton7Click", true},
        kSeparator,
        {"ToolButton4", "Editer la webcam", "", "Edit2Click"},
        {"ToolButton5", "Trouver une Webcam", "", "SelectWebcam1Click"},
        {"ToolButton6", "Page de la webcam", "", "Button2Click"},
        {"ToolButton23", "Météo", "", "BrowseWeatherInformation1Click"},
        {"ToolButton22", "Carte", "", "ShowMapforcurrentwebcam1Click"},
        kSeparator,
        {"ToolButton25", "Doroza", "", "ToolButton25Click", true},
    };
    return items;
}

const std::vector<Item>& WebcamToolBarItems() {
    static const std::vector<Item> items = {
        {"ToolButton16", "Première image", "", "ToolButton16Click"},
        {"ToolButton10", "Image précédente", "", "ToolButton10Click"},
        {"ToolButton11", "Photo suivante", "", "ToolButton11Click"},
        {"ToolButton17", "Dernière image", "", "ToolButton17Click"},
        kSeparator,
        {"ToolButton13", "Démarrer cette webcam", "", "ToolButton13Click", true},
        {"ToolButton14", "Arrêter la webcam", "", "ToolButton14Click", true},
        {"ToolButton20", "Activer la webcam", "", "ToolButton20Click", true},
        {"ToolButton19", "Désactiver la webcam", "", "ToolButton19Click", true},
    };
    return items;
}

const char* const kHandlerProperty = "handler";

void AddItems(QWidget& owner, const std::vector<Item>& items, const std::function<void(QAction*)>& add) {
    for (const Item& item : items) {
        auto* action = new QAction(&owner);
        if (!item.name) {
            action->setSeparator(true);
        } else {
            action->setObjectName(QString::fromLatin1(item.name));
            action->setText(QString::fromUtf8(item.caption));
            action->setToolTip(QString::fromUtf8(item.caption).remove(QLatin1Char('&')));
            if (*item.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
            action->setCheckable(item.checkable);
            action->setProperty(kHandlerProperty, QString::fromLatin1(item.handler));
        }
        add(action);
    }
}

QMenu* Popup(QMainWindow& window, const char* name, const std::vector<Item>& items) {
    auto* menu = new QMenu(&window);
    menu->setObjectName(QString::fromLatin1(name));
    AddItems(*menu, items, [&](QAction* action) { menu->addAction(action); });
    return menu;
}

QToolBar* ToolBar(QMainWindow& window, const char* name, const std::vector<Item>& items) {
    auto* bar = new QToolBar(&window);
    bar->setObjectName(QString::fromLatin1(name));
    // Images only: the captions are the buttons' hints, and the bar fits the window.
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    AddItems(*bar, items, [&](QAction* action) {
        action->setIcon(ToolButtonIcon(action->objectName().toLatin1().constData()));
        bar->addAction(action);
    });
    return bar;
}

}  // namespace

MainMenus BuildMainMenus(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    for (const Menu& entry : MenuBar()) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(entry.caption));
        menu->setObjectName(QString::fromLatin1(entry.name));
        AddItems(*menu, entry.items, [&](QAction* action) { menu->addAction(action); });
    }
    MainMenus menus;
    menus.gridPopup = Popup(window, "PopupMenu1", GridPopupItems());
    menus.trayPopup = Popup(window, "traypopup", TrayPopupItems());
    menus.toolBar = ToolBar(window, "ToolBar1", ToolBarItems());
    menus.webcamToolBar = ToolBar(window, "ToolBar2", WebcamToolBarItems());
    window.addToolBar(menus.toolBar);
    return menus;
}

void BindCommands(QWidget& window, const CommandHandlers& handlers) {
    for (QAction* action : window.findChildren<QAction*>()) {
        const QVariant handler = action->property(kHandlerProperty);
        if (!handler.isValid()) continue;
        auto it = handlers.find(handler.toString().toStdString());
        action->disconnect(&window);
        if (it == handlers.end()) {
            action->setEnabled(false);
            continue;
        }
        action->setEnabled(true);
        QObject::connect(action, &QAction::triggered, &window, [run = it->second] { run(); });
    }
}

QAction* FindCommand(QWidget& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

}  // namespace ui

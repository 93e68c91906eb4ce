// The main window. It draws the window model and hands every
// click to the command behind it; the rules live in the core.
#pragma once

#include "app/main_window_core.h"
#include "ui/hint_switch.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

class QAction;
class QLabel;
class QListView;
class QMenu;
class QMovie;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QTreeView;
class QFileSystemModel;

namespace pylomir::ui {

class AboutPage;
class MainTabs;
class StripButton;
class AdvancedRestoreWindow;
class BackupProgressWindow;
class FilterDescriptionsPage;
class FiltersPage;
class GoToLocationDialog;
class ObjectInfoWindow;
class FoundListView;
class GuiMessagePump;
class IgnoreListsPage;
class RecoveryPage;
class SettingsPage;
class FullListWindow;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // The pump, when given, redraws this window at every tick of long work.
    MainWindow(app::MainWindowCore& windowCore, GuiMessagePump* pump, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Redraws the widgets from the model. A cheap pass (during long work)
    // leaves whole-list comparisons to a slower rate.
    void syncViews(bool full = true);
    void showWindow(core::WindowId window);

    QPushButton* startButton() const { return startButton_; }
    QPushButton* pauseButton() const { return pauseButton_; }
    StripButton* closeButton() const { return closeButton_; }
    QPushButton* fullListButton() const { return fullListButton_; }
    FoundListView* foundListView() const { return foundListView_; }
    QTreeView* folderTree() const { return folderTree_; }
    FullListWindow* fullListWindow() const { return fullListWindow_; }
    AdvancedRestoreWindow* advancedRestoreWindow() const { return advancedRestoreWindow_; }
    BackupProgressWindow* backupProgressWindow() const { return backupProgressWindow_; }
    QLabel* statusLabel() const { return statusLabel_; }
    QLabel* foundCountLabel() const { return foundCountLabel_; }
    QLabel* lastScanLabel() const { return lastScanLabel_; }
    QLabel* alertLabel() const { return alertLabel_; }
    QTabWidget* tabs() const;
    // The hints "Pokaż podpowiedzi do przycisków" turns off and on.
    const HintSwitch& hints() const { return hints_; }
    FiltersPage* filtersPage() const { return filtersPage_; }
    RecoveryPage* recoveryPage() const { return recoveryPage_; }
    IgnoreListsPage* ignoreListsPage() const { return ignoreListsPage_; }
    SettingsPage* settingsPage() const { return settingsPage_; }
    FilterDescriptionsPage* filterDescriptionsPage() const { return filterDescriptionsPage_; }
    AboutPage* aboutPage() const { return aboutPage_; }
    ObjectInfoWindow* objectInfoWindow() const { return objectInfoWindow_; }
    GoToLocationDialog* goToLocationDialog() const { return goToLocationDialog_; }
    QMenu* foundListMenu() const { return foundListMenu_; }
    QAction* foundDetailsAction() const { return foundDetailsAction_; }
    QAction* goToLocationAction() const { return goToLocationAction_; }
    QAction* moveToIgnoredAction() const { return moveToIgnoredAction_; }
    QAction* checkAllAction() const { return checkAllAction_; }
    QAction* uncheckAllAction() const { return uncheckAllAction_; }
    QAction* clearAttributesAction() const { return clearAttributesAction_; }
    QAction* selectAllAction() const { return selectAllAction_; }
    QAction* deleteOneAction() const { return deleteOneAction_; }
    QAction* deleteSelectedAction() const { return deleteSelectedAction_; }
    QAction* dropCheckedAction() const { return dropCheckedAction_; }
    QAction* openFileAction() const { return openFileAction_; }
    QAction* backupCurrentAction() const { return backupCurrentAction_; }
    QAction* backupAllAction() const { return backupAllAction_; }
    QAction* advancedRestoreAction() const { return advancedRestoreAction_; }
    QAction* sortFoundAction() const { return sortFoundAction_; }
    QAction* exportHtmlAction() const { return exportHtmlAction_; }
    QAction* clearFoundAction() const { return clearFoundAction_; }
    QToolButton* quickDeleteButton() const { return quickDeleteButton_; }
    QAction* saveFoundListAction() const { return saveFoundListAction_; }
    QAction* loadFoundListAction() const { return loadFoundListAction_; }

    // Root folders in the tree's terms ("/", "/home/x", "C:/Windows").
    void selectFolder(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    template <class Command> void command(Command&& run);
    void buildLayout();
    QWidget* buildLeftColumn();
    void buildFoundListMenu();
    void revealSelectedFolder();
    void syncTimer(QTimer& timer, const core::TimerModel& model);
    void syncAlert();
    // The model's name for the tab on top.
    core::MainTab activeTab() const;
    QWidget* pageOf(core::MainTab tab) const;
    void syncAnimation(bool active);
    // Hints stay up kHintMs, on every control built by then.
    void lengthenHints();
    // Shows the full-list window with the model's copy.
    void presentFullList();

    app::MainWindowCore& core_;
    const core::MainWindowModel& m_; // read only: owners write it
    GuiMessagePump* pump_;

    QPushButton* startButton_ = nullptr;       // ">> Rozpocznij skanowanie"
    QToolButton* quickDeleteButton_ = nullptr; // deletes the whole list at once
    QTreeView* folderTree_ = nullptr;          // folder tree: the scan root
    QFileSystemModel* folders_ = nullptr;
    QString revealing_; // folder to bring into view once its parents are read
    QElapsedTimer sinceRevealStart_;
    QTimer revealTimer_;
    QLabel* statusLabel_ = nullptr;              // status text
    QLabel* foundCaptionLabel_ = nullptr;        // caption over the found count
    QLabel* foundCountLabel_ = nullptr;          // found count
    QLabel* foundSizeLabel_ = nullptr;           // total size
    QLabel* ignoredCountLabel_ = nullptr;        // ignored count
    QLabel* suspiciousCountLabel_ = nullptr;     // suspicious count
    QLabel* scanCountLabel_ = nullptr;           // scan count
    QLabel* lastScanLabel_ = nullptr;            // last scan date
    QLabel* sessionDeletedFilesLabel_ = nullptr; // "Usunięto teraz:" files
    QLabel* sessionDeletedSizeLabel_ = nullptr;  // and their KB
    QLabel* totalDeletedFilesLabel_ = nullptr;   // "Usunięto plików:"
    QLabel* totalDeletedBytesLabel_ = nullptr;   // "Usunięto bajtów:"
    QLabel* totalDeletedSizeLabel_ = nullptr;    // "Rozmiar całoś.:"
    bool closeConfirmed_ = false;                // the close sequence has run and let the window go
    QLabel* alertLabel_ = nullptr;               // alert word in the level's colour
    QLabel* alertImage_ = nullptr;               // the level's sign
    int shownAlertSign_ = -1;                    // the level whose sign is drawn, -1 none
    QLabel* elapsedClockLabel_ = nullptr;        // elapsed-time clock
    QPushButton* pauseButton_ = nullptr;         // "Pauza"
    QPushButton* fullListButton_ = nullptr;      // "Pełna lista"
    QLabel* scanAnimation_ = nullptr;            // scan animation
    QMovie* movie_ = nullptr;
    QPixmap stillFrame_;
    MainTabs* tabs_ = nullptr;
    FoundListView* foundListView_ = nullptr; // FoundList
    QMenu* foundListMenu_ = nullptr;
    QAction* foundDetailsAction_ = nullptr;    // "Szczegóły obiektu"
    QAction* goToLocationAction_ = nullptr;    // "Idź do lokalizacji pliku..."
    QAction* moveToIgnoredAction_ = nullptr;   // "Dodaj pliki do listy Ignorowań"
    QAction* checkAllAction_ = nullptr;        // "Zaznacz pliki jako \"Ignorowane\""
    QAction* uncheckAllAction_ = nullptr;      // "Odznacz pliki jako \"Ignorowane\""
    QAction* clearAttributesAction_ = nullptr; // "Ustaw normalny atrybut"
    QAction* selectAllAction_ = nullptr;       // "Zaznacz wszystkie pliki"
    QAction* deleteOneAction_ = nullptr;       // "Usuń tylko jeden zaznaczony plik"
    QAction* deleteSelectedAction_ = nullptr;  // "Usuń wszystkie zaznaczone pliki"
    QAction* dropCheckedAction_ = nullptr;     // "Wyrzuć pliki z listy (nie usuwaj)"
    QAction* openFileAction_ = nullptr;        // "Uruchom zaznaczony plik"
    QAction* backupCurrentAction_ = nullptr;   // "Zrób kopię tylko wybranego pliku"
    QAction* backupAllAction_ = nullptr;       // "Utwórz kopię wszystkich plików"
    QAction* advancedRestoreAction_ = nullptr; // "Odzyskaj pliki z kopii zapasowej"
    QAction* sortFoundAction_ = nullptr;       // "Sortuj alfabetycznie listę "
    QAction* exportHtmlAction_ = nullptr;      // "Exportuj raport do HTMa"
    QAction* clearFoundAction_ = nullptr;      // "Czyść listę znalez. plików"
    QAction* saveFoundListAction_ = nullptr;   // "Zapisz listę plików"
    QAction* loadFoundListAction_ = nullptr;   // "Wczytaj listę plików"
    FiltersPage* filtersPage_ = nullptr;       // "Wybór filtrów"
    FilterDescriptionsPage* filterDescriptionsPage_ = nullptr; // "Opisy filtrów"
    AboutPage* aboutPage_ = nullptr;                           // "O programie"
    RecoveryPage* recoveryPage_ = nullptr;                     // "Odzyskiwanie"
    IgnoreListsPage* ignoreListsPage_ = nullptr;               // "Ignorowania"
    SettingsPage* settingsPage_ = nullptr;                     // "Ustawienia"
    HintSwitch hints_;                        // hints that "Pokaż podpowiedzi" governs
    StripButton* closeButton_ = nullptr;      // "Zamknij program"
    QProgressBar* scanProgressBar_ = nullptr; // scan progress
    QStatusBar* scanStatusBar_ = nullptr;     // the folder being scanned
    QStatusBar* detailsStatusBar_ = nullptr;
    QLabel* detailsStatusLabel_ = nullptr;
    FullListWindow* fullListWindow_ = nullptr;
    AdvancedRestoreWindow* advancedRestoreWindow_ = nullptr; // created once, keeps its state
    BackupProgressWindow* backupProgressWindow_ = nullptr;
    ObjectInfoWindow* objectInfoWindow_ = nullptr;
    GoToLocationDialog* goToLocationDialog_ = nullptr;
    QTimer objectInfoReopenTimer_; // reopens the object information window after a step
    QTimer progressTimer_;         // progress gauge
    QTimer elapsedClockTimer_;     // elapsed-time clock
    QElapsedTimer sinceFullListSync_;
    bool centred_ = false;
    bool hintsLengthened_ = false; // every hint made to stay 40 s, at the first show
};

} // namespace pylomir::ui

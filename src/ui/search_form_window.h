// TSearchForm: the main window. It draws the window model and hands every
// click to the command behind it; the rules live in the core.
#pragma once

#include "scan/search_form.h"
#include "ui/hint_switch.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

class QLabel;
class QListView;
class QMovie;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTreeView;
class QFileSystemModel;

namespace pylomir::ui {

class FiltersPage;
class FoundListView;
class GuiMessagePump;
class SettingsPage;
class TForm1;

class TSearchForm : public QWidget {
    Q_OBJECT
public:
    // The pump, when given, redraws this window at every tick of long work.
    TSearchForm(scan::SearchForm& form, GuiMessagePump* pump, QWidget* parent = nullptr);
    ~TSearchForm() override;

    // Redraws the widgets from the model. A cheap pass (during long work)
    // leaves whole-list comparisons to a slower rate.
    void syncViews(bool full = true);
    void showWindow(core::WindowId window);

    QPushButton* startButton() const { return Button11_; }
    QPushButton* pauseButton() const { return btnStop_; }
    QPushButton* closeButton() const { return closeProgram_; }
    QPushButton* fullListButton() const { return fullListButton_; }
    FoundListView* foundListView() const { return foundList_; }
    QTreeView* folderTree() const { return DhCheckFolder1_; }
    TForm1* fullListWindow() const { return Form1_; }
    QLabel* statusLabel() const { return Label12_; }
    QLabel* foundCountLabel() const { return Label50_; }
    QTabWidget* tabs() const { return tabs_; }
    FiltersPage* filtersPage() const { return filtersPage_; }
    SettingsPage* settingsPage() const { return settingsPage_; }

    // Root folders in the tree's terms ("/", "/home/x", "C:/Windows").
    void selectFolder(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    template <class Command> void command(Command&& run);
    void buildLayout();
    QWidget* buildLeftColumn();
    void revealSelectedFolder();
    void syncTimer(QTimer& timer, const scan::TimerModel& model);
    void syncAnimation(bool active);
    void showFullList();

    scan::SearchForm& form_;
    scan::SearchFormModel& m_;
    GuiMessagePump* pump_;

    QPushButton* Button11_ = nullptr;     // ">> Rozpocznij skanowanie"
    QTreeView* DhCheckFolder1_ = nullptr; // folder tree: the scan root
    QFileSystemModel* folders_ = nullptr;
    QString revealing_; // folder to bring into view once its parents are read
    QElapsedTimer sinceRevealStart_;
    QTimer revealTimer_;
    QLabel* Label12_ = nullptr;             // status text
    QLabel* Label11_ = nullptr;             // caption over the found count
    QLabel* Label50_ = nullptr;             // found count
    QLabel* Label57_ = nullptr;             // total size
    QLabel* Label48_ = nullptr;             // ignored count
    QLabel* Label53_ = nullptr;             // suspicious count
    QLabel* Label16_ = nullptr;             // scan count
    QLabel* Label22_ = nullptr;             // last scan date
    QLabel* Label27_ = nullptr;             // elapsed-time clock
    QPushButton* btnStop_ = nullptr;        // "Pauza"
    QPushButton* fullListButton_ = nullptr; // "Pełna lista"
    QLabel* Animate1_ = nullptr;            // scan animation
    QMovie* movie_ = nullptr;
    QPixmap stillFrame_;
    QTabWidget* tabs_ = nullptr;
    FoundListView* foundList_ = nullptr;     // FoundList
    FiltersPage* filtersPage_ = nullptr;     // "Wybór filtrów"
    SettingsPage* settingsPage_ = nullptr;   // "Ustawienia"
    HintSwitch hints_;                       // hints that "Pokaż podpowiedzi" governs
    QPushButton* closeProgram_ = nullptr;    // "Zamknij program"
    QProgressBar* EncartaGauge_ = nullptr;   // scan progress
    QStatusBar* StatusSkanowania_ = nullptr; // the folder being scanned
    QStatusBar* StatusBar1_ = nullptr;
    QLabel* StatusBar1Panel_ = nullptr;
    TForm1* Form1_ = nullptr;
    QTimer Timer1_; // progress gauge
    QTimer Timer2_; // elapsed-time clock
    QElapsedTimer sinceFullListSync_;
    bool centred_ = false;
};

} // namespace pylomir::ui

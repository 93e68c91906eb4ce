// The "Ignorowania" tab: the ignored files and the ignored masks, their
// counts, the fields that add to them and the lists' pop-up menus.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QStringList>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace pylomir::ui {

class FoundListView;
class HintSwitch;

class IgnoreListsPage : public QWidget {
    Q_OBJECT
public:
    IgnoreListsPage(app::MainWindowCore& windowCore, CommandRunner run, HintSwitch& hints,
                    QWidget* parent = nullptr);

    // Brings the lists, counts and fields up to the model; a cheap sync (during
    // long work) leaves the ignored files' selection to a slower rate.
    void sync(bool full = true);

    FoundListView* ignoredFilesList() const { return ignoredFilesList_; }
    QListWidget* ignoredMasksList() const { return ignoredMasksList_; }
    QLabel* ignoredFilesCountLabel() const { return ignoredFilesCountLabel_; }
    QLabel* ignoredMasksCountLabel() const { return ignoredMasksCountLabel_; }
    QLineEdit* newIgnoredFileEdit() const { return newIgnoredFileEdit_; }
    QLineEdit* newIgnoredMaskEdit() const { return newIgnoredMaskEdit_; }
    QPushButton* addIgnoredFileButton() const { return addIgnoredFileButton_; }
    QPushButton* addIgnoredMaskButton() const { return addIgnoredMaskButton_; }

    QMenu* ignoredFilesMenu() const { return ignoredFilesMenu_; }
    QMenu* ignoredMasksMenu() const { return ignoredMasksMenu_; }
    QAction* ignoredDetailsAction() const { return ignoredDetailsAction_; }
    QAction* deleteIgnoredFileAction() const { return deleteIgnoredFileAction_; }
    QAction* removeIgnoredFileAction() const { return removeIgnoredFileAction_; }
    QAction* sortIgnoredFilesAction() const { return sortIgnoredFilesAction_; }
    QAction* clearIgnoredFilesAction() const { return clearIgnoredFilesAction_; }
    QAction* removeIgnoredMaskAction() const { return removeIgnoredMaskAction_; }
    QAction* sortIgnoredMasksAction() const { return sortIgnoredMasksAction_; }
    QAction* clearIgnoredMasksAction() const { return clearIgnoredMasksAction_; }

private:
    QWidget* buildFilesColumn(HintSwitch& hints);
    QWidget* buildMasksColumn(HintSwitch& hints);
    void buildMenus();
    void syncMasks();
    QAction* addCommand(QMenu* menu, const QString& caption,
                        void (ignore::IgnoreLists::*command)());

    app::MainWindowCore& core_;
    core::IgnoreListsState& l_; // the page writes only the fields and the current mask
    CommandRunner run_;

    FoundListView* ignoredFilesList_ = nullptr; // its check marks mean nothing
    QListWidget* ignoredMasksList_ = nullptr;   // nor do these
    QStringList shownMasks_;                    // what the mask list holds
    QLabel* ignoredFilesCountLabel_ = nullptr;
    QLabel* ignoredMasksCountLabel_ = nullptr;
    QLineEdit* newIgnoredFileEdit_ = nullptr;
    QLineEdit* newIgnoredMaskEdit_ = nullptr;
    QPushButton* addIgnoredFileButton_ = nullptr; // "Dodaj własny wpis"
    QPushButton* addIgnoredMaskButton_ = nullptr; // "Dodaj własny filtr"

    QMenu* ignoredFilesMenu_ = nullptr;
    QAction* ignoredDetailsAction_ = nullptr; // "Szczegóły obiektu", disabled
    QAction* deleteIgnoredFileAction_ = nullptr;
    QAction* removeIgnoredFileAction_ = nullptr;
    QAction* sortIgnoredFilesAction_ = nullptr;
    QAction* clearIgnoredFilesAction_ = nullptr;
    QMenu* ignoredMasksMenu_ = nullptr;
    QAction* removeIgnoredMaskAction_ = nullptr;
    QAction* sortIgnoredMasksAction_ = nullptr;
    QAction* clearIgnoredMasksAction_ = nullptr;
};

} // namespace pylomir::ui

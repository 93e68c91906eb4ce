// "Odzyskiwanie plików z kopii zapasowej": the archives of a folder, the
// selected one's title and file list, the restore with a rule and a target,
// and the backup tools hidden under a double click on the title. Created
// once; it shows the core's state, so it is as it was left at each showing.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QDialog>
#include <QStringList>

#include <vector>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace pylomir::ui {

class AdvancedRestoreWindow : public QDialog {
    Q_OBJECT
public:
    AdvancedRestoreWindow(app::MainWindowCore& windowCore, CommandRunner run,
                          QWidget* parent = nullptr);

    // Brings every control up to the core's state.
    void sync();
    // Shows the window modally; returns when it is closed.
    void present();

    QListWidget* archiveList() const { return archiveList_; }
    QLineEdit* archiveTitleEdit() const { return archiveTitleEdit_; }
    QLineEdit* archiveSummaryEdit() const { return archiveSummaryEdit_; }
    QPlainTextEdit* archiveFilesView() const { return archiveFilesView_; }
    QGroupBox* restoreRuleGroup() const { return restoreRuleGroup_; }
    QRadioButton* restoreRuleRadio(int index) const { return ruleRadios_.at(size_t(index)); }
    QRadioButton* originalLocationRadio() const { return originalLocationRadio_; }
    QRadioButton* otherFolderRadio() const { return otherFolderRadio_; }
    QLineEdit* otherFolderEdit() const { return otherFolderEdit_; }
    QCheckBox* restoreFolderTreeCheck() const { return restoreFolderTreeCheck_; }
    QPushButton* restoreButton() const { return restoreButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* closeButton() const { return closeButton_; }
    QLabel* instructionLabel() const { return instructionLabel_; }
    QProgressBar* progressBar() const { return progressBar_; }
    QFrame* backupToolsPanel() const { return backupToolsPanel_; }
    QListWidget* backupSourcesList() const { return backupSourcesList_; }
    QPushButton* createBackupButton() const { return createBackupButton_; }
    QPushButton* addFolderMaskButton() const { return addFolderMaskButton_; }
    QPushButton* clearBackupSourcesButton() const { return clearBackupSourcesButton_; }
    QPushButton* cancelBackupButton() const { return cancelBackupButton_; }
    QRadioButton* compressionRadio(int index) const { return compressionRadios_.at(size_t(index)); }
    QRadioButton* backupScopeRadio(int index) const { return scopeRadios_.at(size_t(index)); }
    QCheckBox* storeInfoListCheck() const { return storeInfoListCheck_; }

public slots:
    // Escape, the title bar and "Zamknij": a running operation is asked about first.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildArchiveColumn();
    QWidget* buildInfoColumn();
    QGroupBox* buildRuleGroup();
    QGroupBox* buildTargetGroup();
    void buildBackupTools();
    // Over the right part, from under the title field down to the buttons,
    // so the title stays there to click.
    void placeBackupTools();
    void cancelOrClose();

    app::MainWindowCore& core_;
    backup::RestoreCommands& restore_;
    CommandRunner run_;

    QListWidget* archiveList_ = nullptr; // "*.backup" of the window's folder
    QStringList shownArchives_;
    QLineEdit* archiveTitleEdit_ = nullptr;
    QLineEdit* archiveSummaryEdit_ = nullptr;
    QPlainTextEdit* archiveFilesView_ = nullptr;
    QStringList shownFileLines_;
    QGroupBox* restoreRuleGroup_ = nullptr; // "Opcje odzyskiwania"
    QButtonGroup* ruleButtons_ = nullptr;
    std::vector<QRadioButton*> ruleRadios_;
    QGroupBox* targetGroup_ = nullptr; // "Opcje odzyskiwania:"
    QRadioButton* originalLocationRadio_ = nullptr;
    QRadioButton* otherFolderRadio_ = nullptr;
    QLineEdit* otherFolderEdit_ = nullptr;
    QCheckBox* restoreFolderTreeCheck_ = nullptr; // "Restore full path": hidden, off
    QPushButton* restoreButton_ = nullptr;        // "Odzyskaj pliki z wybranej kopii"
    QPushButton* cancelButton_ = nullptr;         // "Anuluj odzyskiwanie"
    QPushButton* closeButton_ = nullptr;          // "Zamknij"
    QLabel* instructionLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;

    QFrame* backupToolsPanel_ = nullptr;
    QListWidget* backupSourcesList_ = nullptr;
    QStringList shownSources_;
    QPushButton* createBackupButton_ = nullptr;       // "Tworzenie..."
    QPushButton* addFolderMaskButton_ = nullptr;      // "Dodaj wszystko z folderu (nie korzystane)"
    QPushButton* clearBackupSourcesButton_ = nullptr; // "Kasowanie listy (nie korzystane)"
    QPushButton* cancelBackupButton_ = nullptr;       // "Anulowanie"
    QButtonGroup* scopeButtons_ = nullptr;            // "Backup mode"
    std::vector<QRadioButton*> scopeRadios_;
    QButtonGroup* compressionButtons_ = nullptr; // "Compression level"
    std::vector<QRadioButton*> compressionRadios_;
    QCheckBox* storeInfoListCheck_ = nullptr; // "SaveFileID"
    bool centred_ = false;
};

} // namespace pylomir::ui

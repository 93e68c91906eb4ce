// The "Odzyskiwanie" tab: the backup folder's archives and the log folder's
// deletion logs with their counts, and the buttons that restore, view and
// delete them.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace pylomir::ui {

class HintSwitch;

class RecoveryPage : public QWidget {
    Q_OBJECT
public:
    RecoveryPage(app::MainWindowCore& windowCore, CommandRunner run, HintSwitch& hints,
                 QWidget* parent = nullptr);

    // Brings the lists, counts and the progress bar up to the model.
    void sync();

    QLabel* archiveCountLabel() const { return archiveCountLabel_; }
    QLabel* logCountLabel() const { return logCountLabel_; }
    QListWidget* archiveList() const { return archiveList_; }
    QListWidget* logList() const { return logList_; }
    QPushButton* restoreButton() const { return restoreButton_; }
    QPushButton* advancedRestoreButton() const { return advancedRestoreButton_; }
    QPushButton* viewLogButton() const { return viewLogButton_; }
    QPushButton* deleteArchiveButton() const { return deleteArchiveButton_; }
    QPushButton* deleteLogButton() const { return deleteLogButton_; }
    QProgressBar* restoreProgressBar() const { return restoreProgressBar_; }

private:
    QPushButton* addButton(const char* caption, const char* hint, HintSwitch& hints,
                           void (backup::RecoveryTab::*command)());
    app::MainWindowCore& core_;
    const core::RecoveryState& r_; // written by RecoveryTab
    CommandRunner run_;

    QLabel* archiveCountLabel_ = nullptr;
    QLabel* logCountLabel_ = nullptr;
    QListWidget* archiveList_ = nullptr; // "*.backup" of the backup folder
    QListWidget* logList_ = nullptr;     // "*.plm" of the log folder
    QStringList shownArchives_;
    QStringList shownLogs_;
    QPushButton* restoreButton_ = nullptr;         // "Odzyskaj pliki z wybranej kopii"
    QPushButton* advancedRestoreButton_ = nullptr; // "Zaawansowane odzyskiwanie plików"
    QPushButton* viewLogButton_ = nullptr;         // "Przeglądaj wybrany raport"
    QPushButton* deleteArchiveButton_ = nullptr;   // "Usuń kopię"
    QPushButton* deleteLogButton_ = nullptr;       // "Usuń raport"
    QProgressBar* restoreProgressBar_ = nullptr;   // a one-click restore's last percent
};

} // namespace pylomir::ui

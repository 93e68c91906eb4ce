// The "Ustawienia" tab: the two working folders, the options and the
// auto-ignore threshold, and the command that saves them.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QWidget>

#include <utility>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace pylomir::ui {

class HintSwitch;

class SettingsPage : public QWidget {
    Q_OBJECT
public:
    SettingsPage(app::MainWindowCore& windowCore, CommandRunner run, HintSwitch& hints,
                 QWidget* parent = nullptr);

    void sync();

    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* resetStatisticsButton() const { return resetStatisticsButton_; }
    QPushButton* saveFoundListButton() const { return saveFoundListButton_; }
    QPushButton* loadFoundListButton() const { return loadFoundListButton_; }
    QPushButton* backupFolderButton() const { return backupFolderButton_; }
    QPushButton* logFolderButton() const { return logFolderButton_; }
    QLineEdit* backupFolderEdit() const { return backupFolderEdit_; }
    QLineEdit* logFolderEdit() const { return logFolderEdit_; }
    QLineEdit* autoIgnoreThresholdEdit() const { return autoIgnoreThresholdEdit_; }
    // The check box showing an option of the model, or null for one not shown.
    QCheckBox* optionCheck(bool core::OptionsState::*option) const;

private:
    QCheckBox* addCheck(bool core::OptionsState::*option, QWidget* parent);

    app::MainWindowCore& core_;
    const core::OptionsState& o_;
    CommandRunner run_;

    QPushButton* resetStatisticsButton_ = nullptr; // "Odśwież statystyki"
    QPushButton* saveButton_ = nullptr;          // "Zastosuj wprowadzone zmiany": save the settings
    QPushButton* saveFoundListButton_ = nullptr; // "Zapisz listę znalez. plików"
    QPushButton* loadFoundListButton_ = nullptr; // "Wczytaj listę znalez. plików"
    QPushButton* backupFolderButton_ = nullptr;  // "Zmień katalog"
    QPushButton* logFolderButton_ = nullptr;     // "Zmień katalog"
    QLineEdit* backupFolderEdit_ = nullptr;
    QLineEdit* logFolderEdit_ = nullptr;
    QLineEdit* autoIgnoreThresholdEdit_ = nullptr;
    std::vector<std::pair<bool core::OptionsState::*, QCheckBox*>> optionChecks_;
};

} // namespace pylomir::ui

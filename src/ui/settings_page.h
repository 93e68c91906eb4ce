// The "Ustawienia" tab: the two working folders, the options and the
// auto-ignore threshold, and the command that saves them.
#pragma once

#include "scan/search_form.h"
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
    SettingsPage(scan::SearchForm& form, CommandRunner run, HintSwitch& hints,
                 QWidget* parent = nullptr);

    void sync();

    QPushButton* saveButton() const { return Button8_; }
    QPushButton* backupFolderButton() const { return Button18_; }
    QPushButton* logFolderButton() const { return Button19_; }
    QLineEdit* backupFolderEdit() const { return Edit4_; }
    QLineEdit* logFolderEdit() const { return Edit5_; }
    QLineEdit* ignoreSizeEdit() const { return EditRozmiarIgnorowania_; }
    // The check box showing an option of the model, or null for one not shown.
    QCheckBox* optionBox(bool scan::SearchFormModel::*option) const;

private:
    QLineEdit* folderEdit(QString scan::SearchFormModel::*field);

    scan::SearchForm& form_;
    scan::SearchFormModel& m_;
    CommandRunner run_;

    QPushButton* Button8_ = nullptr;  // "Zastosuj wprowadzone zmiany": save the settings
    QPushButton* Button18_ = nullptr; // "Zmień katalog" for the backup folder
    QPushButton* Button19_ = nullptr; // "Zmień katalog" for the log folder
    QLineEdit* Edit4_ = nullptr;      // backup folder
    QLineEdit* Edit5_ = nullptr;      // log folder
    QLineEdit* EditRozmiarIgnorowania_ = nullptr;
    std::vector<std::pair<bool scan::SearchFormModel::*, QCheckBox*>> options_;
};

} // namespace pylomir::ui

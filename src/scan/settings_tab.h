// The settings store at start-up and the "Ustawienia" tab's commands.
#pragma once

#include "core/main_window_model.h"
#include "core/services.h"
#include "records/statistics.h"
#include "scan/filter_sets.h"

namespace pylomir::scan {

class SettingsTab {
public:
    SettingsTab(core::OptionsState& options, const core::Services& services, FilterSets& filters,
                records::Statistics& statistics);

    // The guarded block that reads statistics, folders, options and the
    // stored mode; a failure silently ends it.
    void readRegistryBlock();
    // The folder fields start as the folders read at start.
    void showFoldersAtStart();
    // A log folder that is unset or a bare drive root is reported and reset.
    void checkLogFolder();

    // "Zastosuj wprowadzone zmiany": saves options, folders and the threshold.
    void saveSettings();
    // "Zmień katalog" beside the backup and the log folder.
    void chooseBackupFolder();
    void chooseLogFolder();

    // Sets an option as the user or the store does.
    void setOption(bool core::OptionsState::*option, bool on);
    // What the user typed into the fields.
    void setBackupFolderText(const QString& text) { o_.backupFolderText = text; }
    void setLogFolderText(const QString& text) { o_.logFolderText = text; }
    void setAutoIgnoreThresholdText(const QString& text) { o_.autoIgnoreThresholdText = text; }

private:
    void readFoldersAndThreshold();
    void readOptionsKey();
    void chooseFolder(const QString& title, QString& field);

    core::OptionsState& o_;
    core::Services s_;
    FilterSets& filters_;
    records::Statistics& statistics_;
};

} // namespace pylomir::scan

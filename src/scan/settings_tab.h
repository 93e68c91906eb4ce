// The settings store at start-up and the "Ustawienia" tab's commands.
#pragma once

#include "scan/filter_sets.h"
#include "scan/scan_run.h"
#include "scan/search_form_model.h"

namespace pylomir::scan {

class SettingsTab {
public:
    SettingsTab(SearchFormModel& model, const Services& services, FilterSets& filters);

    // The guarded block that reads statistics, folders, options and the
    // stored mode; the first failure silently ends it.
    void readRegistryBlock();
    // A log folder that is unset or a bare drive root is reported and reset.
    void checkLogFolder();

    void Button8Click();     // "Zastosuj wprowadzone zmiany": save options and folders
    void Button18Click();    // "Zmień katalog" for the backup folder
    void Button19Click();    // "Zmień katalog" for the log folder
    void CheckBox99Click();  // hints on or off
    void CheckBox141Click(); // threshold field follows the auto-ignore box

    // Sets an option box as the user or the store does; its click handler
    // runs when the state changes.
    void setOption(bool SearchFormModel::*box, bool on);

private:
    bool readSkanowan();
    void readUstawienia();
    void chooseFolder(const QString& title, QString& field);

    SearchFormModel& m_;
    Services s_;
    FilterSets& filters_;
};

} // namespace pylomir::scan

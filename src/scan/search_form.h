// The main window's subsystems wired together over one model: what the GUI,
// the command line and the tests create and drive.
#pragma once

#include "ignore/ignore_lists.h"
#include "scan/filter_sets.h"
#include "scan/scan_run.h"
#include "scan/search_form_model.h"
#include "scan/settings_tab.h"

namespace pylomir::scan {

class SearchForm {
public:
    explicit SearchForm(const Services& services);

    // Creation of the main window: the start-up sequence.
    void FormCreate();

    SearchFormModel& model() { return model_; }
    ScanRun& scanRun() { return scanRun_; }
    ignore::IgnoreLists& ignoreLists() { return ignoreLists_; }
    FilterSets& filterSets() { return filterSets_; }
    SettingsTab& settingsTab() { return settingsTab_; }
    const Services& services() const { return services_; }

private:
    void handOverStatistics();
    void pointRecoveryLists();

    Services services_;
    SearchFormModel model_;
    ignore::IgnoreLists ignoreLists_;
    ScanRun scanRun_;
    FilterSets filterSets_;
    SettingsTab settingsTab_;
};

} // namespace pylomir::scan

#include "scan/search_form.h"

#include "platform/file_system.h"

namespace pylomir::scan {

SearchForm::SearchForm(const Services& services)
    : services_(services), ignoreLists_(model_, services_),
      scanRun_(model_, services_, ignoreLists_), filterSets_(model_, services_),
      settingsTab_(model_, services_, filterSets_) {
    model_.SkanujDysk = platform::driveRoot();
}

void SearchForm::FormCreate() {
    settingsTab_.readRegistryBlock();
    model_.Edit4 = model_.LabelBAK_Katalog;
    model_.Edit5 = model_.LabelLOG_Katalog;
    handOverStatistics();
    pointRecoveryLists();
    // The animation is embedded in the program; nothing is written beside it.
    ignoreLists_.loadAtStartup();
    settingsTab_.checkLogFolder();
    filterSets_.setFilterCount();
}

void SearchForm::handOverStatistics() {
    // The deleted-bytes figure goes to the statistics' working holders once
    // the statistics exist.
}

void SearchForm::pointRecoveryLists() {
    // The recovery tab lists the backup and log folders once it exists.
}

} // namespace pylomir::scan

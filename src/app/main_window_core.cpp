#include "app/main_window_core.h"

#include "platform/settings_store.h"

namespace pylomir::app {

MainWindowCore::MainWindowCore(const core::Services& services)
    : services_(services), statusLine_(model_.status),
      assessment_(model_.alert, statusLine_, services_), statistics_(model_.statistics, services_),
      ignoreLists_(model_.ignore, services_), filterSets_(model_.filters, services_),
      settingsTab_(model_.options, services_, filterSets_, statistics_),
      scanRun_(model_, services_, ignoreLists_, statistics_, statusLine_, assessment_),
      deletionLog_(model_, services_), htmlReport_(model_, services_, statusLine_),
      deletion_(model_, services_, statistics_, ignoreLists_, statusLine_, assessment_),
      foundListFiles_(model_.foundList, statusLine_, services_,
                      {[this](const auto& paths) { scanRun_.showLoadedFoundList(paths); },
                       [this] { assessment_.resetAlert(); }}),
      restoreCommands_(model_.archive, services_),
      backupCommands_(model_, services_, statusLine_, restoreCommands_, backupProgress_),
      recoveryTab_(model_.recovery, services_, restoreCommands_),
      goToLocation_(model_.goToLocation, model_, statusLine_, services_),
      objectInfo_(
          model_.objectInfo, model_, [this] { assessCurrentFound(); }, services_),
      filterDescriptionsTab_(model_.filterDescriptions, services_) {
    // The statistics are kept when the program ends, whatever the log did.
    deletionLog_.setOnClosing([this] { statistics_.saveStatistics(); });
    deletion_.backupAll = [this] {
        const backup::BackupOutcome outcome = backupCommands_.backupAllFound();
        return records::Deletion::BackupBeforeDeletion{outcome.written, outcome.stored};
    };
    // The archive just written is listed at once.
    backupCommands_.onArchiveWritten = [this] {
        recoveryTab_.rereadLists();
        restoreCommands_.rereadArchives();
    };
}

void MainWindowCore::deleteIgnoredFileFromDisk() {
    if (ignoreLists_.deleteCurrentIgnoredFile())
        assessment_.resetAlert();
}

void MainWindowCore::assessCurrentFound() {
    showDetailsBarOutOfScan();
    assessment_.assessCurrentFound(model_.foundList);
}

void MainWindowCore::assessCurrentIgnored() {
    showDetailsBarOutOfScan();
    assessment_.assessCurrentIgnored(model_.ignore.ignoredFiles);
}

void MainWindowCore::goToLocationFromObjectInfo() {
    goToLocation_.goToFileLocation();
    objectInfo_.close();
}

void MainWindowCore::showFilterDescriptionsFromObjectInfo() {
    model_.activeTab = core::MainTab::FilterDescriptions;
    objectInfo_.close();
}

void MainWindowCore::openFileFromObjectInfo() {
    deletion_.openCurrentFile();
    objectInfo_.close();
}

void MainWindowCore::addObjectInfoNameToIgnoredMasks() {
    ignoreLists_.addNameToIgnoredMasks(model_.objectInfo.nameText);
}

void MainWindowCore::showDetailsBarOutOfScan() {
    if (!model_.scan.running && !model_.status.detailsStatusBarVisible)
        statusLine_.showDetailsBar();
}

void MainWindowCore::startUp() {
    settingsTab_.readRegistryBlock();
    // Whatever the store held, the selected mode comes with its filters.
    filterSets_.loadSelectedAtStartup();
    settingsTab_.showFoldersAtStart();
    statistics_.prepareWorkingCopies();
    recoveryTab_.pointRecoveryLists(model_.options.backupFolderAtStart,
                                    model_.options.logFolderAtStart);
    // The animation is embedded in the program, so nothing is written beside it.
    ignoreLists_.loadAtStartup();
    settingsTab_.checkLogFolder();
    filterSets_.setFilterCount();
    filterDescriptionsTab_.fill();
    // The store kept a copy of a settings file it could not read whole; the
    // wide bar at the bottom has room for its path.
    if (services_.settings) {
        const QString copy = services_.settings->damagedFileCopy();
        if (!copy.isEmpty()) {
            statusLine_.showDetailsBar();
            statusLine_.showDetails(
                QStringLiteral("Plik ustawień zawierał nieczytelne wiersze - przed zapisem "
                               "zachowano jego kopię: %1")
                    .arg(copy));
        }
    }
}

} // namespace pylomir::app

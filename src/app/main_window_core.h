// The main window's subsystems wired together over one model, without
// widgets: what the window, the command line and the tests create and drive.
#pragma once

#include "assess/assessment.h"
#include "assess/filter_descriptions.h"
#include "assess/go_to_location.h"
#include "assess/object_info.h"
#include "backup/backup_commands.h"
#include "backup/recovery_tab.h"
#include "backup/restore_commands.h"
#include "core/main_window_model.h"
#include "core/services.h"
#include "core/status_line.h"
#include "ignore/ignore_lists.h"
#include "records/deletion.h"
#include "records/deletion_log.h"
#include "records/found_list_files.h"
#include "records/html_report.h"
#include "records/statistics.h"
#include "scan/filter_sets.h"
#include "scan/scan_run.h"
#include "scan/settings_tab.h"

namespace pylomir::app {

class MainWindowCore {
public:
    explicit MainWindowCore(const core::Services& services);
    MainWindowCore(const MainWindowCore&) = delete;
    MainWindowCore& operator=(const MainWindowCore&) = delete;

    // The start-up sequence, run once when the window is created.
    void startUp();

    // "Usuń ten plik z dysku" of the ignored files' menu; the alert of a
    // file that may be gone goes with it.
    void deleteIgnoredFileFromDisk();
    // A click on a found or an ignored file: its alert and details line. Out
    // of a scan the details bar takes the bottom, so the line is seen even
    // before the first scan has shown that bar.
    void assessCurrentFound();
    void assessCurrentIgnored();
    // The tab on top, which some commands act by. The window follows the
    // model when a command brings another tab up.
    void setActiveTab(core::MainTab tab) { model_.activeTab = tab; }

    // The object information window's buttons that reach other subsystems;
    // each but the last closes the window.
    void goToLocationFromObjectInfo();           // "Idź do lokalizacji"
    void showFilterDescriptionsFromObjectInfo(); // "Opisy filtrów"
    void openFileFromObjectInfo();               // "Otwórz plik"
    void addObjectInfoNameToIgnoredMasks();      // "Dodaj do filtra ignorow."

    const core::MainWindowModel& model() const { return model_; }
    core::MainWindowModel& model() { return model_; }
    const core::Services& services() const { return services_; }

    core::StatusLine& statusLine() { return statusLine_; }
    assess::Assessment& assessment() { return assessment_; }
    records::Statistics& statistics() { return statistics_; }
    ignore::IgnoreLists& ignoreLists() { return ignoreLists_; }
    scan::FilterSets& filterSets() { return filterSets_; }
    scan::SettingsTab& settingsTab() { return settingsTab_; }
    scan::ScanRun& scanRun() { return scanRun_; }
    records::DeletionLog& deletionLog() { return deletionLog_; }
    records::HtmlReport& htmlReport() { return htmlReport_; }
    records::Deletion& deletion() { return deletion_; }
    records::FoundListFiles& foundListFiles() { return foundListFiles_; }
    backup::RestoreCommands& restoreCommands() { return restoreCommands_; }
    backup::BackupProgress& backupProgress() { return backupProgress_; }
    backup::BackupCommands& backupCommands() { return backupCommands_; }
    backup::RecoveryTab& recoveryTab() { return recoveryTab_; }
    assess::ObjectInfo& objectInfo() { return objectInfo_; }
    assess::GoToLocation& goToLocation() { return goToLocation_; }
    assess::FilterDescriptionsTab& filterDescriptionsTab() { return filterDescriptionsTab_; }

private:
    void showDetailsBarOutOfScan();

    core::Services services_;
    core::MainWindowModel model_;
    core::StatusLine statusLine_;
    assess::Assessment assessment_;
    records::Statistics statistics_;
    ignore::IgnoreLists ignoreLists_;
    scan::FilterSets filterSets_;
    scan::SettingsTab settingsTab_;
    scan::ScanRun scanRun_;
    records::DeletionLog deletionLog_;
    records::HtmlReport htmlReport_;
    records::Deletion deletion_;
    records::FoundListFiles foundListFiles_;
    backup::RestoreCommands restoreCommands_;
    backup::BackupProgress backupProgress_;
    backup::BackupCommands backupCommands_;
    backup::RecoveryTab recoveryTab_;
    assess::GoToLocation goToLocation_;
    assess::ObjectInfo objectInfo_;
    assess::FilterDescriptionsTab filterDescriptionsTab_;
};

} // namespace pylomir::app

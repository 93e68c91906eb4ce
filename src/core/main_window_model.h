// The main window's state as plain data, one small struct per area. Each
// area is written by one owner class (named beside it); others read it or
// call the owner. Counts and sizes are numbers here; the texts the window
// shows are derived from them in shown_texts.h.
#pragma once

#include "core/path_list.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace pylomir::core {

// The four scanning modes, in the order of their radio buttons.
enum class FilterMode { Safe, LessSafe, Advanced, UserDefined };

// The risk of instability after removing a file.
enum class AlertLevel { Low, Medium, High };

// The tabs of the main window; some commands act by the active one.
enum class MainTab {
    FoundList,
    Filters,
    FilterDescriptions,
    Recovery,
    IgnoreLists,
    Settings,
    About
};

// The caption over the found count.
enum class FoundCaption {
    Found,     // "Znalazłem:"
    Remaining, // "Zostało: "
    Loaded,    // "Wczytanych: "
};

struct TimerModel {
    int intervalMs = 1000;
    bool enabled = false;
};

// The full-list window: a copy of the found list's text. Owner: ScanRun.
struct FullListModel {
    QStringList lines;
    // Set while lines lags behind the found list; the copy is made when the
    // window is shown or the scan ends, never once per entry.
    bool stale = false;
    bool visible = false;
};

// The scan and its counters. Owner: ScanRun.
struct ScanState {
    bool running = false; // the window is scanning (the pause button is enabled)
    QString scanRoot;     // root folder of the next scan

    // What the last scan recorded.
    QList<qint64> lastScanSizes;          // size of every entry it reported, in report order
    qint64 lastScanBytes = 0;             // their sum, taken at the end of a scan
    qsizetype suspiciousCount = 0;        // entries it auto-ignored
    QList<qsizetype> lastScanFoundCounts; // the found count at its end (one entry)
    qint64 lastScanFoundCount = 0;        // sum of lastScanFoundCounts, for logs and reports

    // The left column's counters.
    FoundCaption foundCaption = FoundCaption::Found;
    qint64 foundCount = 0;   // "Znalazłem:"
    qint64 foundSizeKb = 0;  // "Rozmiar:"
    qint64 ignoredCount = 0; // "Zignorowano:", entries the ignore comparison took away

    int progress = 0; // the progress bar, 0 to 100
    bool animationRunning = false;
    TimerModel progressTimer;     // ticks the progress bar
    TimerModel elapsedClockTimer; // 1000 ms while scanning

    // Total scanning time, process-wide, never reset.
    int elapsedSeconds = 0;
    int elapsedMinutes = 0;
    int elapsedHours = 0;
    bool elapsedClockVisible = false; // hidden until the first scan

    bool startEnabled() const { return !running; }
    bool pauseEnabled() const { return running; }
    // While a scan runs it makes its newest entry current after every file,
    // so the commands on found entries would act on one the user never saw.
    bool deleteCurrentEnabled() const { return !running; }
    bool deleteOneEnabled() const { return !running; }
    bool deleteSelectedEnabled() const { return !running; }
    bool quickDeleteEnabled() const { return !running; }
    bool openFileEnabled() const { return !running; }
};

// The status texts and the two status bars that take turns at the bottom.
// Owner: StatusLine.
struct StatusState {
    QString statusText = QStringLiteral("Gotowy do skanowania....");
    QString scanStatusText;    // the folder being scanned
    QString detailsStatusText; // the assessed file's details, "Gotowe !"
    bool scanStatusBarVisible = true;
    bool detailsStatusBarVisible = false;
};

// The risk alert of the left column. Owner: Assessment.
// The rule of the chain that rated a file; the first that applies decides.
enum class AlertRule {
    InstallerLog,    // an installer's or uninstaller's log
    SystemExtension, // a system file's extension
    Empty,           // 0 bytes
    Small,           // below 670002 bytes
    Noticeable,      // below 4900002 bytes
    Suspicious,      // below 10400002 bytes
    TooLarge,
};

// The last assessed file, as the object information window shows it.
struct FileDetails {
    QString name;      // without its folder
    QString extension; // from the last "." on; empty without one
    qint64 size = 0;
    QString location;     // the full path as the list holds it
    QString modifiedText; // the last-write date and time in the user's formats
    // The file's attribute bits; none for an entry of the ignored files,
    // which always reads as normal.
    std::optional<qint32> attributes;
    AlertRule rule = AlertRule::Small;
    AlertLevel level = AlertLevel::Low;
};

// The risk alert and the last assessed file. Owner: Assessment.
struct AlertState {
    std::optional<AlertLevel> shownAlert; // none: every alert image hidden, text "-"
    std::optional<FileDetails> details;   // none: every detail shows "-"
    QString assessedPath;                 // what "Ustaw normalny atrybut" acts on
    bool commentBlue = false;             // set by two rules, cleared by none
};

// The "Wybór filtrów" tab. Owner: FilterSets.
struct FiltersState {
    std::optional<FilterMode> selectedMode = FilterMode::Safe; // none is possible
    QStringList filters;                  // the filter list of the current mode
    bool filtersSorted = false;           // kept sorted once "Sortuj listę filtrów" ran
    qsizetype selectedFilter = -1;        // the selected filter, or -1
    QString newFilterText;                // the new-filter field
    std::optional<qsizetype> filterCount; // shown count; none until first set ("-")
    int progressIntervalMs = 0;           // the progress timer's interval; 0 never ticks
};

// The "Ustawienia" tab's options and folders. Owner: SettingsTab. The
// options' defaults are not here: SettingsTab sets them from the one option
// table (scan/option_table.h), which also names their stored values,
// captions and search bits.
struct OptionsState {
    bool writeLogOnClose = false;
    bool showHints = false;
    bool includeSubfolders = false;
    bool htmlReportsEnabled = false;
    bool clearAttributesOnScan = false;
    bool backupBeforeQuickDelete = false;
    bool autoIgnore = false;
    bool includeReadOnly = false;
    bool includeHidden = false;
    bool includeSystem = false;
    bool includeArchive = false;
    bool includeAnyFile = false;
    bool includeFolders = false; // no check box: always off, never stored

    QString autoIgnoreThresholdText = QStringLiteral("670000"); // bytes, as typed
    QString backupFolderText;                                   // the backup folder field
    QString logFolderText;       // the log folder field, used when the log is written
    QString backupFolderAtStart; // backups use the folder read at start until a restart
    QString logFolderAtStart;

    // The threshold field is enabled exactly while auto-ignore is on, and
    // the hints (the folder tree's included) follow the hint switch.
    bool autoIgnoreThresholdEnabled() const { return autoIgnore; }
    bool hintsShown() const { return showHints; }
};

// The two ignore lists. Owner: IgnoreLists.
struct IgnoreListsState {
    PathList ignoredFiles;           // full paths
    QStringList ignoredMasks;        // name masks
    qsizetype currentMask = -1;      // the mask with the focus, or -1
    qsizetype ignoredFilesCount = 0; // shown counts, set by the commands that change a list's size
    qsizetype ignoredMasksCount = 0;
    // Kept in order (letter case ignored) once sorted, until the program ends.
    bool ignoredFilesSorted = false;
    bool ignoredMasksSorted = false;
    QString newIgnoredFileText; // the fields beside "Dodaj własny wpis" and "Dodaj własny filtr"
    QString newIgnoredMaskText;
};

// The cumulative statistics, kept as the texts they are stored as (the
// scan count excepted). Owner: Statistics.
struct StatisticsState {
    qint64 scanCount = 0;                                // "Ilość skanowań:"
    QString lastScanText = QStringLiteral("0");          // "Ostatnio skan.:"
    QString totalDeletedFilesText = QStringLiteral("0"); // "Usunięto plików:"
    QString totalDeletedBytesText = QStringLiteral("0"); // "Usunięto bajtów:"
    QString totalDeletedSizeText = QStringLiteral("0");  // "Rozmiar całoś.:"

    // The size bookkeeping behind them: the stored total at start, then one
    // size per deleted file; and the sizes deleted this session.
    QList<qint64> totalDeletedSizes;
    QList<qint64> sessionDeletedSizes;
    QString totalDeletedBytesInput = QStringLiteral("0");  // what "Rozmiar całoś.:" is made from
    QString sessionDeletedBytesText = QStringLiteral("0"); // sum of sessionDeletedSizes
    qint64 sessionDeletedKb = 0;                           // second "Usunięto teraz:" value
};

// What this session deleted, kept from start to exit for the deletion log
// and the HTML report. Owner: Deletion.
struct SessionRecords {
    qint64 deletedCount = 0;      // first "Usunięto teraz:" value
    QStringList logBlocks;        // eight lines per deleted entry
    QStringList deletedPathLines; // "Lokalizacja: " + path, per deleted entry
    QStringList htmlFragments;    // 38 lines per entry deleted with HTML reports on
    qint64 htmlReportedCount = 0; // entries deleted with HTML reports on
};

// The backup commands' working values. Owner: backup::BackupCommands.
struct BackupState {
    QString timeStamp;   // renewed at the start of each backup command
    QString archivePath; // the archive the next backup step writes
};

// The archive component's work. Owner: backup::RestoreCommands, which holds
// the component.
struct ArchiveState {
    // A backup or a restore runs: another is refused and the deletion
    // commands wait, whatever the window lets the user click meanwhile.
    bool busy = false;
};

// Said when a backup, a restore or the quick delete is asked for while the
// archive component is at work.
inline constexpr char kArchiveBusyMessage[] =
    "Trwa tworzenie lub odzyskiwanie kopii zapasowej.\nPoczekaj na jego zakończenie i spróbuj "
    "ponownie.";

// The "Odzyskiwanie" tab. Owner: backup::RecoveryTab.
struct RecoveryState {
    QString archiveFolder;    // the backup folder, with its separator
    QString logFolder;        // the log folder, with its separator
    QStringList archiveNames; // its "*.backup" files, by name
    QStringList logNames;     // its "*.plm" files, by name
    qsizetype currentArchive = -1;
    qsizetype currentLog = -1;
    // The shown counts; none ("?") until the tab is first shown.
    std::optional<qsizetype> archiveCount;
    std::optional<qsizetype> logCount;
    int restoreProgress = 0; // the tab's progress bar, 0 to 100
};

// Which list the object information window was opened from.
enum class ObjectInfoSource { FoundList, IgnoredFiles };

// The object information window. Owner: assess::ObjectInfo. Its values
// are set each time it is shown; the details come from AlertState.
struct ObjectInfoState {
    bool visible = false;
    ObjectInfoSource openedFrom = ObjectInfoSource::FoundList;
    QString nameText = QStringLiteral("-"); // lower case; editable in the window
    QString extensionText;                  // lower case; not shown
    QString positionText = QStringLiteral("Plik ??  /  ??");
    QString descriptionText = QStringLiteral("Brak opisu do tego typu pliku.");
    int frequency = 0; // 0 to 100
    // Reopens the window after a step, once its modal loop has ended.
    TimerModel reopenTimer{5, false};

    // The counter and the arrows belong to the found list.
    bool positionVisible() const { return openedFrom == ObjectInfoSource::FoundList; }
    bool arrowsEnabled() const { return openedFrom == ObjectInfoSource::FoundList; }
};

// The go-to-location dialog. Owner: assess::GoToLocation.
struct GoToLocationState {
    bool visible = false;
    QString folderText; // the folder to open, as the user may have changed it
};

// The "Opisy filtrów" tab. Owner: assess::FilterDescriptionsTab.
struct FilterDescriptionsState {
    QList<qsizetype> rowOrder; // indices of the stored rows, in the shown order
    bool sorted = false;       // kept sorted by mask while set
};

struct MainWindowModel {
    FoundList foundList;
    // Once sorted, the found list keeps its order for the session: a scan
    // puts what it finds at its sorted place.
    bool foundListSorted = false;
    bool foundListEnabled = true; // off while the quick delete runs
    MainTab activeTab = MainTab::FoundList;
    FullListModel fullList;
    ScanState scan;
    StatusState status;
    AlertState alert;
    FiltersState filters;
    OptionsState options;
    IgnoreListsState ignore;
    StatisticsState statistics;
    SessionRecords records;
    BackupState backup;
    ArchiveState archive;
    RecoveryState recovery;
    ObjectInfoState objectInfo;
    GoToLocationState goToLocation;
    FilterDescriptionsState filterDescriptions;

    // The deletion commands wait while a scan or an archive operation runs.
    bool deletionEnabled() const { return !scan.running && !archive.busy; }
    // The list whose current entry "Otwórz plik" and "Idź do lokalizacji"
    // act on: the one on the active tab; none on the other tabs.
    const PathList* listOfActiveTab() const {
        if (activeTab == MainTab::FoundList)
            return &foundList;
        if (activeTab == MainTab::IgnoreLists)
            return &ignore.ignoredFiles;
        return nullptr;
    }
};

} // namespace pylomir::core

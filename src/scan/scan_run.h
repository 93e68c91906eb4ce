// The scan: from ">> Rozpocznij skanowanie" to "Wyszukiwanie gotowe !".
#pragma once

#include "assess/assessment.h"
#include "core/main_window_model.h"
#include "core/services.h"
#include "core/status_line.h"
#include "engine/file_search.h"
#include "ignore/ignore_lists.h"
#include "records/statistics.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace pylomir::scan {

// The message at the end of a scan that skipped folders it could not list:
// the first ten, then how many more.
QString unlistedFoldersMessage(const QStringList& folders);

class ScanRun {
public:
    // Writes the scan's area, the full list's copy and the found list; reads
    // the filters, the options and the ignored masks.
    ScanRun(core::MainWindowModel& model, const core::Services& services,
            ignore::IgnoreLists& ignoreLists, records::Statistics& statistics,
            core::StatusLine& status, assess::Assessment& assessment);

    // ">> Rozpocznij skanowanie".
    void startScan();
    // "Pauza": holds the scan inside a modal box.
    void pauseScan();
    // The folder tree's selection changed: the root of the next scan.
    void setScanRoot(const QString& folder);
    // The elapsed-time clock, every 1000 ms while scanning.
    void tickElapsedClock();
    // The progress bar, at the interval the filter count sets.
    void advanceScanProgress();
    // Closing the window: false when the close is refused.
    bool tryClose();

    // Totals routines.
    // The found list's ignore commands: check marks on every entry, and the
    // checked entries moved to the ignored files.
    void checkAllFound();
    void uncheckAllFound();
    void moveCheckedToIgnoredFiles();
    // "Ustaw normalny atrybut": clears the attributes of the current found
    // entry's file.
    void clearCurrentFoundAttributes();

    // A found-list file was loaded: its paths (none when the dialog was
    // cancelled) replace the found list, and the count is shown as loaded.
    void showLoadedFoundList(const std::optional<QStringList>& paths);

    void sumLastScanBytes();          // byte total of the last scan
    void showLastScanSize();          // "Rozmiar:" from the byte total
    void refreshLastScanFoundCount(); // found count at the end of the last scan
    // The ignore comparison, with its counters and status texts.
    void removeIgnoredFound();

    // "Pełna lista": the full-list window, brought up to date.
    void showFullList();
    // The full-list window was closed.
    void fullListHidden() { m_.fullList.visible = false; }
    // Brings the full-list window's copy up to date.
    void syncFullList();

    engine::FileSearch& fileSearch() { return fileSearch_; }
    // Sets the engine's entry tests (date, size) before each scan, after
    // they are cleared; the window's scan runs without any.
    void setEntryTests(std::function<void(engine::FileSearch&)> configure) {
        entryTests_ = std::move(configure);
    }
    // The folders below the root the last scan could not list.
    const QStringList& unlistedFolders() const { return fileSearch_.unlistedFolders(); }
    // Whether the end of a scan names them in a message box; a caller that
    // reports them its own way turns it off.
    void setTellsOfUnlistedFolders(bool on) { tellsOfUnlistedFolders_ = on; }

private:
    void showCurrentFolder(const QString& folder);
    void processFoundEntry(engine::FoundEntry& entry);
    void showSearchStatistics(engine::SearchStatistics& statistics);
    void endOfRun();

    core::MainWindowModel& m_;
    core::ScanState& scan_;
    core::Services s_;
    ignore::IgnoreLists& ignore_;
    records::Statistics& statistics_;
    core::StatusLine& status_;
    assess::Assessment& assessment_;
    engine::FileSearch fileSearch_;
    qint64 threshold_ = 0;
    bool tellsOfUnlistedFolders_ = true;
    std::function<void(engine::FileSearch&)> entryTests_;
};

} // namespace pylomir::scan

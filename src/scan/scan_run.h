// The scan run: from ">> Rozpocznij skanowanie" to "Wyszukiwanie gotowe !".
#pragma once

#include "core/message_pump.h"
#include "core/services.h"
#include "core/ui_port.h"
#include "engine/file_search.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"
#include "scan/search_form_model.h"

#include <QSet>
#include <QString>

namespace pylomir::ignore {
class IgnoreLists;
}

namespace pylomir::scan {

class ScanRun {
public:
    ScanRun(SearchFormModel& model, const Services& services, ignore::IgnoreLists& ignoreLists);

    // ">> Rozpocznij skanowanie".
    void Button11Click();
    // "Pauza": holds the scan inside a modal box.
    void btnStopClick();
    // The folder tree's selection changed.
    void DhCheckFolder1ChangeFolder(const QString& path);
    // Elapsed-time clock, every 1000 ms while scanning.
    void Timer2Timer();
    // Progress gauge, at the interval of LabelProgres.
    void Timer1Timer();
    // Closing the window: false when the close is refused.
    bool FormClose();

    // Totals routines.
    void Button9Click();           // byte total
    void ButtonKBznalezionClick(); // size label
    void Button22Click();          // found-count total

    // Brings the full-list window's copy up to date (when it is shown).
    void syncFullList();

    engine::FileSearch& Skaner() { return skaner_; }

private:
    void SkanerChangeFolder(const QString& newPath);
    void SkanerFileFound(engine::FoundEntry& record);
    void SkanerStatistics(engine::SearchStatistics& stats);
    void endOfRun();
    void updateScanCount();
    void addToIgnoredFiles(const QString& path);

    SearchFormModel& m_;
    Services s_;
    ignore::IgnoreLists& ignore_;
    engine::FileSearch skaner_;
    qint64 threshold_ = 0;
    // Case-folded IgnoredFiles, so auto-ignore's duplicate check is not linear.
    QSet<QString> ignoredIndex_;
    qsizetype ignoredIndexSize_ = -1;
};

} // namespace pylomir::scan

// The scan run: from ">> Rozpocznij skanowanie" to "Wyszukiwanie gotowe !".
#pragma once

#include "engine/file_search.h"
#include "engine/message_pump.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"
#include "scan/search_form_model.h"
#include "scan/ui_port.h"

#include <QSet>
#include <QString>

namespace pylomir::ignore {
class IgnoreLists;
}

namespace pylomir::scan {

// The services a window's commands use; all replaceable in tests.
struct Services {
    platform::FileSystem* fileSystem = nullptr;
    platform::SettingsStore* settings = nullptr;
    platform::Clock* clock = nullptr;
    const platform::LocaleFormats* locale = nullptr;
    UiPort* ui = nullptr;
    engine::MessagePump* pump = nullptr;
    QString programDir; // ends with the separator
};

// This machine's file system, clock and program folder around the given
// store, locale, UI and message hook.
Services machineServices(platform::SettingsStore& settings, const platform::LocaleFormats& locale,
                         UiPort& ui, engine::MessagePump& pump);

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

    engine::TEasyFileSearch& Skaner() { return skaner_; }

private:
    void SkanerChangeFolder(const QString& newPath);
    void SkanerFileFound(engine::TFileInformations& record);
    void SkanerStatistics(engine::TStatistics& stats);
    void endOfRun();
    void updateScanCount();
    void addToIgnoredFiles(const QString& path);

    SearchFormModel& m_;
    Services s_;
    ignore::IgnoreLists& ignore_;
    engine::TEasyFileSearch skaner_;
    qint64 threshold_ = 0;
    // Case-folded IgnoredFiles, so auto-ignore's duplicate check is not linear.
    QSet<QString> ignoredIndex_;
    qsizetype ignoredIndexSize_ = -1;
};

} // namespace pylomir::scan

// The four scanning modes and their filter files.
#pragma once

#include "core/main_window_model.h"
#include "core/services.h"

#include <QString>

namespace pylomir::scan {

using core::FilterMode;

class FilterSets {
public:
    FilterSets(core::FiltersState& filters, const core::Services& services);

    static QString fileName(FilterMode mode); // e.g. "filtr_a1.dat"
    QString filePath(FilterMode mode) const;

    // A mode's radio button: selects the mode and loads its file when it was
    // not selected already.
    void selectMode(FilterMode mode);
    // Selects a mode and reads its file even when it is selected already
    // (the command line names the mode it wants).
    void reloadMode(FilterMode mode);

    // A click into the new-filter field selects the user's own mode.
    void switchToUserMode();
    void addFilter();    // "Dodaj filtr"
    void deleteFilter(); // "Usuń wybrany filtr"
    void sortFilters();  // "Sortuj listę filtrów"
    void storeMode();    // "Zastosuj wprowadzone zmiany": the mode for the next start

    // What the user typed or picked.
    void setNewFilterText(const QString& text) { f_.newFilterText = text; }
    void selectFilter(qsizetype index) { f_.selectedFilter = index; }

    // The stored mode at start-up, with the Ustawienia key present. False when
    // a filter file could not be read (the start-up block stops there).
    bool startupSelection();
    // At start-up, the selected mode's list is loaded even when no mode was
    // stored; a file that cannot be read leaves it empty without a word.
    void loadSelectedAtStartup();
    // The shown count follows the list.
    void setFilterCount();

private:
    // The selection handler's work: the advanced warning, then the file.
    void modeSelected(FilterMode mode);
    bool readFilters(FilterMode mode, bool report);
    bool writeFilters(FilterMode mode);
    void sortList();
    void insertFilter(const QString& text);

    core::FiltersState& f_;
    core::Services s_;
    bool quiet_ = false;      // start-up: read failures are swallowed
    bool readFailed_ = false; // set by a failed read while quiet
    // The selected mode's file could not be read, so the list is not its
    // content and is never written over it; the user is told once.
    bool listUnread_ = false;
    bool toldUnwritten_ = false;
};

// The progress timer's interval for a filter list of n entries: n seconds
// below 100 filters, n tenths of a second from 100 on.
int gaugeInterval(qsizetype n);

} // namespace pylomir::scan

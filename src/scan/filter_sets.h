// The four scanning modes and their filter files.
#pragma once

#include "scan/scan_run.h"
#include "scan/search_form_model.h"

#include <QString>

#include <optional>

namespace pylomir::scan {

class FilterSets {
public:
    FilterSets(SearchFormModel& model, const Services& services);

    static QString fileName(FilterMode mode); // e.g. "filtr_a1.dat"
    QString filePath(FilterMode mode) const;

    // The mode radio buttons.
    void RadioButton4Click() { selectMode(FilterMode::Bezpieczny); }
    void RadioButton1Click() { selectMode(FilterMode::MniejBezpieczny); }
    void RadioButton3Click() { selectMode(FilterMode::Zaawansowany); }
    void RadioButton2Click() { selectMode(FilterMode::Uzytkownika); }
    // Selects a mode; loads its file when it was not selected already.
    void selectMode(FilterMode mode);
    // Selects a mode and reads its file even when it is selected already
    // (the command line names the mode it wants).
    void reloadMode(FilterMode mode);

    void EditDodajFiltrClick(); // clicking into the new-filter field
    void Button10Click();       // "Dodaj filtr"
    void Button14Click();       // "Usuń wybrany filtr"
    void Button20Click();       // "Sortuj listę filtrów"
    void Button21Click();       // "Zastosuj wprowadzone zmiany": store the mode

    // The stored mode at start-up, with the Ustawienia key present. False when
    // a filter file could not be read (the start-up block stops there).
    bool startupSelection();

    std::optional<FilterMode> currentMode() const;
    void setFilterCount();

private:
    bool& radio(FilterMode mode);
    // The selection handler's work: the advanced warning, then the file.
    void modeSelected(FilterMode mode);
    bool readFilters(FilterMode mode, bool report);
    bool writeFilters(FilterMode mode);
    void sortFilters();
    void insertFilter(const QString& text);

    SearchFormModel& m_;
    Services s_;
    bool quiet_ = false;      // start-up: read failures are swallowed
    bool readFailed_ = false; // set by a failed read while quiet
};

// The gauge interval for a filter list of n entries, as the text LabelProgres holds.
QString gaugeInterval(qsizetype n);

} // namespace pylomir::scan

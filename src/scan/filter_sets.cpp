#include "scan/filter_sets.h"

#include "core/settings_names.h"
#include "platform/locale_formats.h"
#include "platform/program_dir.h"
#include "platform/settings_store.h"
#include "platform/text_file.h"

#include <algorithm>
#include <limits>

namespace pylomir::scan {

namespace {

struct ModeInfo {
    FilterMode mode;
    const char* file;
    const char* storedName; // value of the Ustawienia key
};

// In the order the stored mode is read and written.
constexpr ModeInfo kStoreOrder[] = {
    {FilterMode::LessSafe, "filtr_a2.dat", "Mniej_bezp"},
    {FilterMode::UserDefined, "filtr_user.dat", "TrybUsera"},
    {FilterMode::Advanced, "filtr_a3.dat", "Zaawansowany"},
    {FilterMode::Safe, "filtr_a1.dat", "Bezpieczny"},
};

const ModeInfo& info(FilterMode mode) {
    for (const ModeInfo& i : kStoreOrder) {
        if (i.mode == mode)
            return i;
    }
    return kStoreOrder[3];
}

} // namespace

int gaugeInterval(qsizetype n) {
    const qint64 ms = qint64(n) * (n < 100 ? 1000 : 100);
    return ms > std::numeric_limits<int>::max() ? 0 : int(ms); // too long: never ticks
}

FilterSets::FilterSets(core::FiltersState& filters, const core::Services& services)
    : f_(filters), s_(services) {}

QString FilterSets::fileName(FilterMode mode) {
    return QString::fromLatin1(info(mode).file);
}

QString FilterSets::filePath(FilterMode mode) const {
    return platform::filtersDir(s_.programDir) + fileName(mode);
}

void FilterSets::setFilterCount() {
    f_.filterCount = f_.filters.size();
}

void FilterSets::sortList() {
    std::stable_sort(
        f_.filters.begin(), f_.filters.end(),
        [this](const QString& a, const QString& b) { return s_.locale->lessIgnoringCase(a, b); });
}

void FilterSets::insertFilter(const QString& text) {
    if (!f_.filtersSorted) {
        f_.filters.append(text);
        return;
    }
    const auto at = std::upper_bound(
        f_.filters.begin(), f_.filters.end(), text,
        [this](const QString& a, const QString& b) { return s_.locale->lessIgnoringCase(a, b); });
    f_.filters.insert(at, text);
}

bool FilterSets::readFilters(FilterMode mode, bool report) {
    QStringList lines;
    QString reason;
    listUnread_ = !platform::readListFile(*s_.fileSystem, filePath(mode), lines, &reason);
    toldUnwritten_ = false;
    if (listUnread_) {
        if (report)
            s_.ui->showError(platform::cannotOpenMessage(filePath(mode), reason));
        return false;
    }
    f_.filters = lines;
    f_.selectedFilter = -1;
    if (f_.filtersSorted)
        sortList();
    return true;
}

bool FilterSets::writeFilters(FilterMode mode) {
    // The list does not hold the file's masks: writing it would wipe them.
    if (listUnread_) {
        if (!toldUnwritten_) {
            toldUnwritten_ = true;
            s_.ui->showMessage(platform::unreadListNotSavedMessage(filePath(mode)));
        }
        return false;
    }
    QString reason;
    if (!platform::writeListFile(*s_.fileSystem, filePath(mode), f_.filters, &reason)) {
        s_.ui->showError(platform::cannotCreateMessage(filePath(mode), reason));
        return false;
    }
    return true;
}

void FilterSets::modeSelected(FilterMode mode) {
    if (mode == FilterMode::Advanced) {
        s_.ui->messageBox(
            QStringLiteral("Uwaga !! "),
            QStringLiteral("Zaznaczyłeś opcję bardzo dokładnego szukania.\n\nLiczba plików "
                           "tymczasowych w tym trybie, jak i podejrzenie typu pliku znacząco "
                           "wzrośnie.\nPrzed usunięciem proszę sprawdzić: lokalizację, rozmiar i "
                           "opis pliku\nJeśli podejrzewasz plik - dodaj go do listy ignorowań lub "
                           "zrób kopię zapasową"),
            core::MsgIcon::Warning, core::MsgButtons::Ok);
    }
    f_.filters.clear();
    f_.selectedFilter = -1;
    if (!readFilters(mode, !quiet_)) {
        readFailed_ = true;
        return; // the count and the gauge interval keep their values
    }
    setFilterCount();
    f_.progressIntervalMs = gaugeInterval(f_.filters.size());
}

void FilterSets::selectMode(FilterMode mode) {
    if (f_.selectedMode == mode)
        return; // already selected: no handler runs
    reloadMode(mode);
}

void FilterSets::reloadMode(FilterMode mode) {
    f_.selectedMode = mode;
    modeSelected(mode);
}

void FilterSets::switchToUserMode() {
    selectMode(FilterMode::UserDefined);
}

void FilterSets::addFilter() {
    const QString text = f_.newFilterText;
    if (text.isEmpty()) {
        s_.ui->showMessage(QStringLiteral("Nie podano żadnego typu filtra !"));
    } else if (f_.selectedMode == FilterMode::UserDefined) {
        const bool listed =
            std::any_of(f_.filters.cbegin(), f_.filters.cend(),
                        [&](const QString& f) { return platform::sameText(f, text); });
        if (!listed) {
            insertFilter(text);
            setFilterCount();
        }
    } else {
        s_.ui->showMessage(QStringLiteral("Dodawać nowe filtry możesz we własnym trybie. "
                                          "Zostaniesz przełączony do \"Ustawienia użytkownika\""));
        selectMode(FilterMode::UserDefined);
    }
    if (f_.selectedMode == FilterMode::UserDefined)
        writeFilters(FilterMode::UserDefined);
}

void FilterSets::deleteFilter() {
    const qsizetype i = f_.selectedFilter;
    if (i < 0 || i >= f_.filters.size()) {
        s_.ui->showMessage(QStringLiteral("Nie zaznaczono żadnego typu filtra do usunięcia !"));
        return;
    }
    f_.filters.removeAt(i);
    f_.selectedFilter = -1;
    setFilterCount();
    if (f_.selectedMode)
        writeFilters(*f_.selectedMode);
}

void FilterSets::sortFilters() {
    f_.filtersSorted = true;
    sortList();
}

void FilterSets::storeMode() {
    platform::SettingsStore& store = *s_.settings;
    bool ok = store.createKey(core::kOptionsKey);
    for (const ModeInfo& i : kStoreOrder) {
        if (!ok)
            break;
        ok = store.writeString(core::kOptionsKey, QString::fromLatin1(i.storedName),
                               f_.selectedMode == i.mode ? QStringLiteral("1")
                                                         : QStringLiteral("0"));
    }
    if (!ok) {
        // Never claim the mode was stored when it was not.
        s_.ui->showError(core::kRegistryErrorText);
        return;
    }
    s_.ui->showMessage(QStringLiteral("Zastosowano nowe ustawienia wyboru trybu skanowania."));
}

bool FilterSets::startupSelection() {
    for (const ModeInfo& i : kStoreOrder) {
        const auto value =
            s_.settings->readString(core::kOptionsKey, QString::fromLatin1(i.storedName));
        if (value == QStringLiteral("1")) {
            // Failures at start-up are not shown; they end the settings block.
            quiet_ = true;
            readFailed_ = false;
            selectMode(i.mode);
            quiet_ = false;
            if (readFailed_)
                return false;
            f_.filters.clear();
            if (!readFilters(i.mode, false))
                return false;
        } else if (value == QStringLiteral("0") && f_.selectedMode == i.mode) {
            f_.selectedMode.reset();
        }
    }
    return true;
}

void FilterSets::loadSelectedAtStartup() {
    if (f_.selectedMode && f_.filters.isEmpty())
        readFilters(*f_.selectedMode, false);
}

} // namespace pylomir::scan

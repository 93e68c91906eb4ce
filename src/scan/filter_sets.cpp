#include "scan/filter_sets.h"

#include "platform/program_dir.h"
#include "platform/text_file.h"

#include <algorithm>

namespace pylomir::scan {

namespace {

const QString kUstawienia = QStringLiteral("Ustawienia");

struct ModeInfo {
    FilterMode mode;
    const char* file;
    const char* registryValue;
};

// In the order the stored mode is read and written.
constexpr ModeInfo kStoreOrder[] = {
    {FilterMode::MniejBezpieczny, "filtr_a2.dat", "Mniej_bezp"},
    {FilterMode::Uzytkownika, "filtr_user.dat", "TrybUsera"},
    {FilterMode::Zaawansowany, "filtr_a3.dat", "Zaawansowany"},
    {FilterMode::Bezpieczny, "filtr_a1.dat", "Bezpieczny"},
};

const ModeInfo& info(FilterMode mode) {
    for (const ModeInfo& i : kStoreOrder) {
        if (i.mode == mode)
            return i;
    }
    return kStoreOrder[3];
}

} // namespace

QString gaugeInterval(qsizetype n) {
    return QString::number(n) + (n < 100 ? QStringLiteral("000") : QStringLiteral("00"));
}

FilterSets::FilterSets(SearchFormModel& model, const Services& services)
    : m_(model), s_(services) {}

QString FilterSets::fileName(FilterMode mode) {
    return QString::fromLatin1(info(mode).file);
}

QString FilterSets::filePath(FilterMode mode) const {
    return platform::filtersDir(s_.programDir) + fileName(mode);
}

bool& FilterSets::radio(FilterMode mode) {
    switch (mode) {
    case FilterMode::Bezpieczny:
        return m_.RadioButton4;
    case FilterMode::MniejBezpieczny:
        return m_.RadioButton1;
    case FilterMode::Zaawansowany:
        return m_.RadioButton3;
    case FilterMode::Uzytkownika:
        break;
    }
    return m_.RadioButton2;
}

std::optional<FilterMode> FilterSets::currentMode() const {
    if (m_.RadioButton4)
        return FilterMode::Bezpieczny;
    if (m_.RadioButton1)
        return FilterMode::MniejBezpieczny;
    if (m_.RadioButton3)
        return FilterMode::Zaawansowany;
    if (m_.RadioButton2)
        return FilterMode::Uzytkownika;
    return std::nullopt;
}

void FilterSets::setFilterCount() {
    m_.Label_LiczbaFiltrow = QString::number(m_.ListBoxFiltry.size());
}

void FilterSets::sortFilters() {
    std::stable_sort(
        m_.ListBoxFiltry.begin(), m_.ListBoxFiltry.end(),
        [this](const QString& a, const QString& b) { return s_.locale->lessIgnoringCase(a, b); });
}

void FilterSets::insertFilter(const QString& text) {
    if (!m_.ListBoxFiltrySorted) {
        m_.ListBoxFiltry.append(text);
        return;
    }
    const auto at = std::upper_bound(
        m_.ListBoxFiltry.begin(), m_.ListBoxFiltry.end(), text,
        [this](const QString& a, const QString& b) { return s_.locale->lessIgnoringCase(a, b); });
    m_.ListBoxFiltry.insert(at, text);
}

bool FilterSets::readFilters(FilterMode mode, bool report) {
    QStringList lines;
    QString reason;
    if (!platform::readListFile(*s_.fileSystem, filePath(mode), lines, &reason)) {
        if (report)
            s_.ui->showError(platform::cannotOpenMessage(filePath(mode), reason));
        return false;
    }
    m_.ListBoxFiltry = lines;
    m_.ListBoxFiltryItemIndex = -1;
    if (m_.ListBoxFiltrySorted)
        sortFilters();
    return true;
}

bool FilterSets::writeFilters(FilterMode mode) {
    QString reason;
    if (!platform::writeListFile(*s_.fileSystem, filePath(mode), m_.ListBoxFiltry, &reason)) {
        s_.ui->showError(platform::cannotCreateMessage(filePath(mode), reason));
        return false;
    }
    return true;
}

void FilterSets::modeSelected(FilterMode mode) {
    if (mode == FilterMode::Zaawansowany) {
        s_.ui->messageBox(
            QStringLiteral("Uwaga !! "),
            QStringLiteral("Zaznaczyłeś opcję bardzo dokładnego szukania.\n\nLiczba plików "
                           "tymczasowych w tym trybie, jak i podejrzenie typu pliku znacząco "
                           "wzrośnie.\nPrzed usunięciem proszę sprawdzić: lokalizację, rozmiar i "
                           "opis pliku\nJeśli podejrzewasz plik - dodaj go do listy ignorowań lub "
                           "zrób kopię zapasową"),
            MsgIcon::Warning, MsgButtons::Ok);
    }
    m_.ListBoxFiltry.clear();
    m_.ListBoxFiltryItemIndex = -1;
    if (!readFilters(mode, !quiet_)) {
        readFailed_ = true;
        return; // the count and the gauge interval keep their values
    }
    setFilterCount();
    m_.LabelProgres = gaugeInterval(m_.ListBoxFiltry.size());
}

void FilterSets::selectMode(FilterMode mode) {
    if (radio(mode))
        return; // already selected: no handler runs
    reloadMode(mode);
}

void FilterSets::reloadMode(FilterMode mode) {
    m_.RadioButton4 = m_.RadioButton1 = m_.RadioButton3 = m_.RadioButton2 = false;
    radio(mode) = true;
    modeSelected(mode);
}

void FilterSets::EditDodajFiltrClick() {
    selectMode(FilterMode::Uzytkownika);
}

void FilterSets::Button10Click() {
    const QString text = m_.EditDodajFiltr;
    if (text.isEmpty()) {
        s_.ui->showMessage(QStringLiteral("Nie podano żadnego typu filtra !"));
    } else if (m_.RadioButton2) {
        const bool listed =
            std::any_of(m_.ListBoxFiltry.cbegin(), m_.ListBoxFiltry.cend(),
                        [&](const QString& f) { return platform::sameText(f, text); });
        if (!listed) {
            insertFilter(text);
            setFilterCount();
        }
    } else {
        s_.ui->showMessage(QStringLiteral("Dodawać nowe filtry możesz we własnym trybie. "
                                          "Zostaniesz przełączony do \"Ustawienia użytkownika\""));
        selectMode(FilterMode::Uzytkownika);
    }
    if (m_.RadioButton2)
        writeFilters(FilterMode::Uzytkownika);
}

void FilterSets::Button14Click() {
    const qsizetype i = m_.ListBoxFiltryItemIndex;
    if (i < 0 || i >= m_.ListBoxFiltry.size()) {
        s_.ui->showMessage(QStringLiteral("Nie zaznaczono żadnego typu filtra do usunięcia !"));
        return;
    }
    m_.ListBoxFiltry.removeAt(i);
    m_.ListBoxFiltryItemIndex = -1;
    setFilterCount();
    if (const auto mode = currentMode())
        writeFilters(*mode);
}

void FilterSets::Button20Click() {
    m_.ListBoxFiltrySorted = true;
    sortFilters();
}

void FilterSets::Button21Click() {
    platform::SettingsStore& store = *s_.settings;
    bool ok = store.createKey(kUstawienia);
    for (const ModeInfo& i : kStoreOrder) {
        if (!ok)
            break;
        ok = store.writeString(kUstawienia, QString::fromLatin1(i.registryValue),
                               radio(i.mode) ? QStringLiteral("1") : QStringLiteral("0"));
    }
    if (!ok) {
        // Never claim the mode was stored when it was not.
        s_.ui->showError(
            QStringLiteral("Błąd dostępu do rejestru. Nie masz uprawnień Administratora ?!"));
        return;
    }
    s_.ui->showMessage(QStringLiteral("Zastosowano nowe ustawienia wyboru trybu skanowania."));
}

bool FilterSets::startupSelection() {
    for (const ModeInfo& i : kStoreOrder) {
        const auto value =
            s_.settings->readString(kUstawienia, QString::fromLatin1(i.registryValue));
        if (value == QStringLiteral("1")) {
            // Failures at start-up are not shown; they end the settings block.
            quiet_ = true;
            readFailed_ = false;
            selectMode(i.mode);
            quiet_ = false;
            if (readFailed_)
                return false;
            m_.ListBoxFiltry.clear();
            if (!readFilters(i.mode, false))
                return false;
        } else if (value == QStringLiteral("0")) {
            radio(i.mode) = false;
        }
    }
    return true;
}

} // namespace pylomir::scan

#include "scan/settings_tab.h"

#include "platform/file_system.h"

namespace pylomir::scan {

namespace {

const QString kSkanowan = QStringLiteral("Skanowan");
const QString kUsunieto = QStringLiteral("Usunieto");
const QString kUstawienia = QStringLiteral("Ustawienia");
const QString kRegistryError =
    QStringLiteral("Błąd dostępu do rejestru. Nie masz uprawnień Administratora ?!");

struct Option {
    const char* value;
    bool SearchFormModel::*box;
};

// In the order they are read and written.
constexpr Option kOptions[] = {
    {"AutoLog", &SearchFormModel::CheckBox100},     {"Podpowiedzi", &SearchFormModel::CheckBox99},
    {"Podfoldery", &SearchFormModel::cbRecursive},  {"AutoHTML", &SearchFormModel::CheckBox102},
    {"AutoAtrybut", &SearchFormModel::CheckBox103}, {"AutoKopia", &SearchFormModel::CheckBox122},
    {"Ignorowanie", &SearchFormModel::CheckBox141}, {"TylkoOdczyt", &SearchFormModel::CheckBox144},
    {"Ukryty", &SearchFormModel::CheckBox145},      {"Systemowy", &SearchFormModel::CheckBox146},
    {"Archiwalny", &SearchFormModel::CheckBox148},  {"BezAtrybutu", &SearchFormModel::CheckBox149},
};

} // namespace

SettingsTab::SettingsTab(SearchFormModel& model, const Services& services, FilterSets& filters)
    : m_(model), s_(services), filters_(filters) {
    m_.LabelLOG_Katalog = platform::driveRoot();
    m_.LabelBAK_Katalog = platform::driveRoot();
}

void SettingsTab::setOption(bool SearchFormModel::*box, bool on) {
    if (m_.*box == on)
        return;
    m_.*box = on;
    if (box == &SearchFormModel::CheckBox99)
        CheckBox99Click();
    else if (box == &SearchFormModel::CheckBox141)
        CheckBox141Click();
}

bool SettingsTab::readSkanowan() {
    platform::SettingsStore& store = *s_.settings;
    if (!store.keyExists(kSkanowan))
        return false;
    const auto liczba = store.readString(kSkanowan, QStringLiteral("Liczba"));
    if (!liczba)
        return false;
    bool ok = false;
    const int count = liczba->trimmed().toInt(&ok);
    if (!ok)
        return false;
    m_.Label16 = QString::number(count);
    // A missing value reads as empty text and is stored as it is.
    auto read = [&](const char* name) {
        return store.readString(kSkanowan, QString::fromLatin1(name)).value_or(QString());
    };
    m_.Label20 = read("Skasowano");
    m_.Label22 = read("Data");
    m_.Label26 = read("SkasowanoMB");
    m_.LabelLOG_Katalog = read("LOGKatalog");
    m_.LabelBAK_Katalog = read("BAKKatalog");
    // Statistics written at exit create this key without the threshold; an
    // empty threshold would stop every scan, so a missing one keeps the default.
    if (const auto threshold = store.readString(kSkanowan, QStringLiteral("RozmiarIgnoral")))
        m_.EditRozmiarIgnorowania = *threshold;
    return true;
}

void SettingsTab::readUstawienia() {
    for (const Option& o : kOptions) {
        const auto v = s_.settings->readString(kUstawienia, QString::fromLatin1(o.value));
        if (v == QStringLiteral("1"))
            setOption(o.box, true);
        else if (v == QStringLiteral("0"))
            setOption(o.box, false);
    }
}

void SettingsTab::readRegistryBlock() {
    if (!s_.settings || !readSkanowan())
        return;
    if (s_.settings->keyExists(kUsunieto))
        m_.Label15 =
            s_.settings->readString(kUsunieto, QStringLiteral("Listbox")).value_or(QString());
    if (s_.settings->keyExists(kUstawienia)) {
        readUstawienia();
        if (!filters_.startupSelection())
            return;
    }
}

void SettingsTab::checkLogFolder() {
    const QString root = platform::driveRoot(); // C:\ or the home folder with its separator
    const QString& field = m_.Edit5;
    if (field == root + platform::separator() || field == root || field.isEmpty()) {
        m_.Edit5 = root.left(root.size() - 1); // C:, or the home folder
        s_.ui->showMessage(QStringLiteral("Katalog na pliki kopii zapasowej lub raportów nie "
                                          "istnieje !  Proszę go ustawić w programie."));
    }
}

void SettingsTab::Button8Click() {
    platform::SettingsStore& store = *s_.settings;
    bool ok = store.createKey(kUstawienia);
    for (const Option& o : kOptions) {
        if (!ok)
            break;
        ok = store.writeString(kUstawienia, QString::fromLatin1(o.value),
                               m_.*o.box ? QStringLiteral("1") : QStringLiteral("0"));
    }
    ok = ok && store.createKey(kSkanowan) &&
         store.writeString(kSkanowan, QStringLiteral("BAKKatalog"), m_.Edit4) &&
         store.writeString(kSkanowan, QStringLiteral("LOGKatalog"), m_.Edit5) &&
         store.writeString(kSkanowan, QStringLiteral("RozmiarIgnoral"), m_.EditRozmiarIgnorowania);
    if (!ok) {
        s_.ui->showMessage(kRegistryError);
        return;
    }
    s_.ui->showMessage(QStringLiteral("Zapisano nowe ustawienia programu\nZmiany będą wykonywane "
                                      "od następnego uruchomienia Pylomira !"));
}

void SettingsTab::chooseFolder(const QString& title, QString& field) {
    const auto picked = s_.ui->browseForFolder(title);
    if (!picked)
        return;
    if (!picked->isEmpty())
        field = *picked;
    field += platform::separator();
}

void SettingsTab::Button18Click() {
    chooseFolder(QStringLiteral("Wybierz folder dla plików Kopii zapasowej - BACKUP"), m_.Edit4);
}

void SettingsTab::Button19Click() {
    chooseFolder(QStringLiteral("Wybierz folder dla plików raportu - PLM"), m_.Edit5);
}

void SettingsTab::CheckBox99Click() {
    m_.hintsShown = m_.CheckBox99;
    m_.DhCheckFolder1ShowHint = m_.CheckBox99;
}

void SettingsTab::CheckBox141Click() {
    m_.EditRozmiarIgnorowaniaEnabled = m_.CheckBox141;
}

} // namespace pylomir::scan

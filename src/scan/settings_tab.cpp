#include "scan/settings_tab.h"

#include "core/settings_names.h"
#include "platform/file_system.h"
#include "platform/settings_store.h"
#include "scan/option_table.h"

namespace pylomir::scan {

namespace {

const QString kBackupFolderValue = QStringLiteral("BAKKatalog");
const QString kLogFolderValue = QStringLiteral("LOGKatalog");
const QString kThresholdValue = QStringLiteral("RozmiarIgnoral");

QString storedName(const OptionRow& row) {
    return QString::fromLatin1(row.storedName);
}

} // namespace

SettingsTab::SettingsTab(core::OptionsState& options, const core::Services& services,
                         FilterSets& filters, records::Statistics& statistics)
    : o_(options), s_(services), filters_(filters), statistics_(statistics) {
    for (const OptionRow& row : kOptionTable)
        o_.*row.option = row.byDefault;
    o_.logFolderAtStart = platform::driveRoot();
    o_.backupFolderAtStart = platform::driveRoot();
}

void SettingsTab::setOption(bool core::OptionsState::*option, bool on) {
    o_.*option = on;
}

void SettingsTab::readFoldersAndThreshold() {
    platform::SettingsStore& store = *s_.settings;
    if (!store.keyExists(core::kStatisticsKey))
        return;
    // A missing value reads as empty text and is stored as it is.
    auto read = [&](const QString& name) {
        return store.readString(core::kStatisticsKey, name).value_or(QString());
    };
    o_.logFolderAtStart = read(kLogFolderValue);
    o_.backupFolderAtStart = read(kBackupFolderValue);
    // Statistics written at exit create this key without the threshold; an
    // empty threshold would stop every scan, so a missing one keeps the default.
    if (const auto threshold = store.readString(core::kStatisticsKey, kThresholdValue))
        o_.autoIgnoreThresholdText = *threshold;
}

void SettingsTab::readOptionsKey() {
    for (const OptionRow& row : kOptionTable) {
        if (!row.storedName)
            continue;
        const auto v = s_.settings->readString(core::kOptionsKey, storedName(row));
        if (v == QStringLiteral("1"))
            setOption(row.option, true);
        else if (v == QStringLiteral("0"))
            setOption(row.option, false);
    }
}

void SettingsTab::readRegistryBlock() {
    if (!s_.settings || !statistics_.load())
        return;
    readFoldersAndThreshold();
    if (s_.settings->keyExists(core::kOptionsKey)) {
        readOptionsKey();
        if (!filters_.startupSelection())
            return;
    }
}

void SettingsTab::showFoldersAtStart() {
    o_.backupFolderText = o_.backupFolderAtStart;
    o_.logFolderText = o_.logFolderAtStart;
}

void SettingsTab::checkLogFolder() {
    const QString root = platform::driveRoot(); // C:\ or the home folder with its separator
    const QString& field = o_.logFolderText;
    if (field == root + platform::separator() || field == root || field.isEmpty()) {
        o_.logFolderText = root.left(root.size() - 1); // C:, or the home folder
        s_.ui->showMessage(QStringLiteral("Katalog na pliki kopii zapasowej lub raportów nie "
                                          "istnieje !  Proszę go ustawić w programie."));
    }
}

void SettingsTab::saveSettings() {
    platform::SettingsStore& store = *s_.settings;
    bool ok = store.createKey(core::kOptionsKey);
    for (const OptionRow& row : kOptionTable) {
        if (!ok)
            break;
        if (row.storedName)
            ok = store.writeString(core::kOptionsKey, storedName(row),
                                   o_.*row.option ? QStringLiteral("1") : QStringLiteral("0"));
    }
    ok = ok && store.createKey(core::kStatisticsKey) &&
         store.writeString(core::kStatisticsKey, kBackupFolderValue, o_.backupFolderText) &&
         store.writeString(core::kStatisticsKey, kLogFolderValue, o_.logFolderText) &&
         store.writeString(core::kStatisticsKey, kThresholdValue, o_.autoIgnoreThresholdText);
    if (!ok) {
        s_.ui->showMessage(core::kRegistryErrorText);
        return;
    }
    s_.ui->showMessage(QStringLiteral("Zapisano nowe ustawienia programu\nZmiany będą wykonywane "
                                      "od następnego uruchomienia Pylomira !"));
}

void SettingsTab::chooseFolder(const QString& title, QString& field) {
    // The browser starts where the field points now.
    const auto picked = s_.ui->browseForFolder(title, field);
    if (!picked)
        return;
    if (!picked->isEmpty())
        field = *picked;
    field += platform::separator();
}

void SettingsTab::chooseBackupFolder() {
    chooseFolder(QStringLiteral("Wybierz folder dla plików Kopii zapasowej - BACKUP"),
                 o_.backupFolderText);
}

void SettingsTab::chooseLogFolder() {
    chooseFolder(QStringLiteral("Wybierz folder dla plików raportu - PLM"), o_.logFolderText);
}

} // namespace pylomir::scan

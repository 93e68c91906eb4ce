#include "backup/recovery_tab.h"

#include "backup/archive_error.h"
#include "backup/archive_format.h"
#include "backup/backup_sources.h"
#include "platform/file_names.h"
#include "platform/file_system.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace pylomir::backup {

namespace {

const QString kLogMask = QStringLiteral("*.plm");

const QString kDeleteArchiveQuestion =
    QStringLiteral("Usuwanie kopii zapasowej usuniętych plików nie jest zalecane !\n"
                   "Jeśli kopia była dawno utworzona i od tego czasu nie wystąpiły\n"
                   "problemy z aplikacjami - można ją usunąć.\n"
                   "\n"
                   "Czy chcesz usunąć kopię zapasową ?");

// The folder a list shows: none for a text that is empty or a lone
// separator (a folder that was never set), else the text with its separator.
QString listedFolder(const QString& text) {
    if (text.isEmpty() || text == QStringLiteral("\\") || text == QStringLiteral("/"))
        return QString();
    if (text.endsWith(QLatin1Char('/')) || text.endsWith(QLatin1Char('\\')))
        return text;
    return text + platform::separator();
}

QString entryPath(const QString& folder, const QStringList& names, qsizetype current) {
    if (current < 0 || current >= names.size())
        return QString();
    return folder + names.at(current);
}

// Reads a list's folder again; the current entry stays current when its
// name is still there.
void reread(platform::FileSystem& fs, const QString& folder, const QString& mask,
            QStringList& names, qsizetype& current) {
    const QString selected = current >= 0 && current < names.size() ? names.at(current) : QString();
    names = filesMatching(fs, folder, mask);
    current = selected.isEmpty() ? -1 : names.indexOf(selected);
}

} // namespace

std::optional<QStringList> listFilesMatching(platform::FileSystem& fs, const QString& folder,
                                             const QString& mask) {
    if (folder.isEmpty())
        return QStringList();
    const std::unique_ptr<platform::DirListing> listing = fs.list(folder);
    if (!listing)
        return std::nullopt;
    QStringList names;
    while (listing->next()) {
        const QStringView name = listing->name();
        if (name == QLatin1String(".") || name == QLatin1String("..") || listing->isDirectory())
            continue;
        if (matchesWildcard(mask, name))
            names << name.toString();
    }
    // By name as the file system compares names; names it takes for the same
    // (letter case on Windows) in a fixed order.
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(size_t(names.size()));
    for (const QString& n : std::as_const(names))
        keyed.emplace_back(platform::pathKey(n), n);
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (const auto& [key, name] : keyed)
        names << name;
    return names;
}

QStringList filesMatching(platform::FileSystem& fs, const QString& folder, const QString& mask) {
    return listFilesMatching(fs, folder, mask).value_or(QStringList());
}

RecoveryTab::RecoveryTab(core::RecoveryState& state, const core::Services& services,
                         RestoreCommands& restore)
    : s_(state), services_(services), restore_(restore) {}

void RecoveryTab::pointRecoveryLists(const QString& backupFolder, const QString& logFolder) {
    s_.archiveFolder = listedFolder(backupFolder);
    s_.logFolder = listedFolder(logFolder);
    s_.archiveNames = filesMatching(*services_.fileSystem, s_.archiveFolder, kArchiveMask);
    s_.logNames = filesMatching(*services_.fileSystem, s_.logFolder, kLogMask);
    s_.currentArchive = -1;
    s_.currentLog = -1;
}

void RecoveryTab::rereadLists() {
    platform::FileSystem& fs = *services_.fileSystem;
    reread(fs, s_.archiveFolder, kArchiveMask, s_.archiveNames, s_.currentArchive);
    reread(fs, s_.logFolder, kLogMask, s_.logNames, s_.currentLog);
    // Counts once shown follow the lists; before that they stay "?".
    if (s_.archiveCount)
        s_.archiveCount = s_.archiveNames.size();
    if (s_.logCount)
        s_.logCount = s_.logNames.size();
}

void RecoveryTab::refreshCounts() {
    rereadLists();
    s_.archiveCount = s_.archiveNames.size();
    s_.logCount = s_.logNames.size();
}

QString RecoveryTab::selectedArchive() const {
    return entryPath(s_.archiveFolder, s_.archiveNames, s_.currentArchive);
}

QString RecoveryTab::selectedLog() const {
    return entryPath(s_.logFolder, s_.logNames, s_.currentLog);
}

void RecoveryTab::restoreSelectedArchive() {
    restore_.restoreToStoredPaths(selectedArchive(), s_.restoreProgress);
}

void RecoveryTab::openAdvancedRestore() {
    const QString selected = s_.currentArchive >= 0 && s_.currentArchive < s_.archiveNames.size()
                                 ? s_.archiveNames.at(s_.currentArchive)
                                 : QString();
    restore_.showArchives(s_.archiveFolder);
    // The archive chosen here stays chosen in the window.
    const qsizetype at = selected.isEmpty() ? -1 : restore_.state().archiveNames.indexOf(selected);
    if (at >= 0)
        restore_.selectArchive(at);
    services_.ui->showWindow(core::WindowId::AdvancedRestore);
}

void RecoveryTab::viewSelectedLog() {
    const QString log = selectedLog();
    if (log.isEmpty()) {
        services_.ui->showMessage(QStringLiteral("Nie wybrano raportu."));
        return;
    }
    if (!services_.ui->openInTextViewer(log))
        services_.ui->showError(
            QStringLiteral("Nie można otworzyć raportu w przeglądarce tekstu:\n%1").arg(log));
}

bool RecoveryTab::deleteEntry(const QString& folder, QStringList& names, qsizetype& current) {
    const QString path = entryPath(folder, names, current);
    if (path.isEmpty())
        return false;
    platform::FileSystem& fs = *services_.fileSystem;
    if (fs.findFirst(path)) {
        QString reason;
        if (!fs.removeFile(path, &reason)) {
            // Still on disk, so still listed.
            services_.ui->showError(
                QStringLiteral("Nie można usunąć pliku:\n%1\n%2").arg(path, reason));
            return false;
        }
    }
    // Deleted, or gone already: either way it is no longer there to list.
    names.removeAt(current);
    current = -1;
    return true;
}

void RecoveryTab::deleteSelectedArchive() {
    // Not while a backup or a restore may be reading or writing it.
    if (restore_.refuseWhileBusy())
        return;
    if (services_.ui->messageBox(QStringLiteral("Ostrzeżenie"), kDeleteArchiveQuestion,
                                 core::MsgIcon::Warning,
                                 core::MsgButtons::YesNo) != core::MsgAnswer::Yes)
        return;
    const QString path = selectedArchive();
    if (deleteEntry(s_.archiveFolder, s_.archiveNames, s_.currentArchive))
        deleteFurtherVolumes(path);
    s_.archiveCount = s_.archiveNames.size();
}

void RecoveryTab::deleteFurtherVolumes(const QString& archivePath) {
    // Volumes follow one another: the first missing one ends the archive.
    platform::FileSystem& fs = *services_.fileSystem;
    QStringList failed;
    for (int volume = 2; volume <= kMaxVolumes; ++volume) {
        const QString path = volumeName(archivePath, volumeDigits(volume));
        if (!fs.findFirst(path))
            break;
        QString reason;
        if (!fs.removeFile(path, &reason))
            failed << path + QStringLiteral(": ") + reason;
    }
    if (!failed.isEmpty())
        services_.ui->showError(
            QStringLiteral("Nie można usunąć dalszych części kopii zapasowej:\n") +
            namingFiles(failed));
}

void RecoveryTab::deleteSelectedLog() {
    deleteEntry(s_.logFolder, s_.logNames, s_.currentLog);
    s_.logCount = s_.logNames.size();
}

} // namespace pylomir::backup

// The "Odzyskiwanie" tab: the backup folder's archives and the log folder's
// deletion logs, their counts, and the commands on them.
#pragma once

#include "backup/restore_commands.h"
#include "core/main_window_model.h"
#include "core/services.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace pylomir::backup {

// The names of a folder's files that match a mask, sorted by name as the
// file system compares names; none for an empty folder text or a folder
// that cannot be listed.
QStringList filesMatching(platform::FileSystem& fs, const QString& folder, const QString& mask);
// The same, telling a folder that cannot be listed (nothing) from an empty one.
std::optional<QStringList> listFilesMatching(platform::FileSystem& fs, const QString& folder,
                                             const QString& mask);

class RecoveryTab {
public:
    RecoveryTab(core::RecoveryState& state, const core::Services& services,
                RestoreCommands& restore);

    // Points the lists at the two folders (each with its separator; a text
    // that is empty or a lone separator lists nothing) and reads them.
    void pointRecoveryLists(const QString& backupFolder, const QString& logFolder);
    // Reads both folders again, keeping the selected names that are still there.
    void rereadLists();
    // The tab is shown: both lists read again and both counts set.
    void refreshCounts();
    void selectArchive(qsizetype index) { s_.currentArchive = index; }
    void selectLog(qsizetype index) { s_.currentLog = index; }
    // The folder and the current entry's name; empty without a current entry.
    QString selectedArchive() const;
    QString selectedLog() const;

    // "Odzyskaj pliki z wybranej kopii" (one click).
    void restoreSelectedArchive();
    // "Zaawansowane odzyskiwanie plików".
    void openAdvancedRestore();
    // "Przeglądaj wybrany raport".
    void viewSelectedLog();
    // "Usuń kopię", after the warning; its further volumes go with it.
    // Refused while an archive operation runs.
    void deleteSelectedArchive();
    // "Usuń raport", without asking.
    void deleteSelectedLog();

private:
    // Deletes a list's current file; the entry goes when the file is gone,
    // and stays, with the reason shown, when it could not be deleted.
    bool deleteEntry(const QString& folder, QStringList& names, qsizetype& current);
    void deleteFurtherVolumes(const QString& archivePath);

    core::RecoveryState& s_;
    core::Services services_;
    RestoreCommands& restore_;
};

} // namespace pylomir::backup

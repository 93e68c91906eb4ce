// Backing up found files: the current entry or the whole found list, into
// the backup folder under a name made from the time stamp; and the small
// window that counts down once the archive is written.
#pragma once

#include "backup/restore_commands.h"
#include "core/main_window_model.h"
#include "core/services.h"
#include "core/status_line.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace pylomir::backup {

// folder + "FileBAK_" + stamp + ".backup"; the folder carries its separator.
QString backupArchivePathFor(const QString& folder, const QString& stamp);
// What the progress window shows, which is not quite the file's name:
// "Plik kopii: \"FileBak_" + stamp + "_.backup\"".
QString shownArchiveNameText(const QString& stamp);

// The countdown runs this many steps.
inline constexpr int kCountdownSteps = 40;
// Milliseconds per step, by the number of found paths.
int countdownInterval(qint64 foundCount);

// The progress window. Owner: BackupProgress.
struct BackupProgressState {
    QString headingText = QStringLiteral("Przygotowanie pliku do skopiowania...");
    QString archiveNameText = QStringLiteral("Plik kopii:");
    QString folderText = QStringLiteral("Lokalizacja: ");
    QString messageText = QStringLiteral("Komunikaty: kompresowanie");
    QString fileCountText = QStringLiteral("?");
    int countdownStep = 0; // the bar's position, 0 to kCountdownSteps
    int countdownIntervalMs = 40;
    bool countdownRunning = false;
    qint64 foundCount = 0; // the found list's entries when the window was shown
};

// The progress window's countdown; the window calls startCountdown() when it
// is shown and advanceCountdown() on each tick of its timer.
class BackupProgress {
public:
    const BackupProgressState& state() const { return s_; }
    // Before showing: the names, and the count the interval is chosen by.
    void prepare(const QString& stamp, const QString& folder, qint64 foundCount);
    void startCountdown();
    // One step; true at the last, when the timer stops and the window closes
    // (after a pause of kClosePauseMs).
    bool advanceCountdown();
    static constexpr int kClosePauseMs = 100;

private:
    BackupProgressState s_;
};

// What one backup did.
struct BackupOutcome {
    bool written = false;  // a whole archive is in place at archivePath
    bool complete = false; // ... holding every input: "Kopia zapasowa gotowa..."
    QString archivePath;   // empty when no archive was written
    QStringList stored;    // the files it holds whole
};

class BackupCommands {
public:
    BackupCommands(core::MainWindowModel& model, const core::Services& services,
                   core::StatusLine& status, RestoreCommands& restore, BackupProgress& progress);

    // "Zrób kopię tylko wybranego pliku".
    void backupCurrentFile();
    // "Utwórz kopię wszystkich plików"; the quick delete runs it too and
    // deletes only what the outcome says was stored.
    BackupOutcome backupAllFound();
    // The backup step ("Tworzenie..."): the advanced-restore window's
    // sources into model.backup.archivePath, then the progress window.
    BackupOutcome createBackup();

    // After an archive was written, so that lists of archives are current.
    std::function<void()> onArchiveWritten;

    const BackupOutcome& lastOutcome() const { return last_; }

private:
    core::MainWindowModel& m_;
    core::Services services_;
    core::StatusLine& status_;
    RestoreCommands& restore_;
    BackupProgress& progress_;
    BackupOutcome last_;
};

} // namespace pylomir::backup

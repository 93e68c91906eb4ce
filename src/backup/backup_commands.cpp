#include "backup/backup_commands.h"

#include "core/time_stamp.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace pylomir::backup {

namespace {

const QString kWorking = QStringLiteral("CZEKAJ - TWORZĘ KOPIĘ !");
const QString kReady = QStringLiteral("Kopia zapasowa gotowa...");
const QString kNotMade = QStringLiteral("Nie utworzono kopii zapasowej");
const QString kPartial = QStringLiteral("Kopia zapasowa niepełna - część plików pominięto");

// The folder part of a path, with its separator.
QString folderOf(const QString& path) {
    const qsizetype cut =
        qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.left(cut + 1);
}

} // namespace

QString backupArchivePathFor(const QString& folder, const QString& stamp) {
    return folder + QStringLiteral("FileBAK_") + stamp + QStringLiteral(".backup");
}

QString shownArchiveNameText(const QString& stamp) {
    return QStringLiteral("Plik kopii: \"FileBak_") + stamp + QStringLiteral("_.backup\"");
}

int countdownInterval(qint64 foundCount) {
    // Exactly 25, 50 and 150 take the shorter of the two neighbours.
    if (foundCount <= 25)
        return 40;
    if (foundCount <= 50)
        return 70;
    if (foundCount <= 150)
        return 150;
    return 270;
}

void BackupProgress::prepare(const QString& stamp, const QString& folder, qint64 foundCount) {
    s_.archiveNameText = shownArchiveNameText(stamp);
    s_.folderText = QStringLiteral("Lokalizacja: ") + folder;
    s_.foundCount = foundCount;
    s_.countdownIntervalMs = countdownInterval(foundCount);
}

void BackupProgress::startCountdown() {
    s_.countdownIntervalMs = countdownInterval(s_.foundCount);
    s_.fileCountText = QString::number(s_.foundCount);
    s_.countdownStep = 0;
    s_.countdownRunning = true;
    s_.headingText = QStringLiteral("Tworzenie kopii bezpieczeństwa plików...");
}

bool BackupProgress::advanceCountdown() {
    if (!s_.countdownRunning)
        return false;
    ++s_.countdownStep;
    if (s_.countdownStep < kCountdownSteps)
        return false;
    s_.countdownRunning = false;
    return true;
}

BackupCommands::BackupCommands(core::MainWindowModel& model, const core::Services& services,
                               core::StatusLine& status, RestoreCommands& restore,
                               BackupProgress& progress)
    : m_(model), services_(services), status_(status), restore_(restore), progress_(progress) {}

namespace {

// The backup folder as read at start; empty when it is not set (no text, or
// a lone separator).
QString backupFolder(const core::OptionsState& options) {
    const QString folder = options.backupFolderAtStart;
    if (folder.isEmpty() || folder == QStringLiteral("\\") || folder == QStringLiteral("/"))
        return QString();
    return folder;
}

QString newStamp(const core::Services& services) {
    return core::timeStamp(services.clock->now(), *services.locale);
}

} // namespace

void BackupCommands::backupCurrentFile() {
    last_ = BackupOutcome();
    status_.show(kWorking);
    m_.backup.timeStamp = newStamp(services_);
    if (restore_.refuseWhileBusy()) {
        status_.show(kNotMade);
        return;
    }
    const QString folder = backupFolder(m_.options);
    if (folder.isEmpty()) {
        services_.ui->showMessage(
            QStringLiteral("Katalog na kopie zapasowe plików nie jest ustawiony !\nWskaż folder "
                           "w ustawieniach i spróbuj ponownie."));
        status_.show(kNotMade);
        return;
    }
    m_.backup.archivePath = core::freeFileName(*services_.fileSystem,
                                               backupArchivePathFor(folder, m_.backup.timeStamp));
    const core::FoundList& found = m_.foundList;
    if (found.current() < 0 || found.current() >= found.count()) {
        services_.ui->showMessage(QStringLiteral("Brak plików do utworzenia kopii zapasowej !"));
        status_.show(kNotMade);
        return;
    }
    restore_.setBackupSources({found.path(found.current())});
    last_ = createBackup();
    if (last_.complete)
        services_.ui->playSound(core::kDoneSound);
    status_.show(last_.complete ? kReady : last_.written ? kPartial : kNotMade);
}

BackupOutcome BackupCommands::backupAllFound() {
    last_ = BackupOutcome();
    if (services_.pump)
        services_.pump->processPendingMessages();
    status_.show(kWorking);
    m_.backup.timeStamp = newStamp(services_);
    if (restore_.refuseWhileBusy()) {
        status_.show(kNotMade);
        return last_;
    }
    QString folder = backupFolder(m_.options);
    if (folder.isEmpty()) {
        services_.ui->showMessage(
            QStringLiteral("Katalog na kopie zapasowe plików nie jest ustawiony !\nPlik zostanie "
                           "zapisany w lokalizacji pliku programu \"Pylomir\""));
        folder = services_.programDir;
    }
    m_.backup.archivePath = core::freeFileName(*services_.fileSystem,
                                               backupArchivePathFor(folder, m_.backup.timeStamp));
    restore_.setBackupSources(m_.foundList.paths());
    last_ = createBackup();
    if (last_.complete)
        services_.ui->playSound(core::kDoneSound);
    status_.show(last_.complete ? kReady : last_.written ? kPartial : kNotMade);
    return last_;
}

BackupOutcome BackupCommands::createBackup() {
    BackupOutcome out;
    if (restore_.refuseWhileBusy())
        return out;
    if (m_.backup.archivePath.isEmpty()) {
        // "Tworzenie..." before any backup command named an archive.
        m_.backup.timeStamp = newStamp(services_);
        const QString folder = backupFolder(m_.options);
        m_.backup.archivePath = backupArchivePathFor(
            folder.isEmpty() ? services_.programDir : folder, m_.backup.timeStamp);
    }
    // Pressed again, the button would otherwise replace the archive it wrote.
    const QString archivePath = core::freeFileName(*services_.fileSystem, m_.backup.archivePath);
    m_.backup.archivePath = archivePath;
    {
        const RestoreCommands::Work work = restore_.work();
        Archiver& archiver = restore_.archiver();
        const BackupOptions& options = restore_.state().backupOptions;
        archiver.setTitle(QStringLiteral("Plik z: ") + m_.backup.timeStamp);
        archiver.setBackupScope(options.scope);
        const int choice =
            qBound(0, options.compressionChoice, int(kCompressionChoices.size()) - 1);
        archiver.setCompressionLevel(kCompressionChoices[size_t(choice)].level);
        archiver.setStoreInfoList(options.storeInfoList);
        // The bottom bar tells how far the archive is, as no window does
        // while it is written; the window's own handler still runs.
        struct ProgressShown {
            Archiver& archiver;
            ProgressHandler previous;
            ~ProgressShown() { archiver.onProgress = previous; }
        } shown{archiver, archiver.onProgress};
        if (!m_.scan.running && !m_.status.detailsStatusBarVisible)
            status_.showDetailsBar();
        archiver.onProgress = [this, &shown](Archiver* sender, const QString& fileName,
                                             Percent percent, bool& keepGoing) {
            if (shown.previous)
                shown.previous(sender, fileName, percent, keepGoing);
            status_.showDetails(percent < 100 && !fileName.isEmpty()
                                    ? QStringLiteral("Tworzenie kopii zapasowej: %1% - %2")
                                          .arg(percent)
                                          .arg(fileName)
                                    : QString());
        };
        try {
            out.complete = archiver.backup(restore_.state().backupSources, archivePath);
        } catch (const ArchiveError& e) {
            // A file that is there but cannot be opened: nothing was written.
            services_.ui->showError(e.message());
            return out;
        }
        out.written = archiver.archiveWritten();
        out.complete = out.complete && out.written;
        if (out.written) {
            out.archivePath = archivePath;
            out.stored = archiver.storedFiles();
        }
    }
    if (!out.written)
        return out;
    if (onArchiveWritten)
        onArchiveWritten();
    progress_.prepare(m_.backup.timeStamp, folderOf(archivePath), m_.foundList.count());
    services_.ui->showWindow(core::WindowId::BackupProgress);
    return out;
}

} // namespace pylomir::backup

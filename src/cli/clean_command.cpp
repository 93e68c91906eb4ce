// "clean": the scan, then the quick-delete button over what it found, and
// the window's close sequence.
#include "backup/backup_commands.h"
#include "cli/commands.h"
#include "cli/console_ui.h"
#include "cli/path_output.h"
#include "cli/scan_session.h"
#include "records/deletion.h"
#include "scan/settings_tab.h"

#include <QSet>

namespace pylomir::cli {

namespace {

const char kDescription[] =
    "Scans FOLDER as 'pylomir-cli scan' does, then deletes what the scan found\n"
    "as the main window's quick-delete button does, and ends as the window's\n"
    "\"Zamknij program\" does: with the option \"AutoLog\" on (its default) the\n"
    "session's .plm log is written into the log folder, and the statistics\n"
    "(scan count, deleted files and bytes) go to the settings store.\n"
    "Deleting needs --yes; --dry-run only lists what would be deleted.\n"
    "\n"
    "A file on the ignored files, or whose name matches an ignored mask, is\n"
    "never deleted. A symbolic link is removed itself, never what it points to.\n"
    "\n"
    "Without --backup no backup is made before the deletion. With --backup the\n"
    "found files are first packed into a backup archive, FileBAK_<time>.backup,\n"
    "in the backup folder the window reads at start (the setting BAKKatalog;\n"
    "when it is not set, the program folder, and a message says so), as the\n"
    "quick delete does with its option \"AutoKopia\" on, whatever is stored:\n"
    "\"Twórz kopię zapasową przed usunieciem - opcja dla przycisku \"Szybkie usuwanie\"\".\n"
    "The archive's path goes to standard error (\"Kopia zapasowa: PATH\").\n"
    "Only what the archive holds whole is deleted: a file it could not store\n"
    "is kept and named, and when no whole archive could be written nothing is\n"
    "deleted. When nothing is found, no archive is made. With --dry-run,\n"
    "--backup writes nothing and only says so.\n"
    "\n"
    "Output: the paths deleted (with --dry-run: found) on standard output, one\n"
    "per line, escaped as 'scan' escapes them (--null: unescaped, each ended by\n"
    "a NUL byte); on standard error the scan's summary, every file that could\n"
    "not be deleted with the system's reason, and the counts\n"
    "(\"deleted N, could not delete N, kept as ignored N, already gone N\", and\n"
    "with --backup \", not in the backup N\").\n"
    "A scan that fails deletes nothing. A folder below FOLDER that cannot be\n"
    "listed is skipped and named on standard error; what was found elsewhere\n"
    "is deleted.\n"
    "\n"
    "Exit status: 0 every found file was deleted (or nothing was found, or a\n"
    "dry run), 1 a file could not be deleted or was not in the backup, or the\n"
    "scan, the backup or the log failed, 2 usage, 4 the scan skipped folders\n"
    "it could not list. 1 wins over 4.";

// The paths the last deletion recorded, in the order they were listed.
QStringList deletedPaths(const QStringList& listed, const QStringList& recordedLines) {
    const QString prefix = QStringLiteral("Lokalizacja: ");
    QSet<QString> deleted;
    for (const QString& line : recordedLines)
        deleted.insert(line.mid(prefix.size()));
    QStringList out;
    for (const QString& path : listed) {
        if (deleted.contains(path))
            out << path;
    }
    return out;
}

void printFailures(const QList<records::Undeleted>& failed, const QStringList& notBackedUp) {
    QByteArray out;
    for (const records::Undeleted& file : failed)
        out += "pylomir-cli clean: could not delete " + textField(pathBytes(file.first)) + ": " +
               file.second.toUtf8() + '\n';
    for (const QString& path : notBackedUp)
        out += "pylomir-cli clean: kept " + textField(pathBytes(path)) +
               ": the backup does not hold it\n";
    writeErr(out);
}

} // namespace

int runClean(const QStringList& args) {
    const QString command = QStringLiteral("clean");
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    const QCommandLineOption modeOption = cli::modeOption();
    const QCommandLineOption dryRunOption(QStringLiteral("dry-run"),
                                          QStringLiteral("Only list what would be deleted."));
    const QCommandLineOption yesOption(QStringLiteral("yes"),
                                       QStringLiteral("Delete the found files without asking."));
    const QCommandLineOption backupOption(
        QStringLiteral("backup"),
        QStringLiteral("Back the found files up into the backup folder first; delete only what "
                       "the archive holds."));
    const QCommandLineOption nullOption(
        QStringLiteral("null"), QStringLiteral("End each path with a NUL byte, unescaped."));
    parser.addOption(modeOption);
    parser.addOption(dryRunOption);
    parser.addOption(yesOption);
    parser.addOption(backupOption);
    parser.addOption(nullOption);
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The folder to clean."));
    if (const auto status = parseCommand(parser, args, command))
        return *status;

    ScanArguments arguments;
    if (const auto status = readScanArguments(parser, modeOption, command, arguments))
        return *status;
    const bool dryRun = parser.isSet(dryRunOption);
    if (dryRun == parser.isSet(yesOption))
        return usageError(command, dryRun ? QStringLiteral("--dry-run and --yes exclude each other")
                                          : QStringLiteral("deleting needs --yes (or --dry-run "
                                                           "to list what would be deleted)"));
    const bool nullEnded = parser.isSet(nullOption);
    const bool backup = parser.isSet(backupOption);

    ScanSession session(command);
    if (!session.start(arguments.mode))
        return kExitError;
    session.scan(arguments.folder);
    app::MainWindowCore& windowCore = session.windowCore();
    const core::MainWindowModel& m = session.model();
    const QStringList& unlisted = session.unlistedFolders();
    const bool scanFailed = !session.scanErrors().isEmpty();
    const QStringList found = m.foundList.paths();

    bool failed = scanFailed;
    if (dryRun) {
        writeOut(pathLines(found, nullEnded));
        printSummary(m.scan);
        if (backup)
            printError(QStringLiteral("pylomir-cli clean: a dry run makes no backup"));
    } else if (scanFailed) {
        printSummary(m.scan);
        printError(QStringLiteral("pylomir-cli clean: the scan failed; nothing was deleted"));
    } else {
        printSummary(m.scan);
        // The option as the window's settings tab holds it, for this session
        // only: the settings store keeps the user's own choice.
        windowCore.settingsTab().setOption(&core::OptionsState::backupBeforeQuickDelete, backup);
        records::Deletion& deletion = windowCore.deletion();
        // The boxes naming ten of the files that stayed: all are named below.
        session.ui().setBoxFilter([&deletion](const QString& text) {
            const records::DeletionOutcome& outcome = deletion.lastOutcome();
            return text != records::undeletedFilesMessage(outcome.failed) &&
                   (outcome.notBackedUp.isEmpty() ||
                    text != records::notBackedUpMessage(outcome.notBackedUp));
        });
        const qsizetype recordedBefore = m.records.deletedPathLines.size();
        if (!found.isEmpty())
            deletion.quickDelete();
        session.ui().setBoxFilter({});
        const records::DeletionOutcome& outcome = deletion.lastOutcome();
        const backup::BackupOutcome& archive = windowCore.backupCommands().lastOutcome();
        if (backup && archive.written)
            writeErr("Kopia zapasowa: " + textField(pathBytes(archive.archivePath)) + '\n');
        if (backup && !found.isEmpty() && !archive.written) {
            printError(QStringLiteral("pylomir-cli clean: the backup failed; nothing was deleted"));
            failed = true;
        } else {
            writeOut(pathLines(deletedPaths(found, m.records.deletedPathLines.mid(recordedBefore)),
                               nullEnded));
            printFailures(outcome.failed, outcome.notBackedUp);
            QString counts = QStringLiteral("deleted %1, could not delete %2, kept as ignored %3, "
                                            "already gone %4")
                                 .arg(outcome.deleted)
                                 .arg(outcome.failed.size())
                                 .arg(outcome.skipped)
                                 .arg(outcome.vanished);
            if (backup)
                counts += QStringLiteral(", not in the backup %1").arg(outcome.notBackedUp.size());
            printError(counts);
            failed = !outcome.failed.isEmpty() || !outcome.notBackedUp.isEmpty();
        }
    }
    if (!unlisted.isEmpty())
        printUnlistedFolders(command, unlisted);

    // As the window ends: the log, then the statistics into the store.
    const qsizetype errorsBefore = session.ui().errors().size();
    windowCore.deletionLog().closeProgram();
    if (session.ui().errors().size() > errorsBefore)
        failed = true;

    if (failed)
        return kExitError;
    return unlisted.isEmpty() ? kExitOk : kExitPartial;
}

} // namespace pylomir::cli

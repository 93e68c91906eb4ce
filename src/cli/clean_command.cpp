// "clean": the scan, then the quick-delete button over what it found, and
// the window's close sequence.
#include "backup/backup_commands.h"
#include "cli/commands.h"
#include "cli/console_ui.h"
#include "cli/path_output.h"
#include "cli/scan_session.h"
#include "cli/trashing_file_system.h"
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
    "--format json prints one object on standard output instead of the paths,\n"
    "the summary, the failures, the counts and the archive's path:\n"
    "  {\"dryRun\": false, \"trash\": false,\n"
    "   \"found\": [\"...\", ...],\n"
    "   \"deleted\": [\"...\", ...],\n"
    "   \"failed\": [{\"path\": \"...\", \"reason\": \"...\"}, ...],\n"
    "   \"notInBackup\": [\"...\", ...],\n"
    "   \"counts\": {\"deleted\": N, \"couldNotDelete\": N, \"keptAsIgnored\": N,\n"
    "              \"alreadyGone\": N, \"notInBackup\": N},\n"
    "   \"backup\": \"archive path\" or null,\n"
    "   \"error\": null or \"message\",\n"
    "   \"summary\": {the scan's summary, as 'pylomir-cli scan --format json'}}\n"
    "\"found\" holds every path the scan found (with --dry-run, what --yes would\n"
    "delete), \"deleted\" what went (nothing on a dry run). Strings are escaped\n"
    "as scan's JSON escapes them. Other messages still go to standard error.\n"
    "\n"
    "--trash moves the files to the desktop's trash (the freedesktop.org trash,\n"
    "$XDG_DATA_HOME/Trash for files on the home's file system; the recycle bin\n"
    "on Windows) instead of deleting them; they are counted and logged as\n"
    "deleted files are, and one that cannot be moved there is reported as a\n"
    "file that could not be deleted. With --dry-run, --trash moves nothing and\n"
    "only says so.\n"
    "\n"
    "--older-than, --larger-than and --smaller-than bound what the scan finds,\n"
    "as for 'pylomir-cli scan' (see its --help). A progress line is drawn on\n"
    "standard error while the scan or the deletion lasts more than a second,\n"
    "only when it is a terminal, and erased before anything else is printed.\n"
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

QByteArray failuresJson(const QList<records::Undeleted>& failed) {
    QByteArrayList items;
    for (const records::Undeleted& file : failed)
        items << '{' + jsonMember("path", jsonString(file.first)) + ", " +
                     jsonMember("reason", jsonString(file.second)) + '}';
    return jsonArray(items, "    ");
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
    const QCommandLineOption trashOption(
        QStringLiteral("trash"),
        QStringLiteral("Move the files to the desktop's trash instead of deleting them."));
    const QCommandLineOption formatOption({QStringLiteral("f"), QStringLiteral("format")},
                                          QStringLiteral("Output: text or json."),
                                          QStringLiteral("FORMAT"), QStringLiteral("text"));
    parser.addOption(modeOption);
    addEntryBoundOptions(parser);
    parser.addOption(dryRunOption);
    parser.addOption(yesOption);
    parser.addOption(backupOption);
    parser.addOption(trashOption);
    parser.addOption(formatOption);
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
    const bool trash = parser.isSet(trashOption);
    const QString formatName = parser.value(formatOption).toLower();
    if (formatName != QLatin1String("text") && formatName != QLatin1String("json"))
        return usageError(command, QStringLiteral("unknown format '%1'").arg(formatName));
    const bool json = formatName == QLatin1String("json");
    if (nullEnded && json)
        return usageError(command, QStringLiteral("--null goes with --format text only"));

    TrashingFileSystem trashing(platform::realFileSystem());
    ScanSession session(command, trash && !dryRun ? &trashing : nullptr);
    if (!session.start(arguments.mode))
        return kExitError;
    session.scan(arguments.folder, arguments.bounds);
    app::MainWindowCore& windowCore = session.windowCore();
    const core::MainWindowModel& m = session.model();
    const QStringList& unlisted = session.unlistedFolders();
    const bool scanFailed = !session.scanErrors().isEmpty();
    const QStringList found = m.foundList.paths();

    bool failed = scanFailed;
    QStringList deleted;
    QString error;
    const records::DeletionOutcome* outcome = nullptr;
    QString archivePath;
    if (dryRun) {
        if (!json) {
            writeOut(pathLines(found, nullEnded));
            printSummary(m.scan);
        }
        if (backup)
            printError(QStringLiteral("pylomir-cli clean: a dry run makes no backup"));
        if (trash)
            printError(QStringLiteral("pylomir-cli clean: a dry run moves nothing to the trash"));
    } else if (scanFailed) {
        if (!json)
            printSummary(m.scan);
        error = QStringLiteral("the scan failed; nothing was deleted");
        printError(QStringLiteral("pylomir-cli clean: ") + error);
    } else {
        if (!json)
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
        trashing.setTrashed(QSet<QString>(found.begin(), found.end()));
        const qsizetype recordedBefore = m.records.deletedPathLines.size();
        if (!found.isEmpty()) {
            const qsizetype total = found.size();
            session.progress().setText([&deletion, total] {
                const records::DeletionOutcome& o = deletion.lastOutcome();
                const qsizetype done =
                    o.deleted + o.vanished + o.skipped + o.failed.size() + o.notBackedUp.size();
                return QStringLiteral("cleaning %1 %2 of %3")
                    .arg(progressBar(done, total))
                    .arg(done)
                    .arg(total);
            });
            deletion.quickDelete();
            session.progress().finish();
        }
        session.ui().setBoxFilter({});
        outcome = &deletion.lastOutcome();
        const backup::BackupOutcome& archive = windowCore.backupCommands().lastOutcome();
        if (backup && archive.written) {
            archivePath = archive.archivePath;
            if (!json)
                writeErr("Kopia zapasowa: " + textField(pathBytes(archivePath)) + '\n');
        }
        if (backup && !found.isEmpty() && !archive.written) {
            error = QStringLiteral("the backup failed; nothing was deleted");
            printError(QStringLiteral("pylomir-cli clean: ") + error);
            outcome = nullptr;
            failed = true;
        } else {
            deleted = deletedPaths(found, m.records.deletedPathLines.mid(recordedBefore));
            if (!json) {
                writeOut(pathLines(deleted, nullEnded));
                printFailures(outcome->failed, outcome->notBackedUp);
                QString counts =
                    QStringLiteral("deleted %1, could not delete %2, kept as ignored %3, "
                                   "already gone %4")
                        .arg(outcome->deleted)
                        .arg(outcome->failed.size())
                        .arg(outcome->skipped)
                        .arg(outcome->vanished);
                if (backup)
                    counts +=
                        QStringLiteral(", not in the backup %1").arg(outcome->notBackedUp.size());
                printError(counts);
            }
            failed = !outcome->failed.isEmpty() || !outcome->notBackedUp.isEmpty();
        }
    }
    if (!unlisted.isEmpty())
        printUnlistedFolders(command, unlisted);

    // As the window ends: the log, then the statistics into the store.
    const qsizetype errorsBefore = session.ui().errors().size();
    windowCore.deletionLog().closeProgram();
    if (session.ui().errors().size() > errorsBefore)
        failed = true;

    if (json) {
        const records::DeletionOutcome none;
        const records::DeletionOutcome& o = outcome ? *outcome : none;
        const QByteArrayList counts{
            jsonMember("deleted", QByteArray::number(o.deleted)),
            jsonMember("couldNotDelete", QByteArray::number(o.failed.size())),
            jsonMember("keptAsIgnored", QByteArray::number(o.skipped)),
            jsonMember("alreadyGone", QByteArray::number(o.vanished)),
            jsonMember("notInBackup", QByteArray::number(o.notBackedUp.size()))};
        const QByteArray in = "    ";
        writeOut(
            jsonObject(
                {jsonMember("dryRun", dryRun ? "true" : "false"),
                 jsonMember("trash", trash ? "true" : "false"),
                 jsonMember("found", jsonStrings(found, in)),
                 jsonMember("deleted", jsonStrings(deleted, in)),
                 jsonMember("failed", failuresJson(o.failed)),
                 jsonMember("notInBackup", jsonStrings(o.notBackedUp, in)),
                 jsonMember("counts", jsonObject(counts, in)),
                 jsonMember("backup",
                            archivePath.isEmpty() ? QByteArray("null") : jsonString(archivePath)),
                 jsonMember("error", error.isEmpty() ? QByteArray("null") : jsonString(error)),
                 jsonMember("summary",
                            jsonObject(scanSummaryJson(m, unlisted, session.scanErrors()), in))}) +
            '\n');
    }

    if (failed)
        return kExitError;
    return unlisted.isEmpty() ? kExitOk : kExitPartial;
}

} // namespace pylomir::cli

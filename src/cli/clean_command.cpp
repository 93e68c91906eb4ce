// "clean": the scan, then the quick-delete button over what it found, and
// the window's close sequence.
#include "cli/commands.h"
#include "cli/console_ui.h"
#include "cli/path_output.h"
#include "cli/scan_session.h"
#include "records/deletion.h"

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
    "No backup is made before the deletion.\n"
    "\n"
    "Output: the paths deleted (with --dry-run: found) on standard output, one\n"
    "per line, escaped as 'scan' escapes them (--null: unescaped, each ended by\n"
    "a NUL byte); on standard error the scan's summary, every file that could\n"
    "not be deleted with the system's reason, and the counts\n"
    "(\"deleted N, could not delete N, kept as ignored N, already gone N\").\n"
    "A scan that fails deletes nothing. A folder below FOLDER that cannot be\n"
    "listed is skipped and named on standard error; what was found elsewhere\n"
    "is deleted.\n"
    "\n"
    "Exit status: 0 every found file was deleted (or nothing was found, or a\n"
    "dry run), 1 a file could not be deleted, or the scan or the log failed,\n"
    "2 usage, 4 the scan skipped folders it could not list. 1 wins over 4.";

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

void printFailures(const QList<records::Undeleted>& failed) {
    QByteArray out;
    for (const records::Undeleted& file : failed)
        out += "pylomir-cli clean: could not delete " + textField(pathBytes(file.first)) + ": " +
               file.second.toUtf8() + '\n';
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
    const QCommandLineOption nullOption(
        QStringLiteral("null"), QStringLiteral("End each path with a NUL byte, unescaped."));
    parser.addOption(modeOption);
    parser.addOption(dryRunOption);
    parser.addOption(yesOption);
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
    } else if (scanFailed) {
        printSummary(m.scan);
        printError(QStringLiteral("pylomir-cli clean: the scan failed; nothing was deleted"));
    } else {
        printSummary(m.scan);
        records::Deletion& deletion = windowCore.deletion();
        // The box of files that stayed names ten of them; all are named below.
        session.ui().setErrorFilter([&deletion](const QString& text) {
            return text != records::undeletedFilesMessage(deletion.lastOutcome().failed);
        });
        const qsizetype recordedBefore = m.records.deletedPathLines.size();
        if (!found.isEmpty())
            deletion.quickDelete();
        session.ui().setErrorFilter({});
        const records::DeletionOutcome& outcome = deletion.lastOutcome();
        writeOut(pathLines(deletedPaths(found, m.records.deletedPathLines.mid(recordedBefore)),
                           nullEnded));
        printFailures(outcome.failed);
        printError(QStringLiteral("deleted %1, could not delete %2, kept as ignored %3, already "
                                  "gone %4")
                       .arg(outcome.deleted)
                       .arg(outcome.failed.size())
                       .arg(outcome.skipped)
                       .arg(outcome.vanished));
        failed = !outcome.failed.isEmpty();
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

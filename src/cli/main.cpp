// pylomir-cli: the scan and the deletion, the ignore lists and the backup
// archives without a window.
#include "cli/commands.h"
#include "cli/console_ui.h"
#include "core/app_info.h"
#include "platform/console.h"

#include <QCoreApplication>

#include <cstdio>

using namespace pylomir::cli;

namespace {

const char kHelp[] =
    "Usage: pylomir-cli COMMAND [options] [arguments]\n"
    "\n"
    "Finds and deletes disposable files, keeps the ignore lists, and reads, writes\n"
    "and unpacks Pylomir backup archives without a window, with the program\n"
    "folder (PYLOMIR_HOME) and the settings (PYLOMIR_SETTINGS) the window uses.\n"
    "\n"
    "Commands:\n"
    "  scan FOLDER            scan a folder as the main window's start button does\n"
    "  clean FOLDER --yes|--dry-run\n"
    "                         scan a folder and delete (or move to the trash) what\n"
    "                         it found\n"
    "  ignore list [--masks]  print the ignored files (or masks)\n"
    "  ignore add|remove [--masks] PATH-OR-MASK...\n"
    "                         add paths or masks to the ignore lists, or remove them\n"
    "  archive info ARCHIVE   show an archive's title, size and file list\n"
    "  archive create ARCHIVE FILE|MASK...\n"
    "                         pack files into a backup archive\n"
    "  archive restore ARCHIVE\n"
    "                         unpack a backup archive\n"
    "  archive list           list the backup folder's archives and the logs\n"
    "\n"
    "Run 'pylomir-cli COMMAND --help' for a command's options. Every command that\n"
    "prints results takes --format json for one documented JSON object; scan and\n"
    "clean take --older-than DAYS, --larger-than BYTES and --smaller-than BYTES.\n"
    "Long scans, cleans and archive operations draw a progress line on standard\n"
    "error when it is a terminal.\n"
    "\n"
    "Exit status: 0 success (scan: nothing found; clean: every found file\n"
    "deleted), 1 error (clean: a file could not be deleted), 2 usage error,\n"
    "3 scan found files, 4 scan or clean skipped folders it could not list\n"
    "(the output is partial; 1 wins over 4).\n";

const char kArchiveHelp[] = "Usage: pylomir-cli archive info|create|restore|list [options] ...\n"
                            "\n"
                            "Run 'pylomir-cli archive SUBCOMMAND --help' for its options.\n";

const char kIgnoreHelp[] = "Usage: pylomir-cli ignore list|add|remove [--masks] [PATH-OR-MASK...]\n"
                           "\n"
                           "Run 'pylomir-cli ignore SUBCOMMAND --help' for its options.\n";

bool isHelp(const QString& arg) {
    return arg == QLatin1String("--help") || arg == QLatin1String("-h") ||
           arg == QLatin1String("-?") || arg == QLatin1String("help");
}

int dispatch(const QStringList& args) {
    if (args.size() < 2) {
        printError(QString::fromLatin1(kHelp));
        return kExitUsage;
    }
    const QString command = args.at(1);
    if (isHelp(command)) {
        printOut(QString::fromLatin1(kHelp));
        return kExitOk;
    }
    if (command == QLatin1String("--version")) {
        printOut(QStringLiteral("pylomir-cli %1\n").arg(QCoreApplication::applicationVersion()));
        return kExitOk;
    }
    // The subcommand sees the program name followed by its own arguments.
    QStringList rest = args.mid(2);
    rest.prepend(args.at(0));
    if (command == QLatin1String("scan"))
        return runScan(rest);
    if (command == QLatin1String("clean"))
        return runClean(rest);
    const bool archive = command == QLatin1String("archive");
    if (!archive && command != QLatin1String("ignore")) {
        printError(QStringLiteral("pylomir-cli: unknown command '%1'\n"
                                  "Try 'pylomir-cli --help'.")
                       .arg(command));
        return kExitUsage;
    }
    const QString groupHelp = QString::fromLatin1(archive ? kArchiveHelp : kIgnoreHelp);
    if (rest.size() < 2) {
        printError(groupHelp);
        return kExitUsage;
    }
    const QString sub = rest.at(1);
    if (isHelp(sub)) {
        printOut(groupHelp);
        return kExitOk;
    }
    rest.removeAt(1);
    if (!archive)
        return runIgnore(sub, rest);
    if (sub == QLatin1String("info"))
        return runArchiveInfo(rest);
    if (sub == QLatin1String("create"))
        return runArchiveCreate(rest);
    if (sub == QLatin1String("restore"))
        return runArchiveRestore(rest);
    if (sub == QLatin1String("list"))
        return runArchiveList(rest);
    printError(QStringLiteral("pylomir-cli: unknown archive command '%1'\n"
                              "Try 'pylomir-cli archive --help'.")
                   .arg(sub));
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pylomir-cli"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tessaly"));
    QCoreApplication::setApplicationVersion(pylomir::core::kVersion);
    const int status = dispatch(pylomir::platform::commandLineArguments(argc, argv));
    std::fflush(stdout);
    return status;
}

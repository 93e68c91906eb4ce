// The command line's subcommands. Each takes its arguments with the program
// name first and returns the process's exit status.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

namespace pylomir::cli {

enum ExitStatus : int {
    kExitOk = 0,    // success; for scan: nothing found; for clean: nothing left
    kExitError = 1, // the operation failed; for clean: a file could not be deleted
    kExitUsage = 2, // the command line itself is wrong
    kExitFound = 3, // scan found files
    // scan skipped folders it could not list; what it found elsewhere is
    // printed (possibly nothing). An error takes precedence.
    kExitPartial = 4,
};

int runScan(const QStringList& args);
// "clean": the scan, then the deletion of what it found.
int runClean(const QStringList& args);
int runArchiveInfo(const QStringList& args);
int runArchiveCreate(const QStringList& args);
int runArchiveRestore(const QStringList& args);
// "archive list": the recovery tab's archives and logs.
int runArchiveList(const QStringList& args);
// "ignore list|add|remove": sub names the subcommand.
int runIgnore(const QString& sub, const QStringList& args);

// Parses a subcommand's arguments with --help added. Returns the exit status
// when the command ends here (help shown, or a usage error reported).
std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& args,
                                const QString& command);
// Reports a usage error of a subcommand; returns kExitUsage.
int usageError(const QString& command, const QString& message);

} // namespace pylomir::cli

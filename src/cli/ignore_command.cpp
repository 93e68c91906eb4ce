// "ignore": the two ignore lists of the "Ignorowania" tab, for scripts.
#include "app/main_window_core.h"
#include "cli/commands.h"
#include "cli/path_output.h"
#include "cli/scan_session.h"
#include "ignore/ignore_lists.h"
#include "platform/file_names.h"
#include "platform/file_system.h"

#include <QSet>

namespace pylomir::cli {

namespace {

const char kListsNote[] =
    "The lists are the main window's: the ignored files, full paths, in\n"
    "Filtry/ignoralplik.dat, and the ignored masks (--masks), matched against\n"
    "bare file names, in Filtry/ignoraltyp.dat, both in the program folder\n"
    "(PYLOMIR_HOME). A file on the first list leaves the found list after a\n"
    "scan; a name matching a mask is never reported. Paths compare with\n"
    "letter case on POSIX systems and without it on Windows; masks always\n"
    "without it.\n";

const char kListDescription[] =
    "Prints the ignored files, or with --masks the ignored masks, one per\n"
    "line, escaped as 'pylomir-cli scan' escapes paths ('ls -b': a newline as\n"
    "\\n, a tab as \\t, a backslash as \\\\, any other control byte as \\ooo);\n"
    "--null prints each entry unescaped and ended by a NUL byte instead.\n"
    "--format json prints one object, strings escaped as in scan's JSON:\n"
    "  {\"list\": \"files\" or \"masks\", \"entries\": [\"...\", ...]}\n";

const char kAddDescription[] =
    "Adds each PATH (made absolute against the current folder) to the\n"
    "ignored files, or with --masks each MASK as it is given to the ignored\n"
    "masks, unless it is listed already; the file is written once. A mask the\n"
    "mask rule refuses is named and left out; the others are still added.\n";

const char kRemoveDescription[] =
    "Takes every entry equal to a PATH (as given, or made absolute against the\n"
    "current folder) off the ignored files, or with --masks every entry equal\n"
    "to a MASK off the ignored masks; the file is written once.\n";

const char kExitNote[] = "\n"
                         "A one-line summary goes to standard error. Exit status: 0 success,\n"
                         "1 an error (a list file that cannot be read or written, a mask that\n"
                         "is refused; the rest of the change is still made), 2 usage.";

enum class Action { List, Add, Remove };

struct Command {
    Action action;
    const char* sub;
    const char* description;
};

constexpr Command kCommands[] = {
    {Action::List, "list", kListDescription},
    {Action::Add, "add", kAddDescription},
    {Action::Remove, "remove", kRemoveDescription},
};

// The arguments not listed yet and not given twice, in their order.
QStringList newPaths(const QStringList& paths, const core::PathList& listed) {
    QStringList fresh;
    QSet<QString> seen;
    for (const QString& p : paths) {
        const QString key = platform::pathKey(p);
        if (!listed.contains(p) && !seen.contains(key))
            fresh << p;
        seen.insert(key);
    }
    return fresh;
}

QSet<QString> maskKeys(const QStringList& masks) {
    QSet<QString> keys;
    for (const QString& m : masks)
        keys.insert(ignore::maskKey(m));
    return keys;
}

QStringList newMasks(const QStringList& masks, const QStringList& listed) {
    QStringList fresh;
    QSet<QString> seen = maskKeys(listed);
    for (const QString& m : masks) {
        const QString key = ignore::maskKey(m);
        if (!seen.contains(key))
            fresh << m;
        seen.insert(key);
    }
    return fresh;
}

// A line break would split the entry into two when the file is read back,
// and a name that is not UTF-8 has no form in it: such entries are named
// and left out.
QStringList keepable(const QStringList& entries, bool& refused) {
    QStringList kept;
    for (const QString& e : entries) {
        if (!e.contains(QLatin1Char('\n')) && !e.contains(QLatin1Char('\r')) &&
            !platform::holdsRawBytes(e)) {
            kept << e;
            continue;
        }
        refused = true;
        writeErr("pylomir-cli ignore add: a list file cannot hold a line break or bytes that "
                 "are not UTF-8: " +
                 textField(pathBytes(e)) + '\n');
    }
    return kept;
}

// given arguments, of which kept could be listed, fresh were not listed yet
// and added were added.
void printAddSummary(qsizetype given, qsizetype kept, qsizetype fresh, qsizetype added) {
    QString summary = QStringLiteral("added %1, already listed %2").arg(added).arg(kept - fresh);
    if (given > added + kept - fresh)
        summary += QStringLiteral(", refused %1").arg(given - added - (kept - fresh));
    printError(summary);
}

int run(const Command& command, const QStringList& args) {
    const QString name = QStringLiteral("ignore ") + QLatin1String(command.sub);
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(command.description) + QLatin1Char('\n') +
                                     QString::fromLatin1(kListsNote) +
                                     QString::fromLatin1(kExitNote));
    const QCommandLineOption masksOption(
        QStringLiteral("masks"), QStringLiteral("The ignored masks instead of the ignored files."));
    const QCommandLineOption nullOption(
        QStringLiteral("null"), QStringLiteral("End each entry with a NUL byte, unescaped."));
    const QCommandLineOption formatOption({QStringLiteral("f"), QStringLiteral("format")},
                                          QStringLiteral("Output: text or json."),
                                          QStringLiteral("FORMAT"), QStringLiteral("text"));
    parser.addOption(masksOption);
    if (command.action == Action::List) {
        parser.addOption(nullOption);
        parser.addOption(formatOption);
    } else
        parser.addPositionalArgument(QStringLiteral("ENTRY..."),
                                     QStringLiteral("Paths, or with --masks masks."),
                                     QStringLiteral("PATH-OR-MASK..."));
    if (const auto status = parseCommand(parser, args, name))
        return *status;

    const QStringList given = parser.positionalArguments();
    const bool masks = parser.isSet(masksOption);
    const QString what = masks ? QStringLiteral("MASK") : QStringLiteral("PATH");
    if (command.action == Action::List && !given.isEmpty())
        return usageError(name, QStringLiteral("takes no arguments"));
    bool json = false;
    if (command.action == Action::List) {
        const QString format = parser.value(formatOption).toLower();
        json = format == QLatin1String("json");
        if (!json && format != QLatin1String("text"))
            return usageError(name, QStringLiteral("unknown format '%1'").arg(format));
        if (json && parser.isSet(nullOption))
            return usageError(name, QStringLiteral("--null goes with --format text only"));
    }
    if (command.action != Action::List && given.isEmpty())
        return usageError(name, QStringLiteral("missing %1").arg(what));
    // An empty argument is a mistake in a script; an empty entry (a blank
    // line of the file) can still be removed.
    if (command.action == Action::Add && given.contains(QString()))
        return usageError(name, QStringLiteral("an empty %1").arg(what));

    // A list that cannot be read is an error, not one of the start-up's notes.
    ScanSession session(name);
    session.startWithoutNotes();
    app::MainWindowCore& windowCore = session.windowCore();

    bool refused = false;
    ignore::IgnoreLists& lists = windowCore.ignoreLists();
    const core::IgnoreListsState& state = windowCore.model().ignore;
    switch (command.action) {
    case Action::List: {
        const QStringList entries = masks ? state.ignoredMasks : state.ignoredFiles.paths();
        if (json)
            writeOut(jsonObject({jsonMember("list", jsonString(masks ? QStringLiteral("masks")
                                                                     : QStringLiteral("files"))),
                                 jsonMember("entries", jsonStrings(entries, "    "))}) +
                     '\n');
        else
            writeOut(pathLines(entries, parser.isSet(nullOption)));
        break;
    }
    case Action::Add: {
        QStringList entries = given;
        if (!masks) {
            for (QString& p : entries)
                p = platform::absolutePath(p);
        }
        const QStringList kept = keepable(entries, refused);
        const QStringList fresh =
            masks ? newMasks(kept, state.ignoredMasks) : newPaths(kept, state.ignoredFiles);
        const qsizetype added = masks ? lists.addIgnoredMasks(fresh) : lists.addIgnoredFiles(fresh);
        printAddSummary(given.size(), kept.size(), fresh.size(), added);
        break;
    }
    case Action::Remove: {
        qsizetype unlisted = 0;
        qsizetype removed = 0;
        if (masks) {
            const QSet<QString> listed = maskKeys(state.ignoredMasks);
            for (const QString& m : given)
                unlisted += listed.contains(ignore::maskKey(m)) ? 0 : 1;
            removed = lists.removeIgnoredMasks(given);
        } else {
            // An entry typed into the window may be any text, so the
            // argument as given counts as well as its absolute form.
            QStringList paths;
            for (const QString& p : given) {
                const QString full = platform::absolutePath(p);
                paths << p << full;
                const core::PathList& files = state.ignoredFiles;
                unlisted += files.contains(p) || files.contains(full) ? 0 : 1;
            }
            removed = lists.removeIgnoredFiles(paths);
        }
        printError(QStringLiteral("removed %1, not listed %2").arg(removed).arg(unlisted));
        break;
    }
    }
    return session.ui().errors().isEmpty() && !refused ? kExitOk : kExitError;
}

} // namespace

int runIgnore(const QString& sub, const QStringList& args) {
    for (const Command& c : kCommands) {
        if (sub == QLatin1String(c.sub))
            return run(c, args);
    }
    printError(QStringLiteral("pylomir-cli: unknown ignore command '%1'\n"
                              "Try 'pylomir-cli ignore --help'.")
                   .arg(sub));
    return kExitUsage;
}

} // namespace pylomir::cli

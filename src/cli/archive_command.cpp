// "archive info|create|restore": the advanced-restore window's commands and
// the backup step, on the archive component, without the window.
#include "app/main_window_core.h"
#include "backup/archive_format.h"
#include "backup/archiver.h"
#include "backup/recovery_tab.h"
#include "backup/restore_commands.h"
#include "cli/commands.h"
#include "cli/console_ui.h"
#include "cli/path_output.h"
#include "cli/progress_line.h"
#include "cli/scan_session.h"
#include "core/message_pump.h"
#include "core/services.h"
#include "core/time_stamp.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"

#include <functional>
#include <optional>

#include <cmath>

namespace pylomir::cli {

namespace {

using backup::Archiver;

const QString kCannotRead = QString::fromUtf8(backup::kCannotReadArchive);

// One console's worth of archive component: messages to standard error,
// nothing waits for window messages.
struct Component {
    ConsoleUi ui;
    core::NullMessagePump pump;
    Archiver archiver;
    Component() {
        archiver.setUiPort(&ui);
        archiver.setMessagePump(&pump);
        archiver.setFileSystem(&platform::realFileSystem());
    }
};

void attachProgress(Archiver& archiver, ProgressLine& line) {
    archiver.onProgress = [&line](Archiver*, const QString& name, backup::Percent percent, bool&) {
        line.update(name, percent);
    };
}

// Runs one archive operation and clears the progress line. A failure the
// component raises instead of coding is printed; then there is no result.
std::optional<bool> runOperation(ProgressLine& progress, const std::function<bool()>& operation) {
    try {
        const bool ok = operation();
        progress.finish();
        return ok;
    } catch (const backup::ArchiveError& e) {
        progress.finish();
        printError(e.message());
        return std::nullopt;
    }
}

const QCommandLineOption& formatOption() {
    static const QCommandLineOption option({QStringLiteral("f"), QStringLiteral("format")},
                                           QStringLiteral("Output: text or json."),
                                           QStringLiteral("FORMAT"), QStringLiteral("text"));
    return option;
}

// Whether --format asks for JSON; a usage error when it names no format.
std::optional<int> readJsonFormat(const QCommandLineParser& parser, const QString& command,
                                  bool& json) {
    const QString format = parser.value(formatOption()).toLower();
    json = format == QLatin1String("json");
    if (!json && format != QLatin1String("text"))
        return usageError(command, QStringLiteral("unknown format '%1'").arg(format));
    return std::nullopt;
}

// One line of an information list: "path<TAB>DOS date-time=size".
QByteArray infoLineJson(const QString& line) {
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    const qsizetype eq = tab < 0 ? -1 : line.indexOf(QLatin1Char('='), tab + 1);
    QByteArray modified = "null", size = "null";
    if (eq >= 0) {
        bool ok = false;
        const qint32 dos = line.mid(tab + 1, eq - tab - 1).toInt(&ok);
        const QDateTime when = ok ? backup::fromDosDateTime(dos) : QDateTime();
        if (when.isValid())
            modified = jsonString(when.toString(Qt::ISODate));
        const qint64 bytes = line.mid(eq + 1).toLongLong(&ok);
        if (ok)
            size = QByteArray::number(bytes);
    }
    return '{' + jsonMember("path", jsonString(eq >= 0 ? line.left(tab) : line)) + ", " +
           jsonMember("modified", modified) + ", " + jsonMember("size", size) + '}';
}

bool isFile(const QString& path) {
    const auto status = platform::realFileSystem().status(path);
    return status && status->isFile;
}

// Whether an archive argument names something the component can read; it
// says nothing of its own about a missing file.
bool archiveExists(const QString& path, const QString& command) {
    if (isFile(path))
        return true;
    printError(QStringLiteral("pylomir-cli archive %1: %2: %3").arg(command, path, kCannotRead));
    return false;
}

QString timeStamp(const platform::LocaleFormats& locale) {
    return core::timeStamp(platform::systemClock().now(), locale);
}

bool hasWildcard(const QString& entry) {
    return entry.contains(QLatin1Char('*')) || entry.contains(QLatin1Char('?'));
}

} // namespace

int runArchiveInfo(const QStringList& args) {
    const QString command = QStringLiteral("archive info");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows an archive's title, its file count and total size, and one line\n"
                       "per file of its information list, as the advanced-restore window does.\n"
                       "--format json prints one object instead:\n"
                       "  {\"archive\": \"...\", \"title\": \"...\", \"files\": N,\n"
                       "   \"totalBytes\": N, \"listCut\": false,\n"
                       "   \"list\": [{\"path\": \"...\", \"modified\": \"2024-05-10T15:30:00\",\n"
                       "             \"size\": N}, ...]}\n"
                       "\"totalBytes\" is the data the archive holds (the files' and the\n"
                       "information list's bytes; the text's KB figure); \"list\" is the\n"
                       "information list (empty when the archive has none;\n"
                       "\"listCut\" true when it was cut at a million lines); \"modified\" is the\n"
                       "stored local time, and it and \"size\" are null where a line does not\n"
                       "hold them."));
    parser.addPositionalArgument(QStringLiteral("ARCHIVE"), QStringLiteral("The archive."));
    parser.addOption(formatOption());
    if (const auto status = parseCommand(parser, args, command))
        return *status;
    bool json = false;
    if (const auto status = readJsonFormat(parser, command, json))
        return *status;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(command, QStringLiteral("expected exactly one ARCHIVE"));
    const QString archive = positional.first();
    if (!archiveExists(archive, QStringLiteral("info")))
        return kExitError;

    Component c;
    const platform::LocaleFormats locale;
    QStringList list;
    QString title;
    c.archiver.readArchiveInfo(archive, &list, title);
    // The component has said why; a list cut at its limit is still shown.
    const qint32 error = c.archiver.errorCode();
    if (error != 0 && error != backup::ecListTooLong)
        return kExitError;

    // As the advanced-restore window shows them: the title, the count and size, the list.
    if (json) {
        QByteArrayList lines;
        for (const QString& line : std::as_const(list))
            lines << infoLineJson(line);
        writeOut(
            jsonObject(
                {jsonMember("archive", jsonString(archive)), jsonMember("title", jsonString(title)),
                 jsonMember("files", QByteArray::number(c.archiver.fileCount())),
                 jsonMember("totalBytes", QByteArray::number(qint64(c.archiver.fullTotalSize()))),
                 jsonMember("listCut", error == 0 ? "false" : "true"),
                 jsonMember("list", jsonArray(lines, "    "))}) +
            '\n');
        return error == 0 ? kExitOk : kExitError;
    }
    const qint64 kb = qint64(std::nearbyint(double(c.archiver.fullTotalSize()) / 1024.0));
    QString out = QStringLiteral("Data utworzenia kopii zapasowej: ") + title +
                  QStringLiteral("\nInformacje o plikach w kopii zapasowej: %1 plików, %2 KB "
                                 "wszystkiego\n")
                      .arg(c.archiver.fileCount())
                      .arg(kb);
    for (const QString& line : std::as_const(list))
        out += backup::infoLineText(line, locale) + QLatin1Char('\n');
    if (list.isEmpty())
        out += QStringLiteral("Brak informacji o tej kopii zapasowej\n");
    printOut(out);
    return error == 0 ? kExitOk : kExitError;
}

int runArchiveCreate(const QStringList& args) {
    const QString command = QStringLiteral("archive create");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Packs files into a backup archive as the backup commands do (all files,\n"
        "with the information list unless --no-file-list). A FILE|MASK is a path or a\n"
        "wildcard mask (* and ? in any letter case; \"*.*\" takes every name); a mask\n"
        "followed by a blank and /s in the same argument (\"DIR/*.log /s\") takes\n"
        "sub-folders too. An existing archive is replaced, never one of the files to\n"
        "store. Inputs that cannot be read (a folder that cannot be listed, a FIFO,\n"
        "a device) are named and left out; the rest is archived, with exit status 1.\n"
        "With --max-size the further volumes (ARCHIVE.002, .003, ...) are written\n"
        "beside the first without asking. Standard output lists the volumes written;\n"
        "--format json prints them as one object instead:\n"
        "  {\"volumes\": [\"...\", ...], \"files\": N, \"complete\": true}\n"
        "\"files\" counts the files stored; \"complete\" is false when inputs were\n"
        "left out (exit status 1)."));
    const QCommandLineOption levelOption(
        QStringLiteral("level"), QStringLiteral("Compression: fastest, none, default or max."),
        QStringLiteral("LEVEL"), QStringLiteral("fastest"));
    const QCommandLineOption maxSizeOption(
        QStringLiteral("max-size"),
        QStringLiteral("Largest volume in bytes; 0 (default) writes one volume."),
        QStringLiteral("BYTES"), QStringLiteral("0"));
    const QCommandLineOption noListOption(QStringLiteral("no-file-list"),
                                          QStringLiteral("Leave out the information list."));
    const QCommandLineOption titleOption(
        QStringLiteral("title"),
        QStringLiteral("Archive title (default: \"Plik z: \" and the time stamp)."),
        QStringLiteral("TEXT"));
    parser.addOptions({levelOption, maxSizeOption, noListOption, titleOption, formatOption()});
    parser.addPositionalArgument(QStringLiteral("ARCHIVE"),
                                 QStringLiteral("The archive to write."));
    parser.addPositionalArgument(QStringLiteral("FILE|MASK..."),
                                 QStringLiteral("The files to store."));
    if (const auto status = parseCommand(parser, args, command))
        return *status;

    bool json = false;
    if (const auto status = readJsonFormat(parser, command, json))
        return *status;
    QStringList positional = parser.positionalArguments();
    if (positional.size() < 2)
        return usageError(command, QStringLiteral("expected ARCHIVE and at least one FILE|MASK"));
    const QString level = parser.value(levelOption).toLower();
    backup::CompressionLevel compression;
    if (level == QLatin1String("fastest"))
        compression = backup::CompressionLevel::Fastest;
    else if (level == QLatin1String("none"))
        compression = backup::CompressionLevel::None;
    else if (level == QLatin1String("default"))
        compression = backup::CompressionLevel::Default;
    else if (level == QLatin1String("max"))
        compression = backup::CompressionLevel::Max;
    else
        return usageError(command, QStringLiteral("unknown level '%1'").arg(level));
    bool sizeOk = false;
    const qint32 maxSize = parser.value(maxSizeOption).toInt(&sizeOk);
    if (!sizeOk || maxSize < 0)
        return usageError(command, QStringLiteral("--max-size needs a number of bytes from 0 "
                                                  "to 2147483647"));

    const QString archive = platform::absolutePath(positional.takeFirst());
    // A plain path that names nothing would only give an archive without it.
    for (const QString& entry : std::as_const(positional)) {
        if (hasWildcard(entry))
            continue;
        const auto status = platform::realFileSystem().status(entry.trimmed());
        if (status && status->isFolder) {
            printError(QStringLiteral("pylomir-cli %1: %2 is a folder; name its files with a "
                                      "mask, e.g. \"%2/*\" or \"%2/* /s\"")
                           .arg(command, entry));
            return kExitError;
        }
        if (!status) {
            printError(QStringLiteral("pylomir-cli %1: %2: no such file").arg(command, entry));
            return kExitError;
        }
    }

    Component c;
    const platform::LocaleFormats locale;
    ProgressLine progress;
    attachProgress(c.archiver, progress);
    QStringList volumes{archive};
    // Volumes are files side by side: there is no disk to change.
    c.archiver.onVolumeNeeded = [&](Archiver*, quint16 disk, bool& go) {
        volumes << backup::volumeName(archive, backup::volumeDigits(disk));
        go = true;
    };
    c.archiver.setTitle(parser.isSet(titleOption) ? parser.value(titleOption)
                                                  : QStringLiteral("Plik z: ") + timeStamp(locale));
    c.archiver.setBackupScope(backup::BackupScope::All);
    c.archiver.setCompressionLevel(compression);
    c.archiver.setStoreInfoList(!parser.isSet(noListOption));
    c.archiver.setMaxVolumeSize(maxSize);

    const auto ok = runOperation(progress, [&] { return c.archiver.backup(positional, archive); });
    if (!ok)
        return kExitError;
    // Inputs left out (the component has named them) spoil only the status:
    // the archive of the rest is whole.
    const bool partial = c.archiver.errorCode() == backup::ecSkippedInput;
    if (!*ok && !partial) {
        if (c.archiver.errorCode() == 0)
            printError(backup::archiveErrorMessage(backup::ecCreateArchive));
        return kExitError;
    }
    if (json)
        writeOut(jsonObject({jsonMember("volumes", jsonStrings(volumes, "    ")),
                             jsonMember("files", QByteArray::number(c.archiver.filesDone())),
                             jsonMember("complete", partial ? "false" : "true")}) +
                 '\n');
    else
        printOut(volumes.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    printError(QStringLiteral("Kopia zapasowa gotowa... (%1 plików)").arg(c.archiver.filesDone()));
    return partial ? kExitError : kExitOk;
}

int runArchiveRestore(const QStringList& args) {
    const QString command = QStringLiteral("archive restore");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Unpacks a backup archive to the stored paths, or with --to into FOLDER\n"
        "(every file directly into it; with --full-path under its stored folders).\n"
        "The rule decides what happens to a file that exists already:\n"
        "  all             restore, overwriting it (default)\n"
        "  no-overwrite    restore only files that do not exist\n"
        "  newer           restore files that do not exist or are older\n"
        "  existing        restore only files that exist\n"
        "  existing-newer  restore only files that exist and are older\n"
        "Further volumes (ARCHIVE.002, ...) are read from beside the first; a missing\n"
        "one ends the restore with an error instead of waiting for it. Each file\n"
        "replaces its target only once it is whole (a link there is replaced, not\n"
        "followed); with --to nothing is written outside FOLDER.\n"
        "--format json prints the counts as one object instead of the message:\n"
        "  {\"restored\": N, \"available\": N}"));
    const QCommandLineOption toOption(QStringLiteral("to"), QStringLiteral("Restore into FOLDER."),
                                      QStringLiteral("FOLDER"));
    const QCommandLineOption fullPathOption(
        QStringLiteral("full-path"),
        QStringLiteral("With --to: rebuild the stored folder tree below FOLDER."));
    const QCommandLineOption ruleOption(QStringLiteral("rule"),
                                        QStringLiteral("Rule for existing files (see above)."),
                                        QStringLiteral("RULE"), QStringLiteral("all"));
    parser.addOptions({toOption, fullPathOption, ruleOption, formatOption()});
    parser.addPositionalArgument(QStringLiteral("ARCHIVE"), QStringLiteral("The archive."));
    if (const auto status = parseCommand(parser, args, command))
        return *status;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(command, QStringLiteral("expected exactly one ARCHIVE"));

    bool json = false;
    if (const auto status = readJsonFormat(parser, command, json))
        return *status;
    static const QStringList kRules{QStringLiteral("all"), QStringLiteral("no-overwrite"),
                                    QStringLiteral("newer"), QStringLiteral("existing"),
                                    QStringLiteral("existing-newer")};
    const qsizetype rule = kRules.indexOf(parser.value(ruleOption).toLower());
    if (rule < 0)
        return usageError(command,
                          QStringLiteral("unknown rule '%1'").arg(parser.value(ruleOption)));
    QString target;
    if (parser.isSet(toOption)) {
        if (parser.value(toOption).trimmed().isEmpty())
            return usageError(command, QStringLiteral("--to needs a folder"));
        target = platform::absolutePath(parser.value(toOption).trimmed());
    } else if (parser.isSet(fullPathOption)) {
        return usageError(command, QStringLiteral("--full-path needs --to"));
    }

    const QString archive = positional.first();
    if (!archiveExists(archive, QStringLiteral("restore")))
        return kExitError;

    Component c;
    ProgressLine progress;
    attachProgress(c.archiver, progress);
    QString volume = archive;
    c.archiver.onVolumeNeeded = [&](Archiver*, quint16 disk, bool& go) {
        const QString next = backup::volumeName(volume, backup::volumeDigits(disk));
        go = isFile(next);
        if (go) {
            volume = next;
            return;
        }
        progress.finish();
        printError(QStringLiteral("pylomir-cli %1: volume %2 is missing: %3")
                       .arg(command)
                       .arg(disk)
                       .arg(next));
    };
    c.archiver.setRestoreRule(backup::RestoreRule(rule));
    c.archiver.setRestoreFolderTree(!target.isEmpty() && parser.isSet(fullPathOption));

    const auto ok = runOperation(progress, [&] { return c.archiver.restore(archive, target); });
    if (!ok)
        return kExitError;
    if (!*ok) {
        printError(QStringLiteral("Błąd odzyskiwania z kopii zapasowej lub anulowano !"));
        return kExitError;
    }
    if (json) {
        writeOut(jsonObject({jsonMember("restored", QByteArray::number(c.archiver.filesDone())),
                             jsonMember("available", QByteArray::number(c.archiver.fileCount()))}) +
                 '\n');
        return kExitOk;
    }
    printOut(QStringLiteral("Odzyskanie plików z kopii zapasowej zakończone sukcesem.\n"
                            "Odzyskano: %1 pliki (plików)  z: %2 dostępnych w kopii.\n")
                 .arg(c.archiver.filesDone())
                 .arg(c.archiver.fileCount()));
    return kExitOk;
}

int runArchiveList(const QStringList& args) {
    const QString command = QStringLiteral("archive list");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lists the backup archives (*.backup) of the backup folder and the deletion\n"
        "logs (*.plm) of the log folder, as the recovery tab \"Odzyskiwanie\" does:\n"
        "the folders the window reads at start from the settings, names sorted.\n"
        "Each list has a heading with its count, then one full path per line.\n"
        "With --null only the paths are printed, archives first, each ended by a\n"
        "NUL byte. A folder that is not set lists nothing; one that cannot be\n"
        "listed is an error (exit status 1).\n"
        "--format json prints one object instead:\n"
        "  {\"archives\": [\"...\", ...], \"logs\": [\"...\", ...],\n"
        "   \"unlistedFolders\": [\"...\", ...]}\n"
        "with full paths, and the folders that could not be listed."));
    const QCommandLineOption nullOption(QStringLiteral("null"),
                                        QStringLiteral("Print the paths NUL-ended, no headings."));
    parser.addOption(nullOption);
    parser.addOption(formatOption());
    if (const auto status = parseCommand(parser, args, command))
        return *status;
    bool json = false;
    if (const auto status = readJsonFormat(parser, command, json))
        return *status;
    if (json && parser.isSet(nullOption))
        return usageError(command, QStringLiteral("--null goes with --format text only"));
    if (!parser.positionalArguments().isEmpty())
        return usageError(command, QStringLiteral("takes no arguments"));

    ScanSession session(command);
    session.startWithoutNotes();
    app::MainWindowCore& windowCore = session.windowCore();
    const core::Services& services = session.services();

    const core::RecoveryState& tab = windowCore.model().recovery;
    struct Listed {
        const char* heading;
        const QString& folder;
        QString mask;
        QStringList paths;
    };
    Listed lists[] = {
        {"Dostępne pliki kopii zapasowych. Liczba kopii:",
         tab.archiveFolder,
         backup::kArchiveMask,
         {}},
        {"Utworzone pliki LOG. Liczba logów:", tab.logFolder, QStringLiteral("*.plm"), {}},
    };
    bool failed = false;
    QStringList unlisted;
    for (Listed& list : lists) {
        // Read here again, so that a folder that cannot be listed is told
        // from an empty one.
        const std::optional<QStringList> names =
            backup::listFilesMatching(*services.fileSystem, list.folder, list.mask);
        if (!names) {
            writeErr(
                QStringLiteral("pylomir-cli %1: cannot list the folder ").arg(command).toUtf8() +
                textField(pathBytes(list.folder)) + '\n');
            failed = true;
            unlisted << list.folder;
            continue;
        }
        for (const QString& name : *names)
            list.paths << list.folder + name;
    }
    if (json) {
        writeOut(jsonObject({jsonMember("archives", jsonStrings(lists[0].paths, "    ")),
                             jsonMember("logs", jsonStrings(lists[1].paths, "    ")),
                             jsonMember("unlistedFolders", jsonStrings(unlisted, "    "))}) +
                 '\n');
        return failed ? kExitError : kExitOk;
    }
    const bool nullEnded = parser.isSet(nullOption);
    QByteArray out;
    for (const Listed& list : lists) {
        if (!nullEnded)
            out += QStringLiteral("%1 %2\n")
                       .arg(QString::fromUtf8(list.heading))
                       .arg(list.paths.size())
                       .toUtf8();
        out += pathLines(list.paths, nullEnded);
    }
    writeOut(out);
    return failed ? kExitError : kExitOk;
}

} // namespace pylomir::cli

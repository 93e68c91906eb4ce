// "scan": the main window's start button over its own model, printed.
#include "cli/commands.h"
#include "cli/console_ui.h"
#include "cli/path_output.h"
#include "cli/scan_session.h"
#include "core/shown_texts.h"
#include "platform/file_system.h"

#include <cstdio>

namespace pylomir::cli {

namespace {

using core::FilterMode;

const char kDescription[] =
    "Scans FOLDER as the main window's start button does: the filters of the\n"
    "scanning mode, the ignore lists and the search options of the settings\n"
    "store, with the window's side effects: the scan date goes to the settings\n"
    "store, auto-ignored files are added to Filtry/ignoralplik.dat, and with\n"
    "the option \"AutoAtrybut\" on (its default) found files lose their\n"
    "read-only attribute.\n"
    "\n"
    "Bounds: --older-than, --larger-than and --smaller-than keep only the files\n"
    "the search engine's own date and size tests let through. --older-than DAYS:\n"
    "last modified on a calendar day (local time) more than DAYS days before\n"
    "today, so 0 finds what was last modified before today. --larger-than N:\n"
    "more than N bytes; --smaller-than N: fewer than N bytes (the whole size,\n"
    "files of 4 GiB and more included). The engine tests one size bound per\n"
    "scan, so the two size options exclude each other. A value that is not a\n"
    "whole number in range is a usage error.\n"
    "\n"
    "A progress line (the files found so far and the folder being listed) is\n"
    "drawn on standard error while a scan lasts more than a second, only when\n"
    "standard error is a terminal, and erased before anything else is printed.\n"
    "\n"
    "Output: text gives one found path per line on standard output and the\n"
    "summary (Znalazłem:, Rozmiar:, Zignorowano:, Podejrzanych:) on standard\n"
    "error. In text a name's control characters are escaped as 'ls -b' does,\n"
    "so that one path is one line: a newline as \\n, a tab as \\t, a backslash\n"
    "as \\\\ and any other control byte (below 0x20, and 0x7F) as \\ooo, its\n"
    "octal value; where the backslash is the path separator (Windows, whose\n"
    "names hold no control characters) it is printed as it is. --null prints\n"
    "each path unescaped and ended by a NUL byte instead, for xargs -0 and the\n"
    "like. csv gives the header \"path,size\" and one RFC 4180 record per file\n"
    "(a field holding a comma, a quote or a line break is quoted). json gives\n"
    "one object, with control characters in strings escaped:\n"
    "  {\"found\": [{\"path\": \"...\", \"size\": 123}, ...],\n"
    "   \"summary\": {\"found\": N, \"sizeBytes\": N, \"ignored\": N,\n"
    "               \"suspicious\": N, \"error\": null or \"message\",\n"
    "               \"unlistedFolders\": [\"...\", ...],\n"
    "               \"labels\": {\"Znalazłem:\": \"N plików\", ...}}}\n"
    "A size is read when the list is printed; it is empty (csv) or null (json)\n"
    "for a file that is gone by then. csv prints the summary on standard error\n"
    "as text does; json holds it in its object.\n"
    "\n"
    "A folder below FOLDER that cannot be listed (no rights, gone, a name the\n"
    "system refuses) is skipped and the scan goes on; every such folder is\n"
    "named on standard error, one per line, escaped as in text output.\n"
    "\n"
    "Exit status: 0 nothing found, 3 files found, 4 the scan skipped folders it\n"
    "could not list (what it found elsewhere is printed as usual, possibly\n"
    "nothing), 1 the scan failed (FOLDER itself could not be listed, or a mask\n"
    "is invalid; what was found before is still printed), 2 usage. 1 wins\n"
    "over 4.";

enum class Format { Text, Json, Csv };

QByteArray csvField(const QByteArray& bytes) {
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') &&
        !bytes.contains('\r'))
        return bytes;
    QByteArray quoted = bytes;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

void printJson(const core::MainWindowModel& m, const QStringList& unlisted,
               platform::FileSystem& fs, const QStringList& errors) {
    QByteArrayList found;
    for (const QString& path : m.foundList.paths()) {
        const std::optional<qint64> size = fs.findSize(path);
        found << '{' + jsonMember("path", jsonString(path)) + ", " +
                     jsonMember("size", size ? QByteArray::number(*size) : QByteArray("null")) +
                     '}';
    }
    const QByteArray in1 = "\n    ", in2 = "\n        ";
    const QByteArray foundArray =
        found.isEmpty() ? QByteArray("[]") : '[' + in2 + found.join(',' + in2) + in1 + ']';
    const QByteArrayList summary = scanSummaryJson(m, unlisted, errors);
    writeOut('{' + in1 + jsonMember("found", foundArray) + ',' + in1 +
             jsonMember("summary", '{' + in2 + summary.join(',' + in2) + in1 + '}') + "\n}\n");
}

void printCsv(const QStringList& paths, platform::FileSystem& fs) {
    QByteArray out = "path,size\r\n";
    for (const QString& path : paths) {
        const std::optional<qint64> size = fs.findSize(path);
        out += csvField(pathBytes(path)) + ',' + (size ? QByteArray::number(*size) : QByteArray()) +
               "\r\n";
    }
    writeOut(out);
}

} // namespace

int runScan(const QStringList& args) {
    const QString command = QStringLiteral("scan");
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    const QCommandLineOption modeOption = cli::modeOption();
    const QCommandLineOption formatOption({QStringLiteral("f"), QStringLiteral("format")},
                                          QStringLiteral("Output: text, json or csv."),
                                          QStringLiteral("FORMAT"), QStringLiteral("text"));
    const QCommandLineOption nullOption(
        QStringLiteral("null"),
        QStringLiteral("Text output: end each path with a NUL byte, unescaped."));
    parser.addOption(modeOption);
    addEntryBoundOptions(parser);
    parser.addOption(formatOption);
    parser.addOption(nullOption);
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The folder to scan."));
    if (const auto status = parseCommand(parser, args, command))
        return *status;

    ScanArguments arguments;
    if (const auto status = readScanArguments(parser, modeOption, command, arguments))
        return *status;
    const QString formatName = parser.value(formatOption).toLower();
    Format format;
    if (formatName == QLatin1String("text"))
        format = Format::Text;
    else if (formatName == QLatin1String("json"))
        format = Format::Json;
    else if (formatName == QLatin1String("csv"))
        format = Format::Csv;
    else
        return usageError(command, QStringLiteral("unknown format '%1'").arg(formatName));
    const bool nullEnded = parser.isSet(nullOption);
    if (nullEnded && format != Format::Text)
        return usageError(command, QStringLiteral("--null goes with --format text only"));

    ScanSession session(command);
    if (!session.start(arguments.mode))
        return kExitError;
    session.scan(arguments.folder, arguments.bounds);
    const core::MainWindowModel& m = session.model();
    const core::Services& services = session.services();
    const QStringList& errors = session.scanErrors();
    const QStringList& unlisted = session.unlistedFolders();

    const QStringList paths = m.foundList.paths();
    switch (format) {
    case Format::Text:
        writeOut(pathLines(paths, nullEnded));
        printSummary(m.scan);
        break;
    case Format::Csv:
        printCsv(paths, *services.fileSystem);
        printSummary(m.scan);
        break;
    case Format::Json:
        printJson(m, unlisted, *services.fileSystem, errors);
        break;
    }
    if (!unlisted.isEmpty())
        printUnlistedFolders(command, unlisted);
    if (!errors.isEmpty())
        return kExitError;
    if (!unlisted.isEmpty())
        return kExitPartial;
    return paths.isEmpty() ? kExitOk : kExitFound;
}

} // namespace pylomir::cli

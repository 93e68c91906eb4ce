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

// A JSON string of UTF-8 bytes.
QByteArray jsonString(const QByteArray& bytes) {
    QByteArray out = "\"";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += ch;
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == '\r') {
            out += "\\r";
        } else if (b == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            out += "\\u00" + QByteArray::number(b, 16).rightJustified(2, '0');
        } else {
            out += ch;
        }
    }
    return out + '"';
}

// A name's bytes that are not UTF-8 cannot stand in JSON as they are; each
// is written as the escape of its reserved code point (U+DC80..U+DCFF), which a reader
// with surrogate escapes (Python's "surrogateescape") turns back into the byte.
QByteArray jsonString(const QString& text) {
    QByteArray out;
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart) {
            const QByteArray run = jsonString(text.mid(runStart, end - runStart).toUtf8());
            out += run.mid(1, run.size() - 2);
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u >= 0xDC80 && u <= 0xDCFF) {
            flush(i);
            out += "\\udc" + QByteArray::number(u & 0xFF, 16).rightJustified(2, '0');
            runStart = i + 1;
        }
    }
    flush(text.size());
    return '"' + out + '"';
}

void printJson(const core::MainWindowModel& m, const QStringList& unlisted,
               platform::FileSystem& fs, const QStringList& errors) {
    const core::ScanState& scan = m.scan;
    const auto member = [](const char* name, const QByteArray& value) {
        return jsonString(QByteArray(name)) + ": " + value;
    };
    QByteArrayList found;
    for (const QString& path : m.foundList.paths()) {
        const std::optional<qint64> size = fs.findSize(path);
        found << '{' + member("path", jsonString(path)) + ", " +
                     member("size", size ? QByteArray::number(*size) : QByteArray("null")) + '}';
    }
    QByteArrayList folders;
    for (const QString& folder : unlisted)
        folders << jsonString(folder);
    const QByteArrayList labels{
        member("Znalazłem:", jsonString(core::foundCountText(scan))),
        member("Rozmiar:", jsonString(core::foundSizeText(scan))),
        member("Zignorowano:", jsonString(core::ignoredCountText(scan))),
        member("Podejrzanych:", jsonString(core::suspiciousCountText(scan)))};
    const QByteArrayList summary{member("found", QByteArray::number(m.foundList.count())),
                                 member("sizeBytes", QByteArray::number(scan.lastScanBytes)),
                                 member("ignored", QByteArray::number(scan.ignoredCount)),
                                 member("suspicious", QByteArray::number(scan.suspiciousCount)),
                                 member("error", errors.isEmpty()
                                                     ? QByteArray("null")
                                                     : jsonString(errors.join(QLatin1Char('\n')))),
                                 member("unlistedFolders", '[' + folders.join(", ") + ']'),
                                 member("labels", '{' + labels.join(", ") + '}')};
    const QByteArray in1 = "\n    ", in2 = "\n        ";
    const QByteArray foundArray =
        found.isEmpty() ? QByteArray("[]") : '[' + in2 + found.join(',' + in2) + in1 + ']';
    writeOut('{' + in1 + member("found", foundArray) + ',' + in1 +
             member("summary", '{' + in2 + summary.join(',' + in2) + in1 + '}') + "\n}\n");
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
    session.scan(arguments.folder);
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

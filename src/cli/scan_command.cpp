// "scan": the main window's start button over its own model, printed.
#include "app/main_window_core.h"
#include "cli/commands.h"
#include "cli/console_ui.h"
#include "cli/path_output.h"
#include "core/shown_texts.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/program_dir.h"
#include "platform/settings_store.h"
#include "scan/scan_run.h"

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

struct ModeName {
    const char* name;
    FilterMode mode;
};

constexpr ModeName kModes[] = {
    {"bezpieczny", FilterMode::Safe},
    {"mniej-bezpieczny", FilterMode::LessSafe},
    {"zaawansowany", FilterMode::Advanced},
    {"uzytkownika", FilterMode::UserDefined},
};

std::optional<FilterMode> parseMode(const QString& text) {
    QString name = text.trimmed().toLower();
    name.replace(QChar(0x017C), QLatin1Char('z')); // "użytkownika"
    for (const ModeName& m : kModes) {
        if (name == QLatin1String(m.name))
            return m.mode;
    }
    return std::nullopt;
}

enum class Format { Text, Json, Csv };

// Makes the filter list hold the wanted mode's file. With every mode stored
// as unselected nothing was read at start, so the safe mode's is.
void chooseMode(app::MainWindowCore& windowCore, std::optional<FilterMode> wanted) {
    const core::FiltersState& filters = windowCore.model().filters;
    const std::optional<FilterMode> current = filters.selectedMode;
    const FilterMode mode = wanted ? *wanted : current.value_or(FilterMode::Safe);
    if (current == mode && !filters.filters.isEmpty())
        return;
    windowCore.filterSets().reloadMode(mode);
}

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

// The scan's box of skipped folders names only ten of them; the command line
// names every one itself, so that box is left out.
void printUnlistedFolders(const QStringList& folders) {
    QByteArray out = QStringLiteral("pylomir-cli scan: skipped %1 folder(s) that could not be "
                                    "listed:\n")
                         .arg(folders.size())
                         .toUtf8();
    for (const QString& folder : folders)
        out += textField(pathBytes(folder)) + '\n';
    writeErr(out);
}

void printSummary(const core::ScanState& scan) {
    printError(QStringLiteral("Znalazłem: %1\nRozmiar: %2\nZignorowano: %3\nPodejrzanych: %4")
                   .arg(core::foundCountText(scan), core::foundSizeText(scan),
                        core::ignoredCountText(scan), core::suspiciousCountText(scan)));
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
    const QCommandLineOption modeOption(
        {QStringLiteral("m"), QStringLiteral("mode")},
        QStringLiteral("Scanning mode: bezpieczny, mniej-bezpieczny, zaawansowany or "
                       "uzytkownika (default: the stored mode)."),
        QStringLiteral("MODE"));
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

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(command, positional.isEmpty() ? QStringLiteral("missing FOLDER")
                                                        : QStringLiteral("only one FOLDER"));
    std::optional<FilterMode> mode;
    if (parser.isSet(modeOption)) {
        mode = parseMode(parser.value(modeOption));
        if (!mode)
            return usageError(command,
                              QStringLiteral("unknown mode '%1'").arg(parser.value(modeOption)));
    }
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

    const std::unique_ptr<platform::SettingsStore> settings = platform::openSettingsStore();
    // Told once, however the command ends.
    const struct DamagedSettingsNotice {
        platform::SettingsStore& store;
        ~DamagedSettingsNotice() {
            const QString copy = store.damagedFileCopy();
            if (!copy.isEmpty())
                printError(QStringLiteral("pylomir-cli scan: the settings file had lines that "
                                          "cannot be read; it was copied to %1 before it is "
                                          "rewritten without them")
                               .arg(copy));
        }
    } settingsNotice{*settings};
    const platform::LocaleFormats locale;
    ConsoleUi ui;
    core::NullMessagePump pump;
    const core::Services services = core::machineServices(*settings, locale, ui, pump);

    app::MainWindowCore windowCore(services);
    windowCore.startUp();
    // Start-up messages are notes; a mode whose filters cannot be read is not.
    ui.resetErrors();
    chooseMode(windowCore, mode);
    if (!ui.errors().isEmpty())
        return kExitError;

    const core::MainWindowModel& m = windowCore.model();
    // The scan status bar names the folder that failed.
    ui.setErrorContext([&m] { return m.status.scanStatusText; });
    // Every skipped folder is named below, not ten of them in a box first.
    windowCore.scanRun().setTellsOfUnlistedFolders(false);
    windowCore.scanRun().setScanRoot(platform::absolutePath(positional.first()));
    windowCore.scanRun().startScan();
    const QStringList errors = ui.errors();
    const QStringList unlisted = windowCore.scanRun().unlistedFolders();

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
        printUnlistedFolders(unlisted);
    if (!errors.isEmpty())
        return kExitError;
    if (!unlisted.isEmpty())
        return kExitPartial;
    return paths.isEmpty() ? kExitOk : kExitFound;
}

} // namespace pylomir::cli

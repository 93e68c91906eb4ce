// "scan": the main window's start button over its own model, printed.
#include "app/main_window_core.h"
#include "cli/commands.h"
#include "cli/console_ui.h"
#include "core/shown_texts.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/program_dir.h"
#include "platform/settings_store.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
    "error. csv gives the header \"path,size\" and one RFC 4180 record per file.\n"
    "json gives one object:\n"
    "  {\"found\": [{\"path\": \"...\", \"size\": 123}, ...],\n"
    "   \"summary\": {\"found\": N, \"sizeBytes\": N, \"ignored\": N,\n"
    "               \"suspicious\": N, \"error\": null or \"message\",\n"
    "               \"labels\": {\"Znalazłem:\": \"N plików\", ...}}}\n"
    "A size is read when the list is printed; it is empty (csv) or null (json)\n"
    "for a file that is gone by then. csv prints the summary on standard error\n"
    "as text does; json holds it in its object.\n"
    "\n"
    "Exit status: 0 nothing found, 3 files found, 1 the scan failed (a folder\n"
    "could not be listed: what was found before is still printed), 2 usage.";

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

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void printSummary(const core::ScanState& scan) {
    printError(QStringLiteral("Znalazłem: %1\nRozmiar: %2\nZignorowano: %3\nPodejrzanych: %4")
                   .arg(core::foundCountText(scan), core::foundSizeText(scan),
                        core::ignoredCountText(scan), core::suspiciousCountText(scan)));
}

void printJson(const core::MainWindowModel& m, platform::FileSystem& fs,
               const QStringList& errors) {
    const core::ScanState& scan = m.scan;
    QJsonArray found;
    for (const QString& path : m.foundList.paths()) {
        const std::optional<qint64> size = fs.findSize(path);
        found.append(QJsonObject{{QStringLiteral("path"), path},
                                 {QStringLiteral("size"), size ? QJsonValue(double(*size))
                                                               : QJsonValue(QJsonValue::Null)}});
    }
    const QJsonObject labels{{QStringLiteral("Znalazłem:"), core::foundCountText(scan)},
                             {QStringLiteral("Rozmiar:"), core::foundSizeText(scan)},
                             {QStringLiteral("Zignorowano:"), core::ignoredCountText(scan)},
                             {QStringLiteral("Podejrzanych:"), core::suspiciousCountText(scan)}};
    const QJsonObject summary{
        {QStringLiteral("found"), double(m.foundList.count())},
        {QStringLiteral("sizeBytes"), double(scan.lastScanBytes)},
        {QStringLiteral("ignored"), double(scan.ignoredCount)},
        {QStringLiteral("suspicious"), double(scan.suspiciousCount)},
        {QStringLiteral("error"), errors.isEmpty() ? QJsonValue(QJsonValue::Null)
                                                   : QJsonValue(errors.join(QLatin1Char('\n')))},
        {QStringLiteral("labels"), labels}};
    const QJsonObject root{{QStringLiteral("found"), found}, {QStringLiteral("summary"), summary}};
    printOut(QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)));
}

void printCsv(const QStringList& paths, platform::FileSystem& fs) {
    QString out = QStringLiteral("path,size\r\n");
    for (const QString& path : paths) {
        const std::optional<qint64> size = fs.findSize(path);
        out += csvField(path) + QLatin1Char(',') + (size ? QString::number(*size) : QString()) +
               QStringLiteral("\r\n");
    }
    printOut(out);
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
    parser.addOption(modeOption);
    parser.addOption(formatOption);
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
    windowCore.scanRun().setScanRoot(platform::absolutePath(positional.first()));
    windowCore.scanRun().startScan();
    const QStringList errors = ui.errors();

    const QStringList paths = m.foundList.paths();
    switch (format) {
    case Format::Text: {
        QString out;
        for (const QString& path : paths)
            out += path + QLatin1Char('\n');
        printOut(out);
        printSummary(m.scan);
        break;
    }
    case Format::Csv:
        printCsv(paths, *services.fileSystem);
        printSummary(m.scan);
        break;
    case Format::Json:
        printJson(m, *services.fileSystem, errors);
        break;
    }
    if (!errors.isEmpty())
        return kExitError;
    return paths.isEmpty() ? kExitOk : kExitFound;
}

} // namespace pylomir::cli

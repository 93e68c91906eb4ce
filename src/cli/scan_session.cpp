#include "cli/scan_session.h"

#include "cli/commands.h"
#include "cli/path_output.h"
#include "core/services.h"
#include "core/shown_texts.h"
#include "platform/file_system.h"
#include "scan/filter_sets.h"
#include "scan/scan_run.h"

namespace pylomir::cli {

namespace {

using core::FilterMode;

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

} // namespace

QCommandLineOption modeOption() {
    return QCommandLineOption(
        {QStringLiteral("m"), QStringLiteral("mode")},
        QStringLiteral("Scanning mode: bezpieczny, mniej-bezpieczny, zaawansowany or "
                       "uzytkownika (default: the stored mode)."),
        QStringLiteral("MODE"));
}

std::optional<FilterMode> parseMode(const QString& text) {
    QString name = text.trimmed().toLower();
    name.replace(QChar(0x017C), QLatin1Char('z')); // "użytkownika"
    for (const ModeName& m : kModes) {
        if (name == QLatin1String(m.name))
            return m.mode;
    }
    return std::nullopt;
}

std::optional<int> readScanArguments(const QCommandLineParser& parser,
                                     const QCommandLineOption& modeOption, const QString& command,
                                     ScanArguments& arguments) {
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(command, positional.isEmpty() ? QStringLiteral("missing FOLDER")
                                                        : QStringLiteral("only one FOLDER"));
    arguments.folder = positional.first();
    if (parser.isSet(modeOption)) {
        arguments.mode = parseMode(parser.value(modeOption));
        if (!arguments.mode)
            return usageError(command,
                              QStringLiteral("unknown mode '%1'").arg(parser.value(modeOption)));
    }
    return std::nullopt;
}

void printSummary(const core::ScanState& scan) {
    printError(QStringLiteral("Znalazłem: %1\nRozmiar: %2\nZignorowano: %3\nPodejrzanych: %4")
                   .arg(core::foundCountText(scan), core::foundSizeText(scan),
                        core::ignoredCountText(scan), core::suspiciousCountText(scan)));
}

// The scan's box of skipped folders names only ten of them; the command line
// names every one itself, so that box is left out.
void printUnlistedFolders(const QString& command, const QStringList& folders) {
    QByteArray out = QStringLiteral("pylomir-cli %1: skipped %2 folder(s) that could not be "
                                    "listed:\n")
                         .arg(command)
                         .arg(folders.size())
                         .toUtf8();
    for (const QString& folder : folders)
        out += textField(pathBytes(folder)) + '\n';
    writeErr(out);
}

ScanSession::ScanSession(const QString& command)
    : command_(command), settings_(platform::openSettingsStore()),
      services_(core::machineServices(*settings_, locale_, ui_, pump_)),
      windowCore_(std::make_unique<app::MainWindowCore>(services_)) {}

ScanSession::~ScanSession() {
    windowCore_.reset();
    const QString copy = settings_->damagedFileCopy();
    if (!copy.isEmpty())
        printError(QStringLiteral("pylomir-cli %1: the settings file had lines that cannot be "
                                  "read; it was copied to %2 before it is rewritten without them")
                       .arg(command_, copy));
}

bool ScanSession::start(std::optional<FilterMode> mode) {
    windowCore_->startUp();
    // Start-up messages are notes; a mode whose filters cannot be read is not.
    ui_.resetErrors();
    chooseMode(*windowCore_, mode);
    return ui_.errors().isEmpty();
}

void ScanSession::startWithoutNotes() {
    ui_.setNotesShown(false);
    windowCore_->startUp();
    ui_.setNotesShown(true);
}

void ScanSession::scan(const QString& folder) {
    const core::MainWindowModel& m = windowCore_->model();
    // The scan status bar names the folder that failed.
    ui_.setErrorContext([&m] { return m.status.scanStatusText; });
    scan::ScanRun& run = windowCore_->scanRun();
    run.setTellsOfUnlistedFolders(false);
    run.setScanRoot(platform::absolutePath(folder));
    run.startScan();
    ui_.setErrorContext({});
    scanErrors_ = ui_.errors();
    unlisted_ = run.unlistedFolders();
}

} // namespace pylomir::cli

#include "cli/scan_session.h"

#include "cli/commands.h"
#include "cli/path_output.h"
#include "core/services.h"
#include "core/shown_texts.h"
#include "engine/file_search.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "scan/filter_sets.h"
#include "scan/scan_run.h"

#include <limits>

namespace pylomir::cli {

namespace {

using core::FilterMode;
using core::Services;

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

// The engine's size limit is a signed 32-bit number of bytes: a bound it
// cannot hold is refused rather than wrapped.
constexpr qint64 kSizeLimitMax = std::numeric_limits<qint32>::max();
// Far beyond any file time, small enough for the engine's serial dates.
constexpr qint64 kDaysMax = 1000000;

const QString kOlderThan = QStringLiteral("older-than");
const QString kLargerThan = QStringLiteral("larger-than");
const QString kSmallerThan = QStringLiteral("smaller-than");

// A whole number from 0 to max, digits only; nothing when it is not one.
std::optional<qint64> wholeNumber(const QString& text, qint64 max) {
    if (text.isEmpty() || text.size() > 19)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n > max)
        return std::nullopt;
    return n;
}

// Reads one bound; reports the usage error when its value is not a number
// from 0 to max.
std::optional<int> readBound(const QCommandLineParser& parser, const QString& name, qint64 max,
                             const QString& command, std::optional<qint64>& bound) {
    if (!parser.isSet(name))
        return std::nullopt;
    const QString value = parser.value(name);
    bound = wholeNumber(value, max);
    if (!bound)
        return usageError(command, QStringLiteral("--%1 takes a whole number from 0 to %2, not "
                                                  "'%3'")
                                       .arg(name)
                                       .arg(max)
                                       .arg(value));
    return std::nullopt;
}

Services withFileSystem(Services services, platform::FileSystem* fileSystem) {
    if (fileSystem)
        services.fileSystem = fileSystem;
    return services;
}

// The engine's tests for the bounds: its size test takes one limit of 32
// bits (larger than N is at least N + 1), its date test whole calendar days
// of the last modification (older than D days is before today minus D).
void setEntryTests(engine::FileSearch& search, const EntryBounds& bounds,
                   engine::SerialDateTime now) {
    if (bounds.olderThanDays) {
        search.enabledTests |= engine::EntryTest::Date;
        search.dateTestTime = engine::DateTestTime::Modified;
        search.dateComparison = engine::DateComparison::Before;
        search.firstDate = now - double(*bounds.olderThanDays);
    }
    if (bounds.largerThan || bounds.smallerThan) {
        search.enabledTests |= engine::EntryTest::Size;
        search.sizeComparison =
            bounds.largerThan ? engine::SizeComparison::AtLeast : engine::SizeComparison::AtMost;
        search.sizeLimit =
            qint32(bounds.largerThan ? *bounds.largerThan + 1 : *bounds.smallerThan - 1);
    }
}

} // namespace

void addEntryBoundOptions(QCommandLineParser& parser) {
    parser.addOption(QCommandLineOption(
        kOlderThan,
        QStringLiteral("Only files last modified on a calendar day (local time) more than DAYS "
                       "days before today: 0 finds files last modified before today, 7 run on "
                       "8 May those of 30 April and earlier."),
        QStringLiteral("DAYS")));
    parser.addOption(
        QCommandLineOption(kLargerThan,
                           QStringLiteral("Only files of more than BYTES bytes (BYTES at most %1).")
                               .arg(kSizeLimitMax - 1),
                           QStringLiteral("BYTES")));
    parser.addOption(QCommandLineOption(
        kSmallerThan,
        QStringLiteral("Only files of fewer than BYTES bytes (BYTES at most %1). Not with "
                       "--larger-than.")
            .arg(kSizeLimitMax + 1),
        QStringLiteral("BYTES")));
}

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
    EntryBounds& bounds = arguments.bounds;
    if (const auto status = readBound(parser, kOlderThan, kDaysMax, command, bounds.olderThanDays))
        return status;
    if (const auto status =
            readBound(parser, kLargerThan, kSizeLimitMax - 1, command, bounds.largerThan))
        return status;
    if (const auto status =
            readBound(parser, kSmallerThan, kSizeLimitMax + 1, command, bounds.smallerThan))
        return status;
    // The engine tests one size comparison per search.
    if (bounds.largerThan && bounds.smallerThan)
        return usageError(command, QStringLiteral("--larger-than and --smaller-than exclude "
                                                  "each other"));
    return std::nullopt;
}

void printSummary(const core::ScanState& scan) {
    printError(QStringLiteral("Znalazłem: %1\nRozmiar: %2\nZignorowano: %3\nPodejrzanych: %4")
                   .arg(core::foundCountText(scan), core::foundSizeText(scan),
                        core::ignoredCountText(scan), core::suspiciousCountText(scan)));
}

QByteArrayList scanSummaryJson(const core::MainWindowModel& m, const QStringList& unlisted,
                               const QStringList& errors) {
    const core::ScanState& scan = m.scan;
    const QByteArrayList labels{
        jsonMember("Znalazłem:", jsonString(core::foundCountText(scan))),
        jsonMember("Rozmiar:", jsonString(core::foundSizeText(scan))),
        jsonMember("Zignorowano:", jsonString(core::ignoredCountText(scan))),
        jsonMember("Podejrzanych:", jsonString(core::suspiciousCountText(scan)))};
    QByteArrayList folders;
    for (const QString& folder : unlisted)
        folders << jsonString(folder);
    return {jsonMember("found", QByteArray::number(m.foundList.count())),
            jsonMember("sizeBytes", QByteArray::number(scan.lastScanBytes)),
            jsonMember("ignored", QByteArray::number(scan.ignoredCount)),
            jsonMember("suspicious", QByteArray::number(scan.suspiciousCount)),
            jsonMember("error", errors.isEmpty() ? QByteArray("null")
                                                 : jsonString(errors.join(QLatin1Char('\n')))),
            jsonMember("unlistedFolders", '[' + folders.join(", ") + ']'),
            jsonMember("labels", '{' + labels.join(", ") + '}')};
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

ScanSession::ScanSession(const QString& command, platform::FileSystem* fileSystem)
    : command_(command), settings_(platform::openSettingsStore()),
      services_(withFileSystem(core::machineServices(*settings_, locale_, ui_, pump_), fileSystem)),
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

void ScanSession::scan(const QString& folder, const EntryBounds& bounds) {
    const core::MainWindowModel& m = windowCore_->model();
    // The scan status bar names the folder that failed.
    ui_.setErrorContext([&m] { return m.status.scanStatusText; });
    scan::ScanRun& run = windowCore_->scanRun();
    run.setTellsOfUnlistedFolders(false);
    const engine::SerialDateTime now = engine::serialDateTime(services_.clock->now());
    run.setEntryTests(
        [bounds, now](engine::FileSearch& search) { setEntryTests(search, bounds, now); });
    run.setScanRoot(platform::absolutePath(folder));
    pump_.setText([&m] {
        return QStringLiteral("scanning: %1 found, in %2")
            .arg(m.scan.foundCount)
            .arg(m.status.scanStatusText);
    });
    run.startScan();
    pump_.finish();
    ui_.setErrorContext({});
    scanErrors_ = ui_.errors();
    unlisted_ = run.unlistedFolders();
}

} // namespace pylomir::cli

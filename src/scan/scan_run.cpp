#include "scan/scan_run.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "scan/option_table.h"

#include <limits>

namespace pylomir::scan {

namespace {

const QString kScanning = QStringLiteral("Skanuję. Proszę zaczekaj...");

// A whole number of bytes, as typed in the threshold field. Below 0 every
// found file would be ignored for good.
std::optional<qint64> parseThreshold(const QString& text) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok || v < 0)
        return std::nullopt;
    return v;
}

} // namespace

QString unlistedFoldersMessage(const QStringList& folders) {
    constexpr qsizetype kShown = 10;
    QString text = QStringLiteral("Błąd odczytu folderów (%1). Mogą one być zabezpieczone lub "
                                  "używane przez system; skanowanie pominęło je i przeszukało "
                                  "pozostałe:")
                       .arg(folders.size());
    for (qsizetype i = 0; i < folders.size() && i < kShown; ++i)
        text += QLatin1Char('\n') + folders.at(i);
    if (folders.size() > kShown)
        text += QStringLiteral("\n… i %1 innych").arg(folders.size() - kShown);
    return text;
}

ScanRun::ScanRun(core::MainWindowModel& model, const core::Services& services,
                 ignore::IgnoreLists& ignoreLists, records::Statistics& statistics,
                 core::StatusLine& status, assess::Assessment& assessment)
    : m_(model), scan_(model.scan), s_(services), ignore_(ignoreLists), statistics_(statistics),
      status_(status), assessment_(assessment) {
    scan_.scanRoot = platform::driveRoot();
    engine::SearchEnvironment env;
    env.fileSystem = s_.fileSystem;
    env.clock = s_.clock;
    env.pump = s_.pump;
    fileSearch_.setEnvironment(env);
    fileSearch_.onFolderEntered = [this](engine::FileSearch*, const QString& folder) {
        showCurrentFolder(folder);
    };
    fileSearch_.onEntryFound = [this](engine::FileSearch*, engine::FoundEntry& entry) {
        processFoundEntry(entry);
    };
    fileSearch_.onStatistics = [this](engine::FileSearch*, engine::SearchStatistics& st) {
        showSearchStatistics(st);
    };
}

void ScanRun::startScan() {
    if (scan_.running)
        return;
    const core::OptionsState& options = m_.options;
    // The scan needs a whole number of bytes for the auto-ignore threshold.
    const auto threshold = parseThreshold(options.autoIgnoreThresholdText);
    if (options.autoIgnore && !threshold) {
        s_.ui->messageBox(
            QStringLiteral("Błąd"),
            QStringLiteral(
                "Pole \"Automatycznie dodawaj pliki o podwyższonym ryzyku do listy "
                "Ignorowań większe od:\" musi zawierać liczbę całkowitą bajtów.\n"
                "Popraw je na zakładce \"Ustawienia\" i rozpocznij skanowanie ponownie."),
            core::MsgIcon::Error, core::MsgButtons::Ok);
        return;
    }
    threshold_ = threshold.value_or(std::numeric_limits<qint64>::max());

    scan_.progress = 0;
    scan_.ignoredCount = 0;
    scan_.foundSizeKb = 0;
    scan_.animationRunning = true;

    scan_.lastScanSizes.clear();
    scan_.suspiciousCount = 0;
    scan_.lastScanFoundCounts.clear();

    scan_.foundCaption = core::FoundCaption::Found;
    status_.show(kScanning);

    const QDateTime now = s_.clock->now();
    statistics_.recordScanStart(now);

    s_.ui->playSound(core::kScanStartSound);

    scan_.progressTimer.intervalMs = m_.filters.progressIntervalMs;
    scan_.progressTimer.enabled = true;
    scan_.elapsedClockTimer.enabled = true;
    scan_.elapsedClockVisible = true;

    m_.fullList.lines.clear();
    m_.fullList.stale = false;

    scan_.running = true;

    assessment_.resetAlert();
    status_.showScanBar();

    fileSearch_.setRootFolder(scan_.scanRoot);
    QStringList& wanted = fileSearch_.wantedMasks();
    wanted.clear();
    wanted.append(m_.filters.filters);

    statistics_.updateScanCount(now);

    fileSearch_.options = searchOptions(options);
    fileSearch_.enabledTests = {};
    if (entryTests_)
        entryTests_(fileSearch_);
    fileSearch_.setExcludedMasks(m_.ignore.ignoredMasks);

    if (s_.pump)
        s_.pump->processPendingMessages();
    try {
        if (!fileSearch_.search()) {
            s_.ui->messageBox(QStringLiteral("Błąd"),
                              QStringLiteral("Błąd skanowania folderu. Może on być zabezpieczony "
                                             "lub używany przez system.\nSprawdź, który folder "
                                             "spowodował błąd (poniżej) i nie skanuj go ponownie."),
                              core::MsgIcon::None, core::MsgButtons::Ok);
        } else if (tellsOfUnlistedFolders_ && !unlistedFolders().isEmpty()) {
            s_.ui->messageBox(QStringLiteral("Błąd"), unlistedFoldersMessage(unlistedFolders()),
                              core::MsgIcon::None, core::MsgButtons::Ok);
        }
    } catch (const engine::MaskError& e) {
        // The scan stops; the end steps still bring the window back to idle.
        s_.ui->showError(e.message());
    }
    endOfRun();
}

void ScanRun::showCurrentFolder(const QString& folder) {
    status_.showScanFolder(folder);
}

void ScanRun::processFoundEntry(engine::FoundEntry& entry) {
    const QString path = entry.fullPath();
    platform::FileSystem& fs = *s_.fileSystem;

    // The listing's look-up of the entry serves the threshold, the size
    // list and the attribute clearing alike.
    const std::optional<qint64> size = entry.byteSize;
    bool autoIgnored = false;
    if (m_.options.autoIgnore) {
        if (size && threshold_ < *size) {
            ignore_.addToIgnoredFiles(path);
            ++scan_.suspiciousCount;
            autoIgnored = true;
        }
    }
    core::FoundList& found = m_.foundList;
    qsizetype newest = found.count();
    if (!autoIgnored && !found.contains(path)) {
        if (m_.foundListSorted) {
            newest = found.sortedPlace(path, core::foundListOrder(*s_.locale));
            found.insert(newest, path);
        } else {
            found.append(path);
        }
    }

    if (size)
        scan_.lastScanSizes.append(*size);

    m_.fullList.stale = true;

    scan_.foundCount = found.count();
    status_.show(kScanning);
    scan_.foundCaption = core::FoundCaption::Found;

    if (!found.isEmpty())
        found.setCurrent(newest < found.count() ? newest : found.count() - 1);

    if (m_.options.clearAttributesOnScan && fs.clearingChanges(entry.attributes))
        fs.setAttributes(path, 0);
}

void ScanRun::showSearchStatistics(engine::SearchStatistics& statistics) {
    scan_.foundCount = statistics.filesFound;
}

void ScanRun::removeIgnoredFound() {
    status_.showDetails(QString());
    status_.show(QStringLiteral("Usuwanie ignorowanych wpisów"));
    const ignore::IgnoreComparison result = ignore_.removeIgnoredFromFoundList(m_.foundList);
    scan_.ignoredCount = result.removed;
    scan_.foundCount = result.kept;
    status_.show(QStringLiteral("Przeszukiwanie gotowe !"));
    status_.showDetails(QStringLiteral("Gotowe !"));
}

void ScanRun::endOfRun() {
    s_.ui->playSound(core::kDoneSound);
    scan_.animationRunning = false;

    sumLastScanBytes();
    showLastScanSize();
    removeIgnoredFound();

    scan_.foundCount = m_.foundList.count();
    scan_.lastScanFoundCounts.append(m_.foundList.count());

    syncFullList();

    scan_.progressTimer.enabled = false;
    scan_.elapsedClockTimer.enabled = false;
    scan_.running = false;

    status_.show(QStringLiteral("Wyszukiwanie gotowe !"));
    status_.showDetails(QString());

    assessment_.resetAlert();

    ignore_.writeIgnoredFiles();

    status_.showDetailsBar();
    scan_.progress = 100;
}

void ScanRun::checkAllFound() {
    m_.foundList.setAllChecked(true);
}

void ScanRun::uncheckAllFound() {
    m_.foundList.setAllChecked(false);
}

void ScanRun::moveCheckedToIgnoredFiles() {
    core::FoundList& found = m_.foundList;
    // Last to first, as the list was always walked: the moved paths arrive
    // in reverse order.
    QStringList moved;
    std::vector<bool> checked(size_t(found.count()), false);
    for (qsizetype i = found.count() - 1; i >= 0; --i) {
        if (found.isChecked(i)) {
            moved.append(found.path(i));
            checked[size_t(i)] = true;
        }
    }
    found.removeFlagged(checked);
    scan_.foundCaption = core::FoundCaption::Remaining;
    scan_.foundCount = found.count();
    status_.show(QStringLiteral("Dodano plik(i) do listy ignorowań"));
    ignore_.appendMovedFiles(moved);
}

void ScanRun::clearCurrentFoundAttributes() {
    const core::FoundList& found = m_.foundList;
    if (found.current() < 0) {
        status_.show(QStringLiteral("Nie wybrano pliku z listy znalezionych."));
        return;
    }
    const QString& path = found.path(found.current());
    if (s_.fileSystem->setAttributes(path, 0))
        status_.show(QStringLiteral("Ustawiono normalny atrybut..."));
    else
        status_.show(QStringLiteral("Nie można ustawić normalnego atrybutu pliku."));
}

void ScanRun::showLoadedFoundList(const std::optional<QStringList>& paths) {
    if (paths)
        m_.foundList.assign(*paths);
    scan_.foundCaption = core::FoundCaption::Loaded;
    scan_.foundCount = m_.foundList.count();
}

void ScanRun::sumLastScanBytes() {
    qint64 total = 0;
    for (qint64 size : std::as_const(scan_.lastScanSizes))
        total += size;
    scan_.lastScanBytes = total;
}

void ScanRun::showLastScanSize() {
    scan_.foundSizeKb = scan_.lastScanBytes / 1024;
}

void ScanRun::refreshLastScanFoundCount() {
    qint64 total = 0;
    for (qsizetype n : std::as_const(scan_.lastScanFoundCounts))
        total += n;
    scan_.lastScanFoundCount = total;
}

void ScanRun::pauseScan() {
    if (!scan_.running)
        return;
    status_.show(QStringLiteral("Pauza skanowania"));
    scan_.progressTimer.enabled = false;
    scan_.animationRunning = false;
    // The search stays held inside this box until it is closed, and reads
    // nothing ahead meanwhile.
    fileSearch_.holdListingAhead(true);
    s_.ui->showMessage(QStringLiteral("Naciśnij \"OK\", aby kontynuować skanowanie"));
    fileSearch_.holdListingAhead(false);
    scan_.progressTimer.enabled = true;
    scan_.animationRunning = true;
    status_.show(kScanning);
}

void ScanRun::setScanRoot(const QString& folder) {
    scan_.scanRoot = folder;
    status_.showScanBar();
}

void ScanRun::tickElapsedClock() {
    if (++scan_.elapsedSeconds == 60) {
        scan_.elapsedSeconds = 0;
        if (++scan_.elapsedMinutes == 60) {
            scan_.elapsedMinutes = 0;
            if (++scan_.elapsedHours == 24)
                scan_.elapsedHours = 0;
        }
    }
    if (s_.pump)
        s_.pump->processPendingMessages();
}

void ScanRun::advanceScanProgress() {
    if (scan_.progress < 100)
        ++scan_.progress;
}

bool ScanRun::tryClose() {
    if (scan_.running) {
        s_.ui->showMessage(QStringLiteral("Trwa skanowanie dysku !. Jeśli chcesz zamknąć program "
                                          "musisz najpierw anulować dalsze szukanie !"));
        return false;
    }
    return true;
}

void ScanRun::showFullList() {
    m_.fullList.visible = true;
    syncFullList();
    s_.ui->showWindow(core::WindowId::FullList);
}

void ScanRun::syncFullList() {
    m_.fullList.lines = m_.foundList.paths();
    m_.fullList.stale = false;
}

} // namespace pylomir::scan

// The texts the main window shows, derived from the model's numbers in one
// place; the window and the command line print these, nobody parses them.
#pragma once

#include "core/main_window_model.h"

#include <QString>

namespace pylomir::core {

// "3 plików": the counters of files.
QString filesText(qint64 count);

QString foundCaptionText(FoundCaption caption);
QString foundCountText(const ScanState& scan);
QString foundSizeText(const ScanState& scan);
QString ignoredCountText(const ScanState& scan);
QString suspiciousCountText(const ScanState& scan);
// Minutes and seconds of the total scanning time, "mm:ss".
QString elapsedClockText(const ScanState& scan);

QString scanCountText(const StatisticsState& statistics);

// "-" until the count is first set.
QString filterCountText(const FiltersState& filters);

QString ignoredFilesCountText(const IgnoreListsState& ignore);
QString ignoredMasksCountText(const IgnoreListsState& ignore);

// The alert word ("Niski", "Średni", "Wysoki"), or "-" with no alert.
QString alertText(const AlertState& alert);

} // namespace pylomir::core

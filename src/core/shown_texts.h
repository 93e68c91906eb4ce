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
// The two "Usunięto teraz:" values: "3 plików" and "7 KB".
QString sessionDeletedFilesText(const SessionRecords& records);
QString sessionDeletedSizeText(const StatisticsState& statistics);

// The number of files the last scan found, "0" before any scan.
QString lastScanFoundCountText(const ScanState& scan);

// "-" until the count is first set.
QString filterCountText(const FiltersState& filters);

QString ignoredFilesCountText(const IgnoreListsState& ignore);
QString ignoredMasksCountText(const IgnoreListsState& ignore);

// The word on the alert label ("Niski", "Średni", "Wysoki", "Wysoki !"), or
// "-" with no alert.
QString alertText(const AlertState& alert);
// The level's own word, as "Poziom ryzyka:" shows it.
QString riskText(AlertLevel level);
// The rule's comment.
QString commentText(AlertRule rule);
// "%d bajtów,  %d KB".
QString sizeText(const FileDetails& details);
// The word for the attributes: one per attribute the file has, joined by
// ", "; a file with none (and an ignored entry) is normal.
QString attributesText(const FileDetails& details);
// The status line of an assessed file.
QString detailsLineText(const FileDetails& details);

// The recovery tab's counts, "?" until the tab is first shown.
QString archiveCountText(const RecoveryState& recovery);
QString logCountText(const RecoveryState& recovery);

} // namespace pylomir::core

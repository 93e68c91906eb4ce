#include "core/shown_texts.h"

namespace pylomir::core {

namespace {

QString twoDigits(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

QString filesText(qint64 count) {
    return QString::number(count) + QStringLiteral(" plików");
}

QString foundCaptionText(FoundCaption caption) {
    switch (caption) {
    case FoundCaption::Remaining:
        return QStringLiteral("Zostało: ");
    case FoundCaption::Loaded:
        return QStringLiteral("Wczytanych: ");
    case FoundCaption::Found:
        break;
    }
    return QStringLiteral("Znalazłem:");
}

QString foundCountText(const ScanState& scan) {
    return filesText(scan.foundCount);
}

QString foundSizeText(const ScanState& scan) {
    return QString::number(scan.foundSizeKb) + QStringLiteral(" KB");
}

QString ignoredCountText(const ScanState& scan) {
    return filesText(scan.ignoredCount);
}

QString suspiciousCountText(const ScanState& scan) {
    return filesText(scan.suspiciousCount);
}

QString elapsedClockText(const ScanState& scan) {
    return twoDigits(scan.elapsedMinutes) + QLatin1Char(':') + twoDigits(scan.elapsedSeconds);
}

QString scanCountText(const StatisticsState& statistics) {
    return QString::number(statistics.scanCount);
}

QString filterCountText(const FiltersState& filters) {
    return filters.filterCount ? QString::number(*filters.filterCount) : QStringLiteral("-");
}

QString ignoredFilesCountText(const IgnoreListsState& ignore) {
    return QString::number(ignore.ignoredFilesCount);
}

QString ignoredMasksCountText(const IgnoreListsState& ignore) {
    return QString::number(ignore.ignoredMasksCount);
}

QString alertText(const AlertState& alert) {
    if (!alert.shownAlert)
        return QStringLiteral("-");
    switch (*alert.shownAlert) {
    case AlertLevel::Low:
        return QStringLiteral("Niski");
    case AlertLevel::Medium:
        return QStringLiteral("Średni");
    case AlertLevel::High:
        break;
    }
    return QStringLiteral("Wysoki");
}

} // namespace pylomir::core

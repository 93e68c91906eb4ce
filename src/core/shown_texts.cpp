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

QString lastScanFoundCountText(const ScanState& scan) {
    qint64 total = 0;
    for (const qsizetype n : scan.lastScanFoundCounts)
        total += n;
    return QString::number(total);
}

QString sessionDeletedFilesText(const SessionRecords& records) {
    return filesText(records.deletedCount);
}

QString sessionDeletedSizeText(const StatisticsState& statistics) {
    return QString::number(statistics.sessionDeletedKb) + QStringLiteral(" KB");
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
    if (alert.details) {
        switch (alert.details->rule) {
        case AlertRule::InstallerLog:
        case AlertRule::SystemExtension:
        case AlertRule::TooLarge:
            return QStringLiteral("Wysoki !");
        default:
            break;
        }
    }
    return riskText(*alert.shownAlert);
}

QString riskText(AlertLevel level) {
    switch (level) {
    case AlertLevel::Low:
        return QStringLiteral("Niski");
    case AlertLevel::Medium:
        return QStringLiteral("Średni");
    case AlertLevel::High:
        break;
    }
    return QStringLiteral("Wysoki");
}

QString commentText(AlertRule rule) {
    switch (rule) {
    case AlertRule::InstallerLog:
        return QStringLiteral("Plik konfiguracji (instalatora/deinstalatora)");
    case AlertRule::SystemExtension:
        return QStringLiteral("Plik systemowy Windows");
    case AlertRule::Empty:
        return QStringLiteral("Plik jest pusty (0 bajtów). Utworzony jako \"cache aplikacji\" po "
                              "zamknięciu programu nie jest usuwany");
    case AlertRule::Small:
        return QStringLiteral("-");
    case AlertRule::Noticeable:
        return QStringLiteral("Plik jest z przedziału 650KB - 4,5MB i klasyfikuje się do "
                              "zwrócenia uwagi ze względu na swój rozmiar");
    case AlertRule::Suspicious:
        return QStringLiteral(
            "Plik jest z przedziału 4,5 MB - 10 MB i klasyfikuje się do podejrzeń");
    case AlertRule::TooLarge:
        break;
    }
    return QStringLiteral("Podejrzany za wysoki rozmiar pliku na zwykły plik tymczasowy. Plik "
                          "jest większy od 10 MB");
}

QString sizeText(const FileDetails& details) {
    return QStringLiteral("%1 bajtów,  %2 KB").arg(details.size).arg(details.size / 1024);
}

QString attributesText(const FileDetails& details) {
    static const struct {
        qint32 bit;
        const char* word;
    } words[] = {
        {0x01, "Tylko do odczytu"}, {0x02, "Ukryty"}, {0x04, "Systemowy"},
        {0x20, "Archiwalny"},       {0x80, nullptr},  {0x100, "Tymczasowy"},
        {0x800, "Skompresowany"},
    };
    QStringList shown;
    for (const auto& w : words) {
        if (details.attributes && (*details.attributes & w.bit) && w.word)
            shown << QString::fromUtf8(w.word);
    }
    return shown.isEmpty() ? QStringLiteral("Normalny (ustawiony automatycznie)")
                           : shown.join(QStringLiteral(", "));
}

QString detailsLineText(const FileDetails& details) {
    return QStringLiteral("Plik: %1    Rozmiar: %2 KB (%3 b)    Dane modyfikacji: %4,  Alert: %5")
        .arg(details.name, QString::number(details.size / 1024), QString::number(details.size),
             details.modifiedText, riskText(details.level));
}

namespace {
QString countOrUnknown(const std::optional<qsizetype>& count) {
    return count ? QString::number(*count) : QStringLiteral("?");
}
} // namespace

QString archiveCountText(const RecoveryState& recovery) {
    return countOrUnknown(recovery.archiveCount);
}

QString logCountText(const RecoveryState& recovery) {
    return countOrUnknown(recovery.logCount);
}

} // namespace pylomir::core

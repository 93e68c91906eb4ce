#include "records/deletion_log.h"

#include "core/app_info.h"
#include "core/shown_texts.h"
#include "core/time_stamp.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/text_file.h"
#include "records/record_file.h"

#include <new>

namespace pylomir::records {

namespace {

const QString kRule = QString(57, QLatin1Char('='));

// A label padded with blanks to its column, so the values line up.
QString labelled(const char* label, int width, const QString& value) {
    return QString::fromUtf8(label).leftJustified(width) + value;
}

} // namespace

QString deletionLogPath(const QString& folder, const QString& stamp) {
    return folder + platform::separator() + QStringLiteral("Pylomir-log ") + stamp +
           QStringLiteral(".plm");
}

DeletionLog::DeletionLog(const core::MainWindowModel& model, const core::Services& services)
    : m_(model), services_(services) {}

bool DeletionLog::closeProgram() {
    if (m_.scan.running) {
        services_.ui->showMessage(
            QStringLiteral("Trwa skanowanie dysku !  Musisz poczekać na zakończenie "
                           "wyszukiwania !"));
        return false;
    }
    if (m_.options.writeLogOnClose) {
        const QString stamp = core::timeStamp(services_.clock->now(), *services_.locale);
        const QString path = core::freeFileName(*services_.fileSystem,
                                                deletionLogPath(m_.options.logFolderText, stamp));
        QString reason;
        // A log that cannot be written keeps nobody from leaving: the error
        // is shown and the program ends all the same.
        if (!writeLog(path, false, stamp, reason) && !writeLog(path, true, stamp, reason))
            services_.ui->showError(platform::cannotCreateMessage(path, reason));
    }
    if (onClosing_)
        onClosing_();
    return true;
}

bool DeletionLog::writeLog(const QString& path, bool errorLog, const QString& stamp,
                           QString& reason) {
    QStringList lines;
    try {
        lines = errorLog ? buildErrorLog(stamp) : buildDeletionLog(stamp);
    } catch (const std::bad_alloc&) {
        reason = QStringLiteral("Out of memory");
        return false;
    }
    return writeRecordFile(*services_.fileSystem, path, lines, reason);
}

QStringList DeletionLog::summaryLines() const {
    const core::ScanState& scan = m_.scan;
    const core::StatisticsState& statistics = m_.statistics;
    return {
        QStringLiteral("Znaleziono na dysku: ") + core::lastScanFoundCountText(scan) +
            QStringLiteral(" plików"),
        labelled("Rozmiar plików:", 21, core::foundSizeText(scan)),
        labelled("Zignorowano:", 21, core::ignoredCountText(scan)),
        labelled("Podejrzanych:", 21, core::suspiciousCountText(scan)),
        labelled("Skasowano teraz:", 21,
                 core::sessionDeletedFilesText(m_.records) + QStringLiteral(",  ") +
                     core::sessionDeletedSizeText(statistics)),
        QString(41, QLatin1Char('=')),
        labelled("Usunięto wszystkich plików:", 28, statistics.totalDeletedFilesText),
        labelled("Wszystkich skanowań:", 28, core::scanCountText(statistics)),
        labelled("Usunięto wszystkich bajtów:", 28, statistics.totalDeletedBytesText),
        labelled("Rozmiar wszystkich plików:", 28, statistics.totalDeletedSizeText),
        labelled("Ostatnio skanowano:", 28, statistics.lastScanText),
        labelled("Czas skanowania:", 28, core::elapsedClockText(scan)),
    };
}

QStringList DeletionLog::buildDeletionLog(const QString& stamp) const {
    QStringList lines{
        kRule,
        QStringLiteral("================ LOG usuniętych plików =================="),
        kRule,
        QString(),
        QStringLiteral("Wersja: ") + core::kAppTitle,
        QStringLiteral("Plik LOG wygenerowany dnia: ") + stamp,
        QString(),
    };
    lines += summaryLines();
    lines += {QString(), kRule,
              QStringLiteral("================ Spis usuniętych plików ================="), kRule,
              QString()};
    // The blocks went into the buffer as one entry, which the file ends
    // with a line break of its own: one empty line after them, also when
    // there are none.
    lines += m_.records.logBlocks;
    lines += {QString(), QString(), kRule};
    return lines;
}

QStringList DeletionLog::buildErrorLog(const QString& stamp) const {
    QStringList lines{
        kRule,
        QStringLiteral("============ ERROR LOG usuniętych plików ================"),
        kRule,
        QString(),
        QStringLiteral("Nie można było zapisać logu z informacjami o wszystkich"),
        QStringLiteral("usuniętych teraz plikach z powodu"),
        QStringLiteral("ZBYT MAŁEJ PAMIĘCI PODRĘCZNEJ RAM"),
        QString(),
        kRule,
        QString(),
        QStringLiteral("Wersja: ") + core::kAppTitle,
        QStringLiteral("Plik ERROR LOG wygenerowany dnia: ") + stamp,
        QString(),
    };
    lines += summaryLines();
    lines += {QString(), kRule,
              QStringLiteral("======= Spis usuniętych plików (tylko ścieżki) =========="), kRule,
              QString()};
    lines += m_.records.deletedPathLines;
    lines += {QString(), QString(), kRule};
    return lines;
}

} // namespace pylomir::records

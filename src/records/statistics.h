// The cumulative statistics: the scan count, the date of the last scan and
// the deleted files and bytes, kept in the settings store; and the sizes
// deleted this session.
#pragma once

#include "core/app_info.h"
#include "core/main_window_model.h"
#include "core/services.h"

#include <QDateTime>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace pylomir::records {

// Written beside the statistics at every exit.
inline const QString kContactMail = core::kAuthorMail;
inline const QString kContactWeb = core::kHomePageUrl;
inline const QString kContactAuthor = core::kAuthorName;

// The number in a size text, read left to right: runs of digits are
// numbers, a "/" divides what was read so far by the next number (rounding
// to the nearest, ties to even), anything else only ends a run. Nothing
// when a run is empty or too large, or on a division by zero. 64-bit, so
// totals of 2 GiB and more read like any other.
std::optional<qint64> readSizeNumber(QStringView text);

// The undo file's lines (REGEDIT4) for the statistics as they are shown;
// every line, the last empty one included, is followed by CR LF.
QStringList undoFileLines(const core::StatisticsState& statistics);

class Statistics {
public:
    Statistics(core::StatisticsState& state, const core::Services& services);

    // The statistics part of the start-up block: the scan count and the
    // totals of the Skanowan key, the deleted-files count of Usunieto. A
    // missing key or count reads as 0; false (nothing read) when the stored
    // count is not a whole number, which ends the start-up block.
    bool load();
    // After the start-up block, whatever it read: the sums start from the
    // stored deleted bytes.
    void prepareWorkingCopies();

    // A scan starts: its date and time become the last scan's.
    void recordScanStart(const QDateTime& now);
    // The stored count plus one is shown, and the date is stored; any
    // failure of the store only skips this. The count itself is stored at
    // exit.
    void updateScanCount(const QDateTime& now);

    // A deleted file's size joins the total and the session's sums.
    void addToTotalDeletedBytes(qint64 size);
    void addToSessionDeletedBytes(qint64 size);
    // "n KB,  m MB" of the total, "n KB" of the session, from their texts;
    // a text that does not read as a number leaves the shown value.
    void showTotalDeletedSize();
    void showSessionDeletedSize();
    // Adds deleted files to the count in the store and shows the new count.
    // A missing count is 0 (the first session counts); a stored text that
    // is not a whole number is left alone. False when the store refused.
    bool countDeletionInStore(qint64 deleted = 1);

    // At exit: both keys, created when missing. False when the store refused.
    bool saveStatistics();
    // "Odśwież statystyki": asks, writes the undo file of the values shown,
    // then zeros into the store and the window.
    void resetStatistics();
    // The undo file under its stamped name in the current folder (a free
    // name beside an existing one); the path written, or nothing after
    // telling the user why not.
    std::optional<QString> writeUndoFile(const QString& stamp);

private:
    QString stamp(const QDateTime& now, QChar between) const;

    core::StatisticsState& s_;
    core::Services services_;
    // The sums of the two size lists, kept as they grow.
    qint64 totalSum_ = 0;
    qint64 sessionSum_ = 0;
};

} // namespace pylomir::records

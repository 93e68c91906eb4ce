// The cumulative statistics: the scan count, the date of the last scan and
// the deleted files and bytes, kept in the settings store.
#pragma once

#include "core/main_window_model.h"
#include "core/services.h"

#include <QDateTime>

namespace pylomir::records {

class Statistics {
public:
    Statistics(core::StatisticsState& state, const core::Services& services);

    // The statistics part of the start-up block: the scan count and the
    // totals of the Skanowan key, the deleted-files count of Usunieto. A
    // missing key or count reads as 0; false (nothing read) when the stored
    // count is not a whole number, which ends the start-up block.
    bool load();

    // A scan starts: its date and time become the last scan's.
    void recordScanStart(const QDateTime& now);
    // The stored count plus one is shown, and the date is stored; any
    // failure of the store only skips this. The count itself is stored at
    // exit.
    void updateScanCount(const QDateTime& now);

private:
    QString stamp(const QDateTime& now, QChar between) const;

    core::StatisticsState& s_;
    core::Services services_;
};

} // namespace pylomir::records

// The deletion log: the close sequence of the main window and the plain-text
// log of the session it writes into the log folder.
#pragma once

#include "core/main_window_model.h"
#include "core/services.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace pylomir::records {

// The log's name: the folder text as the options hold it, a separator and
// "Pylomir-log " + stamp + ".plm". A folder text ending with a separator
// gives two in a row, which the file system reads as one.
QString deletionLogPath(const QString& folder, const QString& stamp);

class DeletionLog {
public:
    // Reads the scan's counters, the options, the statistics and the
    // session's records; writes nothing of the model.
    DeletionLog(const core::MainWindowModel& model, const core::Services& services);

    // "Zamknij program": refused while scanning (false). Otherwise writes
    // the log when the option asks for it, falls back to the error log when
    // the log cannot be made, and returns true: the program ends even when
    // neither could be written, after the error is shown.
    bool closeProgram();
    // Runs just before closeProgram lets the program end (the statistics
    // are saved there).
    void setOnClosing(std::function<void()> hook) { onClosing_ = std::move(hook); }

    QStringList buildDeletionLog(const QString& stamp) const;
    // The shorter log written when the full one cannot be: the path lines
    // in place of the blocks.
    QStringList buildErrorLog(const QString& stamp) const;

private:
    // The counts of the last scan and the statistics, shared by both logs.
    QStringList summaryLines() const;
    bool writeLog(const QString& path, bool errorLog, const QString& stamp, QString& reason);

    const core::MainWindowModel& m_;
    core::Services services_;
    std::function<void()> onClosing_;
};

} // namespace pylomir::records

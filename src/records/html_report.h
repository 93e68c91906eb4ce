// The HTML report of the session: the last scan's counts, the statistics and
// the files deleted while HTML reports were on.
#pragma once

#include "core/main_window_model.h"
#include "core/services.h"
#include "core/status_line.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace pylomir::platform {
class LocaleFormats;
}

namespace pylomir::records {

// "05 grudzień 2026": the day with two digits, the month's full name in the
// user's locale, the year.
QString reportDate(const QDate& date, const platform::LocaleFormats& locale);

class HtmlReport {
public:
    // Reads the scan's counters, the options, the statistics and the
    // session's records; shows the outcome in the status line.
    HtmlReport(const core::MainWindowModel& model, const core::Services& services,
               core::StatusLine& status);

    // "Exportuj raport do HTMa": the page, saved under the chosen name
    // + "_" + stamp + ".htm". A cancelled dialog writes nothing.
    void exportHtmlReport();

    // The page, line by line, as of the given moment. Every value is
    // escaped; the recorded fragments were escaped when they were made.
    QStringList buildHtmlReport(const QDateTime& now) const;

private:
    const core::MainWindowModel& m_;
    core::Services services_;
    core::StatusLine& status_;
    QString chosenName_ = QStringLiteral("Raport"); // the dialog offers the last name again
};

} // namespace pylomir::records

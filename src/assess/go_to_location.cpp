#include "assess/go_to_location.h"

#include "core/status_line.h"
#include "platform/file_system.h"

namespace pylomir::assess {

QString folderOf(QStringView path) {
    return folderOf(path, platform::separator());
}

QString folderOf(QStringView path, QChar separator) {
    qsizetype end = -1;
    if (separator == QLatin1Char('\\')) {
        // Windows takes either slash, and a drive colon ends a folder too
        // ("C:a.tmp" lies in the drive's current folder, "C:").
        for (qsizetype i = path.size() - 1; i >= 0 && end < 0; --i) {
            const QChar c = path[i];
            if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':'))
                end = i;
        }
    } else {
        end = path.lastIndexOf(separator);
    }
    return path.left(end + 1).toString();
}

GoToLocation::GoToLocation(core::GoToLocationState& state, const core::MainWindowModel& model,
                           core::StatusLine& status, const core::Services& services)
    : state_(state), m_(model), status_(status), s_(services) {}

void GoToLocation::goToFileLocation() {
    status_.show(QStringLiteral("Przejście do lokalizacji"));
    const core::PathList* list = m_.listOfActiveTab();
    if (!list)
        return;
    const qsizetype current = list->current();
    if (current < 0 || current >= list->count()) {
        // The field would still hold the folder of a file shown before.
        status_.show(QStringLiteral("Nie wybrano pliku z listy."));
        return;
    }
    state_.folderText = folderOf(list->path(current));
    state_.visible = true;
    if (s_.ui)
        s_.ui->showWindow(core::WindowId::GoToLocation);
}

void GoToLocation::setFolderText(const QString& text) {
    state_.folderText = text;
}

void GoToLocation::openFolder() {
    // Whatever the text now holds is opened as it is; the desktop decides
    // what a folder that is not there means.
    if (s_.ui)
        s_.ui->openWithShell(state_.folderText);
    state_.visible = false;
}

void GoToLocation::cancel() {
    state_.visible = false;
}

} // namespace pylomir::assess

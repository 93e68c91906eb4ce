#include "assess/go_to_location.h"

#include "core/status_line.h"

namespace pylomir::assess {

QString folderOf(QStringView path) {
    return path.toString();
}

GoToLocation::GoToLocation(core::GoToLocationState& state, const core::MainWindowModel& model,
                           core::StatusLine& status, const core::Services& services)
    : state_(state), m_(model), status_(status), s_(services) {}

void GoToLocation::goToFileLocation() {}

void GoToLocation::setFolderText(const QString& text) {
    state_.folderText = text;
}

void GoToLocation::openFolder() {}

void GoToLocation::cancel() {
    state_.visible = false;
}

} // namespace pylomir::assess

// "Idź do lokalizacji pliku...": shows the folder of the current found or
// ignored file in a small dialog and opens it in the desktop's file
// manager when the user confirms.
#pragma once

#include "core/main_window_model.h"
#include "core/services.h"

#include <QStringView>

namespace pylomir::core {
class StatusLine;
}

namespace pylomir::assess {

// The folder part of a path: up to and including its last separator, or
// its drive colon when that comes later; empty when it has neither. By the
// platform's separator: with '\\' both slashes and the colon count,
// otherwise only the separator itself.
QString folderOf(QStringView path);
QString folderOf(QStringView path, QChar separator);

class GoToLocation {
public:
    GoToLocation(core::GoToLocationState& state, const core::MainWindowModel& model,
                 core::StatusLine& status, const core::Services& services);

    // Takes the current entry of the list on the active tab and shows the
    // dialog with its folder; with no current entry it says so in the
    // status line and shows nothing.
    void goToFileLocation();
    // The dialog's field as the user edited it.
    void setFolderText(const QString& text);
    // "Idź do lokalizacji pliku": opens the field's text, closes the dialog.
    void openFolder();
    // "Anuluj".
    void cancel();

private:
    core::GoToLocationState& state_;
    const core::MainWindowModel& m_;
    core::StatusLine& status_;
    const core::Services& s_;
};

} // namespace pylomir::assess

// The object information window ("Szczegóły obiektu"): the last assessed
// file's details beside what the known-types table says of its kind, and
// stepping through the found files.
#pragma once

#include "core/main_window_model.h"
#include "core/services.h"

#include <functional>

namespace pylomir::assess {

class ObjectInfo {
public:
    // assessCurrentFound rates the found list's current entry as a click
    // on the list would.
    ObjectInfo(core::ObjectInfoState& state, core::MainWindowModel& model,
               std::function<void()> assessCurrentFound, const core::Services& services);

    // "Szczegóły obiektu" or a double click on either list: shows the
    // window modally for the entry last assessed. A list with no current
    // entry opens nothing.
    void openFromFound();
    void openFromIgnored();
    // Runs every time the window is shown: the lower-case name and
    // extension, the position counter, the known type's description.
    void describeAssessedFile();
    // The arrows: move the found list's current entry, assess it, and
    // reopen the window once its modal loop has ended.
    void showPreviousFound() { stepFound(-1); }
    void showNextFound() { stepFound(+1); }
    void stepFound(int step);
    // The reopen timer fired.
    void reopenObjectInfo();
    // The name field as the user edited it; kept in lower case.
    void setNameText(const QString& text);
    void close();

private:
    void show(core::ObjectInfoSource source);

    core::ObjectInfoState& state_;
    core::MainWindowModel& m_;
    std::function<void()> assessCurrentFound_;
    const core::Services& s_;
};

} // namespace pylomir::assess

// The risk alert of the file the user clicked, and its details.
#pragma once

#include "core/main_window_model.h"
#include "core/path_list.h"
#include "core/services.h"

#include <QStringView>

namespace pylomir::core {
class StatusLine;
}
namespace pylomir::platform {
struct FindData;
class LocaleFormats;
} // namespace pylomir::platform

namespace pylomir::assess {

// The rule that rates a file of this name and size. Names and extensions
// are compared without regard to ASCII case: a system file is as risky in
// capitals. A size between two bands takes the band below it.
core::AlertRule rateFile(QStringView name, qint64 size);
core::AlertLevel levelOf(core::AlertRule rule);
// The details of a file as a look-up found it at path, rated; the
// modification time in the user's formats.
core::FileDetails detailsOf(const platform::FindData& found, const QString& path,
                            const platform::LocaleFormats& locale);

class Assessment {
public:
    Assessment(core::AlertState& alert, core::StatusLine& status, const core::Services& services)
        : alert_(alert), status_(status), s_(services) {}

    // Hides the alert images and shows "-": a scan, a deletion or a list
    // command leaves no file assessed.
    void resetAlert() { alert_.shownAlert.reset(); }

    // A click on the found list or on the list of ignored files: rates the
    // list's current entry, shows its level and details and sounds the
    // alert for the two higher levels. An entry whose file can no longer be
    // looked up leaves nothing assessed.
    void assessCurrentFound(const core::FoundList& found) { assessEntry(found, false); }
    void assessCurrentIgnored(const core::PathList& ignored) { assessEntry(ignored, true); }

private:
    void assessEntry(const core::PathList& list, bool ignoredList);

    core::AlertState& alert_;
    core::StatusLine& status_;
    const core::Services& s_;
};

} // namespace pylomir::assess

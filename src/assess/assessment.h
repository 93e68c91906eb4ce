// The risk alert of the file the user clicked, and its details.
#pragma once

#include "core/main_window_model.h"

namespace pylomir::assess {

class Assessment {
public:
    explicit Assessment(core::AlertState& alert) : alert_(alert) {}

    // Hides the alert images and shows "-": a scan, a deletion or a list
    // command leaves no file assessed.
    void resetAlert() { alert_.shownAlert.reset(); }

private:
    core::AlertState& alert_;
};

} // namespace pylomir::assess

// The status text of the left column and the two status bars at the bottom
// of the main window, which take turns: the folder being scanned, or the
// details of the assessed file.
#pragma once

#include "core/main_window_model.h"

namespace pylomir::core {

class StatusLine {
public:
    explicit StatusLine(StatusState& state) : s_(state) {}

    void show(const QString& text) { s_.statusText = text; }
    void showScanFolder(const QString& folder) { s_.scanStatusText = folder; }
    void showDetails(const QString& text) { s_.detailsStatusText = text; }
    // The scan status bar in place of the details bar, both texts cleared.
    void showScanBar() { showBar(true); }
    // The details bar in place of the scan status bar, both texts cleared.
    void showDetailsBar() { showBar(false); }

private:
    void showBar(bool scan) {
        s_.scanStatusBarVisible = scan;
        s_.detailsStatusBarVisible = !scan;
        s_.scanStatusText.clear();
        s_.detailsStatusText.clear();
    }

    StatusState& s_;
};

} // namespace pylomir::core

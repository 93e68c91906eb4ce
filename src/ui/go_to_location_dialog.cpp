#include "ui/go_to_location_dialog.h"

namespace pylomir::ui {

GoToLocationDialog::GoToLocationDialog(app::MainWindowCore& windowCore, CommandRunner run,
                                       QWidget* parent)
    : QDialog(parent), core_(windowCore), run_(std::move(run)) {}

void GoToLocationDialog::present() {
    sync();
    if (core_.model().goToLocation.visible)
        exec();
}

void GoToLocationDialog::sync() {
    if (!core_.model().goToLocation.visible && isVisible())
        done(QDialog::Rejected);
}

} // namespace pylomir::ui

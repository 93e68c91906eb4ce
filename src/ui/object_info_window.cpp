#include "ui/object_info_window.h"

namespace pylomir::ui {

ObjectInfoWindow::ObjectInfoWindow(app::MainWindowCore& windowCore, CommandRunner run,
                                   QWidget* parent)
    : QDialog(parent), core_(windowCore), run_(std::move(run)) {
    setWindowTitle(QStringLiteral("Szczegóły obiektu"));
}

void ObjectInfoWindow::present() {
    sync();
    if (core_.model().objectInfo.visible)
        exec();
}

void ObjectInfoWindow::sync() {
    if (!core_.model().objectInfo.visible && isVisible())
        done(QDialog::Rejected);
}

} // namespace pylomir::ui

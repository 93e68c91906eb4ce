// The object information window "Szczegóły obiektu": the last assessed
// file's details and what its kind is, shown modally.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QDialog>

namespace pylomir::ui {

class ObjectInfoWindow : public QDialog {
    Q_OBJECT
public:
    ObjectInfoWindow(app::MainWindowCore& windowCore, CommandRunner run, QWidget* parent = nullptr);

    // Shows the window modally until a command closes it.
    void present();
    // Brings every value up to the model; closes when the model says so.
    void sync();

private:
    app::MainWindowCore& core_;
    CommandRunner run_;
};

} // namespace pylomir::ui

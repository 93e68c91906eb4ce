// The small dialog of "Idź do lokalizacji pliku...": the folder to open,
// editable, and the two buttons.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QDialog>

namespace pylomir::ui {

class GoToLocationDialog : public QDialog {
    Q_OBJECT
public:
    GoToLocationDialog(app::MainWindowCore& windowCore, CommandRunner run,
                       QWidget* parent = nullptr);

    // Shows the dialog modally until a command closes it.
    void present();
    void sync();

private:
    app::MainWindowCore& core_;
    CommandRunner run_;
};

} // namespace pylomir::ui

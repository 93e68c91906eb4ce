// The "Opisy filtrów" tab: every known mask with its category icon and
// description, the icons' legend and the sort check box.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QWidget>

namespace pylomir::ui {

class HintSwitch;

class FilterDescriptionsPage : public QWidget {
    Q_OBJECT
public:
    FilterDescriptionsPage(app::MainWindowCore& windowCore, CommandRunner run, HintSwitch& hints,
                           QWidget* parent = nullptr);

    // Brings the rows' order and the check box up to the model.
    void sync();

private:
    app::MainWindowCore& core_;
    CommandRunner run_;
};

} // namespace pylomir::ui

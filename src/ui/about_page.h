// The "O programie" tab: the program's name, description, version, notes
// and the links to its pages and its author.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QWidget>

namespace pylomir::ui {

class AboutPage : public QWidget {
    Q_OBJECT
public:
    AboutPage(app::MainWindowCore& windowCore, CommandRunner run, QWidget* parent = nullptr);

private:
    app::MainWindowCore& core_;
    CommandRunner run_;
};

} // namespace pylomir::ui

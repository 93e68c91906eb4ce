#include "ui/about_page.h"

namespace pylomir::ui {

AboutPage::AboutPage(app::MainWindowCore& windowCore, CommandRunner run, QWidget* parent)
    : QWidget(parent), core_(windowCore), run_(std::move(run)) {}

} // namespace pylomir::ui

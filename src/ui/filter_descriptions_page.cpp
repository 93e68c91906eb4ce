#include "ui/filter_descriptions_page.h"

namespace pylomir::ui {

FilterDescriptionsPage::FilterDescriptionsPage(app::MainWindowCore& windowCore, CommandRunner run,
                                               HintSwitch&, QWidget* parent)
    : QWidget(parent), core_(windowCore), run_(std::move(run)) {}

void FilterDescriptionsPage::sync() {}

} // namespace pylomir::ui

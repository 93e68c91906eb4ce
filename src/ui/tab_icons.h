// The icons of the main window's tab strip and its close button, drawn here
// rather than shipped as pictures.
#pragma once

#include "core/main_window_model.h"

#include <QIcon>

namespace pylomir::ui {

inline constexpr int kTabIconSize = 16;

// A magnifier, a funnel, a page of lines, a circular arrow, a prohibition
// sign, a gear and an "i", in the tabs' order.
QIcon tabIcon(core::MainTab tab);
// A red square with a white cross.
QIcon closeProgramIcon();

} // namespace pylomir::ui

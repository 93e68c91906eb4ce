// How a tab of the main window runs a user action: through the window, which
// reports escaped errors and redraws everything from the model afterwards.
#pragma once

#include <functional>

namespace pylomir::ui {

using CommandRunner = std::function<void(const std::function<void()>&)>;

} // namespace pylomir::ui

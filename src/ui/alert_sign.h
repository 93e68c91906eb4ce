// How an alert level looks: the colour of its word and its sign, drawn
// here rather than shipped as pictures.
#pragma once

#include "core/main_window_model.h"

#include <QColor>
#include <QPixmap>

namespace pylomir::ui {

inline constexpr int kAlertSignSize = 16;

// The colour of the level's word.
QColor alertColour(core::AlertLevel level);
// A green round sign, a yellow triangle or a red octagon, size pixels square.
QPixmap alertSign(core::AlertLevel level, int size);

} // namespace pylomir::ui

// Windows open centred on the screen, the first time they are shown.
#pragma once

#include <QRect>
#include <QScreen>
#include <QWidget>

namespace pylomir::ui {

// Call from showEvent; centres the window once, later shows keep its place.
inline void centreOnFirstShow(QWidget& window, bool& centred) {
    if (centred)
        return;
    centred = true;
    QRect frame = window.frameGeometry();
    frame.moveCenter(window.screen()->availableGeometry().center());
    window.move(frame.topLeft());
}

} // namespace pylomir::ui

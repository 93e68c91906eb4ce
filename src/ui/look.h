// The program's one look: Fusion with a calm light palette and a font
// small enough for the dense fixed-size main window.
#pragma once

#include <QColor>

class QApplication;

namespace pylomir::ui {

// The colour of link labels, in every window.
inline const QColor kLinkColour(0x1f, 0x5f, 0xa8);

// Applies the style, palette and font to the whole application; call it
// before any window is built.
void applyLook(QApplication& app);

} // namespace pylomir::ui

#include "ui/gui_message_pump.h"

#include <QCoreApplication>

#include <algorithm>

namespace pylomir::ui {

void GuiMessagePump::processPendingMessages() {
    // Tick counts wrap; their unsigned difference does not care.
    const quint32 start = clock_.tickCount();
    if (ticked_ && start - lastTickEnd_ < interval_)
        return;
    if (onTick_)
        onTick_();
    // Nested calls are fine: a command started from here may run long work
    // of its own, and that work needs the window to stay responsive too.
    QCoreApplication::processEvents();
    // Counted from the end of the tick, so a slow tick cannot make every
    // following call a tick of its own. A modal box opened from here (the
    // pause) is capped like any other slow tick.
    const quint32 end = clock_.tickCount();
    interval_ = std::clamp(end - start, kIntervalMs, kMaxIntervalMs);
    lastTickEnd_ = end;
    ticked_ = true;
}

} // namespace pylomir::ui

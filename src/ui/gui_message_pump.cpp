#include "ui/gui_message_pump.h"

#include <QCoreApplication>

#include <algorithm>

namespace pylomir::ui {

void GuiMessagePump::processPendingMessages() {
    if (sinceLastTick_.isValid() && sinceLastTick_.elapsed() < interval_)
        return;
    QElapsedTimer cost;
    cost.start();
    if (onTick_)
        onTick_();
    // Nested calls are fine: a command started from here may run long work
    // of its own, and that work needs the window to stay responsive too.
    QCoreApplication::processEvents();
    // Counted from the end of the tick, so a slow tick cannot make every
    // following call a tick of its own. A modal box opened from here (the
    // pause) is capped like any other slow tick.
    interval_ = std::clamp(cost.elapsed(), kIntervalMs, kMaxIntervalMs);
    sinceLastTick_.start();
}

} // namespace pylomir::ui

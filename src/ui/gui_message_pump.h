// Keeps the window alive while long work runs on the user-interface thread.
#pragma once

#include "core/message_pump.h"
#include "platform/clock.h"

#include <functional>

namespace pylomir::ui {

class GuiMessagePump : public core::MessagePump {
public:
    // Work calls the pump several times per listed file; anything more often
    // than this is not worth a trip through the event loop.
    static constexpr quint32 kIntervalMs = 10;
    // A tick that took longer (redrawing a list of a million entries does)
    // earns the work as much time again before the next one, up to this.
    static constexpr quint32 kMaxIntervalMs = 250;

    explicit GuiMessagePump(platform::Clock& clock = platform::systemClock()) : clock_(clock) {}

    // Runs before the events are processed, so what gets painted is current.
    void setTickHandler(std::function<void()> handler) { onTick_ = std::move(handler); }

    void processPendingMessages() override;

private:
    platform::Clock& clock_;
    bool ticked_ = false;
    quint32 lastTickEnd_ = 0;
    quint32 interval_ = kIntervalMs;
    std::function<void()> onTick_;
};

} // namespace pylomir::ui

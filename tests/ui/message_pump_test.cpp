#include "ui/gui_message_pump.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using pylomir::ui::GuiMessagePump;

// Long work calls the pump in a tight loop; the window must get its ticks,
// and the work must keep most of the time, however slow a tick is.
TEST(GuiMessagePump, TicksAreThrottledAndLeaveTheWorkItsShare) {
    struct Case {
        int tickCostMs;
        double maxShareInTicks;
    };
    for (const Case c : {Case{0, 0.5}, Case{25, 0.7}}) {
        GuiMessagePump pump;
        int ticks = 0;
        qint64 inTicks = 0;
        pump.setTickHandler([&] {
            QElapsedTimer t;
            t.start();
            ++ticks;
            if (c.tickCostMs > 0)
                QThread::msleep(c.tickCostMs);
            inTicks += t.elapsed();
        });
        QElapsedTimer total;
        total.start();
        while (total.elapsed() < 400)
            pump.processPendingMessages();

        EXPECT_GE(ticks, 3) << "tick cost " << c.tickCostMs;
        EXPECT_LE(ticks, 400 / GuiMessagePump::kIntervalMs + 1) << "tick cost " << c.tickCostMs;
        EXPECT_LE(double(inTicks) / double(total.elapsed()), c.maxShareInTicks)
            << "tick cost " << c.tickCostMs;
    }
}

} // namespace

#include "ui/gui_message_pump.h"

#include "support/fake_services.h"

#include <QCoreApplication>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

using pylomir::testing::FakeClock;
using pylomir::ui::GuiMessagePump;

class GuiMessagePumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Just short of the 32-bit wrap, where GetTickCount ends up after 49.7 days.
        clock_.ticks = 0xFFFFFFFFu - 15;
        pump_.setTickHandler([this] {
            ++ticks_;
            clock_.ticks += tickCostMs_;
        });
    }

    // Lets `ms` pass, then calls the pump; true when the call was a tick.
    bool callAfter(quint32 ms) {
        clock_.ticks += ms;
        const int before = ticks_;
        pump_.processPendingMessages();
        return ticks_ > before;
    }

    FakeClock clock_;
    GuiMessagePump pump_{clock_};
    int ticks_ = 0;
    quint32 tickCostMs_ = 0;
};

TEST_F(GuiMessagePumpTest, CheapTicksComeEveryIntervalAndNoMoreOften) {
    EXPECT_TRUE(callAfter(0)); // the first call always ticks
    for (int round = 0; round < 3; ++round) {
        for (quint32 ms = 1; ms < GuiMessagePump::kIntervalMs; ++ms)
            EXPECT_FALSE(callAfter(1)) << "round " << round << ", " << ms << " ms after";
        EXPECT_TRUE(callAfter(1)) << "round " << round;
    }
    EXPECT_EQ(ticks_, 4);
}

// The gap after a tick is as long as the tick took, at least the interval and
// at most the cap, counted from the tick's end; each tick sets it anew.
TEST_F(GuiMessagePumpTest, ASlowTickEarnsTheWorkAsMuchTimeAgainUpToTheCap) {
    const struct {
        quint32 costMs;
        quint32 gapMs;
    } cases[] = {
        {40, 40},
        {0, GuiMessagePump::kIntervalMs},
        {GuiMessagePump::kIntervalMs - 1, GuiMessagePump::kIntervalMs},
        {GuiMessagePump::kMaxIntervalMs, GuiMessagePump::kMaxIntervalMs},
        {60'000, GuiMessagePump::kMaxIntervalMs}, // a modal box left open for a minute
        {3, GuiMessagePump::kIntervalMs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "tick of " << c.costMs << " ms");
        tickCostMs_ = c.costMs;
        ASSERT_TRUE(callAfter(GuiMessagePump::kMaxIntervalMs));
        tickCostMs_ = 0;
        EXPECT_FALSE(callAfter(c.gapMs - 1));
        EXPECT_TRUE(callAfter(1));
    }
}

TEST_F(GuiMessagePumpTest, ATickProcessesPendingEventsAfterTheHandler) {
    QStringList order;
    pump_.setTickHandler([&] {
        ++ticks_;
        order << "tick";
    });
    const auto post = [&](const char* name, quint32 costMs) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [&order, &clock = clock_, name, costMs] {
                order << name;
                clock.ticks += costMs;
            },
            Qt::QueuedConnection);
    };

    post("repaint", 100); // the time spent on events counts as the tick's too
    EXPECT_TRUE(callAfter(0));
    EXPECT_EQ(order, QStringList({"tick", "repaint"}));

    post("click", 0);
    EXPECT_FALSE(callAfter(99));
    EXPECT_EQ(order.size(), 2) << "events wait for the next tick";
    EXPECT_TRUE(callAfter(1));
    EXPECT_EQ(order, QStringList({"tick", "repaint", "tick", "click"}));
}

} // namespace

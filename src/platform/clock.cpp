#include "platform/clock.h"

#include <QElapsedTimer>

namespace pylomir::platform {

namespace {

class SystemClock final : public Clock {
public:
    quint32 tickCount() override {
        // The monotonic reference (boot on most systems), cut to 32 bits
        // like GetTickCount, so differences wrap the same way.
        QElapsedTimer timer;
        timer.start();
        return static_cast<quint32>(timer.msecsSinceReference());
    }
    QDateTime now() override { return QDateTime::currentDateTime(); }
};

} // namespace

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

} // namespace pylomir::platform

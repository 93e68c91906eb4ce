// Time sources, replaceable in tests.
#pragma once

#include <QDateTime>
#include <QtGlobal>

namespace pylomir::platform {

class Clock {
public:
    virtual ~Clock() = default;
    // GetTickCount: milliseconds of a monotonic clock, wrapping at 2^32.
    virtual quint32 tickCount() = 0;
    // The current local date and time.
    virtual QDateTime now() = 0;
};

Clock& systemClock();

} // namespace pylomir::platform

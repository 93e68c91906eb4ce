// The hook through which long work lets the user interface breathe.
#pragma once

namespace pylomir::core {

// Called at fixed points of long work (per folder, per entry, per block).
// Calls are frequent, so an implementation must be cheap when there is
// nothing to do; the GUI's one processes pending events only every ~10 ms.
// Any handler of the window may run from inside it.
class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void processPendingMessages() = 0;
};

// Where nothing waits for window messages: the command line, benchmarks, tests.
class NullMessagePump : public MessagePump {
public:
    void processPendingMessages() override {}
};

} // namespace pylomir::core

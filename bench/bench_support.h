// What the benchmarks share: a clock, and a UI port that keeps what a
// command would have shown, so a failure never passes for speed.
#pragma once

#include "core/ui_port.h"

#include <QStringList>

#include <chrono>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class RecordingUi : public pylomir::core::NullUiPort {
public:
    QStringList said;
    void showMessage(const QString& text) override { said << text; }
    pylomir::core::MsgAnswer messageBox(const QString&, const QString& text, pylomir::core::MsgIcon,
                                        pylomir::core::MsgButtons buttons) override {
        said << text;
        return pylomir::core::safeAnswer(buttons);
    }
    void showError(const QString& text) override { said << text; }
};

} // namespace bench

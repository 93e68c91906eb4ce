// What the benchmarks share: a clock, a UI port that keeps what a command
// would have shown (so a failure never passes for speed), and a main
// window's core over a fresh program folder.
#pragma once

#include "app/main_window_core.h"
#include "core/ui_port.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A "VmRSS:"-style field of /proc/self/status in KB; -1 where there is none.
inline qint64 procStatusKb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
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

// A main window's core over a fresh program folder, lists loaded.
struct BenchWindow {
    BenchWindow() {
        programDir = work.path() + QLatin1Char('/');
        QDir(programDir).mkpath(QStringLiteral("Filtry"));
        settings = pylomir::platform::openSettingsStore(programDir + QStringLiteral("bench.ini"));
        services = pylomir::core::Services{&pylomir::platform::realFileSystem(),
                                           settings.get(),
                                           &pylomir::platform::systemClock(),
                                           &locale,
                                           &ui,
                                           &pump,
                                           programDir};
        core = std::make_unique<pylomir::app::MainWindowCore>(services);
        core->ignoreLists().loadAtStartup();
    }

    QTemporaryDir work;
    QString programDir;
    std::unique_ptr<pylomir::platform::SettingsStore> settings;
    pylomir::platform::LocaleFormats locale;
    RecordingUi ui;
    pylomir::core::NullMessagePump pump;
    pylomir::core::Services services;
    std::unique_ptr<pylomir::app::MainWindowCore> core;
};

} // namespace bench

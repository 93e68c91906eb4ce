// The services the subsystems' commands use; each is replaceable in tests.
#pragma once

#include "core/message_pump.h"
#include "core/ui_port.h"

#include <QString>

namespace pylomir::platform {
class Clock;
class FileSystem;
class LocaleFormats;
class SettingsStore;
} // namespace pylomir::platform

namespace pylomir::core {

struct Services {
    platform::FileSystem* fileSystem = nullptr;
    platform::SettingsStore* settings = nullptr;
    platform::Clock* clock = nullptr;
    const platform::LocaleFormats* locale = nullptr;
    UiPort* ui = nullptr;
    MessagePump* pump = nullptr;
    QString programDir; // ends with the separator
};

// This machine's file system, clock and program folder around the given
// store, locale, UI and message hook.
Services machineServices(platform::SettingsStore& settings, const platform::LocaleFormats& locale,
                         UiPort& ui, MessagePump& pump);

} // namespace pylomir::core

#include "core/services.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/program_dir.h"

namespace pylomir::core {

Services machineServices(platform::SettingsStore& settings, const platform::LocaleFormats& locale,
                         UiPort& ui, MessagePump& pump) {
    Services s;
    s.fileSystem = &platform::realFileSystem();
    s.settings = &settings;
    s.clock = &platform::systemClock();
    s.locale = &locale;
    s.ui = &ui;
    s.pump = &pump;
    s.programDir = platform::programDir();
    return s;
}

} // namespace pylomir::core

#include "app/main_window_core.h"
#include "core/app_info.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/program_dir.h"
#include "platform/settings_store.h"
#include "ui/gui_message_pump.h"
#include "ui/look.h"
#include "ui/main_window.h"
#include "ui/qt_ui_port.h"
#include "ui/translations.h"

#include <QApplication>
#include <QIcon>

using namespace pylomir;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pylomir"));
    QApplication::setOrganizationName(QStringLiteral("Tessaly"));
    QApplication::setApplicationVersion(core::kVersion);
    // No application display name: Linux window managers would get it
    // appended to the main window's caption.
    // The desktop entry's file name: Wayland compositors match the window to
    // its menu entry and icon by it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.pylomir"));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    const std::unique_ptr<platform::SettingsStore> settings = platform::openSettingsStore();
    const platform::LocaleFormats locale;
    // Qt's own widgets (file dialogs' dates, numbers) format as the program does.
    QLocale::setDefault(locale.locale());
    ui::installPolishTranslations(app);
    ui::applyLook(app);
    ui::QtUiPort uiPort;
    ui::GuiMessagePump pump;

    const core::Services services = core::machineServices(*settings, locale, uiPort, pump);

    app::MainWindowCore windowCore(services);
    windowCore.startUp();

    ui::MainWindow window(windowCore, &pump);
    uiPort.setOwner(&window);
    uiPort.setWindowShower([&window](core::WindowId id) { window.showWindow(id); });
    uiPort.setBeforeModal([&window] { window.syncViews(true); });
    window.show();
    return app.exec();
}

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/program_dir.h"
#include "platform/settings_store.h"
#include "scan/search_form.h"
#include "ui/gui_message_pump.h"
#include "ui/qt_ui_port.h"
#include "ui/search_form_window.h"

#include <QApplication>

using namespace pylomir;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pylomir"));
    QApplication::setOrganizationName(QStringLiteral("Tessaly"));
    QApplication::setApplicationVersion(QStringLiteral("8.5"));

    const std::unique_ptr<platform::SettingsStore> settings = platform::openSettingsStore();
    const platform::LocaleFormats locale;
    ui::QtUiPort uiPort;
    ui::GuiMessagePump pump;

    const core::Services services = core::machineServices(*settings, locale, uiPort, pump);

    scan::SearchForm form(services);
    form.FormCreate();

    ui::TSearchForm window(form, &pump);
    uiPort.setOwner(&window);
    uiPort.setWindowShower([&window](core::WindowId id) { window.showWindow(id); });
    uiPort.setBeforeModal([&window] { window.syncViews(true); });
    window.show();
    return app.exec();
}

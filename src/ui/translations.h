// Qt's own texts (standard buttons, file and folder dialogs) in Polish.
#pragma once

class QCoreApplication;

namespace pylomir::ui {

// Loads Qt's Polish catalogue from Qt's translations folder, whatever the
// system's language, once per application. False when the catalogue is not
// installed: Qt's dialogs then stay English and the program runs on.
bool installPolishTranslations(QCoreApplication& app);

} // namespace pylomir::ui

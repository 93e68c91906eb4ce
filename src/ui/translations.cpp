#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pylomir::ui {

bool installPolishTranslations(QCoreApplication& app) {
    // Named by the object so a second call finds the first one's catalogue.
    static const char* const kName = "pylomirQtPolish";
    if (app.findChild<QTranslator*>(QLatin1String(kName), Qt::FindDirectChildrenOnly))
        return true;
    auto* translator = new QTranslator(&app);
    translator->setObjectName(QLatin1String(kName));
    // By file name, not by locale: the user's language must not pick it.
    if (!translator->load(QStringLiteral("qtbase_pl"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace pylomir::ui

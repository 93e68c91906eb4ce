// The program's name and version as it shows them; the version comes from
// the build (the project's version).
#pragma once

#include <QString>

#ifndef PYLOMIR_VERSION
#error "PYLOMIR_VERSION is set by the build"
#endif

namespace pylomir::core {

inline const QString kVersion = QStringLiteral(PYLOMIR_VERSION);
// The caption of plain message boxes; the title of logs and reports.
inline const QString kAppTitle = QStringLiteral("Pylomir %1 Pro").arg(kVersion);
// Where users reach the program and its author: written into the
// statistics at exit and into HTML reports.
inline const QString kAuthorMail = QStringLiteral("pylomir@example.org");
inline const QString kHomePageUrl = QStringLiteral("https://example.org/pylomir/");
// The other pages the "O programie" tab links to.
inline const QString kSecondPageUrl = QStringLiteral("https://example.org/pylomir/pobierz/");
inline const QString kQuestionsUrl = QStringLiteral("https://example.org/pylomir/pytania/");
inline const QString kAuthorName = QStringLiteral("Tessaly");
// The main window's caption.
inline const QString kMainWindowCaption =
    QStringLiteral(" Pylomir %1 Professional").arg(kVersion) + QString(24, QLatin1Char(' '));

} // namespace pylomir::core

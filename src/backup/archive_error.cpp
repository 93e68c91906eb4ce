#include "backup/archive_error.h"

namespace pylomir::backup {

QString archiveErrorMessage(qint32 code) {
    switch (code) {
    case ecReadData:
        return QStringLiteral("Nie można odczytać danych z pliku kopii zapasowej !");
    case ecOverwrite:
        return QStringLiteral("Nie można nadpisać istniejącego pliku. Sprawdź, czy plik nie jest "
                              "używany przez inny program !");
    case ecReadArchive:
        return QString::fromUtf8(kCannotReadArchive);
    case ecCreateArchive:
        return QStringLiteral("Nie można utworzyć kopii zapasowej pliku !");
    case ecNotArchive:
        return QString::fromUtf8(kNotAnArchive);
    case ecCompression:
        return QStringLiteral("Błąd przy kompresji pliku kopii zapasowej !");
    case ecTempFile:
        return QStringLiteral("Nie można utworzyć tymczasowego pliku, aby zapisać dane ID !");
    case ecOutsideFolder:
        return QStringLiteral("Pominięto pliki, które znalazłyby się poza wybranym folderem !");
    }
    return QString();
}

QString namingFile(const QString& message, const QString& path) {
    return path.isEmpty() ? message : message + QLatin1Char('\n') + path;
}

} // namespace pylomir::backup

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
    case ecCreateFolder:
        return QStringLiteral("Nie można utworzyć folderu na odzyskiwane pliki !");
    case ecSkippedInput:
        return QStringLiteral("Pominięto pliki i foldery, których nie można odczytać !");
    case ecArchiveIsInput:
        return QStringLiteral("Kopia zapasowa zastąpiłaby plik, który ma się w niej znaleźć !");
    case ecListTooLong:
        return QStringLiteral("Lista plików kopii zapasowej jest zbyt długa; pokazano tylko jej "
                              "początek !");
    case ecSameTarget:
        return QStringLiteral("Pominięto pliki, które zastąpiłyby plik już odzyskany do wybranego "
                              "folderu !");
    case ecIrregularName:
        return QStringLiteral("Pominięto pliki, których ścieżki w kopii zapasowej nie są pełne i "
                              "jednoznaczne !");
    }
    return QString();
}

QString namingFile(const QString& message, const QString& path) {
    return path.isEmpty() ? message : message + QLatin1Char('\n') + path;
}

QString namingFiles(const QStringList& paths) {
    constexpr qsizetype kShown = 10;
    QStringList lines = paths.mid(0, kShown);
    if (paths.size() > kShown)
        lines << QStringLiteral("(i %1 innych)").arg(paths.size() - kShown);
    return lines.join(QLatin1Char('\n'));
}

} // namespace pylomir::backup

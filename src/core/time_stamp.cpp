#include "core/time_stamp.h"

#include "platform/file_system.h"
#include "platform/locale_formats.h"

namespace pylomir::core {

QString timeStamp(const QDateTime& now, const platform::LocaleFormats& locale) {
    QString time = locale.longTime(now.time());
    time.replace(QLatin1Char(':'), QLatin1Char('-'));
    QString stamp = now.date().toString(QStringLiteral("dd-MM-yyyy")) + QLatin1Char(' ') + time;
    static const QString kUnfit = QStringLiteral("\\/:*?\"<>|");
    stamp.removeIf([](QChar c) { return c.unicode() < 0x20 || kUnfit.contains(c); });
    return stamp;
}

QString freeFileName(platform::FileSystem& fs, const QString& path) {
    if (!fs.findFirst(path))
        return path;
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash + 1)
        dot = path.size();
    for (int n = 2;; ++n) {
        const QString candidate = path.left(dot) + QStringLiteral(" (%1)").arg(n) + path.mid(dot);
        if (!fs.findFirst(candidate))
            return candidate;
    }
}

} // namespace pylomir::core

#include "platform/locale_formats.h"

namespace pylomir::platform {

namespace {

bool isBlank(QChar c) {
    return c.isSpace();
}

} // namespace

QString withoutTimeZone(const QString& format) {
    QString out;
    out.reserve(format.size());
    const qsizetype n = format.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            const qsizetype close = format.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype end = close < 0 ? n : close + 1;
            out += QStringView(format).sliced(i, end - i);
            i = end;
            continue;
        }
        if (c != QLatin1Char('t')) {
            out += c;
            ++i;
            continue;
        }
        while (i < n && format[i] == QLatin1Char('t'))
            ++i;
        if (out.endsWith(QLatin1Char('(')) && i < n && format[i] == QLatin1Char(')')) {
            out.chop(1);
            ++i;
        }
        const qsizetype kept = out.size();
        while (!out.isEmpty() && isBlank(out.back()))
            out.chop(1);
        if (out.size() == kept || out.isEmpty()) {
            // Nothing blank before the zone: drop the blanks after it instead.
            while (i < n && isBlank(format[i]))
                ++i;
        }
    }
    return out.trimmed();
}

QLocale usableLocale(const QLocale& system) {
    if (system.language() == QLocale::C || system.language() == QLocale::AnyLanguage)
        return QLocale(QLocale::Polish, QLocale::Poland);
    return system;
}

LocaleFormats::LocaleFormats() : LocaleFormats(usableLocale(QLocale::system())) {}

LocaleFormats::LocaleFormats(const QLocale& locale)
    : locale_(locale), timeFormat_(withoutTimeZone(locale.timeFormat(QLocale::LongFormat))),
      collator_(locale) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

QString LocaleFormats::shortDate(const QDate& date) const {
    return locale_.toString(date, locale_.dateFormat(QLocale::ShortFormat));
}

QString LocaleFormats::longTime(const QTime& time) const {
    return locale_.toString(time, timeFormat_);
}

QString LocaleFormats::monthName(int month) const {
    // The nominative ("grudzień"), as Windows gives the long month names;
    // QLocale::monthName is the genitive form in Polish.
    return locale_.standaloneMonthName(month, QLocale::LongFormat);
}

bool sameText(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

size_t foldedHash(QStringView s) {
    // FNV-1a over the simple case folding of each code point, the same
    // folding QString's case-insensitive comparison uses.
    quint64 h = 14695981039346656037ull;
    const qsizetype n = s.size();
    const char16_t* p = s.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = p[i];
        if (c < 0x80) {
            if (c >= 'A' && c <= 'Z')
                c += 'a' - 'A';
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1]))
                c = QChar::surrogateToUcs4(char16_t(c), p[++i]);
            c = QChar::toCaseFolded(c);
        }
        h ^= c;
        h *= 1099511628211ull;
    }
    return static_cast<size_t>(h);
}

} // namespace pylomir::platform

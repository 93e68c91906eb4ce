// The user's date and time formats and case-insensitive comparison.
#pragma once

#include <QCollator>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

namespace pylomir::platform {

// The locale the program formats with, given the system's: the system's own
// when it names a real language, Polish (the program's language) when it is
// the C/POSIX locale, whose English formats would read oddly in a Polish
// window.
QLocale usableLocale(const QLocale& system);

class LocaleFormats {
public:
    // The user's locale, as usableLocale picks it.
    LocaleFormats();
    // A fixed locale (tests pin one).
    explicit LocaleFormats(const QLocale& locale);

    // The short date format, e.g. 5.12.2026.
    QString shortDate(const QDate& date) const;
    // The long time format without any time-zone part, e.g. 14:05:33.
    QString longTime(const QTime& time) const;
    QString monthName(int month) const;
    const QLocale& locale() const { return locale_; }
    // Alphabetical order ignoring letter case, as sorted lists keep it.
    bool lessIgnoringCase(const QString& a, const QString& b) const {
        return collator_.compare(a, b) < 0;
    }

private:
    QLocale locale_;
    QString timeFormat_;
    QCollator collator_;
};

// Drops every time-zone token ('t' to 'tttt') from a QLocale time format,
// with the blanks (and empty brackets) around it; quoted text is kept.
QString withoutTimeZone(const QString& format);

// Equal ignoring letter case (Unicode case folding).
bool sameText(QStringView a, QStringView b);
// A hash consistent with sameText.
size_t foldedHash(QStringView s);

} // namespace pylomir::platform

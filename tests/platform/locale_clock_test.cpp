#include "platform/clock.h"
#include "platform/locale_formats.h"
#include "platform/program_dir.h"

#include "env_guard.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace pylomir::platform;

namespace {

TEST(LocaleFormats, PolishDatesTimesAndMonths) {
    const LocaleFormats pl(QLocale(QLocale::Polish, QLocale::Poland));
    EXPECT_EQ(pl.longTime(QTime(4, 5, 33)), QStringLiteral("04:05:33"));
    EXPECT_EQ(pl.shortDate(QDate(2026, 12, 5)), QStringLiteral("5.12.2026"));
    EXPECT_EQ(pl.monthName(12), QStringLiteral("grudzień")); // nominative, not "grudnia"
}

// The C/POSIX locale would put English month names into a Polish window.
TEST(LocaleFormats, CLocaleFormatsAsPolishAndRealLocalesAsThemselves) {
    const QDateTime when(QDate(2026, 12, 6), QTime(9, 5, 7));
    const struct {
        QLocale system;
        QLocale::Language used;
        const char* date;
    } cases[] = {
        {QLocale::c(), QLocale::Polish, "6.12.2026"},
        {QLocale(QLocale::C), QLocale::Polish, "6.12.2026"},
        {QLocale(QLocale::German, QLocale::Germany), QLocale::German, "06.12.26"},
        {QLocale(QLocale::Polish, QLocale::Poland), QLocale::Polish, "6.12.2026"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.system.name().toStdString());
        const QLocale used = usableLocale(c.system);
        EXPECT_EQ(used.language(), c.used);
        const LocaleFormats formats(used);
        EXPECT_EQ(formats.shortDate(when.date()), QString::fromLatin1(c.date));
    }
    // Whatever the machine's locale, the default one is never C's.
    EXPECT_NE(LocaleFormats().locale().language(), QLocale::C);
}

TEST(LocaleFormats, LongTimeNeverCarriesATimeZone) {
    const QTime t(14, 5, 33);
    const struct {
        QLocale locale;
        const char* expected; // nullptr: only the zone check
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "2:05:33 PM"},
        {QLocale(QLocale::Chinese, QLocale::China), "14:05:33"}, // the zone comes first
        {QLocale(QLocale::Persian, QLocale::Iran), nullptr},     // the zone in brackets
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        const QString shown = LocaleFormats(c.locale).longTime(t);
        // CLDR versions differ in the blank before AM/PM (narrow or plain).
        if (c.expected) {
            EXPECT_EQ(QString(shown).replace(QChar(0x202f), ' '), QString::fromUtf8(c.expected));
        }
        EXPECT_EQ(shown, shown.trimmed());
        EXPECT_FALSE(shown.contains("()"));
        const QString zone = c.locale.toString(t, QStringLiteral("t"));
        EXPECT_TRUE(zone.isEmpty() || !shown.contains(zone)) << zone.toStdString();
    }
}

TEST(LocaleFormats, TimeZoneIsCutFromAnyPlaceOfTheFormat) {
    const std::pair<const char*, const char*> cases[] = {
        {"HH:mm:ss t", "HH:mm:ss"},
        {"t HH:mm:ss", "HH:mm:ss"}, // first, with the blank after it
        {"HH:mm:ss (tttt)", "HH:mm:ss"},
        {"HH 'at' mm t", "HH 'at' mm"}, // a quoted t is text
        {"HH''mm t", "HH''mm"},         // an escaped quote is no quoted text
        {"tHH:mm", "HH:mm"},
        {"HH:mmt ss", "HH:mmss"}, // no blank before it: the blanks after it go
    };
    for (const auto& [format, expected] : cases)
        EXPECT_EQ(withoutTimeZone(QString::fromLatin1(format)), QString::fromLatin1(expected))
            << format;
}

TEST(CaseFolding, HashAgreesWithComparison) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"ZAŻÓŁĆ GĘŚLĄ JAŹŃ", "zażółć gęślą jaźń", true},
        {"ΣΑΣ", "σας", true},               // final sigma folds like sigma
        {"\u212A", "k", true},              // Kelvin sign
        {"ſ", "S", true},                   // long s
        {"\U00010400", "\U00010428", true}, // Deseret, outside the BMP
        {"ß", "ss", false},
        {"abc", "abcd", false},
        {"ą", "a", false},
    };
    for (const auto& c : cases) {
        const QString a = QString::fromUtf8(c.a), b = QString::fromUtf8(c.b);
        SCOPED_TRACE((a + " / " + b).toStdString());
        EXPECT_EQ(sameText(a, b), c.same);
        EXPECT_EQ(foldedHash(a) == foldedHash(b), c.same);
    }
}

// GetTickCount's meaning: the monotonic clock in milliseconds, cut to 32 bits.
TEST(SystemClock, TicksAreTheMonotonicClockCutTo32Bits) {
    Clock& clock = systemClock();
    const auto monotonic = [] {
        QElapsedTimer timer;
        timer.start();
        return static_cast<quint32>(timer.msecsSinceReference());
    };
    const quint32 before = monotonic();
    const quint32 ticks = clock.tickCount();
    const quint32 after = monotonic();
    EXPECT_LE(ticks - before, after - before) << before << " <= " << ticks << " <= " << after;
}

TEST(SystemClock, NowIsTheLocalTime) {
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = systemClock().now();
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_EQ(now.timeSpec(), Qt::LocalTime);
    // A little slack for the wall clock being set back in between.
    EXPECT_GE(before.msecsTo(now), -1000);
    EXPECT_GE(now.msecsTo(after), -1000);
}

TEST(ProgramDir, HomeVariableGetsATrailingSeparator) {
    for (const char* value : {"/opt/pylomir", "/opt/pylomir/"}) {
        const EnvGuard home("PYLOMIR_HOME", value);
        EXPECT_EQ(programDir(), QStringLiteral("/opt/pylomir/")) << value;
    }
}

} // namespace

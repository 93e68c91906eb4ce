#include "platform/clock.h"
#include "platform/locale_formats.h"
#include "platform/program_dir.h"

#include <QThread>

#include <gtest/gtest.h>

using namespace pylomir::platform;

namespace {

TEST(LocaleFormats, PolishDatesTimesAndMonths) {
    const LocaleFormats pl(QLocale(QLocale::Polish, QLocale::Poland));
    EXPECT_EQ(pl.longTime(QTime(14, 5, 33)), QStringLiteral("14:05:33"));
    EXPECT_EQ(pl.longTime(QTime(0, 0, 0)), QStringLiteral("00:00:00"));
    EXPECT_EQ(pl.shortDate(QDate(2026, 12, 5)), QStringLiteral("5.12.2026"));
    EXPECT_EQ(pl.monthName(12), QStringLiteral("grudzień"));
    EXPECT_EQ(pl.monthName(1), QStringLiteral("styczeń"));
}

TEST(LocaleFormats, LongTimeNeverCarriesATimeZone) {
    const QTime t(14, 5, 33);
    struct Case {
        QLocale::Language language;
        QLocale::Territory territory;
        const char* expected; // nullptr: only the zone check
    };
    const Case cases[] = {
        {QLocale::English, QLocale::UnitedStates, "2:05:33 PM"},
        {QLocale::Finnish, QLocale::Finland, "14.05.33"},
        {QLocale::Persian, QLocale::Iran, nullptr},
    };
    for (const Case& c : cases) {
        const QLocale locale(c.language, c.territory);
        SCOPED_TRACE(locale.name().toStdString());
        const QString shown = LocaleFormats(locale).longTime(t);
        // CLDR versions differ in the blank before AM/PM (narrow or plain).
        if (c.expected) {
            EXPECT_EQ(QString(shown).replace(QChar(0x202f), QLatin1Char(' ')),
                      QString::fromUtf8(c.expected));
        }
        EXPECT_EQ(shown, shown.trimmed());
        EXPECT_FALSE(shown.contains(QLatin1String("()")));
        const QString zone = locale.toString(t, QStringLiteral("t"));
        if (!zone.isEmpty()) {
            EXPECT_FALSE(shown.contains(zone)) << zone.toStdString();
        }
    }
}

TEST(CaseFolding, HashAgreesWithComparison) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"", "", true},
        {"Plik.TMP", "plik.tmp", true},
        {"ĄBC", "ąbc", true},
        {"ZAŻÓŁĆ GĘŚLĄ JAŹŃ", "zażółć gęślą jaźń", true},
        {"ΣΑΣ", "σας", true},               // final sigma folds like sigma
        {"\u212A", "k", true},              // Kelvin sign
        {"ſ", "S", true},                   // long s
        {"\U00010400", "\U00010428", true}, // Deseret, outside the BMP
        {"ß", "ss", false},
        {"a", "b", false},
        {"abc", "abcd", false},
        {"ą", "a", false},
    };
    for (const Case& c : cases) {
        const QString a = QString::fromUtf8(c.a);
        const QString b = QString::fromUtf8(c.b);
        SCOPED_TRACE(QStringLiteral("%1 / %2").arg(a, b).toStdString());
        EXPECT_EQ(sameText(a, b), c.same);
        if (c.same) {
            EXPECT_EQ(foldedHash(a), foldedHash(b));
        } else {
            EXPECT_NE(foldedHash(a), foldedHash(b));
        }
    }
}

TEST(SystemClock, TicksFollowRealTime) {
    Clock& clock = systemClock();
    const quint32 before = clock.tickCount();
    const QDateTime start = clock.now();
    QThread::msleep(30);
    const quint32 elapsed = clock.tickCount() - before; // wraps like GetTickCount
    EXPECT_GE(elapsed, 29u);
    EXPECT_LT(elapsed, 5000u);
    EXPECT_EQ(start.timeSpec(), Qt::LocalTime);
    EXPECT_LE(qAbs(start.msecsTo(QDateTime::currentDateTime())), 5000);
}

TEST(ProgramDir, HomeVariableGetsATrailingSeparator) {
    const QByteArray old = qgetenv("PYLOMIR_HOME");
    for (const char* value : {"/opt/pylomir", "/opt/pylomir/"}) {
        qputenv("PYLOMIR_HOME", value);
        EXPECT_EQ(programDir(), QStringLiteral("/opt/pylomir/")) << value;
    }
    if (old.isEmpty())
        qunsetenv("PYLOMIR_HOME");
    else
        qputenv("PYLOMIR_HOME", old);
}

} // namespace

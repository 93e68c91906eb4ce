#include "core/time_stamp.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "support/qt_printers.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pylomir;

namespace {

TEST(TimeStamp, NamesFilesInEveryLocale) {
    const QDateTime at(QDate(2026, 12, 5), QTime(14, 5, 33));
    EXPECT_EQ(core::timeStamp(at, platform::LocaleFormats(QLocale(QLocale::Polish))),
              QStringLiteral("05-12-2026 14-05-33"));
    // Whatever a locale puts in its time, the stamp stays a valid name.
    for (const QLocale::Language language :
         {QLocale::English, QLocale::Finnish, QLocale::Korean, QLocale::Arabic}) {
        const QString stamp = core::timeStamp(at, platform::LocaleFormats(QLocale(language)));
        SCOPED_TRACE(stamp.toStdString());
        EXPECT_TRUE(stamp.startsWith(QStringLiteral("05-12-2026 ")));
        for (const QChar c : QStringLiteral("\\/:*?\"<>|"))
            EXPECT_FALSE(stamp.contains(c));
    }
}

TEST(FreeFileName, AnExistingFileIsNeverTheAnswer) {
    QTemporaryDir dir;
    platform::FileSystem& fs = platform::realFileSystem();
    const QString log = dir.filePath(QStringLiteral("Pylomir-log 05-12-2026 14-05-33.plm"));
    EXPECT_EQ(core::freeFileName(fs, log), log);
    for (const QString& taken : {log, dir.filePath("Pylomir-log 05-12-2026 14-05-33 (2).plm")}) {
        QFile f(taken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(core::freeFileName(fs, log),
              dir.filePath(QStringLiteral("Pylomir-log 05-12-2026 14-05-33 (3).plm")));
    // No extension: the number goes at the end.
    QFile plain(dir.filePath(QStringLiteral("Raport")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    EXPECT_EQ(core::freeFileName(fs, dir.filePath(QStringLiteral("Raport"))),
              dir.filePath(QStringLiteral("Raport (2)")));
}

} // namespace

#include "core/app_info.h"
#include "records/deletion_log.h"
#include "support/window_fixture.h"

#include <QFile>

using namespace pylomir;
using namespace pylomir::testing;

namespace {

// A disk with a fixed amount of free space: a file that did not fit is
// discarded and its space comes back.
class SmallDisk : public FaultyFileSystem {
public:
    qint64 freeBytes = -1;
    std::unique_ptr<platform::OutputFile>
    openForWriting(const QString& path, platform::WriteMode mode, QString* reason) override {
        bytesBeforeDiskFull = freeBytes;
        return FaultyFileSystem::openForWriting(path, mode, reason);
    }
};

QByteArray cp1250(const QString& text) {
    QByteArray bytes;
    EXPECT_TRUE(platform::encodeCp1250ByTable(text, bytes));
    return bytes;
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

QString crlf(const QStringList& lines) {
    QString out;
    for (const QString& l : lines)
        out += l + QStringLiteral("\r\n");
    return out;
}

class DeletionLogTest : public WindowFixture {
protected:
    QString folder;
    int closings = 0;

    void SetUp() override {
        WindowFixture::SetUp();
        closings = 0;
        folder = home.path() + QStringLiteral("/Logi/");
        ASSERT_TRUE(QDir().mkpath(folder));
        core::MainWindowModel& m = model();
        m.options.writeLogOnClose = true;
        m.options.logFolderText = folder;
        m.scan.lastScanFoundCounts = {12};
        m.scan.foundSizeKb = 340;
        m.scan.ignoredCount = 2;
        m.scan.suspiciousCount = 1;
        m.scan.elapsedMinutes = 1;
        m.scan.elapsedSeconds = 5;
        m.statistics.scanCount = 4;
        m.statistics.totalDeletedFilesText = QStringLiteral("9");
        m.statistics.totalDeletedBytesText = QStringLiteral("1008000");
        m.statistics.totalDeletedSizeText = QStringLiteral("984 KB,  0 MB");
        m.statistics.lastScanText = QStringLiteral("5.12.2026,14:01:02");
        window->deletionLog().setOnClosing([this] { ++closings; });
    }
    // The log of the fixture's moment; the folder text's own separator and
    // the one before the name stand side by side.
    QString logPath(const QString& suffix = QString()) const {
        return folder + QStringLiteral("/Pylomir-log 05-12-2026 14-05-33") + suffix +
               QStringLiteral(".plm");
    }
    void deleteTwo() {
        core::SessionRecords& r = model().records;
        r.deletedCount = 2;
        model().statistics.sessionDeletedKb = 7;
        for (const QString& name : {QStringLiteral("a.tmp"), QStringLiteral("b&<ś.bak")}) {
            const QString path = QStringLiteral("/r/") + name;
            r.logBlocks += {QString(),
                            QStringLiteral("Plik:        ") + name,
                            QStringLiteral("Lokalizacja: ") + path,
                            QStringLiteral("Typ pliku:   .tmp"),
                            QStringLiteral("Rozmiar:     5000 bajtów,  4 KB"),
                            QStringLiteral("Alert:       Niski"),
                            QStringLiteral("Data modyf.: 5.12.2026 10:00:00"),
                            QString(28, QLatin1Char('_'))};
            r.deletedPathLines += QStringLiteral("Lokalizacja: ") + path;
        }
    }
    QString summary() {
        return crlf({QStringLiteral("Znaleziono na dysku: 12 plików"),
                     QStringLiteral("Rozmiar plików:      340 KB"),
                     QStringLiteral("Zignorowano:         2 plików"),
                     QStringLiteral("Podejrzanych:        1 plików"),
                     QStringLiteral("Skasowano teraz:     %1 plików,  %2 KB")
                         .arg(model().records.deletedCount)
                         .arg(model().statistics.sessionDeletedKb),
                     QString(41, QLatin1Char('=')), QStringLiteral("Usunięto wszystkich plików: 9"),
                     QStringLiteral("Wszystkich skanowań:        4"),
                     QStringLiteral("Usunięto wszystkich bajtów: 1008000"),
                     QStringLiteral("Rozmiar wszystkich plików:  984 KB,  0 MB"),
                     QStringLiteral("Ostatnio skanowano:         5.12.2026,14:01:02"),
                     QStringLiteral("Czas skanowania:            01:05")});
    }
    // Rules, headings and the list of the layout, around the summary.
    QByteArray expected(const QStringList& head, const QString& listTitle,
                        const QStringList& list) {
        const QString rule(57, QLatin1Char('='));
        return cp1250(crlf(head) + summary() + crlf({QString(), rule, listTitle, rule, QString()}) +
                      crlf(list) + crlf({QString(), QString(), rule}));
    }
    QByteArray expectedLog() {
        const QString rule(57, QLatin1Char('='));
        return expected(
            {rule, QStringLiteral("================ LOG usuniętych plików =================="),
             rule, QString(), QStringLiteral("Wersja: ") + core::kAppTitle,
             QStringLiteral("Plik LOG wygenerowany dnia: 05-12-2026 14-05-33"), QString()},
            QStringLiteral("================ Spis usuniętych plików ================="),
            model().records.logBlocks);
    }
    QByteArray expectedErrorLog() {
        const QString rule(57, QLatin1Char('='));
        return expected(
            {rule, QStringLiteral("============ ERROR LOG usuniętych plików ================"),
             rule, QString(),
             QStringLiteral("Nie można było zapisać logu z informacjami o wszystkich"),
             QStringLiteral("usuniętych teraz plikach z powodu"),
             QStringLiteral("ZBYT MAŁEJ PAMIĘCI PODRĘCZNEJ RAM"), QString(), rule, QString(),
             QStringLiteral("Wersja: ") + core::kAppTitle,
             QStringLiteral("Plik ERROR LOG wygenerowany dnia: 05-12-2026 14-05-33"), QString()},
            QStringLiteral("======= Spis usuniętych plików (tylko ścieżki) =========="),
            model().records.deletedPathLines);
    }
    QStringList logs() const { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }
    // A log over another disk than the window's fake tree.
    records::DeletionLog logOn(platform::FileSystem& disk) {
        core::Services s = services();
        s.fileSystem = &disk;
        records::DeletionLog log(model(), s);
        log.setOnClosing([this] { ++closings; });
        return log;
    }
};

TEST_F(DeletionLogTest, WritesTheSessionLineForLine) {
    // Without deletions the list is three empty lines between its rules.
    for (const bool deleted : {false, true}) {
        SCOPED_TRACE(deleted);
        QFile::remove(logPath());
        if (deleted)
            deleteTwo();
        EXPECT_TRUE(window->deletionLog().closeProgram());
        EXPECT_EQ(read(logPath()), expectedLog());
    }
    EXPECT_EQ(closings, 2);
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(DeletionLogTest, OptionOffEndsWithoutALog) {
    model().options.writeLogOnClose = false;
    EXPECT_TRUE(window->deletionLog().closeProgram());
    EXPECT_TRUE(logs().isEmpty());
    EXPECT_EQ(closings, 1);
}

TEST_F(DeletionLogTest, RefusedWhileScanning) {
    model().scan.running = true;
    EXPECT_FALSE(window->deletionLog().closeProgram());
    EXPECT_EQ(ui.texts(),
              QStringList{QStringLiteral("Trwa skanowanie dysku !  Musisz poczekać na zakończenie "
                                         "wyszukiwania !")});
    EXPECT_TRUE(logs().isEmpty());
    EXPECT_EQ(closings, 0);
}

TEST_F(DeletionLogTest, ErrorLogWhenTheLogDoesNotFitOnTheDisk) {
    deleteTwo();
    SmallDisk disk;
    disk.freeBytes = expectedErrorLog().size();
    ASSERT_GT(expectedLog().size(), disk.freeBytes);
    EXPECT_TRUE(logOn(disk).closeProgram());
    EXPECT_EQ(read(logPath()), expectedErrorLog());
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(DeletionLogTest, ClosesAnywayWhenNeitherLogCanBeWritten) {
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"log folder missing", [this] { QDir(folder).removeRecursively(); }},
        {"disk full", [this] { disk.bytesBeforeDiskFull = 100; }},
    };
    for (const auto& [name, fault] : cases) {
        SCOPED_TRACE(name);
        SetUp();
        deleteTwo();
        fault();
        EXPECT_TRUE(window->deletionLog().closeProgram());
        ASSERT_EQ(ui.errors.size(), 1);
        EXPECT_TRUE(ui.errors[0].contains(logPath()));
        EXPECT_EQ(closings, 1); // the statistics are saved all the same
        EXPECT_TRUE(logs().isEmpty());
    }
}

TEST_F(DeletionLogTest, ASecondCloseInTheSameSecondKeepsTheFirstLog) {
    records::DeletionLog log = logOn(disk);
    EXPECT_TRUE(log.closeProgram());
    const QByteArray first = expectedLog();
    deleteTwo();
    EXPECT_TRUE(log.closeProgram());
    EXPECT_EQ(read(logPath()), first);
    EXPECT_EQ(read(logPath(QStringLiteral(" (2)"))), expectedLog());
}

} // namespace

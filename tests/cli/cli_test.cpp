// Runs the built pylomir-cli against a temporary program folder and settings
// file, and checks it against the window's own model.
#include "app/main_window_core.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"
#include "support/cli_process.h"
#include "support/scripted_ui.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace pylomir;

namespace {

using Result = pylomir::testing::CliResult;
using pylomir::testing::readFile;
using pylomir::testing::writeFile;

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        tree = root + "/tree";
        home = root + "/home";
        QDir().mkpath(home + "/Filtry");
        QDir().mkpath(tree + "/sub/deep");
        writeFile(home + "/Filtry/filtr_a1.dat", "*.tmp\r\n*.log\r\n");
        writeFile(home + "/Filtry/filtr_a2.dat", "*.tmp\r\n*.log\r\n*.bak\r\n");
        writeFile(home + "/Filtry/filtr_user.dat", "*.bak\r\n");
        writeFile(home + "/Filtry/ignoraltyp.dat", "keep*\r\n");
        writeFile(home + "/Filtry/ignoralplik.dat", (tree + "/sub/old.log\r\n").toUtf8());
        writeFile(root + "/settings.ini",
                  QStringLiteral("[Skanowan]\nLiczba=5\nRozmiarIgnoral=1000\nLOGKatalog=%1/\n"
                                 "[Ustawienia]\nBezpieczny=1\nMniej_bezp=0\nTrybUsera=0\n"
                                 "Zaawansowany=0\nAutoAtrybut=0\n")
                      .arg(root)
                      .toUtf8());
        for (const char* name :
             {"a.tmp", "keep1.tmp", "c.txt", "d.bak", "sub/b.log", "sub/old.log", "sub/deep/e.TMP"})
            writeFile(tree + "/" + name, QByteArray(name));
        writeFile(tree + "/big.tmp", QByteArray(2000, 'x')); // above the threshold
    }

    Result cli(const QStringList& args) const {
        return pylomir::testing::CliProcess{home, root + "/settings.ini", root}(args);
    }

    // The window's model after its start button, on the same folder and store.
    QStringList windowScan(std::optional<core::FilterMode> mode) const {
        const auto store = platform::openSettingsStore(root + "/settings.ini");
        const platform::LocaleFormats locale;
        pylomir::testing::ScriptedUi ui;
        core::Services s;
        s.fileSystem = &platform::realFileSystem();
        s.settings = store.get();
        s.clock = &platform::systemClock();
        s.locale = &locale;
        s.ui = &ui;
        s.programDir = home + "/";
        app::MainWindowCore window(s);
        window.startUp();
        if (mode)
            window.filterSets().selectMode(*mode);
        window.scanRun().setScanRoot(tree);
        window.scanRun().startScan();
        return window.model().foundList.paths();
    }

    QString createArchive(const QStringList& extra = {}) const {
        const QString archive = root + "/a.backup";
        const Result r = cli(QStringList{"archive", "create", archive, tree + "/a.tmp",
                                         tree + "/sub/b.log", tree + "/*.txt"} +
                             extra);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return archive;
    }

    QTemporaryDir dir;
    QString root, tree, home;
};

QStringList lines(const QString& text) {
    return text.split('\n', Qt::SkipEmptyParts);
}

TEST_F(CliTest, ScanPrintsTheWindowsFoundListAndSummary) {
    const struct {
        const char* option;
        std::optional<core::FilterMode> mode;
    } cases[] = {{nullptr, std::nullopt}, {"mniej-bezpieczny", core::FilterMode::LessSafe}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option ? c.option : "stored mode");
        QStringList args{"scan", tree};
        if (c.option)
            args << "--mode" << c.option;
        const Result r = cli(args);
        EXPECT_EQ(r.code, 3) << r.err.toStdString();
        const QStringList expected = windowScan(c.mode);
        EXPECT_EQ(lines(r.out), expected);
        EXPECT_FALSE(expected.contains(tree + "/big.tmp")); // auto-ignored
        EXPECT_FALSE(expected.contains(tree + "/keep1.tmp"));
        EXPECT_EQ(expected.contains(tree + "/d.bak"), c.mode.has_value());
        EXPECT_TRUE(r.err.contains(QStringLiteral("Znalazłem: %1 plików\n").arg(expected.size())));
        EXPECT_TRUE(r.err.contains(QStringLiteral("Zignorowano: 1 plików\n"))); // old.log
        EXPECT_TRUE(r.err.contains(QStringLiteral("Podejrzanych: 1 plików\n")));
    }
    // The window's side effects: the auto-ignored file is kept, the date stored.
    EXPECT_TRUE(readFile(home + "/Filtry/ignoralplik.dat").contains("big.tmp"));
    EXPECT_TRUE(readFile(root + "/settings.ini").contains("Data="));
}

TEST_F(CliTest, ModeWithoutStoredModeStillLoadsItsFilters) {
    writeFile(root + "/settings.ini", "[Skanowan]\nLiczba=1\n");
    const Result r = cli({"scan", tree, "--mode", "bezpieczny"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(lines(r.out).contains(tree + "/a.tmp"));
}

TEST_F(CliTest, JsonAndCsvParseBack) {
    const QString odd = tree + "/we,ird \"q\".tmp";
    writeFile(odd, "12345");
    const QStringList paths = lines(cli({"scan", tree}).out);
    ASSERT_TRUE(paths.contains(odd));

    const Result json = cli({"scan", tree, "--format=json"});
    EXPECT_EQ(json.code, 3);
    const QJsonObject doc = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const QJsonArray found = doc["found"].toArray();
    ASSERT_EQ(found.size(), paths.size());
    for (qsizetype i = 0; i < found.size(); ++i) {
        const QJsonObject e = found[i].toObject();
        EXPECT_EQ(e["path"].toString(), paths[i]);
        EXPECT_EQ(e["size"].toInteger(), QFileInfo(paths[i]).size());
    }
    EXPECT_EQ(doc["summary"]["found"].toInteger(), paths.size());
    EXPECT_EQ(doc["summary"]["suspicious"].toInteger(), 1);
    EXPECT_TRUE(doc["summary"]["error"].isNull());

    const Result csv = cli({"scan", tree, "-f", "csv"});
    EXPECT_EQ(csv.code, 3);
    // RFC 4180: quoted fields double their quotes; records end with CR LF.
    QList<QStringList> records{{}};
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < csv.out.size(); ++i) {
        const QChar ch = csv.out[i];
        if (quoted && ch == '"' && i + 1 < csv.out.size() && csv.out[i + 1] == '"')
            field += '"', ++i;
        else if (ch == '"')
            quoted = !quoted;
        else if (!quoted && ch == ',')
            records.back() << field, field.clear();
        else if (!quoted && ch == '\r' && csv.out.mid(i, 2) == "\r\n")
            records.back() << field, field.clear(), records.append(QStringList()), ++i;
        else
            field += ch;
    }
    records.removeLast();
    ASSERT_EQ(records.size(), paths.size() + 1);
    EXPECT_EQ(records[0], QStringList({"path", "size"}));
    for (qsizetype i = 0; i < paths.size(); ++i)
        EXPECT_EQ(records[i + 1],
                  QStringList({paths[i], QString::number(QFileInfo(paths[i]).size())}));
}

TEST_F(CliTest, ExitStatusTellsTheOutcome) {
    QDir().mkpath(root + "/empty");
    const struct {
        QStringList args;
        int code;
        const char* err;
    } cases[] = {
        {{"scan", root + "/empty"}, 0, ""},
        {{"scan", tree}, 3, ""},
        {{"scan", root + "/missing"}, 1, "Błąd skanowania folderu"},
        {{}, 2, "Usage"},
        {{"scan"}, 2, "missing FOLDER"},
        {{"scan", tree, "--format", "xml"}, 2, "unknown format"},
        {{"scan", tree, "--mode", "turbo"}, 2, "unknown mode"},
        {{"scan", tree, "--bogus"}, 2, "bogus"},
        {{"frob"}, 2, "unknown command"},
        {{"archive", "restore", "x.backup", "--full-path"}, 2, "--full-path needs --to"},
        {{"archive", "create", "x.backup", "--max-size", "-5", "a"}, 2, "--max-size"},
        {{"archive", "info", root + "/none.backup"}, 1, "Nie można odczytać pliku kopii"},
        {{"archive", "create", "x.backup", tree + "/nope.txt"}, 1, "no such file"},
        {{"scan", "--help"}, 0, ""},
        {{"archive", "restore", "--help"}, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Result r = cli(c.args);
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(root + "/x.backup"));
}

// The scan rewrites the settings file (its date); a line the store cannot
// read is kept in a copy first, and the user is told once.
TEST_F(CliTest, ADamagedSettingsFileIsCopiedAsideAndToldOnce) {
    const QString settings = root + "/settings.ini";
    const QByteArray original = readFile(settings) + "mój wpis bez znaku równości\n";
    writeFile(settings, original);
    const QString notice = "the settings file had lines that cannot be read";
    for (const int run : {1, 2}) {
        SCOPED_TRACE(run);
        const Result r = cli({"scan", tree});
        EXPECT_EQ(r.code, 3) << r.err.toStdString();
        EXPECT_EQ(r.err.count(notice), run == 1 ? 1 : 0) << r.err.toStdString();
        EXPECT_EQ(readFile(settings + ".bad"), original);
        EXPECT_FALSE(readFile(settings).contains("mój wpis"));
        EXPECT_TRUE(readFile(settings).contains("\nData=")); // the scan date, written
    }
}

TEST_F(CliTest, CreateInfoRestoreRoundTrip) {
    const QString archive = createArchive({"--title", "Kopia testowa"});
    const Result info = cli({"archive", "info", archive});
    EXPECT_EQ(info.code, 0);
    const QStringList shown = lines(info.out);
    ASSERT_EQ(shown.size(), 5) << info.out.toStdString();
    EXPECT_EQ(shown[0], "Data utworzenia kopii zapasowej: Kopia testowa");
    EXPECT_EQ(shown[1], "Informacje o plikach w kopii zapasowej: 3 plików, 0 KB wszystkiego");
    EXPECT_TRUE(shown[2].startsWith(tree + "/a.tmp z ")) << shown[2].toStdString();
    EXPECT_TRUE(shown[2].endsWith(", 5 bajtów"));

    const Result r = cli({"archive", "restore", archive, "--to", "restored"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Odzyskano: 3 pliki (plików)  z: 3 dostępnych w kopii."));
    for (const auto& [restored, stored] :
         {std::pair{"a.tmp", "a.tmp"}, {"b.log", "sub/b.log"}, {"c.txt", "c.txt"}})
        EXPECT_EQ(readFile(root + "/restored/" + restored), readFile(tree + "/" + stored));
}

// The header keeps 32 bits of the total; the list's sizes give the rest.
TEST_F(CliTest, InfoShowsTheSizeBeyond32BitsFromTheList) {
    const auto i32 = [](qint64 v) {
        char b[4];
        qToLittleEndian(qint32(v), b);
        return QByteArray(b, 4);
    };
    const QByteArray list = "/a\t1=2147483647\r\n/b\t1=2147483647\r\n/c\t1=1048576\r\n";
    const qint64 whole = 2 * qint64(2147483647) + 1048576 + list.size();
    const QByteArray name = "FILE:LIST";
    writeFile(root + "/big.backup", i32(1) + "T" + i32(whole) + i32(3) + i32(name.size()) + name +
                                        i32(0) + "EC2" + '\0' + i32(-list.size()) + list + i32(0) +
                                        i32(0));
    const Result info = cli({"archive", "info", root + "/big.backup"});
    EXPECT_EQ(info.code, 0) << info.err.toStdString();
    const QStringList shown = lines(info.out);
    ASSERT_GE(shown.size(), 2) << info.out.toStdString();
    EXPECT_EQ(shown[1], "Informacje o plikach w kopii zapasowej: 3 plików, 4195328 KB wszystkiego");
}

TEST_F(CliTest, VolumesAreWrittenAndReadWithoutPrompts) {
    QByteArray data;
    for (int i = 0; i < 20000; ++i)
        data += QByteArray::number(i * 2654435761u); // hardly compressible
    writeFile(tree + "/big.bin", data);
    const QString archive = root + "/v.backup";
    const Result made =
        cli({"archive", "create", archive, tree + "/big.bin", "--max-size", "40000"});
    ASSERT_EQ(made.code, 0) << made.err.toStdString();
    ASSERT_GE(lines(made.out).size(), 3); // the volumes written
    EXPECT_FALSE(made.err.contains('%')); // progress goes to terminals only
    EXPECT_EQ(cli({"archive", "restore", archive, "--to", "out"}).code, 0);
    EXPECT_EQ(readFile(root + "/out/big.bin"), data);

    QFile::remove(lines(made.out).last());
    const Result r = cli({"archive", "restore", archive, "--to", "out2"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("is missing")) << r.err.toStdString();
}

TEST_F(CliTest, RestoreRulesForExistingFiles) {
    const QString archive = createArchive();
    const QDateTime past(QDate(2001, 1, 1), QTime(12, 0));
    const QDateTime future(QDate(2040, 1, 1), QTime(12, 0));
    const struct {
        const char* rule;
        int restored;
        const char* a; // older copy in the folder
        const char* b; // not in the folder
        const char* c; // newer copy in the folder
    } cases[] = {
        {"all", 3, "a.tmp", "sub/b.log", "c.txt"},
        {"no-overwrite", 1, "old", "sub/b.log", "newer"},
        {"newer", 2, "a.tmp", "sub/b.log", "newer"},
        {"existing", 2, "a.tmp", "<missing>", "c.txt"},
        {"existing-newer", 1, "a.tmp", "<missing>", "newer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        const QString to = root + "/to-" + c.rule;
        QDir().mkpath(to);
        writeFile(to + "/a.tmp", "old");
        writeFile(to + "/c.txt", "newer");
        for (const auto& [name, when] : {std::pair{"/a.tmp", past}, {"/c.txt", future}}) {
            QFile f(to + name);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            f.setFileTime(when, QFileDevice::FileModificationTime);
        }
        const Result r = cli({"archive", "restore", archive, "--to", to, "--rule", c.rule});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("Odzyskano: %1 pliki").arg(c.restored)));
        EXPECT_EQ(readFile(to + "/a.tmp"), c.a);
        EXPECT_EQ(readFile(to + "/b.log"), c.b);
        EXPECT_EQ(readFile(to + "/c.txt"), c.c);
    }
}

TEST_F(CliTest, DamagedArchiveGivesTheComponentsMessage) {
    // Breaks the first segment signature: the list's, or the first file's.
    const auto damaged = [](QByteArray bytes) {
        const qsizetype at = bytes.indexOf(QByteArray("EC2\0", 4));
        EXPECT_GT(at, 0);
        bytes[at] = 'X';
        return bytes;
    };
    const QByteArray withList = readFile(createArchive());
    const QByteArray plain = readFile(createArchive({"--no-file-list"}));
    const struct {
        const char* what;
        QByteArray bytes;
        QStringList args;
        const char* message;
    } cases[] = {
        {"cut header",
         withList.left(6),
         {"restore", "--to", "x"},
         "Nie można odczytać pliku kopii zapasowej !"},
        {"bad list",
         damaged(withList),
         {"info"},
         "To nie jest plik kopii zapasowej programu Pylomir !"},
        {"bad list",
         damaged(withList),
         {"restore", "--to", "x"},
         "To nie jest plik kopii zapasowej programu Pylomir !"},
        {"bad member",
         damaged(plain),
         {"restore", "--to", "x"},
         "Nie można odczytać danych z pliku kopii zapasowej !"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " / " + c.args.join(' ').toStdString());
        writeFile(root + "/bad.backup", c.bytes);
        QStringList args = c.args;
        args.insert(1, root + "/bad.backup");
        const Result r = cli(QStringList{"archive"} + args);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
}

} // namespace

#include "core/settings_names.h"
#include "core/shown_texts.h"
#include "records/statistics.h"
#include "support/window_fixture.h"

#include <QFile>

using namespace pylomir;
using namespace pylomir::testing;

namespace {

TEST(ReadSizeNumber, ReadsDigitsAndDivisions) {
    const std::pair<const char*, std::optional<qint64>> cases[] = {
        {"1008000", 1008000},
        {"4294967296", 4294967296LL}, // beyond 32 bits: no conversion error
        {"10/4", 2},                  // 2.5, to even
        {"14/4", 4},                  // 3.5, to even
        {"11/4", 3},
        {"", std::nullopt},
        {"12 KB", std::nullopt}, // a letter closes an empty run
        {"5/0", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(records::readSizeNumber(QString::fromLatin1(text)), expected) << text;
}

class StatisticsTest : public WindowFixture {
protected:
    records::Statistics& statistics() { return window->statistics(); }
    core::StatisticsState& st() { return model().statistics; }
    void deleteFiles(const std::vector<qint64>& sizes) {
        QStringList paths;
        for (size_t i = 0; i < sizes.size(); ++i) {
            paths << QStringLiteral("/r/f%1.tmp").arg(i);
            fs.add(paths.last(), sizes[i]);
        }
        model().foundList.assign(paths);
        model().options.backupBeforeQuickDelete = false;
        window->deletion().quickDelete();
    }
};

TEST_F(StatisticsTest, TotalSizeIsShownInKilobytesAndThousandKilobyteMegabytes) {
    const std::pair<const char*, const char*> cases[] = {
        {"1024000", "1000 KB,  1 MB"},
        {"2047999", "1999 KB,  1 MB"},
        {"1023", "0 KB,  0 MB"},
        {"3221225472", "3145728 KB,  3145 MB"},
    };
    for (const auto& [bytes, shown] : cases) {
        st().totalDeletedBytesInput = QString::fromLatin1(bytes);
        statistics().showTotalDeletedSize();
        EXPECT_EQ(st().totalDeletedSizeText, shown) << bytes;
    }
}

// A stored total of 1000000 bytes, and a first session (no Usunieto key)
// deleting 5000 and 3000 bytes.
TEST_F(StatisticsTest, FirstSessionSumsAndCountsItsDeletions) {
    store("Skanowan", "Liczba", "007");
    store("Skanowan", "Skasowano", "1000000");
    window = start();
    EXPECT_EQ(core::scanCountText(st()), "7");
    EXPECT_EQ(st().totalDeletedSizes, QList<qint64>({1000000}));
    EXPECT_EQ(st().totalDeletedBytesInput, "1000000");

    deleteFiles({5000, 3000});
    EXPECT_EQ(st().totalDeletedBytesText, "1008000");
    EXPECT_EQ(st().totalDeletedSizeText, "984 KB,  0 MB");
    EXPECT_EQ(core::sessionDeletedSizeText(st()), "7 KB");
    EXPECT_EQ(core::sessionDeletedFilesText(model().records), "2 plików");
    EXPECT_EQ(st().totalDeletedFilesText, "2");
    EXPECT_EQ(settings.readString(QStringLiteral("Usunieto"), QStringLiteral("ListBox")), "2");

    // A 3 GiB file raises the total like any other.
    deleteFiles({3221225472LL});
    EXPECT_EQ(st().totalDeletedBytesText, "3222233472");
    EXPECT_EQ(st().totalDeletedSizeText, "3146712 KB,  3146 MB");
    EXPECT_EQ(st().totalDeletedFilesText, "3");
}

TEST_F(StatisticsTest, SavedAtExitAndReadAtTheNextStart) {
    deleteFiles({2048});
    st().scanCount = 4;
    st().lastScanText = QStringLiteral("5.12.2026,14:05:33");
    ASSERT_TRUE(statistics().saveStatistics());
    auto value = [this](const char* key, const char* name) {
        return settings.readString(QString::fromLatin1(key), QString::fromLatin1(name));
    };
    EXPECT_EQ(value("Skanowan", "Liczba"), "4");
    EXPECT_EQ(value("Skanowan", "Skasowano"), "2048");
    EXPECT_EQ(value("Skanowan", "SkasowanoMB"), "2 KB,  0 MB");
    EXPECT_EQ(value("Skanowan", "E-mail"), records::kContactMail);
    EXPECT_EQ(value("Usunieto", "ListBox"), "1");

    window = start();
    EXPECT_EQ(st().scanCount, 4);
    EXPECT_EQ(st().totalDeletedBytesText, "2048");
    EXPECT_EQ(st().totalDeletedFilesText, "1");
    EXPECT_EQ(st().lastScanText, "5.12.2026,14:05:33");
}

class ResetTest : public StatisticsTest {
protected:
    QString previousFolder = QDir::currentPath();
    void SetUp() override {
        StatisticsTest::SetUp();
        QDir::setCurrent(home.path());
    }
    void TearDown() override { QDir::setCurrent(previousFolder); }
    QString undoPath() const {
        return home.path() + QStringLiteral("/Cofnij_zmiany_05-12-2026 14-05-33_.reg");
    }
};

// The undo file puts back the values shown before the reset, escaped as
// REGEDIT4 wants them; then everything reads 0.
TEST_F(ResetTest, WritesTheUndoFileThenZeros) {
    st().scanCount = 12;
    st().totalDeletedBytesText = QStringLiteral("1008000");
    st().lastScanText = QStringLiteral("C:\\x \"y\"");
    st().totalDeletedSizeText = QStringLiteral("984 KB,  0 MB");
    st().totalDeletedFilesText = QStringLiteral("2");
    model().records.deletedCount = 2;
    statistics().resetStatistics();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, "Ostrzeżenie");
    EXPECT_EQ(ui.boxes[0].buttons, core::MsgButtons::YesNo);

    QFile file(undoPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray values = "\"Liczba\"=\"12\"\r\n"
                              "\"Skasowano\"=\"1008000\"\r\n"
                              "\"Data\"=\"C:\\\\x \\\"y\\\"\"\r\n"
                              "\"SkasowanoMB\"=\"984 KB,  0 MB\"\r\n";
    const QByteArray expected = "REGEDIT4\r\n\r\n"
                                "[HKEY_CURRENT_USER\\SOFTWARE\\Tessaly\\Pylomir]\r\n\r\n"
                                "[HKEY_CURRENT_USER\\SOFTWARE\\Tessaly\\Pylomir\\Skanowan]\r\n" +
                                values +
                                "\r\n"
                                "[HKEY_CURRENT_USER\\SOFTWARE\\Tessaly\\Pylomir\\Usunieto]\r\n"
                                "\"Listbox\"=\"2\"\r\n\r\n"
                                "[HKEY_USERS\\.DEFAULT\\SOFTWARE\\Tessaly\\Pylomir]\r\n\r\n"
                                "[HKEY_USERS\\.DEFAULT\\SOFTWARE\\Tessaly\\Pylomir\\Skanowan]\r\n" +
                                values +
                                "\r\n"
                                "[HKEY_USERS\\.DEFAULT\\SOFTWARE\\Tessaly\\Pylomir\\Usunieto]\r\n"
                                "\"Listbox\"=\"2\"\r\n\r\n";
    EXPECT_EQ(file.readAll(), expected);

    for (const QString* text :
         {&st().totalDeletedBytesText, &st().lastScanText, &st().totalDeletedSizeText,
          &st().totalDeletedFilesText, &st().totalDeletedBytesInput})
        EXPECT_EQ(*text, "0");
    EXPECT_EQ(st().scanCount, 0);
    EXPECT_EQ(settings.readString(QStringLiteral("Skanowan"), QStringLiteral("Skasowano")), "0");
    EXPECT_EQ(settings.readString(QStringLiteral("Usunieto"), QStringLiteral("ListBox")), "0");

    // Counting starts over; the session's own count goes on.
    deleteFiles({2048});
    EXPECT_EQ(st().totalDeletedBytesText, "2048");
    EXPECT_EQ(st().totalDeletedSizeText, "2 KB,  0 MB");
    EXPECT_EQ(core::sessionDeletedFilesText(model().records), "3 plików");
}

TEST_F(ResetTest, NoOrAnUnwritableUndoFileChangesNothing) {
    st().totalDeletedBytesText = QStringLiteral("500");
    ui.answers = {core::MsgAnswer::No};
    statistics().resetStatistics();
    EXPECT_FALSE(QFile::exists(undoPath()));

    disk.denied.insert(undoPath());
    statistics().resetStatistics();
    EXPECT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].contains(QStringLiteral("Cofnij_zmiany_")));
    EXPECT_EQ(st().totalDeletedBytesText, "500");

    // A store that refuses: the values are reset all the same, and the
    // user is told.
    disk.denied.clear();
    settings.failWrites = true;
    statistics().resetStatistics();
    EXPECT_EQ(st().totalDeletedBytesText, "0");
    EXPECT_EQ(ui.errors.last(), core::kRegistryErrorText);
}

} // namespace

#include "records/found_list_files.h"

#include "core/shown_texts.h"
#include "support/window_fixture.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pylomir;
using records::FoundListFiles;

namespace {

class FoundListFilesTest : public pylomir::testing::WindowFixture {
protected:
    FoundListFiles& files() { return window->foundListFiles(); }
    QString at(const QString& name) const { return home.path() + QLatin1Char('/') + name; }
    QByteArray bytesOf(const QString& name) {
        QFile f(at(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(name);
        return f.readAll();
    }
    void put(const QString& name, const QByteArray& bytes) {
        QFile f(at(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void list(const QStringList& paths) { model().foundList.assign(paths); }
    QString statusText() const { return window->model().status.statusText; }
};

TEST(FoundListFileName, PffIsAppendedOnlyWhenTheNameLacksIt) {
    const struct {
        const char* chosen;
        const char* saved;
    } cases[] = {
        {"/d/lista", "/d/lista.pff"},         {"/d/lista.pff", "/d/lista.pff"},
        {"/d/lista.PFF", "/d/lista.PFF"},     {"/d/lista.Pff", "/d/lista.Pff"},
        {"/d/lista.txt", "/d/lista.txt.pff"}, {"/d/lista.pff.txt", "/d/lista.pff.txt.pff"},
        {"/d/listapff", "/d/listapff.pff"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(records::foundListFileName(QString::fromLatin1(c.chosen)),
                  QString::fromLatin1(c.saved))
            << c.chosen;
}

TEST_F(FoundListFilesTest, SavesEveryEntryAsWindows1250LinesUnderTheNameWithPff) {
    list({QStringLiteral("/r/zażółć.tmp"), QStringLiteral("/r/b.bak")});
    model().foundList.setChecked(0, true);
    ui.fileAnswers = {at(QStringLiteral("lista")), at(QStringLiteral("inna.PFF"))};

    EXPECT_EQ(files().saveFoundList(), FoundListFiles::Outcome::Done);
    EXPECT_EQ(files().saveFoundList(), FoundListFiles::Outcome::Done);

    const QByteArray expected("/r/za\xbf\xf3\xb3\xe6.tmp\r\n/r/b.bak\r\n");
    EXPECT_EQ(bytesOf(QStringLiteral("lista.pff")), expected);
    EXPECT_EQ(bytesOf(QStringLiteral("inna.PFF")), expected);
    EXPECT_FALSE(QFile::exists(at(QStringLiteral("inna.PFF.pff"))));
    ASSERT_EQ(ui.fileDialogs.size(), 2u);
    EXPECT_EQ(ui.fileDialogs[0].title, QStringLiteral("Zapisz listę"));
    EXPECT_EQ(ui.fileDialogs[0].filter, QStringLiteral("Pylomir Find Files - *.PFF|*.pff"));
}

TEST_F(FoundListFilesTest, AnEmptyListSavesAnEmptyFileAndLoadsBackAsNoEntries) {
    ui.fileAnswers = {at(QStringLiteral("pusta"))};
    files().saveFoundList();
    EXPECT_EQ(bytesOf(QStringLiteral("pusta.pff")), QByteArray());

    list({QStringLiteral("/r/a.tmp")});
    ui.fileAnswers = {at(QStringLiteral("pusta.pff"))};
    EXPECT_EQ(files().loadFoundList(), FoundListFiles::Outcome::Done);

    EXPECT_TRUE(model().foundList.isEmpty());
    EXPECT_EQ(core::foundCaptionText(model().scan.foundCaption), QStringLiteral("Wczytanych: "));
    EXPECT_EQ(core::foundCountText(model().scan), QStringLiteral("0 plików"));
    EXPECT_TRUE(ui.boxes.empty()) << "no line was dropped";
}

TEST_F(FoundListFilesTest, LoadsAFileOfAnotherToolLineByLineWhateverItsLineEnds) {
    put(QStringLiteral("obca.pff"), "/r/a.tmp\n/r/b.tmp\r/r/c.tmp\r\n/r/d.tmp");
    list({QStringLiteral("/r/stary.tmp")});
    model().foundList.setChecked(0, true);
    ui.fileAnswers = {at(QStringLiteral("obca.pff"))};

    files().loadFoundList();

    const core::FoundList& found = model().foundList;
    EXPECT_EQ(found.paths(), QStringList({"/r/a.tmp", "/r/b.tmp", "/r/c.tmp", "/r/d.tmp"}));
    for (qsizetype i = 0; i < found.count(); ++i)
        EXPECT_FALSE(found.isChecked(i) || found.isSelected(i)) << i;
    EXPECT_EQ(core::foundCountText(model().scan), QStringLiteral("4 plików"));
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].title, QStringLiteral("Wczytaj listę wyszukanych plików"));
    EXPECT_EQ(ui.fileDialogs[0].filter, QStringLiteral("Pylomir Find Files - *.PFF|*.pff"));
}

TEST_F(FoundListFilesTest, LoadKeepsOnlyFullLiteralPathsAndSaysHowManyLinesWereDropped) {
    put(QStringLiteral("obca.pff"), "/r/a.tmp\r\n"
                                    "\r\n"
                                    "r/wzgledna.tmp\r\n"
                                    "wzgledna.tmp\r\n"
                                    "/r/*.tmp\r\n"
                                    "/r/?.tmp\r\n"
                                    "/r/../etc/passwd\r\n"
                                    "/r/..\r\n"
                                    "/r/nazwa..z.kropkami.tmp\r\n"
                                    "/r/[ab].tmp\r\n");
    ui.fileAnswers = {at(QStringLiteral("obca.pff"))};

    files().loadFoundList();

    EXPECT_EQ(model().foundList.paths(),
              QStringList({"/r/a.tmp", "/r/nazwa..z.kropkami.tmp", "/r/[ab].tmp"}));
    EXPECT_EQ(model().scan.foundCount, 3);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, records::droppedLinesMessage(at(QStringLiteral("obca.pff")), 7));
    EXPECT_TRUE(ui.boxes[0].text.contains(QStringLiteral(": 7.")));
}

TEST_F(FoundListFilesTest, MenuCommandsSayWhatHappenedAndClaimNoSuccessAfterACancel) {
    list({QStringLiteral("/r/a.tmp")});
    const auto alertShown = [this] { return model().alert.shownAlert.has_value(); };

    // Cancelled: nothing written, no success, the list kept, the caption
    // turned to the loaded count all the same.
    model().alert.shownAlert = core::AlertLevel::High;
    files().saveFoundListFromMenu();
    EXPECT_EQ(statusText(), QStringLiteral("Anulowano zapisywanie listy plików"));
    EXPECT_FALSE(alertShown());
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList());
    EXPECT_TRUE(ui.errors.isEmpty());
    files().loadFoundListFromMenu();
    EXPECT_EQ(statusText(), QStringLiteral("Anulowano wczytywanie listy plików"));
    EXPECT_EQ(model().foundList.paths(), QStringList({"/r/a.tmp"}));
    EXPECT_EQ(model().scan.foundCaption, core::FoundCaption::Loaded);
    EXPECT_EQ(model().scan.foundCount, 1);

    model().alert.shownAlert = core::AlertLevel::High;
    ui.fileAnswers = {at(QStringLiteral("lista"))};
    files().saveFoundListFromMenu();
    EXPECT_EQ(statusText(), QStringLiteral("Zapisano listę plików"));
    EXPECT_FALSE(alertShown());

    model().alert.shownAlert = core::AlertLevel::Medium;
    list({});
    ui.fileAnswers = {at(QStringLiteral("lista.pff"))};
    files().loadFoundListFromMenu();
    EXPECT_EQ(statusText(), QStringLiteral("Wczytano listę plików"));
    EXPECT_FALSE(alertShown());
    EXPECT_EQ(model().foundList.paths(), QStringList({"/r/a.tmp"}));
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(FoundListFilesTest, AWriteFailureIsReportedAndLeavesTheOldFileAsItWas) {
    put(QStringLiteral("lista.pff"), "/r/stary.tmp\r\n");
    list({QStringLiteral("/r/a-long-enough-path-to-fill-the-disk.tmp")});
    disk.bytesBeforeDiskFull = 4;
    model().alert.shownAlert = core::AlertLevel::High;
    window->statusLine().show(QStringLiteral("Zapisano listę plików")); // an earlier success
    ui.fileAnswers = {at(QStringLiteral("lista"))};

    files().saveFoundListFromMenu();

    EXPECT_EQ(bytesOf(QStringLiteral("lista.pff")), QByteArray("/r/stary.tmp\r\n"));
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].contains(at(QStringLiteral("lista.pff"))));
    EXPECT_TRUE(ui.errors[0].contains(QStringLiteral("No space left on device")));
    EXPECT_EQ(statusText(), QStringLiteral("Nie zapisano listy plików"));
    EXPECT_TRUE(model().alert.shownAlert.has_value());
}

TEST_F(FoundListFilesTest, AReadFailureKeepsTheListAndItsCaption) {
    put(QStringLiteral("lista.pff"), "/r/nowy.tmp\r\n");
    disk.denied.insert(at(QStringLiteral("lista.pff")));
    list({QStringLiteral("/r/a.tmp")});
    model().scan.foundCount = 1;
    ui.fileAnswers = {at(QStringLiteral("lista.pff"))};

    files().loadFoundListFromMenu();

    EXPECT_EQ(model().foundList.paths(), QStringList({"/r/a.tmp"}));
    EXPECT_EQ(model().scan.foundCaption, core::FoundCaption::Found);
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].contains(QStringLiteral("Permission denied")));
    EXPECT_EQ(statusText(), QStringLiteral("Nie wczytano listy plików"));
}

} // namespace

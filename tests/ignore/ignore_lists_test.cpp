#include "ignore/ignore_lists.h"

#include "platform/file_system.h"
#include "platform/text_file.h"
#include "support/faulty_file_system.h"
#include "support/qt_printers.h"
#include "support/scripted_ui.h"
#include "support/window_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pylomir;

namespace {

// Letter case counts in paths here (POSIX file systems tell A.tmp from a.tmp).
// A path listed twice must not keep a copy to be deleted later.
TEST(SubtractSamePaths, EveryFoundCopyOfAnIgnoredPathGoes) {
    struct Case {
        QStringList source, removal, kept;
    } cases[] = {
        {{"a", "b", "c"}, {"b"}, {"a", "c"}},
        {{"a", "B", "c"}, {"b"}, {"a", "B", "c"}},
        {{"x", "a", "x"}, {"x"}, {"a"}},
        {{"x", "a", "X", "x"}, {"x", "x"}, {"a", "X"}},
        {{"A.tmp", "a.tmp", "B.TMP"}, {"A.tmp"}, {"a.tmp", "B.TMP"}},
        {{"a"}, {"z", "a", "A"}, {}},
        {{"Ł/ą"}, {"ł/Ą"}, {"Ł/ą"}},
        {{"a", ""}, {""}, {"a"}},
        {{}, {"a"}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ignore::subtractSamePaths(c.source, c.removal), c.kept)
            << c.source.join(',').toStdString();
}

class IgnoreListsTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    core::IgnoreListsState state;
    pylomir::testing::ScriptedUi ui;
    pylomir::testing::FaultyFileSystem fs;
    std::unique_ptr<ignore::IgnoreLists> lists;

    void SetUp() override {
        QDir(home.path()).mkdir(QStringLiteral("Filtry"));
        core::Services services;
        services.fileSystem = &fs;
        services.ui = &ui;
        services.programDir = home.path() + QLatin1Char('/');
        lists = std::make_unique<ignore::IgnoreLists>(state, services);
    }
};

TEST_F(IgnoreListsTest, ComparisonKeepsOrderUnchecksAndCounts) {
    core::FoundList found;
    for (const char* p : {"/d/a.tmp", "/d/B.tmp", "/d/c.tmp", "/d/b.TMP"})
        found.append(QString::fromLatin1(p));
    found.setChecked(0, true);
    state.ignoredFiles.assign({QStringLiteral("/d/b.TMP"), QStringLiteral("/D/a.tmp")});
    const ignore::IgnoreComparison result = lists->removeIgnoredFromFoundList(found);
    EXPECT_EQ(found.paths(), QStringList({"/d/a.tmp", "/d/B.tmp", "/d/c.tmp"}));
    EXPECT_FALSE(found.isChecked(0));
    EXPECT_EQ(result.kept, 3);
    EXPECT_EQ(result.removed, 1);
    EXPECT_EQ(state.ignoredFiles.count(), 2); // the ignore list itself is untouched
}

TEST_F(IgnoreListsTest, StartUpReadsExistingFilesAndCreatesMissingOnes) {
    QFile f(lists->ignoredFilesPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("/a\r\n\r\n/b");
    f.close();
    lists->loadAtStartup();
    EXPECT_EQ(state.ignoredFiles.paths(), QStringList({"/a", "", "/b"}));
    EXPECT_EQ(state.ignoredFilesCount, 3);
    EXPECT_EQ(state.ignoredMasksCount, 0);
    QFile masks(lists->ignoredMasksPath());
    ASSERT_TRUE(masks.exists());
    EXPECT_EQ(masks.size(), 0);
}

TEST_F(IgnoreListsTest, AFailedWriteIsReportedAndKeepsTheOldFile) {
    state.ignoredFiles.assign({QStringLiteral("/stary")});
    ASSERT_TRUE(lists->writeIgnoredFiles());
    state.ignoredFiles.append(QStringLiteral("/nowy/plik/o/dlugiej/nazwie.tmp"));
    fs.bytesBeforeDiskFull = 12; // the disk fills up half way through the new list
    EXPECT_FALSE(lists->writeIgnoredFiles());
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_EQ(ui.errors[0], QStringLiteral("Cannot create file \"%1\". No space left on device")
                                .arg(lists->ignoredFilesPath()));
    QFile old(lists->ignoredFilesPath());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("/stary\r\n"));
    EXPECT_EQ(QDir(home.path() + QStringLiteral("/Filtry")).entryList(QDir::Files),
              QStringList({"ignoralplik.dat"})); // no temporary file left behind
}

TEST_F(IgnoreListsTest, AListThatCannotBeReadAtStartIsReportedAndLeftEmpty) {
    QFile f(lists->ignoredMasksPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("*.tmp\r\n");
    f.close();
    fs.denied.insert(lists->ignoredMasksPath());
    lists->loadAtStartup();
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].startsWith(QStringLiteral("Cannot open file \"")));
    EXPECT_TRUE(state.ignoredMasks.isEmpty());
}

class IgnoreListsOnDiskTest : public pylomir::testing::WindowFixture {};

// A list whose file could not be read holds none of the file's entries, so
// writing it back (after every scan, and after each ignore command) would
// wipe them: the file is left alone, and the user is told so once.
TEST_F(IgnoreListsOnDiskTest, AListThatCouldNotBeReadIsNeverWrittenOverItsFile) {
    for (const QString& name :
         {QStringLiteral("ignoralplik.dat"), QStringLiteral("ignoraltyp.dat")}) {
        SCOPED_TRACE(name.toStdString());
        SetUp();
        const QString path = filtersPath(name);
        writeList(name, {"/moje/wpisy.tmp", "ważny*.log"});
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        disk.unreadable.insert(path);
        ui = pylomir::testing::ScriptedUi();
        window = start();
        ASSERT_EQ(ui.errors.size(), 1);
        EXPECT_TRUE(ui.errors[0].startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(path)));

        ui = pylomir::testing::ScriptedUi();
        model().filters.filters = {QStringLiteral("*.tmp")};
        run().setScanRoot(QStringLiteral("/r"));
        fs.add(QStringLiteral("/r/duzy.tmp"), 900000); // auto-ignored: the list changes
        scan();
        scan();
        window->ignoreLists().writeIgnoredMasks();
        EXPECT_TRUE(model().ignore.ignoredFiles.contains(QStringLiteral("/r/duzy.tmp")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before);
        EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('\n').toStdString();
        EXPECT_EQ(ui.texts().filter(path), QStringList{platform::unreadListNotSavedMessage(path)});
    }
}

} // namespace

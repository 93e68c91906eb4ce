#include "ignore/ignore_lists.h"

#include "platform/file_system.h"
#include "platform/text_file.h"
#include "support/qt_printers.h"
#include "support/scripted_ui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pylomir;

namespace {

TEST(PorownajListyTest, EachIgnoredEntryTakesAwayAtMostOneEqualEntry) {
    struct Case {
        QStringList source, removal, kept;
    } cases[] = {
        {{"a", "B", "c"}, {"b"}, {"a", "c"}},
        {{"x", "a", "x"}, {"X"}, {"a", "x"}},
        {{"x", "a", "x"}, {"x", "X"}, {"a"}},
        {{"a"}, {"z", "a", "A"}, {}},
        {{"Ł/ą"}, {"ł/Ą"}, {}},
        {{"a", ""}, {""}, {"a"}},
        {{}, {"a"}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ignore::PorownajListy(c.source, c.removal), c.kept)
            << c.source.join(',').toStdString();
}

class IgnoreListsTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    scan::SearchFormModel model;
    pylomir::testing::ScriptedUi ui;
    std::unique_ptr<ignore::IgnoreLists> lists;

    void SetUp() override {
        QDir(home.path()).mkdir(QStringLiteral("Filtry"));
        core::Services services;
        services.fileSystem = &platform::realFileSystem();
        services.ui = &ui;
        services.programDir = home.path() + QLatin1Char('/');
        lists = std::make_unique<ignore::IgnoreLists>(model, services);
    }
};

TEST_F(IgnoreListsTest, ComparisonKeepsOrderUnchecksAndCounts) {
    for (const char* p : {"/d/a.tmp", "/d/B.tmp", "/d/c.tmp", "/d/b.TMP"})
        model.foundList.append(QString::fromLatin1(p));
    model.foundList.setChecked(0, true);
    model.ListaIgnorowania = {QStringLiteral("/D/b.tmp"), QStringLiteral("/d/zzz")};
    lists->Button15Click();
    EXPECT_EQ(model.foundList.paths(), QStringList({"/d/a.tmp", "/d/c.tmp", "/d/b.TMP"}));
    EXPECT_FALSE(model.foundList.isChecked(0));
    EXPECT_EQ(model.Label48, QStringLiteral("1 plików"));
    EXPECT_EQ(model.Label50, QStringLiteral("3 plików"));
    EXPECT_EQ(model.Label12, QStringLiteral("Przeszukiwanie gotowe !"));
    EXPECT_EQ(model.StatusBar1Panel, QStringLiteral("Gotowe !"));
    EXPECT_TRUE(model.ListaPorownana.isEmpty());
    EXPECT_EQ(model.ListaIgnorowania.size(), 2); // the ignore list itself is untouched
}

TEST_F(IgnoreListsTest, StartUpReadsExistingFilesAndCreatesMissingOnes) {
    QFile f(lists->ignoredFilesPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("/a\r\n\r\n/b");
    f.close();
    lists->loadAtStartup();
    EXPECT_EQ(model.ListaIgnorowania, QStringList({"/a", "", "/b"}));
    EXPECT_EQ(model.Label_Ignorowan, QStringLiteral("3"));
    EXPECT_EQ(model.Label_IgnorowanTypy, QStringLiteral("0"));
    QFile types(lists->ignoredTypesPath());
    ASSERT_TRUE(types.exists());
    EXPECT_EQ(types.size(), 0);
}

TEST_F(IgnoreListsTest, AWriteThatFailsIsReported) {
    QDir(home.path()).rmdir(QStringLiteral("Filtry"));
    QFile blocker(home.path() + QStringLiteral("/Filtry"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    EXPECT_FALSE(lists->writeIgnoredFiles());
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].startsWith(QStringLiteral("Cannot create file \"")));
}

} // namespace

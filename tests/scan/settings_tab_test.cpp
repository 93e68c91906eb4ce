#include "scan_fixture.h"

#include "platform/file_system.h"
#include "platform/text_file.h"

using namespace pylomir;
using namespace pylomir::testing;

namespace {

class SettingsTabTest : public ScanFixture {
protected:
    void SetUp() override {
        ScanFixture::SetUp();
        for (const char* f : {"filtr_a1.dat", "filtr_a2.dat", "filtr_a3.dat", "filtr_user.dat"})
            ASSERT_TRUE(platform::writeListFile(platform::realFileSystem(),
                                                home.path() + QStringLiteral("/Filtry/") +
                                                    QString::fromLatin1(f),
                                                {QString::fromLatin1(f)}));
        model().ListBoxFiltry.clear();
    }
    void store(const char* key, const char* name, const char* value) {
        settings.createKey(QString::fromLatin1(key));
        settings.writeString(QString::fromLatin1(key), QString::fromLatin1(name),
                             QString::fromUtf8(value));
    }
    scan::SettingsTab& tab() { return form->settingsTab(); }
};

TEST_F(SettingsTabTest, StoredModeSelectionRules) {
    struct Case {
        const char* values[4]; // Mniej_bezp, TrybUsera, Zaawansowany, Bezpieczny; null = missing
        QStringList filters;
        bool radios[4]; // RadioButton4, 1, 3, 2
        int warnings;
        const char* interval;
    } cases[] = {
        {{"1", nullptr, nullptr, nullptr},
         {"filtr_a2.dat"},
         {false, true, false, false},
         0,
         "1000"},
        {{nullptr, nullptr, nullptr, "1"}, {"filtr_a1.dat"}, {true, false, false, false}, 0, "0"},
        {{"0", "0", "0", "0"}, {}, {false, false, false, false}, 0, "0"},
        {{"tak", nullptr, "x", nullptr}, {}, {true, false, false, false}, 0, "0"},
        {{"0", "0", "1", "0"}, {"filtr_a3.dat"}, {false, false, true, false}, 1, "1000"},
    };
    const char* names[4] = {"Mniej_bezp", "TrybUsera", "Zaawansowany", "Bezpieczny"};
    for (const Case& c : cases) {
        SetUp();
        store("Skanowan", "Liczba", "3");
        for (int i = 0; i < 4; ++i) {
            settings.createKey(QStringLiteral("Ustawienia"));
            if (c.values[i])
                store("Ustawienia", names[i], c.values[i]);
        }
        tab().readRegistryBlock();
        SCOPED_TRACE(c.filters.join(',').toStdString());
        EXPECT_EQ(model().ListBoxFiltry, c.filters);
        EXPECT_EQ(model().RadioButton4, c.radios[0]);
        EXPECT_EQ(model().RadioButton1, c.radios[1]);
        EXPECT_EQ(model().RadioButton3, c.radios[2]);
        EXPECT_EQ(model().RadioButton2, c.radios[3]);
        EXPECT_EQ(int(ui.boxes.size()), c.warnings);
        EXPECT_EQ(model().LabelProgres, QString::fromLatin1(c.interval));
    }
}

TEST_F(SettingsTabTest, BlockStopsAtAMissingOrNonNumericCount) {
    for (const char* liczba : {static_cast<const char*>(nullptr), "dużo"}) {
        SetUp();
        settings.createKey(QStringLiteral("Skanowan"));
        if (liczba)
            store("Skanowan", "Liczba", liczba);
        store("Skanowan", "RozmiarIgnoral", "123");
        store("Usunieto", "Listbox", "9");
        store("Ustawienia", "Podfoldery", "0");
        store("Ustawienia", "Bezpieczny", "1");
        tab().readRegistryBlock();
        EXPECT_EQ(model().EditRozmiarIgnorowania, QStringLiteral("670000"));
        EXPECT_EQ(model().Label15, QStringLiteral("0"));
        EXPECT_TRUE(model().cbRecursive);
        EXPECT_TRUE(model().ListBoxFiltry.isEmpty());
    }
}

TEST_F(SettingsTabTest, BlockReadsValuesAndRunsClickHandlers) {
    store("Skanowan", "Liczba", " 12");
    store("Skanowan", "Data", "05.12.2026 14:05:33");
    store("Skanowan", "BAKKatalog", "/kopie/");
    store("Usunieto", "ListBox", "77"); // value names ignore letter case
    store("Ustawienia", "Podpowiedzi", "0");
    store("Ustawienia", "Ignorowanie", "0");
    store("Ustawienia", "AutoHTML", "1");
    store("Ustawienia", "Ukryty", "yes");
    tab().readRegistryBlock();
    EXPECT_EQ(model().Label16, QStringLiteral("12"));
    EXPECT_EQ(model().Label22, QStringLiteral("05.12.2026 14:05:33"));
    EXPECT_EQ(model().LabelBAK_Katalog, QStringLiteral("/kopie/"));
    EXPECT_EQ(model().LabelLOG_Katalog, QString()); // missing value: empty text
    EXPECT_EQ(model().EditRozmiarIgnorowania, QStringLiteral("670000")); // kept when missing
    EXPECT_EQ(model().Label15, QStringLiteral("77"));
    EXPECT_FALSE(model().hintsShown);
    form->scanRun().DhCheckFolder1ChangeFolder(QStringLiteral("/x"));
    EXPECT_FALSE(model().DhCheckFolder1ShowHint); // a folder change keeps hints off
    EXPECT_FALSE(model().EditRozmiarIgnorowaniaEnabled);
    EXPECT_TRUE(model().CheckBox102);
    EXPECT_TRUE(model().CheckBox145);
}

TEST_F(SettingsTabTest, LogFolderCheck) {
    const QString root = platform::driveRoot();
    const QString bare = root.left(root.size() - 1);
    struct Case {
        QString field, after;
        bool message;
    } cases[] = {
        {root + platform::separator(), bare, true},
        {root, bare, true},
        {QString(), bare, true},
        {root + QStringLiteral("logi/"), root + QStringLiteral("logi/"), false},
    };
    for (const Case& c : cases) {
        SetUp();
        model().Edit5 = c.field;
        tab().checkLogFolder();
        EXPECT_EQ(model().Edit5, c.after);
        EXPECT_EQ(ui.boxes.size(), c.message ? 1u : 0u);
    }
}

TEST_F(SettingsTabTest, FolderChooserAppendsTheSeparator) {
    ui.folderAnswers = {QStringLiteral("/dane/kopie"), std::nullopt, QStringLiteral("/")};
    tab().Button18Click();
    EXPECT_EQ(model().Edit4, QStringLiteral("/dane/kopie/"));
    tab().Button18Click(); // cancelled
    EXPECT_EQ(model().Edit4, QStringLiteral("/dane/kopie/"));
    tab().Button19Click();
    EXPECT_EQ(model().Edit5, QStringLiteral("//"));
}

TEST_F(SettingsTabTest, SavedOptionsRoundTripThroughTheStore) {
    model().CheckBox100 = false;
    model().cbRecursive = false;
    model().CheckBox149 = false;
    model().Edit4 = QStringLiteral("/kopie/");
    model().Edit5 = QStringLiteral("/logi/");
    model().EditRozmiarIgnorowania = QStringLiteral("1000");
    tab().Button8Click();
    EXPECT_EQ(ui.texts().last(),
              QStringLiteral("Zapisano nowe ustawienia programu\nZmiany będą "
                             "wykonywane od następnego uruchomienia Pylomira !"));
    store("Skanowan", "Liczba", "0");

    // A second window over the same store reads back what was saved.
    core::Services s = form->services();
    scan::SearchForm again(s);
    again.settingsTab().readRegistryBlock();
    const scan::SearchFormModel& m = again.model();
    EXPECT_FALSE(m.CheckBox100);
    EXPECT_FALSE(m.cbRecursive);
    EXPECT_FALSE(m.CheckBox149);
    EXPECT_TRUE(m.CheckBox99);
    EXPECT_TRUE(m.CheckBox141);
    EXPECT_EQ(m.LabelBAK_Katalog, QStringLiteral("/kopie/"));
    EXPECT_EQ(m.LabelLOG_Katalog, QStringLiteral("/logi/"));
    EXPECT_EQ(m.EditRozmiarIgnorowania, QStringLiteral("1000"));
}

TEST_F(SettingsTabTest, SaveFailureIsReported) {
    settings.failWrites = true;
    tab().Button8Click();
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral(
                              "Błąd dostępu do rejestru. Nie masz uprawnień Administratora ?!")});
}

} // namespace

#include "scan_fixture.h"

#include "platform/text_file.h"

using namespace pylomir;
using namespace pylomir::testing;

namespace {

class ScanRunTest : public ScanFixture {};

TEST_F(ScanRunTest, ListsMatchesOnceAcrossRunsAndLetterCase) {
    fs.add(QStringLiteral("/r/a.tmp"), 100);
    fs.add(QStringLiteral("/r/keep.txt"), 5);
    fs.addFolder(QStringLiteral("/r/sub"));
    fs.add(QStringLiteral("/r/sub/B.BAK"), 2000);
    model().foundList.append(QStringLiteral("/R/SUB/b.bak")); // listed before, other case

    scan();
    EXPECT_EQ(model().foundList.paths(),
              QStringList({QStringLiteral("/R/SUB/b.bak"), QStringLiteral("/r/a.tmp")}));
    EXPECT_EQ(model().Label57, QStringLiteral("2 KB")); // both reported entries count
    EXPECT_EQ(model().Label50, QStringLiteral("2 plików"));

    scan();
    EXPECT_EQ(model().foundList.count(), 2);
    EXPECT_EQ(model().ListBoxRozmiar, QList<qint32>({100, 2000}));
    EXPECT_EQ(model().Label57, QStringLiteral("2 KB"));
    EXPECT_EQ(model().ListBoxLiczbaZnalez, QStringList{QStringLiteral("2")});
    EXPECT_EQ(model().form1.Lines, model().foundList.paths());
    EXPECT_EQ(model().Label12, QStringLiteral("Wyszukiwanie gotowe !"));
    EXPECT_EQ(ui.sounds, QStringList({"JABLKO", "GOTOWE", "JABLKO", "GOTOWE"}));
}

TEST_F(ScanRunTest, AutoIgnoreTakesFilesStrictlyAboveTheThreshold) {
    struct Case {
        qint64 size;
        bool ignored;
    } cases[] = {{670000, false}, {670001, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        SetUp();
        fs.add(QStringLiteral("/r/big.tmp"), c.size);
        scan();
        EXPECT_EQ(model().foundList.contains(QStringLiteral("/r/big.tmp")), !c.ignored);
        EXPECT_EQ(model().ListaIgnorowania.contains(QStringLiteral("/r/big.tmp")), c.ignored);
        EXPECT_EQ(model().Label53,
                  c.ignored ? QStringLiteral("1 plików") : QStringLiteral("0 plików"));
        EXPECT_EQ(model().ListBoxRozmiar, QList<qint32>{qint32(c.size)}); // size counts anyway
        QStringList stored;
        ASSERT_TRUE(platform::readListFile(platform::realFileSystem(),
                                           home.path() + "/Filtry/ignoralplik.dat", stored));
        EXPECT_EQ(stored, model().ListaIgnorowania);
    }
}

TEST_F(ScanRunTest, AutoIgnoreAddsAPathOnlyOnceAndIsOffWithItsBox) {
    fs.add(QStringLiteral("/r/big.tmp"), 900000);
    model().ListaIgnorowania = {QStringLiteral("/R/BIG.TMP")};
    scan();
    EXPECT_EQ(model().ListaIgnorowania.size(), 1);
    EXPECT_EQ(model().Label53, QStringLiteral("1 plików"));
    // The comparison does not take the path off: it never reached FoundList.
    EXPECT_TRUE(model().foundList.isEmpty());

    model().CheckBox141 = false;
    model().EditRozmiarIgnorowania = QStringLiteral("not a number"); // unused while off
    scan();
    // Now it is listed, and then taken off by the ignore comparison.
    EXPECT_TRUE(model().foundList.isEmpty());
    EXPECT_EQ(model().Label48, QStringLiteral("1 plików"));
    EXPECT_EQ(model().Label53, QStringLiteral("0 plików"));
}

TEST_F(ScanRunTest, ThresholdThatIsNotAWholeNumberRefusesToStart) {
    fs.add(QStringLiteral("/r/a.tmp"), 1);
    model().EditRozmiarIgnorowania = QStringLiteral("650 KB");
    scan();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_TRUE(ui.boxes[0].text.contains(QStringLiteral("liczbę całkowitą")));
    EXPECT_TRUE(ui.sounds.isEmpty());
    EXPECT_TRUE(model().Button11Enabled);
    EXPECT_FALSE(model().scanning());
    EXPECT_TRUE(model().foundList.isEmpty());
}

TEST_F(ScanRunTest, UnlistableRootShowsTheErrorAndEndsIdle) {
    fs.unlistable[QStringLiteral("/r/")] = true;
    scan();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, QStringLiteral("Błąd"));
    EXPECT_EQ(ui.boxes[0].text,
              QStringLiteral("Błąd skanowania folderu. Może on być zabezpieczony lub używany "
                             "przez system.\nSprawdź, który folder spowodował błąd (poniżej) i "
                             "nie skanuj go ponownie."));
    EXPECT_EQ(model().Label12, QStringLiteral("Wyszukiwanie gotowe !"));
    EXPECT_EQ(model().EncartaGauge, 100);
    EXPECT_TRUE(model().Button11Enabled);
    EXPECT_TRUE(model().btnUsunEnabled);
    EXPECT_FALSE(model().btnStopEnabled);
    EXPECT_FALSE(model().Timer1.Enabled || model().Timer2.Enabled);
}

TEST_F(ScanRunTest, InvalidMaskIsReportedAndTheWindowReturnsToIdle) {
    fs.add(QStringLiteral("/r/a.tmp"), 1);
    model().ListBoxIgnorujTypy = {QStringLiteral("[a")};
    scan();
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].startsWith(QStringLiteral("'[a' is an invalid mask at (")));
    EXPECT_FALSE(model().scanning());
    EXPECT_TRUE(model().Button11Enabled);
    EXPECT_EQ(model().Label12, QStringLiteral("Wyszukiwanie gotowe !"));
    EXPECT_EQ(model().EncartaGauge, 100);
}

TEST_F(ScanRunTest, PauseHoldsTheScanWhileTheClockRunsOn) {
    fs.add(QStringLiteral("/r/a.tmp"), 1);
    fs.add(QStringLiteral("/r/b.tmp"), 1);
    bool paused = false;
    pump.action = [&](int) {
        if (!paused && model().foundList.count() == 1) {
            paused = true;
            run().btnStopClick();
        }
    };
    int foundWhilePaused = -1;
    ui.whileBoxOpen = [&](const ScriptedUi::Box&) {
        EXPECT_EQ(model().Label12, QStringLiteral("Pauza skanowania"));
        EXPECT_FALSE(model().Timer1.Enabled);
        EXPECT_TRUE(model().Timer2.Enabled);
        EXPECT_FALSE(model().Animate1Active);
        for (int i = 0; i < 30; ++i)
            run().Timer2Timer();
        foundWhilePaused = int(model().foundList.count());
    };
    scan();
    ASSERT_TRUE(paused);
    EXPECT_EQ(ui.texts(),
              QStringList{QStringLiteral("Naciśnij \"OK\", aby kontynuować skanowanie")});
    EXPECT_EQ(foundWhilePaused, 1);
    EXPECT_EQ(model().foundList.count(), 2);
    EXPECT_EQ(model().Label27, QStringLiteral("00:30"));
}

TEST_F(ScanRunTest, ClosingIsRefusedOnlyWhileScanning) {
    fs.add(QStringLiteral("/r/a.tmp"), 1);
    bool refused = false;
    pump.action = [&](int) {
        if (model().scanning() && !refused)
            refused = !run().FormClose();
    };
    scan();
    EXPECT_TRUE(refused);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral(
                              "Trwa skanowanie dysku !. Jeśli chcesz zamknąć program musisz "
                              "najpierw anulować dalsze szukanie !")});
    EXPECT_TRUE(run().FormClose());
}

TEST_F(ScanRunTest, ClockShowsMinutesAndSecondsAndContinuesAcrossRuns) {
    for (int i = 0; i < 60; ++i)
        run().Timer2Timer();
    EXPECT_EQ(model().Label27, QStringLiteral("01:00"));
    for (int i = 0; i < 60; ++i)
        run().Timer2Timer();
    EXPECT_EQ(model().Label27, QStringLiteral("02:00"));
    model().elapsedMinutes = 59;
    model().elapsedSeconds = 59;
    run().Timer2Timer();
    EXPECT_EQ(model().Label27, QStringLiteral("00:00"));
    EXPECT_EQ(model().elapsedHours, 1);
}

TEST_F(ScanRunTest, GaugeStopsAtHundredAndFollowsTheFilterInterval) {
    for (int i = 0; i < 120; ++i)
        run().Timer1Timer();
    EXPECT_EQ(model().EncartaGauge, 100);

    model().LabelProgres = QStringLiteral("0");
    pump.action = [&](int) { EXPECT_EQ(model().Timer1.Interval, 0); };
    scan();
    EXPECT_EQ(model().EncartaGauge, 100);
    model().LabelProgres = QStringLiteral("2000");
    pump.action = [&](int) {
        EXPECT_EQ(model().Timer1.Interval, 2000);
        EXPECT_EQ(model().EncartaGauge, 0);
    };
    scan();
}

TEST_F(ScanRunTest, ScanCountShowsTheStoredNumberPlusOne) {
    settings.createKey(QStringLiteral("Skanowan"));
    settings.writeString(QStringLiteral("Skanowan"), QStringLiteral("Liczba"),
                         QStringLiteral("41"));
    scan();
    EXPECT_EQ(model().Label16, QStringLiteral("42"));
    scan();
    EXPECT_EQ(model().Label16, QStringLiteral("42"));
    const QString data = *settings.readString(QStringLiteral("Skanowan"), QStringLiteral("Data"));
    EXPECT_TRUE(data.endsWith(QStringLiteral(" 14:05:33"))) << data.toStdString();
    EXPECT_TRUE(model().Label22.endsWith(QStringLiteral(",14:05:33")));
}

TEST_F(ScanRunTest, ScanCountStepFailsSilently) {
    const char* stored[] = {nullptr, "abc"};
    for (const char* value : stored) {
        SetUp();
        settings.keys.clear();
        settings.createKey(QStringLiteral("Skanowan"));
        if (value)
            settings.writeString(QStringLiteral("Skanowan"), QStringLiteral("Liczba"),
                                 QString::fromLatin1(value));
        model().Label16 = QStringLiteral("7");
        scan();
        EXPECT_EQ(model().Label16, QStringLiteral("7"));
        EXPECT_FALSE(settings.readString(QStringLiteral("Skanowan"), QStringLiteral("Data")));
        EXPECT_TRUE(ui.boxes.empty());
    }
}

TEST_F(ScanRunTest, SizeTotalsUseWholeKilobytesAndSixtyFourBits) {
    struct Case {
        QList<qint64> sizes;
        QString shown;
    } cases[] = {
        {{}, QStringLiteral("0 KB")},
        {{2047}, QStringLiteral("1 KB")},
        {{2147483647, 2147483647}, QStringLiteral("4194303 KB")},
    };
    for (const Case& c : cases) {
        SetUp();
        model().CheckBox141 = false;
        for (int i = 0; i < c.sizes.size(); ++i)
            fs.add(QStringLiteral("/r/f%1.tmp").arg(i), c.sizes[i]);
        scan();
        EXPECT_EQ(model().Label57, c.shown);
    }
}

TEST_F(ScanRunTest, ClearsAttributesOfEveryReportedEntryWhenAsked) {
    fs.add(QStringLiteral("/r/a.tmp"), 1, platform::faReadOnly | platform::faArchive);
    fs.add(QStringLiteral("/r/big.tmp"), 1000000);
    scan();
    ASSERT_EQ(fs.attributeCalls.size(), 2u);
    EXPECT_EQ(fs.attributeCalls[0], std::make_pair(QStringLiteral("/r/a.tmp"), 0));
    EXPECT_EQ(fs.attributeCalls[1].first, QStringLiteral("/r/big.tmp"));

    fs.attributeCalls.clear();
    model().CheckBox103 = false;
    scan();
    EXPECT_TRUE(fs.attributeCalls.empty());
}

TEST_F(ScanRunTest, OptionsReachTheEngine) {
    fs.add(QStringLiteral("/r/plain.tmp"), 1, platform::faNormal);
    fs.addFolder(QStringLiteral("/r/sub"));
    fs.add(QStringLiteral("/r/sub/deep.tmp"), 1);
    model().cbRecursive = false;
    model().CheckBox149 = false; // files without attributes
    scan();
    EXPECT_TRUE(model().foundList.isEmpty());
    model().cbRecursive = true;
    model().CheckBox149 = true;
    scan();
    EXPECT_EQ(model().foundList.count(), 2);
}

} // namespace

#include "support/window_fixture.h"

#include "core/shown_texts.h"
#include "platform/text_file.h"

#include <numeric>

using namespace pylomir;
using namespace pylomir::testing;

namespace {

class ScanRunTest : public WindowFixture {};

// Letter case tells paths apart here, as the POSIX file system does.
TEST_F(ScanRunTest, ListsMatchesOnceAcrossRunsAndLetterCaseCounts) {
    fs.add(QStringLiteral("/r/a.tmp"), 100);
    fs.add(QStringLiteral("/r/keep.txt"), 5);
    fs.addFolder(QStringLiteral("/r/sub"));
    fs.add(QStringLiteral("/r/sub/B.BAK"), 2000);
    model().foundList.append(QStringLiteral("/r/sub/B.BAK")); // listed before
    model().foundList.append(QStringLiteral("/R/A.TMP"));     // another path

    scan();
    EXPECT_EQ(model().foundList.paths(),
              QStringList({QStringLiteral("/r/sub/B.BAK"), QStringLiteral("/R/A.TMP"),
                           QStringLiteral("/r/a.tmp")}));
    EXPECT_EQ(model().scan.foundSizeKb, 2); // both reported entries count
    EXPECT_EQ(model().scan.foundCount, 3);

    scan();
    EXPECT_EQ(model().foundList.count(), 3);
    EXPECT_EQ(model().scan.lastScanSizes, QList<qint64>({100, 2000}));
    EXPECT_EQ(model().scan.foundSizeKb, 2);
    EXPECT_EQ(model().scan.lastScanFoundCounts, QList<qsizetype>{3});
    EXPECT_EQ(model().fullList.lines, model().foundList.paths());
    EXPECT_EQ(model().status.statusText, QStringLiteral("Wyszukiwanie gotowe !"));
    EXPECT_EQ(ui.sounds, QStringList({"JABLKO", "GOTOWE", "JABLKO", "GOTOWE"}));
}

TEST_F(ScanRunTest, AutoIgnoreTakesFilesStrictlyAboveTheThreshold) {
    struct Case {
        qint64 size;
        bool ignored;
    } cases[] = {{670000, false},
                 {670001, true},
                 {(qint64(3) << 30), true},
                 {(qint64(4) << 30) + 100, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        SetUp();
        fs.add(QStringLiteral("/r/big.tmp"), c.size);
        scan();
        EXPECT_EQ(model().foundList.contains(QStringLiteral("/r/big.tmp")), !c.ignored);
        EXPECT_EQ(model().ignore.ignoredFiles.contains(QStringLiteral("/r/big.tmp")), c.ignored);
        EXPECT_EQ(model().scan.suspiciousCount, c.ignored ? 1 : 0);
        EXPECT_EQ(model().ignore.ignoredFilesCount, c.ignored ? 1 : 0);
        EXPECT_EQ(model().scan.lastScanSizes, QList<qint64>{c.size}); // size counts anyway
        EXPECT_EQ(readList("ignoralplik.dat"), model().ignore.ignoredFiles.paths());
    }
}

TEST_F(ScanRunTest, AutoIgnoreAddsAPathOnlyOnceAndIsOffWithItsBox) {
    fs.add(QStringLiteral("/r/big.tmp"), 900000);
    model().ignore.ignoredFiles.assign({QStringLiteral("/r/big.tmp")});
    scan();
    EXPECT_EQ(model().ignore.ignoredFiles.count(), 1);
    EXPECT_EQ(model().scan.suspiciousCount, 1);
    // The comparison does not take the path off: it never reached FoundList.
    EXPECT_TRUE(model().foundList.isEmpty());

    model().options.autoIgnore = false;
    model().options.autoIgnoreThresholdText = QStringLiteral("not a number"); // unused while off
    scan();
    // Now it is listed, and then taken off by the ignore comparison.
    EXPECT_TRUE(model().foundList.isEmpty());
    EXPECT_EQ(model().scan.ignoredCount, 1);
    EXPECT_EQ(model().scan.suspiciousCount, 0);
}

// An ignore command run from the message hook may swap an entry for another
// while the scan runs; the duplicate check must see the list as it is now.
TEST_F(ScanRunTest, AutoIgnoreSeesTheIgnoreListAsEditedDuringTheScan) {
    fs.add(QStringLiteral("/r/big1.tmp"), 900000);
    fs.add(QStringLiteral("/r/a.tmp"), 1);
    fs.add(QStringLiteral("/r/big2.tmp"), 900000);
    model().ignore.ignoredFiles.assign({QStringLiteral("/r/BIG2.tmp")});
    bool edited = false;
    pump.action = [&](int) {
        // One entry swapped for another: the list keeps its length.
        if (!edited && model().foundList.count() == 1) {
            edited = true;
            model().ignore.ignoredFiles.removeAt(0);
            model().ignore.ignoredFiles.append(QStringLiteral("/r/other.tmp"));
        }
    };
    scan();
    ASSERT_TRUE(edited);
    EXPECT_EQ(model().ignore.ignoredFiles.paths(),
              QStringList({"/r/big1.tmp", "/r/other.tmp", "/r/big2.tmp"}));
    EXPECT_EQ(model().scan.suspiciousCount, 2);
}

TEST_F(ScanRunTest, ThresholdThatIsNotAWholeNumberRefusesToStart) {
    fs.add(QStringLiteral("/r/a.tmp"), 1);
    model().options.autoIgnoreThresholdText = QStringLiteral("650 KB");
    scan();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_TRUE(ui.boxes[0].text.contains(QStringLiteral("liczbę całkowitą")));
    EXPECT_TRUE(ui.sounds.isEmpty());
    EXPECT_TRUE(model().scan.startEnabled());
    EXPECT_FALSE(model().scan.running);
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
    EXPECT_EQ(model().status.statusText, QStringLiteral("Wyszukiwanie gotowe !"));
    EXPECT_EQ(model().scan.progress, 100);
    EXPECT_TRUE(model().scan.startEnabled());
    EXPECT_TRUE(model().scan.deleteCurrentEnabled());
    EXPECT_FALSE(model().scan.pauseEnabled());
    EXPECT_FALSE(model().scan.progressTimer.enabled || model().scan.elapsedClockTimer.enabled);
}

// A locked folder below the root is skipped; the rest of the tree is still
// scanned and one box at the end names what was skipped.
TEST_F(ScanRunTest, UnlistableSubfoldersAreSkippedAndNamedOnce) {
    const QString header = QStringLiteral(
        "Błąd odczytu folderów (%1). Mogą one być zabezpieczone lub używane przez system; "
        "skanowanie pominęło je i przeszukało pozostałe:");
    struct Case {
        int locked;
        const char* tail; // after the named folders
    } cases[] = {{1, ""}, {10, ""}, {12, "\n… i 2 innych"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locked);
        SetUp();
        QString expected = header.arg(c.locked);
        for (int i = 0; i < c.locked; ++i) {
            const QString folder = QStringLiteral("/r/locked%1").arg(i, 2, 10, QLatin1Char('0'));
            fs.addFolder(folder);
            fs.unlistable[folder + QLatin1Char('/')] = true;
            if (i < 10)
                expected += QLatin1Char('\n') + folder;
        }
        expected += QString::fromUtf8(c.tail);
        fs.addFolder(QStringLiteral("/r/zz"));
        fs.add(QStringLiteral("/r/zz/after.tmp"), 1);
        scan();
        EXPECT_EQ(model().foundList.paths(), QStringList{QStringLiteral("/r/zz/after.tmp")});
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].caption, QStringLiteral("Błąd"));
        EXPECT_EQ(ui.boxes[0].text, expected);
        EXPECT_EQ(run().unlistedFolders().size(), c.locked);
        EXPECT_EQ(model().status.statusText, QStringLiteral("Wyszukiwanie gotowe !"));
    }
    // A scan that could list everything says nothing.
    fs.unlistable.clear();
    ui.boxes.clear();
    scan();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(run().unlistedFolders().isEmpty());
}

TEST_F(ScanRunTest, InvalidMaskIsReportedAndTheWindowReturnsToIdle) {
    fs.add(QStringLiteral("/r/a.tmp"), 1);
    model().ignore.ignoredMasks = {QStringLiteral("[a")};
    scan();
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].startsWith(QStringLiteral("'[a' is an invalid mask at (")));
    EXPECT_FALSE(model().scan.running);
    EXPECT_TRUE(model().scan.startEnabled());
    EXPECT_EQ(model().status.statusText, QStringLiteral("Wyszukiwanie gotowe !"));
    EXPECT_EQ(model().scan.progress, 100);
}

TEST_F(ScanRunTest, PauseHoldsTheScanWhileTheClockRunsOn) {
    fs.add(QStringLiteral("/r/a.tmp"), 1);
    fs.add(QStringLiteral("/r/b.tmp"), 1);
    bool paused = false;
    pump.action = [&](int) {
        if (!paused && model().foundList.count() == 1) {
            paused = true;
            run().pauseScan();
        }
    };
    int foundWhilePaused = -1;
    ui.whileBoxOpen = [&](const ScriptedUi::Box&) {
        EXPECT_EQ(model().status.statusText, QStringLiteral("Pauza skanowania"));
        EXPECT_FALSE(model().scan.progressTimer.enabled);
        EXPECT_TRUE(model().scan.elapsedClockTimer.enabled);
        EXPECT_FALSE(model().scan.animationRunning);
        EXPECT_TRUE(run().fileSearch().listingAheadHeld());
        for (int i = 0; i < 30; ++i)
            run().tickElapsedClock();
        foundWhilePaused = int(model().foundList.count());
    };
    scan();
    ASSERT_TRUE(paused);
    EXPECT_EQ(ui.texts(),
              QStringList{QStringLiteral("Naciśnij \"OK\", aby kontynuować skanowanie")});
    EXPECT_EQ(foundWhilePaused, 1);
    EXPECT_EQ(model().foundList.count(), 2);
    EXPECT_FALSE(run().fileSearch().listingAheadHeld());
    EXPECT_EQ(core::elapsedClockText(model().scan), QStringLiteral("00:30"));
}

TEST_F(ScanRunTest, ClosingIsRefusedOnlyWhileScanning) {
    fs.add(QStringLiteral("/r/a.tmp"), 1);
    bool refused = false;
    pump.action = [&](int) {
        if (model().scan.running && !refused)
            refused = !run().tryClose();
    };
    scan();
    EXPECT_TRUE(refused);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral(
                              "Trwa skanowanie dysku !. Jeśli chcesz zamknąć program musisz "
                              "najpierw anulować dalsze szukanie !")});
    EXPECT_TRUE(run().tryClose());
}

TEST_F(ScanRunTest, ClockShowsMinutesAndSecondsAndContinuesAcrossRuns) {
    for (int i = 0; i < 60; ++i)
        run().tickElapsedClock();
    EXPECT_EQ(core::elapsedClockText(model().scan), QStringLiteral("01:00"));
    for (int i = 0; i < 60; ++i)
        run().tickElapsedClock();
    EXPECT_EQ(core::elapsedClockText(model().scan), QStringLiteral("02:00"));
    model().scan.elapsedMinutes = 59;
    model().scan.elapsedSeconds = 59;
    run().tickElapsedClock();
    EXPECT_EQ(core::elapsedClockText(model().scan), QStringLiteral("00:00"));
    EXPECT_EQ(model().scan.elapsedHours, 1);
}

// While a scan runs, the counters describe it alone, not the scan before.
TEST_F(ScanRunTest, CountersStartFromZeroWithEveryScan) {
    fs.add(QStringLiteral("/r/big.tmp"), 900000);
    fs.add(QStringLiteral("/r/listed.tmp"), 5000);
    model().ignore.ignoredFiles.assign({QStringLiteral("/r/listed.tmp")});
    scan();
    ASSERT_EQ(model().scan.ignoredCount, 1);
    ASSERT_EQ(model().scan.suspiciousCount, 1);
    ASSERT_GT(model().scan.foundSizeKb, 0);

    bool checked = false;
    QStringList foldersShown;
    pump.action = [&](int) {
        foldersShown << model().status.scanStatusText;
        if (checked)
            return;
        checked = true;
        const core::ScanState& scan = model().scan;
        EXPECT_EQ(scan.ignoredCount, 0);
        EXPECT_EQ(scan.suspiciousCount, 0);
        EXPECT_EQ(scan.foundSizeKb, 0);
        EXPECT_EQ(scan.progress, 0);
        EXPECT_TRUE(scan.lastScanSizes.isEmpty());
        EXPECT_TRUE(scan.lastScanFoundCounts.isEmpty());
        EXPECT_EQ(scan.foundCaption, core::FoundCaption::Found);
        EXPECT_EQ(model().status.statusText, QStringLiteral("Skanuję. Proszę zaczekaj..."));
        EXPECT_TRUE(model().status.scanStatusBarVisible);
        EXPECT_TRUE(model().fullList.lines.isEmpty());
    };
    scan();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(foldersShown.contains(QStringLiteral("/r"))); // the folder in work
}

TEST_F(ScanRunTest, GaugeStopsAtHundredAndFollowsTheFilterInterval) {
    for (int i = 0; i < 120; ++i)
        run().advanceScanProgress();
    EXPECT_EQ(model().scan.progress, 100);

    model().filters.progressIntervalMs = 0;
    pump.action = [&](int) { EXPECT_EQ(model().scan.progressTimer.intervalMs, 0); };
    scan();
    EXPECT_EQ(model().scan.progress, 100);
    model().filters.progressIntervalMs = 2000;
    pump.action = [&](int) {
        EXPECT_EQ(model().scan.progressTimer.intervalMs, 2000);
        EXPECT_EQ(model().scan.progress, 0);
    };
    scan();
}

TEST_F(ScanRunTest, ScanCountShowsTheStoredNumberPlusOne) {
    settings.createKey(QStringLiteral("Skanowan"));
    settings.writeString(QStringLiteral("Skanowan"), QStringLiteral("Liczba"),
                         QStringLiteral("41"));
    scan();
    EXPECT_EQ(model().statistics.scanCount, 42);
    scan();
    EXPECT_EQ(model().statistics.scanCount, 42);
    const QString data = *settings.readString(QStringLiteral("Skanowan"), QStringLiteral("Data"));
    EXPECT_TRUE(data.endsWith(QStringLiteral(" 14:05:33"))) << data.toStdString();
    EXPECT_TRUE(model().statistics.lastScanText.endsWith(QStringLiteral(",14:05:33")));
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
        model().statistics.scanCount = 7;
        scan();
        EXPECT_EQ(model().statistics.scanCount, 7);
        EXPECT_FALSE(settings.readString(QStringLiteral("Skanowan"), QStringLiteral("Data")));
        EXPECT_TRUE(ui.boxes.empty());
    }
}

TEST_F(ScanRunTest, SizeTotalsUseWholeKilobytesAndSixtyFourBits) {
    struct Case {
        QList<qint64> sizes;
        qint64 kilobytes;
    } cases[] = {
        {{}, 0},
        {{2047}, 1},
        {{2147483647, 2147483647}, 4194303},
    };
    for (const Case& c : cases) {
        SetUp();
        model().options.autoIgnore = false;
        for (int i = 0; i < c.sizes.size(); ++i)
            fs.add(QStringLiteral("/r/f%1.tmp").arg(i), c.sizes[i]);
        scan();
        EXPECT_EQ(model().scan.foundSizeKb, c.kilobytes);
        EXPECT_EQ(model().scan.lastScanBytes,
                  std::accumulate(c.sizes.begin(), c.sizes.end(), qint64(0)));
    }
}

TEST_F(ScanRunTest, ClearsAttributesOfEveryReportedEntryWhenAsked) {
    fs.add(QStringLiteral("/r/a.tmp"), 1, platform::faReadOnly | platform::faArchive);
    fs.add(QStringLiteral("/r/big.tmp"), 1000000);
    // Nothing to clear: left unwritten.
    fs.add(QStringLiteral("/r/plain.tmp"), 1, platform::faNormal);
    scan();
    ASSERT_EQ(fs.attributeCalls.size(), 2u);
    EXPECT_EQ(fs.attributeCalls[0], std::make_pair(QStringLiteral("/r/a.tmp"), 0));
    EXPECT_EQ(fs.attributeCalls[1].first, QStringLiteral("/r/big.tmp"));

    fs.attributeCalls.clear();
    model().options.clearAttributesOnScan = false;
    scan();
    EXPECT_TRUE(fs.attributeCalls.empty());
}

TEST_F(ScanRunTest, OptionsReachTheEngine) {
    fs.add(QStringLiteral("/r/plain.tmp"), 1, platform::faNormal);
    fs.addFolder(QStringLiteral("/r/sub"));
    fs.add(QStringLiteral("/r/sub/deep.tmp"), 1);
    model().options.includeSubfolders = false;
    model().options.includeAnyFile = false; // files without attributes
    scan();
    EXPECT_TRUE(model().foundList.isEmpty());
    model().options.includeSubfolders = true;
    model().options.includeAnyFile = true;
    scan();
    EXPECT_EQ(model().foundList.count(), 2);
}

} // namespace

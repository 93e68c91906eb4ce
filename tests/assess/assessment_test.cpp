// The risk alert of a clicked entry: the rule chain at every boundary, the
// details and status line, the sound, and what a vanished file leaves.
#include "assess/assessment.h"
#include "core/shown_texts.h"
#include "support/window_fixture.h"

namespace {

using namespace pylomir;
using core::AlertLevel;
using core::AlertRule;

class AssessmentTest : public pylomir::testing::WindowFixture {
protected:
    // Lists one file of the fake tree as the found list's current entry and
    // clicks it.
    void click(const QString& name, qint64 size, qint32 attributes = platform::faArchive) {
        const QString path = QStringLiteral("/r/") + name;
        if (!fs.findFirst(path))
            fs.add(path, size, attributes);
        model().foundList.assign({path});
        model().foundList.setCurrent(0);
        window->assessment().assessCurrentFound(model().foundList);
    }
};

TEST_F(AssessmentTest, TheRuleChainRatesEveryBoundary) {
    const struct {
        const char* name;
        qint64 size;
        AlertRule rule;
        const char* word;
    } rows[] = {
        {"setup.log", 0, AlertRule::InstallerLog, "Wysoki !"},
        {"Setup.Log", 100, AlertRule::InstallerLog, "Wysoki !"},
        {"UNINST.LOG", 100, AlertRule::InstallerLog, "Wysoki !"},
        {"ſetup.log", 100, AlertRule::Small, "Niski"}, // only A to Z fold
        {"setup.log.bak", 100, AlertRule::Small, "Niski"},
        {"driver.sys", 100, AlertRule::SystemExtension, "Wysoki !"},
        {"HAL.DLL", 100, AlertRule::SystemExtension, "Wysoki !"},
        {"a.nt", 100, AlertRule::SystemExtension, "Wysoki !"},
        {"a.sysx", 100, AlertRule::Small, "Niski"},
        {"sys", 100, AlertRule::Small, "Niski"},
        {"a.tmp", 0, AlertRule::Empty, "Niski"},
        {"a.tmp", 1, AlertRule::Small, "Niski"},
        {"a.tmp", 650000, AlertRule::Small, "Niski"},
        {"a.tmp", 670001, AlertRule::Small, "Niski"},
        {"a.tmp", 670002, AlertRule::Noticeable, "Średni"},
        {"a.tmp", 4900001, AlertRule::Noticeable, "Średni"},
        {"a.tmp", 4900002, AlertRule::Suspicious, "Wysoki"},
        {"a.tmp", 10400001, AlertRule::Suspicious, "Wysoki"},
        {"a.tmp", 10400002, AlertRule::TooLarge, "Wysoki !"},
        {"a.bak", (qint64(1) << 32) + 100, AlertRule::TooLarge, "Wysoki !"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.name << " " << r.size);
        SetUp();
        click(QString::fromUtf8(r.name), r.size);
        const core::AlertState& a = model().alert;
        ASSERT_TRUE(a.details);
        EXPECT_EQ(a.details->rule, r.rule);
        EXPECT_EQ(a.details->size, r.size);
        EXPECT_EQ(a.shownAlert, assess::levelOf(r.rule));
        EXPECT_EQ(core::alertText(a), QString::fromUtf8(r.word));
        // The two higher levels sound the alert, each time.
        EXPECT_EQ(ui.sounds.size(),
                  r.rule == AlertRule::Empty || r.rule == AlertRule::Small ? 0 : 1);
    }
}

TEST_F(AssessmentTest, DetailsStatusLineAndTheStickyBlueComment) {
    fs.add(QStringLiteral("/r/duzy.tmp"), 10400002);
    fs.folders[QStringLiteral("/r/")].back().times.lastWrite = {2026, 12, 2, 5, 9, 30, 15, 0};
    click(QStringLiteral("duzy.tmp"), 0);
    ASSERT_TRUE(model().alert.details);
    const core::FileDetails& d = *model().alert.details;
    EXPECT_EQ(d.extension, QStringLiteral(".tmp"));
    EXPECT_EQ(core::sizeText(d), QStringLiteral("10400002 bajtów,  10156 KB"));
    EXPECT_EQ(model().alert.assessedPath, QStringLiteral("/r/duzy.tmp"));
    EXPECT_EQ(model().status.detailsStatusText,
              QStringLiteral("Plik: duzy.tmp    Rozmiar: 10156 KB (10400002 b)    Dane "
                             "modyfikacji: ") +
                  d.modifiedText + QStringLiteral(",  Alert: Wysoki"));
    EXPECT_TRUE(d.modifiedText.contains(QStringLiteral("09:30:15")))
        << d.modifiedText.toStdString();
    EXPECT_TRUE(model().alert.commentBlue);

    click(QStringLiteral("maly.tmp"), 10);
    EXPECT_EQ(core::commentText(model().alert.details->rule), QStringLiteral("-"));
    EXPECT_TRUE(model().alert.commentBlue); // no rule turns it back
    EXPECT_EQ(ui.sounds, QStringList{core::kAlertSound});
}

TEST_F(AssessmentTest, AttributeWordsAndTheIgnoredListsFixedWord) {
    using namespace platform;
    const struct {
        qint32 attributes;
        const char* word;
    } rows[] = {
        {faHidden, "Ukryty"},
        {faArchive, "Archiwalny"},
        {faNormal, "Normalny (ustawiony automatycznie)"},
        {0, "Normalny (ustawiony automatycznie)"},
        {faReadOnly | faHidden | faArchive, "Tylko do odczytu, Ukryty, Archiwalny"},
        {0x100 | 0x800, "Tymczasowy, Skompresowany"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.attributes);
        SetUp();
        click(QStringLiteral("a.tmp"), 5, r.attributes);
        EXPECT_EQ(core::attributesText(*model().alert.details), QString::fromUtf8(r.word));
        // The same file on the ignored list always reads as normal.
        model().ignore.ignoredFiles.assign({QStringLiteral("/r/a.tmp")});
        model().ignore.ignoredFiles.setCurrent(0);
        window->assessment().assessCurrentIgnored(model().ignore.ignoredFiles);
        EXPECT_EQ(core::attributesText(*model().alert.details),
                  QStringLiteral("Normalny (ustawiony automatycznie)"));
    }
}

// A file gone since it was listed leaves nothing of the one before to act on.
TEST_F(AssessmentTest, AVanishedFileLeavesNothingAssessed) {
    click(QStringLiteral("a.tmp"), 700000);
    ASSERT_EQ(model().alert.shownAlert, AlertLevel::Medium);
    model().foundList.assign({QStringLiteral("/r/zniknal.tmp")});
    model().foundList.setCurrent(0);
    window->assessment().assessCurrentFound(model().foundList);
    EXPECT_EQ(model().alert.shownAlert, std::nullopt);
    EXPECT_EQ(model().alert.details, std::nullopt);
    EXPECT_TRUE(model().alert.assessedPath.isEmpty());
    EXPECT_EQ(core::alertText(model().alert), QStringLiteral("-"));
    EXPECT_EQ(ui.sounds.size(), 1);

    // An empty list or no current entry: nothing happens at all.
    click(QStringLiteral("a.tmp"), 700000);
    model().foundList.setCurrent(-1);
    window->assessment().assessCurrentFound(model().foundList);
    EXPECT_EQ(model().alert.shownAlert, AlertLevel::Medium);
}

} // namespace

#include "core/app_info.h"
#include "records/html_report.h"
#include "support/window_fixture.h"

#include <QFile>

using namespace pylomir;
using namespace pylomir::testing;

namespace {

// Keeps what the save dialog was opened with.
class DialogUi : public ScriptedUi {
public:
    std::vector<core::FileDialogOptions> dialogs;
    std::optional<QString> saveFileName(const core::FileDialogOptions& dialog) override {
        dialogs.push_back(dialog);
        return ScriptedUi::saveFileName(dialog);
    }
};

class HtmlReportTest : public WindowFixture {
protected:
    DialogUi dialogUi;
    QString chosen;

    void SetUp() override {
        WindowFixture::SetUp();
        chosen = home.path() + QStringLiteral("/Raport");
        model().options.htmlReportsEnabled = true;
        model().records.htmlReportedCount = 1;
        // A fragment holds its path escaped already.
        model().records.htmlFragments = {
            QStringLiteral("<TABLE>"),
            QStringLiteral("      <TD><span class=\"style6\">/r/a&amp;b&lt;c.tmp</span>"),
            QStringLiteral("  </TABLE>")};
    }
    records::HtmlReport report() {
        core::Services s = services();
        s.ui = &dialogUi;
        s.fileSystem = &disk;
        return records::HtmlReport(model(), s, window->statusLine());
    }
    QString reportPath(const QString& suffix = QString()) const {
        return chosen + QStringLiteral("_05-12-2026 14-05-33") + suffix + QStringLiteral(".htm");
    }
    static QStringList readLines(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {QStringLiteral("(missing)")};
        QByteArray bytes = f.readAll();
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        bytes.chop(2);
        return platform::decodeCp1250ByTable(bytes).split(QStringLiteral("\r\n"));
    }
};

TEST_F(HtmlReportTest, PageHasItsLayoutAndEscapesEveryValue) {
    model().scan.lastScanFoundCounts = {3};
    model().statistics.lastScanText = QStringLiteral("a&b <script>\"x\"");
    const QStringList page = report().buildHtmlReport(clock.now());
    ASSERT_EQ(page.size(), 104 - 1 + 3 + 1);
    EXPECT_EQ(page[0], QStringLiteral("<HTML>"));
    EXPECT_EQ(page[14], QStringLiteral("\tfont-size: x-small;"));
    EXPECT_EQ(page[20], QStringLiteral("<TITLE>Raport usuniętych plików: ") + core::kAppTitle +
                            QStringLiteral("</TITLE>"));
    EXPECT_EQ(page[43], QStringLiteral("  <TD><span class=\"style5\">05 grudzień 2026,    "
                                       "14:05:33</span>"));
    EXPECT_EQ(page[52], QStringLiteral("  <TD><span class=\"style5\">3</span>"));
    EXPECT_EQ(page[67], QStringLiteral("  <TD><span class=\"style5\">1</span>"));
    EXPECT_EQ(page[91], QStringLiteral("    <TD><span class=\"style5\">a&amp;b "
                                       "&lt;script&gt;&quot;x&quot;</span>"));
    // The fragments go in as recorded, then the empty line of their entry.
    EXPECT_EQ(page.mid(98, 4), model().records.htmlFragments + QStringList{QString()});
    EXPECT_EQ(page.last(), QStringLiteral("</HTML>"));

    model().options.htmlReportsEnabled = false;
    const QStringList off = report().buildHtmlReport(clock.now());
    ASSERT_EQ(off.size(), 104);
    EXPECT_EQ(off[98], QStringLiteral("Opcja \"Włącz możliwość tworzenia raportów HTML\" jest "
                                      "wyłączona !"));
}

TEST_F(HtmlReportTest, SavedUnderTheChosenNameAndStampNeverOverwriting) {
    records::HtmlReport r = report();
    const QStringList page = r.buildHtmlReport(clock.now());
    dialogUi.fileAnswers = {chosen, chosen};
    r.exportHtmlReport();
    EXPECT_EQ(readLines(reportPath()), page);
    EXPECT_EQ(model().status.statusText, QStringLiteral("Wyeksportowano raport"));
    r.exportHtmlReport();
    EXPECT_EQ(readLines(reportPath(QStringLiteral(" (2)"))), page);

    ASSERT_EQ(dialogUi.dialogs.size(), 2u);
    EXPECT_EQ(dialogUi.dialogs[0].title, QStringLiteral("Zapisz raport"));
    EXPECT_EQ(dialogUi.dialogs[0].filter, QStringLiteral("Strona HTML|*.htm"));
    EXPECT_EQ(dialogUi.dialogs[0].defaultName, QStringLiteral("Raport"));
    EXPECT_EQ(dialogUi.dialogs[1].defaultName, chosen); // the last name is offered again
}

TEST_F(HtmlReportTest, CancelOrFailureIsNoSuccess) {
    const QString before = model().status.statusText;
    dialogUi.fileAnswers = {std::nullopt, chosen};
    disk.denied.insert(reportPath());
    records::HtmlReport r = report();
    r.exportHtmlReport(); // cancelled
    EXPECT_TRUE(dialogUi.errors.isEmpty());
    r.exportHtmlReport(); // refused by the disk
    EXPECT_EQ(dialogUi.errors.size(), 1);
    EXPECT_EQ(model().status.statusText, before);
    EXPECT_TRUE(QDir(home.path()).entryList({QStringLiteral("*.htm")}, QDir::Files).isEmpty());
}

} // namespace

#include "app/main_window_core.h"
#include "core/app_info.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"
#include "platform/text_file.h"
#include "records/statistics.h"
#include "support/scripted_ui.h"
#include "ui/about_page.h"
#include "ui/found_list_view.h"
#include "ui/full_list_window.h"
#include "ui/gui_message_pump.h"
#include "ui/ignore_lists_page.h"
#include "ui/main_window.h"
#include "ui/qt_ui_port.h"
#include "ui/translations.h"
#include "ui/widget_input.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QMovie>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

using namespace pylomir;

namespace {

using pylomir::testing::clickInto;
using pylomir::testing::clickRow;
using pylomir::testing::pressEnter;
using pylomir::testing::typeInto;

void touch(const QString& path, const QByteArray& bytes = "x") {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void processEventsFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QStringList viewPaths(const QAbstractItemModel& model) {
    QStringList out;
    for (int r = 0; r < model.rowCount(); ++r)
        out << model.index(r, 0).data().toString();
    return out;
}

// Captions of a menu's items, "-" for a separator.
QStringList menuItems(const QMenu& menu) {
    QStringList out;
    for (const QAction* a : menu.actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QStringList listFile(const QString& path) {
    QStringList lines;
    EXPECT_TRUE(platform::readListFile(platform::realFileSystem(), path, lines))
        << path.toStdString();
    return lines;
}

// Closes the window from inside the scan, the way a click on the title
// bar's close button would arrive through the message pump.
class ClosingPump : public ui::GuiMessagePump {
public:
    ui::MainWindow* window = nullptr;
    std::optional<bool> closeResult;
    void processPendingMessages() override {
        if (window && !closeResult)
            closeResult = window->close();
        GuiMessagePump::processPendingMessages();
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        ASSERT_TRUE(QDir(home_.path()).mkpath("Filtry"));
        ASSERT_TRUE(platform::writeListFile(platform::realFileSystem(),
                                            home_.filePath("Filtry/filtr_a1.dat"),
                                            {QStringLiteral("*.tmp")}));
        scanRoot_ = home_.filePath("scan");
        for (const char* name : {"a.tmp", "b.TMP", "sub/c.tmp", "keep.txt"})
            touch(scanRoot_ + QLatin1Char('/') + QLatin1String(name));
        settings_ = platform::openSettingsStore(home_.filePath("settings.ini"));
        // A stored safe mode, so the start-up sequence loads its filters.
        ASSERT_TRUE(settings_->createKey("Skanowan"));
        ASSERT_TRUE(settings_->writeString("Skanowan", "Liczba", "0"));
        ASSERT_TRUE(settings_->writeString("Skanowan", "RozmiarIgnoral", "670000"));
        ASSERT_TRUE(settings_->createKey("Ustawienia"));
        ASSERT_TRUE(settings_->writeString("Ustawienia", "Bezpieczny", "1"));

        services_ = core::machineServices(*settings_, locale_, ui_, pump_);
        services_.programDir = QDir::toNativeSeparators(home_.path() + QLatin1Char('/'));
        core_ = std::make_unique<app::MainWindowCore>(services_);
        core_->startUp();
        window_ = std::make_unique<ui::MainWindow>(*core_, &pump_);
        ui_.onShowWindow = [this](core::WindowId id) { window_->showWindow(id); };
        window_->show();
    }

    QString native(const QString& relative) const {
        return QDir::toNativeSeparators(scanRoot_ + QLatin1Char('/') + relative);
    }

    QTemporaryDir home_;
    QString scanRoot_;
    std::unique_ptr<platform::SettingsStore> settings_;
    platform::LocaleFormats locale_{QLocale(QLocale::Polish, QLocale::Poland)};
    pylomir::testing::ScriptedUi ui_;
    ClosingPump pump_;
    core::Services services_;
    std::unique_ptr<app::MainWindowCore> core_;
    std::unique_ptr<ui::MainWindow> window_;
};

TEST_F(MainWindowTest, ScanFromTheStartButtonFillsTheListAndTheFullList) {
    window_->selectFolder(scanRoot_);
    // The tree hands over the folder without a trailing separator.
    EXPECT_EQ(core_->model().scan.scanRoot, QDir::toNativeSeparators(scanRoot_));

    window_->startButton()->click();

    const QAbstractItemModel& model = *window_->foundListView()->model();
    QStringList found = viewPaths(model);
    found.sort();
    EXPECT_EQ(found, (QStringList{native("a.tmp"), native("b.TMP"), native("sub/c.tmp")}));
    EXPECT_EQ(window_->foundCountLabel()->text(), QStringLiteral("3 plików"));
    EXPECT_EQ(window_->statusLabel()->text(), QStringLiteral("Wyszukiwanie gotowe !"));
    EXPECT_TRUE(window_->startButton()->isEnabled());
    EXPECT_FALSE(window_->pauseButton()->isEnabled());
    EXPECT_EQ(ui_.sounds, (QStringList{"JABLKO", "GOTOWE"}));

    window_->fullListButton()->click();
    ASSERT_TRUE(window_->fullListWindow()->isVisible());
    const QAbstractItemModel& full = *window_->fullListWindow()->pathList()->model();
    EXPECT_EQ(full.rowCount(), 3);

    // A second run with the full list open shows the new file there too.
    touch(scanRoot_ + QStringLiteral("/d.tmp"));
    window_->startButton()->click();
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(full.rowCount(), 4);
}

// Moving the focus in the found list rates the entry; the next scan clears it.
TEST_F(MainWindowTest, TheFocusedFoundEntryShowsItsAlertUntilTheNextScan) {
    window_->selectFolder(scanRoot_);
    window_->startButton()->click();
    EXPECT_EQ(window_->alertLabel()->text(), QStringLiteral("-"));
    QListView* list = window_->foundListView();
    list->setCurrentIndex(list->model()->index(0, 0));
    EXPECT_EQ(core_->model().alert.shownAlert, core::AlertLevel::Low);
    EXPECT_EQ(window_->alertLabel()->text(), QStringLiteral("Niski"));
    EXPECT_TRUE(window_->alertLabel()->styleSheet().contains(QStringLiteral("#16873e")));
    EXPECT_EQ(core_->model().alert.assessedPath, list->model()->index(0, 0).data().toString());

    window_->startButton()->click();
    EXPECT_EQ(window_->alertLabel()->text(), QStringLiteral("-"));
}

TEST_F(MainWindowTest, ClosingWhileScanningIsRefusedAndAllowedAfterwards) {
    window_->selectFolder(scanRoot_);
    pump_.window = window_.get();
    window_->startButton()->click();

    ASSERT_TRUE(pump_.closeResult.has_value());
    EXPECT_FALSE(*pump_.closeResult);
    EXPECT_TRUE(ui_.texts().contains(QStringLiteral(
        "Trwa skanowanie dysku !. Jeśli chcesz zamknąć program musisz najpierw anulować "
        "dalsze szukanie !")));
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->foundListView()->model()->rowCount(), 3);

    EXPECT_TRUE(window_->close());
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(MainWindowTest, ChecksSelectionAndAppendsStayInStepWithTheCore) {
    core::FoundList& list = core_->model().foundList;
    ui::FoundListView& view = *window_->foundListView();
    QAbstractItemModel& model = *view.model();
    int insertSignals = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++insertSignals; });

    // Appends reach the view as one insertion at the next sync.
    for (int i = 0; i < 1000; ++i)
        list.append(QStringLiteral("/x/%1.tmp").arg(i));
    EXPECT_EQ(model.rowCount(), 0);
    window_->syncViews();
    EXPECT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(insertSignals, 1);

    // View to core: the check mark and the selection.
    EXPECT_TRUE(model.setData(model.index(5, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(list.isChecked(5));
    view.selectionModel()->select(model.index(7, 0), QItemSelectionModel::Select);
    EXPECT_TRUE(list.isSelected(7));
    view.selectionModel()->select(model.index(7, 0), QItemSelectionModel::Deselect);
    EXPECT_FALSE(list.isSelected(7));

    // Core to view.
    list.setSelected(9, true);
    list.setChecked(5, false);
    list.setCurrent(3);
    window_->syncViews();
    EXPECT_TRUE(view.selectionModel()->isRowSelected(9, {}));
    EXPECT_EQ(model.index(5, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(view.currentIndex().row(), 3);

    // A removal resets the view but keeps the selection of the entries left.
    list.removeAt(0);
    window_->syncViews();
    EXPECT_EQ(model.rowCount(), 999);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(8, {}));
    EXPECT_EQ(model.index(8, 0).data().toString(), QStringLiteral("/x/9.tmp"));

    list.clear();
    window_->syncViews();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(MainWindowTest, GaugeTimerWithZeroIntervalNeverTicks) {
    struct Case {
        int interval;
        bool ticks;
    };
    for (const Case c : {Case{0, false}, Case{5, true}}) {
        core::ScanState& scan = core_->model().scan;
        scan.progress = 0;
        scan.progressTimer = {c.interval, true};
        window_->syncViews();
        processEventsFor(60);
        EXPECT_EQ(scan.progress > 0, c.ticks) << "interval " << c.interval;
        scan.progressTimer.enabled = false;
        window_->syncViews();
    }
}

TEST_F(MainWindowTest, EmbeddedSoundsAndAnimationAreLinkedIn) {
    for (const char* name : {":/sounds/jablko.wav", ":/sounds/gotowe.wav", ":/sounds/alert.wav"}) {
        QFile f{QString::fromLatin1(name)};
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(f.read(4) == "RIFF") << name;
    }
    QMovie movie(QStringLiteral(":/animation/monitor.gif"));
    EXPECT_TRUE(movie.isValid());
    EXPECT_EQ(movie.frameCount(), 8);
}

// The "Ignorowania" tab and the menus that feed it, driven as a user would.
TEST_F(MainWindowTest, IgnoreListsTabAndMenusEditTheListsAndTheirFiles) {
    ui::IgnoreListsPage& page = *window_->ignoreListsPage();
    window_->tabs()->setCurrentWidget(&page);
    const QString filesFile = home_.filePath("Filtry/ignoralplik.dat");
    const QString masksFile = home_.filePath("Filtry/ignoraltyp.dat");

    // A path typed by hand, and a mask added with Enter.
    const QString kept = QDir::toNativeSeparators(home_.filePath("keep/notes.txt"));
    touch(kept);
    typeInto(page.newIgnoredFileEdit(), kept);
    page.addIgnoredFileButton()->click();
    typeInto(page.newIgnoredMaskEdit(), "r?port.*");
    pressEnter(page.newIgnoredMaskEdit());
    EXPECT_EQ(viewPaths(*page.ignoredFilesList()->model()), QStringList{kept});
    EXPECT_EQ(page.ignoredMasksList()->item(0)->text(), "r?port.*");
    EXPECT_EQ(page.ignoredFilesCountLabel()->text(), "1");
    EXPECT_EQ(page.ignoredMasksCountLabel()->text(), "1");
    EXPECT_EQ(listFile(filesFile), QStringList{kept});
    EXPECT_EQ(listFile(masksFile), QStringList{"r?port.*"});
    EXPECT_EQ(page.newIgnoredFileEdit()->text(), kept); // the field keeps its text

    // The mask keeps a file out of the scan; checked found entries move over,
    // last first.
    touch(scanRoot_ + QStringLiteral("/raport.tmp"));
    window_->selectFolder(scanRoot_);
    window_->startButton()->click();
    QAbstractItemModel& found = *window_->foundListView()->model();
    const QStringList scanned = viewPaths(found);
    EXPECT_FALSE(scanned.contains(native("raport.tmp")));
    ASSERT_EQ(scanned.size(), 3);
    window_->checkAllAction()->trigger();
    found.setData(found.index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    window_->moveToIgnoredAction()->trigger();
    EXPECT_EQ(viewPaths(found), QStringList{scanned[1]});
    const QStringList ignored = {kept, scanned[2], scanned[0]};
    EXPECT_EQ(viewPaths(*page.ignoredFilesList()->model()), ignored);
    EXPECT_EQ(page.ignoredFilesCountLabel()->text(), "3");
    EXPECT_EQ(listFile(filesFile), ignored);

    // A click rates the entry, and so does a second click on it.
    clickRow(page.ignoredFilesList(), 0);
    EXPECT_EQ(window_->alertLabel()->text(), QStringLiteral("Niski"));
    EXPECT_EQ(core_->model().alert.assessedPath, kept);
    core_->assessment().resetAlert();
    window_->syncViews();
    clickRow(page.ignoredFilesList(), 0);
    EXPECT_EQ(window_->alertLabel()->text(), QStringLiteral("Niski"));

    // "Usuń ten plik z dysku" asks, deletes, drops the entry and the alert.
    page.deleteIgnoredFileAction()->trigger();
    EXPECT_FALSE(QFile::exists(kept));
    EXPECT_EQ(viewPaths(*page.ignoredFilesList()->model()), ignored.mid(1));
    EXPECT_EQ(window_->alertLabel()->text(), QStringLiteral("-"));

    // "Czyść listę": No keeps the entries, Yes empties the list.
    ui_.answers = {core::MsgAnswer::No};
    page.clearIgnoredFilesAction()->trigger();
    EXPECT_EQ(page.ignoredFilesList()->model()->rowCount(), 2);
    page.clearIgnoredFilesAction()->trigger();
    EXPECT_EQ(page.ignoredFilesList()->model()->rowCount(), 0);
    EXPECT_EQ(page.ignoredFilesCountLabel()->text(), "0");
    EXPECT_EQ(listFile(filesFile), QStringList{});

    // The mask picked in the list is the one the menu removes.
    page.ignoredMasksList()->setCurrentRow(0);
    page.removeIgnoredMaskAction()->trigger();
    EXPECT_EQ(page.ignoredMasksList()->count(), 0);
    EXPECT_EQ(page.ignoredMasksCountLabel()->text(), "0");
    EXPECT_EQ(listFile(masksFile), QStringList{});
}

// The left column is narrow: long messages wrap and the date has a row of its
// own, wide enough for the longest stamp the statistics write (a two-digit
// day and month, late in the evening), Polish or a real locale's.
TEST_F(MainWindowTest, LeftColumnShowsLongStatusAndDateWhole) {
    core_->model().status.statusText = QStringLiteral("Nie wybrano pliku z listy znalezionych.");
    const QDateTime lateInTheYear(QDate(2026, 12, 28), QTime(23, 59, 59));
    const platform::LocaleFormats english(QLocale(QLocale::English, QLocale::UnitedStates));
    core::Services englishServices = services_;
    englishServices.locale = &english;
    core::StatisticsState englishState;
    records::Statistics(englishState, englishServices).recordScanStart(lateInTheYear);

    core_->statistics().recordScanStart(lateInTheYear);
    const QString polish = core_->model().statistics.lastScanText;
    EXPECT_EQ(polish, QStringLiteral("28.12.2026,23:59:59"));
    for (const QString& stamp : {polish, englishState.lastScanText}) {
        SCOPED_TRACE(stamp.toStdString());
        core_->model().statistics.lastScanText = stamp;
        window_->syncViews();
        QApplication::processEvents();
        QLabel* status = window_->statusLabel();
        EXPECT_GE(status->height(), status->heightForWidth(status->width()));
        QLabel* date = window_->lastScanLabel();
        EXPECT_EQ(date->text(), stamp);
        EXPECT_GE(date->width(), date->fontMetrics().horizontalAdvance(stamp));
        EXPECT_GE(date->width(), date->sizeHint().width());
        EXPECT_GE(date->mapTo(window_.get(), QPoint(0, 0)).x(), 0);
        EXPECT_LE(date->mapTo(window_.get(), QPoint(date->width(), 0)).x(), 196);
    }
}

// The three pop-up menus, item by item with their separators, and nothing in
// them left disabled once there is a list to act on.
TEST_F(MainWindowTest, PopUpMenusListTheirItemsInOrderAndNoneIsLeftDisabled) {
    window_->selectFolder(scanRoot_);
    window_->startButton()->click();
    clickRow(window_->foundListView(), 0);
    ui::IgnoreListsPage& page = *window_->ignoreListsPage();
    const QString kept = QDir::toNativeSeparators(home_.filePath("keep/notes.txt"));
    touch(kept);
    typeInto(page.newIgnoredFileEdit(), kept);
    page.addIgnoredFileButton()->click();
    typeInto(page.newIgnoredMaskEdit(), "*.old");
    page.addIgnoredMaskButton()->click();
    window_->syncViews();

    const std::pair<const QMenu*, QStringList> menus[] = {
        {window_->foundListMenu(),
         {"Szczegóły obiektu",
          "-",
          "Zaznacz wszystkie pliki",
          "Usuń tylko jeden zaznaczony plik",
          "Usuń wszystkie zaznaczone pliki",
          "-",
          "Zrób kopię tylko wybranego pliku",
          "Utwórz kopię wszystkich plików",
          "-",
          "Odzyskaj pliki z kopii zapasowej",
          "-",
          "Wyrzuć pliki z listy (nie usuwaj)",
          "Dodaj pliki do listy Ignorowań",
          "Zaznacz pliki jako \"Ignorowane\"",
          "Odznacz pliki jako \"Ignorowane\"",
          "-",
          "Ustaw normalny atrybut",
          "Uruchom zaznaczony plik",
          "Idź do lokalizacji pliku...",
          "Sortuj alfabetycznie listę ",
          "-",
          "Exportuj raport do HTMa",
          "Zapisz listę plików",
          "Wczytaj listę plików",
          "Czyść listę znalez. plików"}},
        {page.ignoredFilesMenu(),
         {"Szczegóły obiektu", "-", "Usuń ten plik z dysku", "-", "Usuń z listy ignorowania",
          "Posortuj listę", "Czyść listę"}},
        {page.ignoredMasksMenu(), {"Usuń filtr z listy", "Posortuj listę", "Czyść listę"}},
    };
    for (const auto& [menu, items] : menus) {
        SCOPED_TRACE(items.first().toStdString());
        EXPECT_EQ(menuItems(*menu), items);
        for (const QAction* action : menu->actions())
            EXPECT_TRUE(action->isSeparator() || action->isEnabled())
                << action->text().toStdString();
    }
    EXPECT_EQ(menuItems(*window_->foundListMenu()).count("-"), 6);
}

// The "O programie" tab shows its texts with their line breaks, and each link
// opens its target through the desktop, the mail address as a mailto: link.
TEST_F(MainWindowTest, AboutTabShowsItsTextsAndItsLinksOpenTheirTargets) {
    ui::AboutPage& about = *window_->aboutPage();
    window_->tabs()->setCurrentWidget(&about);
    const std::pair<const QLabel*, const char*> texts[] = {
        {about.nameLabel(), "Pylomir 8.5 Professional"},
        {about.descriptionLabel(),
         "Aplikacja do skanowania dysku w celu przeszukania i usunięcia różnych typów plików "
         "tymczasowych pojawiających się po zainstalowaniu, odinstalowaniu programów, "
         "przeglądaniu stron, codziennej pracy z systemem i aplikacjami oraz potencjalnie "
         "niebezpiecznych skryptów i przemianowanych plików z wirusami."},
        {about.versionLabel(), "Wersja: 8.5 Pro\nWersja kodowa: 8.5.01.05.197 build 8\n\n"
                               "Formatów używanych:\nWszystkich formatów:"},
        {about.formatCountsLabel(), "197\n254"},
        {about.safetyNoteLabel(),
         "Autor zapewnia, że żadne problemy w Trybie Bezpiecznym\npo usunięciu plików ze "
         "strony systemu Windows lub aplikacji - NIE WYSTĄPIĄ.\nJednocześnie autor nie ponosi "
         "odpowiedzialności za usunięcie danych, które mogły być potrzebne."},
        {about.reminderNoteLabel(),
         "Pamiętaj ! Jeśli nie jesteś doświadczonym użytkownikiem wybieraj zawsze Tryb "
         "Bezpieczny.\nZapewnia on 99% bezpieczeństwo stabilności systemu po usunięciu "
         "znalezionych plików.\nJeśli nie jesteś pewny usunięcia nieznanego pliku, zrób jego "
         "kopię bezpieczeństwa - możesz wtedy odzyskać ten plik."},
        {about.invitationLabel(),
         "Jeśli chcesz, aby program Pylomir był dalej rozwijany i unowocześniany, przyślij "
         "swoje sugestie i uwagi o programie pod adres podany powyżej. Dzięki temu usuwanie "
         "plików tymczasowych stanie się jeszcze doskonalsze..."},
        {about.pagesCaptionLabel(), "Odwiedź Nas - Oficjalna Strona Programu:"},
        {about.contactCaptionLabel(), "Pytania do programu - Kontakt:"},
    };
    for (const auto& [label, text] : texts) {
        EXPECT_EQ(label->text(), QString::fromUtf8(text));
        EXPECT_TRUE(label->isVisible()) << text;
    }
    EXPECT_TRUE(about.authorMailLabel()->text().contains(core::kAuthorMail));
    // The numbers stand beside the block's last two lines.
    const QLabel* block = about.versionLabel();
    const QLabel* counts = about.formatCountsLabel();
    EXPECT_EQ(counts->mapTo(&about, QPoint(0, counts->height())).y(),
              block->mapTo(&about, QPoint(0, block->height())).y());
    EXPECT_GE(counts->mapTo(&about, QPoint(0, 0)).x(),
              block->mapTo(&about, QPoint(0, 0)).x() +
                  block->fontMetrics().horizontalAdvance("Wszystkich formatów:"));

    const std::pair<ui::LinkLabel*, QString> links[] = {
        {about.homePageLink(), core::kHomePageUrl},
        {about.secondPageLink(), core::kSecondPageUrl},
        {about.questionsLink(), core::kQuestionsUrl},
        {about.authorMailLink(), QStringLiteral("mailto:") + core::kAuthorMail},
    };
    QStringList targets;
    for (const auto& [link, target] : links) {
        ui_.opened.clear();
        clickInto(link);
        EXPECT_EQ(ui_.opened, QStringList{target});
        targets << target;
    }
    targets.removeDuplicates();
    EXPECT_EQ(targets.size(), 4);
    EXPECT_TRUE(core::kSecondPageUrl.startsWith("https://") &&
                core::kQuestionsUrl.startsWith("https://"));
}

TEST_F(MainWindowTest, TitleAndCaptionAreThePrograms) {
    EXPECT_EQ(core::kAppTitle, QStringLiteral("Pylomir 8.5 Pro"));
    EXPECT_EQ(window_->windowTitle(), core::kMainWindowCaption);
    const QString caption = window_->windowTitle();
    EXPECT_TRUE(caption.startsWith(QStringLiteral(" Pylomir 8.5 Professional ")));
    EXPECT_GT(caption.size(), 26);
    EXPECT_TRUE(caption.mid(25).trimmed().isEmpty());
}

// The boxes speak Polish, and the button pressed is the answer.
TEST(QtUiPortBox, ButtonsArePolishAndAnswerAsPressed) {
    struct Case {
        core::MsgButtons buttons;
        QStringList words;
        const char* press;
        core::MsgAnswer answer;
    };
    const Case cases[] = {
        {core::MsgButtons::YesNo, {"Tak", "Nie"}, "Nie", core::MsgAnswer::No},
        {core::MsgButtons::YesNoCancel, {"Tak", "Nie", "Anuluj"}, "Tak", core::MsgAnswer::Yes},
    };
    for (const Case& c : cases) {
        ui::QtUiPort port;
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QAbstractButton* pressed = nullptr;
            for (QAbstractButton* b : box->buttons()) {
                shown << b->text();
                if (b->text() == QLatin1String(c.press))
                    pressed = b;
            }
            if (pressed) {
                pressed->click();
            } else {
                ADD_FAILURE() << "no button " << c.press;
                box->reject(); // never leave the test waiting on a box
            }
        });
        EXPECT_EQ(port.messageBox("Pylomir", "?", core::MsgIcon::Warning, c.buttons), c.answer);
        shown.sort();
        QStringList words = c.words;
        words.sort();
        EXPECT_EQ(shown, words);
    }
}

// Qt's own buttons and dialogs speak Polish whatever the system language.
TEST(PolishTranslations, StandardButtonsArePolishWhateverTheLanguage) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(ui::installPolishTranslations(*qApp)) << "qt6-translations-l10n is missing";
    EXPECT_TRUE(ui::installPolishTranslations(*qApp)); // a second call adds nothing
    const QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Anuluj"));
    EXPECT_EQ(box.button(QDialogButtonBox::Save)->text().remove('&'), QStringLiteral("Zachowaj"));
    const QList<QTranslator*> installed = qApp->findChildren<QTranslator*>();
    EXPECT_EQ(installed.size(), 1);
    // The other tests see Qt as it ships.
    for (QTranslator* translator : installed) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QLocale::setDefault(before);
}

// The folder browser opens at the folder asked for or the nearest one above
// it that exists; never at the working folder.
TEST(QtUiPortFolder, BrowserStartsAtTheNearestExistingFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("kopie/stare"));
    const QString base = QDir::toNativeSeparators(root.path());
    const QString sep = QDir::separator();
    const std::pair<QString, QString> cases[] = {
        {base + sep + "kopie" + sep, base + sep + "kopie"},
        {base + sep + "kopie" + sep + "stare", base + sep + "kopie" + sep + "stare"},
        {base + sep + "kopie" + sep + "nowe" + sep + "dalej" + sep, base + sep + "kopie"},
        {QString(), QDir::homePath()},
        {QStringLiteral("kopie"), QDir::homePath()},
    };
    for (const auto& [wanted, start] : cases)
        EXPECT_EQ(QDir::fromNativeSeparators(ui::folderToStartAt(wanted)),
                  QDir::fromNativeSeparators(start))
            << wanted.toStdString();
}

TEST(QtFilter, ProgramFiltersBecomeQtFilters) {
    const std::pair<const char*, const char*> cases[] = {
        {"Pylomir Find Files - *.PFF|*.pff", "Pylomir Find Files - *.PFF (*.pff)"},
        {"Strona HTML|*.htm", "Strona HTML (*.htm)"},
        {"Listy|*.pff;*.txt|Wszystkie|*.*", "Listy (*.pff *.txt);;Wszystkie (*.*)"},
        {"", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ui::toQtFilter(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

} // namespace

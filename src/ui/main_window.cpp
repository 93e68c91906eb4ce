#include "ui/main_window.h"

#include "core/app_info.h"
#include "core/shown_texts.h"
#include "ui/about_page.h"
#include "ui/advanced_restore_window.h"
#include "ui/alert_sign.h"
#include "ui/backup_progress_window.h"
#include "ui/centring.h"
#include "ui/filter_descriptions_page.h"
#include "ui/filters_page.h"
#include "ui/found_list_view.h"
#include "ui/full_list_window.h"
#include "ui/go_to_location_dialog.h"
#include "ui/gui_message_pump.h"
#include "ui/ignore_lists_page.h"
#include "ui/main_tabs.h"
#include "ui/object_info_window.h"
#include "ui/recovery_page.h"
#include "ui/settings_page.h"
#include "ui/tab_icons.h"
#include "ui/widget_sync.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <exception>

// The resources live in a static library; nothing would pull them in otherwise.
static void initPylomirResources() {
    Q_INIT_RESOURCE(resources);
}

namespace pylomir::ui {

namespace {

const QString kTreeHint =
    QStringLiteral("Zaznacz folder lub dysk.\r\n\r\nObiekt musi być zaznaczony \r\nna niebiesko. "
                   "Możesz wybrać\r\ndowolny folder podrzędny.");
// The animation rests on its last frame, the eighth.
constexpr int kStillFrame = 7;
// How often a visible full list is rebuilt while a scan runs.
constexpr qint64 kFullListSyncMs = 250;

constexpr int kClientWidth = 926;
constexpr int kClientHeight = 485;
constexpr int kColumnWidth = 196;
constexpr int kTabsWidth = 728;
constexpr int kTabsHeight = 450;
constexpr int kGaugeHeight = 16;
constexpr int kTabCount = 7;

QLabel* caption(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

} // namespace

MainWindow::MainWindow(app::MainWindowCore& windowCore, GuiMessagePump* pump, QWidget* parent)
    : QWidget(parent), core_(windowCore), m_(windowCore.model()), pump_(pump) {
    initPylomirResources();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(core::kMainWindowCaption);
    setFixedSize(kClientWidth, kClientHeight);
    buildLayout();

    fullListWindow_ = new FullListWindow(this);
    advancedRestoreWindow_ = new AdvancedRestoreWindow(
        core_, [this](const std::function<void()>& action) { command(action); }, this);
    backupProgressWindow_ = new BackupProgressWindow(core_.backupProgress(), this);
    const CommandRunner run = [this](const std::function<void()>& action) { command(action); };
    objectInfoWindow_ = new ObjectInfoWindow(core_, run, this);
    goToLocationDialog_ = new GoToLocationDialog(core_, run, this);
    connect(&objectInfoReopenTimer_, &QTimer::timeout, this, [this] {
        const core::TimerModel& timer = m_.objectInfo.reopenTimer;
        if (timer.enabled)
            command([this] { core_.objectInfo().reopenObjectInfo(); });
    });
    // Each block's progress reaches the open window at once; the message
    // pump paints it between blocks.
    core_.restoreCommands().onProgressShown = [this] {
        if (advancedRestoreWindow_->isVisible())
            advancedRestoreWindow_->sync();
    };
    connect(fullListWindow_, &FullListWindow::visibilityChanged, this, [this](bool visible) {
        if (!visible)
            core_.scanRun().fullListHidden();
    });

    connect(&progressTimer_, &QTimer::timeout, this, [this] {
        // A timer the model has switched off does not tick, even if the
        // QTimer has not been told yet.
        const core::TimerModel& timer = m_.scan.progressTimer;
        if (timer.enabled && timer.intervalMs > 0)
            command([this] { core_.scanRun().advanceScanProgress(); });
    });
    connect(&elapsedClockTimer_, &QTimer::timeout, this, [this] {
        const core::TimerModel& timer = m_.scan.elapsedClockTimer;
        if (timer.enabled && timer.intervalMs > 0)
            command([this] { core_.scanRun().tickElapsedClock(); });
    });
    connect(startButton_, &QPushButton::clicked, this,
            [this] { command([this] { core_.scanRun().startScan(); }); });
    connect(pauseButton_, &QPushButton::clicked, this,
            [this] { command([this] { core_.scanRun().pauseScan(); }); });
    connect(fullListButton_, &QPushButton::clicked, this,
            [this] { command([this] { core_.scanRun().showFullList(); }); });
    connect(quickDeleteButton_, &QToolButton::clicked, this,
            [this] { command([this] { core_.deletion().quickDelete(); }); });
    // "Zamknij program" runs the close sequence; the window then goes.
    connect(closeButton_, &QToolButton::clicked, this, [this] {
        command([this] { closeConfirmed_ = core_.deletionLog().closeProgram(); });
        if (closeConfirmed_)
            close();
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        core_.setActiveTab(activeTab());
        // The recovery tab's lists are read again each time it comes up.
        if (tabs_->currentWidget() == recoveryPage_)
            command([this] { core_.recoveryTab().refreshCounts(); });
    });

    // The tree starts on the model's root without running the command.
    selectFolder(QDir::fromNativeSeparators(m_.scan.scanRoot));
    connect(folderTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid())
                    return;
                const QString path = QDir::toNativeSeparators(folders_->filePath(current));
                command([this, path] { core_.scanRun().setScanRoot(path); });
            });

    if (pump_)
        pump_->setTickHandler([this] { syncViews(false); });
    sinceFullListSync_.start();
    syncViews(true);
}

MainWindow::~MainWindow() {
    core_.restoreCommands().onProgressShown = {};
    if (pump_)
        pump_->setTickHandler({});
    progressTimer_.stop();
    objectInfoReopenTimer_.stop();
    elapsedClockTimer_.stop();
}

template <class Command> void MainWindow::command(Command&& run) {
    // Exceptions must not unwind through Qt's event dispatch; what reaches
    // here goes to the default error box, as any unhandled error would.
    try {
        run();
    } catch (const core::Error& e) {
        core_.services().ui->showError(e.message());
    } catch (const std::exception& e) {
        core_.services().ui->showError(QString::fromLocal8Bit(e.what()));
    }
    syncViews(true);
}

void MainWindow::buildLayout() {
    QWidget* column = buildLeftColumn();
    column->setGeometry(0, 0, kColumnWidth, kTabsHeight);

    tabs_ = new MainTabs(this);
    tabs_->setGeometry(kClientWidth - kTabsWidth, 0, kTabsWidth, kTabsHeight);
    foundListView_ = new FoundListView(core_.model().foundList, tabs_);
    tabs_->addTab(foundListView_, tabIcon(core::MainTab::FoundList),
                  QStringLiteral("Skanowanie..."));
    connect(foundListView_, &FoundListView::entryPicked, this,
            [this] { command([this] { core_.assessCurrentFound(); }); });
    connect(foundListView_, &QAbstractItemView::doubleClicked, this,
            [this] { command([this] { core_.objectInfo().openFromFound(); }); });
    buildFoundListMenu();
    // In the room the tabs leave, no higher than the strip above the pages.
    closeButton_ = new StripButton(QStringLiteral("Zamknij program"), closeProgramIcon(), tabs_);
    closeButton_->setStripSize(QSize(kTabsWidth - kTabCount * kTabWidth - 4, kTabHeight - 3));
    tabs_->setCornerWidget(closeButton_, Qt::TopRightCorner);
    const CommandRunner run = [this](const std::function<void()>& action) { command(action); };
    filtersPage_ = new FiltersPage(core_, run, hints_, tabs_);
    tabs_->addTab(filtersPage_, tabIcon(core::MainTab::Filters), QStringLiteral("Wybór filtrów"));
    filterDescriptionsPage_ = new FilterDescriptionsPage(core_, run, hints_, tabs_);
    tabs_->addTab(filterDescriptionsPage_, tabIcon(core::MainTab::FilterDescriptions),
                  QStringLiteral("Opisy filtrów"));
    recoveryPage_ = new RecoveryPage(core_, run, hints_, tabs_);
    tabs_->addTab(recoveryPage_, tabIcon(core::MainTab::Recovery), QStringLiteral("Odzyskiwanie"));
    ignoreListsPage_ = new IgnoreListsPage(core_, run, hints_, tabs_);
    tabs_->addTab(ignoreListsPage_, tabIcon(core::MainTab::IgnoreLists),
                  QStringLiteral("Ignorowania"));
    settingsPage_ = new SettingsPage(core_, run, hints_, tabs_);
    tabs_->addTab(settingsPage_, tabIcon(core::MainTab::Settings), QStringLiteral("Ustawienia"));
    aboutPage_ = new AboutPage(core_, run, tabs_);
    tabs_->addTab(aboutPage_, tabIcon(core::MainTab::About), QStringLiteral("O programie"));

    setHint(startButton_, QStringLiteral("Rozpocznij wyszukiwanie plików w zaznaczonym folderze "
                                         "lub na dysku"));
    hints_.add(closeButton_, QStringLiteral("Zamknij aplikację. Jeśli jeszcze skanuje - musisz "
                                            "cierpliwie poczekać."));
    hints_.add(quickDeleteButton_,
               QStringLiteral("Szybkie usuwanie: usuń od razu wszystkie pliki z listy"));
    hints_.add(pauseButton_, QStringLiteral("Wstrzymaj skanowanie do naciśnięcia \"OK\""));
    hints_.add(
        fullListButton_,
        QStringLiteral("Pokaż w osobnym oknie pełne ścieżki wszystkich znalezionych plików"));

    scanProgressBar_ = new QProgressBar(this);
    scanProgressBar_->setRange(0, 100);
    scanProgressBar_->setTextVisible(false);
    scanProgressBar_->setStyleSheet(
        QStringLiteral("QProgressBar { background: #f4f4f4; border: 1px solid #a0a0a0; }"
                       "QProgressBar::chunk { background: black; }"));
    scanProgressBar_->setGeometry(0, kTabsHeight + 1, kClientWidth, kGaugeHeight - 2);

    const int barTop = kTabsHeight + kGaugeHeight;
    scanStatusBar_ = new QStatusBar(this);
    scanStatusBar_->setSizeGripEnabled(false);
    scanStatusBar_->setGeometry(0, barTop, kClientWidth, kClientHeight - barTop);
    detailsStatusBar_ = new QStatusBar(this);
    detailsStatusBar_->setSizeGripEnabled(false);
    detailsStatusBar_->setGeometry(0, barTop, kClientWidth, kClientHeight - barTop);
    detailsStatusLabel_ = new QLabel(detailsStatusBar_);
    detailsStatusBar_->addWidget(detailsStatusLabel_, 1);
}

void MainWindow::buildFoundListMenu() {
    // In the menu's order; a row without an action is a separator.
    struct Row {
        QAction** action;
        const char* caption;
        std::function<void()> run;
    };
    scan::ScanRun& scan = core_.scanRun();
    records::Deletion& deletion = core_.deletion();
    records::FoundListFiles& lists = core_.foundListFiles();
    records::HtmlReport& report = core_.htmlReport();
    backup::BackupCommands& backups = core_.backupCommands();
    backup::RestoreCommands& restore = core_.restoreCommands();
    const Row rows[] = {
        {&foundDetailsAction_, "Szczegóły obiektu", [this] { core_.objectInfo().openFromFound(); }},
        {nullptr, nullptr, {}},
        {&selectAllAction_, "Zaznacz wszystkie pliki", [&deletion] { deletion.selectAllFound(); }},
        {&deleteOneAction_, "Usuń tylko jeden zaznaczony plik",
         [&deletion] { deletion.deleteOneFile(); }},
        {&deleteSelectedAction_, "Usuń wszystkie zaznaczone pliki",
         [&deletion] { deletion.deleteSelected(); }},
        {nullptr, nullptr, {}},
        {&backupCurrentAction_, "Zrób kopię tylko wybranego pliku",
         [&backups] { backups.backupCurrentFile(); }},
        {&backupAllAction_, "Utwórz kopię wszystkich plików",
         [&backups] { backups.backupAllFound(); }},
        {nullptr, nullptr, {}},
        {&advancedRestoreAction_, "Odzyskaj pliki z kopii zapasowej",
         [&restore] { restore.showAdvancedRestore(); }},
        {nullptr, nullptr, {}},
        {&dropCheckedAction_, "Wyrzuć pliki z listy (nie usuwaj)",
         [&deletion] { deletion.dropCheckedFound(); }},
        {&moveToIgnoredAction_, "Dodaj pliki do listy Ignorowań",
         [&scan] { scan.moveCheckedToIgnoredFiles(); }},
        {&checkAllAction_, "Zaznacz pliki jako \"Ignorowane\"", [&scan] { scan.checkAllFound(); }},
        {&uncheckAllAction_, "Odznacz pliki jako \"Ignorowane\"",
         [&scan] { scan.uncheckAllFound(); }},
        {nullptr, nullptr, {}},
        {&clearAttributesAction_, "Ustaw normalny atrybut",
         [&scan] { scan.clearCurrentFoundAttributes(); }},
        {&openFileAction_, "Uruchom zaznaczony plik", [&deletion] { deletion.openCurrentFile(); }},
        {&goToLocationAction_, "Idź do lokalizacji pliku...",
         [this] { core_.goToLocation().goToFileLocation(); }},
        {&sortFoundAction_, "Sortuj alfabetycznie listę ",
         [&deletion] { deletion.sortFoundList(); }},
        {nullptr, nullptr, {}},
        {&exportHtmlAction_, "Exportuj raport do HTMa", [&report] { report.exportHtmlReport(); }},
        {&saveFoundListAction_, "Zapisz listę plików", [&lists] { lists.saveFoundListFromMenu(); }},
        {&loadFoundListAction_, "Wczytaj listę plików",
         [&lists] { lists.loadFoundListFromMenu(); }},
        {&clearFoundAction_, "Czyść listę znalez. plików",
         [&deletion] { deletion.clearFoundList(); }},
    };
    foundListMenu_ = new QMenu(this);
    for (const Row& row : rows) {
        if (!row.action) {
            foundListMenu_->addSeparator();
            continue;
        }
        QAction* action = foundListMenu_->addAction(QString::fromUtf8(row.caption));
        connect(action, &QAction::triggered, this, [this, run = row.run] { command(run); });
        *row.action = action;
    }
    foundListView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(foundListView_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        foundListMenu_->popup(foundListView_->viewport()->mapToGlobal(at));
    });
}

QWidget* MainWindow::buildLeftColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(4, 4, 2, 2);
    layout->setSpacing(3);

    startButton_ = new QPushButton(QStringLiteral(">> Rozpocznij skanowanie"), column);
    QFont bold = startButton_->font();
    bold.setBold(true);
    startButton_->setFont(bold);
    startButton_->setMinimumHeight(28);
    quickDeleteButton_ = new QToolButton(column);
    quickDeleteButton_->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    quickDeleteButton_->setFixedSize(40, 26);
    quickDeleteButton_->setIconSize(QSize(20, 20));
    layout->addWidget(startButton_);
    // Under the start button, as the scan and its removal follow each other.
    layout->addWidget(quickDeleteButton_, 0, Qt::AlignLeft);

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::Drives);
    folders_->setRootPath(QDir::rootPath());
    // Reading and sorting happen in the background and move rows about;
    // each round ends with the selected folder brought back into view.
    revealTimer_.setSingleShot(true);
    revealTimer_.setInterval(0);
    connect(&revealTimer_, &QTimer::timeout, this, &MainWindow::revealSelectedFolder);
    connect(folders_, &QFileSystemModel::directoryLoaded, &revealTimer_,
            qOverload<>(&QTimer::start));
    connect(folders_, &QFileSystemModel::layoutChanged, &revealTimer_, qOverload<>(&QTimer::start));
    folderTree_ = new QTreeView(column);
    folderTree_->setModel(folders_);
    for (int c = 1; c < folders_->columnCount(); ++c)
        folderTree_->hideColumn(c);
    folderTree_->setHeaderHidden(true);
    folderTree_->setAutoExpandDelay(600);
    folderTree_->setToolTipDuration(kHintMs);
    layout->addWidget(folderTree_, 1);

    // Two lines always, so a longer message never moves the tree.
    statusLabel_ = new QLabel(column);
    statusLabel_->setFont(bold);
    statusLabel_->setWordWrap(true);
    statusLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    statusLabel_->setFixedHeight(2 * QFontMetrics(bold).lineSpacing());
    layout->addWidget(statusLabel_);

    // The counters are many and the column narrow.
    QFont small = column->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    auto value = [column, small] {
        auto* label = new QLabel(column);
        label->setFont(small);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    foundCaptionLabel_ = caption(QString(), column);
    foundCountLabel_ = value();
    foundSizeLabel_ = value();
    ignoredCountLabel_ = value();
    suspiciousCountLabel_ = value();
    scanCountLabel_ = value();
    lastScanLabel_ = value();
    sessionDeletedFilesLabel_ = value();
    sessionDeletedSizeLabel_ = value();
    totalDeletedFilesLabel_ = value();
    totalDeletedBytesLabel_ = value();
    totalDeletedSizeLabel_ = value();
    const std::pair<QLabel*, QLabel*> rows[] = {
        {foundCaptionLabel_, foundCountLabel_},
        {caption(QStringLiteral("Rozmiar:"), column), foundSizeLabel_},
        {caption(QStringLiteral("Zignorowano:"), column), ignoredCountLabel_},
        {caption(QStringLiteral("Podejrzanych:"), column), suspiciousCountLabel_},
        {caption(QStringLiteral("Usunięto teraz:"), column), sessionDeletedFilesLabel_},
        {caption(QString(), column), sessionDeletedSizeLabel_},
        {caption(QStringLiteral("Usunięto plików:"), column), totalDeletedFilesLabel_},
        {caption(QStringLiteral("Ilość skanowań:"), column), scanCountLabel_},
        {caption(QStringLiteral("Usunięto bajtów:"), column), totalDeletedBytesLabel_},
        {caption(QStringLiteral("Rozmiar całoś.:"), column), totalDeletedSizeLabel_},
    };
    int row = 0;
    for (const auto& [name, shown] : rows) {
        name->setFont(small);
        grid->addWidget(name, row, 0);
        grid->addWidget(shown, row, 1);
        ++row;
    }
    // A date and a time need the column's whole width.
    auto* lastScanCaption = caption(QStringLiteral("Ostatnio skan.:"), column);
    lastScanCaption->setFont(small);
    grid->addWidget(lastScanCaption, row++, 0);
    grid->addWidget(lastScanLabel_, row++, 0, 1, 2, Qt::AlignRight);
    // The alert row: the word in the level's colour and the level's sign.
    alertLabel_ = value();
    alertLabel_->setTextInteractionFlags(Qt::NoTextInteraction);
    alertImage_ = new QLabel(column);
    alertImage_->setFixedSize(kAlertSignSize, kAlertSignSize);
    auto* alertRow = new QHBoxLayout;
    alertRow->setSpacing(4);
    alertRow->addWidget(alertLabel_);
    alertRow->addWidget(alertImage_);
    alertRow->addStretch(1);
    auto* alertCaption = caption(QStringLiteral("Alert o typie pliku:"), column);
    alertCaption->setFont(small);
    grid->addWidget(alertCaption, row, 0);
    grid->addLayout(alertRow, row, 1);
    hints_.add(alertLabel_,
               QStringLiteral("Pokazuje alert możliwej niestabilności po usunięciu pliku.\r\n"
                              "Zielony - Niski, Żółty - Średni, Czerwony - Wysoki"));

    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    pauseButton_ = new QPushButton(QStringLiteral("Pauza"), column);
    pauseButton_->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    fullListButton_ = new QPushButton(QStringLiteral("Pełna lista"), column);
    buttons->addWidget(pauseButton_);
    buttons->addWidget(fullListButton_);
    layout->addLayout(buttons);

    auto* bottom = new QHBoxLayout;
    scanAnimation_ = new QLabel(column);
    scanAnimation_->setFixedSize(80, 60);
    movie_ = new QMovie(QStringLiteral(":/animation/monitor.gif"), QByteArray(), this);
    QImageReader reader(QStringLiteral(":/animation/monitor.gif"));
    QImage frame;
    for (int i = 0; i <= kStillFrame && reader.canRead(); ++i)
        frame = reader.read();
    stillFrame_ = QPixmap::fromImage(frame);
    scanAnimation_->setPixmap(stillFrame_);
    bottom->addWidget(scanAnimation_);
    elapsedClockLabel_ = new QLabel(column);
    QFont clock = elapsedClockLabel_->font();
    clock.setPointSize(clock.pointSize() + 8);
    clock.setBold(true);
    elapsedClockLabel_->setFont(clock);
    elapsedClockLabel_->setAlignment(Qt::AlignCenter);
    bottom->addWidget(elapsedClockLabel_, 1);
    layout->addLayout(bottom);
    return column;
}

void MainWindow::selectFolder(const QString& path) {
    QString folder = path;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')) &&
           !folder.endsWith(QStringLiteral(":/")))
        folder.chop(1);
    const QModelIndex index = folders_->index(folder);
    if (!index.isValid())
        return;
    folderTree_->setCurrentIndex(index);
    revealing_ = folder;
    sinceRevealStart_.start();
    revealSelectedFolder();
}

// The model reads folders in the background, so the rows above a folder
// exist only once their parents have been read; retried as each one is,
// for a while, and never once the user has picked another folder.
void MainWindow::revealSelectedFolder() {
    constexpr qint64 kRevealMs = 3000;
    if (revealing_.isEmpty())
        return;
    const QModelIndex index = folders_->index(revealing_);
    if (!index.isValid() || index != folderTree_->currentIndex() ||
        sinceRevealStart_.elapsed() > kRevealMs) {
        revealing_.clear();
        return;
    }
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        folderTree_->expand(up);
    folderTree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void MainWindow::syncViews(bool full) {
    const core::ScanState& scan = m_.scan;
    const core::StatusState& status = m_.status;
    setText(statusLabel_, status.statusText);
    setText(foundCaptionLabel_, core::foundCaptionText(scan.foundCaption));
    setText(foundCountLabel_, core::foundCountText(scan));
    setText(foundSizeLabel_, core::foundSizeText(scan));
    setText(ignoredCountLabel_, core::ignoredCountText(scan));
    setText(suspiciousCountLabel_, core::suspiciousCountText(scan));
    setText(scanCountLabel_, core::scanCountText(m_.statistics));
    setText(lastScanLabel_, m_.statistics.lastScanText);
    setText(sessionDeletedFilesLabel_, core::sessionDeletedFilesText(m_.records));
    setText(sessionDeletedSizeLabel_, core::sessionDeletedSizeText(m_.statistics));
    setText(totalDeletedFilesLabel_, m_.statistics.totalDeletedFilesText);
    setText(totalDeletedBytesLabel_, m_.statistics.totalDeletedBytesText);
    setText(totalDeletedSizeLabel_, m_.statistics.totalDeletedSizeText);
    syncAlert();
    setText(elapsedClockLabel_, core::elapsedClockText(scan));
    setShown(elapsedClockLabel_, scan.elapsedClockVisible);

    if (startButton_->isEnabled() != scan.startEnabled())
        startButton_->setEnabled(scan.startEnabled());
    if (pauseButton_->isEnabled() != scan.pauseEnabled())
        pauseButton_->setEnabled(scan.pauseEnabled());
    // The deletions wait for a scan, a backup or a restore to end.
    const std::pair<QObject*, bool> enabled[] = {
        {quickDeleteButton_, m_.deletionEnabled()},
        {deleteOneAction_, m_.deletionEnabled()},
        {deleteSelectedAction_, m_.deletionEnabled()},
        {openFileAction_, scan.openFileEnabled()},
    };
    for (const auto& [control, on] : enabled) {
        if (auto* action = qobject_cast<QAction*>(control))
            action->setEnabled(on);
        else
            static_cast<QWidget*>(control)->setEnabled(on);
    }
    if (foundListView_->isEnabled() != m_.foundListEnabled)
        foundListView_->setEnabled(m_.foundListEnabled);
    scanProgressBar_->setValue(scan.progress);
    syncAnimation(scan.animationRunning);

    setShown(scanStatusBar_, status.scanStatusBarVisible);
    if (scanStatusBar_->currentMessage() != status.scanStatusText)
        scanStatusBar_->showMessage(status.scanStatusText);
    setShown(detailsStatusBar_, status.detailsStatusBarVisible);
    setText(detailsStatusLabel_, status.detailsStatusText);

    // The tree's hint follows the hint switch.
    const QString hint = m_.options.hintsShown() ? hintText(kTreeHint) : QString();
    if (folderTree_->toolTip() != hint)
        folderTree_->setToolTip(hint);

    hints_.apply(m_.options.hintsShown());
    filtersPage_->sync();
    recoveryPage_->sync();
    ignoreListsPage_->sync(full);
    settingsPage_->sync();

    syncTimer(progressTimer_, scan.progressTimer);
    syncTimer(elapsedClockTimer_, scan.elapsedClockTimer);
    syncTimer(objectInfoReopenTimer_, m_.objectInfo.reopenTimer);
    if (objectInfoWindow_) {
        objectInfoWindow_->sync();
        goToLocationDialog_->sync();
    }
    filterDescriptionsPage_->sync();
    // A command may bring another tab up.
    if (activeTab() != m_.activeTab)
        tabs_->setCurrentWidget(pageOf(m_.activeTab));

    foundListView_->syncFromCore(full);
    // Open during a restore, the window shows its progress at every tick.
    if (advancedRestoreWindow_ && advancedRestoreWindow_->isVisible())
        advancedRestoreWindow_->sync();

    if (m_.fullList.visible && (full || sinceFullListSync_.elapsed() >= kFullListSyncMs)) {
        sinceFullListSync_.start();
        if (m_.fullList.stale)
            core_.scanRun().syncFullList();
        fullListWindow_->setLines(m_.fullList.lines);
    }
}

QWidget* MainWindow::pageOf(core::MainTab tab) const {
    switch (tab) {
    case core::MainTab::FoundList:
        return foundListView_;
    case core::MainTab::Filters:
        return filtersPage_;
    case core::MainTab::FilterDescriptions:
        return filterDescriptionsPage_;
    case core::MainTab::Recovery:
        return recoveryPage_;
    case core::MainTab::IgnoreLists:
        return ignoreListsPage_;
    case core::MainTab::Settings:
        return settingsPage_;
    case core::MainTab::About:
        return aboutPage_;
    }
    return foundListView_;
}

core::MainTab MainWindow::activeTab() const {
    const QWidget* page = tabs_->currentWidget();
    if (page == filtersPage_)
        return core::MainTab::Filters;
    if (page == filterDescriptionsPage_)
        return core::MainTab::FilterDescriptions;
    if (page == aboutPage_)
        return core::MainTab::About;
    if (page == recoveryPage_)
        return core::MainTab::Recovery;
    if (page == ignoreListsPage_)
        return core::MainTab::IgnoreLists;
    if (page == settingsPage_)
        return core::MainTab::Settings;
    return core::MainTab::FoundList;
}

void MainWindow::syncAlert() {
    const std::optional<core::AlertLevel>& level = m_.alert.shownAlert;
    setText(alertLabel_, core::alertText(m_.alert));
    const QString colour = level ? alertColour(*level).name() : QString();
    const QString style = colour.isEmpty() ? QString() : QStringLiteral("color: %1").arg(colour);
    if (alertLabel_->styleSheet() != style)
        alertLabel_->setStyleSheet(style);
    const int shown = level ? int(*level) : -1;
    if (shownAlertSign_ != shown) {
        shownAlertSign_ = shown;
        alertImage_->setPixmap(level ? alertSign(*level, kAlertSignSize) : QPixmap());
    }
}

void MainWindow::syncTimer(QTimer& timer, const core::TimerModel& model) {
    // A zero interval means a timer that never ticks, not one that spins.
    if (!model.enabled || model.intervalMs <= 0) {
        timer.stop();
        return;
    }
    if (!timer.isActive() || timer.interval() != model.intervalMs)
        timer.start(model.intervalMs);
}

void MainWindow::syncAnimation(bool active) {
    if (active) {
        if (movie_->state() != QMovie::Running) {
            scanAnimation_->setMovie(movie_);
            movie_->start();
        }
    } else if (movie_->state() != QMovie::NotRunning || scanAnimation_->movie()) {
        movie_->stop();
        scanAnimation_->setPixmap(stillFrame_);
    }
}

void MainWindow::presentFullList() {
    fullListWindow_->setLines(m_.fullList.lines);
    fullListWindow_->show();
    fullListWindow_->raise();
    fullListWindow_->activateWindow();
}

void MainWindow::showWindow(core::WindowId window) {
    // A modal window holds the command that opened it: what the command has
    // shown so far ("CZEKAJ - TWORZĘ KOPIĘ !") stays up behind it.
    if (window == core::WindowId::AdvancedRestore || window == core::WindowId::BackupProgress)
        syncViews(true);
    switch (window) {
    case core::WindowId::FullList:
        presentFullList();
        break;
    case core::WindowId::AdvancedRestore:
        advancedRestoreWindow_->present();
        break;
    case core::WindowId::BackupProgress:
        backupProgressWindow_->run();
        break;
    case core::WindowId::GoToLocation:
        goToLocationDialog_->present();
        break;
    case core::WindowId::ObjectInfo:
        objectInfoWindow_->present();
        break;
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool closing = closeConfirmed_;
    if (!closing) {
        command([this, &closing] {
            closing = core_.scanRun().tryClose() && core_.deletionLog().closeProgram();
        });
    }
    if (!closing) {
        event->ignore();
        return;
    }
    fullListWindow_->close();
    event->accept();
}

QTabWidget* MainWindow::tabs() const {
    return tabs_;
}

void MainWindow::lengthenHints() {
    // The toolkit's own pause is a few seconds, and the windows this one
    // owns (object information, restore) belong to it too.
    for (QWidget* widget : findChildren<QWidget*>()) {
        if (widget->toolTipDuration() != kHintMs)
            widget->setToolTipDuration(kHintMs);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    centreOnFirstShow(*this, centred_);
    if (!hintsLengthened_) {
        hintsLengthened_ = true;
        lengthenHints();
    }
    QWidget::showEvent(event);
}

} // namespace pylomir::ui

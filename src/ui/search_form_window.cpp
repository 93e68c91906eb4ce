#include "ui/search_form_window.h"

#include "ui/centring.h"
#include "ui/filters_page.h"
#include "ui/found_list_view.h"
#include "ui/full_list_window.h"
#include "ui/gui_message_pump.h"
#include "ui/settings_page.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <exception>

// The resources live in a static library; nothing would pull them in otherwise.
static void initPylomirResources() {
    Q_INIT_RESOURCE(resources);
}

namespace pylomir::ui {

namespace {

const QString kCaption =
    QStringLiteral(" Pylomir 8.5 Professional") + QString(24, QLatin1Char(' '));
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

void setText(QLabel* label, const QString& text) {
    if (label->text() != text)
        label->setText(text);
}

void setShown(QWidget* widget, bool visible) {
    if (widget->isHidden() == visible)
        widget->setVisible(visible);
}

QLabel* caption(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

} // namespace

TSearchForm::TSearchForm(scan::SearchForm& form, GuiMessagePump* pump, QWidget* parent)
    : QWidget(parent), form_(form), m_(form.model()), pump_(pump) {
    initPylomirResources();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(kCaption);
    setFixedSize(kClientWidth, kClientHeight);
    buildLayout();

    Form1_ = new TForm1(this);
    connect(Form1_, &TForm1::visibilityChanged, this,
            [this](bool visible) { m_.form1.Visible = visible; });

    connect(&Timer1_, &QTimer::timeout, this, [this] {
        // A timer the model has switched off does not tick, even if the
        // QTimer has not been told yet.
        if (m_.Timer1.Enabled && m_.Timer1.Interval > 0)
            command([this] { form_.scanRun().Timer1Timer(); });
    });
    connect(&Timer2_, &QTimer::timeout, this, [this] {
        if (m_.Timer2.Enabled && m_.Timer2.Interval > 0)
            command([this] { form_.scanRun().Timer2Timer(); });
    });
    connect(Button11_, &QPushButton::clicked, this,
            [this] { command([this] { form_.scanRun().Button11Click(); }); });
    connect(btnStop_, &QPushButton::clicked, this,
            [this] { command([this] { form_.scanRun().btnStopClick(); }); });
    connect(fullListButton_, &QPushButton::clicked, this,
            [this] { command([this] { showFullList(); }); });
    connect(closeProgram_, &QPushButton::clicked, this, &QWidget::close);

    // The tree starts on the model's root without running the command.
    selectFolder(QDir::fromNativeSeparators(m_.SkanujDysk));
    connect(DhCheckFolder1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid())
                    return;
                const QString path = QDir::toNativeSeparators(folders_->filePath(current));
                command([this, path] { form_.scanRun().DhCheckFolder1ChangeFolder(path); });
            });

    if (pump_)
        pump_->setTickHandler([this] { syncViews(false); });
    sinceFullListSync_.start();
    syncViews(true);
}

TSearchForm::~TSearchForm() {
    if (pump_)
        pump_->setTickHandler({});
    Timer1_.stop();
    Timer2_.stop();
}

template <class Command> void TSearchForm::command(Command&& run) {
    // Exceptions must not unwind through Qt's event dispatch; what reaches
    // here goes to the default error box, as any unhandled error would.
    try {
        run();
    } catch (const std::exception& e) {
        form_.services().ui->showError(QString::fromLocal8Bit(e.what()));
    }
    syncViews(true);
}

void TSearchForm::buildLayout() {
    QWidget* column = buildLeftColumn();
    column->setGeometry(0, 0, kColumnWidth, kTabsHeight);

    tabs_ = new QTabWidget(this);
    tabs_->setGeometry(kClientWidth - kTabsWidth, 0, kTabsWidth, kTabsHeight);
    foundList_ = new FoundListView(m_.foundList, tabs_);
    tabs_->addTab(foundList_, style()->standardIcon(QStyle::SP_FileDialogContentsView),
                  QStringLiteral("Skanowanie..."));
    closeProgram_ = new QPushButton(QStringLiteral("Zamknij program"), tabs_);
    closeProgram_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    tabs_->setCornerWidget(closeProgram_, Qt::TopRightCorner);
    const CommandRunner run = [this](const std::function<void()>& action) { command(action); };
    filtersPage_ = new FiltersPage(form_, run, hints_, tabs_);
    tabs_->addTab(filtersPage_, style()->standardIcon(QStyle::SP_FileDialogListView),
                  QStringLiteral("Wybór filtrów"));
    settingsPage_ = new SettingsPage(form_, run, hints_, tabs_);
    tabs_->addTab(settingsPage_, style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                  QStringLiteral("Ustawienia"));

    setHint(Button11_, QStringLiteral("Rozpocznij wyszukiwanie plików w zaznaczonym folderze "
                                      "lub na dysku"));
    hints_.add(closeProgram_, QStringLiteral("Zamknij aplikację. Jeśli jeszcze skanuje - musisz "
                                             "cierpliwie poczekać."));
    hints_.add(btnStop_, QStringLiteral("Wstrzymaj skanowanie do naciśnięcia \"OK\""));
    hints_.add(
        fullListButton_,
        QStringLiteral("Pokaż w osobnym oknie pełne ścieżki wszystkich znalezionych plików"));

    EncartaGauge_ = new QProgressBar(this);
    EncartaGauge_->setRange(0, 100);
    EncartaGauge_->setTextVisible(false);
    EncartaGauge_->setStyleSheet(
        QStringLiteral("QProgressBar { background: #f4f4f4; border: 1px solid #a0a0a0; }"
                       "QProgressBar::chunk { background: black; }"));
    EncartaGauge_->setGeometry(0, kTabsHeight + 1, kClientWidth, kGaugeHeight - 2);

    const int barTop = kTabsHeight + kGaugeHeight;
    StatusSkanowania_ = new QStatusBar(this);
    StatusSkanowania_->setSizeGripEnabled(false);
    StatusSkanowania_->setGeometry(0, barTop, kClientWidth, kClientHeight - barTop);
    StatusBar1_ = new QStatusBar(this);
    StatusBar1_->setSizeGripEnabled(false);
    StatusBar1_->setGeometry(0, barTop, kClientWidth, kClientHeight - barTop);
    StatusBar1Panel_ = new QLabel(StatusBar1_);
    StatusBar1_->addWidget(StatusBar1Panel_, 1);
}

QWidget* TSearchForm::buildLeftColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(4, 4, 2, 2);
    layout->setSpacing(3);

    Button11_ = new QPushButton(QStringLiteral(">> Rozpocznij skanowanie"), column);
    QFont bold = Button11_->font();
    bold.setBold(true);
    Button11_->setFont(bold);
    Button11_->setMinimumHeight(28);
    layout->addWidget(Button11_);

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::Drives);
    folders_->setRootPath(QDir::rootPath());
    // Reading and sorting happen in the background and move rows about;
    // each round ends with the selected folder brought back into view.
    revealTimer_.setSingleShot(true);
    revealTimer_.setInterval(0);
    connect(&revealTimer_, &QTimer::timeout, this, &TSearchForm::revealSelectedFolder);
    connect(folders_, &QFileSystemModel::directoryLoaded, &revealTimer_,
            qOverload<>(&QTimer::start));
    connect(folders_, &QFileSystemModel::layoutChanged, &revealTimer_, qOverload<>(&QTimer::start));
    DhCheckFolder1_ = new QTreeView(column);
    DhCheckFolder1_->setModel(folders_);
    for (int c = 1; c < folders_->columnCount(); ++c)
        DhCheckFolder1_->hideColumn(c);
    DhCheckFolder1_->setHeaderHidden(true);
    DhCheckFolder1_->setAutoExpandDelay(600);
    DhCheckFolder1_->setToolTipDuration(kHintMs);
    layout->addWidget(DhCheckFolder1_, 1);

    Label12_ = new QLabel(column);
    Label12_->setFont(bold);
    layout->addWidget(Label12_);

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
    Label11_ = caption(QString(), column);
    Label50_ = value();
    Label57_ = value();
    Label48_ = value();
    Label53_ = value();
    Label16_ = value();
    Label22_ = value();
    const std::pair<QLabel*, QLabel*> rows[] = {
        {Label11_, Label50_},
        {caption(QStringLiteral("Rozmiar:"), column), Label57_},
        {caption(QStringLiteral("Zignorowano:"), column), Label48_},
        {caption(QStringLiteral("Podejrzanych:"), column), Label53_},
        {caption(QStringLiteral("Ilość skanowań:"), column), Label16_},
        {caption(QStringLiteral("Ostatnio skan.:"), column), Label22_},
    };
    int row = 0;
    for (const auto& [name, shown] : rows) {
        name->setFont(small);
        grid->addWidget(name, row, 0);
        grid->addWidget(shown, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    btnStop_ = new QPushButton(QStringLiteral("Pauza"), column);
    btnStop_->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    fullListButton_ = new QPushButton(QStringLiteral("Pełna lista"), column);
    buttons->addWidget(btnStop_);
    buttons->addWidget(fullListButton_);
    layout->addLayout(buttons);

    auto* bottom = new QHBoxLayout;
    Animate1_ = new QLabel(column);
    Animate1_->setFixedSize(80, 60);
    movie_ = new QMovie(QStringLiteral(":/animation/monitor.gif"), QByteArray(), this);
    QImageReader reader(QStringLiteral(":/animation/monitor.gif"));
    QImage frame;
    for (int i = 0; i <= kStillFrame && reader.canRead(); ++i)
        frame = reader.read();
    stillFrame_ = QPixmap::fromImage(frame);
    Animate1_->setPixmap(stillFrame_);
    bottom->addWidget(Animate1_);
    Label27_ = new QLabel(column);
    QFont clock = Label27_->font();
    clock.setPointSize(clock.pointSize() + 8);
    clock.setBold(true);
    Label27_->setFont(clock);
    Label27_->setAlignment(Qt::AlignCenter);
    bottom->addWidget(Label27_, 1);
    layout->addLayout(bottom);
    return column;
}

void TSearchForm::selectFolder(const QString& path) {
    QString folder = path;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')) &&
           !folder.endsWith(QStringLiteral(":/")))
        folder.chop(1);
    const QModelIndex index = folders_->index(folder);
    if (!index.isValid())
        return;
    DhCheckFolder1_->setCurrentIndex(index);
    revealing_ = folder;
    sinceRevealStart_.start();
    revealSelectedFolder();
}

// The model reads folders in the background, so the rows above a folder
// exist only once their parents have been read; retried as each one is,
// for a while, and never once the user has picked another folder.
void TSearchForm::revealSelectedFolder() {
    constexpr qint64 kRevealMs = 3000;
    if (revealing_.isEmpty())
        return;
    const QModelIndex index = folders_->index(revealing_);
    if (!index.isValid() || index != DhCheckFolder1_->currentIndex() ||
        sinceRevealStart_.elapsed() > kRevealMs) {
        revealing_.clear();
        return;
    }
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        DhCheckFolder1_->expand(up);
    DhCheckFolder1_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TSearchForm::syncViews(bool full) {
    setText(Label12_, m_.Label12);
    setText(Label11_, m_.Label11);
    setText(Label50_, m_.Label50);
    setText(Label57_, m_.Label57);
    setText(Label48_, m_.Label48);
    setText(Label53_, m_.Label53);
    setText(Label16_, m_.Label16);
    setText(Label22_, m_.Label22);
    setText(Label27_, m_.Label27);
    setShown(Label27_, m_.Label27Visible);

    if (Button11_->isEnabled() != m_.Button11Enabled)
        Button11_->setEnabled(m_.Button11Enabled);
    if (btnStop_->isEnabled() != m_.btnStopEnabled)
        btnStop_->setEnabled(m_.btnStopEnabled);
    EncartaGauge_->setValue(m_.EncartaGauge);
    syncAnimation(m_.Animate1Active);

    setShown(StatusSkanowania_, m_.StatusSkanowaniaVisible);
    if (StatusSkanowania_->currentMessage() != m_.StatusSkanowania)
        StatusSkanowania_->showMessage(m_.StatusSkanowania);
    setShown(StatusBar1_, m_.StatusBar1Visible);
    setText(StatusBar1Panel_, m_.StatusBar1Panel);

    // The tree's hint flag follows the hint switch and folder changes.
    const QString hint = m_.DhCheckFolder1ShowHint ? hintText(kTreeHint) : QString();
    if (DhCheckFolder1_->toolTip() != hint)
        DhCheckFolder1_->setToolTip(hint);

    hints_.apply(m_.hintsShown);
    filtersPage_->sync();
    settingsPage_->sync();

    syncTimer(Timer1_, m_.Timer1);
    syncTimer(Timer2_, m_.Timer2);

    foundList_->syncFromCore(full);

    if (m_.form1.Visible && (full || sinceFullListSync_.elapsed() >= kFullListSyncMs)) {
        sinceFullListSync_.start();
        if (m_.form1.Stale)
            form_.scanRun().syncFullList();
        Form1_->setLines(m_.form1.Lines);
    }
}

void TSearchForm::syncTimer(QTimer& timer, const scan::TimerModel& model) {
    // A zero interval means a timer that never ticks, not one that spins.
    if (!model.Enabled || model.Interval <= 0) {
        timer.stop();
        return;
    }
    if (!timer.isActive() || timer.interval() != model.Interval)
        timer.start(model.Interval);
}

void TSearchForm::syncAnimation(bool active) {
    if (active) {
        if (movie_->state() != QMovie::Running) {
            Animate1_->setMovie(movie_);
            movie_->start();
        }
    } else if (movie_->state() != QMovie::NotRunning || Animate1_->movie()) {
        movie_->stop();
        Animate1_->setPixmap(stillFrame_);
    }
}

void TSearchForm::showFullList() {
    m_.form1.Visible = true;
    form_.scanRun().syncFullList();
    Form1_->setLines(m_.form1.Lines);
    Form1_->show();
    Form1_->raise();
    Form1_->activateWindow();
}

void TSearchForm::showWindow(core::WindowId window) {
    if (window == core::WindowId::FullList)
        showFullList();
}

void TSearchForm::closeEvent(QCloseEvent* event) {
    bool closing = true;
    command([this, &closing] { closing = form_.scanRun().FormClose(); });
    if (!closing) {
        event->ignore();
        return;
    }
    Form1_->close();
    event->accept();
}

void TSearchForm::showEvent(QShowEvent* event) {
    centreOnFirstShow(*this, centred_);
    QWidget::showEvent(event);
}

} // namespace pylomir::ui

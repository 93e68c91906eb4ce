#include "ui/advanced_restore_window.h"

#include "ui/centring.h"
#include "ui/widget_sync.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace pylomir::ui {

namespace {

// The caption's blanks push a skin's decorations to the right.
const QString kCaption = QStringLiteral("Odzyskiwanie plików z kopii zapasowej") + QString(30, ' ');
constexpr int kClientWidth = 553;
constexpr int kClientHeight = 477;

const QString kWhiteOnBlack = QStringLiteral("background: black; color: white;");

void setEditText(QLineEdit* edit, const QString& text) {
    // Rewriting an equal text would move the cursor under the user's hands.
    if (edit->text() != text)
        edit->setText(text);
}

void check(QAbstractButton* button, bool on) {
    if (button->isChecked() != on)
        button->setChecked(on);
}

// The radio button of a choice; an index out of range checks none.
void checkChoice(QButtonGroup* group, int index) {
    if (QAbstractButton* button = group->button(index)) {
        check(button, true);
    } else if (QAbstractButton* checked = group->checkedButton()) {
        group->setExclusive(false);
        checked->setChecked(false);
        group->setExclusive(true);
    }
}

QLineEdit* blueField(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, Qt::blue);
    edit->setPalette(palette);
    return edit;
}

// Radio buttons for captions, numbered by their index, in a group of their own.
QButtonGroup* radioChoices(const QStringList& captions, QWidget* parent,
                           std::vector<QRadioButton*>& radios) {
    auto* group = new QButtonGroup(parent);
    int id = 0;
    for (const QString& caption : captions) {
        auto* radio = new QRadioButton(caption, parent);
        group->addButton(radio, id++);
        radios.push_back(radio);
    }
    return group;
}

} // namespace

AdvancedRestoreWindow::AdvancedRestoreWindow(app::MainWindowCore& windowCore, CommandRunner run,
                                             QWidget* parent)
    : QDialog(parent), core_(windowCore), restore_(windowCore.restoreCommands()),
      run_(std::move(run)) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(kCaption);
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);
    // The window's size was drawn for a small font: the rule captions must
    // fit two to a row.
    QFont small = font();
    if (small.pointSizeF() > 0) {
        small.setPointSizeF(small.pointSizeF() * 0.9);
        setFont(small);
    }

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(8, 8, 8, 4);
    page->setSpacing(5);

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    // Half each: the archives' names are long and of one length.
    top->addWidget(buildArchiveColumn(), 1);
    top->addWidget(buildInfoColumn(), 1);
    page->addLayout(top, 1);
    page->addWidget(buildRuleGroup());
    page->addWidget(buildTargetGroup());

    restoreButton_ = new QPushButton(QStringLiteral("Odzyskaj pliki z wybranej kopii"), this);
    restoreButton_->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    cancelButton_ = new QPushButton(QStringLiteral("Anuluj odzyskiwanie"), this);
    cancelButton_->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    closeButton_ = new QPushButton(QStringLiteral("Zamknij"), this);
    closeButton_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    // Enter in the folder field must not restore or close by itself.
    for (QPushButton* button : {restoreButton_, cancelButton_, closeButton_})
        button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(restoreButton_);
    buttons->addWidget(cancelButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton_);
    page->addLayout(buttons);

    instructionLabel_ = new QLabel(this);
    instructionLabel_->setWordWrap(true);
    instructionLabel_->setStyleSheet(QStringLiteral("color: navy;"));
    // Two lines always: a file name in its place must not move the buttons.
    instructionLabel_->setFixedHeight(2 * instructionLabel_->fontMetrics().lineSpacing() + 2);
    instructionLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    page->addWidget(instructionLabel_);

    progressBar_ = new QProgressBar(this);
    progressBar_->setRange(0, 100);
    progressBar_->setFixedHeight(14);
    progressBar_->setTextVisible(false);
    QSizePolicy keepPlace = progressBar_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    progressBar_->setSizePolicy(keepPlace);
    page->addWidget(progressBar_);

    buildBackupTools();

    connect(restoreButton_, &QPushButton::clicked, this,
            [this] { run_([this] { restore_.restoreWithOptions(); }); });
    connect(cancelButton_, &QPushButton::clicked, this, &AdvancedRestoreWindow::cancelOrClose);
    connect(closeButton_, &QPushButton::clicked, this, &AdvancedRestoreWindow::reject);
    sync();
}

QWidget* AdvancedRestoreWindow::buildArchiveColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(new QLabel(QStringLiteral("Dostępne pliki kopii zapasowych"), column));
    archiveList_ = new QListWidget(column);
    archiveList_->setSelectionMode(QAbstractItemView::SingleSelection);
    archiveList_->setStyleSheet(QStringLiteral("QListWidget { %1 }").arg(kWhiteOnBlack));
    layout->addWidget(archiveList_, 1);
    connect(archiveList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            run_([this, row] { restore_.selectArchive(row); });
    });
    return column;
}

QWidget* AdvancedRestoreWindow::buildInfoColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(new QLabel(QStringLiteral("Data utworzenia kopii zapasowej:"), column));
    archiveTitleEdit_ = blueField(column);
    // A click hides the backup tools and a double click shows them.
    archiveTitleEdit_->installEventFilter(this);
    layout->addWidget(archiveTitleEdit_);
    layout->addWidget(
        new QLabel(QStringLiteral("Informacje o plikach w kopii zapasowej:"), column));
    archiveSummaryEdit_ = blueField(column);
    layout->addWidget(archiveSummaryEdit_);
    archiveFilesView_ = new QPlainTextEdit(column);
    archiveFilesView_->setReadOnly(true);
    archiveFilesView_->setLineWrapMode(QPlainTextEdit::NoWrap);
    archiveFilesView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    archiveFilesView_->setStyleSheet(QStringLiteral("QPlainTextEdit { %1 }").arg(kWhiteOnBlack));
    layout->addWidget(archiveFilesView_, 1);
    return column;
}

QGroupBox* AdvancedRestoreWindow::buildRuleGroup() {
    restoreRuleGroup_ = new QGroupBox(QStringLiteral("Opcje odzyskiwania"), this);
    QStringList captions;
    for (const backup::RestoreRuleChoice& choice : backup::kRestoreRuleChoices)
        captions << QString::fromUtf8(choice.caption);
    ruleButtons_ = radioChoices(captions, restoreRuleGroup_, ruleRadios_);
    // Two columns, down the first and then the second.
    auto* grid = new QGridLayout(restoreRuleGroup_);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setVerticalSpacing(2);
    const int rows = int(ruleRadios_.size() + 1) / 2;
    for (int i = 0; i < int(ruleRadios_.size()); ++i)
        grid->addWidget(ruleRadios_[size_t(i)], i % rows, i / rows);
    connect(ruleButtons_, &QButtonGroup::idClicked, this,
            [this](int id) { run_([this, id] { restore_.setRestoreRuleChoice(id); }); });
    return restoreRuleGroup_;
}

QGroupBox* AdvancedRestoreWindow::buildTargetGroup() {
    targetGroup_ = new QGroupBox(QStringLiteral("Opcje odzyskiwania:"), this);
    originalLocationRadio_ = new QRadioButton(
        QStringLiteral("Oryginalna lokalizacja (nadpisanie istniejących plików)"), targetGroup_);
    otherFolderRadio_ = new QRadioButton(QStringLiteral("Inna lokalizacja:"), targetGroup_);
    otherFolderEdit_ = new QLineEdit(targetGroup_);
    restoreFolderTreeCheck_ = new QCheckBox(QStringLiteral("Restore full path"), targetGroup_);
    restoreFolderTreeCheck_->setEnabled(false);
    restoreFolderTreeCheck_->hide();
    auto* grid = new QGridLayout(targetGroup_);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setVerticalSpacing(2);
    grid->addWidget(originalLocationRadio_, 0, 0, 1, 2);
    grid->addWidget(otherFolderRadio_, 1, 0);
    grid->addWidget(otherFolderEdit_, 1, 1);
    grid->setColumnStretch(1, 1);
    connect(originalLocationRadio_, &QRadioButton::clicked, this,
            [this] { run_([this] { restore_.chooseOtherFolder(false); }); });
    connect(otherFolderRadio_, &QRadioButton::clicked, this,
            [this] { run_([this] { restore_.chooseOtherFolder(true); }); });
    connect(otherFolderEdit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { restore_.setOtherFolderText(text); });
    return targetGroup_;
}

void AdvancedRestoreWindow::buildBackupTools() {
    backupToolsPanel_ = new QFrame(this);
    backupToolsPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    backupToolsPanel_->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(backupToolsPanel_);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    backupSourcesList_ = new QListWidget(backupToolsPanel_);
    layout->addWidget(backupSourcesList_, 1);

    createBackupButton_ = new QPushButton(QStringLiteral("Tworzenie..."), backupToolsPanel_);
    addFolderMaskButton_ = new QPushButton(
        QStringLiteral("Dodaj wszystko z folderu (nie korzystane)"), backupToolsPanel_);
    clearBackupSourcesButton_ =
        new QPushButton(QStringLiteral("Kasowanie listy (nie korzystane)"), backupToolsPanel_);
    cancelBackupButton_ = new QPushButton(QStringLiteral("Anulowanie"), backupToolsPanel_);
    auto* buttons = new QGridLayout;
    buttons->setSpacing(4);
    buttons->addWidget(addFolderMaskButton_, 0, 0, 1, 2);
    buttons->addWidget(clearBackupSourcesButton_, 1, 0, 1, 2);
    buttons->addWidget(createBackupButton_, 2, 0);
    buttons->addWidget(cancelBackupButton_, 2, 1);
    for (QPushButton* button : {createBackupButton_, addFolderMaskButton_,
                                clearBackupSourcesButton_, cancelBackupButton_})
        button->setAutoDefault(false);
    layout->addLayout(buttons);

    auto* scopeGroup = new QGroupBox(QStringLiteral("Backup mode"), backupToolsPanel_);
    QStringList scopes;
    for (const char* caption : backup::kBackupScopeChoices)
        scopes << QString::fromUtf8(caption);
    scopeButtons_ = radioChoices(scopes, scopeGroup, scopeRadios_);
    auto* scopeLayout = new QVBoxLayout(scopeGroup);
    scopeLayout->setContentsMargins(6, 2, 6, 2);
    scopeLayout->setSpacing(1);
    for (QRadioButton* radio : scopeRadios_)
        scopeLayout->addWidget(radio);
    storeInfoListCheck_ = new QCheckBox(QStringLiteral("SaveFileID"), scopeGroup);
    scopeLayout->addWidget(storeInfoListCheck_);
    scopeLayout->addStretch(1);

    auto* compressionGroup = new QGroupBox(QStringLiteral("Compression level"), backupToolsPanel_);
    QStringList levels;
    for (const backup::CompressionChoice& choice : backup::kCompressionChoices)
        levels << QString::fromUtf8(choice.caption);
    compressionButtons_ = radioChoices(levels, compressionGroup, compressionRadios_);
    auto* compressionLayout = new QVBoxLayout(compressionGroup);
    compressionLayout->setContentsMargins(6, 2, 6, 2);
    compressionLayout->setSpacing(1);
    for (QRadioButton* radio : compressionRadios_)
        compressionLayout->addWidget(radio);

    auto* options = new QHBoxLayout;
    options->setSpacing(4);
    options->addWidget(scopeGroup, 1);
    options->addWidget(compressionGroup, 1);
    layout->addLayout(options);
    backupToolsPanel_->hide();

    connect(createBackupButton_, &QPushButton::clicked, this,
            [this] { run_([this] { core_.backupCommands().createBackup(); }); });
    connect(addFolderMaskButton_, &QPushButton::clicked, this,
            [this] { run_([this] { restore_.addFolderMask(); }); });
    connect(clearBackupSourcesButton_, &QPushButton::clicked, this,
            [this] { run_([this] { restore_.clearBackupSources(); }); });
    connect(cancelBackupButton_, &QPushButton::clicked, this,
            &AdvancedRestoreWindow::cancelOrClose);
    connect(scopeButtons_, &QButtonGroup::idClicked, this, [this](int id) {
        run_([this, id] { restore_.setBackupScope(backup::BackupScope(id)); });
    });
    connect(compressionButtons_, &QButtonGroup::idClicked, this,
            [this](int id) { run_([this, id] { restore_.setCompressionChoice(id); }); });
    connect(storeInfoListCheck_, &QCheckBox::clicked, this,
            [this](bool on) { run_([this, on] { restore_.setStoreInfoList(on); }); });
}

void AdvancedRestoreWindow::placeBackupTools() {
    layout()->activate();
    const QPoint titleBottom =
        archiveTitleEdit_->mapTo(this, QPoint(0, archiveTitleEdit_->height()));
    const int top = titleBottom.y() + 4;
    const int bottom = restoreButton_->mapTo(this, QPoint(0, 0)).y() - 4;
    const int left = titleBottom.x() - 4;
    backupToolsPanel_->setGeometry(left, top, width() - left - 4, bottom - top);
    backupToolsPanel_->raise();
}

void AdvancedRestoreWindow::sync() {
    const backup::AdvancedRestoreState& s = restore_.state();
    syncNames(archiveList_, shownArchives_, s.archiveNames, s.currentArchive,
              style()->standardIcon(QStyle::SP_FileIcon));
    setEditText(archiveTitleEdit_, s.titleText);
    setEditText(archiveSummaryEdit_, s.summaryText);
    if (shownFileLines_ != s.fileLines) {
        shownFileLines_ = s.fileLines;
        archiveFilesView_->setPlainText(shownFileLines_.join(QLatin1Char('\n')));
    }

    checkChoice(ruleButtons_, s.restoreRuleChoice);
    check(originalLocationRadio_, !s.toOtherFolder);
    check(otherFolderRadio_, s.toOtherFolder);
    setEditText(otherFolderEdit_, s.otherFolderText);
    enable(otherFolderEdit_, s.otherFolderEnabled());
    enable(restoreFolderTreeCheck_, s.otherFolderEnabled());

    if (instructionLabel_->text() != s.instructionText)
        instructionLabel_->setText(s.instructionText);
    setShown(progressBar_, s.progressVisible);
    if (progressBar_->value() != s.progressPercent)
        progressBar_->setValue(s.progressPercent);

    setShown(backupToolsPanel_, s.backupToolsVisible);
    syncNames(backupSourcesList_, shownSources_, s.backupSources, -1, QIcon());
    checkChoice(scopeButtons_, int(s.backupOptions.scope));
    checkChoice(compressionButtons_, s.backupOptions.compressionChoice);
    check(storeInfoListCheck_, s.backupOptions.storeInfoList);
}

void AdvancedRestoreWindow::present() {
    sync();
    exec();
}

void AdvancedRestoreWindow::cancelOrClose() {
    bool closing = false;
    run_([this, &closing] { closing = restore_.cancelOrClose(); });
    if (closing)
        QDialog::reject();
}

void AdvancedRestoreWindow::reject() {
    // Hidden in the middle of a restore, the window could no longer cancel it.
    if (core_.model().archive.busy)
        cancelOrClose();
    else
        QDialog::reject();
}

bool AdvancedRestoreWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == archiveTitleEdit_) {
        if (event->type() == QEvent::MouseButtonDblClick)
            run_([this] { restore_.showBackupTools(); });
        else if (event->type() == QEvent::MouseButtonPress)
            run_([this] { restore_.hideBackupTools(); });
    }
    return QDialog::eventFilter(watched, event);
}

void AdvancedRestoreWindow::showEvent(QShowEvent* event) {
    centreOnFirstShow(*this, centred_);
    QDialog::showEvent(event);
    placeBackupTools();
    sync();
}

} // namespace pylomir::ui

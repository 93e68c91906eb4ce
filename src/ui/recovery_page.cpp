#include "ui/recovery_page.h"

#include "core/shown_texts.h"
#include "ui/hint_switch.h"
#include "ui/widget_sync.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace pylomir::ui {

namespace {

// A heading and its count on one line.
QHBoxLayout* headingRow(const QString& heading, QLabel* count, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(new QLabel(heading, parent));
    row->addWidget(count);
    row->addStretch(1);
    return row;
}

QListWidget* fileList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    return list;
}

} // namespace

RecoveryPage::RecoveryPage(app::MainWindowCore& windowCore, CommandRunner run, HintSwitch& hints,
                           QWidget* parent)
    : QWidget(parent), core_(windowCore), r_(windowCore.model().recovery), run_(std::move(run)) {
    using backup::RecoveryTab;
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    page->setSpacing(4);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);

    archiveCountLabel_ = countLabel(this);
    archiveList_ = fileList(this);
    grid->addLayout(headingRow(QStringLiteral("Dostępne pliki kopii zapasowych. Liczba kopii:"),
                               archiveCountLabel_, this),
                    0, 0);
    grid->addWidget(archiveList_, 1, 0);

    logCountLabel_ = countLabel(this);
    logList_ = fileList(this);
    grid->addLayout(
        headingRow(QStringLiteral("Utworzone pliki LOG. Liczba logów:"), logCountLabel_, this), 0,
        1);
    grid->addWidget(logList_, 1, 1);

    restoreButton_ = addButton("Odzyskaj pliki z wybranej kopii",
                               "Wybierz kopię zapasową i naciśnij, aby odzyskać wszystkie pliki z "
                               "tej kopii do pierwotnej lokalizacji",
                               hints, &RecoveryTab::restoreSelectedArchive);
    advancedRestoreButton_ = addButton("Zaawansowane odzyskiwanie plików",
                                       "Wybierz zaawansowane odzyskiwanie plików z wybranej kopii",
                                       hints, &RecoveryTab::openAdvancedRestore);
    deleteArchiveButton_ = addButton("Usuń kopię",
                                     "Zaznacz wybraną kopię\r\ni usuń jeśli nie potrzebujesz\r\n"
                                     "trzymać jej na dysku",
                                     hints, &RecoveryTab::deleteSelectedArchive);
    viewLogButton_ = addButton("Przeglądaj wybrany raport",
                               "Wybierz plik raportu i naciśnij w celu przejrzenia jego zawartości",
                               hints, &RecoveryTab::viewSelectedLog);
    deleteLogButton_ = addButton("Usuń raport",
                                 "Zaznacz wybrany raport\r\ni usuń jeśli nie potrzebujesz\r\n"
                                 "trzymać go na dysku",
                                 hints, &RecoveryTab::deleteSelectedLog);
    const std::pair<QPushButton*, QStyle::StandardPixmap> icons[] = {
        {restoreButton_, QStyle::SP_BrowserReload},
        {advancedRestoreButton_, QStyle::SP_FileDialogDetailedView},
        {deleteArchiveButton_, QStyle::SP_TrashIcon},
        {viewLogButton_, QStyle::SP_FileDialogContentsView},
        {deleteLogButton_, QStyle::SP_TrashIcon},
    };
    for (const auto& [button, icon] : icons)
        button->setIcon(style()->standardIcon(icon));

    // Each list's commands under it.
    auto* archiveButtons = new QGridLayout;
    archiveButtons->setSpacing(4);
    archiveButtons->addWidget(restoreButton_, 0, 0, 1, 2);
    archiveButtons->addWidget(advancedRestoreButton_, 1, 0);
    archiveButtons->addWidget(deleteArchiveButton_, 1, 1);
    grid->addLayout(archiveButtons, 2, 0);
    auto* logButtons = new QVBoxLayout;
    logButtons->setSpacing(4);
    logButtons->addWidget(viewLogButton_);
    logButtons->addWidget(deleteLogButton_);
    grid->addLayout(logButtons, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    page->addLayout(grid, 1);

    restoreProgressBar_ = new QProgressBar(this);
    restoreProgressBar_->setRange(0, 100);
    restoreProgressBar_->setTextVisible(false);
    restoreProgressBar_->setFixedHeight(14);
    page->addWidget(restoreProgressBar_);

    // A click makes the entry current; the commands act on it.
    RecoveryTab& tab = core_.recoveryTab();
    connect(archiveList_, &QListWidget::currentRowChanged, this,
            [&tab](int row) { tab.selectArchive(row); });
    connect(logList_, &QListWidget::currentRowChanged, this,
            [&tab](int row) { tab.selectLog(row); });
    sync();
}

QPushButton* RecoveryPage::addButton(const char* caption, const char* hint, HintSwitch& hints,
                                     void (backup::RecoveryTab::*command)()) {
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    hints.add(button, QString::fromUtf8(hint));
    connect(button, &QPushButton::clicked, this,
            [this, command] { run_([this, command] { (core_.recoveryTab().*command)(); }); });
    return button;
}

void RecoveryPage::sync() {
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    syncNames(archiveList_, shownArchives_, r_.archiveNames, r_.currentArchive, icon);
    syncNames(logList_, shownLogs_, r_.logNames, r_.currentLog, icon);
    setText(archiveCountLabel_, core::archiveCountText(r_));
    setText(logCountLabel_, core::logCountText(r_));
    if (restoreProgressBar_->value() != r_.restoreProgress)
        restoreProgressBar_->setValue(r_.restoreProgress);
}

} // namespace pylomir::ui

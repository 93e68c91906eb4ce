#include "ui/settings_page.h"

#include "scan/option_table.h"
#include "ui/hint_switch.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace pylomir::ui {

namespace {

using core::OptionsState;

// Options of general use, one to a line, in the order the tab lists them.
constexpr bool OptionsState::*kGeneralOptions[] = {
    &OptionsState::clearAttributesOnScan,   &OptionsState::showHints,
    &OptionsState::writeLogOnClose,         &OptionsState::htmlReportsEnabled,
    &OptionsState::backupBeforeQuickDelete,
};

// What the search looks into; two columns. Folder names are never shown.
constexpr bool OptionsState::*kSearchOptions[] = {
    &OptionsState::includeSubfolders, &OptionsState::includeReadOnly, &OptionsState::includeHidden,
    &OptionsState::includeSystem,     &OptionsState::includeArchive,  &OptionsState::includeAnyFile,
};

void setEditText(QLineEdit* edit, const QString& text) {
    // Rewriting an equal text would move the cursor under the user's hands.
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

SettingsPage::SettingsPage(app::MainWindowCore& windowCore, CommandRunner run, HintSwitch& hints,
                           QWidget* parent)
    : QWidget(parent), core_(windowCore), o_(windowCore.model().options), run_(std::move(run)) {
    scan::SettingsTab& tab = core_.settingsTab();
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 4, 6, 4);
    page->setSpacing(4);

    auto* foldersGroup = new QGroupBox(
        QStringLiteral("Ustawienie ścieżek dla kopii zapasowej (BACKUP) i plików raportu (PLM)"),
        this);
    auto* folders = new QGridLayout(foldersGroup);
    folders->setVerticalSpacing(4);
    backupFolderEdit_ = new QLineEdit(foldersGroup);
    connect(backupFolderEdit_, &QLineEdit::textEdited, this,
            [&tab](const QString& typed) { tab.setBackupFolderText(typed); });
    logFolderEdit_ = new QLineEdit(foldersGroup);
    connect(logFolderEdit_, &QLineEdit::textEdited, this,
            [&tab](const QString& typed) { tab.setLogFolderText(typed); });
    backupFolderButton_ = new QPushButton(QStringLiteral("Zmień katalog"), foldersGroup);
    logFolderButton_ = new QPushButton(QStringLiteral("Zmień katalog"), foldersGroup);
    for (QPushButton* button : {backupFolderButton_, logFolderButton_})
        button->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    folders->addWidget(new QLabel(QStringLiteral("Kopie zapasowe (BACKUP):"), foldersGroup), 0, 0);
    folders->addWidget(backupFolderEdit_, 0, 1);
    folders->addWidget(backupFolderButton_, 0, 2);
    folders->addWidget(new QLabel(QStringLiteral("Pliki raportu (PLM):"), foldersGroup), 1, 0);
    folders->addWidget(logFolderEdit_, 1, 1);
    folders->addWidget(logFolderButton_, 1, 2);
    folders->setColumnStretch(1, 1);
    page->addWidget(foldersGroup);

    auto* optionsGroup = new QGroupBox(QStringLiteral("Ustawienia pozostałe"), this);
    auto* options = new QVBoxLayout(optionsGroup);
    options->setSpacing(2);
    for (const auto option : kGeneralOptions)
        options->addWidget(addCheck(option, optionsGroup));

    auto* threshold = new QHBoxLayout;
    threshold->setSpacing(4);
    threshold->addWidget(addCheck(&OptionsState::autoIgnore, optionsGroup));
    autoIgnoreThresholdEdit_ = new QLineEdit(optionsGroup);
    autoIgnoreThresholdEdit_->setFixedWidth(80);
    autoIgnoreThresholdEdit_->setAlignment(Qt::AlignRight);
    setHint(autoIgnoreThresholdEdit_,
            QStringLiteral(
                "Liczba musi być podana w bajtach (domyślnie około 670000 bajtów = 650 KB)"));
    connect(autoIgnoreThresholdEdit_, &QLineEdit::textEdited, this,
            [&tab](const QString& typed) { tab.setAutoIgnoreThresholdText(typed); });
    threshold->addWidget(autoIgnoreThresholdEdit_);
    threshold->addWidget(new QLabel(QStringLiteral("bajtów"), optionsGroup));
    threshold->addStretch(1);
    options->addLayout(threshold);
    options->addSpacing(4);

    auto* search = new QGridLayout;
    search->setVerticalSpacing(3);
    constexpr int kSearchRows = 3;
    int i = 0;
    for (const auto option : kSearchOptions) {
        search->addWidget(addCheck(option, optionsGroup), i % kSearchRows, i / kSearchRows);
        ++i;
    }
    options->addLayout(search);
    page->addWidget(optionsGroup);
    page->addStretch(1);

    auto* commands = new QHBoxLayout;
    resetStatisticsButton_ = new QPushButton(QStringLiteral("Odśwież statystyki"), this);
    resetStatisticsButton_->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    commands->addWidget(resetStatisticsButton_);
    saveFoundListButton_ = new QPushButton(QStringLiteral("Zapisz listę znalez. plików"), this);
    saveFoundListButton_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    commands->addWidget(saveFoundListButton_);
    loadFoundListButton_ = new QPushButton(QStringLiteral("Wczytaj listę znalez. plików"), this);
    loadFoundListButton_->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    commands->addWidget(loadFoundListButton_);
    commands->addStretch(1);
    saveButton_ = new QPushButton(QStringLiteral("Zastosuj wprowadzone zmiany"), this);
    saveButton_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    // The settings' own button keeps the corner; the list commands sit apart.
    auto* store = new QHBoxLayout;
    store->addStretch(1);
    store->addWidget(saveButton_);
    page->addLayout(commands);
    page->addLayout(store);

    hints.add(saveButton_, QStringLiteral("Zapisz ustawienia programu i ścieżki katalogów"));
    hints.add(resetStatisticsButton_,
              QStringLiteral("Usuwanie wszystkich statystyk ze skanowania"));
    hints.add(saveFoundListButton_,
              QStringLiteral("Zapisz ścieżki znalezionych plików w pliku listy (.pff)"));
    hints.add(loadFoundListButton_,
              QStringLiteral("Wczytaj listę plików zapisaną wcześniej w pliku .pff"));
    setHint(backupFolderButton_, QStringLiteral("Wybierz folder dla plików kopii zapasowej"));
    setHint(logFolderButton_, QStringLiteral("Wybierz folder dla plików raportu"));

    connect(saveButton_, &QPushButton::clicked, this,
            [this, &tab] { run_([&tab] { tab.saveSettings(); }); });
    records::Statistics& statistics = core_.statistics();
    connect(resetStatisticsButton_, &QPushButton::clicked, this,
            [this, &statistics] { run_([&statistics] { statistics.resetStatistics(); }); });
    records::FoundListFiles& lists = core_.foundListFiles();
    connect(saveFoundListButton_, &QPushButton::clicked, this,
            [this, &lists] { run_([&lists] { lists.saveFoundList(); }); });
    connect(loadFoundListButton_, &QPushButton::clicked, this,
            [this, &lists] { run_([&lists] { lists.loadFoundList(); }); });
    connect(backupFolderButton_, &QPushButton::clicked, this,
            [this, &tab] { run_([&tab] { tab.chooseBackupFolder(); }); });
    connect(logFolderButton_, &QPushButton::clicked, this,
            [this, &tab] { run_([&tab] { tab.chooseLogFolder(); }); });
}

QCheckBox* SettingsPage::addCheck(bool OptionsState::*option, QWidget* parent) {
    auto* check = new QCheckBox(QString::fromUtf8(scan::optionRow(option).caption), parent);
    optionChecks_.emplace_back(option, check);
    connect(check, &QCheckBox::clicked, this, [this, option](bool on) {
        run_([this, option, on] { core_.settingsTab().setOption(option, on); });
    });
    return check;
}

QCheckBox* SettingsPage::optionCheck(bool OptionsState::*option) const {
    for (const auto& [shown, check] : optionChecks_) {
        if (shown == option)
            return check;
    }
    return nullptr;
}

void SettingsPage::sync() {
    for (const auto& [option, check] : optionChecks_) {
        if (check->isChecked() != o_.*option)
            check->setChecked(o_.*option);
    }
    setEditText(backupFolderEdit_, o_.backupFolderText);
    setEditText(logFolderEdit_, o_.logFolderText);
    setEditText(autoIgnoreThresholdEdit_, o_.autoIgnoreThresholdText);
    if (autoIgnoreThresholdEdit_->isEnabled() != o_.autoIgnoreThresholdEnabled())
        autoIgnoreThresholdEdit_->setEnabled(o_.autoIgnoreThresholdEnabled());
}

} // namespace pylomir::ui

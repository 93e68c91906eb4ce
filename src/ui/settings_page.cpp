#include "ui/settings_page.h"

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

using scan::SearchFormModel;

struct OptionRow {
    bool SearchFormModel::*option;
    const char* caption;
};

// Options of general use, one to a line, in the order the tab lists them.
const OptionRow kGeneralOptions[] = {
    {&SearchFormModel::CheckBox103, "Automatycznie kasuj atrybuty pliku"},
    {&SearchFormModel::CheckBox99, "Pokaż podpowiedzi do przycisków"},
    {&SearchFormModel::CheckBox100, "Zapisuj logi ze skanowania systemu"},
    {&SearchFormModel::CheckBox102, "Włącz możliwość tworzenia raportów HTML"},
    {&SearchFormModel::CheckBox122,
     "Twórz kopię zapasową przed usunieciem - opcja dla przycisku \"Szybkie usuwanie\""},
};

const OptionRow kAutoIgnore = {
    &SearchFormModel::CheckBox141,
    "Automatycznie dodawaj pliki o podwyższonym ryzyku do listy Ignorowań większe od:"};

// What the search looks into; short captions, two columns. CheckBox147
// (folder names) is never shown.
const OptionRow kSearchOptions[] = {
    {&SearchFormModel::cbRecursive, "Przeszukuj podfoldery dysku"},
    {&SearchFormModel::CheckBox144, "Szukaj w plikach z atrybutem tylko do odczytu"},
    {&SearchFormModel::CheckBox145, "Szukaj w plikach z atrybutem ukryty"},
    {&SearchFormModel::CheckBox146, "Szukaj w plikach z atrybutem systemowy"},
    {&SearchFormModel::CheckBox148, "Szukaj w plikach z atrybutem archiwalny"},
    {&SearchFormModel::CheckBox149, "Szukaj w plikach bez atrybutów"},
};

void setEditText(QLineEdit* edit, const QString& text) {
    // Rewriting an equal text would move the cursor under the user's hands.
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

SettingsPage::SettingsPage(scan::SearchForm& form, CommandRunner run, HintSwitch& hints,
                           QWidget* parent)
    : QWidget(parent), form_(form), m_(form.model()), run_(std::move(run)) {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    page->setSpacing(6);

    auto* foldersGroup = new QGroupBox(
        QStringLiteral("Ustawienie ścieżek dla kopii zapasowej (BACKUP) i plików raportu (PLM)"),
        this);
    auto* folders = new QGridLayout(foldersGroup);
    folders->setVerticalSpacing(4);
    Edit4_ = folderEdit(&SearchFormModel::Edit4);
    Edit5_ = folderEdit(&SearchFormModel::Edit5);
    Button18_ = new QPushButton(QStringLiteral("Zmień katalog"), foldersGroup);
    Button19_ = new QPushButton(QStringLiteral("Zmień katalog"), foldersGroup);
    for (QPushButton* button : {Button18_, Button19_})
        button->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    folders->addWidget(new QLabel(QStringLiteral("Kopie zapasowe (BACKUP):"), foldersGroup), 0, 0);
    folders->addWidget(Edit4_, 0, 1);
    folders->addWidget(Button18_, 0, 2);
    folders->addWidget(new QLabel(QStringLiteral("Pliki raportu (PLM):"), foldersGroup), 1, 0);
    folders->addWidget(Edit5_, 1, 1);
    folders->addWidget(Button19_, 1, 2);
    folders->setColumnStretch(1, 1);
    page->addWidget(foldersGroup);

    auto* optionsGroup = new QGroupBox(QStringLiteral("Ustawienia pozostałe"), this);
    auto* options = new QVBoxLayout(optionsGroup);
    options->setSpacing(3);
    auto addBox = [this, optionsGroup](const OptionRow& row) {
        auto* box = new QCheckBox(QString::fromUtf8(row.caption), optionsGroup);
        options_.emplace_back(row.option, box);
        connect(box, &QCheckBox::clicked, this, [this, option = row.option](bool on) {
            run_([this, option, on] { form_.settingsTab().setOption(option, on); });
        });
        return box;
    };
    for (const OptionRow& row : kGeneralOptions)
        options->addWidget(addBox(row));

    auto* threshold = new QHBoxLayout;
    threshold->setSpacing(4);
    threshold->addWidget(addBox(kAutoIgnore));
    EditRozmiarIgnorowania_ = new QLineEdit(optionsGroup);
    EditRozmiarIgnorowania_->setFixedWidth(80);
    EditRozmiarIgnorowania_->setAlignment(Qt::AlignRight);
    setHint(EditRozmiarIgnorowania_,
            QStringLiteral(
                "Liczba musi być podana w bajtach (domyślnie około 670000 bajtów = 650 KB)"));
    connect(EditRozmiarIgnorowania_, &QLineEdit::textEdited, this,
            [this](const QString& typed) { m_.EditRozmiarIgnorowania = typed; });
    threshold->addWidget(EditRozmiarIgnorowania_);
    threshold->addWidget(new QLabel(QStringLiteral("bajtów"), optionsGroup));
    threshold->addStretch(1);
    options->addLayout(threshold);
    options->addSpacing(4);

    auto* search = new QGridLayout;
    search->setVerticalSpacing(3);
    constexpr int kSearchRows = 3;
    int i = 0;
    for (const OptionRow& row : kSearchOptions) {
        search->addWidget(addBox(row), i % kSearchRows, i / kSearchRows);
        ++i;
    }
    options->addLayout(search);
    page->addWidget(optionsGroup);
    page->addStretch(1);

    auto* commands = new QHBoxLayout;
    commands->addStretch(1);
    Button8_ = new QPushButton(QStringLiteral("Zastosuj wprowadzone zmiany"), this);
    Button8_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    commands->addWidget(Button8_);
    page->addLayout(commands);

    hints.add(Button8_, QStringLiteral("Zapisz ustawienia programu i ścieżki katalogów"));
    setHint(Button18_, QStringLiteral("Wybierz folder dla plików kopii zapasowej"));
    setHint(Button19_, QStringLiteral("Wybierz folder dla plików raportu"));

    connect(Button8_, &QPushButton::clicked, this,
            [this] { run_([this] { form_.settingsTab().Button8Click(); }); });
    connect(Button18_, &QPushButton::clicked, this,
            [this] { run_([this] { form_.settingsTab().Button18Click(); }); });
    connect(Button19_, &QPushButton::clicked, this,
            [this] { run_([this] { form_.settingsTab().Button19Click(); }); });
}

QLineEdit* SettingsPage::folderEdit(QString SearchFormModel::*field) {
    auto* edit = new QLineEdit(this);
    connect(edit, &QLineEdit::textEdited, this,
            [this, field](const QString& typed) { m_.*field = typed; });
    return edit;
}

QCheckBox* SettingsPage::optionBox(bool SearchFormModel::*option) const {
    for (const auto& [shown, box] : options_) {
        if (shown == option)
            return box;
    }
    return nullptr;
}

void SettingsPage::sync() {
    for (const auto& [option, box] : options_) {
        if (box->isChecked() != m_.*option)
            box->setChecked(m_.*option);
    }
    setEditText(Edit4_, m_.Edit4);
    setEditText(Edit5_, m_.Edit5);
    setEditText(EditRozmiarIgnorowania_, m_.EditRozmiarIgnorowania);
    if (EditRozmiarIgnorowania_->isEnabled() != m_.EditRozmiarIgnorowaniaEnabled)
        EditRozmiarIgnorowania_->setEnabled(m_.EditRozmiarIgnorowaniaEnabled);
}

} // namespace pylomir::ui

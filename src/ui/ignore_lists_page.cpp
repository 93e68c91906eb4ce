#include "ui/ignore_lists_page.h"

#include "core/shown_texts.h"
#include "ui/found_list_view.h"
#include "ui/hint_switch.h"
#include "ui/widget_sync.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace pylomir::ui {

namespace {

const QString kIntro = QStringLiteral(
    "Pliki z listy ignorowanych plików nie pojawiają się w wynikach skanowania, nawet gdy pasują "
    "do filtra. Typy z listy ignorowanych filtrów (maski nazw, np. r?port.*) wykluczają ze "
    "skanowania każdy plik o pasującej nazwie. Obie listy są zapisywane od razu po każdej "
    "zmianie; prawy przycisk myszy na liście otwiera jej menu.");

// A field and its add button side by side; Enter in the field presses the button.
QHBoxLayout* addRow(QLineEdit* edit, QPushButton* button) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(edit, 1);
    row->addWidget(button);
    QObject::connect(edit, &QLineEdit::returnPressed, button, &QPushButton::click);
    return row;
}

void popUpAt(QMenu* menu, QAbstractItemView* view, const QPoint& at) {
    menu->popup(view->viewport()->mapToGlobal(at));
}

} // namespace

IgnoreListsPage::IgnoreListsPage(app::MainWindowCore& windowCore, CommandRunner run,
                                 HintSwitch& hints, QWidget* parent)
    : QWidget(parent), core_(windowCore), l_(windowCore.model().ignore), run_(std::move(run)) {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    page->setSpacing(6);

    auto* intro = new QLabel(kIntro, this);
    intro->setWordWrap(true);
    page->addWidget(intro);

    auto* counts = new QHBoxLayout;
    counts->setSpacing(4);
    counts->addWidget(new QLabel(QStringLiteral("Aktualnie ignorowanych na liście jest:"), this));
    ignoredFilesCountLabel_ = countLabel(this);
    counts->addWidget(ignoredFilesCountLabel_);
    counts->addWidget(new QLabel(QStringLiteral("plików +"), this));
    ignoredMasksCountLabel_ = countLabel(this);
    counts->addWidget(ignoredMasksCountLabel_);
    counts->addWidget(new QLabel(QStringLiteral("typów filtrów"), this));
    counts->addStretch(1);
    page->addLayout(counts);

    auto* lists = new QHBoxLayout;
    lists->setSpacing(6);
    // Paths are long and masks short.
    lists->addWidget(buildFilesColumn(hints), 3);
    lists->addWidget(buildMasksColumn(hints), 2);
    page->addLayout(lists, 1);

    buildMenus();
    sync();
}

QWidget* IgnoreListsPage::buildFilesColumn(HintSwitch& hints) {
    auto* group = new QGroupBox(QStringLiteral("Ignorowane pliki"), this);
    auto* column = new QVBoxLayout(group);
    ignoredFilesList_ = new FoundListView(l_.ignoredFiles, group);
    ignoredFilesList_->setContextMenuPolicy(Qt::CustomContextMenu);
    column->addWidget(ignoredFilesList_, 1);

    newIgnoredFileEdit_ = new QLineEdit(group);
    newIgnoredFileEdit_->setPlaceholderText(QStringLiteral("pełna ścieżka pliku"));
    addIgnoredFileButton_ = new QPushButton(QStringLiteral("Dodaj własny wpis"), group);
    addIgnoredFileButton_->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    column->addLayout(addRow(newIgnoredFileEdit_, addIgnoredFileButton_));
    hints.add(addIgnoredFileButton_,
              QStringLiteral("Dodaj wpisaną pełną ścieżkę pliku do listy ignorowanych plików"));

    // The field's text is the model's, so a redraw never undoes typing.
    connect(newIgnoredFileEdit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { l_.newIgnoredFileText = text; });
    connect(addIgnoredFileButton_, &QPushButton::clicked, this,
            [this] { run_([this] { core_.ignoreLists().addIgnoredFile(); }); });
    connect(ignoredFilesList_, &FoundListView::entryPicked, this,
            [this] { run_([this] { core_.assessCurrentIgnored(); }); });
    connect(ignoredFilesList_, &QAbstractItemView::doubleClicked, this,
            [this] { run_([this] { core_.objectInfo().openFromIgnored(); }); });
    return group;
}

QWidget* IgnoreListsPage::buildMasksColumn(HintSwitch& hints) {
    auto* group = new QGroupBox(QStringLiteral("Ignorowane typy plików"), this);
    auto* column = new QVBoxLayout(group);
    ignoredMasksList_ = new QListWidget(group);
    ignoredMasksList_->setSelectionMode(QAbstractItemView::SingleSelection);
    ignoredMasksList_->setContextMenuPolicy(Qt::CustomContextMenu);
    column->addWidget(ignoredMasksList_, 1);

    newIgnoredMaskEdit_ = new QLineEdit(group);
    newIgnoredMaskEdit_->setPlaceholderText(QStringLiteral("np. r?port.*"));
    addIgnoredMaskButton_ = new QPushButton(QStringLiteral("Dodaj własny filtr"), group);
    addIgnoredMaskButton_->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    column->addLayout(addRow(newIgnoredMaskEdit_, addIgnoredMaskButton_));
    hints.add(addIgnoredMaskButton_,
              QStringLiteral("Dodaj wpisaną maskę nazwy (np. *.log) do listy ignorowanych "
                             "filtrów"));

    connect(newIgnoredMaskEdit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { l_.newIgnoredMaskText = text; });
    connect(addIgnoredMaskButton_, &QPushButton::clicked, this,
            [this] { run_([this] { core_.ignoreLists().addIgnoredMask(); }); });
    connect(ignoredMasksList_, &QListWidget::currentRowChanged, this,
            [this](int row) { l_.currentMask = row; });
    return group;
}

QAction* IgnoreListsPage::addCommand(QMenu* menu, const QString& caption,
                                     void (ignore::IgnoreLists::*command)()) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this,
            [this, command] { run_([this, command] { (core_.ignoreLists().*command)(); }); });
    return action;
}

void IgnoreListsPage::buildMenus() {
    using ignore::IgnoreLists;
    ignoredFilesMenu_ = new QMenu(this);
    ignoredDetailsAction_ = ignoredFilesMenu_->addAction(QStringLiteral("Szczegóły obiektu"));
    connect(ignoredDetailsAction_, &QAction::triggered, this,
            [this] { run_([this] { core_.objectInfo().openFromIgnored(); }); });
    ignoredFilesMenu_->addSeparator();
    deleteIgnoredFileAction_ =
        ignoredFilesMenu_->addAction(QStringLiteral("Usuń ten plik z dysku"));
    connect(deleteIgnoredFileAction_, &QAction::triggered, this,
            [this] { run_([this] { core_.deleteIgnoredFileFromDisk(); }); });
    ignoredFilesMenu_->addSeparator();
    removeIgnoredFileAction_ =
        addCommand(ignoredFilesMenu_, QStringLiteral("Usuń z listy ignorowania"),
                   &IgnoreLists::removeCurrentIgnoredFile);
    sortIgnoredFilesAction_ = addCommand(ignoredFilesMenu_, QStringLiteral("Posortuj listę"),
                                         &IgnoreLists::sortIgnoredFiles);
    clearIgnoredFilesAction_ = addCommand(ignoredFilesMenu_, QStringLiteral("Czyść listę"),
                                          &IgnoreLists::clearIgnoredFiles);

    ignoredMasksMenu_ = new QMenu(this);
    removeIgnoredMaskAction_ = addCommand(ignoredMasksMenu_, QStringLiteral("Usuń filtr z listy"),
                                          &IgnoreLists::removeCurrentIgnoredMask);
    sortIgnoredMasksAction_ = addCommand(ignoredMasksMenu_, QStringLiteral("Posortuj listę"),
                                         &IgnoreLists::sortIgnoredMasks);
    clearIgnoredMasksAction_ = addCommand(ignoredMasksMenu_, QStringLiteral("Czyść listę"),
                                          &IgnoreLists::clearIgnoredMasks);

    connect(ignoredFilesList_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popUpAt(ignoredFilesMenu_, ignoredFilesList_, at); });
    connect(ignoredMasksList_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popUpAt(ignoredMasksMenu_, ignoredMasksList_, at); });
}

void IgnoreListsPage::sync(bool full) {
    ignoredFilesList_->syncFromCore(full);
    syncMasks();
    setText(ignoredFilesCountLabel_, core::ignoredFilesCountText(l_));
    setText(ignoredMasksCountLabel_, core::ignoredMasksCountText(l_));
    if (newIgnoredFileEdit_->text() != l_.newIgnoredFileText)
        newIgnoredFileEdit_->setText(l_.newIgnoredFileText);
    if (newIgnoredMaskEdit_->text() != l_.newIgnoredMaskText)
        newIgnoredMaskEdit_->setText(l_.newIgnoredMaskText);
}

void IgnoreListsPage::syncMasks() {
    const QSignalBlocker blocker(ignoredMasksList_);
    if (shownMasks_ != l_.ignoredMasks) {
        shownMasks_ = l_.ignoredMasks;
        ignoredMasksList_->clear();
        for (const QString& mask : std::as_const(shownMasks_)) {
            auto* item = new QListWidgetItem(mask, ignoredMasksList_);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    const qsizetype current = l_.currentMask;
    if (current >= 0 && current < ignoredMasksList_->count()) {
        if (ignoredMasksList_->currentRow() != current)
            ignoredMasksList_->setCurrentRow(int(current));
    } else if (ignoredMasksList_->currentRow() >= 0) {
        ignoredMasksList_->setCurrentRow(-1);
        ignoredMasksList_->clearSelection();
    }
}

} // namespace pylomir::ui

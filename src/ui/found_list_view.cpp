#include "ui/found_list_view.h"

#include <QItemSelectionModel>
#include <QMouseEvent>

namespace pylomir::ui {

FoundListModel::FoundListModel(core::FoundList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), shown_(int(list.count())) {
    list_.setObserver(this);
}

FoundListModel::~FoundListModel() {
    list_.setObserver(nullptr);
}

int FoundListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

QVariant FoundListModel::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    if (!index.isValid() || row >= list_.count())
        return {};
    if (role == Qt::DisplayRole)
        return list_.path(row);
    if (role == Qt::CheckStateRole)
        return list_.isChecked(row) ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool FoundListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const int row = index.row();
    if (role != Qt::CheckStateRole || !index.isValid() || row >= list_.count())
        return false;
    writingToCore = true;
    list_.setChecked(row, value.toInt() == Qt::Checked);
    writingToCore = false;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags FoundListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
           Qt::ItemNeverHasChildren;
}

void FoundListModel::flushAppends() {
    const int count = int(list_.count());
    if (resetDepth_ > 0 || count <= shown_)
        return;
    beginInsertRows({}, shown_, count - 1);
    shown_ = count;
    endInsertRows();
}

bool FoundListModel::takeStatesDirty() {
    const bool dirty = statesDirty_;
    statesDirty_ = false;
    return dirty;
}

void FoundListModel::refreshCheckStates() {
    if (shown_ > 0)
        emit dataChanged(index(0), index(shown_ - 1), {Qt::CheckStateRole});
}

// Appends only note that there is more: a scan appends thousands of entries
// between two repaints, and one insertion signal per batch is all a view needs.
void FoundListModel::entriesAppended(qsizetype, qsizetype) {}

void FoundListModel::aboutToChangeStructure() {
    if (resetDepth_++ > 0)
        return;
    flushAppends();
    beginResetModel();
}

void FoundListModel::structureChanged() {
    if (--resetDepth_ > 0)
        return;
    shown_ = int(list_.count());
    endResetModel();
    // A reset drops the view's selection; the core's flags survive removals.
    statesDirty_ = true;
}

void FoundListModel::statesChanged() {
    if (!writingToCore)
        statesDirty_ = true;
}

FoundListView::FoundListView(core::FoundList& list, QWidget* parent)
    : QListView(parent), model_(new FoundListModel(list, this)) {
    setModel(model_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FoundListView::onSelectionChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { onCurrentChanged(current); });
    sinceSelectionSync_.start();
}

void FoundListView::syncFromCore(bool full) {
    model_->flushAppends();
    if (model_->takeStatesDirty()) {
        model_->refreshCheckStates();
        selectionPending_ = true;
    }
    if (selectionPending_ && (full || sinceSelectionSync_.elapsed() >= kSelectionSyncMs)) {
        selectionPending_ = false;
        sinceSelectionSync_.start();
        applySelectionFromCore();
    }
    applyCurrentFromCore();
}

void FoundListView::applySelectionFromCore() {
    const core::FoundList& list = model_->list();
    const int rows = model_->rowCount();
    QItemSelection wanted;
    for (int row = 0; row < rows;) {
        if (!list.isSelected(row)) {
            ++row;
            continue;
        }
        const int first = row;
        while (row < rows && list.isSelected(row))
            ++row;
        wanted.select(model_->index(first), model_->index(row - 1));
    }
    if (wanted == selectionModel()->selection())
        return;
    model_->writingToCore = true;
    selectionModel()->select(wanted, QItemSelectionModel::ClearAndSelect);
    model_->writingToCore = false;
}

void FoundListView::applyCurrentFromCore() {
    const qsizetype current = model_->list().current();
    const QModelIndex wanted =
        current >= 0 && current < model_->rowCount() ? model_->index(int(current)) : QModelIndex();
    if (wanted == currentIndex())
        return;
    model_->writingToCore = true;
    if (wanted.isValid()) {
        selectionModel()->setCurrentIndex(wanted, QItemSelectionModel::NoUpdate);
        scrollTo(wanted);
    } else {
        selectionModel()->clearCurrentIndex();
    }
    model_->writingToCore = false;
}

void FoundListView::onSelectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
    if (model_->writingToCore)
        return;
    core::FoundList& list = model_->list();
    model_->writingToCore = true;
    for (const QItemSelectionRange& range : deselected)
        for (int row = range.top(); row <= range.bottom() && row < list.count(); ++row)
            list.setSelected(row, false);
    for (const QItemSelectionRange& range : selected)
        for (int row = range.top(); row <= range.bottom() && row < list.count(); ++row)
            list.setSelected(row, true);
    model_->writingToCore = false;
}

void FoundListView::onCurrentChanged(const QModelIndex& current) {
    if (model_->writingToCore)
        return;
    model_->writingToCore = true;
    model_->list().setCurrent(current.isValid() ? current.row() : -1);
    model_->writingToCore = false;
    emit entryPicked();
}

void FoundListView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex before = currentIndex();
    QListView::mousePressEvent(event);
    // A click that leaves the focus where it was still picks the entry.
    if (event->button() == Qt::LeftButton && before.isValid() && currentIndex() == before &&
        indexAt(event->position().toPoint()) == before)
        emit entryPicked();
}

} // namespace pylomir::ui

// FoundList on screen: a list model that reads the core's list in place and
// a view that keeps the selection and the current entry in step with it.
#pragma once

#include "core/path_list.h"

#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QListView>

namespace pylomir::ui {

class FoundListModel : public QAbstractListModel, public core::PathListObserver {
    Q_OBJECT
public:
    explicit FoundListModel(core::FoundList& list, QObject* parent = nullptr);
    ~FoundListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Announces the entries appended since the last call, in one range.
    void flushAppends();
    // Whether the core's check, selection or current states may differ from
    // what the view shows; clears the flag.
    bool takeStatesDirty();
    void refreshCheckStates();

    core::FoundList& list() { return list_; }
    // Set while the view writes its own changes into the core, so they are
    // not echoed back.
    bool writingToCore = false;

private:
    void entriesAppended(qsizetype first, qsizetype count) override;
    void aboutToChangeStructure() override;
    void structureChanged() override;
    void statesChanged() override;

    core::FoundList& list_;
    int shown_ = 0; // rows the view has been told about
    int resetDepth_ = 0;
    bool statesDirty_ = false;
};

class FoundListView : public QListView {
    Q_OBJECT
public:
    explicit FoundListView(core::FoundList& list, QWidget* parent = nullptr);

    // Brings the view up to the core. A cheap sync (during long work) leaves
    // the selection, whose comparison walks the whole list, to every
    // kSelectionSyncMs; a full one does everything.
    void syncFromCore(bool full);
    FoundListModel* foundModel() const { return model_; }

    static constexpr qint64 kSelectionSyncMs = 250;

signals:
    // The user moved the focus to another entry (mouse or keyboard) or
    // clicked the entry that has it.
    void entryPicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void applySelectionFromCore();
    void applyCurrentFromCore();
    void onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void onCurrentChanged(const QModelIndex& current);

    FoundListModel* model_;
    QElapsedTimer sinceSelectionSync_;
    bool selectionPending_ = false;
};

} // namespace pylomir::ui

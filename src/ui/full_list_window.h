// "Wszystkie znalezione pliki": every found path, white on black, in a window of its own.
#pragma once

#include <QStringList>
#include <QWidget>

class QListView;
class QStringListModel;

namespace pylomir::ui {

class FullListWindow : public QWidget {
    Q_OBJECT
public:
    explicit FullListWindow(QWidget* parent = nullptr);

    // Replaces the shown lines; a list that shares its data with the shown
    // one costs nothing to compare.
    void setLines(const QStringList& lines);
    QListView* pathList() const { return pathList_; }

signals:
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QListView* pathList_;
    QStringListModel* model_;
    QStringList lines_;
    bool centred_ = false;
};

} // namespace pylomir::ui

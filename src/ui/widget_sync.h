// Small helpers the pages share to keep their widgets to the model without
// redrawing what did not change.
#pragma once

#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStringList>

namespace pylomir::ui {

inline void setText(QLabel* label, const QString& text) {
    if (label->text() != text)
        label->setText(text);
}

inline void setShown(QWidget* widget, bool visible) {
    if (widget->isHidden() == visible)
        widget->setVisible(visible);
}

inline void enable(QWidget* widget, bool enabled) {
    if (widget->isEnabled() != enabled)
        widget->setEnabled(enabled);
}

// The bold number beside a list's heading.
inline QLabel* countLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

// A list of names, each with the icon, kept to the model's names and
// current entry (-1: none); shown is what the list holds now.
inline void syncNames(QListWidget* list, QStringList& shown, const QStringList& names,
                      qsizetype current, const QIcon& icon) {
    const QSignalBlocker blocker(list);
    if (shown != names) {
        shown = names;
        list->clear();
        for (const QString& name : std::as_const(shown))
            new QListWidgetItem(icon, name, list);
    }
    if (current >= 0 && current < list->count()) {
        if (list->currentRow() != current)
            list->setCurrentRow(int(current));
    } else if (list->currentRow() >= 0) {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

} // namespace pylomir::ui

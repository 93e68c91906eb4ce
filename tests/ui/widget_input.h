// Typing and clicking into widgets the way the user does, through events.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QWidget>

namespace pylomir::testing {

inline void typeInto(QWidget* widget, const QString& text) {
    widget->setFocus(Qt::TabFocusReason);
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

inline void pressEnter(QWidget* widget) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

inline void clickAt(QWidget* widget, QPointF at) {
    const QPointF global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

inline void clickInto(QWidget* widget) {
    clickAt(widget, QPointF(4, 4));
}

inline void clickRow(QListView* view, int row) {
    clickAt(view->viewport(), view->visualRect(view->model()->index(row, 0)).center());
}

} // namespace pylomir::testing

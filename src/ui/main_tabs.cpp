#include "ui/main_tabs.h"

#include "ui/tab_icons.h"

#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace pylomir::ui {

namespace {

// Room between a tab's edge and what it shows.
constexpr int kPadding = 3;

} // namespace

MainTabBar::MainTabBar(QWidget* parent) : QTabBar(parent) {
    setUsesScrollButtons(false);
    setExpanding(false);
    setElideMode(Qt::ElideNone);
    setIconSize(QSize(kTabIconSize, kTabIconSize));
    setMouseTracking(true);
    // Captions under the icons: a size smaller than the window's text.
    QFont small = font();
    if (small.pointSizeF() > 0) {
        small.setPointSizeF(small.pointSizeF() - 1);
        setFont(small);
    }
}

QSize MainTabBar::tabSizeHint(int) const {
    return QSize(kTabWidth, kTabHeight);
}

QSize MainTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

int MainTabBar::shift(int index) const {
    if (index == currentIndex())
        return 0;
    return style()->pixelMetric(QStyle::PM_TabBarTabShiftVertical, nullptr, this);
}

QRect MainTabBar::iconRect(int index) const {
    const QRect tab = tabRect(index);
    return QRect(tab.center().x() - kTabIconSize / 2 + 1, tab.top() + kPadding + shift(index),
                 kTabIconSize, kTabIconSize);
}

QRect MainTabBar::captionRect(int index) const {
    const QRect tab = tabRect(index);
    const int top = iconRect(index).bottom() + 1;
    return QRect(tab.left() + kPadding, top, tab.width() - 2 * kPadding, tab.bottom() - top);
}

void MainTabBar::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    // The selected tab last: it overlaps its neighbours.
    for (int i = 0; i < count(); ++i) {
        if (i != currentIndex())
            paintTab(painter, i);
    }
    if (currentIndex() >= 0)
        paintTab(painter, currentIndex());
}

void MainTabBar::paintTab(QPainter& painter, int index) {
    QStyleOptionTab tab;
    initStyleOption(&tab, index);
    const bool hot = index == hovered_ && isTabEnabled(index);
    if (hot)
        tab.state |= QStyle::State_MouseOver;
    style()->drawControl(QStyle::CE_TabBarTabShape, &tab, &painter, this);
    if (hot && index != currentIndex()) {
        QColor glow = palette().color(QPalette::Highlight);
        glow.setAlpha(40);
        painter.fillRect(tab.rect.adjusted(2, 2 + shift(index), -2, -1), glow);
    }
    const bool enabled = tab.state & QStyle::State_Enabled;
    tabIcon(index).paint(&painter, iconRect(index), Qt::AlignCenter,
                         enabled ? QIcon::Normal : QIcon::Disabled);
    painter.setFont(font());
    painter.setPen(
        palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(captionRect(index), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                     tabText(index));
}

void MainTabBar::mouseMoveEvent(QMouseEvent* event) {
    const int under = tabAt(event->position().toPoint());
    if (under != hovered_) {
        hovered_ = under;
        update();
    }
    QTabBar::mouseMoveEvent(event);
}

void MainTabBar::leaveEvent(QEvent* event) {
    if (hovered_ != -1) {
        hovered_ = -1;
        update();
    }
    QTabBar::leaveEvent(event);
}

StripButton::StripButton(const QString& caption, const QIcon& icon, QWidget* parent)
    : QToolButton(parent) {
    setText(caption);
    setIcon(icon);
    setIconSize(QSize(kTabIconSize, kTabIconSize));
    // The tabs' caption size.
    QFont small = font();
    if (small.pointSizeF() > 0) {
        small.setPointSizeF(small.pointSizeF() - 1);
        setFont(small);
    }
}

void StripButton::setStripSize(const QSize& size) {
    stripSize_ = size;
    setFixedSize(size);
    updateGeometry();
}

QRect StripButton::iconRect() const {
    return QRect(2 * kPadding, (height() - kTabIconSize) / 2, kTabIconSize, kTabIconSize);
}

QRect StripButton::captionRect() const {
    const int left = iconRect().right() + 1 + kPadding;
    return QRect(left, kPadding, width() - left - kPadding, height() - 2 * kPadding);
}

void StripButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionToolButton button;
    initStyleOption(&button);
    // The style draws the frame and its states; the content is ours.
    button.text.clear();
    button.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, button);
    const bool enabled = isEnabled();
    icon().paint(&painter, iconRect(), Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
    painter.setPen(
        palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(captionRect(), kCaptionFlags, text());
}

MainTabs::MainTabs(QWidget* parent) : QTabWidget(parent), bar_(new MainTabBar(this)) {
    setTabBar(bar_);
}

} // namespace pylomir::ui

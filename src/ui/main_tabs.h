// The main window's tab control: fixed 90 × 37 tabs, each with its icon
// above a small caption, highlighted under the mouse, so all seven fit
// beside "Zamknij program" without scroll arrows.
#pragma once

#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace pylomir::ui {

inline constexpr int kTabWidth = 90;
inline constexpr int kTabHeight = 37;

class MainTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit MainTabBar(QWidget* parent = nullptr);

    // Where a tab's icon and caption are drawn (within tabRect).
    QRect iconRect(int index) const;
    QRect captionRect(int index) const;
    // The tab under the mouse, -1 none.
    int hoveredTab() const { return hovered_; }

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void paintTab(QPainter& painter, int index);
    // Unselected tabs sit a little lower, as the style draws them.
    int shift(int index) const;

    int hovered_ = -1;
};

// A button for the strip's corner: its icon beside its caption, which wraps
// onto a second line where it needs to, in a size set by its owner.
class StripButton : public QToolButton {
    Q_OBJECT
public:
    explicit StripButton(const QString& caption, const QIcon& icon, QWidget* parent = nullptr);

    // The tab control places its corner by the size hint.
    void setStripSize(const QSize& size);
    QSize sizeHint() const override { return stripSize_; }
    QSize minimumSizeHint() const override { return stripSize_; }
    QRect iconRect() const;
    QRect captionRect() const;
    // How the caption is drawn in captionRect.
    static constexpr int kCaptionFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize stripSize_;
};

class MainTabs : public QTabWidget {
    Q_OBJECT
public:
    explicit MainTabs(QWidget* parent = nullptr);
    MainTabBar* mainTabBar() const { return bar_; }

private:
    MainTabBar* bar_;
};

} // namespace pylomir::ui

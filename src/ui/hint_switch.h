// Hints (tooltips) of the main window: how long they stay up, and the set of
// them that "Pokaż podpowiedzi do przycisków" turns on and off.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

namespace pylomir::ui {

// Hints stay up for 40 seconds instead of the toolkit's few.
constexpr int kHintMs = 40000;

// Hints keep their line breaks; Qt wants plain LF.
inline QString hintText(const QString& text) {
    QString out = text;
    return out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A hint that no option turns off.
inline void setHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hintText(hint));
    widget->setToolTipDuration(kHintMs);
}

class HintSwitch {
public:
    // The widget shows the hint while the switch is on.
    void add(QWidget* widget, const QString& hint) {
        widget->setToolTipDuration(kHintMs);
        hints_.emplace_back(widget, hintText(hint));
        if (shown_)
            widget->setToolTip(*shown_ ? hints_.back().second : QString());
    }

    void apply(bool shown) {
        if (shown_ == shown)
            return;
        shown_ = shown;
        for (const auto& [widget, hint] : hints_) {
            if (widget)
                widget->setToolTip(shown ? hint : QString());
        }
    }

    // The widgets under the switch, in the order they were added.
    std::vector<QWidget*> widgets() const {
        std::vector<QWidget*> out;
        for (const auto& [widget, hint] : hints_) {
            if (widget)
                out.push_back(widget);
        }
        return out;
    }

private:
    std::vector<std::pair<QPointer<QWidget>, QString>> hints_;
    std::optional<bool> shown_; // unknown until first applied
};

} // namespace pylomir::ui

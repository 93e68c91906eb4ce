#include "ui/look.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace pylomir::ui {

namespace {

// The window is laid out in fixed pixels; a desktop's larger default font
// would crowd it.
constexpr qreal kFontPoints = 9;

QPalette calmPalette() {
    const QColor window(0xee, 0xf1, 0xf4);
    const QColor text(0x1d, 0x23, 0x2a);
    const QColor muted(0x8c, 0x93, 0x9b);
    const QColor highlight(0x3d, 0x7a, 0xb8);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(0xf5, 0xf7, 0xfa));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0xe4, 0xe8, 0xed));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, kLinkColour);
    p.setColor(QPalette::LinkVisited, kLinkColour);
    p.setColor(QPalette::ToolTipBase, QColor(0xff, 0xfb, 0xe6));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, muted);
    p.setColor(QPalette::Light, Qt::white);
    p.setColor(QPalette::Midlight, QColor(0xf6, 0xf8, 0xfa));
    p.setColor(QPalette::Mid, QColor(0xb8, 0xc0, 0xc8));
    p.setColor(QPalette::Dark, QColor(0x9a, 0xa3, 0xad));
    p.setColor(QPalette::Shadow, QColor(0x5c, 0x63, 0x6b));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, muted);
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0xb4, 0xc2, 0xd0));
    return p;
}

} // namespace

void applyLook(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);
    app.setPalette(calmPalette());
    QFont font = app.font();
    font.setPointSizeF(kFontPoints);
    app.setFont(font);
}

} // namespace pylomir::ui

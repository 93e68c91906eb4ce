#include "ui/tab_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QtMath>

#include <functional>

namespace pylomir::ui {

namespace {

// Each icon is drawn on a 16-unit square, once at 16 and once at 32 pixels
// so a scaled screen gets sharp edges.
QIcon drawn(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (const int pixels : {kTabIconSize, 2 * kTabIconSize}) {
        QPixmap pixmap(pixels, pixels);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(pixels / 16.0, pixels / 16.0);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPen pen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void magnifier(QPainter& p) {
    p.setPen(pen(QColor(0x5a, 0x3e, 0x22), 2.6));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    p.setPen(pen(QColor(0x1f, 0x5f, 0xa8), 1.6));
    p.setBrush(QColor(0xd6, 0xe8, 0xf8));
    p.drawEllipse(QPointF(6.5, 6.5), 4.7, 4.7);
}

void funnel(QPainter& p) {
    p.setPen(pen(QColor(0x8a, 0x4b, 0x08), 1));
    p.setBrush(QColor(0xf0, 0x9a, 0x2e));
    p.drawPolygon(QPolygonF({{1.5, 2}, {14.5, 2}, {9.5, 8.5}, {9.5, 14}, {6.5, 12.5}, {6.5, 8.5}}));
}

void page(QPainter& p) {
    p.setPen(pen(QColor(0x6b, 0x74, 0x7e), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    p.setPen(pen(QColor(0x2e, 0x7d, 0x5b), 1.2));
    for (const qreal y : {4.5, 7.0, 9.5, 12.0})
        p.drawLine(QPointF(4.5, y), QPointF(y < 11 ? 11.5 : 9, y));
}

void circularArrow(QPainter& p) {
    const QColor green(0x1e, 0x8a, 0x3c);
    p.setPen(pen(green, 2));
    p.setBrush(Qt::NoBrush);
    // Three quarters of a circle, open at the top right.
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 80 * 16, 280 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawPolygon(QPolygonF({{8.2, 0.2}, {12.2, 3.0}, {8.2, 5.8}}));
}

void prohibition(QPainter& p) {
    const QColor red(0xd0, 0x22, 0x22);
    p.setPen(pen(red, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), 6.3, 6.3);
    p.drawLine(QPointF(3.6, 3.6), QPointF(12.4, 12.4));
}

void gear(QPainter& p) {
    const QColor steel(0x55, 0x60, 0x6c);
    p.setPen(Qt::NoPen);
    p.setBrush(steel);
    QPainterPath teeth;
    for (int i = 0; i < 8; ++i) {
        QTransform turn;
        turn.translate(8, 8);
        turn.rotate(i * 45);
        teeth.addPolygon(turn.map(QPolygonF(QRectF(-1.5, -7.5, 3, 4))));
    }
    teeth.addEllipse(QPointF(8, 8), 5.2, 5.2);
    p.drawPath(teeth.simplified());
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), 2.2, 2.2);
}

void information(QPainter& p) {
    p.setPen(pen(QColor(0x17, 0x4e, 0x8c), 1));
    p.setBrush(QColor(0x2f, 0x73, 0xc0));
    p.drawEllipse(QPointF(8, 8), 7, 7);
    p.setPen(pen(Qt::white, 2.2));
    p.drawPoint(QPointF(8, 4.6));
    p.drawLine(QPointF(8, 7.6), QPointF(8, 11.8));
}

void closeCross(QPainter& p) {
    p.setPen(pen(QColor(0x8e, 0x16, 0x16), 1));
    p.setBrush(QColor(0xd9, 0x3b, 0x3b));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2.5, 2.5);
    p.setPen(pen(Qt::white, 2));
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
}

} // namespace

QIcon tabIcon(core::MainTab tab) {
    switch (tab) {
    case core::MainTab::FoundList:
        return drawn(magnifier);
    case core::MainTab::Filters:
        return drawn(funnel);
    case core::MainTab::FilterDescriptions:
        return drawn(page);
    case core::MainTab::Recovery:
        return drawn(circularArrow);
    case core::MainTab::IgnoreLists:
        return drawn(prohibition);
    case core::MainTab::Settings:
        return drawn(gear);
    case core::MainTab::About:
        break;
    }
    return drawn(information);
}

QIcon closeProgramIcon() {
    return drawn(closeCross);
}

} // namespace pylomir::ui

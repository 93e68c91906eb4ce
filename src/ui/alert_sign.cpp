#include "ui/alert_sign.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

namespace pylomir::ui {

QColor alertColour(core::AlertLevel level) {
    switch (level) {
    case core::AlertLevel::Low:
        return QColor(0x16, 0x87, 0x3E);
    case core::AlertLevel::Medium:
        return QColor(0x8F, 0x69, 0x18);
    case core::AlertLevel::High:
        break;
    }
    return QColor(0xFF, 0x00, 0x00);
}

QPixmap alertSign(core::AlertLevel level, int size) {
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(qCeil(size * ratio), qCeil(size * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QPainterPath shape;
    QColor fill;
    switch (level) {
    case core::AlertLevel::Low:
        shape.addEllipse(QRectF(0.5, 0.5, s - 1, s - 1));
        fill = QColor(0x16, 0x87, 0x3E);
        break;
    case core::AlertLevel::Medium:
        shape.addPolygon(QPolygonF({{s / 2, 0.5}, {s - 0.5, s - 1}, {0.5, s - 1}}));
        shape.closeSubpath();
        fill = QColor(0xF2, 0xC0, 0x1E);
        break;
    case core::AlertLevel::High: {
        QPolygonF octagon;
        for (int i = 0; i < 8; ++i) {
            const qreal angle = M_PI / 8 + i * M_PI / 4;
            octagon << QPointF(s / 2 + (s / 2 - 0.5) * qCos(angle),
                               s / 2 + (s / 2 - 0.5) * qSin(angle));
        }
        shape.addPolygon(octagon);
        shape.closeSubpath();
        fill = QColor(0xE0, 0x1E, 0x1E);
        break;
    }
    }
    p.setPen(QPen(fill.darker(140), 1));
    p.setBrush(fill);
    p.drawPath(shape);

    // A tick for the low level, an exclamation mark for the others.
    const QColor mark = level == core::AlertLevel::Medium ? Qt::black : Qt::white;
    p.setPen(QPen(mark, qMax<qreal>(1.5, s / 8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (level == core::AlertLevel::Low) {
        p.drawPolyline(
            QPolygonF({{s * 0.28, s * 0.52}, {s * 0.44, s * 0.68}, {s * 0.72, s * 0.34}}));
    } else {
        const qreal top = level == core::AlertLevel::Medium ? s * 0.36 : s * 0.26;
        p.drawLine(QPointF(s / 2, top), QPointF(s / 2, s * 0.62));
        p.drawPoint(QPointF(s / 2, s * 0.78));
    }
    return pixmap;
}

} // namespace pylomir::ui

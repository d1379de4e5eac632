#include "app/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

void Arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    if (len <= 0)
        return;
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    p.drawLine(to, to - u * 4 + n * 3);
    p.drawLine(to, to - u * 4 - n * 3);
}

} // namespace

QIcon ToolIcon(const QString& face) {
    QPixmap pix(20, 20);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.4));
    if (face == QLatin1String("rotate")) {
        p.drawArc(QRectF(3, 3, 14, 14), 30 * 16, 280 * 16);
        Arrow(p, QPointF(15, 12), QPointF(16.5, 8));
    } else if (face == QLatin1String("rotateZ")) {
        p.drawArc(QRectF(2, 6, 16, 10), 0, 300 * 16);
        Arrow(p, QPointF(14, 7), QPointF(18, 10));
        p.setPen(QPen(Qt::red, 1.2));
        p.drawText(QRectF(6, 0, 10, 10), Qt::AlignCenter, QStringLiteral("Z"));
    } else if (face == QLatin1String("translate")) {
        Arrow(p, QPointF(10, 10), QPointF(10, 1.5));
        Arrow(p, QPointF(10, 10), QPointF(10, 18.5));
        Arrow(p, QPointF(10, 10), QPointF(1.5, 10));
        Arrow(p, QPointF(10, 10), QPointF(18.5, 10));
    } else if (face == QLatin1String("scale")) {
        p.drawEllipse(QRectF(2, 2, 11, 11));
        p.setPen(QPen(Qt::black, 2.5));
        p.drawLine(QPointF(12, 12), QPointF(18, 18));
    } else if (face == QLatin1String("center")) {
        p.drawEllipse(QRectF(4, 4, 12, 12));
        p.drawLine(QPointF(10, 1), QPointF(10, 19));
        p.drawLine(QPointF(1, 10), QPointF(19, 10));
    } else if (face == QLatin1String("defaultScale")) {
        QFont f = p.font();
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.drawText(pix.rect(), Qt::AlignCenter, QStringLiteral("1:1"));
    } else if (face == QLatin1String("graphAdd") || face == QLatin1String("tableAdd")) {
        p.setPen(QPen(Qt::gray, 1));
        p.drawLine(QPointF(2, 12), QPointF(18, 12));
        p.drawLine(QPointF(6, 2), QPointF(6, 18));
        p.setPen(QPen(QColor(128, 0, 0), 1.6));
        if (face == QLatin1String("graphAdd")) {
            QPainterPath path;
            for (int i = 0; i <= 16; ++i) {
                const double x = 2 + i;
                const double y = 12 - 6 * std::sin(i / 16.0 * 6.283);
                i == 0 ? path.moveTo(x, y) : path.lineTo(x, y);
            }
            p.drawPath(path);
        } else {
            const QPointF pts[] = {{3, 15}, {7, 8}, {11, 11}, {16, 4}};
            p.drawPolyline(pts, 4);
            p.setBrush(QColor(128, 0, 0));
            for (const QPointF& pt : pts)
                p.drawEllipse(pt, 1.5, 1.5);
        }
    } else if (face == QLatin1String("undo") || face == QLatin1String("redo")) {
        // A half turn ending in an arrow: to the left for undo, mirrored for redo.
        if (face == QLatin1String("redo"))
            p.setTransform(QTransform(-1, 0, 0, 1, 20, 0));
        p.drawArc(QRectF(4, 5, 12, 11), 90 * 16, -200 * 16);
        Arrow(p, QPointF(11, 5), QPointF(4, 5));
    } else {
        // Projections: the plane's letters.
        QFont f = p.font();
        f.setPixelSize(face.size() > 2 ? 7 : 9);
        f.setBold(true);
        p.setFont(f);
        p.drawText(pix.rect(), Qt::AlignCenter, face);
    }
    return QIcon(pix);
}

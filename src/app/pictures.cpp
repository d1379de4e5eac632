#include "app/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <cmath>

QPixmap ProgramPicture(int width, int height) {
    QPixmap pix(width, height);
    pix.fill(Qt::white);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = width;
    const double h = height;
    const QPointF origin(w * 0.30, h * 0.62);

    // A floor grid seen at a slant.
    p.setPen(QPen(QColor(192, 192, 192), 1));
    for (int i = -4; i <= 4; ++i) {
        const double t = i / 4.0;
        p.drawLine(QPointF(origin.x() + t * w * 0.25 - w * 0.12, origin.y() + h * 0.30),
                   QPointF(origin.x() + t * w * 0.25 + w * 0.12, origin.y() - h * 0.05));
        p.drawLine(
            QPointF(origin.x() - w * 0.25 + t * w * 0.12, origin.y() + h * 0.12 - t * h * 0.18),
            QPointF(origin.x() + w * 0.25 + t * w * 0.12, origin.y() + h * 0.12 - t * h * 0.18));
    }

    // Axes with their red letters.
    p.setPen(QPen(Qt::black, 1.2));
    p.drawLine(QPointF(w * 0.04, origin.y()), QPointF(w * 0.96, origin.y()));
    p.drawLine(QPointF(origin.x(), h * 0.06), QPointF(origin.x(), h * 0.96));
    QFont f = p.font();
    f.setPixelSize(std::max(8, height / 9));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::red);
    p.drawText(QPointF(w * 0.90, origin.y() - 3), QStringLiteral("X"));
    p.drawText(QPointF(origin.x() + 4, h * 0.16), QStringLiteral("Y"));

    // Two curves: a sine and a parabola.
    QPainterPath sine;
    QPainterPath parabola;
    for (int i = 0; i <= 200; ++i) {
        const double x = -0.26 + 0.92 * i / 200.0;
        const double px = origin.x() + x * w;
        const double sy = origin.y() - std::sin(x * 18.0) * h * 0.22;
        const double py = origin.y() - (x * x * 3.0 - 0.1) * h * 0.9;
        if (i == 0) {
            sine.moveTo(px, sy);
            parabola.moveTo(px, py);
        } else {
            sine.lineTo(px, sy);
            parabola.lineTo(px, py);
        }
    }
    p.setPen(QPen(QColor(128, 0, 0), 2));
    p.drawPath(sine);
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawPath(parabola);
    return pix;
}

QIcon ProgramIcon() {
    QSvgRenderer renderer(QStringLiteral(":/icons/kurvant.svg"));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

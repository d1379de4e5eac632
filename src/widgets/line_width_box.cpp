#include "widgets/line_width_box.h"

#include "graphs/graphic.h"

#include <QPainter>
#include <QPixmap>

namespace {

QIcon LineSample(double width) {
    QPixmap pixmap(64, 14);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, width));
    painter.drawLine(QPointF(4, 7), QPointF(60, 7));
    return QIcon(pixmap);
}

} // namespace

TLineWidthBox::TLineWidthBox(QWidget* parent) : QComboBox(parent) {
    setIconSize(QSize(64, 14));
    for (double size : SizeTable)
        addItem(LineSample(size), QString());
    setCurrentIndex(2); // width 1
}

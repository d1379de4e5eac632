#include "app/view_printing.h"

#include <QByteArray>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QSvgRenderer>

void SuitPageToView(QPrinter& printer, QSize viewSize) {
    printer.setPageOrientation(viewSize.width() > viewSize.height() ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait);
}

bool PrintViewPicture(QPrinter& printer, const std::string& svg, QSize viewSize) {
    QSvgRenderer renderer(QByteArray::fromStdString(svg));
    if (svg.empty() || !renderer.isValid() || viewSize.isEmpty())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's coordinates are the printable area's, in device pixels.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF area(0, 0, page.width(), page.height());
    const double scale =
        std::min(area.width() / viewSize.width(), area.height() / viewSize.height());
    const QSizeF drawn(viewSize.width() * scale, viewSize.height() * scale);
    const QRectF target(area.center().x() - drawn.width() / 2,
                        area.center().y() - drawn.height() / 2, drawn.width(), drawn.height());
    renderer.render(&painter, target);
    return painter.end();
}

// Build tool: draws the program's icon (an SVG) into PNG files of the sizes the desktop asks for.
// Usage: kurvant-icon-png ICON.svg OUT_DIR SIZE... writes OUT_DIR/SIZE/kurvant.png for each size.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: kurvant-icon-png ICON.svg OUT_DIR SIZE...\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "kurvant-icon-png: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString dir =
            QString::fromLocal8Bit(argv[2]) + QLatin1Char('/') + QString::number(size);
        QDir().mkpath(dir);
        if (!image.save(dir + QStringLiteral("/kurvant.png"))) {
            std::fprintf(stderr, "kurvant-icon-png: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}

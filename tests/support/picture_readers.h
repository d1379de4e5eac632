#pragma once
// Vector pictures read back by independent readers (rsvg-convert, pdftoppm, Ghostscript) at one
// point a pixel, and the comparison of where two pictures put their ink.

#include <QImage>
#include <QString>

#include <cstdlib>
#include <string>

namespace picture_readers {

inline std::string ShellQuoted(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

/// The picture at `path` (by its ending: .svg, .pdf or .eps) rasterised into `png` at
/// `width` x `height`; a null image when the reader fails.
inline QImage Rasterised(const std::string& path, const std::string& png, int width, int height) {
    std::string command;
    if (path.ends_with(".svg"))
        command = "rsvg-convert -b white -w " + std::to_string(width) + " -h " +
                  std::to_string(height) + " -o " + ShellQuoted(png) + " " + ShellQuoted(path);
    else if (path.ends_with(".pdf"))
        command = "pdftoppm -png -r 72 -singlefile " + ShellQuoted(path) + " " +
                  ShellQuoted(png.substr(0, png.size() - 4));
    else
        command = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r72 -dEPSCrop -sOutputFile=" +
                  ShellQuoted(png) + " " + ShellQuoted(path);
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
        return {};
    return QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
}

inline bool Dark(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 160;
}

/// The share of dark pixels of `a` that have a dark pixel of `b` within `reach` pixels.
inline double ShareNear(const QImage& a, const QImage& b, int reach) {
    int dark = 0;
    int near = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (!Dark(a, x, y))
                continue;
            ++dark;
            bool found = false;
            for (int dy = -reach; dy <= reach && !found; ++dy)
                for (int dx = -reach; dx <= reach && !found; ++dx) {
                    const int u = x + dx;
                    const int v = y + dy;
                    found = u >= 0 && v >= 0 && u < b.width() && v < b.height() && Dark(b, u, v);
                }
            near += found;
        }
    return dark == 0 ? 0 : static_cast<double>(near) / dark;
}

} // namespace picture_readers

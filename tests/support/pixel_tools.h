#pragma once
// Small helpers for checking pictures by their pixels. A colour matches when its red, green and
// blue agree; the alpha byte is ignored. Rectangles are given by their corners, both included,
// and clipped to the image.

#include <QImage>
#include <QRect>

#include <algorithm>
#include <vector>

inline bool IsColour(const QImage& img, int x, int y, QRgb colour) {
    return (img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
}

/// Pixels of the colour inside the rectangle [x0, x1] x [y0, y1].
inline int CountColour(const QImage& img, QRgb colour, int x0 = 0, int y0 = 0, int x1 = 1 << 20,
                       int y1 = 1 << 20) {
    int n = 0;
    for (int y = std::max(0, y0); y <= std::min(img.height() - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(img.width() - 1, x1); ++x)
            n += IsColour(img, x, y, colour);
    return n;
}

/// Pixels of the colour inside a widget's rectangle.
inline int CountColour(const QImage& img, QRgb colour, const QRect& r) {
    return CountColour(img, colour, r.left(), r.top(), r.right(), r.bottom());
}

/// Where the pixels of one colour lie inside a rectangle [x0, x1] x [y0, y1].
struct TColourSpot {
    int Count = 0;
    double X = 0; // mean of the pixel centres (x + 0.5), top row 0; 0 when there is none
    double Y = 0;
    int Left = -1; // the bounding box of the pixels; -1 when there is none
    int Right = -1;
    int Top = -1;
    int Bottom = -1;
};

inline TColourSpot FindColour(const QImage& img, QRgb colour, int x0 = 0, int y0 = 0,
                              int x1 = 1 << 20, int y1 = 1 << 20) {
    TColourSpot s;
    for (int y = std::max(0, y0); y <= std::min(img.height() - 1, y1); ++y) {
        for (int x = std::max(0, x0); x <= std::min(img.width() - 1, x1); ++x) {
            if (!IsColour(img, x, y, colour))
                continue;
            if (s.Count == 0) {
                s.Left = s.Right = x;
                s.Top = s.Bottom = y;
            }
            s.Left = std::min(s.Left, x);
            s.Right = std::max(s.Right, x);
            s.Top = std::min(s.Top, y);
            s.Bottom = std::max(s.Bottom, y);
            ++s.Count;
            s.X += x + 0.5;
            s.Y += y + 0.5;
        }
    }
    if (s.Count > 0) {
        s.X /= s.Count;
        s.Y /= s.Count;
    }
    return s;
}

/// Centres of the runs of a colour along one image row.
inline std::vector<double> RunsInRow(const QImage& img, int y, QRgb colour) {
    std::vector<double> centres;
    int start = -1;
    for (int x = 0; x <= img.width(); ++x) {
        const bool on = x < img.width() && IsColour(img, x, y, colour);
        if (on && start < 0)
            start = x;
        if (!on && start >= 0) {
            centres.push_back((start + x) / 2.0);
            start = -1;
        }
    }
    return centres;
}

/// Centres of the runs of a colour along one image column.
inline std::vector<double> RunsInColumn(const QImage& img, int x, QRgb colour) {
    std::vector<double> centres;
    int start = -1;
    for (int y = 0; y <= img.height(); ++y) {
        const bool on = y < img.height() && IsColour(img, x, y, colour);
        if (on && start < 0)
            start = y;
        if (!on && start >= 0) {
            centres.push_back((start + y) / 2.0);
            start = -1;
        }
    }
    return centres;
}

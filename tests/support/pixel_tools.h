#pragma once
// Small helpers for checking pictures by their pixels.

#include "view/frame.h"
#include "view/glyph_font.h"
#include "view/offscreen.h"

#include <QImage>

#include <memory>
#include <string>

#include <vector>

inline bool IsColour(const QImage& img, int x, int y, QRgb colour) {
    return (img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
}

/// Pixels of the colour inside the rectangle [x0, x1] x [y0, y1] (clipped to the image).
inline int CountColour(const QImage& img, QRgb colour, int x0 = 0, int y0 = 0, int x1 = 1 << 20,
                       int y1 = 1 << 20) {
    int n = 0;
    for (int y = std::max(0, y0); y <= std::min(img.height() - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(img.width() - 1, x1); ++x)
            n += IsColour(img, x, y, colour);
    return n;
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

/// An offscreen target made current and set up as the view sets up a new context (depth test,
/// face culling, glyph lists). Null with `error` filled when no context can be had.
inline std::unique_ptr<TOffscreenGL> MakeTestTarget(int w, int h, std::string& error) {
    auto gl = TOffscreenGL::Create(w, h, &error);
    if (gl) {
        InitSurfaceState();
        if (!BuildFontLists()) {
            error = "the glyph lists could not be made";
            gl.reset();
        }
    }
    return gl;
}

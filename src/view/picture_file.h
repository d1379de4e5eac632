#pragma once
// Pictures of the view on disk: a 24-bit BMP, or a PNG.

#include <QImage>

#include <string>

/// Writes `picture` to `path`, replacing the file: a PNG when `png`, otherwise a BMP of 24 bits
/// per pixel. False when the file cannot be written.
bool SaveViewPicture(const QImage& picture, const std::string& path, bool png);

#include "view/picture_file.h"

bool SaveViewPicture(const QImage& picture, const std::string& path, bool png) {
    // Without an alpha channel Qt writes three bytes a pixel to a BMP.
    const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
    return opaque.save(QString::fromStdString(path), png ? "PNG" : "BMP");
}

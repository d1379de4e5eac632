#include "view/picture_file.h"

#include "documents/text_file.h"

#include <QBuffer>

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), size);
}

void NoFlush(png_structp) {}

// libpng reports an error by a long jump back to the encoder; the encoder then gives up.
[[noreturn]] void Fail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void NoWarning(png_structp, png_const_charp) {}

// The rows of `rgb` (Format_RGB888) as a PNG into `out`; false on any error of libpng.
bool EncodePng(const QImage& rgb, std::string& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, NoWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rgb.width()),
                 static_cast<png_uint_32>(rgb.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (int y = 0; y < rgb.height(); ++y)
        png_write_row(png, rgb.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::string PngBytes(const QImage& picture) {
    if (picture.isNull())
        return {};
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::string out;
    out.reserve(static_cast<std::size_t>(rgb.width()) * static_cast<std::size_t>(rgb.height()) / 8);
    if (!EncodePng(rgb, out))
        return {};
    return out;
}

std::string BmpBytes(const QImage& picture) {
    // Without an alpha channel Qt writes three bytes a pixel to a BMP.
    const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (opaque.isNull() || !buffer.open(QIODevice::WriteOnly) || !opaque.save(&buffer, "BMP"))
        return {};
    return bytes.toStdString();
}

bool SaveViewPicture(const QImage& picture, const std::string& path, TPictureFormat format,
                     const TFileCalls& calls, int* error) {
    std::string bytes;
    switch (format) {
    case TPictureFormat::Bmp:
        bytes = BmpBytes(picture);
        break;
    case TPictureFormat::Png:
        bytes = PngBytes(picture);
        break;
    case TPictureFormat::Svg:
    case TPictureFormat::Pdf:
    case TPictureFormat::Eps:
        break; // drawn from the scene, not from pixels
    }
    if (bytes.empty()) {
        if (error)
            *error = ENOMEM;
        return false;
    }
    return WriteFileAtomically(path, bytes, calls, error);
}

namespace {

// A stream whose bytes go to `Put` in pieces of its buffer.
ssize_t PutStreamBytes(void* put, const char* data, std::size_t size) {
    return (*static_cast<const TBytesPut*>(put))(std::string_view(data, size))
               ? static_cast<ssize_t>(size)
               : -1;
}

bool WriteThroughStream(const TBytesPut& put, TVectorFormat format,
                        const TViewPictureSource& source) {
    const cookie_io_functions_t calls{nullptr, PutStreamBytes, nullptr, nullptr};
    std::FILE* stream = fopencookie(const_cast<TBytesPut*>(&put), "w", calls);
    if (!stream)
        return false;
    std::setvbuf(stream, nullptr, _IOFBF, 1 << 16);
    const bool recorded = source.Vector(format, stream);
    const bool flushed = std::fflush(stream) == 0 && !std::ferror(stream);
    std::fclose(stream);
    return recorded && flushed;
}

} // namespace

std::optional<TVectorFormat> VectorFormatOf(TPictureFormat format) {
    switch (format) {
    case TPictureFormat::Svg:
        return TVectorFormat::Svg;
    case TPictureFormat::Pdf:
        return TVectorFormat::Pdf;
    case TPictureFormat::Eps:
        return TVectorFormat::Eps;
    default:
        return std::nullopt;
    }
}

bool SaveViewPicture(const TViewPictureSource& source, const std::string& path,
                     TPictureFormat format, const TFileCalls& calls, int* error) {
    if (const std::optional<TVectorFormat> vector = VectorFormatOf(format)) {
        if (!source.Vector) {
            if (error)
                *error = ENOMEM;
            return false;
        }
        // The picture goes to the file as it is recorded: a large one is never whole in memory.
        // A picture that could not be recorded is one without memory for it.
        return WriteFileAtomically(
            path, [&](const TBytesPut& put) { return WriteThroughStream(put, *vector, source); },
            calls, error);
    }
    const QImage picture = source.Pixels ? source.Pixels() : QImage();
    if (picture.isNull()) {
        if (error)
            *error = ENOMEM;
        return false;
    }
    return SaveViewPicture(picture, path, format, calls, error);
}

#pragma once
// Pictures of the view on disk: a 24-bit BMP, or a PNG.

#include "documents/file_calls.h"
#include "documents/picture_formats.h"
#include "view/vector_picture.h"

#include <QImage>

#include <cstdio>
#include <functional>
#include <optional>

#include <string>

/// The bytes of a PNG of `picture`: 8-bit RGB, no alpha, rows left unfiltered and deflated at
/// zlib's fastest level. For lines and numbers on a plain background that is about six times as
/// fast as the usual adaptive filters at the default level, and the file is not much larger.
/// Empty when the picture cannot be encoded.
std::string PngBytes(const QImage& picture);

/// The bytes of a BMP of `picture`, three bytes a pixel. Empty when it cannot be encoded.
std::string BmpBytes(const QImage& picture);

/// Writes `picture` to `path` in `format`, replacing the file as every save does (a file that was
/// there stays whole until the new one is complete); a BMP has 24 bits per pixel. False when the
/// file cannot be written; `error` (when given) then receives the system's error number (a picture
/// that cannot be encoded is out of memory).
bool SaveViewPicture(const QImage& picture, const std::string& path, TPictureFormat format,
                     const TFileCalls& calls = SystemFileCalls(), int* error = nullptr);

/// The message of a picture that could not be saved, in the window and on the command line alike.
inline constexpr const char* PictureSaveMessage =
    "Ошибка при сохранении файла области построения графиков!";

/// What a picture of the view is made from: its pixels for BMP and PNG, its vector drawing for
/// SVG, PDF and EPS, written into a stream as it is recorded (false when it cannot be). Only the
/// one the format needs is asked for.
struct TViewPictureSource {
    std::function<QImage()> Pixels;
    std::function<bool(TVectorFormat, std::FILE*)> Vector;
};

/// The vector format of a picture format; none for BMP and PNG.
std::optional<TVectorFormat> VectorFormatOf(TPictureFormat format);

/// Writes the view's picture in `format` from `source`, as the overload above writes pixels.
/// False when the picture cannot be made (`error` ENOMEM) or the file cannot be written.
bool SaveViewPicture(const TViewPictureSource& source, const std::string& path,
                     TPictureFormat format, const TFileCalls& calls = SystemFileCalls(),
                     int* error = nullptr);

#pragma once
// Pictures of the view on disk: a 24-bit BMP, or a PNG.

#include "documents/file_calls.h"

#include <QImage>

#include <array>
#include <optional>
#include <string>
#include <string_view>

/// The picture formats the program writes.
enum class TPictureFormat { Bmp, Png };

/// A picture format as the save dialog offers it and as a file name names it.
struct TPictureFormatEntry {
    TPictureFormat Format;
    std::string_view Extension;   ///< lower case, with the dot
    std::string_view FilterEntry; ///< the save dialog's entry, "name|pattern" (UTF-8)
};

/// Every format the program writes, in the order of the save dialog's filter entries. A format
/// added later is one more row here and one more case in `SaveViewPicture`.
inline constexpr std::array<TPictureFormatEntry, 2> PictureFormats{{
    {TPictureFormat::Bmp, ".bmp", "Рисунок (*.bmp)|*.bmp"},
    {TPictureFormat::Png, ".png", "PNG (*.png)|*.png"},
}};

/// The format whose extension ends `path`, compared without regard to the case of Latin letters
/// ("pic.PNG" is a PNG); none when the name ends in no extension of `PictureFormats`.
std::optional<TPictureFormat> PictureFormatOfName(std::string_view path);

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

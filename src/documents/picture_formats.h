#pragma once
// The picture formats of the view's export: what the save dialog offers, and which format a file
// name asks for. The GUI, the command line and the writer all read this one table.

#include <array>
#include <optional>
#include <span>
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

/// The extensions of `PictureFormats`, in their order: what the save dialog's name rule checks.
std::span<const std::string_view> PictureExtensions();

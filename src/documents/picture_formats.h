#pragma once
// The picture formats of the view's export: what the save dialog offers, and which format a file
// name asks for. The GUI, the command line and the writer all read this one table.

#include <array>
#include <optional>
#include <span>
#include <string_view>

/// The picture formats the program writes: pixels (BMP, PNG) or vector pictures (SVG, PDF, EPS).
enum class TPictureFormat { Bmp, Png, Svg, Pdf, Eps };

/// SVG, PDF and EPS: drawn as lines and text rather than pixels.
constexpr bool IsVectorFormat(TPictureFormat format) {
    return format == TPictureFormat::Svg || format == TPictureFormat::Pdf ||
           format == TPictureFormat::Eps;
}

/// A picture format as the save dialog offers it and as a file name names it.
struct TPictureFormatEntry {
    TPictureFormat Format;
    std::string_view Extension;   ///< lower case, with the dot
    std::string_view FilterEntry; ///< the save dialog's entry, "name|pattern" (UTF-8)
};

/// Every format the program writes, in the order of the save dialog's filter entries. A format
/// added later is one more row here and one more case in `SaveViewPicture`.
inline constexpr std::array<TPictureFormatEntry, 5> PictureFormats{{
    {TPictureFormat::Bmp, ".bmp", "Рисунок (*.bmp)|*.bmp"},
    {TPictureFormat::Png, ".png", "PNG (*.png)|*.png"},
    {TPictureFormat::Svg, ".svg", "SVG (*.svg)|*.svg"},
    {TPictureFormat::Pdf, ".pdf", "PDF (*.pdf)|*.pdf"},
    {TPictureFormat::Eps, ".eps", "EPS (*.eps)|*.eps"},
}};

/// The format whose extension ends `path`, compared without regard to the case of Latin letters
/// ("pic.PNG" is a PNG); none when the name ends in no extension of `PictureFormats`.
std::optional<TPictureFormat> PictureFormatOfName(std::string_view path);

/// The extensions of `PictureFormats`, in their order: what the save dialog's name rule checks.
std::span<const std::string_view> PictureExtensions();

#pragma once
// The colour text of files: a name from the table of twenty colours, or "$" and eight
// hexadecimal digits.

#include "documents/color.h"

#include <array>
#include <string>
#include <string_view>

inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

struct TColorName {
    const char* Name; ///< the colour text of files
    TColor Value;
    const char* ShownName; ///< the item text of the dialogs' colour boxes
};

/// The twenty named colours in the order the colour boxes list them after their custom entry:
/// the sixteen standard colours, then the four extended ones.
inline constexpr std::array<TColorName, 20> ColorNames{{
    {"clBlack", clBlack, "Black"},
    {"clMaroon", clMaroon, "Maroon"},
    {"clGreen", clGreen, "Green"},
    {"clOlive", clOlive, "Olive"},
    {"clNavy", clNavy, "Navy"},
    {"clPurple", clPurple, "Purple"},
    {"clTeal", clTeal, "Teal"},
    {"clGray", clGray, "Gray"},
    {"clSilver", clSilver, "Silver"},
    {"clRed", clRed, "Red"},
    {"clLime", clLime, "Lime"},
    {"clYellow", clYellow, "Yellow"},
    {"clBlue", clBlue, "Blue"},
    {"clFuchsia", clFuchsia, "Fuchsia"},
    {"clAqua", clAqua, "Aqua"},
    {"clWhite", clWhite, "White"},
    {"clMoneyGreen", clMoneyGreen, "Money Green"},
    {"clSkyBlue", clSkyBlue, "Sky Blue"},
    {"clCream", clCream, "Cream"},
    {"clMedGray", clMedGray, "Medium Gray"},
}};

/// The table name of a named colour, otherwise "$" and eight upper-case hexadecimal digits of
/// the whole 32-bit value (orange is "$000080FF").
std::string ColorToText(TColor Color);

/// Reads a colour text as it stands (the caller trims where the format says so): a table name
/// (letter case does not matter), or an integer literal, decimal or "$" hexadecimal, within 32
/// bits. Anything else fails and leaves `Color` as it was.
bool TextToColor(std::string_view Text, TColor& Color);

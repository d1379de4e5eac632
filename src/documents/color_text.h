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
};

/// The twenty named colours in the order the colour boxes list them after their custom entry:
/// the sixteen standard colours, then the four extended ones.
inline constexpr std::array<TColorName, 20> ColorNames{{
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
}};

/// The table name of a named colour, otherwise "$" and eight upper-case hexadecimal digits of
/// the whole 32-bit value (orange is "$000080FF").
std::string ColorToText(TColor Color);

/// Reads a colour text as it stands (the caller trims where the format says so): a table name
/// (letter case does not matter), or an integer literal, decimal or "$" hexadecimal, within 32
/// bits. Anything else fails and leaves `Color` as it was.
bool TextToColor(std::string_view Text, TColor& Color);

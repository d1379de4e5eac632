#pragma once
// The colour text of files: a name from the table of twenty colours, or "$" and eight
// hexadecimal digits.

#include "settings/color_names.h"

#include <array>
#include <string>
#include <string_view>

/// The table name of a named colour, otherwise "$" and eight upper-case hexadecimal digits of
/// the whole 32-bit value (orange is "$000080FF").
std::string ColorToText(TColor Color);

/// Reads a colour text as it stands (the caller trims where the format says so): a table name
/// (letter case does not matter), or an integer literal, decimal or "$" hexadecimal, within 32
/// bits. Anything else fails and leaves `Color` as it was.
bool TextToColor(std::string_view Text, TColor& Color);

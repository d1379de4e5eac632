#pragma once
// The text forms of numbers shared by every file the program writes and reads: the number writer,
// the number-line reader `PrintOneFloatLine` and the single-value conversions of integer and
// style lines.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

/// The number writer of files: 15 significant digits rounded as `NumberText` rounds, the given
/// decimal separator, no trailing zeros, an integral value without separator, and always fixed
/// notation (5E-5 is written 0.00005, 1E20 as 100000000000000000000), because the number-line
/// reader skips the exponent letter and would read 1E-6 back as the broken token 1-6. The few
/// values next to the largest double, whose rounding would overflow, are cut to 15 digits
/// instead. A value that is not finite has no text the readers accept and is written as 0.
std::string FloatText(double Value, char DecimalSeparator);
/// The values in `FloatText` form separated by single blanks: a line `PrintOneFloatLine` reads.
std::string FloatLine(std::initializer_list<double> Values, char DecimalSeparator);

/// How `PrintOneFloatLine` ended.
enum class TNumberLine {
    Ok,     ///< every token converted; values past the last token are untouched
    Empty,  ///< nothing but blanks and control characters; no value was touched
    Invalid ///< a token without digits, a misplaced minus, an overflow or more numbers than fit
};

/// `PrintOneFloatLine`, despite its name, prints nothing: it reads a line of numbers.
/// It reads up to `Values.size()` numbers separated by runs of blanks. Both '.' and ',' are
/// decimal marks (only the first of a token counts), one '-' per token is kept wherever it stands,
/// every other character (letters, '+', tabs, a second mark) is skipped, so "x=12" reads 12, "1e5"
/// reads 15 and "1.2.3" reads 1.23. Values are stored in order as they convert, so a line that
/// fails may have filled its first entries.
TNumberLine PrintOneFloatLine(std::string_view Line, std::span<double> Values);

/// The line without the blanks and control characters (every byte up to ' ') at both ends.
std::string_view TrimText(std::string_view Text);

/// An integer line as the readers take it: leading blanks, an optional sign, then decimal digits
/// or '$'/'0x' and hexadecimal digits, nothing after; within 32 bits (hexadecimal up to
/// $FFFFFFFF, which wraps to a negative value).
bool TextToInt(std::string_view Text, int& Value);

/// A single number such as a style line: blanks at both ends, an optional sign, digits with one
/// decimal mark that may be '.' or ',', an optional exponent; finite values only.
bool TextToFloat(std::string_view Text, double& Value);

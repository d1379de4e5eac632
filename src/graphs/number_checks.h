#pragma once
// The checks of every number the user types: the decimal mark is normalised, the text is read and
// the value is held to a range. A failed check returns the standard message (UTF-8) that the
// dialogs show in an error box captioned "Ошибка". A number field of a dialog (and a number
// argument of the command line) takes a constant expression of the formula language as well; a
// table cell takes numbers only.

#include <cstdint>
#include <string>
#include <string_view>

/// `FloatSeparator`, despite its name, gives no separator but a number's text normalised: the text
/// without leading and trailing blanks, with every decimal mark (',' or '.') turned into
/// `decimalSeparator`. Nothing else is checked.
std::string FloatSeparator(std::string_view text, char decimalSeparator);

/// The lower bound as the range message writes it: the `NumberText` form when |minimum| >= 1,
/// otherwise rounded to one significant digit in fixed notation with ten decimals.
std::string RangeMinimumText(double minimum, char decimalSeparator);

/// `Is_float_number`: reads `text` as a decimal number within [minimum, maximum]. On success
/// writes `value` and returns true; otherwise `message` gets the not-a-number or the range message
/// (with `suffix`, such as "Pi", after each bound) and `value` is left as it was.
bool Is_float_number(std::string_view text, std::string_view suffix, double minimum, double maximum,
                     double& value, char decimalSeparator, std::string& message);

/// `Is_int_number`: reads `text` as a whole number within [minimum, maximum], as above.
bool Is_int_number(std::string_view text, std::int32_t minimum, std::int32_t maximum,
                   std::int32_t& value, char decimalSeparator, std::string& message);

/// A field's refusal: the line `Поле "<field>":`, then `message`; `message` alone when the field
/// has no name.
std::string FieldMessage(std::string_view field, std::string_view message);

/// The check of a number field named `field` (its label's text): a plain number is read as
/// `Is_float_number` reads it; any other text is read as a constant expression of the formula
/// language ("2pi", "-pi/2", "sqrt(2)", "e"), whose value is held to the same range. The message
/// of a refusal names the field: the not-a-number message for a text that is neither, "Выражение
/// '...' не имеет значения!" for an expression without a value ('1/0'), or the range message.
bool ReadFloatField(std::string_view field, std::string_view text, std::string_view suffix,
                    double minimum, double maximum, double& value, char decimalSeparator,
                    std::string& message);

/// The check of a whole-number field (a count, a row): `Is_int_number` with the field named in
/// its message. Expressions are not taken here.
bool ReadIntField(std::string_view field, std::string_view text, std::int32_t minimum,
                  std::int32_t maximum, std::int32_t& value, char decimalSeparator,
                  std::string& message);

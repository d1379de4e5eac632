#pragma once
// Number entry in the dialogs: the checks of a number field with their error box, and the key
// filters of number fields.

#include <QString>

#include <cstdint>

struct TAppContext;
class QKeyEvent;
class QLineEdit;

/// Checks the number field `edit`, named `field` (its label's text), as `ReadFloatField` does: a
/// number or a constant expression of the formula language within the range. A refusal is an
/// error box "Ошибка" through the context's services that names the field; after it the edit has
/// the focus with its whole text selected, so the user can type the number again at once.
bool CheckFloatEdit(TAppContext& ctx, QLineEdit* edit, const QString& field, const QString& suffix,
                    double minimum, double maximum, double& value);
/// Checks a whole-number field as `ReadIntField` does, with the same box and focus.
bool CheckIntEdit(TAppContext& ctx, QLineEdit* edit, const QString& field, std::int32_t minimum,
                  std::int32_t maximum, std::int32_t& value);

/// Whether a number edit lets the key through: the characters of `allowed`, Backspace, and every
/// key that types no character (arrows, Delete, Tab, Enter) or is a shortcut.
bool KeyAllowed(const QKeyEvent* key, const QString& allowed);

/// Makes `edit` drop every typed character that `KeyAllowed` refuses.
void FilterNumberKeys(QLineEdit* edit, const QString& allowed);

/// Whether a field that takes a constant expression lets the key through: what `KeyAllowed`
/// lets through for digits, either decimal mark, signs, operators, parentheses, bars and blanks,
/// and any letter. Letters of every alphabet come in, so that one the formula language does not
/// know is refused with a message when the field is checked instead of vanishing as it is typed.
bool ExpressionKeyAllowed(const QKeyEvent* key);

/// Makes `edit`, a field that takes a number or a constant expression ("2pi", "sqrt(2)", "e"),
/// drop every typed character that `ExpressionKeyAllowed` refuses.
void FilterExpressionKeys(QLineEdit* edit);

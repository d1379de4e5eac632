#pragma once
// Number entry in the dialogs: the checks of a typed number with their error box, and the key
// filter of number edits.

#include <QString>

#include <cstdint>

struct TAppContext;
class QKeyEvent;
class QLineEdit;
class QWidget;

/// `Is_float_number` as the dialogs call it: a failed check shows its message in an error box
/// "Ошибка" (owned by `parent`) through the context's services.
bool Is_float_number(TAppContext& ctx, QWidget* parent, const QString& text, const QString& suffix,
                     double minimum, double maximum, double& value);
/// `Is_int_number` as the dialogs call it, with the same error box.
bool Is_int_number(TAppContext& ctx, QWidget* parent, const QString& text, std::int32_t minimum,
                   std::int32_t maximum, std::int32_t& value);

/// Checks the number in `edit`; on failure, after the error box, the edit has the focus with its
/// whole text selected, so the user can type the number again at once.
bool CheckFloatEdit(TAppContext& ctx, QLineEdit* edit, const QString& suffix, double minimum,
                    double maximum, double& value);
bool CheckIntEdit(TAppContext& ctx, QLineEdit* edit, std::int32_t minimum, std::int32_t maximum,
                  std::int32_t& value);

/// Whether a number edit lets the key through: the characters of `allowed`, Backspace, and every
/// key that types no character (arrows, Delete, Tab, Enter) or is a shortcut.
bool KeyAllowed(const QKeyEvent* key, const QString& allowed);

/// Makes `edit` drop every typed character that `KeyAllowed` refuses.
void FilterNumberKeys(QLineEdit* edit, const QString& allowed);

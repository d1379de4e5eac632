#pragma once
// The decimal separator of the user's locale, as the program and the command line both take it.

namespace kurvant {

/// The decimal mark of the locale that the environment names for numbers (LC_ALL, LC_NUMERIC,
/// LANG): ',' when that locale writes a comma, '.' for any other mark and when the locale is
/// unknown to the system. The process's own locale is not changed.
char LocaleDecimalSeparator();

} // namespace kurvant

#pragma once
// The decimal and group separators of the user's locale, as the program and the command line both
// take them.

#include <string>

namespace kurvant {

/// The decimal mark of the locale that the environment names for numbers (LC_ALL, LC_NUMERIC,
/// LANG): ',' when that locale writes a comma, '.' for any other mark and when the locale is
/// unknown to the system. The process's own locale is not changed.
char LocaleDecimalSeparator();

/// The digit group separator of the same locale (nl_langinfo_l(THOUSEP)) in UTF-8: a blank or a
/// no-break space in a Russian locale, "" in the C locale, when the locale is unknown, and when the
/// locale writes it in a code page other than UTF-8. The process's own locale is not changed.
std::string LocaleGroupSeparator();

} // namespace kurvant

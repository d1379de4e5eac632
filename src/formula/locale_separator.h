#pragma once
// The decimal and digit-group separators of the user's locale, as the program and the command line
// both take them.

#include <locale.h>

#include <string>

namespace kurvant {

/// The decimal mark of the locale that the environment names for numbers (LC_ALL, LC_NUMERIC,
/// LANG): ',' when that locale writes a comma, '.' for any other mark and when the locale is
/// unknown to the system. The process's own locale is not changed.
char LocaleDecimalSeparator();

/// The digit-group (thousands) separator of the same locale, in UTF-8: empty when the locale
/// groups no digits, is unknown to the system, or its separator cannot be converted. A locale
/// that is not UTF-8 has its separator converted from its own code set.
std::string LocaleGroupSeparator();

/// While alive, the calling thread's printf and strtod family read and write numbers with a
/// point, whatever locale the process runs in; other threads are untouched. Libraries that write
/// files for other programs with printf (the vector pictures) run inside one. The thread's
/// locale comes back when it ends.
class TMachineNumbers {
public:
    TMachineNumbers();
    ~TMachineNumbers();
    TMachineNumbers(const TMachineNumbers&) = delete;
    TMachineNumbers& operator=(const TMachineNumbers&) = delete;

private:
    locale_t Numbers = nullptr;  // the thread's locale with the numbers of C
    locale_t Previous = nullptr; // the locale the thread had
};

} // namespace kurvant

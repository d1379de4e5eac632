#pragma once
// Numbers in the form other programs read ('1.5', '0x1.8p+0'), read by the tests whatever locale
// the suite runs in: strtod and friends follow the locale, and in a Russian one stop at the point.

#include "formula/locale_separator.h"

#include <cstdlib>
#include <string>

inline long double MachineNumber(const std::string& text) {
    const kurvant::TMachineNumbers machineNumbers;
    return std::strtold(text.c_str(), nullptr);
}

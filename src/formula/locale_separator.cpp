#include "formula/locale_separator.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>

namespace kurvant {

char LocaleDecimalSeparator() {
    const locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (numeric == static_cast<locale_t>(nullptr)) {
        return '.';
    }
    const char* mark = nl_langinfo_l(RADIXCHAR, numeric);
    const bool comma = mark != nullptr && std::strcmp(mark, ",") == 0;
    freelocale(numeric);
    return comma ? ',' : '.';
}

} // namespace kurvant

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

std::string LocaleGroupSeparator() {
    // The character set comes with LC_CTYPE; the separator's bytes are in it.
    const locale_t numeric =
        newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (numeric == static_cast<locale_t>(nullptr)) {
        return {};
    }
    const char* separator = nl_langinfo_l(THOUSEP, numeric);
    const char* codeset = nl_langinfo_l(CODESET, numeric);
    std::string result = separator != nullptr ? separator : "";
    bool ascii = true;
    for (const char c : result) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    }
    const bool utf8 = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
    freelocale(numeric);
    // Bytes of another code page would be garbage in the program's UTF-8 texts.
    return ascii || utf8 ? result : std::string();
}

} // namespace kurvant

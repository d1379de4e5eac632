#include "formula/locale_separator.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <climits>
#include <vector>

namespace kurvant {

namespace {

// A locale for the categories of `mask` (by default the numbers of the locale the environment
// names), owned for the life of the object.
class TLocaleHandle {
public:
    explicit TLocaleHandle(int mask = LC_NUMERIC_MASK, const char* name = "")
        : Locale(newlocale(mask, name, static_cast<locale_t>(nullptr))) {}
    ~TLocaleHandle() {
        if (Valid())
            freelocale(Locale);
    }
    TLocaleHandle(const TLocaleHandle&) = delete;
    TLocaleHandle& operator=(const TLocaleHandle&) = delete;

    bool Valid() const { return Locale != static_cast<locale_t>(nullptr); }
    std::string Item(nl_item item) const {
        const char* text = nl_langinfo_l(item, Locale);
        return text != nullptr ? std::string(text) : std::string();
    }

private:
    locale_t Locale;
};

// The code set in which the numeric locale writes its texts: that of the character types of the
// locale of the same name, which need not be the locale the environment names for them.
std::string NumericCodeSet(const TLocaleHandle& numeric) {
    const std::string name = numeric.Item(_NL_LOCALE_NAME(LC_NUMERIC));
    const TLocaleHandle types(LC_CTYPE_MASK, name.c_str());
    return types.Valid() ? types.Item(CODESET) : std::string();
}

// `text` from the code set `codeSet` to UTF-8; empty when it does not convert.
std::string ToUtf8(const std::string& text, const std::string& codeSet) {
    if (text.empty() || codeSet.empty() || codeSet == "UTF-8")
        return text;
    const iconv_t converter = iconv_open("UTF-8", codeSet.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        return {};
    std::vector<char> in(text.begin(), text.end());
    std::vector<char> out(text.size() * 4 + 4);
    char* inPointer = in.data();
    char* outPointer = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t converted = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
    iconv_close(converter);
    if (converted == static_cast<std::size_t>(-1) || inLeft != 0)
        return {};
    return std::string(out.data(), out.size() - outLeft);
}

} // namespace

char LocaleDecimalSeparator() {
    const TLocaleHandle numeric;
    if (!numeric.Valid())
        return '.';
    return numeric.Item(RADIXCHAR) == "," ? ',' : '.';
}

std::string LocaleGroupSeparator() {
    const TLocaleHandle numeric;
    if (!numeric.Valid())
        return {};
    // A locale may name a separator and still group nothing ("-1" or no sizes at all).
    const std::string grouping = numeric.Item(GROUPING);
    if (grouping.empty() || grouping[0] <= 0 || grouping[0] == CHAR_MAX)
        return {};
    return ToUtf8(numeric.Item(THOUSEP), NumericCodeSet(numeric));
}

TMachineNumbers::TMachineNumbers() {
    // The numbers of C over a copy of whatever the thread has now, so that its character types
    // (and with them UTF-8 text) stay as they are.
    const locale_t current = duplocale(uselocale(static_cast<locale_t>(nullptr)));
    if (current == static_cast<locale_t>(nullptr))
        return;
    const locale_t numbers = newlocale(LC_NUMERIC_MASK, "C", current);
    if (numbers == static_cast<locale_t>(nullptr)) {
        freelocale(current);
        return;
    }
    Numbers = numbers;
    Previous = uselocale(numbers);
}

TMachineNumbers::~TMachineNumbers() {
    if (Numbers == nullptr)
        return;
    uselocale(Previous);
    freelocale(Numbers);
}

} // namespace kurvant

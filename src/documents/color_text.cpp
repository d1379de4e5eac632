#include "documents/color_text.h"

#include "documents/number_line.h"

#include <cstdio>

namespace {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string ColorToText(TColor Color) {
    for (const TColorName& entry : ColorNames) {
        if (entry.Value == Color) {
            return entry.Name;
        }
    }
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(Color));
    return text;
}

bool TextToColor(std::string_view Text, TColor& Color) {
    for (const TColorName& entry : ColorNames) {
        if (SameName(Text, entry.Name)) {
            Color = entry.Value;
            return true;
        }
    }
    int value = 0;
    if (!TextToInt(Text, value)) {
        return false;
    }
    Color = static_cast<TColor>(value);
    return true;
}

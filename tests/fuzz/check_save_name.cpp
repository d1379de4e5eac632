#include "fuzz_checks.h"

#include "documents/file_names.h"
#include "documents/picture_formats.h"

#include <string>

namespace fuzz {

std::string CheckSaveName(std::string_view input) {
    if (input.empty()) {
        return {};
    }
    const std::span<const std::string_view> extensions = PictureExtensions();
    // One more than the entries, and -1: a dialog that reports no entry.
    const int chosen = static_cast<unsigned char>(input[0]) % (extensions.size() + 2) - 1;
    const std::string typed(input.substr(1));
    const std::string saved = SaveName(typed, extensions, chosen);

    const std::optional<TPictureFormat> typedFormat = PictureFormatOfName(typed);
    const std::optional<TPictureFormat> format = PictureFormatOfName(saved);
    if (typedFormat) {
        if (saved != typed) {
            return "a typed extension of a known format was not kept";
        }
        if (format != typedFormat) {
            return "the typed extension did not choose the format";
        }
    } else if (chosen >= 0 && chosen < static_cast<int>(extensions.size())) {
        if (saved != typed + std::string(extensions[static_cast<std::size_t>(chosen)])) {
            return "the chosen entry's extension was not appended to the typed name";
        }
        if (format != PictureFormats[static_cast<std::size_t>(chosen)].Format) {
            return "the saved name does not name the chosen entry's format";
        }
    } else if (saved != typed) {
        return "a name changed although no entry was chosen";
    }
    if (SaveName(saved, extensions, chosen) != saved) {
        return "settling the settled name changed it";
    }
    return {};
}

} // namespace fuzz

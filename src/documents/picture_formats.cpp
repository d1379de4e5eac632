#include "documents/picture_formats.h"

#include "documents/file_names.h"

std::optional<TPictureFormat> PictureFormatOfName(std::string_view path) {
    const int index = ExtensionIndex(path, PictureExtensions());
    if (index < 0) {
        return std::nullopt;
    }
    return PictureFormats[static_cast<std::size_t>(index)].Format;
}

std::span<const std::string_view> PictureExtensions() {
    static const auto extensions = [] {
        std::array<std::string_view, PictureFormats.size()> list{};
        for (std::size_t i = 0; i < PictureFormats.size(); ++i) {
            list[i] = PictureFormats[i].Extension;
        }
        return list;
    }();
    return extensions;
}

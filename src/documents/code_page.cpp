#include "documents/code_page.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <iconv.h>

namespace {

constexpr const char* CodePage = "CP1251";

class TIconv {
public:
    TIconv(const char* to, const char* from) : Handle(iconv_open(to, from)) {}
    ~TIconv() {
        if (Valid()) {
            iconv_close(Handle);
        }
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;
    bool Valid() const { return Handle != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; returns false with errno set where it stopped. `in` and
    // `out` advance past what was converted.
    bool Convert(std::string_view& in, std::string& out) const {
        char* source = const_cast<char*>(in.data()); // iconv's interface; it does not write input
        std::size_t sourceLeft = in.size();
        std::string buffer(in.size() * 4 + 8, '\0');
        char* target = buffer.data();
        std::size_t targetLeft = buffer.size();
        const bool whole = iconv(Handle, &source, &sourceLeft, &target, &targetLeft) !=
                           static_cast<std::size_t>(-1);
        const int error = errno;
        out.append(buffer.data(), buffer.size() - targetLeft);
        in.remove_prefix(in.size() - sourceLeft);
        errno = error;
        return whole;
    }

private:
    iconv_t Handle;
};

// The length of the UTF-8 sequence that `text` starts with, or 1 for a stray byte.
std::size_t SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    if (length > text.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

} // namespace

char32_t Cp1251ToUnicode(unsigned char Byte) {
    const TIconv converter("UTF-32LE", CodePage);
    const char byte = static_cast<char>(Byte);
    std::string_view in(&byte, 1);
    std::string out;
    if (!converter.Valid() || !converter.Convert(in, out) || out.size() != 4) {
        return 0;
    }
    char32_t code = 0;
    for (int k = 3; k >= 0; --k) {
        code = (code << 8) | static_cast<unsigned char>(out[static_cast<std::size_t>(k)]);
    }
    return code;
}

std::string Cp1251ToUtf8(std::string_view Bytes) {
    const TIconv converter("UTF-8", CodePage);
    std::string out;
    if (!converter.Valid()) {
        return out;
    }
    while (!converter.Convert(Bytes, out)) {
        if (errno != EILSEQ && errno != EINVAL) {
            break;
        }
        out += '?'; // the unassigned byte
        Bytes.remove_prefix(1);
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view Utf8) {
    const TIconv converter(CodePage, "UTF-8");
    std::string out;
    if (!converter.Valid()) {
        return out;
    }
    while (!converter.Convert(Utf8, out)) {
        if (errno != EILSEQ && errno != EINVAL) {
            break;
        }
        out += '?';
        Utf8.remove_prefix(SequenceLength(Utf8));
    }
    return out;
}

bool Utf8ToCp1251Exactly(std::string_view Utf8, std::string& Bytes) {
    const TIconv converter(CodePage, "UTF-8");
    std::string out;
    if (!converter.Valid() || !converter.Convert(Utf8, out)) {
        return false;
    }
    Bytes = std::move(out);
    return true;
}

std::string WithCp1251Characters(std::string_view Utf8, std::string_view StandIn) {
    // The characters of the code page's upper half, asked of iconv once; the lower half is ASCII.
    static const std::array<char32_t, 128> upper = [] {
        std::array<char32_t, 128> codes{};
        for (std::size_t k = 0; k < codes.size(); ++k) {
            codes[k] = Cp1251ToUnicode(static_cast<unsigned char>(0x80 + k));
        }
        return codes;
    }();
    std::string out;
    out.reserve(Utf8.size());
    while (!Utf8.empty()) {
        const auto lead = static_cast<unsigned char>(Utf8[0]);
        if (lead < 0x80) {
            out += Utf8[0];
            Utf8.remove_prefix(1);
            continue;
        }
        const std::size_t length = SequenceLength(Utf8);
        char32_t code = 0;
        if (length > 1) {
            code = lead & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k) {
                code = (code << 6) | (static_cast<unsigned char>(Utf8[k]) & 0x3F);
            }
        }
        // An overlong form is no character; the unassigned byte's entry, 0, is then never met.
        const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        const bool kept = length > 1 && code >= least &&
                          std::find(upper.begin(), upper.end(), code) != upper.end();
        if (kept) {
            out.append(Utf8.substr(0, length));
        } else {
            out.append(StandIn);
        }
        Utf8.remove_prefix(length);
    }
    return out;
}

// The number line, the single numbers and the colour text of files under any bytes.

#include "fuzz_checks.h"

#include "documents/color_text.h"
#include "documents/number_line.h"

#include <array>
#include <cmath>

namespace fuzz {

namespace {

// The number writer's text of a value reads back to a value with the same text, with either
// separator, both through the number line and as a single number.
std::string CheckWrittenBack(double value) {
    for (const char separator : {'.', ','}) {
        const std::string text = FloatText(value, separator);
        std::array<double, 1> line{};
        if (PrintOneFloatLine(text, line) != TNumberLine::Ok ||
            FloatText(line[0], separator) != text) {
            return "the number line does not read back the writer's \"" + text + "\"";
        }
        double single = 0;
        if (!TextToFloat(text, single) || FloatText(single, separator) != text) {
            return "a single number does not read back the writer's \"" + text + "\"";
        }
    }
    return {};
}

} // namespace

std::string CheckNumberLine(std::string_view input) {
    if (input.empty()) {
        return {};
    }
    const std::size_t count = 1 + static_cast<unsigned char>(input[0]) % 7;
    const std::string_view line = input.substr(1);

    std::array<double, 7> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = 1000.5 + static_cast<double>(i);
    }
    const std::array<double, 7> untouched = values;
    const TNumberLine result = PrintOneFloatLine(line, std::span<double>(values.data(), count));
    if (result != TNumberLine::Ok && result != TNumberLine::Empty &&
        result != TNumberLine::Invalid) {
        return "the number line ended in an unknown way";
    }
    if (result == TNumberLine::Empty && values != untouched) {
        return "an empty number line touched a value";
    }
    for (std::size_t i = count; i < values.size(); ++i) {
        if (values[i] != untouched[i]) {
            return "the number line wrote past its values";
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!std::isfinite(values[i])) {
            return "the number line stored a value that is not finite";
        }
    }
    // The writer is checked on the line's first value: the fuzzer makes values enough, and
    // writing every value of every line would slow each execution several times over.
    if (result == TNumberLine::Ok) {
        if (std::string broken = CheckWrittenBack(values[0]); !broken.empty()) {
            return broken;
        }
    }

    const std::string_view trimmed = TrimText(line);
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    if (!trimmed.empty() && (blank(trimmed.front()) || blank(trimmed.back()))) {
        return "a trimmed text still begins or ends with a blank";
    }
    if (trimmed.data() < line.data() ||
        trimmed.data() + trimmed.size() > line.data() + line.size()) {
        return "a trimmed text is not part of the line";
    }

    int integer = 0;
    if (TextToInt(line, integer)) {
        int again = 0;
        if (!TextToInt(std::to_string(integer), again) || again != integer) {
            return "an integer does not read back from its decimal text";
        }
    }
    double single = 0;
    if (TextToFloat(line, single)) {
        if (!std::isfinite(single)) {
            return "a single number that is not finite";
        }
        if (std::string broken = CheckWrittenBack(single); !broken.empty()) {
            return broken;
        }
    }
    return {};
}

std::string CheckColorText(std::string_view input) {
    constexpr TColor untouched = 0x12345678;
    TColor color = untouched;
    if (!TextToColor(input, color)) {
        return color == untouched ? std::string() : "a refused colour text changed the colour";
    }
    const std::string text = ColorToText(color);
    TColor again = untouched;
    if (!TextToColor(text, again) || again != color) {
        return "the colour text \"" + text + "\" does not read back its colour";
    }
    return {};
}

} // namespace fuzz

#include "documents/settings_file.h"

#include "documents/number_line.h"
#include "documents/text_file.h"
#include "documents/color_text.h"

#include <array>

namespace {

constexpr std::size_t SettingsLineCount = 9;

std::string Flags(std::initializer_list<bool> flags) {
    std::string line;
    for (bool flag : flags) {
        line += flag ? "1 " : "0 ";
    }
    return line;
}

std::string Numbers(std::initializer_list<double> numbers, char separator) {
    std::string line;
    for (double number : numbers) {
        if (!line.empty()) {
            line += ' ';
        }
        line += FloatText(number, separator);
    }
    return line;
}

bool ReadColor(const std::string& line, TColorSetting& field) {
    TColor color = 0;
    if (!TextToColor(TrimText(line), color)) {
        return false;
    }
    field = color;
    return true;
}

// Reads a number line of exactly the group's size; an empty line leaves the group alone.
template <std::size_t N> bool ReadGroup(const std::string& line, std::array<double*, N> fields) {
    std::array<double, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        values[i] = *fields[i];
    }
    const TNumberLine result = PrintOneFloatLine(line, values);
    if (result == TNumberLine::Invalid) {
        return false;
    }
    if (result == TNumberLine::Ok) {
        for (std::size_t i = 0; i < N; ++i) {
            *fields[i] = values[i];
        }
    }
    return true;
}

template <std::size_t N> bool ReadFlags(const std::string& line, std::array<bool*, N> flags) {
    std::array<double, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        values[i] = *flags[i] ? 1 : 0;
    }
    const TNumberLine result = PrintOneFloatLine(line, values);
    if (result == TNumberLine::Invalid) {
        return false;
    }
    if (result == TNumberLine::Ok) {
        for (std::size_t i = 0; i < N; ++i) {
            *flags[i] = values[i] != 0;
        }
    }
    return true;
}

bool ReadLines(const std::vector<std::string>& lines, TSettings& s) {
    if (lines.size() < SettingsLineCount) {
        return false;
    }
    return ReadColor(lines[0], s.BackGround) && ReadColor(lines[1], s.Axes) &&
           ReadFlags<7>(lines[2], {&s.AxisX, &s.AxisY, &s.AxisZ, &s.Numeration, &s.Touch,
                                   &s.Perspective, &s.Asteriks}) &&
           ReadGroup<6>(lines[3], {&s.MinX, &s.MaxX, &s.MinY, &s.MaxY, &s.MinZ, &s.MaxZ}) &&
           ReadGroup<4>(lines[4], {&s.StepMesh, &s.StepNumeration_X, &s.StepNumeration_Y,
                                   &s.StepNumeration_Z}) &&
           ReadFlags<6>(lines[5], {&s.XDown, &s.XUp, &s.YDown, &s.YUp, &s.ZDown, &s.ZUp}) &&
           ReadColor(lines[6], s.ColorX) && ReadColor(lines[7], s.ColorY) &&
           ReadColor(lines[8], s.ColorZ);
}

} // namespace

std::vector<std::string> SettingsFileLines(const TSettings& s, char separator) {
    return {
        ColorToText(s.BackGround),
        ColorToText(s.Axes),
        Flags({s.AxisX, s.AxisY, s.AxisZ, s.Numeration, s.Touch, s.Perspective, s.Asteriks}),
        Numbers({s.MinX, s.MaxX, s.MinY, s.MaxY, s.MinZ, s.MaxZ}, separator),
        Numbers({s.StepMesh, s.StepNumeration_X, s.StepNumeration_Y, s.StepNumeration_Z},
                separator),
        Flags({s.XDown, s.XUp, s.YDown, s.YUp, s.ZDown, s.ZUp}),
        ColorToText(s.ColorX),
        ColorToText(s.ColorY),
        ColorToText(s.ColorZ),
    };
}

bool ReadSettingsFile(const std::string& Path, TSettings& Settings) {
    TSettings read;
    Settings_Default(read);
    std::vector<std::string> lines;
    // A value outside the invariants would reach the frame as a zero or negative step or a
    // reversed axis, so such a file counts as unreadable like a damaged one.
    if (ReadTextLines(Path, lines) && ReadLines(lines, read) && SettingsAreValid(read)) {
        Settings = read;
        return true;
    }
    Settings_Default(Settings);
    return false;
}

bool WriteSettingsFile(const std::string& Path, const TSettings& Settings, char DecimalSeparator,
                       const TFileCalls& Calls) {
    return WriteTextLines(Path, SettingsFileLines(Settings, DecimalSeparator), Calls);
}

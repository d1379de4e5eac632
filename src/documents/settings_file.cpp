#include "documents/settings_file.h"

#include "documents/color_text.h"
#include "documents/number_line.h"
#include "documents/text_file.h"

#include <cerrno>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr std::size_t SettingsLineCount = 9;

std::string Flags(std::initializer_list<bool> flags) {
    std::string line;
    for (bool flag : flags) {
        line += flag ? "1 " : "0 ";
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

// Reads a number line of up to the group's size into numbers or flags (a flag is set by any
// number but 0); an empty line leaves the group alone, a shorter one the fields past its end.
template <typename T> bool ReadGroup(const std::string& line, std::initializer_list<T*> fields) {
    std::vector<double> values;
    for (const T* field : fields) {
        values.push_back(static_cast<double>(*field));
    }
    const TNumberLine result = PrintOneFloatLine(line, values);
    if (result == TNumberLine::Invalid) {
        return false;
    }
    if (result == TNumberLine::Ok) {
        for (std::size_t i = 0; T * field : fields) {
            *field = static_cast<T>(values[i++]);
        }
    }
    return true;
}

bool ReadLines(const std::vector<std::string>& lines, TSettings& s) {
    if (lines.size() < SettingsLineCount) {
        return false;
    }
    return ReadColor(lines[0], s.BackGround) && ReadColor(lines[1], s.Axes) &&
           ReadGroup(lines[2], {&s.AxisX, &s.AxisY, &s.AxisZ, &s.Numeration, &s.Touch,
                                &s.Perspective, &s.Asteriks}) &&
           ReadGroup(lines[3], {&s.MinX, &s.MaxX, &s.MinY, &s.MaxY, &s.MinZ, &s.MaxZ}) &&
           ReadGroup(lines[4], {&s.StepMesh, &s.StepNumeration_X, &s.StepNumeration_Y,
                                &s.StepNumeration_Z}) &&
           ReadGroup(lines[5], {&s.XDown, &s.XUp, &s.YDown, &s.YUp, &s.ZDown, &s.ZUp}) &&
           ReadColor(lines[6], s.ColorX) && ReadColor(lines[7], s.ColorY) &&
           ReadColor(lines[8], s.ColorZ);
}

} // namespace

std::vector<std::string> SettingsFileLines(const TSettings& s, char separator) {
    return {
        ColorToText(s.BackGround),
        ColorToText(s.Axes),
        Flags({s.AxisX, s.AxisY, s.AxisZ, s.Numeration, s.Touch, s.Perspective, s.Asteriks}),
        FloatLine({s.MinX, s.MaxX, s.MinY, s.MaxY, s.MinZ, s.MaxZ}, separator),
        FloatLine({s.StepMesh, s.StepNumeration_X, s.StepNumeration_Y, s.StepNumeration_Z},
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

bool ReadUserSettingsFile(const std::string& UserPath, const std::string& SharedPath,
                          TSettings& Settings) {
    struct stat info {};
    const bool userHasOne = !UserPath.empty() && (::stat(UserPath.c_str(), &info) == 0 ||
                                                  (errno != ENOENT && errno != ENOTDIR));
    return ReadSettingsFile(userHasOne ? UserPath : SharedPath, Settings);
}

bool WriteSettingsFile(const std::string& Path, const TSettings& Settings, char DecimalSeparator,
                       const TFileCalls& Calls) {
    return WriteTextLines(Path, SettingsFileLines(Settings, DecimalSeparator), Calls);
}

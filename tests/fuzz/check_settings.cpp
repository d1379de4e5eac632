// The settings file under any bytes.

#include "fuzz_checks.h"
#include "memory_file.h"

#include "documents/settings_file.h"
#include "documents/text_file.h"

namespace fuzz {

std::string CheckSettings(std::string_view input) {
    static TMemoryFile file;
    if (!file.Put(input)) {
        return "the input could not be put into the memory file";
    }
    TSettings defaults;
    Settings_Default(defaults);
    // A record that differs from the defaults everywhere a file can set it.
    TSettings settings;
    Settings_Default(settings);
    settings.BackGround = clRed;
    settings.MinX = -3;
    settings.StepMesh = 0.5;
    settings.AxisX = false;
    settings.ZUp = true;
    const bool read = ReadSettingsFile(file.Path(), settings);
    if (!read) {
        if (SettingsFileLines(settings, '.') != SettingsFileLines(defaults, '.')) {
            return "a refused file did not give the defaults";
        }
        return {};
    }
    if (!SettingsAreValid(settings)) {
        return "a file was taken whose record breaks the invariants";
    }
    // What is written of the record reads back to the same record.
    const char separator = input.size() % 2 == 0 ? '.' : ',';
    const std::vector<std::string> lines = SettingsFileLines(settings, separator);
    if (!file.Put(EncodeTextLines(lines))) {
        return "the written record could not be put into the memory file";
    }
    TSettings again;
    if (!ReadSettingsFile(file.Path(), again)) {
        return "the written record is refused";
    }
    if (SettingsFileLines(again, separator) != lines) {
        return "written and read again, the record changes";
    }
    return {};
}

} // namespace fuzz

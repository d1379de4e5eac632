#pragma once
// The settings file "settings.dat": nine lines that keep the settings record between runs. The
// caller chooses the path: the program keeps each user's file in the user's configuration folder,
// and reads one beside its executable for a user who has none.

#include "documents/file_calls.h"
#include "settings/settings.h"

#include <string>
#include <vector>

inline constexpr const char* SettingsFileName = "settings.dat";

/// The nine lines of the settings file for a record: the background and axes colours, the seven
/// flags (each "1 " or "0 "), the six interval ends, the four steps, the six mesh flags, the three
/// mesh colours. Numbers use `DecimalSeparator`.
std::vector<std::string> SettingsFileLines(const TSettings& Settings, char DecimalSeparator);

/// Reads the settings file into `Settings`. The reading starts from the defaults, so a number
/// line that is empty leaves its group at the defaults. Any failure (no file, fewer than nine
/// lines, a colour or number that does not convert, a line with too many numbers) or a result
/// that breaks the record's invariants (`SettingsAreValid`) gives all defaults and returns false;
/// nothing is reported to the user.
bool ReadSettingsFile(const std::string& Path, TSettings& Settings);

/// The settings of a user: `ReadSettingsFile` of `UserPath`, or where nothing of that name exists
/// (or the path is empty), of `SharedPath`, the file an installation keeps for every user. A user's
/// file that exists but does not read gives the defaults, not the shared file.
bool ReadUserSettingsFile(const std::string& UserPath, const std::string& SharedPath,
                          TSettings& Settings);

/// Writes the settings file atomically; false when it could not be written (the previous file is
/// then untouched). Callers at closing time ignore the result.
bool WriteSettingsFile(const std::string& Path, const TSettings& Settings, char DecimalSeparator,
                       const TFileCalls& Calls = SystemFileCalls());

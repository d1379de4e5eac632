#pragma once

#include "cli/cli_options.h"

#include <optional>
#include <string>
#include <string_view>

struct TSettings;

namespace kurvant::cli {

/// Exit codes shared by every subcommand.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

/// --sep's decimal separator, or `defaultSeparator` without it. A value other than ',' or '.' is
/// reported as a usage error and gives none.
std::optional<char> DecimalSeparatorOption(const TParsedArguments& args, char defaultSeparator);

/// --vars's letters; "-" stands for none, so that the option can always be given.
std::string VariablesOption(const TParsedArguments& args);

/// The settings of --settings FILE, or the defaults without it. A file that cannot be used leaves
/// every setting at its default, as at the program's start, and one warning line on stderr says
/// so.
void ReadSettingsOption(const TParsedArguments& args, TSettings& settings);

/// A message box text as one terminal message: the two-character break "\n\r" becomes one line
/// break, and trailing breaks go.
std::string TerminalMessage(const std::string& text);

/// Reports a usage error of `verb` as one line on stderr and returns `ExitUsage`.
int UsageError(std::string_view verb, const std::string& message);

} // namespace kurvant::cli

#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kurvant::cli {

/// Exit codes shared by every subcommand.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

/// The options and positional arguments of one subcommand.
struct TCliArguments {
    std::optional<std::string> Variables; // --vars; "-" already turned into none
    char DecimalSeparator = '.';          // --sep, or the locale's
    bool Batch = false;                   // --batch
    std::vector<std::string> Positionals;
};

/// Splits the arguments after the subcommand's name. `--vars LETTERS`, `--sep C` (',' or '.')
/// and, where `batchAllowed`, `--batch` are options wherever they stand; "--" ends the options;
/// everything else is positional, so a formula such as '--3' needs no quoting. On a usage error
/// returns false with a message.
bool ParseArguments(const std::vector<std::string>& args, bool batchAllowed, char defaultSeparator,
                    TCliArguments& parsed, std::string& error);

/// A message box text as one terminal message: the two-character break "\n\r" becomes one line
/// break, and trailing breaks go.
std::string TerminalMessage(std::string text);

/// Reports a usage error on stderr and returns `ExitUsage`.
int UsageError(const std::string& message);

int RunPrepare(const std::vector<std::string>& args, char defaultSeparator);
int RunEval(const std::vector<std::string>& args, char defaultSeparator);
int RunSample(const std::vector<std::string>& args, char defaultSeparator);
/// Draws a document as the view would show it into a BMP (or PNG) picture, with no display.
int RunRender(const std::vector<std::string>& args, char defaultSeparator);

} // namespace kurvant::cli

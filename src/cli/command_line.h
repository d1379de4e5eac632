#pragma once

#include <string>
#include <vector>

namespace kurvant::cli {

/// Runs kurvant-cli with the words after the program's name: finds the verb in the table, reads
/// its arguments, prints a usage text asked for or runs the verb. Returns the exit status.
int RunCommandLine(const std::vector<std::string>& args, char defaultSeparator);

} // namespace kurvant::cli

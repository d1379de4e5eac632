// kurvant-cli: prepares and evaluates formulas, samples documents and draws them into pictures
// from the command line.

#include "cli/command_line.h"

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The decimal separator the user's locale asks for: ',' or '.'.
char LocaleDecimalSeparator() {
    std::setlocale(LC_ALL, "");
    const std::lconv* conventions = std::localeconv();
    const bool comma = conventions != nullptr && conventions->decimal_point != nullptr &&
                       std::strcmp(conventions->decimal_point, ",") == 0;
    // Everything printed or read below uses the C locale, so values come out as '1.5'.
    std::setlocale(LC_ALL, "C");
    return comma ? ',' : '.';
}

} // namespace

int main(int argc, char** argv) {
    const char defaultSeparator = LocaleDecimalSeparator();
    return kurvant::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc),
                                        defaultSeparator);
}

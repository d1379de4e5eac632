// kurvant-cli: prepares and evaluates formulas, samples documents and draws them into pictures
// from the command line.

#include "cli/command_line.h"
#include "formula/locale_separator.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    // The locale only chooses the default separator; everything is printed and read in the C
    // locale, which the process keeps, so values come out as '1.5'.
    const char defaultSeparator = kurvant::LocaleDecimalSeparator();
    return kurvant::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc),
                                        defaultSeparator);
}

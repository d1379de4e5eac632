// kurvant-cli: prepares and evaluates formulas, samples documents and draws them into pictures
// from the command line.

#include "cli/cli_arguments.h"

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
    using namespace kurvant::cli;
    const char defaultSeparator = LocaleDecimalSeparator();
    if (argc < 2) {
        return UsageError("no command given");
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "prepare") {
        return RunPrepare(args, defaultSeparator);
    }
    if (command == "eval") {
        return RunEval(args, defaultSeparator);
    }
    if (command == "sample") {
        return RunSample(args, defaultSeparator);
    }
    if (command == "render") {
        return RunRender(args, defaultSeparator);
    }
    return UsageError("unknown command '" + command + "'");
}

#include "cli/command_line.h"

#include "cli/cli_arguments.h"
#include "cli/cli_usage.h"
#include "cli/concat.h"
#include "cli/verb_table.h"

#include <cstdio>

namespace kurvant::cli {

namespace {

int PrintUsage(const std::string& usage) {
    std::fputs(usage.c_str(), stdout);
    return std::fflush(stdout) == 0 ? ExitOk : ExitFailure;
}

// One line, as for a verb's own usage errors: the list of verbs is a command away.
int ProgramUsageError(const std::string& message) {
    std::fprintf(stderr, "kurvant-cli: %s; 'kurvant-cli --help' lists the verbs\n",
                 message.c_str());
    return ExitUsage;
}

} // namespace

int RunCommandLine(const std::vector<std::string>& args, char defaultSeparator) {
    if (args.empty())
        return ProgramUsageError("no verb given");
    const std::string& first = args.front();
    if (first == "--help" || first == "-h")
        return PrintUsage(ProgramUsage(Verbs()));
    const TVerb* verb = FindVerb(first);
    if (verb == nullptr) {
        if (first.size() > 1 && first[0] == '-')
            return ProgramUsageError(Concat({"unknown option ", QuotedArgument(first)}));
        return ProgramUsageError(Concat({"unknown verb ", QuotedArgument(first)}));
    }
    const TParseResult parsed =
        ParseVerbArguments(*verb, std::vector<std::string>(args.begin() + 1, args.end()));
    switch (parsed.Outcome) {
    case EParseOutcome::Help:
        return PrintUsage(VerbUsage(*verb));
    case EParseOutcome::UsageError:
        return UsageError(verb->Name, Concat({parsed.Error, "; 'kurvant-cli ", verb->Name,
                                              " --help' lists its usage"}));
    case EParseOutcome::Run:
        break;
    }
    return verb->Run(parsed.Arguments, defaultSeparator);
}

} // namespace kurvant::cli

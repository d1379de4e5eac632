#include "cli/cli_options.h"

#include "cli/concat.h"

#include <cctype>
#include <stdexcept>

namespace kurvant::cli {

namespace {

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// "--" and a letter: always an option, known or not, and never an option's value.
bool IsLongOptionWord(std::string_view word) {
    return word.size() > 2 && word.starts_with("--") && IsLetter(word[2]);
}

bool IsHelpWord(std::string_view word) {
    return word == "--help" || word == "-h";
}

const TOption* FindOption(const TVerb& verb, std::string_view word) {
    for (const TOption& option : verb.Options) {
        if (IsLongOptionWord(word)
                ? word.substr(2) == option.Name
                : option.Short != 0 && word.size() == 2 && word[1] == option.Short)
            return &option;
    }
    return nullptr;
}

// The group the positional argument number `index` (from 0) falls into, or none past the last.
const TPositional* GroupOf(const TVerb& verb, std::size_t index) {
    std::size_t first = 0;
    for (const TPositional& group : verb.Positionals) {
        if (group.Max == TPositional::Unbounded ||
            index < first + static_cast<std::size_t>(group.Max))
            return &group;
        first += static_cast<std::size_t>(group.Max);
    }
    return nullptr;
}

// Whether a word that begins with '-' and is none of the verb's options can be that argument.
// A number or a formula takes it ("-0.5", "-pi/2", "-inf", "-x"); what that word means is for the
// verb to judge, which refuses a word such as "-inf" with its own message.
bool TakesDashWord(const TPositional* group, std::string_view word) {
    if (group == nullptr || IsLongOptionWord(word))
        return false;
    return group->Kind != EArgumentKind::Text;
}

std::string Quoted(std::string_view word) {
    return QuotedArgument(word);
}

// The positional groups' counts and the required options, once every word is read.
std::string CheckComplete(const TVerb& verb, const TParsedArguments& parsed) {
    for (const TOption& option : verb.Options) {
        if (!option.Input.empty() && parsed.Has(option.Name)) {
            if (!parsed.Positionals.empty())
                return Concat({ShortestSpelling(option),
                               " takes no arguments: ", Quoted(parsed.Positionals[0]), " is one"});
            for (const TOption& single : verb.Options) {
                if (single.Required && parsed.Has(single.Name))
                    return Concat({ShortestSpelling(option), " reads ", option.Input,
                                   " instead of ", ShortestSpelling(single)});
            }
            return {};
        }
    }
    for (const TOption& option : verb.Options) {
        if (option.Required && !parsed.Has(option.Name))
            return Concat({"missing ", ShortestSpelling(option), " ", option.ValueName});
    }
    std::size_t first = 0;
    for (const TPositional& group : verb.Positionals) {
        if (parsed.Positionals.size() < first + static_cast<std::size_t>(group.Min))
            return Concat({"missing ", group.Name});
        if (group.Max == TPositional::Unbounded)
            return {};
        first += static_cast<std::size_t>(group.Max);
    }
    if (parsed.Positionals.size() > first)
        return Concat({"unexpected argument ", Quoted(parsed.Positionals[first])});
    return {};
}

} // namespace

std::string ShortestSpelling(const TOption& option) {
    return option.Short != 0 ? std::string{'-', option.Short} : Concat({"--", option.Name});
}

const TOption& TParsedArguments::Declared(std::string_view name) const {
    for (const TOption& option : Verb->Options) {
        if (option.Name == name)
            return option;
    }
    throw std::logic_error(Concat({"kurvant-cli ", Verb->Name, " has no option --", name}));
}

bool TParsedArguments::Has(std::string_view name) const {
    Declared(name);
    return Values.contains(name);
}

std::optional<std::string> TParsedArguments::Value(std::string_view name) const {
    Declared(name);
    const auto found = Values.find(name);
    if (found == Values.end())
        return std::nullopt;
    return found->second;
}

TParseResult ParseVerbArguments(const TVerb& verb, const std::vector<std::string>& args) {
    TParseResult result{EParseOutcome::Run, TParsedArguments(verb), {}};
    TParsedArguments& parsed = result.Arguments;
    const auto fail = [&result](std::string message) {
        result.Outcome = EParseOutcome::UsageError;
        result.Error = std::move(message);
        return result;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        // "-" alone is a value: it conventionally names the standard input or "none".
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            parsed.Positionals.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (IsHelpWord(word)) {
            result.Outcome = EParseOutcome::Help;
            return result;
        }
        const TOption* option = FindOption(verb, word);
        if (option == nullptr) {
            if (!TakesDashWord(GroupOf(verb, parsed.Positionals.size()), word))
                return fail(Concat({"unknown option ", Quoted(word)}));
            parsed.Positionals.push_back(word);
            continue;
        }
        std::string value;
        if (!option->ValueName.empty()) {
            // An option in the value's place means the value was forgotten, not that it is
            // "--sep"; "--" likewise.
            if (i + 1 == args.size() || args[i + 1] == "--" || IsLongOptionWord(args[i + 1]))
                return fail(Concat({word, " needs ", option->ValueName}));
            value = args[++i];
        }
        parsed.Values.insert_or_assign(std::string(option->Name), std::move(value));
    }
    std::string error = CheckComplete(verb, parsed);
    if (!error.empty())
        return fail(std::move(error));
    return result;
}

} // namespace kurvant::cli

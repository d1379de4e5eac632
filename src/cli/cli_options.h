#pragma once

// The table that describes each verb of kurvant-cli, and the one parser that reads a verb's
// arguments by it. The usage texts are generated from the same table (cli_usage.h), so what the
// parser accepts and what --help says cannot drift apart.

#include <climits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kurvant::cli {

/// What a positional argument holds. It decides whether a word beginning with '-' that is none
/// of the verb's options is this argument or an unknown option.
enum class EArgumentKind {
    Text,    // a file name or NAME=VALUE: a leading '-' marks an option ("-" alone is a value)
    Number,  // a number or a constant expression, so a leading '-' is a sign: "-2", "-pi/2"
    Formula, // any text at all, since formulas begin with signs: "-x", "--3", "-(x+1)"
};

/// One group of positional arguments. Arguments fill the groups in order, so only the last
/// group of a verb may take a varying number of them.
struct TPositional {
    static constexpr int Unbounded = INT_MAX;

    std::string_view Name{}; // "FORMULA", "NAME=VALUE"
    int Min = 1;
    int Max = 1;
    EArgumentKind Kind = EArgumentKind::Text;
};

struct TOption {
    std::string_view Name{};      // "sep" is given as --sep
    char Short = 0;               // 'o' is given as -o; 0 for none
    std::string_view ValueName{}; // "C" for --sep C; empty for a flag
    std::string_view Help{};      // one line for VERB --help
    bool Required = false;
    /// Not empty for an option that makes the verb take its work from the standard input in the
    /// form named here ("LINES"): the verb then takes no positional arguments and none of the
    /// required options, since they describe the single job the input replaces.
    std::string_view Input{};
};

/// How usage texts and messages name an option: "-o" where it has a short letter, else "--sep".
std::string ShortestSpelling(const TOption& option);

class TParsedArguments;
struct TParseResult;

/// A verb's work once its arguments are parsed. `defaultSeparator` is the locale's.
using TRunVerb = int (*)(const TParsedArguments& args, char defaultSeparator);

struct TVerb {
    std::string_view Name{};
    std::string_view Description{}; // one line for the program's --help
    std::vector<TPositional> Positionals{};
    std::vector<TOption> Options{}; // --help is every verb's own and needs no row
    TRunVerb Run = nullptr;
    std::string_view Notes{}; // lines after the options in VERB --help (exit statuses), or none
};

/// Reads the arguments after the verb's name. Options may stand anywhere and "--" ends them.
/// A word is an option when it is `--` followed by a letter (an unknown one is an error, so a
/// formula such as '--x' must follow "--"), or `-` and one of the verb's short letters; any other
/// word is the next positional argument if its kind takes it (see EArgumentKind). --help and -h
/// ask for the verb's usage.
TParseResult ParseVerbArguments(const TVerb& verb, const std::vector<std::string>& args);

class TParsedArguments {
public:
    explicit TParsedArguments(const TVerb& verb) : Verb(&verb) {}

    std::string_view VerbName() const { return Verb->Name; }

    /// Whether option `name` was given. The name must be one of the verb's options: a misspelt
    /// name would otherwise read as an option never given, so it throws std::logic_error.
    bool Has(std::string_view name) const;
    /// The value of option `name`, the last one when it was given more than once.
    std::optional<std::string> Value(std::string_view name) const;

    std::vector<std::string> Positionals;

private:
    friend TParseResult ParseVerbArguments(const TVerb& verb, const std::vector<std::string>& args);
    const TOption& Declared(std::string_view name) const;

    const TVerb* Verb;
    std::map<std::string, std::string, std::less<>> Values; // flags have ""
};

enum class EParseOutcome { Run, Help, UsageError };

struct TParseResult {
    EParseOutcome Outcome;
    TParsedArguments Arguments;
    std::string Error; // one line, for UsageError
};

} // namespace kurvant::cli

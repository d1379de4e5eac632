#include "cli/cli_usage.h"

#include "cli/concat.h"

#include <algorithm>
#include <vector>

namespace kurvant::cli {

namespace {

constexpr std::string_view Footer =
    "Options may stand anywhere; every word after '--' is an argument.\n";

// "-o OUT", "--sep C" or "--batch".
std::string Spelling(const TOption& option) {
    std::string text = ShortestSpelling(option);
    if (!option.ValueName.empty())
        text += Concat({" ", option.ValueName});
    return text;
}

void Append(std::string& line, std::string_view part) {
    if (!line.empty())
        line += ' ';
    line += part;
}

std::string Bracketed(std::string_view text) {
    return Concat({"[", text, "]"});
}

void AppendPositionals(std::string& line, const TPositional& group) {
    // A group that names each of its arguments ("MIN MAX STEP") is written once.
    if (group.Name.find(' ') != std::string_view::npos) {
        Append(line, group.Min == 0 ? Bracketed(group.Name) : std::string(group.Name));
        return;
    }
    for (int i = 0; i < group.Min; ++i)
        Append(line, group.Name);
    if (group.Max == TPositional::Unbounded) {
        Append(line, Bracketed(Concat({group.Name, " ..."})));
        return;
    }
    for (int i = group.Min; i < group.Max; ++i)
        Append(line, Bracketed(group.Name));
}

// The verb's ordinary form: every option but those that read the input instead, then the
// positional arguments.
std::string MainSynopsis(const TVerb& verb) {
    std::string line;
    for (const TOption& option : verb.Options) {
        if (option.Input.empty())
            Append(line, option.Required ? Spelling(option) : Bracketed(Spelling(option)));
    }
    for (const TPositional& group : verb.Positionals)
        AppendPositionals(line, group);
    return line;
}

// The form with an option that reads the work from the standard input: it takes neither the
// positional arguments nor the required options.
std::string InputSynopsis(const TVerb& verb, const TOption& input) {
    std::string line = Spelling(input);
    for (const TOption& option : verb.Options) {
        if (option.Input.empty() && !option.Required)
            Append(line, Bracketed(Spelling(option)));
    }
    Append(line, Concat({"< ", input.Input}));
    return line;
}

// "-o, --output OUT" or "    --sep C", so that the long names line up.
std::string OptionColumn(std::string_view name, char letter, std::string_view valueName) {
    std::string text = letter != 0 ? std::string{'-', letter, ',', ' '} : std::string(4, ' ');
    text += Concat({"--", name});
    if (!valueName.empty())
        text += Concat({" ", valueName});
    return text;
}

struct TRow {
    std::string Left;
    std::string_view Right;
};

// Two columns, the second two spaces after the widest entry of the first.
std::string Table(const std::vector<TRow>& rows) {
    std::size_t width = 0;
    for (const TRow& row : rows)
        width = std::max(width, row.Left.size());
    std::string text;
    for (const TRow& row : rows) {
        text += Concat({"  ", row.Left, std::string(width - row.Left.size() + 2, ' '), row.Right});
        text += '\n';
    }
    return text;
}

} // namespace

std::string ProgramUsage(std::span<const TVerb> verbs) {
    std::string text = "usage: kurvant-cli VERB [OPTION ...] [ARGUMENT ...]\n"
                       "       kurvant-cli VERB --help\n"
                       "       kurvant-cli --help\n"
                       "\n"
                       "verbs:\n";
    std::vector<TRow> rows;
    for (const TVerb& verb : verbs)
        rows.push_back({std::string(verb.Name), verb.Description});
    text += Table(rows);
    text += "\n'kurvant-cli VERB --help' lists the verb's options.\n";
    text += Footer;
    return text;
}

std::string VerbUsage(const TVerb& verb) {
    const std::string command = Concat({"kurvant-cli ", verb.Name});
    std::string text = Concat({"usage: ", command});
    Append(text, MainSynopsis(verb));
    text += '\n';
    for (const TOption& option : verb.Options) {
        if (!option.Input.empty())
            text += Concat({"       ", command, " ", InputSynopsis(verb, option), "\n"});
    }
    text += Concat({"\n", verb.Name, ": ", verb.Description, "\n\noptions:\n"});
    std::vector<TRow> rows;
    for (const TOption& option : verb.Options)
        rows.push_back({OptionColumn(option.Name, option.Short, option.ValueName), option.Help});
    rows.push_back({OptionColumn("help", 'h', {}), "prints this text"});
    text += Table(rows);
    text += '\n';
    if (!verb.Notes.empty())
        text += Concat({verb.Notes, "\n"});
    text += Footer;
    return text;
}

} // namespace kurvant::cli

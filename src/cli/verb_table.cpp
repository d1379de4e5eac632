#include "cli/verb_table.h"

#include "cli/commands.h"

#include <vector>

namespace kurvant::cli {

namespace {

// Options more than one verb takes, spelt and explained the same everywhere.
const TOption Variables{.Name = "vars",
                        .ValueName = "LETTERS",
                        .Help = "the formula's variables, one letter each; '-' for none",
                        .Required = true};
const TOption Separator{.Name = "sep",
                        .ValueName = "C",
                        .Help = "decimal separator, ',' or '.' (default: the locale's)"};
const TOption Literal{.Name = "literal",
                      .Help =
                          "evaluates by rewriting the text (the slow reference), not by program"};
const TOption SettingsFile{.Name = "settings",
                           .ValueName = "FILE",
                           .Help = "settings file to use instead of the defaults"};

const std::vector<TVerb>& Table() {
    using enum EArgumentKind;
    static const std::vector<TVerb> verbs = {
        {.Name = "prepare",
         .Description = "prints a formula as prepared for evaluation, and any '*' inserted",
         .Positionals = {{.Name = "FORMULA", .Kind = Formula}},
         .Options = {Variables, Separator},
         .Run = RunPrepare},
        {.Name = "eval",
         .Description = "evaluates a formula with values for its variables",
         .Positionals = {{.Name = "FORMULA", .Kind = Formula},
                         {.Name = "NAME=VALUE", .Min = 0, .Max = TPositional::Unbounded}},
         .Options = {Variables,
                     Separator,
                     Literal,
                     {.Name = "batch",
                      .Help = "evaluates lines LETTERS<TAB>FORMULA<TAB>NAME=VALUE;...",
                      .Input = "LINES"}},
         .Run = RunEval},
        {.Name = "sample",
         .Description = "prints a document's view and the sampled points of every graph",
         .Positionals = {{.Name = "DOC"}},
         .Options = {SettingsFile, Separator, Literal},
         .Run = RunSample},
        {.Name = "render",
         .Description = "draws a document as the view shows it into a BMP or PNG picture",
         .Positionals = {{.Name = "DOC"}},
         .Options = {SettingsFile,
                     {.Name = "size",
                      .ValueName = "WxH",
                      .Help = "picture size in pixels (default 800x600)"},
                     {.Name = "autoscale", .Help = "scales the view to fit the graphs first"},
                     Separator,
                     Literal,
                     {.Name = "output",
                      .Short = 'o',
                      .ValueName = "OUT",
                      .Help = "picture to write: PNG when it ends in .png, else BMP",
                      .Required = true}},
         .Run = RunRender},
    };
    return verbs;
}

} // namespace

std::span<const TVerb> Verbs() {
    return Table();
}

const TVerb* FindVerb(std::string_view name) {
    for (const TVerb& verb : Table()) {
        if (verb.Name == name)
            return &verb;
    }
    return nullptr;
}

} // namespace kurvant::cli

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
const TOption Group{.Name = "group",
                    .ValueName = "TEXT",
                    .Help = "digit group separator, '' for none (default: the locale's)"};
const TOption Letter{.Name = "var", .ValueName = "L", .Help = "the variable's letter (default x)"};
const TOption Timeout{.Name = "timeout",
                      .ValueName = "SECONDS",
                      .Help = "stops the study after this many seconds (default 60)"};
constexpr std::string_view StudyNotes =
    "exit status: 0 every result found; 1 a refused input, or out of time with nothing found;\n"
    "3 what was found is printed, and a line on stderr says what is missing (more than 10000\n"
    "results, a place where the function changes too often, the time ran out, an integral\n"
    "short of its precision).\n";
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
         .Description =
             "draws a document as the view shows it into a BMP, PNG, SVG, PDF or EPS picture",
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
                      .Help = "picture to write, by its ending: .png, .svg, .pdf, .eps; else BMP",
                      .Required = true}},
         .Run = RunRender},
        {.Name = "tabulate",
         .Description =
             "prints the tabulation file of a formula over MIN..MAX by STEP, or at a point",
         .Positionals = {{.Name = "FORMULA", .Kind = Formula},
                         {.Name = "MIN MAX STEP", .Min = 0, .Max = 3, .Kind = Number}},
         .Options = {Separator,
                     {.Name = "group",
                      .ValueName = "TEXT",
                      .Help = "digit group separator, '' for none (default: the locale's)"},
                     {.Name = "var", .ValueName = "L", .Help = "the variable's letter (default x)"},
                     {.Name = "point",
                      .ValueName = "P",
                      .Help = "the value at the point P instead of MIN MAX STEP"}},
         .Run = RunTabulate},
        {.Name = "tangent",
         .Description = "prints the formula of the tangent or normal of a graph at X0",
         .Positionals = {{.Name = "FORMULA", .Kind = Formula}, {.Name = "X0", .Kind = Number}},
         .Options = {Separator,
                     {.Name = "normal", .Help = "the normal instead of the tangent"},
                     {.Name = "kind",
                      .ValueName = "0|1",
                      .Help = "the graph's kind: 0 Y(X) (default), 1 X(Y)"}},
         .Run = RunTangent},
        {.Name = "zeros",
         .Description = "prints the zeros of a formula on [A, B] as the study dialog finds them",
         .Positionals = {{.Name = "FORMULA", .Kind = Formula},
                         {.Name = "A", .Kind = Number},
                         {.Name = "B", .Kind = Number}},
         .Options = {Separator, Group, Letter, Timeout},
         .Run = RunZeros,
         .Notes = StudyNotes},
        {.Name = "extrema",
         .Description = "prints the interior minima and maxima of a formula on [A, B]",
         .Positionals = {{.Name = "FORMULA", .Kind = Formula},
                         {.Name = "A", .Kind = Number},
                         {.Name = "B", .Kind = Number}},
         .Options = {Separator, Group, Letter, Timeout},
         .Run = RunExtrema,
         .Notes = StudyNotes},
        {.Name = "intersect",
         .Description = "prints the points of [A, B] where two formulas meet",
         .Positionals = {{.Name = "FORMULA", .Kind = Formula},
                         {.Name = "FORMULA2", .Kind = Formula},
                         {.Name = "A", .Kind = Number},
                         {.Name = "B", .Kind = Number}},
         .Options = {Separator, Group, Letter, Timeout},
         .Run = RunIntersect,
         .Notes = StudyNotes},
        {.Name = "area",
         .Description = "prints the integral of a formula over [A, B], the area and the error",
         .Positionals = {{.Name = "FORMULA", .Kind = Formula},
                         {.Name = "A", .Kind = Number},
                         {.Name = "B", .Kind = Number}},
         .Options = {Separator, Group, Letter, Timeout},
         .Run = RunArea,
         .Notes = StudyNotes},
        {.Name = "stats",
         .Description = "prints the statistics of a table text file as the table dialog shows them",
         .Positionals = {{.Name = "TABLE.txt"}},
         .Options = {Separator,
                     {.Name = "group",
                      .ValueName = "TEXT",
                      .Help = "digit-group separator (default: the locale's; '' for none)"}},
         .Run = RunStats},
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

#include "analysis/tabulation.h"

#include "documents/code_page.h"
#include "documents/number_line.h"
#include "formula/evaluate.h"
#include "formula/prepare.h"
#include "graphs/document.h"
#include "graphs/number_checks.h"

#include <algorithm>
#include <cmath>

namespace kurvant {

namespace {

constexpr double MaxAbsoluteValue = 100000;
constexpr double MinStep = 1e-10;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::string LowerLatin(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

TTabulation& Refuse(TTabulation& t, TTabulationField field, bool warning, std::string_view text) {
    t.Failed = field;
    t.Message = TTabulationMessage{warning, std::string(text)};
    return t;
}

// A typed number as the engine writes it, taken exactly: the decimals the user typed (up to the
// fifteen significant digits that a double keeps).
TExactDecimal Exact(double value) {
    return TExactDecimal::Parse(FloatText(value, '.'), '.').value_or(TExactDecimal());
}

// The formula prepared for the one letter, on a copy of the context: the graph dialog's notice
// reads the context's record of the last preparation, which this must not touch.
bool Prepare(const std::string& formula, char letter, const TFormulaContext& context,
             std::string& prepared) {
    TFormulaContext own = context;
    prepared = formula;
    return PrepareFormula(prepared, std::string(1, letter), own);
}

EvalResult EvaluateAt(const std::string& prepared, char letter, long double x,
                      const TFormulaContext& context, long double& value) {
    return EvaluateFormula(SubstituteVariable(prepared, letter, x, context), value, context);
}

TTabulation& TabulateInterval(TTabulation& t, const TTabulationRequest& request,
                              std::string_view group, const TFormulaContext& context, char letter,
                              double min) {
    const char separator = context.DecimalSeparator;
    std::string message;
    double max = 0;
    if (!ReadFloatField(TabulationMaxLabel, request.Max, "", -MaxAbsoluteValue, MaxAbsoluteValue,
                        max, separator, message)) {
        return Refuse(t, TTabulationField::Max, false, message);
    }
    const TExactDecimal first = Exact(min);
    const TExactDecimal last = Exact(max);
    if (!(last > first)) {
        return Refuse(t, TTabulationField::Max, false, MaxNotAboveMinMessage);
    }
    double step = 0;
    if (!ReadFloatField(TabulationStepLabel, request.Step, "", MinStep, MaxAbsoluteValue, step,
                        separator, message)) {
        return Refuse(t, TTabulationField::Step, false, message);
    }
    const TExactDecimal increment = Exact(step);
    // (max - min) / step > 5000, on the typed decimals.
    if (last - first > increment.Times(MaxTabulationSteps)) {
        return Refuse(t, TTabulationField::Step, true, TooManyStepsMessage);
    }
    const int decimals = std::max(increment.Decimals(), first.Decimals());
    std::string prepared;
    if (!Prepare(t.Formula, letter, context, prepared)) {
        return Refuse(t, TTabulationField::Formula, false, BadFormulaMessage);
    }
    long double value = 0;
    if (EvaluateAt(prepared, letter, 1, context, value) == EvalSyntaxError) {
        return Refuse(t, TTabulationField::Formula, false, SyntaxErrorMessage);
    }
    t.Written = true;
    t.Header = TabulationHeader(letter);
    for (const TExactDecimal& x : IntervalValues(first, last, increment)) {
        const bool ok = EvaluateAt(prepared, letter, x.Value(), context, value) == EvalOk;
        t.Rows.push_back(
            {x.Fixed(decimals, separator, group),
             ok ? FunctionValueText(value, separator, group) : std::string(NotExistsText)});
    }
    return t;
}

TTabulation& TabulatePoint(TTabulation& t, std::string_view group, const TFormulaContext& context,
                           char letter, double point) {
    const char separator = context.DecimalSeparator;
    t.Written = true;
    t.Header = TabulationHeader(letter);
    const TExactDecimal x = Exact(point);
    std::string prepared;
    if (!Prepare(t.Formula, letter, context, prepared)) {
        return Refuse(t, TTabulationField::Formula, false, BadFormulaMessage);
    }
    long double value = 0;
    switch (EvaluateAt(prepared, letter, x.Value(), context, value)) {
    case EvalOk:
        t.Rows.push_back(
            {x.Fixed(x.Decimals(), separator, group), FunctionValueText(value, separator, group)});
        break;
    case EvalSyntaxError:
        // The header alone: an old row under it would read as this formula's value.
        return Refuse(t, TTabulationField::Formula, false, SyntaxErrorMessage);
    case EvalMathError:
        t.Rows.push_back({x.Fixed(x.Decimals(), separator, group), std::string(NotExistsText)});
        break;
    }
    return t;
}

} // namespace

TTabulation Tabulate(const TTabulationRequest& request, std::string_view group,
                     const TFormulaContext& context) {
    TTabulation t;
    t.Formula = Trimmed(request.Formula);
    t.Variable = Trimmed(LowerLatin(request.Variable));
    if (t.Formula.empty()) {
        return Refuse(t, TTabulationField::Formula, true, EmptyFormulaMessage);
    }
    if (t.Variable.empty()) {
        return Refuse(t, TTabulationField::Variable, true, EmptyVariableMessage);
    }
    const char letter = t.Variable.front();
    if (letter < 'a' || letter > 'z') {
        return Refuse(t, TTabulationField::Variable, true, NotLatinMessage);
    }
    double min = 0;
    std::string message;
    const std::string_view minLabel = request.PointMode ? TabulationPointLabel : TabulationMinLabel;
    if (!ReadFloatField(minLabel, request.Min, "", -MaxAbsoluteValue, MaxAbsoluteValue, min,
                        context.DecimalSeparator, message)) {
        return Refuse(t, TTabulationField::Min, false, message);
    }
    if (request.PointMode) {
        return TabulatePoint(t, group, context, letter, min);
    }
    return TabulateInterval(t, request, group, context, letter, min);
}

TTabulationRow TabulationHeader(char letter) {
    return {std::string(1, letter), "f(" + std::string(1, letter) + ")"};
}

int TypedDecimals(double value) {
    return Exact(value).Decimals();
}

std::vector<TExactDecimal> IntervalValues(const TExactDecimal& min, const TExactDecimal& max,
                                          const TExactDecimal& step) {
    std::vector<TExactDecimal> values;
    if (step <= TExactDecimal()) {
        return values;
    }
    // Bounds and a step typed as expressions (0, 2pi, pi/2) are their values rounded to fifteen
    // digits, and the row that should end the interval may land a hair beyond its end. A row is
    // allowed half a unit of the fifteenth digit of each number it is made of, and a row beyond
    // the end within that is the end itself. Typed decimals are never so close without being
    // equal, so their rows are as before.
    const long double bounds = std::fabs(min.Value()) + std::fabs(max.Value());
    const long double perRow = std::fabs(step.Value());
    unsigned row = 0;
    for (TExactDecimal x = min;; x = x + step, ++row) {
        if (x <= max) {
            values.push_back(x);
            continue;
        }
        const std::optional<TExactDecimal> margin =
            TExactDecimal::OfEngineValue(5e-15L * (bounds + perRow * row));
        if (margin && x <= max + *margin)
            values.push_back(max);
        break;
    }
    return values;
}

std::string FunctionValueText(long double value, char separator, std::string_view group) {
    const std::optional<TExactDecimal> exact = TExactDecimal::OfEngineValue(value);
    return exact ? exact->Fixed(ValueDecimals, separator, group) : std::string(NotExistsText);
}

std::vector<std::string> TabulationFileLines(std::string_view formula,
                                             const std::vector<TTabulationRow>& grid) {
    std::vector<std::string> lines;
    lines.reserve(grid.size() + 2);
    std::string first = grid.empty() ? std::string() : grid.front().Value;
    first += " = ";
    first += formula;
    lines.push_back(std::move(first));
    lines.emplace_back();
    // A file has one code page, that of every file the program writes (`EncodeTextLines`), as
    // long as each of its characters has a place there. The locale's digit-group separator may
    // have none (U+202F of the Russian locale), and it is the only character of the rows that may
    // lack one: the code page's no-break space stands in for it.
    const auto inFile = [](const std::string& text) {
        return WithCp1251Characters(text, FileGroupSeparator);
    };
    for (const TTabulationRow& row : grid) {
        lines.push_back(inFile(row.Variable) + "\t\t" + inFile(row.Value));
    }
    return lines;
}

std::vector<std::string> TabulationFormulas(const TDocument& document) {
    std::vector<std::string> formulas;
    for (int i = 0; i < document.GraphCount(); ++i) {
        const TGraphic& g = document.Graph(i);
        if (g.Kind <= KindParametric) {
            formulas.push_back(g.Formula);
        }
        if (g.Kind == KindParametric) {
            formulas.push_back(g.Formula2);
        }
    }
    return formulas;
}

} // namespace kurvant

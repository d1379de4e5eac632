// The function study as the dialog and the command line ask for it: the checks with their
// messages, the formulas turned into functions of the engine, the result grid and the marks.

#include "analysis/function_study.h"

#include "analysis/exact_decimal.h"
#include "analysis/tabulation.h"
#include "analysis/tangent.h"
#include "formula/batch_evaluation.h"
#include "formula/compiled_formula.h"
#include "formula/prepare.h"
#include "graphs/document.h"
#include "graphs/graph_input.h"
#include "graphs/number_checks.h"
#include "settings/color_names.h"
#include "settings/settings.h"
#include "tables/table_graph.h"

#include <cmath>

namespace kurvant {

namespace {

constexpr std::string_view NoZerosMessage = "На отрезке нулей не найдено";
constexpr std::string_view NoExtremaMessage = "На отрезке экстремумов не найдено";
constexpr std::string_view NoIntersectionsMessage = "На отрезке пересечений не найдено";
// The marks are points 6 pixels across, larger than any the point box offers (5 at most), so
// that they stand out on the curve they mark in the default view. The box's largest item stands
// for them when the graph is edited.
constexpr double MarkPointSize = 6;
constexpr int MarkPointIndex = 6;

class TFormulaFunction : public TStudyFunction {
public:
    TFormulaFunction(std::string_view prepared, char letter, const TFormulaContext& context)
        : Compiled(prepared, std::string(1, letter), context), Evaluator(context.Evaluator) {}

    [[nodiscard]] std::optional<long double> At(long double x) const override {
        long double value = 0;
        if (Compiled.Evaluate(std::span<const long double>(&x, 1), value, Evaluator) != EvalOk ||
            !std::isfinite(value)) {
            return std::nullopt;
        }
        return value;
    }

    void AtMany(std::span<const long double> xs,
                std::vector<std::optional<long double>>& out) const override {
        std::vector<TSample> samples(xs.size());
        EvaluateLine(Compiled, xs, samples, Evaluator);
        out.resize(xs.size());
        for (std::size_t i = 0; i < xs.size(); ++i) {
            const bool ok = samples[i].Ok && std::isfinite(samples[i].Value);
            out[i] = ok ? std::optional<long double>(samples[i].Value) : std::nullopt;
        }
    }

private:
    TCompiledFormula Compiled;
    TEvaluator Evaluator;
};

// f - g where both have a value.
class TDifference : public TStudyFunction {
public:
    TDifference(const TStudyFunction& f, const TStudyFunction& g) : F(f), G(g) {}
    [[nodiscard]] std::optional<long double> At(long double x) const override {
        const std::optional<long double> f = F.At(x);
        const std::optional<long double> g = G.At(x);
        return f && g ? std::optional<long double>(*f - *g) : std::nullopt;
    }
    void AtMany(std::span<const long double> xs,
                std::vector<std::optional<long double>>& out) const override {
        std::vector<std::optional<long double>> g;
        F.AtMany(xs, out);
        G.AtMany(xs, g);
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] = out[i] && g[i] ? std::optional<long double>(*out[i] - *g[i]) : std::nullopt;
        }
    }

private:
    const TStudyFunction& F;
    const TStudyFunction& G;
};

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string_view::npos ? std::string()
                                           : std::string(text.substr(first, last - first + 1));
}

TStudy& Refuse(TStudy& t, TStudyField field, std::string_view text, bool information = false) {
    t.Failed = field;
    t.Message = TStudyMessage{information, std::string(text)};
    return t;
}

// A result as the tabulation writes a value: ten decimals, grouped; a value that rounds to zero is
// written without a minus, which would only be the noise of the refinement.
std::string Number(long double value, char separator, std::string_view group) {
    if (std::fabs(value) < 5e-11L) {
        value = 0;
    }
    return FunctionValueText(value, separator, group);
}

struct TPrepared {
    std::unique_ptr<TStudyFunction> Function;
    char Letter = 'x';
};

// The formula ready to evaluate, or the message that refuses it.
std::optional<std::string_view> PrepareStudyFormula(const TStudyFormula& formula, char typedLetter,
                                                    const TFormulaContext& context,
                                                    TPrepared& prepared) {
    prepared.Letter = formula.Variable != 0 ? formula.Variable : typedLetter;
    std::string text = formula.Prepared;
    if (text.empty()) {
        // On a copy of the context: the graph dialog's notice reads the last preparation.
        TFormulaContext own = context;
        text = formula.Formula;
        if (!PrepareFormula(text, std::string(1, prepared.Letter), own)) {
            return BadFormulaMessage;
        }
    }
    const TCompiledFormula probe(text, std::string(1, prepared.Letter), context);
    long double value = 0;
    const long double one = 1;
    if (probe.Evaluate(std::span<const long double>(&one, 1), value, TEvaluator::Text) ==
        EvalSyntaxError) {
        return SyntaxErrorMessage;
    }
    prepared.Function = FormulaFunction(text, prepared.Letter, context);
    return std::nullopt;
}

bool NeedsTypedLetter(const TStudyRequest& request) {
    return request.First.Variable == 0 ||
           (request.Kind == TStudyKind::Intersections && request.Second.Variable == 0);
}

} // namespace

std::unique_ptr<TStudyFunction> FormulaFunction(std::string_view prepared, char letter,
                                                const TFormulaContext& context) {
    return std::make_unique<TFormulaFunction>(prepared, letter, context);
}

TStudy Study(const TStudyRequest& request, std::string_view group, const TFormulaContext& context) {
    TStudy t;
    const char separator = context.DecimalSeparator;
    const bool intersections = request.Kind == TStudyKind::Intersections;
    if (Trimmed(request.First.Formula).empty()) {
        return Refuse(t, TStudyField::Formula, NoFunctionMessage);
    }
    if (intersections && Trimmed(request.Second.Formula).empty()) {
        return Refuse(t, TStudyField::Formula2, NoFunctionMessage);
    }
    char letter = 'x';
    if (NeedsTypedLetter(request)) {
        std::string variable = Trimmed(request.Variable);
        if (variable.empty()) {
            return Refuse(t, TStudyField::Variable, EmptyVariableMessage);
        }
        letter = static_cast<char>(std::tolower(static_cast<unsigned char>(variable.front())));
        if (letter < 'a' || letter > 'z') {
            return Refuse(t, TStudyField::Variable, NotLatinMessage);
        }
    }
    double a = 0;
    double b = 0;
    std::string message;
    if (!ReadFloatField(StudyMinLabel, request.Min, "", -MaxStudyEnd, MaxStudyEnd, a, separator,
                        message)) {
        return Refuse(t, TStudyField::Min, message);
    }
    if (!ReadFloatField(StudyMaxLabel, request.Max, "", -MaxStudyEnd, MaxStudyEnd, b, separator,
                        message)) {
        return Refuse(t, TStudyField::Max, message);
    }
    if (!(b > a)) {
        return Refuse(t, TStudyField::Max, MaxNotAboveMinMessage);
    }
    if (static_cast<long double>(b) - a > MaxStudyLength) {
        return Refuse(t, TStudyField::Max, IntervalTooLongMessage);
    }
    TPrepared first;
    if (const auto refused = PrepareStudyFormula(request.First, letter, context, first)) {
        return Refuse(t, TStudyField::Formula, *refused);
    }
    TPrepared second;
    if (intersections) {
        if (const auto refused = PrepareStudyFormula(request.Second, letter, context, second)) {
            return Refuse(t, TStudyField::Formula2, *refused);
        }
    }
    t.Variable = first.Letter;
    const std::string x(1, first.Letter);
    const std::string fx = "f(" + x + ")";
    const auto number = [&](long double v) { return Number(v, separator, group); };
    std::vector<long double> samples = request.First.Samples;
    switch (request.Kind) {
    case TStudyKind::Zeros:
        t.Header = {x};
        for (long double z : FindZeros(*first.Function, a, b, samples)) {
            t.Rows.push_back({number(z)});
            t.Points.push_back({static_cast<double>(z), 0, 0});
        }
        if (t.Rows.empty()) {
            Refuse(t, TStudyField::None, NoZerosMessage, true);
        }
        break;
    case TStudyKind::Extrema:
        t.Header = {x, fx, "вид"};
        for (const TExtremum& e : FindExtrema(*first.Function, a, b, samples)) {
            t.Rows.push_back({number(e.X), number(e.Y), e.Maximum ? "максимум" : "минимум"});
            t.Points.push_back({static_cast<double>(e.X), static_cast<double>(e.Y), 0});
        }
        if (t.Rows.empty()) {
            Refuse(t, TStudyField::None, NoExtremaMessage, true);
        }
        break;
    case TStudyKind::Intersections: {
        t.Header = {x, fx};
        samples.insert(samples.end(), request.Second.Samples.begin(), request.Second.Samples.end());
        const TDifference difference(*first.Function, *second.Function);
        for (long double z : FindZeros(difference, a, b, samples)) {
            const std::optional<long double> y = first.Function->At(z);
            if (!y) {
                continue;
            }
            t.Rows.push_back({number(z), number(*y)});
            t.Points.push_back({static_cast<double>(z), static_cast<double>(*y), 0});
        }
        if (t.Rows.empty()) {
            Refuse(t, TStudyField::None, NoIntersectionsMessage, true);
        }
        break;
    }
    case TStudyKind::Area: {
        const TArea area = Integrate(*first.Function, a, b, samples);
        if (area.Outcome == TAreaOutcome::Undefined) {
            return Refuse(t, TStudyField::None, UndefinedOnIntervalMessage);
        }
        if (area.Outcome == TAreaOutcome::Divergent) {
            return Refuse(t, TStudyField::None, DivergentIntegralMessage);
        }
        if (area.Outcome == TAreaOutcome::Inaccurate) {
            return Refuse(t, TStudyField::None, InaccurateIntegralMessage);
        }
        t.Header = {"интеграл", "площадь", "погрешность"};
        t.Rows.push_back({number(area.Integral), number(area.Absolute),
                          FunctionValueText(area.Error, separator, group)});
        break;
    }
    }
    return t;
}

TStudyFormula StudyFormulaOf(const TDocument& document, std::string_view text) {
    TStudyFormula formula;
    formula.Formula = Trimmed(text);
    const int index = TangentGraphIndex(document, formula.Formula);
    if (index < 0) {
        return formula;
    }
    const TGraphic& g = document.Graph(index);
    formula.Formula = g.Formula;
    formula.Prepared = g.FormulaPrepared;
    formula.Variable = g.Variable;
    const bool ofY = g.Kind == KindXofY;
    const double lo = ofY ? g.MinY : g.MinX;
    const double hi = ofY ? g.MaxY : g.MaxX;
    const int steps = ofY ? g.StepsY : g.StepsX;
    for (int i = 0; i <= steps && steps > 0; ++i) {
        formula.Samples.push_back(lo + (static_cast<long double>(hi) - lo) * i / steps);
    }
    return formula;
}

std::optional<std::pair<double, double>> StudyIntervalOf(const TDocument& document,
                                                         std::string_view text) {
    const int index = TangentGraphIndex(document, Trimmed(text));
    if (index < 0) {
        return std::nullopt;
    }
    const TGraphic& g = document.Graph(index);
    return g.Kind == KindXofY ? std::pair(g.MinY, g.MaxY) : std::pair(g.MinX, g.MaxX);
}

int AddStudyMarks(TDocument& document, TSettings& settings, const std::vector<TPoint3D>& points,
                  bool swapAxes, const std::string& caption) {
    if (points.empty() || !document.CanAdd()) {
        return -1;
    }
    std::vector<TPoint3D> marks = points;
    if (swapAxes) {
        for (TPoint3D& p : marks) {
            std::swap(p.x, p.y);
        }
    }
    // The colour the graph dialogs would propose, from the colour box's items (its custom entry
    // first, then the named colours): one that no graph of the document has.
    std::vector<TColor> items{clBlack};
    for (const TColorName& name : ColorNames) {
        items.push_back(name.Value);
    }
    std::int32_t counter = document.ColorCounter;
    const int item = FreeColorItem(counter, items, static_cast<TColor>(settings.BackGround),
                                   document.GraphColors());
    document.ColorCounter = counter;
    TTableStyle style;
    style.Color = items[static_cast<std::size_t>(item)];
    style.Lines = false;
    style.Points = true;
    style.PointIndex = MarkPointIndex;
    TGraphic graphic;
    StoreTableGraph(marks, style, graphic);
    graphic.PointSize = MarkPointSize;
    // One step of the history, as any graph added; undo and redo keep the caption.
    return document.AddStep(std::move(graphic), settings, "отметка точек на графике", caption);
}

std::string StudyMarksCaption(TStudyKind kind, std::string_view formula,
                              std::string_view formula2) {
    switch (kind) {
    case TStudyKind::Zeros:
        return "Нули: " + std::string(formula);
    case TStudyKind::Extrema:
        return "Экстремумы: " + std::string(formula);
    case TStudyKind::Intersections:
        return "Пересечения: " + std::string(formula) + " и " + std::string(formula2);
    case TStudyKind::Area:
        break;
    }
    return "Площадь: " + std::string(formula);
}

} // namespace kurvant

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

#include <algorithm>
#include <cmath>

namespace kurvant {

namespace {

constexpr std::string_view NoZerosMessage = "На отрезке нулей не найдено";
constexpr std::string_view NoExtremaMessage = "На отрезке экстремумов не найдено";
constexpr std::string_view NoIntersectionsMessage = "На отрезке пересечений не найдено";
constexpr std::string_view StudyTimeNote = "Время исследования истекло";
constexpr std::string_view StudyCancelledNote = "Исследование прервано";
// The most decimals a result is written with.
constexpr int StudyDecimals = 10;
// The marks are points 6 pixels across, larger than any the point box offers (5 at most), so
// that they stand out on the curve they mark in the default view. The box's largest item stands
// for them when the graph is edited.
constexpr double MarkPointSize = 6;
constexpr int MarkPointIndex = 6;

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

// The interval's ends: numbers in range, in order, not too far apart. The field to blame, or
// `None`.
TStudyField ReadInterval(const TStudyRequest& request, char separator, double& a, double& b,
                         std::string& message) {
    if (!ReadFloatField(StudyMinLabel, request.Min, "", -MaxStudyEnd, MaxStudyEnd, a, separator,
                        message)) {
        return TStudyField::Min;
    }
    if (!ReadFloatField(StudyMaxLabel, request.Max, "", -MaxStudyEnd, MaxStudyEnd, b, separator,
                        message)) {
        return TStudyField::Max;
    }
    if (!(b > a)) {
        message = std::string(MaxNotAboveMinMessage);
        return TStudyField::Max;
    }
    if (static_cast<long double>(b) - a > MaxStudyLength) {
        message = std::string(IntervalTooLongMessage);
        return TStudyField::Max;
    }
    return TStudyField::None;
}

// What keeps the answer from being whole, in a line or two; empty when it is whole.
std::string GapsNote(const TStudyGaps& gaps, char letter, long double length, char separator,
                     std::string_view group) {
    // A place is told to the part of 10^9 of the interval the scan resolves at most.
    const auto place = [&](long double x) {
        return std::string(1, letter) + " = " +
               StudyNumberText(x, 1e-9L * length, separator, group);
    };
    std::string note;
    const auto add = [&note](const std::string& line) {
        if (!note.empty()) {
            note += "\n\r";
        }
        note += line;
    };
    if (gaps.TooMany) {
        const std::string cap = "10" + std::string(group) + "000";
        add("Найдено больше " + cap + " точек: показаны первые " + cap);
    }
    if (gaps.StoppedAt) {
        add(std::string(gaps.Cancelled ? StudyCancelledNote : StudyTimeNote) +
            ": отрезок пройден до " + place(*gaps.StoppedAt));
    }
    if (gaps.Unresolved) {
        add("Около " + place(*gaps.Unresolved) +
            " функция меняется слишком часто: там могут быть и другие точки");
    }
    return note;
}

bool NeedsTypedLetter(const TStudyRequest& request) {
    return request.First.Variable == 0 ||
           (request.Kind == TStudyKind::Intersections && request.Second.Variable == 0);
}

} // namespace

TStudy Study(const TStudyRequest& request, std::string_view group, const TFormulaContext& context,
             const TStudyLimits& limits) {
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
    if (const TStudyField field = ReadInterval(request, separator, a, b, message);
        field != TStudyField::None) {
        return Refuse(t, field, message);
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
    const auto number = [&](long double v, long double width) {
        return StudyNumberText(v, width, separator, group);
    };
    std::vector<long double> samples = request.First.Samples;
    TStudyGaps gaps;
    switch (request.Kind) {
    case TStudyKind::Zeros: {
        t.Header = {x};
        const TZeros zeros = FindZeros(*first.Function, a, b, samples, limits);
        for (const TZero& z : zeros.Points) {
            t.Rows.push_back({number(z.X, z.Width)});
            t.Points.push_back({static_cast<double>(z.X), 0, 0});
        }
        gaps = zeros.Gaps;
        if (t.Rows.empty() && !gaps.StoppedAt) {
            Refuse(t, TStudyField::None, NoZerosMessage, true);
        }
        break;
    }
    case TStudyKind::Extrema: {
        t.Header = {x, fx, "вид"};
        const TExtrema extrema = FindExtrema(*first.Function, a, b, samples, limits);
        for (const TExtremum& e : extrema.Points) {
            t.Rows.push_back(
                {number(e.X, e.Width), number(e.Y, 0), e.Maximum ? "максимум" : "минимум"});
            t.Points.push_back({static_cast<double>(e.X), static_cast<double>(e.Y), 0});
        }
        gaps = extrema.Gaps;
        if (t.Rows.empty() && !gaps.StoppedAt) {
            Refuse(t, TStudyField::None, NoExtremaMessage, true);
        }
        break;
    }
    case TStudyKind::Intersections: {
        t.Header = {x, fx};
        samples.insert(samples.end(), request.Second.Samples.begin(), request.Second.Samples.end());
        const TDifference difference(*first.Function, *second.Function);
        const TZeros zeros = FindZeros(difference, a, b, samples, limits);
        for (const TZero& z : zeros.Points) {
            const std::optional<long double> y = first.Function->At(z.X);
            if (!y) {
                continue;
            }
            // The common value is as uncertain as the place, times the slope.
            const std::optional<long double> left = first.Function->At(z.X - z.Width);
            const std::optional<long double> right = first.Function->At(z.X + z.Width);
            const long double spread =
                left && right ? std::max(std::fabs(*left - *y), std::fabs(*right - *y)) : 0;
            t.Rows.push_back({number(z.X, z.Width), number(*y, spread)});
            t.Points.push_back({static_cast<double>(z.X), static_cast<double>(*y), 0});
        }
        gaps = zeros.Gaps;
        if (t.Rows.empty() && !gaps.StoppedAt) {
            Refuse(t, TStudyField::None, NoIntersectionsMessage, true);
        }
        break;
    }
    case TStudyKind::Area: {
        const TArea area = Integrate(*first.Function, a, b, samples, limits);
        switch (area.Outcome) {
        case TAreaOutcome::Undefined:
            return Refuse(t, TStudyField::None, UndefinedOnIntervalMessage);
        case TAreaOutcome::Divergent:
            return Refuse(t, TStudyField::None, DivergentIntegralMessage);
        case TAreaOutcome::Stopped:
            t.Stopped = true;
            t.Cancelled = area.Cancelled;
            t.Note = std::string(area.Cancelled ? StudyCancelledNote : StudyTimeNote);
            return t;
        case TAreaOutcome::Ok:
        case TAreaOutcome::Inaccurate:
            break;
        }
        t.Header = {"интеграл", "площадь", "погрешность"};
        t.Rows.push_back({number(area.Integral, area.Error), number(area.Absolute, area.Error),
                          FunctionValueText(area.Error, separator, group)});
        if (area.Outcome == TAreaOutcome::Inaccurate) {
            t.Note = std::string(InaccurateIntegralMessage) + ":\n\rоценка " +
                     number(area.Integral, area.Error) + ", погрешность до " +
                     FunctionValueText(area.Error, separator, group);
        }
        return t;
    }
    }
    t.Note = GapsNote(gaps, first.Letter, b - a, separator, group);
    t.Stopped = gaps.StoppedAt.has_value();
    t.Cancelled = gaps.Cancelled;
    return t;
}

std::uint64_t StudyScanSize(const TStudyRequest& request, const TFormulaContext& context) {
    double a = 0;
    double b = 0;
    std::string message;
    if (ReadInterval(request, context.DecimalSeparator, a, b, message) != TStudyField::None) {
        return 0;
    }
    return ScanIntervals(a, b);
}

std::string StudyNumberText(long double value, long double width, char separator,
                            std::string_view group) {
    int decimals = StudyDecimals;
    if (width > 0 && std::isfinite(width)) {
        const long double fit = std::floor(-std::log10(2 * width));
        decimals = static_cast<int>(std::clamp(fit, 0.0L, static_cast<long double>(decimals)));
    }
    if (value != 0 && std::isfinite(value)) {
        const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
        decimals = std::clamp(14 - exponent, 0, decimals);
    }
    // The noise of the refinement is no sign.
    if (std::fabs(value) < 0.5L * std::pow(10.0L, -decimals)) {
        value = 0;
    }
    const std::optional<TExactDecimal> exact = TExactDecimal::OfEngineValue(value);
    return exact ? exact->Fixed(decimals, separator, group) : std::string(NotExistsText);
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

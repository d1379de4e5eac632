#include "graphs/graph_input.h"

#include "formula/evaluate.h"
#include "formula/prepare.h"
#include "graphs/number_checks.h"

#include <algorithm>

namespace {

const std::string ErrorCaption = "Ошибка";

void Fail(TGraphCheck& check, TGraphField field, std::string text) {
    check.Ok = false;
    check.Failed = field;
    check.Messages.push_back({true, ErrorCaption, std::move(text)});
}

std::string Quoted(std::string_view s) {
    std::string q;
    q.reserve(s.size() + 2);
    q += '"';
    q += s;
    q += '"';
    return q;
}

// One interval: both ends within -1000..1000 and the upper above the lower. A refusal names the
// end by its label.
bool CheckInterval(TGraphCheck& check, const std::string& minText, const std::string& maxText,
                   std::string_view minCaption, std::string_view maxCaption,
                   std::string_view suffix, TGraphField minField, TGraphField maxField, char sep,
                   double& minValue, double& maxValue) {
    std::string message;
    if (!ReadFloatField(minCaption, minText, suffix, -1000, 1000, minValue, sep, message)) {
        Fail(check, minField, message);
        return false;
    }
    if (!ReadFloatField(maxCaption, maxText, suffix, -1000, 1000, maxValue, sep, message)) {
        Fail(check, maxField, message);
        return false;
    }
    if (!(maxValue > minValue)) {
        Fail(check, maxField,
             Quoted(maxCaption) + " должен быть\n\rбольше " + Quoted(minCaption) + "!");
        return false;
    }
    return true;
}

bool CheckSteps(TGraphCheck& check, std::string_view caption, const std::string& text,
                std::int32_t maximum, TGraphField field, char sep, std::int32_t& value) {
    std::string message;
    if (!ReadIntField(caption, text, 1, maximum, value, sep, message)) {
        Fail(check, field, message);
        return false;
    }
    return true;
}

// Prepares `text` and evaluates it with every letter of `letters` set to `at`. A math error
// (a formula not defined at that point) passes; an empty or malformed formula fails.
bool CheckFormula(TGraphCheck& check, const std::string& text, std::string_view letters,
                  long double at, TGraphField field, kurvant::TFormulaContext& context,
                  std::string& prepared) {
    prepared = text;
    if (!kurvant::PrepareFormula(prepared, letters, context)) {
        Fail(check, field, "Неправильное выражение!");
        return false;
    }
    std::string substituted = prepared;
    for (char letter : letters)
        substituted = kurvant::SubstituteVariable(substituted, letter, at, context);
    long double value = 0;
    if (kurvant::EvaluateFormula(substituted, value, context) == kurvant::EvalSyntaxError) {
        Fail(check, field, "Ошибка в выражении!");
        return false;
    }
    return true;
}

void Notice(TGraphCheck& check, bool asteriks, std::string_view label,
            const kurvant::TFormulaContext& context) {
    if (asteriks && context.FormulaRewritten)
        check.Messages.push_back({false, "Преобразование",
                                  "Ваше выражение " + std::string(label) +
                                      " будет преобразовано в следующее:\n\r" +
                                      context.RewrittenFormula});
}

} // namespace

TKindCaptions KindCaptions(int kind) {
    TKindCaptions c;
    switch (kind) {
    case KindXofY:
        c.LbMin = "Минимум Y";
        c.LbMax = "Максимум Y";
        c.LbNumberStep = "Количество шагов по Y";
        c.LbFunction = "X(Y)";
        break;
    case KindPolar:
        c.LbMin = "Минимум угла q";
        c.LbMax = "Максимум угла q";
        c.LbNumberStep = "Количество шагов по q";
        c.LbFunction = "r(q)";
        c.PiFirst = true;
        break;
    case KindParametric:
        c.LbMin = "Минимум U";
        c.LbMax = "Максимум U";
        c.LbNumberStep = "Количество шагов по U";
        c.LbFunction = "X(U)";
        c.SecondFormula = true;
        break;
    case KindSurface:
        c.LbMin = "Минимум X";
        c.LbMax = "Максимум X";
        c.LbNumberStep = "Количество шагов по X";
        c.LbFunction = "Z(X, Y)";
        c.LbMinY = "Минимум Y";
        c.LbMaxY = "Максимум Y";
        c.LbNumberStepY = "Количество шагов по Y";
        break;
    case KindSpherical:
        c.LbMin = "Минимум угла q";
        c.LbMax = "Максимум угла q";
        c.LbNumberStep = "Количество шагов по q";
        c.LbFunction = "p(q, a)";
        c.LbMinY = "Минимум угла a";
        c.LbMaxY = "Максимум угла a";
        c.LbNumberStepY = "Количество шагов по a";
        c.PiFirst = true;
        c.PiSecond = true;
        break;
    default:
        c.LbMin = "Минимум X";
        c.LbMax = "Максимум X";
        c.LbNumberStep = "Количество шагов по X";
        c.LbFunction = "Y(X)";
        break;
    }
    return c;
}

TIntervalTexts NewGraphIntervals(int kind) {
    switch (kind) {
    case KindPolar:
        return {"0", "2", "0", "1", "500"};
    case KindSpherical:
        return {"0", "2", "0", "1", "50"};
    case KindSurface:
        return {"-1", "1", "-1", "1", "50"};
    default:
        return {"-10", "10", "-10", "10", "500"};
    }
}

TGraphCheck CheckGraphInput(const TGraphInput& input, bool asteriks,
                            kurvant::TFormulaContext& context) {
    TGraphCheck check;
    const char sep = context.DecimalSeparator;
    const int kind = input.Kind;
    const TKindCaptions captions = KindCaptions(kind);
    const bool twoIntervals = kind == KindSurface || kind == KindSpherical;
    const std::string_view suffix = (kind == KindPolar || kind == KindSpherical) ? "Pi" : "";

    if (!CheckInterval(check, input.MinX, input.MaxX, captions.LbMin, captions.LbMax, suffix,
                       TGraphField::MinX, TGraphField::MaxX, sep, check.MinX, check.MaxX))
        return check;
    if (twoIntervals &&
        !CheckInterval(check, input.MinY, input.MaxY, captions.LbMinY, captions.LbMaxY, suffix,
                       TGraphField::MinY, TGraphField::MaxY, sep, check.MinY, check.MaxY))
        return check;
    if (twoIntervals) {
        if (!CheckSteps(check, captions.LbNumberStep, input.StepsX, 200, TGraphField::StepsX, sep,
                        check.StepsX) ||
            !CheckSteps(check, captions.LbNumberStepY, input.StepsY, 200, TGraphField::StepsY, sep,
                        check.StepsY))
            return check;
    } else if (!CheckSteps(check, captions.LbNumberStep, input.StepsX, 10000, TGraphField::StepsX,
                           sep, check.StepsX)) {
        return check;
    }

    if (!CheckFormula(check, input.Function, KindVariableSet(kind), 1, TGraphField::Function,
                      context, check.Prepared))
        return check;
    Notice(check, asteriks, captions.LbFunction, context);

    if (kind == KindParametric) {
        if (!CheckFormula(check, input.Function2, "u", 0, TGraphField::Function2, context,
                          check.Prepared2))
            return check;
        Notice(check, asteriks, "Y(U)", context);
    }
    check.Ok = true;
    return check;
}

void StoreGraphInput(const TGraphInput& input, const TGraphCheck& check, const TGraphStyle& style,
                     TGraphic& graphic) {
    const int kind = input.Kind;
    graphic.Kind = static_cast<std::uint8_t>(kind);
    graphic.Variable = KindVariable(kind);
    graphic.Formula = input.Function;
    graphic.FormulaPrepared = check.Prepared;
    if (kind == KindParametric) {
        graphic.Formula2 = input.Function2;
        graphic.Formula2Prepared = check.Prepared2;
    } else if (kind == KindPolar) {
        graphic.Formula2Prepared = check.Prepared;
    }
    if (kind == KindXofY) {
        graphic.MinY = check.MinX;
        graphic.MaxY = check.MaxX;
        graphic.StepsY = check.StepsX;
    } else {
        graphic.MinX = check.MinX;
        graphic.MaxX = check.MaxX;
        graphic.StepsX = check.StepsX;
        if (kind == KindSurface || kind == KindSpherical) {
            graphic.MinY = check.MinY;
            graphic.MaxY = check.MaxY;
            graphic.StepsY = check.StepsY;
        }
    }
    graphic.SetColor(style.Color);
    graphic.Gradation = style.Gradation;
    const int item = style.SizeIndex < 0 || style.SizeIndex >= static_cast<int>(SizeTable.size())
                         ? 2
                         : style.SizeIndex;
    if (style.Building == 1) {
        graphic.Building = 1;
        graphic.PointSize = SizeTable[static_cast<std::size_t>(item)];
        graphic.PointSizeIndex = item;
    } else {
        graphic.Building = 0;
        graphic.LineWidth = SizeTable[static_cast<std::size_t>(item)];
        graphic.LineWidthIndex = item;
    }
}

int ProposedColorItem(std::int32_t& counter, const std::vector<TColor>& items, TColor background) {
    if (items.empty())
        return -1;
    const auto count = static_cast<std::int64_t>(items.size());
    const auto pick = [&] {
        const std::int64_t i = (static_cast<std::int64_t>(counter) + 2) % count;
        return static_cast<int>(i < 0 ? i + count : i);
    };
    int item = pick();
    if (items[static_cast<std::size_t>(item)] == background) {
        ++counter;
        item = pick();
    }
    return item;
}

int FreeColorItem(std::int32_t& counter, const std::vector<TColor>& items, TColor background,
                  const std::vector<TColor>& used) {
    const std::size_t count = items.size();
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t item = (step + 2) % count;
        if (item == 0)
            continue;
        const TColor c = items[item];
        if (c != background && std::find(used.begin(), used.end(), c) == used.end())
            return static_cast<int>(item);
    }
    return ProposedColorItem(counter, items, background);
}

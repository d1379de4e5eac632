#pragma once
// The tangent and the normal of a Y(X) or X(Y) graph at a point, from a numerical first
// derivative: the derivative routines, the checks with their messages, and the formula text that
// the graph dialog receives. The dialog and `kurvant-cli tangent` both call these. Texts are UTF-8.

#include "formula/formula_context.h"

#include <string>
#include <string_view>
#include <vector>

class TDocument;
class TGraphic;

namespace kurvant {

/// The step of the derivatives.
inline constexpr double DerivativeStep = 0.01;
/// What the derivatives and the value are when a sample fails.
inline constexpr double DerivativeFailure = 1000;
/// A sample of this magnitude or more counts as failed.
inline constexpr long double SampleLimit = 500;
/// The range of the point.
inline constexpr double MaxTangentPoint = 500;
/// The label of the point's field, by which a refusal names it.
inline constexpr std::string_view TangentPointLabel = "Точка касания / пересечения";
/// The decimals of the numbers in the line's formula.
inline constexpr int LineDecimals = 7;

/// The error boxes (caption "Ошибка") of the tangent dialog.
inline constexpr std::string_view NoMatchingGraphMessage =
    "В списке графиков нет\n\rсоответствующего графика!";
inline constexpr std::string_view ChooseGraphMessage = "Выберите график!";
inline constexpr std::string_view NoLineMessage =
    "Для данной функции в данной точке нельзя\n\rпостроить касательную и нормаль!";
inline constexpr std::string_view FlatSlopeMessage =
    "Для данной функции первая производная\n\rслишком мала (около нуля).\n\rПопробуйте изменить "
    "точку касания / пересечения.";

/// `Differencial_One`: the first derivative of the graph (its prepared formula in its variable)
/// at x, by the one-sided five-point formula over x, x + h, ..., x + 4h (each point the previous
/// one plus h, in double precision). `value` gets the graph's value at x. When a sample is not
/// defined or has a magnitude of 500 or more, both are 1000.
double Differencial_One(const TGraphic& graphic, double& value, double x, double h,
                        const TFormulaContext& context);
/// The first derivative that the lines use: the five-point formula refined by halving the step
/// from 0.01 (Richardson extrapolation) until its estimates agree to well below the seven decimals
/// shown, to the right of x; where the right side does not settle (a pole or the domain's edge
/// there), to the left. `value` gets the graph's value at x. 1000 for both when the value is not
/// defined, when no side settles (a pole), when the graph jumps at x on either side, or when both
/// sides settle on different slopes (a kink).
double SettledDerivative(const TGraphic& graphic, double& value, double x,
                         const TFormulaContext& context);
/// Slopes from the two sides that differ by more than this make a kink.
inline constexpr double KinkTolerance = 1e-6;

/// `Differencial_Two`: the second derivative, likewise.
double Differencial_Two(const TGraphic& graphic, double& value, double x, double h,
                        const TFormulaContext& context);

enum class TLineKind { Tangent = 0, Normal = 1 };

/// The outcome of building a line: its formula text, or the message of the error box (the point's
/// field then gets the focus).
struct TLineFormula {
    bool Ok = false;
    std::string Formula;
    std::string Message;
};

/// The line of the given kind through the graph's point at x0 (already checked to lie within
/// -500 ... 500), with the slope of `SettledDerivative`: refused when that fails or the slope or
/// the value is 1000 or more in magnitude, and for the normal when the slope is below 1e-5. The
/// formula is "y0 +d1 * ( x +c )" with c = -x0 ("y0 -|d1| ...", "... x -c )" by the signs), the
/// normal "y0 - 1/d1 * ( x +c )" or "y0 + 1/|d1| ...", in the graph's variable.
TLineFormula LineFormula(const TGraphic& graphic, double x0, TLineKind kind,
                         const TFormulaContext& context);

/// A number of the line's formula: the value as the engine writes it (15 significant digits),
/// rounded to seven decimals, halves away from zero, never grouped; a negative value keeps its
/// minus even when it rounds to zero.
std::string LineNumberText(double value, char separator);

/// The entries of the dialog's graph list: "Y(X) = " or "X(Y) = " and the formula, for each graph
/// of kind 0 or 1 in list order.
std::vector<std::string> TangentGraphEntries(const TDocument& document);
/// The position of the first graph whose graph-list caption is `entry`, or -1.
int TangentGraphIndex(const TDocument& document, std::string_view entry);

} // namespace kurvant

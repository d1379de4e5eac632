#pragma once
// Studying a function of one variable over [a, b]: its zeros, its interior extrema, the points
// where it meets a second function, and its integral. The numbers come from the formula engine's
// values (the same the graph and the tabulation show); Boost.Math brackets, refines and
// integrates them. Below the numerical routines, the checks and the result grid that the dialog
// "Исследование функции" and the verbs zeros, extrema, intersect and area share. No Qt.

#include "analysis/adaptive_scan.h"
#include "analysis/local_behaviour.h"
#include "formula/formula_context.h"
#include "graphs/graphic.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TDocument;
struct TSettings;

namespace kurvant {

// ---- the numerical routines

/// Zeros and extrema closer than this are one.
inline constexpr long double SamePointDistance = 1e-9L;
/// The relative error an integral must reach.
inline constexpr long double AreaRelativeError = 1e-10L;
/// The most zeros, extrema or intersections a study lists.
inline constexpr std::size_t StudyRowCap = 10000;

/// What kept a study from answering for all of [a, b]. Whatever it found is still right.
struct TStudyGaps {
    std::optional<long double> Unresolved; ///< the first place the function changes too often
    bool TooMany = false;                  ///< more than `StudyRowCap` found: the first are listed
    std::optional<long double> StoppedAt;  ///< out of time or cancelled: nothing from here on
    bool Cancelled = false;

    [[nodiscard]] bool Complete() const { return !Unresolved && !TooMany && !StoppedAt; }
};

/// A zero, and how far from it the true one may lie.
struct TZero {
    long double X = 0;
    long double Width = 0;
};

struct TExtremum {
    long double X = 0;
    long double Y = 0;
    bool Maximum = false;
    long double Width = 0; ///< how far from X the true extremum may lie
};

struct TZeros {
    std::vector<TZero> Points;
    TStudyGaps Gaps;
};

struct TExtrema {
    std::vector<TExtremum> Points;
    TStudyGaps Gaps;
};

/// Every zero of `f` in [a, b], ascending: where it changes sign through zero (not through a pole
/// or a jump, and two zeros where a dip between two samples goes below zero), where it touches
/// zero at an extremum (its value there below 1e-12 of its values close by), and the samples
/// where it is zero and one of its neighbours is not (a stretch of zeros is no zero). The samples
/// are those of `ScanBlocks`, with `extraSamples` (the graph's own points) among them.
TZeros FindZeros(const TStudyFunction& f, long double a, long double b,
                 std::span<const long double> extraSamples = {}, const TStudyLimits& limits = {});

/// The interior local minima and maxima of `f` in (a, b), ascending, each verified: its slope
/// changes sign across it, and `f` is continuous there. A flat stretch, a pole, a jump and the
/// interval's ends are none.
TExtrema FindExtrema(const TStudyFunction& f, long double a, long double b,
                     std::span<const long double> extraSamples = {},
                     const TStudyLimits& limits = {});

enum class TAreaOutcome {
    Ok,
    Undefined,  ///< no value on a stretch of [a, b] that is more than a point
    Divergent,  ///< a pole the integral does not survive
    Inaccurate, ///< bounded, but the error stays above `AreaRelativeError`: Integral, Absolute
                ///< and Error are the best estimate
    Stopped,    ///< out of time or cancelled
};

struct TArea {
    TAreaOutcome Outcome = TAreaOutcome::Ok;
    long double Integral = 0; ///< the signed integral
    long double Absolute = 0; ///< the integral of |f|: the area between the graph and the axis
    long double Error = 0;    ///< the estimated error of both
    bool Cancelled = false;
};

/// The integral of `f` over [a, b], split at its zeros, poles and jumps. `Divergent` where it has
/// a pole that grows too fast; `Undefined` where it has no value on a stretch; a point or a
/// narrow stretch near one where the engine gives no value (ln at 0, sin(x)/x at 0) is bridged by
/// the function's growth beside it, and its share counts in the error.
TArea Integrate(const TStudyFunction& f, long double a, long double b,
                std::span<const long double> extraSamples = {}, const TStudyLimits& limits = {});

// ---- the studies as the dialog and the command line make them

enum class TStudyKind { Zeros = 0, Extrema = 1, Intersections = 2, Area = 3 };

/// The inputs a check can blame; the dialog gives the named control the focus.
enum class TStudyField { None, Formula, Formula2, Variable, Min, Max };

inline constexpr std::string_view NoFunctionMessage = "Выберите график или введите формулу!";
inline constexpr std::string_view IntervalTooLongMessage =
    "Отрезок должен быть не длиннее\n\r1 000 000 единиц!";
inline constexpr std::string_view UndefinedOnIntervalMessage =
    "Функция не определена на всём отрезке";
inline constexpr std::string_view DivergentIntegralMessage = "Интеграл на отрезке расходится";
inline constexpr std::string_view InaccurateIntegralMessage =
    "Интеграл не удаётся вычислить\n\rс нужной точностью";
/// The labels of the interval's ends, by which a refusal names its field.
inline constexpr std::string_view StudyMinLabel = "Начало отрезка";
inline constexpr std::string_view StudyMaxLabel = "Конец отрезка";
/// The longest interval a study takes.
inline constexpr double MaxStudyLength = 1e6;
/// The range of the interval's ends.
inline constexpr double MaxStudyEnd = 1e9;

/// A function as the study takes it: a graph's formula or a typed one.
struct TStudyFormula {
    std::string Formula;              ///< as typed (trimmed), or the graph's
    std::string Prepared;             ///< the graph's prepared formula; empty for a typed one
    char Variable = 0;                ///< the graph's letter; 0: the request's typed letter
    std::vector<long double> Samples; ///< the graph's own points; none for a typed formula
};

struct TStudyRequest {
    TStudyKind Kind = TStudyKind::Zeros;
    TStudyFormula First;
    TStudyFormula Second; ///< intersections only
    std::string Variable; ///< the letter of typed formulas, as typed
    std::string Min;      ///< a, as typed
    std::string Max;      ///< b, as typed
};

struct TStudyMessage {
    bool Information = false; ///< an information box ("nothing found"); otherwise an error box
    std::string Text;
};

/// The outcome of "Найти": the grid (a header and one row per result) and the points to mark.
struct TStudy {
    std::optional<TStudyMessage> Message;
    TStudyField Failed = TStudyField::None;
    std::vector<std::string> Header;
    std::vector<std::vector<std::string>> Rows;
    /// The found points as (variable, value); the marks swap them for an X(Y) graph.
    std::vector<TPoint3D> Points;
    char Variable = 'x'; ///< the first function's letter
    /// What the study could not answer for, shown under the grid (the command line writes it to
    /// stderr and ends with status 3); empty when the answer is whole.
    std::string Note;
    bool Stopped = false;   ///< out of time or cancelled before the end
    bool Cancelled = false; ///< cancelled
};

/// "Найти": the interval checked (numbers, order, length), the formulas prepared and tried, then
/// the study. Numbers are read and written with `context`'s separator, their whole parts grouped
/// with `group`, ten decimals. Nothing found is an information message with the rows empty.
TStudy Study(const TStudyRequest& request, std::string_view group, const TFormulaContext& context,
             const TStudyLimits& limits = {});

/// What the study of `request` counts in its control when its scan is done (`ScanIntervals` of its
/// interval); 0 when the interval's ends are not numbers.
std::uint64_t StudyScanSize(const TStudyRequest& request, const TFormulaContext& context);

/// A number the study found, written with only the decimals its `width` (how far off it may be)
/// leaves right, ten at most, and no more than the engine's fifteen significant digits; grouped
/// with `group`. A value that rounds to zero is written without a minus.
std::string StudyNumberText(long double value, long double width, char separator,
                            std::string_view group);

/// The typed text or graph-list entry `text` as a study formula: the graph of kind Y(X) or X(Y)
/// whose list caption it is (its formula, variable and sample points), else the typed formula.
TStudyFormula StudyFormulaOf(const TDocument& document, std::string_view text);

/// The graph's interval for the entry `text` (a Y(X) graph's MinX..MaxX, an X(Y) graph's
/// MinY..MaxY); nothing when it names no graph.
std::optional<std::pair<double, double>> StudyIntervalOf(const TDocument& document,
                                                         std::string_view text);

/// "Отметить на графике": the points as a new table graph drawn as points 6 pixels across, in a
/// colour that no graph of the document has (`FreeColorItem`), captioned `caption`; `swapAxes`
/// for a function of y. Its position, or -1 when the document is full or there is nothing to
/// mark.
int AddStudyMarks(TDocument& document, TSettings& settings, const std::vector<TPoint3D>& points,
                  bool swapAxes, const std::string& caption);

/// The caption of the marks: what they are and of which formulas.
std::string StudyMarksCaption(TStudyKind kind, std::string_view formula, std::string_view formula2);

} // namespace kurvant

#pragma once
// The graph record: what the user entered for one graph and what sampling derives
// from it. Plain data; the document (document.h) owns the records.

#include "settings/color.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// One sample point or table row; three 64-bit floats.
struct TPoint3D {
    double x = 0;
    double y = 0;
    double z = 0;
    bool operator==(const TPoint3D&) const = default;
};

/// The coordinate stored for a point that could not be computed.
inline constexpr double UndefinedValue = 2000;
/// A coordinate beyond this magnitude (the undefined-sample mark 2000 among them) is a gap: such
/// a point is never drawn, nor joined to its neighbours.
inline constexpr double GapLimit = 1000;
/// Graphs a document may hold; adding beyond this is refused.
inline constexpr int MaxGraphs = 100;
/// The error box of an add command when `MaxGraphs` graphs exist.
inline constexpr const char* TooManyGraphsCaption = "Добавление графика";
inline constexpr const char* TooManyGraphsMessage =
    "Количество графиков должно быть не больше 100!";
/// Graphs that may be ticked (drawn) at the same time.
inline constexpr int MaxTickedGraphs = 20;
/// The sizes shared by line widths and point sizes, indexed 0..6 by the style combo.
inline constexpr std::array<double, 7> SizeTable = {0.25, 0.5, 1, 2, 3, 4, 5};

/// The graph kinds.
enum TGraphKind : std::uint8_t {
    KindYofX = 0,       ///< Y(X)
    KindXofY = 1,       ///< X(Y)
    KindPolar = 2,      ///< r(q)
    KindParametric = 3, ///< X(U), Y(U)
    KindSurface = 4,    ///< Z(X,Y)
    KindSpherical = 5,  ///< p(q,a)
    KindTable = 6       ///< table of points
};

class TGraphic {
public:
    double MinX = -1;
    double MaxX = 1;
    double MinY = -1;
    double MaxY = 1;
    std::int32_t StepsX = 50;
    std::int32_t StepsY = 50;
    std::string Formula;          ///< first formula as typed (trimmed, lower-cased)
    std::string FormulaPrepared;  ///< `Formula` after `PrepareFormula`
    std::string Formula2;         ///< Y(u) of the parametric kind
    std::string Formula2Prepared; ///< parametric: `Formula2` prepared; polar: copy of the first
    TColor Color = 0;             ///< 0x00BBGGRR
    TColorGL ColorGL{0.5f, 0.5f, 0.5f};
    std::uint8_t Kind = 0;
    char Variable = 0;         ///< letter of the first variable; not set for kind 6
    std::uint8_t Building = 0; ///< how it is drawn: 0 lines, 1 points, 2 lines and points
    double PointSize = 0;
    std::int32_t PointSizeIndex = 0;
    double LineWidth = 0;
    std::int32_t LineWidthIndex = 0;
    bool Gradation = false;
    std::vector<TPoint3D> Points;
    /// Curves (kinds 0 to 3): `Breaks[k]` is set where a pole or a jump lies between `Points[k]`
    /// and `Points[k + 1]`, which are then not joined. Sampling fills it (empty when the curve
    /// has no break); tables and surfaces have none.
    std::vector<bool> Breaks;
    double BoundMaxX = 0;
    double BoundMaxY = 0;
    double BoundMaxZ = 0;
    double BoundMinX = 0;
    double BoundMinY = 0;
    double BoundMinZ = 0;
    /// The settings' MinX, MaxX, MinY and MaxY that the last sampling clipped to: undoing a change
    /// of the settings samples the graph again over the same ones, so its points come back as
    /// they were.
    std::array<double, 4> SampledClip{};

    /// Sets `Color` and recomputes `ColorGL` from it.
    void SetColor(TColor c);
};

/// Whether a point of a curve of `kind` (0 to 3) is a gap: y beyond `GapLimit` for Y(X), x for
/// X(Y), either for the polar and parametric kinds. Not-a-number is a gap too.
bool IsCurveGap(int kind, const TPoint3D& p);

/// Whether the segment from `Points[k]` to `Points[k + 1]` of a curve is broken by a pole or a
/// jump (see `Breaks`).
inline bool SegmentBroken(const TGraphic& graphic, std::size_t k) {
    return k < graphic.Breaks.size() && graphic.Breaks[k];
}

/// The caption prefix of a kind ("Y(X) = ", ..., "Таблица: "), UTF-8; empty outside 0..6.
std::string_view GraphKindLabel(int kind);

/// The caption of a graph's list entry: the prefix and `Formula`; kind 3 adds "; Y(U) = " and
/// `Formula2`; kind 6 is "Таблица: " + the number of points + " (.)". UTF-8.
std::string GraphCaption(const TGraphic& graphic);

/// The letter of the first variable of a kind: 'x' (0, 4), 'y' (1), 'q' (2, 5), 'u' (3); 0 for a
/// table or an unknown kind.
char KindVariable(int kind);

/// The variable set that `PrepareFormula` gets for the first formula of a kind: "x", "y", "q",
/// "u", "xy", "qa"; empty for a table or an unknown kind. The second formula of kind 3 uses "u".
std::string_view KindVariableSet(int kind);

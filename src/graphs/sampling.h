#pragma once
// Sampling of formula graphs into points and bounding boxes.

#include "formula/formula_context.h"
#include "graphs/graphic.h"

#include <cstdint>
#include <string_view>

struct TSettings;

/// Cap of the polar and spherical kinds: a computed coordinate above it is stored undefined.
inline constexpr long double PolarCap = 1000;
/// Start value of a bound that is found by scanning (maxima start at its negative).
inline constexpr double BoundStart = 1e11;

/// `Fill_Pixels_Graphic`, despite its name, touches no pixel: it samples the graph in model units.
/// For kinds 0 to 5 it fills `Points` and the bounding box of `graphic`, and for the curves (0 to
/// 3) their `Breaks`: the segments across which a formula has a pole or a jump, found by
/// evaluating it between the samples (curve_breaks.h).
/// `formula` is the prepared first formula (used by kinds 0 to 3; kinds 4 and 5 read the record's
/// `FormulaPrepared`), `formula2` the prepared second formula (kind 3 only). The settings' X and Y
/// intervals clip the Cartesian and parametric kinds. Never fails: undefined points hold
/// `UndefinedValue`. Kind 6 and unknown kinds are left untouched.
void Fill_Pixels_Graphic(TGraphic& graphic, std::string_view formula, std::string_view formula2,
                         const TSettings& settings, const kurvant::TFormulaContext& context);

/// The usual call: the record's own prepared formulas.
void Fill_Pixels_Graphic(TGraphic& graphic, const TSettings& settings,
                         const kurvant::TFormulaContext& context);

/// The evaluations that sampling `graphic` takes (0 for a table), as `context.Batch` counts them:
/// the measure of the share done. A curve's include the budget of the search of its breaks, which
/// is counted whole when the search ends.
std::uint64_t SamplingWork(const TGraphic& graphic);

#pragma once
// What the graph dialog needs without its widgets: the labels of each kind, the interval texts of
// a new graph, and the whole check of OK with the record it fills. Texts are UTF-8.

#include "formula/formula_context.h"
#include "graphs/graphic.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// The captions a kind gives the dialog's labels.
struct TKindCaptions {
    std::string_view LbMin, LbMax, LbNumberStep, LbFunction;
    /// The second interval's labels; empty for the kinds that hide it.
    std::string_view LbMinY, LbMaxY, LbNumberStepY;
    bool PiFirst = false;       ///< "Pi" after the first interval's edits
    bool PiSecond = false;      ///< "Pi" after the second interval's edits
    bool SecondFormula = false; ///< `EdFunction_2` shown
    [[nodiscard]] bool SecondInterval() const { return !LbMinY.empty(); }
};

/// The labels of kinds 0..5 (kind 0's for anything else).
TKindCaptions KindCaptions(int kind);

/// The interval and step texts a new graph of a kind starts with.
struct TIntervalTexts {
    std::string_view MinX, MaxX, MinY, MaxY, Steps;
};
TIntervalTexts NewGraphIntervals(int kind);

/// The dialog's edits that a check can blame.
enum class TGraphField { None, Function, Function2, MinX, MaxX, MinY, MaxY, StepsX, StepsY };

/// A message box to show: an error ("Ошибка") or the conversion notice ("Преобразование").
struct TGraphMessage {
    bool IsError = true;
    std::string Caption;
    std::string Text;
};

/// The dialog's entries as typed; the formulas already trimmed and lower-cased.
struct TGraphInput {
    int Kind = 0;
    std::string Function, Function2;
    std::string MinX, MaxX, MinY, MaxY, StepsX, StepsY;
};

/// The outcome of OK's checks: the values read, the prepared formulas, and the boxes to show in
/// order. `Failed` names the edit that gets the focus when `Ok` is false.
struct TGraphCheck {
    bool Ok = false;
    TGraphField Failed = TGraphField::None;
    std::vector<TGraphMessage> Messages;
    double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
    std::int32_t StepsX = 0, StepsY = 0;
    std::string Prepared, Prepared2;
};

/// OK's checks in their order: the intervals, the step counts, the first formula (prepared and
/// evaluated with its variables at 1, then the notice when `asteriks` is on and '*' was inserted),
/// the second formula of kind 3 (evaluated at u = 0). Stops at the first failure.
TGraphCheck CheckGraphInput(const TGraphInput& input, bool asteriks,
                            kurvant::TFormulaContext& context);

/// How the graph is drawn, as the dialog's style controls hold it.
struct TGraphStyle {
    TColor Color = 0;
    int Building = 0;  ///< 0 lines, 1 points
    int SizeIndex = 2; ///< item of the style box, index into `SizeTable`
    bool Gradation = false;
};

/// Writes a passed check into `graphic`: the formulas, the kind and its variable, the intervals
/// of the kind (kind 1 into `MinY`, `MaxY`, `StepsY`), the prepared texts and the style. Fields
/// the kind does not use keep what they held.
void StoreGraphInput(const TGraphInput& input, const TGraphCheck& check, const TGraphStyle& style,
                     TGraphic& graphic);

/// The item of the colour box proposed for a new graph: (counter + 2) mod `itemCount`; when that
/// item's colour is `background`, `counter` is incremented once and the rule applied again.
int ProposedColorItem(std::int32_t& counter, const std::vector<TColor>& items, TColor background);

/// The item of the colour box proposed for a new graph of a document whose graphs have the
/// colours `used`: the first palette colour that none of them has and that is not `background`,
/// the palette being the items in the order the counter runs through them, from item 2 round to
/// item 1 (item 0, the box's custom entry, holds no colour of the palette). When every one is in
/// use, `ProposedColorItem` chooses by the counter.
int FreeColorItem(std::int32_t& counter, const std::vector<TColor>& items, TColor background,
                  const std::vector<TColor>& used);

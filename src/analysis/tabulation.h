#pragma once
// Tabulation of a formula of one variable, over an interval with a step or at one point: the
// checks of "Считать" with their messages in order, the rows of the table, and the lines of the
// tabulation file. The dialog and `kurvant-cli tabulate` both call these. Texts are UTF-8.

#include "analysis/exact_decimal.h"
#include "formula/formula_context.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TDocument;

namespace kurvant {

/// The text of a value that the formula does not give.
inline constexpr std::string_view NotExistsText = "НЕ существует";
/// The error box of a tabulation file that could not be written.
inline constexpr std::string_view TabulationSaveFailedMessage =
    "Не удаётся сохранить\n\rтаблицу значений функции!";

/// The messages of the checks, shared with the function study.
inline constexpr std::string_view EmptyFormulaMessage = "Пустое выражение!";
inline constexpr std::string_view EmptyVariableMessage =
    "Имя переменной не должно быть пустым значением!\n\rЭто должна быть буква латинского "
    "алфавита.";
inline constexpr std::string_view NotLatinMessage =
    "Имя переменной должно\n\rбыть буквой латинского алфавита!";
inline constexpr std::string_view MaxNotAboveMinMessage =
    "Максимальное значение должно быть\n\rбольше минимального значения!";
inline constexpr std::string_view TooManyStepsMessage =
    "Слишком много шагов\n\rдля вычисления ( > 5000)!";
inline constexpr std::string_view SyntaxErrorMessage = "Ошибка в выражении!";
inline constexpr std::string_view BadFormulaMessage = "Неправильное выражение!";

/// The labels of the number fields, by which a refusal names its field.
inline constexpr std::string_view TabulationMinLabel = "Минимальное значение";
inline constexpr std::string_view TabulationPointLabel = "Значение точки";
inline constexpr std::string_view TabulationMaxLabel = "Максимальное значение";
inline constexpr std::string_view TabulationStepLabel = "Шаг";

/// The number of steps an interval may have.
inline constexpr unsigned MaxTabulationSteps = 5000;
/// The decimals of the function's values.
inline constexpr int ValueDecimals = 10;

/// The inputs a check can blame; the dialog gives the named control the focus.
enum class TTabulationField { None, Formula, Variable, Min, Max, Step };

/// A message box of the tabulation, captioned "Ошибка".
struct TTabulationMessage {
    bool Warning = false; ///< the warning icon; otherwise the error icon
    std::string Text;
};

/// One row of the table: the variable's value and the function's value as shown.
struct TTabulationRow {
    std::string Variable;
    std::string Value;
    bool operator==(const TTabulationRow&) const = default;
};

/// What the dialog holds when "Считать" is pressed.
struct TTabulationRequest {
    std::string Formula;  ///< the formula as typed
    std::string Variable; ///< the variable's name as typed
    bool PointMode = false;
    std::string Min;  ///< the start of the interval, or the point
    std::string Max;  ///< the end of the interval (interval mode only)
    std::string Step; ///< the step (interval mode only)
};

/// The outcome of "Считать".
struct TTabulation {
    std::string Formula;  ///< the formula trimmed, as the combo shows it afterwards
    std::string Variable; ///< the name lowered and trimmed, as its field shows it afterwards
    /// The box to show, if any, and the input that then gets the focus.
    std::optional<TTabulationMessage> Message;
    TTabulationField Failed = TTabulationField::None;
    /// Whether the table was rewritten: the header and `Rows` replace the grid's content. A
    /// refused input leaves the grid as it was; a point whose formula is no formula leaves the
    /// new header without a row.
    bool Written = false;
    TTabulationRow Header;
    std::vector<TTabulationRow> Rows;
};

/// "Считать": the checks in their order (formula, name, start; then end, order, step and the
/// number of steps, or the point), the formula prepared for the one letter and tried, then the
/// rows. Numbers are read and written with `context`'s decimal separator; the whole parts of the
/// table's numbers are grouped with `group` ("" for none).
TTabulation Tabulate(const TTabulationRequest& request, std::string_view group,
                     const TFormulaContext& context);

/// The header row for a variable letter: the letter and "f(" + letter + ")".
TTabulationRow TabulationHeader(char letter);

/// The decimals of a typed number as the variable column counts them: the digits after the
/// separator in the number writer's fixed-notation text (0,00005 has five, 2 has none).
int TypedDecimals(double value);

/// The values of an interval's rows: min + i·step for i = 0, 1, ... while not above max, all
/// exact, so a step that divides the interval reaches max itself. Where the bounds or the step
/// have the fifteen digits of a rounded value (pi/4), a row beyond max by no more than their
/// rounding is max itself.
std::vector<TExactDecimal> IntervalValues(const TExactDecimal& min, const TExactDecimal& max,
                                          const TExactDecimal& step);

/// A function's value as the table shows it: the engine's value (its 15-significant-digit
/// decimal) rounded to ten decimals, halves away from zero, grouped; "НЕ существует" for a value
/// that has no such text (an infinity).
std::string FunctionValueText(long double value, char separator, std::string_view group);

/// The no-break space (0xA0 of Windows-1251), which the tabulation file carries in place of a
/// digit-group separator that the code page lacks (U+202F, the Russian locale's).
inline constexpr std::string_view FileGroupSeparator = "\u00A0";

/// The lines of the tabulation file: the text of cell (1, 0), " = " and the formula; an empty
/// line; then each grid row, the header first, as its two texts with two tabs between them, every
/// character of the rows that Windows-1251 lacks written as `FileGroupSeparator`.
std::vector<std::string> TabulationFileLines(std::string_view formula,
                                             const std::vector<TTabulationRow>& grid);

/// The formulas the dialog's combo offers, in list order: the formula of each graph of kinds 0,
/// 1 and 2, both formulas of a parametric graph; surfaces and tables offer none.
std::vector<std::string> TabulationFormulas(const TDocument& document);

} // namespace kurvant

// Tabulation: the row rule on the typed decimals, the decimals of the variable column, the value
// texts, every check with its message and the input it blames, and the tabulation file's lines.

#include "graphs/graph_helpers.h"
#include "support/scratch_folder.h"

#include "analysis/tabulation.h"
#include "documents/text_file.h"
#include "graphs/document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using graphs_test::Context;
using graphs_test::MakeGraph;
using kurvant::TTabulation;
using kurvant::TTabulationField;
using kurvant::TTabulationRequest;
using kurvant::TTabulationRow;

TTabulationRequest Interval(const char* formula, const char* min, const char* max, const char* step,
                            const char* variable = "x") {
    TTabulationRequest r;
    r.Formula = formula;
    r.Variable = variable;
    r.Min = min;
    r.Max = max;
    r.Step = step;
    return r;
}

TTabulationRequest Point(const char* formula, const char* point, const char* variable = "x") {
    TTabulationRequest r = Interval(formula, point, "not read", "not read", variable);
    r.PointMode = true;
    return r;
}

TTabulation Compute(const TTabulationRequest& r, const char* group = "", char separator = ',') {
    return kurvant::Tabulate(r, group, Context(separator));
}

std::vector<std::string> VariableColumn(const TTabulation& t) {
    std::vector<std::string> column;
    for (const TTabulationRow& row : t.Rows)
        column.push_back(row.Variable);
    return column;
}

// ---- the rows of an interval ------------------------------------------------------------------

struct RowRuleRow {
    const char* Name;
    const char* Min;
    const char* Max;
    const char* Step;
    std::size_t Count;
    const char* First;
    const char* Last;
};

void PrintTo(const RowRuleRow& row, std::ostream* os) {
    *os << row.Name;
}

class RowRule : public testing::TestWithParam<RowRuleRow> {};

// The value of row i is min + i·step; the rows run while it is at most max, in decimal.
TEST_P(RowRule, RunsWhileTheTypedDecimalIsAtMostMax) {
    const RowRuleRow& row = GetParam();
    const TTabulation t = Compute(Interval("x", row.Min, row.Max, row.Step), " ");
    ASSERT_FALSE(t.Message) << t.Message->Text;
    ASSERT_TRUE(t.Written);
    ASSERT_EQ(t.Rows.size(), row.Count);
    EXPECT_EQ(t.Rows.front().Variable, row.First);
    EXPECT_EQ(t.Rows.back().Variable, row.Last);
}

const RowRuleRow RowRuleRows[] = {
    {"ZeroToThreeTenthsByATenthHasFourRows", "0", "0,3", "0,1", 4, "0,0", "0,3"},
    {"OneToTwoByATenthHasElevenRows", "1", "2", "0,1", 11, "1,0", "2,0"},
    {"ZeroToFiveHundredByATenthHas5001Rows", "0", "500", "0,1", 5001, "0,0", "500,0"},
    {"ZeroTo5000ByOneHas5001Rows", "0", "5000", "1", 5001, "0", "5 000"},
    {"StepThatDoesNotDivideStopsBelowMax", "0", "1", "0,3", 4, "0,0", "0,9"},
    {"MaxWithMoreDecimalsThanTheStep", "0", "0,35", "0,1", 4, "0,0", "0,3"},
    {"StepLongerThanTheInterval", "0", "1", "5", 1, "0", "0"},
    {"NegativeStartCrossesZero", "-0,3", "0,3", "0,1", 7, "-0,3", "0,3"},
    {"DecimalsOfTheStartCount", "0,25", "1", "0,25", 4, "0,25", "1,00"},
    {"StepOfFiveHundredThousandths", "0", "0,0002", "0,00005", 5, "0,00000", "0,00020"},
    {"WholeRangeByForty", "-100000", "100000", "40", 5001, "-100 000", "100 000"},
    {"PointTypedAsDecimalMark", "0.5", "1.5", "0.5", 3, "0,5", "1,5"},
    // Bounds and steps typed as expressions are rounded to fifteen digits; the last row is still
    // the interval's end, and only a hair beyond it counts as the end.
    {"QuartersOfPiEndAtPi", "0", "pi", "pi/4", 5, "0,000000000000000", "3,141592653589790"},
    {"HalvesOfPiEndAtTwoPi", "0", "2pi", "pi/2", 5, "0,0000000000000", "6,2831853071796"},
    {"ThirdsStopAtTheirOwnSumBelowTheEnd", "0", "1", "1/3", 4, "0,000000000000000",
     "0,999999999999999"},
    {"AnEndBeyondTheRoundingStaysOut", "0", "6,2831853071795", "pi/2", 4, "0,0000000000000",
     "4,7123889803847"},
};

INSTANTIATE_TEST_SUITE_P(Rows, RowRule, testing::ValuesIn(RowRuleRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(RowRuleTest, EveryRowIsStartPlusItsNumberOfSteps) {
    const TTabulation t = Compute(Interval("x", "-0,3", "0,3", "0,1"));
    EXPECT_EQ(VariableColumn(t),
              (std::vector<std::string>{"-0,3", "-0,2", "-0,1", "0,0", "0,1", "0,2", "0,3"}));
}

TEST(RowRuleTest, TheSubstitutedValueIsTheRowsDecimal) {
    // x*10 shows the value the formula received: 0,3 exactly, not 0,30000000000000004.
    const TTabulation t = Compute(Interval("x*10-3", "0", "0,3", "0,1"));
    ASSERT_EQ(t.Rows.size(), 4u);
    EXPECT_EQ(t.Rows[3].Value, "0,0000000000");
    EXPECT_EQ(t.Rows[1].Value, "-2,0000000000");
}

// ---- the decimals of the variable column ------------------------------------------------------

struct DecimalsRow {
    const char* Name;
    double Value;
    int Decimals;
};

void PrintTo(const DecimalsRow& row, std::ostream* os) {
    *os << row.Name;
}

class TypedDecimals : public testing::TestWithParam<DecimalsRow> {};

TEST_P(TypedDecimals, CountsTheDigitsAfterTheSeparatorOfTheFixedText) {
    EXPECT_EQ(kurvant::TypedDecimals(GetParam().Value), GetParam().Decimals);
}

const DecimalsRow DecimalsRows[] = {
    {"Whole", 2, 0},
    {"Tenth", 0.1, 1},
    {"NegativeHalf", -0.5, 1},
    {"FiveHundredThousandths", 0.00005, 5},
    {"SmallestStep", 1e-10, 10},
    {"ThreeDecimals", 123.456, 3},
    {"Largest", 100000, 0},
    {"SmallWithTwoDigits", 1.5e-7, 8},
};

INSTANTIATE_TEST_SUITE_P(Rows, TypedDecimals, testing::ValuesIn(DecimalsRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(VariableColumnTest, AStepOfFiveHundredThousandthsShowsFiveDecimals) {
    const TTabulation t = Compute(Interval("x", "0", "0,0001", "0,00005"));
    EXPECT_EQ(VariableColumn(t), (std::vector<std::string>{"0,00000", "0,00005", "0,00010"}));
}

TEST(VariableColumnTest, PointShowsItsOwnDecimals) {
    EXPECT_EQ(Compute(Point("x", "-0,125")).Rows.at(0).Variable, "-0,125");
    EXPECT_EQ(Compute(Point("x", "3")).Rows.at(0).Variable, "3");
    EXPECT_EQ(Compute(Point("x", "0,00005")).Rows.at(0).Variable, "0,00005");
}

// ---- the function's values --------------------------------------------------------------------

struct ValueRow {
    const char* Name;
    const char* Formula;
    const char* Point;
    const char* Group;
    const char* Value;
};

void PrintTo(const ValueRow& row, std::ostream* os) {
    *os << row.Name;
}

class ValueText : public testing::TestWithParam<ValueRow> {};

TEST_P(ValueText, IsTheEnginesDecimalRoundedToTenPlaces) {
    const ValueRow& row = GetParam();
    const TTabulation t = Compute(Point(row.Formula, row.Point), row.Group);
    ASSERT_FALSE(t.Message) << t.Message->Text;
    ASSERT_EQ(t.Rows.size(), 1u);
    EXPECT_EQ(t.Rows[0].Value, row.Value);
}

const ValueRow ValueRows[] = {
    {"Whole", "x^2", "-2", "", "4,0000000000"},
    {"ThirdGoesDown", "x/3", "1", "", "0,3333333333"},
    {"TwoThirdsGoUp", "x/3", "2", "", "0,6666666667"},
    {"HalfOfTheLastPlaceGoesUp", "x", "0,00000000005", "", "0,0000000001"},
    {"NegativeHalfGoesAwayFromZero", "-x", "0,00000000005", "", "-0,0000000001"},
    {"TinyNegativeKeepsItsMinus", "-x", "0,00000000004", "", "-0,0000000000"},
    // The quotient is written back as the 15-digit 5E-11, whatever its last binary digit.
    {"RoundedAtFifteenDigitsFirst", "x/3", "0,00000000015", "", "0,0000000001"},
    {"GroupedWholePart", "x*1000000", "1,5", " ", "1 500 000,0000000000"},
    {"LocaleGroupOfManyBytes", "x*1000", "2", "\xC2\xA0",
     "2\xC2\xA0"
     "000,0000000000"},
    {"MathErrorDoesNotExist", "sqrt(x)", "-1", "", "НЕ существует"},
    {"DivisionByZeroDoesNotExist", "1/x", "0", "", "НЕ существует"},
};

INSTANTIATE_TEST_SUITE_P(Rows, ValueText, testing::ValuesIn(ValueRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(ValueTextTest, SeparatorOfTheContext) {
    const TTabulation t = Compute(Point("x/4", "1"), "", '.');
    EXPECT_EQ(t.Rows.at(0).Value, "0.2500000000");
    EXPECT_EQ(kurvant::FunctionValueText(1e20L, '.', ","),
              "100,000,000,000,000,000,000.0000000000");
    EXPECT_EQ(kurvant::FunctionValueText(HUGE_VALL, ',', ""), "НЕ существует");
}

// ---- the edge cases of the dialog -------------------------------------------------------------

TEST(TabulationEdgeCases, SquaresOverMinusTwoToTwo) {
    const TTabulation t = Compute(Interval("x^2", "-2", "2", "1"));
    ASSERT_FALSE(t.Message);
    EXPECT_EQ(t.Header, (TTabulationRow{"x", "f(x)"}));
    EXPECT_EQ(t.Rows, (std::vector<TTabulationRow>{{"-2", "4,0000000000"},
                                                   {"-1", "1,0000000000"},
                                                   {"0", "0,0000000000"},
                                                   {"1", "1,0000000000"},
                                                   {"2", "4,0000000000"}}));
}

TEST(TabulationEdgeCases, ReciprocalDoesNotExistAtZero) {
    const TTabulation t = Compute(Interval("1/x", "-1", "1", "1"));
    EXPECT_EQ(t.Rows, (std::vector<TTabulationRow>{
                          {"-1", "-1,0000000000"}, {"0", "НЕ существует"}, {"1", "1,0000000000"}}));
}

TEST(TabulationEdgeCases, UpperCaseVariableIsLoweredAndTrimmed) {
    const TTabulation t = Compute(Interval("  T*2 ", "0", "1", "1", " T "));
    ASSERT_FALSE(t.Message);
    EXPECT_EQ(t.Variable, "t");
    EXPECT_EQ(t.Formula, "T*2");
    EXPECT_EQ(t.Header, (TTabulationRow{"t", "f(t)"}));
    EXPECT_EQ(t.Rows.at(1).Value, "2,0000000000");
}

TEST(TabulationEdgeCases, AMathErrorAtTheTrialPointIsAccepted) {
    const TTabulation t = Compute(Interval("sqrt(x-2)", "2", "3", "1"));
    ASSERT_FALSE(t.Message);
    EXPECT_EQ(t.Rows.at(1).Value, "1,0000000000");
}

TEST(TabulationEdgeCases, PointWithAMathErrorDoesNotExist) {
    const TTabulation t = Compute(Point("ln(x)", "0"));
    EXPECT_FALSE(t.Message);
    EXPECT_EQ(t.Rows, (std::vector<TTabulationRow>{{"0", "НЕ существует"}}));
}

// The old design left the previous row under the new header, looking like this formula's answer.
TEST(TabulationEdgeCases, PointWithASyntaxErrorShowsTheHeaderWithoutARow) {
    const TTabulation t = Compute(Point("x+", "1"));
    ASSERT_TRUE(t.Message);
    EXPECT_EQ(t.Message->Text, "Ошибка в выражении!");
    EXPECT_TRUE(t.Written);
    EXPECT_EQ(t.Header, (TTabulationRow{"x", "f(x)"}));
    EXPECT_TRUE(t.Rows.empty());
}

TEST(TabulationEdgeCases, PointModeReadsNeitherEndNorStep) {
    const TTabulation t = Compute(Point("x+1", "2"));
    EXPECT_FALSE(t.Message);
    EXPECT_EQ(t.Rows, (std::vector<TTabulationRow>{{"2", "3,0000000000"}}));
}

// ---- the checks, their messages and the input they blame ---------------------------------------

struct CheckRow {
    const char* Name;
    TTabulationRequest Request;
    TTabulationField Failed;
    bool Warning;
    const char* Message;
};

void PrintTo(const CheckRow& row, std::ostream* os) {
    *os << row.Name;
}

class Checks : public testing::TestWithParam<CheckRow> {};

TEST_P(Checks, RefuseWithTheirMessageAndBlameTheirInput) {
    const CheckRow& row = GetParam();
    const TTabulation t = Compute(row.Request);
    ASSERT_TRUE(t.Message);
    EXPECT_EQ(t.Failed, row.Failed);
    EXPECT_EQ(t.Message->Warning, row.Warning);
    EXPECT_EQ(t.Message->Text, row.Message);
    // Only a point's failed formula rewrites the grid (its header); refused inputs leave it.
    EXPECT_EQ(t.Written, row.Request.PointMode && row.Failed == TTabulationField::Formula);
    EXPECT_TRUE(t.Rows.empty());
}

const CheckRow CheckRows[] = {
    {"EmptyFormula", Interval("   ", "0", "1", "1"), TTabulationField::Formula, true,
     "Пустое выражение!"},
    {"EmptyFormulaComesBeforeEmptyName", Interval("", "0", "1", "1", ""), TTabulationField::Formula,
     true, "Пустое выражение!"},
    {"EmptyName", Interval("x", "0", "1", "1", "  "), TTabulationField::Variable, true,
     "Имя переменной не должно быть пустым значением!\n\rЭто должна быть буква латинского "
     "алфавита."},
    {"DigitAsName", Interval("x", "0", "1", "1", "1"), TTabulationField::Variable, true,
     "Имя переменной должно\n\rбыть буквой латинского алфавита!"},
    {"CyrillicName", Interval("x", "0", "1", "1", "ж"), TTabulationField::Variable, true,
     "Имя переменной должно\n\rбыть буквой латинского алфавита!"},
    {"StartNotANumber", Interval("x", "abc", "1", "1"), TTabulationField::Min, false,
     "Поле \"Минимальное значение\":\n\r'abc' не является числом!"},
    {"StartBeyondRange", Interval("x", "100001", "1", "1"), TTabulationField::Min, false,
     "Поле \"Минимальное значение\":\n\rЧисло '100001' не лежит в промежутке\n\rот -100000  до "
     "100000 !"},
    {"EndNotANumber", Interval("x", "0", "", "1"), TTabulationField::Max, false,
     "Поле \"Максимальное значение\":\n\r'' не является числом!"},
    {"EndBeyondRange", Interval("x", "0", "-100000,5", "1"), TTabulationField::Max, false,
     "Поле \"Максимальное значение\":\n\rЧисло '-100000,5' не лежит в промежутке\n\rот -100000  до "
     "100000 !"},
    {"EndEqualToStart", Interval("x", "1,5", "1.5", "1"), TTabulationField::Max, false,
     "Максимальное значение должно быть\n\rбольше минимального значения!"},
    {"EndBelowStart", Interval("x", "2", "1", "abc"), TTabulationField::Max, false,
     "Максимальное значение должно быть\n\rбольше минимального значения!"},
    {"StepZero", Interval("x", "0", "1", "0"), TTabulationField::Step, false,
     "Поле \"Шаг\":\n\rЧисло '0' не лежит в промежутке\n\rот 0,0000000001  до 100000 !"},
    {"StepNegative", Interval("x", "0", "1", "-1"), TTabulationField::Step, false,
     "Поле \"Шаг\":\n\rЧисло '-1' не лежит в промежутке\n\rот 0,0000000001  до 100000 !"},
    {"HalfStepsOver5000", Interval("x", "0", "5000", "0,5"), TTabulationField::Step, true,
     "Слишком много шагов\n\rдля вычисления ( > 5000)!"},
    {"OneStepTooMany", Interval("x", "0", "500,1", "0,1"), TTabulationField::Step, true,
     "Слишком много шагов\n\rдля вычисления ( > 5000)!"},
    {"StepsAreCheckedBeforeTheFormula", Interval("x+", "0", "5000", "0,5"), TTabulationField::Step,
     true, "Слишком много шагов\n\rдля вычисления ( > 5000)!"},
    {"SyntaxErrorAtTheTrialPoint", Interval("x+", "0", "1", "1"), TTabulationField::Formula, false,
     "Ошибка в выражении!"},
    {"LetterThatIsNotTheVariable", Interval("x", "0", "1", "1", "t"), TTabulationField::Formula,
     false, "Ошибка в выражении!"},
    {"PointNotANumber", Point("x", "1,2,3"), TTabulationField::Min, false,
     "Поле \"Значение точки\":\n\r'1,2,3' не является числом!"},
    {"PointSyntaxError", Point("sin x", "1"), TTabulationField::Formula, false,
     "Ошибка в выражении!"},
};

INSTANTIATE_TEST_SUITE_P(Rows, Checks, testing::ValuesIn(CheckRows),
                         [](const auto& row) { return std::string(row.param.Name); });

// ---- the tabulation file and the combo's list ---------------------------------------------------

TEST(TabulationFile, FormulaLineEmptyLineThenTheGridWithTwoTabs) {
    const std::vector<std::string> lines = kurvant::TabulationFileLines(
        "sin(x)", {{"x", "f(x)"}, {"0", "0,0000000000"}, {"1", "0,8414709848"}});
    EXPECT_EQ(lines, (std::vector<std::string>{"f(x) = sin(x)", "", "x\t\tf(x)",
                                               "0\t\t0,0000000000", "1\t\t0,8414709848"}));
}

TEST(TabulationFile, BeforeAnyComputationTheEmptyHeaderCellStartsTheFirstLine) {
    const std::vector<std::string> lines =
        kurvant::TabulationFileLines("x^2", {{"", ""}, {"", ""}});
    EXPECT_EQ(lines, (std::vector<std::string>{" = x^2", "", "\t\t", "\t\t"}));
}

// A value that does not exist and grouped values in one file: Windows-1251 as every file, and
// read back as they were written.
TEST(TabulationFile, MissingValueAndGroupedValuesReadBackFromOneFile) {
    const TTabulation t = Compute(Interval("1/x", "-1000", "1000", "1000"), "\u202f");
    ASSERT_FALSE(t.Message) << t.Message->Text;
    std::vector<TTabulationRow> grid{t.Header};
    grid.insert(grid.end(), t.Rows.begin(), t.Rows.end());
    const std::vector<std::string> lines = kurvant::TabulationFileLines(t.Formula, grid);
    TScratchFolder folder;
    const std::string path = folder.File("values.txt");
    ASSERT_TRUE(WriteTextLines(path, lines));
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_EQ(bytes.str(), "f(x) = 1/x\r\n\r\nx\t\tf(x)\r\n-1\xA0"
                           "000\t\t-0,0010000000\r\n0\t\t\xCD\xC5 \xF1\xF3\xF9\xE5\xF1\xF2"
                           "\xE2\xF3\xE5\xF2\r\n1\xA0"
                           "000\t\t0,0010000000\r\n");
    std::vector<std::string> read;
    ASSERT_TRUE(ReadTextLines(path, read));
    EXPECT_EQ(read, (std::vector<std::string>{"f(x) = 1/x", "", "x\t\tf(x)",
                                              "-1\u00a0000\t\t-0,0010000000", "0\t\tНЕ существует",
                                              "1\u00a0000\t\t0,0010000000"}));
}

TEST(TabulationFormulasTest, OffersTheFormulasOfCurvesAndBothOfAParametricGraph) {
    TDocument document;
    document.Add(MakeGraph(KindYofX, "x^2", -1, 1, 10));
    document.Add(MakeGraph(KindXofY, "y+1", -1, 1, 10));
    document.Add(MakeGraph(KindPolar, "2q", 0, 2, 10));
    document.Add(MakeGraph(KindParametric, "cos(u)", 0, 6, 10, -1, 1, 50, "sin(u)"));
    document.Add(MakeGraph(KindSurface, "x*y", -1, 1, 10));
    document.Add(MakeGraph(KindSpherical, "1", 0, 2, 10));
    TGraphic table;
    table.Kind = KindTable;
    document.Add(std::move(table));
    EXPECT_EQ(kurvant::TabulationFormulas(document),
              (std::vector<std::string>{"x^2", "y+1", "2q", "cos(u)", "sin(u)"}));
}

} // namespace

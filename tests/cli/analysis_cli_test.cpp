// kurvant-cli tabulate, tangent and the study verbs (zeros, extrema, intersect, area): the lines
// of the tabulation file, the formula of the line and the study's grid as the dialogs would make
// them, the dialogs' messages for refused inputs, and usage errors.

#include "run_cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {

using cli_test::RunCli;
using cli_test::TRun;

struct TAnalysisRow {
    const char* Name;
    std::vector<std::string> Args;
    int ExitCode;
    const char* Out;
    const char* Err; // nullptr: anything but empty (usage errors); "" for none
};

void PrintTo(const TAnalysisRow& row, std::ostream* os) {
    *os << row.Name;
}

class AnalysisVerb : public testing::TestWithParam<TAnalysisRow> {};

TEST_P(AnalysisVerb, PrintsWhatTheDialogWouldMake) {
    const TAnalysisRow& row = GetParam();
    const TRun run = RunCli(row.Args);
    EXPECT_EQ(run.ExitCode, row.ExitCode) << run.Err;
    EXPECT_EQ(run.Out, row.Out);
    if (row.Err != nullptr)
        EXPECT_EQ(run.Err, row.Err);
    else
        EXPECT_FALSE(run.Err.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Tabulate, AnalysisVerb,
    testing::Values(
        TAnalysisRow{"SquaresWithComma",
                     {"tabulate", "--sep", ",", "x^2", "-2", "2", "1"},
                     0,
                     "f(x) = x^2\n\nx\t\tf(x)\n-2\t\t4,0000000000\n-1\t\t1,0000000000\n"
                     "0\t\t0,0000000000\n1\t\t1,0000000000\n2\t\t4,0000000000\n",
                     ""},
        TAnalysisRow{"TenthsReachTheirEnd",
                     {"tabulate", "x*2", "0", "0.3", "0.1"},
                     0,
                     "f(x) = x*2\n\nx\t\tf(x)\n0.0\t\t0.0000000000\n0.1\t\t0.2000000000\n"
                     "0.2\t\t0.4000000000\n0.3\t\t0.6000000000\n",
                     ""},
        TAnalysisRow{"FormulaTrimmedAndNameLowered",
                     {"tabulate", "--var", "T", "  t/4 ", "--", "-1", "0", "1"},
                     0,
                     "f(t) = t/4\n\nt\t\tf(t)\n-1\t\t-0.2500000000\n0\t\t0.0000000000\n",
                     ""},
        TAnalysisRow{"GroupGiven",
                     {"tabulate", "--sep", ",", "--group", " ", "x*1000", "999,5", "1000", "0,5"},
                     0,
                     "f(x) = x*1000\n\nx\t\tf(x)\n999,5\t\t999 500,0000000000\n"
                     "1 000,0\t\t1 000 000,0000000000\n",
                     ""},
        // The lines of the file, in UTF-8: the file's no-break space for the narrow one.
        TAnalysisRow{
            "NarrowGroupIsTheFilesNoBreakSpace",
            {"tabulate", "--sep", ",", "--group", "\u202f", "1/x", "-1000", "1000", "1000"},
            0,
            "f(x) = 1/x\n\nx\t\tf(x)\n-1\u00a0000\t\t-0,0010000000\n"
            "0\t\tНЕ существует\n1\u00a0000\t\t0,0010000000\n",
            ""},
        TAnalysisRow{"GroupOfTheCLocaleIsNone",
                     {"tabulate", "--point", "1000", "x"},
                     0,
                     "f(x) = x\n\nx\t\tf(x)\n1000\t\t1000.0000000000\n",
                     ""},
        TAnalysisRow{"PointDoesNotExist",
                     {"tabulate", "--point", "0", "1/x"},
                     0,
                     "f(x) = 1/x\n\nx\t\tf(x)\n0\t\tНЕ существует\n",
                     ""},
        TAnalysisRow{"PointKeepsItsDecimals",
                     {"tabulate", "--point", "-0.125", "x"},
                     0,
                     "f(x) = x\n\nx\t\tf(x)\n-0.125\t\t-0.1250000000\n",
                     ""},
        TAnalysisRow{
            "PointSyntaxError", {"tabulate", "--point", "1", "x+"}, 1, "", "Ошибка в выражении!\n"},
        TAnalysisRow{"TooManySteps",
                     {"tabulate", "x", "0", "5000", "0.5"},
                     1,
                     "",
                     "Слишком много шагов\nдля вычисления ( > 5000)!\n"},
        TAnalysisRow{
            "EmptyFormula", {"tabulate", " ", "0", "1", "1"}, 1, "", "Пустое выражение!\n"},
        TAnalysisRow{"NameNotALetter",
                     {"tabulate", "--var", "1", "x", "0", "1", "1"},
                     1,
                     "",
                     "Имя переменной должно\nбыть буквой латинского алфавита!\n"},
        TAnalysisRow{"StepRange",
                     {"tabulate", "x", "0", "1", "0"},
                     1,
                     "",
                     "Поле \"Шаг\":\nЧисло '0' не лежит в промежутке\nот 0.0000000001  до 100000 "
                     "!\n"},
        TAnalysisRow{"InfinityIsNoNumber",
                     {"tabulate", "x", "-inf", "0", "1"},
                     1,
                     "",
                     "Поле \"Минимальное значение\":\n'-inf' не является числом!\n"},
        TAnalysisRow{"EndNotAboveStart",
                     {"tabulate", "x", "1", "1", "1"},
                     1,
                     "",
                     "Максимальное значение должно быть\nбольше минимального значения!\n"},
        TAnalysisRow{
            "PointWithInterval", {"tabulate", "--point", "1", "x", "0", "1", "1"}, 2, "", nullptr},
        TAnalysisRow{"IntervalIncomplete", {"tabulate", "x", "0", "1"}, 2, "", nullptr},
        TAnalysisRow{
            "BadSeparator", {"tabulate", "--sep", ";", "x", "0", "1", "1"}, 2, "", nullptr}),
    [](const auto& p) { return std::string(p.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Tangent, AnalysisVerb,
    testing::Values(
        TAnalysisRow{"CubeTangent",
                     {"tangent", "--sep", ",", "x*x*x", "1"},
                     0,
                     "1,0000000 +3,0000000 * ( x -1,0000000 )\n",
                     ""},
        TAnalysisRow{"CubeNormal",
                     {"tangent", "--sep", ",", "--normal", "x*x*x", "1"},
                     0,
                     "1,0000000 - 1/3,0000000 * ( x -1,0000000 )\n",
                     ""},
        TAnalysisRow{"SquareAtMinusTwo",
                     {"tangent", "x*x", "-2"},
                     0,
                     "4.0000000 -4.0000000 * ( x +2.0000000 )\n",
                     ""},
        TAnalysisRow{"XofY",
                     {"tangent", "--kind", "1", "--normal", "Y*Y", "-2"},
                     0,
                     "4.0000000 + 1/4.0000000 * ( y +2.0000000 )\n",
                     ""},
        TAnalysisRow{"ShiftRoundingToZeroKeepsItsMinus",
                     {"tangent", "x*x", "0.00000004"},
                     0,
                     "0.0000000 +0.0000001 * ( x -0.0000000 )\n",
                     ""},
        TAnalysisRow{"StraightLine",
                     {"tangent", "2*x+1", "1"},
                     0,
                     "3.0000000 +2.0000000 * ( x -1.0000000 )\n",
                     ""},
        TAnalysisRow{"SteepSlopeNearAPole",
                     {"tangent", "tg(x)", "1.5"},
                     0,
                     "14.1014199 +199.8500445 * ( x -1.5000000 )\n",
                     ""},
        TAnalysisRow{"Kink",
                     {"tangent", "abs(x-1)", "1"},
                     1,
                     "",
                     "Для данной функции в данной точке нельзя\nпостроить касательную и "
                     "нормаль!\n"},
        TAnalysisRow{"FlatNormal",
                     {"tangent", "--normal", "x*x", "0"},
                     1,
                     "",
                     "Для данной функции первая производная\nслишком мала (около нуля).\n"
                     "Попробуйте изменить точку касания / пересечения.\n"},
        TAnalysisRow{"PointBeyondRange",
                     {"tangent", "x*x", "-500.5"},
                     1,
                     "",
                     "Поле \"Точка касания / пересечения\":\nЧисло '-500.5' не лежит в "
                     "промежутке\nот -500  до 500 !\n"},
        TAnalysisRow{"PointAsAnExpression",
                     {"tangent", "x*x", "-1/2"},
                     0,
                     "0.2500000 -1.0000000 * ( x +0.5000000 )\n",
                     ""},
        TAnalysisRow{
            "FormulaTheGraphDialogRefuses", {"tangent", "x+", "1"}, 1, "", "Ошибка в выражении!\n"},
        TAnalysisRow{"EmptyFormula", {"tangent", "", "1"}, 1, "", "Неправильное выражение!\n"},
        TAnalysisRow{"OtherKind", {"tangent", "--kind", "2", "q", "1"}, 2, "", nullptr},
        TAnalysisRow{"MissingPoint", {"tangent", "x*x"}, 2, "", nullptr}),
    [](const auto& p) { return std::string(p.param.Name); });

// The study verbs print the dialog's grid; the rules of what counts as a result are the core's
// table (tests/analysis/test_function_study.cpp), these rows show the verbs reach it.
INSTANTIATE_TEST_SUITE_P(
    Study, AnalysisVerb,
    testing::Values(
        TAnalysisRow{"ZerosOfSine",
                     {"zeros", "--sep", ",", "sin(x)", "-4", "4"},
                     0,
                     "x\n-3,1415926536\n0,0000000000\n3,1415926536\n",
                     ""},
        TAnalysisRow{"ZerosInAnotherLetterWithAMinus",
                     {"zeros", "--var", "t", "-t^2+1", "--", "-2", "2"},
                     0,
                     "t\n-1.0000000000\n1.0000000000\n",
                     ""},
        TAnalysisRow{"NoZerosIsNoLines", {"zeros", "1/x", "-1", "1"}, 0, "", ""},
        TAnalysisRow{"Extrema",
                     {"extrema", "x^3-3x", "-3", "3.1"},
                     0,
                     "x\tf(x)\tвид\n-1.0000000000\t2.0000000000\tмаксимум\n"
                     "1.0000000000\t-2.0000000000\tминимум\n",
                     ""},
        TAnalysisRow{"Intersect",
                     {"intersect", "--group", " ", "x^2", "x+1000", "0", "100"},
                     0,
                     "x\tf(x)\n32.1267292017\t1 032.1267292017\n",
                     ""},
        TAnalysisRow{"Area",
                     {"area", "--sep", ",", "sin(x)", "0", "3,14159265358979"},
                     0,
                     "интеграл\tплощадь\tпогрешность\n2,0000000000\t2,0000000000\t0,0000000000\n",
                     ""},
        TAnalysisRow{"AreaUpToPi",
                     {"area", "sin(x)", "0", "pi"},
                     0,
                     "интеграл\tплощадь\tпогрешность\n2.0000000000\t2.0000000000\t0.0000000000\n",
                     ""},
        TAnalysisRow{"ZerosBetweenMinusWords",
                     {"zeros", "sin(x)", "-pi/2", "-pi/2+pi"},
                     0,
                     "x\n0.0000000000\n",
                     ""},
        TAnalysisRow{
            "AreaDiverges", {"area", "1/x", "-1", "1"}, 1, "", "Интеграл на отрезке расходится\n"},
        TAnalysisRow{"AreaUndefined",
                     {"area", "ln(x)", "-1", "1"},
                     1,
                     "",
                     "Функция не определена на всём отрезке\n"},
        TAnalysisRow{"SyntaxError", {"zeros", "x+", "0", "1"}, 1, "", "Ошибка в выражении!\n"},
        TAnalysisRow{"Reversed",
                     {"extrema", "x", "1", "0"},
                     1,
                     "",
                     "Максимальное значение должно быть\nбольше минимального значения!\n"},
        TAnalysisRow{"IntersectNeedsTwo", {"intersect", "x", "0", "1"}, 2, "", nullptr},
        TAnalysisRow{"UnknownOption", {"area", "--step", "1", "x", "0", "1"}, 2, "", nullptr},
        TAnalysisRow{"TwoCloseRoots",
                     {"zeros", "(x-1)^2-0.00000001", "-3", "3"},
                     0,
                     "x\n0.9999000000\n1.0001000000\n",
                     ""},
        TAnalysisRow{
            "NearMissIsNoZero", {"zeros", "(x-1)^2+0.0000001", "-1000", "1000"}, 0, "", ""},
        TAnalysisRow{"PolesAreNoExtrema", {"extrema", "tg(x)", "-5", "5"}, 0, "", ""},
        // Out of time before the first block: nothing found is a failure.
        TAnalysisRow{"OutOfTimeWithNothing",
                     {"zeros", "--timeout", "0.000001", "sin(x)", "-10", "10"},
                     1,
                     "",
                     "Время исследования истекло: отрезок пройден до x = -10.0000000\n"},
        TAnalysisRow{
            "TimeoutNotANumber", {"zeros", "--timeout", "soon", "x", "0", "1"}, 2, "", nullptr},
        TAnalysisRow{"TimeoutOfZero", {"area", "--timeout", "0", "x", "0", "1"}, 2, "", nullptr}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(TabulateVerb, FiveHundredByATenthPrints5001Rows) {
    const TRun run = RunCli({"tabulate", "x", "0", "500", "0.1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    std::vector<std::string> lines;
    std::string line;
    for (std::istringstream in(run.Out); std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u + 5001u);
    EXPECT_EQ(lines[3], "0.0\t\t0.0000000000");
    EXPECT_EQ(lines.back(), "500.0\t\t500.0000000000");
}

TEST(TabulateVerb, SeparatorDefaultsToTheLocales) {
    const TRun run = RunCli({"tabulate", "--point", "0.5", "x"}, "", "LC_ALL=C.UTF-8");
    EXPECT_EQ(run.Out, "f(x) = x\n\nx\t\tf(x)\n0.5\t\t0.5000000000\n");
}

// Under the Russian locale the numbers are written with a comma, and either mark may be typed.
TEST(AreaVerb, TakesConstantExpressionsUnderTheRussianLocale) {
    const TRun run = RunCli({"area", "sin(x)", "0.0", "pi"}, "", "LC_ALL=ru_RU.UTF-8");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "интеграл\tплощадь\tпогрешность\n2,0000000000\t2,0000000000\t0,0000000000\n");
}

// What a study leaves out is said on stderr after what it found, with status 3.
TEST(StudyVerbs, SayWhatTheyLeaveOutAndEndWithThree) {
    const TRun zeros = RunCli({"zeros", "sin(x)", "-500000", "500000"});
    EXPECT_EQ(zeros.ExitCode, 3);
    EXPECT_EQ(std::count(zeros.Out.begin(), zeros.Out.end(), '\n'), 10001);
    // Far from 0 the variable keeps fewer decimals, and so does the zero.
    EXPECT_EQ(zeros.Out.substr(0, 19), "x\n-499997.03718943\n");
    EXPECT_EQ(zeros.Err, "Найдено больше 10000 точек: показаны первые 10000\n");

    const TRun area = RunCli({"area", "sin(1/x)", "0.000001", "1"});
    EXPECT_EQ(area.ExitCode, 3);
    EXPECT_EQ(area.Err.rfind("Интеграл не удаётся вычислить\nс нужной точностью:\nоценка 0.504", 0),
              0u)
        << area.Err;

    const TRun fast = RunCli({"zeros", "2+sin(1/x)", "0.00001", "1"});
    EXPECT_EQ(fast.ExitCode, 3);
    EXPECT_EQ(fast.Out, "");
    EXPECT_NE(fast.Err.find("функция меняется слишком часто"), std::string::npos) << fast.Err;

    const TRun help = RunCli({"extrema", "--help"});
    EXPECT_NE(help.Out.find("--timeout SECONDS"), std::string::npos);
    EXPECT_NE(help.Out.find("exit status: 0 every result found"), std::string::npos);
}

TEST(AnalysisVerbs, AreListedWithTheirUsage) {
    const TRun all = RunCli({"--help"});
    EXPECT_NE(all.Out.find("tabulate"), std::string::npos);
    EXPECT_NE(all.Out.find("tangent"), std::string::npos);
    const TRun tabulate = RunCli({"tabulate", "--help"});
    EXPECT_NE(tabulate.Out.find("usage: kurvant-cli tabulate [--sep C] [--group TEXT] [--var L] "
                                "[--point P] FORMULA [MIN MAX STEP]\n"),
              std::string::npos)
        << tabulate.Out;
    const TRun tangent = RunCli({"tangent", "--help"});
    EXPECT_NE(
        tangent.Out.find("usage: kurvant-cli tangent [--sep C] [--normal] [--kind 0|1] FORMULA X0"),
        std::string::npos)
        << tangent.Out;
}

} // namespace

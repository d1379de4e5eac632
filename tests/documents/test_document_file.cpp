// The document file: hand-written files read as written, save -> read -> save gives the same
// bytes, every broken file fails with its message and leaves the open document as it was.

#include "documents/document_file.h"
#include "documents/text_file.h"
#include "file_helpers.h"
#include "support/every_kind_document.h"

#include "graphs/sampling.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <sys/stat.h>

namespace {

const std::string CannotOpen = "Не удаётся открыть файл!\n\r";

struct TOpenFixture {
    TDocument Document;
    TSettings Settings;
    kurvant::TFormulaContext Context;
    std::vector<std::string> Captions;
    int TooManyTicked = 0;

    TOpenFixture() {
        Settings_Default(Settings);
        Document.Hooks.WindowCaption = [this](const std::string& c) { Captions.push_back(c); };
        Document.Hooks.TooManyTicked = [this] { ++TooManyTicked; };
    }
    TDocumentFault Fault; ///< why the last open was refused
    TDocumentRead Open(const std::string& path) {
        return ReadDocumentFile(path, Document, Settings, Context, &Fault);
    }
    // Saves with the given separator and returns the bytes written.
    std::string Save(char separator) {
        TScratchFolder folder;
        const std::string path = folder.File("saved.qel");
        std::string message;
        EXPECT_TRUE(Saving_File(Document, path, separator, message)) << message;
        return FileBytes(path);
    }
};

TEST(DocumentFile, AllKindsReadAsWritten) {
    TOpenFixture f;
    const std::string path = DataPath("documents/all_kinds.qel");
    ASSERT_EQ(f.Open(path), TDocumentRead::Ok);
    const TDocument& d = f.Document;
    EXPECT_EQ(d.View.ScaleX, 0.1);
    EXPECT_EQ(d.View.ShiftX, 0.5);
    EXPECT_EQ(d.View.ShiftY, -2.25);
    EXPECT_EQ(d.View.AngleX, 30);
    EXPECT_EQ(d.View.AngleY, -45);
    EXPECT_EQ(d.View.AngleZ, 0);
    ASSERT_EQ(d.GraphCount(), 7);
    EXPECT_EQ(d.ColorCounter, 7);
    EXPECT_EQ(d.DocumentFileName, path);
    EXPECT_EQ(f.Captions, std::vector<std::string>{"Qel Kurvant  - [all_kinds.qel]"});

    const std::vector<std::string> captions = {
        "Y(X) = sin(x)", "X(Y) = y^2", "r(q) = 1",      "X(U) = cos(u); Y(U) = sin(u)",
        "Z(X,Y) = x*y",  "p(q,a) = 1", "Таблица: 3 (.)"};
    const std::vector<char> variables = {'x', 'y', 'q', 'u', 'x', 'q', 0};
    const std::vector<std::size_t> pointCounts = {500, 100, 50, 200, 20 * 30, 10 * 5, 3};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(d.Graph(i).Kind, i);
        EXPECT_EQ(d.Caption(i), captions[i]);
        EXPECT_EQ(d.Visible(i), i != 1);
        EXPECT_EQ(d.Graph(i).Variable, variables[i]);
        EXPECT_EQ(d.Graph(i).Points.size(), pointCounts[i]);
        EXPECT_FALSE(d.Graph(i).Gradation);
    }
    // Intervals land in the fields of the kind; kind 1 keeps the record's X defaults.
    const TGraphic& xOfY = d.Graph(1);
    EXPECT_EQ(xOfY.MinY, -5);
    EXPECT_EQ(xOfY.MaxY, 5);
    EXPECT_EQ(xOfY.StepsY, 100);
    EXPECT_EQ(xOfY.MinX, -1);
    EXPECT_EQ(xOfY.StepsX, 50);
    const TGraphic& surface = d.Graph(4);
    EXPECT_EQ(surface.MinX, -1);
    EXPECT_EQ(surface.MaxY, 2);
    EXPECT_EQ(surface.StepsX, 20);
    EXPECT_EQ(surface.StepsY, 30);
    // Prepared again from the typed texts; the polar kind copies its first formula.
    EXPECT_EQ(d.Graph(0).FormulaPrepared, "sin(#x#)");
    EXPECT_EQ(d.Graph(2).Formula2Prepared, d.Graph(2).FormulaPrepared);
    EXPECT_EQ(d.Graph(3).Formula2Prepared, "sin(#u#)");
    // The tails.
    EXPECT_EQ(d.Graph(0).Color, 0x0000FFu);
    EXPECT_EQ(d.Graph(0).ColorGL, (TColorGL{1, 0, 0}));
    EXPECT_EQ(d.Graph(0).LineWidth, 1);
    EXPECT_EQ(d.Graph(0).LineWidthIndex, 2);
    EXPECT_EQ(d.Graph(1).Color, 0x0080FFu);
    EXPECT_EQ(d.Graph(1).Building, 1);
    EXPECT_EQ(d.Graph(1).PointSize, 3);
    EXPECT_EQ(d.Graph(1).PointSizeIndex, 4);
    EXPECT_EQ(d.Graph(2).LineWidth, 0.5);
    EXPECT_EQ(d.Graph(5).PointSize, 0.25);
    EXPECT_EQ(d.Graph(6).Building, 2);
    EXPECT_EQ(d.Graph(6).LineWidthIndex, 6);
}

TEST(DocumentFile, FormulaGraphsAreSampledAfterReading) {
    TOpenFixture f;
    ASSERT_EQ(f.Open(DataPath("documents/all_kinds.qel")), TDocumentRead::Ok);
    // sin(x) on -10..10, 500 steps: the x bounds are the ends of the interval, y within -1..1.
    const TGraphic& sine = f.Document.Graph(0);
    EXPECT_EQ(sine.Points.front().x, -10);
    EXPECT_NEAR(sine.Points.back().x, 10, 1e-9);
    EXPECT_EQ(sine.BoundMinX, -10);
    EXPECT_EQ(sine.BoundMaxX, 10);
    EXPECT_NEAR(sine.BoundMaxY, 1, 1e-3);
    EXPECT_NEAR(sine.BoundMinY, -1, 1e-3);
    // The unit circle from -π/2 to 3π/2 reaches ±1 on both axes.
    const TGraphic& circle = f.Document.Graph(2);
    EXPECT_NEAR(circle.Points.front().y, -1, 1e-12);
    EXPECT_NEAR(circle.BoundMaxX, 1, 1e-2);
    EXPECT_NEAR(circle.BoundMinX, -1, 1e-2);
}

TEST(DocumentFile, TablePointsAndTheirBounds) {
    TOpenFixture f;
    ASSERT_EQ(f.Open(DataPath("documents/all_kinds.qel")), TDocumentRead::Ok);
    const TGraphic& table = f.Document.Graph(6);
    const std::vector<TPoint3D> points = {{1, 2, 3}, {-4.5, 0.00005, 6}, {7, -8, 0.25}};
    EXPECT_EQ(table.Points, points);
    EXPECT_EQ(table.BoundMaxX, 7);
    EXPECT_EQ(table.BoundMinX, -4.5);
    EXPECT_EQ(table.BoundMaxY, 2);
    EXPECT_EQ(table.BoundMinY, -8);
    // The z bounds are not kept by the reader.
    EXPECT_EQ(table.BoundMaxZ, 0);
    EXPECT_EQ(table.BoundMinZ, 0);
}

TEST(DocumentFile, EmptyTableKeepsTheStartBounds) {
    TOpenFixture f;
    ASSERT_EQ(f.Open(DataPath("documents/empty_table.qel")), TDocumentRead::Ok);
    ASSERT_EQ(f.Document.GraphCount(), 1);
    EXPECT_EQ(f.Document.Caption(0), "Таблица: 0 (.)");
    EXPECT_FALSE(f.Document.Visible(0));
    EXPECT_EQ(f.Document.Graph(0).BoundMaxX, -1e11);
    EXPECT_EQ(f.Document.Graph(0).BoundMinY, 1e11);
}

// A step count of 0 (or a fraction below 1, truncated to 0) is a number like any other: the graph
// reads and has no points; the x bounds are still the ends of the clipped interval -10..10 and
// the y bounds keep their start values, since no point was defined.
TEST(DocumentFile, StepCountZeroGivesAGraphWithoutPoints) {
    for (const char* steps : {"0", "0.5"}) {
        TScratchFolder folder;
        const std::string path = folder.File("zero.qel");
        PutBytes(path, std::string(DocumentSignature) +
                           "\r\n0.1 0 0 0 0 0\r\n1\r\n0\r\nx\r\n-10 10 " + steps +
                           " 1\r\nclRed\r\n0\r\n1\r\n2\r\n1\r\n2\r\n");
        TOpenFixture f;
        ASSERT_EQ(f.Open(path), TDocumentRead::Ok) << steps;
        const TGraphic& g = f.Document.Graph(0);
        EXPECT_EQ(g.StepsX, 0) << steps;
        EXPECT_TRUE(g.Points.empty()) << steps;
        EXPECT_EQ(g.BoundMinX, -10) << steps;
        EXPECT_EQ(g.BoundMaxX, 10) << steps;
        EXPECT_EQ(g.BoundMinY, 1e11) << steps;
        EXPECT_EQ(g.BoundMaxY, -1e11) << steps;
    }
}

TEST(DocumentFile, LenientSpellingsRead) {
    TOpenFixture f;
    ASSERT_EQ(f.Open(DataPath("documents/lenient.qel")), TDocumentRead::Ok);
    const TDocument& d = f.Document;
    EXPECT_EQ(d.View.ScaleX, 0.2);
    EXPECT_EQ(d.View.AngleZ, 5);
    ASSERT_EQ(d.GraphCount(), 2);
    const TGraphic& curve = d.Graph(0);
    EXPECT_EQ(curve.Formula, "x");
    EXPECT_EQ(curve.MinX, -2);
    EXPECT_EQ(curve.MaxX, 2);
    EXPECT_EQ(curve.StepsX, 5);
    EXPECT_TRUE(d.Visible(0)); // the flag is missing from the number line
    EXPECT_EQ(curve.Color, 0x0000FFu);
    EXPECT_EQ(curve.Building, 0); // 3 is no drawing mode: the default stays
    EXPECT_EQ(curve.PointSize, 0.5);
    const TGraphic& table = d.Graph(1);
    const std::vector<TPoint3D> points = {{1, 2, 0}, {0, 0, 0}};
    EXPECT_EQ(table.Points, points);
    EXPECT_FALSE(d.Visible(1));
    EXPECT_EQ(table.Color, 255u);
    EXPECT_EQ(table.PointSize, 1);
}

// ---- round trips

struct TRoundTripRow {
    const char* Name;
    const char* Input;
    char Separator;
    const char* Expected;
    friend void PrintTo(const TRoundTripRow& row, std::ostream* os) { *os << row.Name; }
};

class RoundTrip : public ::testing::TestWithParam<TRoundTripRow> {};

TEST_P(RoundTrip, SaveGivesTheCanonicalBytes) {
    const TRoundTripRow& row = GetParam();
    TOpenFixture f;
    ASSERT_EQ(f.Open(DataPath(row.Input)), TDocumentRead::Ok);
    const std::string saved = f.Save(row.Separator);
    EXPECT_EQ(saved, FileBytes(DataPath(row.Expected)));
    // And once more from what was saved.
    TScratchFolder folder;
    PutBytes(folder.File("again.qel"), saved);
    TOpenFixture again;
    ASSERT_EQ(again.Open(folder.File("again.qel")), TDocumentRead::Ok);
    EXPECT_EQ(again.Save(row.Separator), saved);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RoundTrip,
    ::testing::Values(
        TRoundTripRow{"AllKinds", "documents/all_kinds.qel", '.', "documents/all_kinds.qel"},
        TRoundTripRow{"AllKindsComma", "documents/all_kinds_comma.qel", ',',
                      "documents/all_kinds_comma.qel"},
        TRoundTripRow{"CommaFileSavedWithPoint", "documents/all_kinds_comma.qel", '.',
                      "documents/all_kinds.qel"},
        TRoundTripRow{"LineFeedsOnly", "documents/all_kinds_lf.qel", '.',
                      "documents/all_kinds.qel"},
        TRoundTripRow{"BareCarriageReturns", "documents/all_kinds_cr.qel", '.',
                      "documents/all_kinds.qel"},
        TRoundTripRow{"NoGraphsIsThreeLines", "documents/empty.qel", '.', "documents/empty.qel"},
        TRoundTripRow{"EmptyTable", "documents/empty_table.qel", '.', "documents/empty_table.qel"},
        TRoundTripRow{"CyrillicStaysWindows1251", "documents/cyrillic.qel", '.',
                      "documents/cyrillic.qel"},
        TRoundTripRow{"Utf8FileSavedAsWindows1251", "documents/cyrillic_utf8.qel", '.',
                      "documents/cyrillic.qel"},
        TRoundTripRow{"ByteOrderMarkOfUtf8Dropped", "documents/utf8_bom.qel", '.',
                      "documents/cyrillic.qel"}),
    [](const auto& p) { return std::string(p.param.Name); });

TGraphic Formula(int kind, std::string formula, std::string formula2 = {}) {
    TGraphic g;
    g.Kind = static_cast<std::uint8_t>(kind);
    g.Formula = std::move(formula);
    g.Formula2 = std::move(formula2);
    return g;
}

// Values that the exponent form would break: tiny and huge numbers, fractions with 15 digits.
TEST(DocumentFile, BuiltDocumentOfEveryKindRoundTrips) {
    TOpenFixture f;
    TDocument& d = f.Document;
    d.View.ScaleX = 1.0 / 3;
    d.View.ShiftX = 2e-7;
    d.View.ShiftY = -0.00001;
    d.View.AngleX = 1e20;
    d.View.AngleY = -12.5;
    d.View.AngleZ = 400;
    TGraphic y = Formula(0, "2*x");
    y.MinX = -1.0 / 7;
    y.MaxX = 999.999999999999;
    y.StepsX = 10000;
    y.SetColor(0x00123456);
    y.LineWidth = 0.25;
    d.Add(std::move(y));
    TGraphic x = Formula(1, "sqrt(y)");
    x.MinY = -0.00005;
    x.StepsY = 1;
    x.Building = 1;
    x.PointSize = 5;
    x.PointSizeIndex = 6;
    d.Add(std::move(x));
    d.Add(Formula(2, "q"));
    d.Add(Formula(3, "cos(u)", "sin(2u)"));
    TGraphic surface = Formula(4, "x^2-y^2");
    surface.StepsX = 200;
    surface.StepsY = 1;
    d.Add(std::move(surface));
    d.Add(Formula(5, "2"));
    TGraphic table;
    table.Kind = KindTable;
    table.Points = {{1e-9, -1e9, 0.1}, {-0, 1000, -1000}};
    d.Add(std::move(table));
    d.SetVisible(2, false);
    d.SetVisible(6, false);
    for (char separator : {'.', ','}) {
        SCOPED_TRACE(separator);
        const std::string first = f.Save(separator);
        EXPECT_EQ(first.find('E'), std::string::npos);
        TScratchFolder folder;
        PutBytes(folder.File("doc.qel"), first);
        TOpenFixture read;
        ASSERT_EQ(read.Open(folder.File("doc.qel")), TDocumentRead::Ok);
        EXPECT_EQ(read.Save(separator), first);
        EXPECT_FALSE(read.Document.Visible(2));
        EXPECT_FALSE(read.Document.Visible(6));
        EXPECT_EQ(read.Document.Graph(6).Points[0].x, 1e-9);
        EXPECT_EQ(read.Document.View.AngleX, 1e20);
    }
}

TEST(DocumentFile, CharactersOutsideWindows1251KeepTheFileInUtf8) {
    TOpenFixture f;
    f.Document.Add(Formula(0, "x+ω✓"));
    const std::string saved = f.Save('.');
    EXPECT_NE(saved.find("x+ω✓"), std::string::npos);
    TScratchFolder folder;
    PutBytes(folder.File("doc.qel"), saved);
    TOpenFixture read;
    ASSERT_EQ(read.Open(folder.File("doc.qel")), TDocumentRead::Ok);
    EXPECT_EQ(read.Document.Graph(0).Formula, "x+ω✓");
}

TEST(DocumentFile, Windows1251AndUtf8FilesGiveTheSameText) {
    for (const char* name : {"documents/cyrillic.qel", "documents/cyrillic_utf8.qel"}) {
        TOpenFixture f;
        ASSERT_EQ(f.Open(DataPath(name)), TDocumentRead::Ok) << name;
        EXPECT_EQ(f.Document.Graph(0).Formula, "синус(x)") << name;
        EXPECT_EQ(f.Document.Caption(0), "Y(X) = синус(x)") << name;
        // Not a formula: every point is a gap, but x runs on.
        EXPECT_EQ(f.Document.Graph(0).Points[1].y, UndefinedValue);
        EXPECT_EQ(f.Document.Graph(0).Points[1].x, 0);
    }
}

TEST(DocumentFile, UnassignedWindows1251ByteReadsAsQuestionMark) {
    TOpenFixture f;
    ASSERT_EQ(f.Open(DataPath("documents/unassigned_byte.qel")), TDocumentRead::Ok);
    EXPECT_EQ(f.Document.Graph(0).Formula, "x?");
}

// ---- failures

struct TBadRow {
    const char* Name;
    TDocumentRead Result;
    const char* Reason; ///< the message's second line
    friend void PrintTo(const TBadRow& row, std::ostream* os) { *os << row.Name; }
};

class BadDocument : public ::testing::TestWithParam<TBadRow> {};

// The open document (graphs, view, name, colour counter, caption) is exactly as before, and the
// message says which line was wrong and why.
TEST_P(BadDocument, FailsWithItsReasonAndKeepsTheOpenDocument) {
    const TBadRow& row = GetParam();
    TOpenFixture f;
    const std::string good = DataPath("documents/all_kinds.qel");
    ASSERT_EQ(f.Open(good), TDocumentRead::Ok);
    EXPECT_EQ(f.Fault, TDocumentFault{});
    const std::string before = f.Save('.');
    const ViewState view = f.Document.View;
    f.Captions.clear();
    const TDocumentRead result =
        f.Open(DataPath(std::string("documents/bad_") + row.Name + ".qel"));
    EXPECT_EQ(result, row.Result);
    EXPECT_EQ(
        DocumentReadMessage(result, f.Fault),
        (row.Result == TDocumentRead::WrongSignature ? "Неверный формат файла!\n\r" : CannotOpen) +
            row.Reason);
    EXPECT_TRUE(f.Captions.empty());
    EXPECT_EQ(f.Save('.'), before);
    EXPECT_EQ(f.Document.View.ScaleY, view.ScaleY);
    EXPECT_EQ(f.Document.DocumentFileName, good);
    EXPECT_EQ(f.Document.ColorCounter, 7);
    EXPECT_EQ(f.Document.Graph(0).Points.size(), 500u);
}

const TDocumentRead Wrong = TDocumentRead::WrongSignature;
const TDocumentRead Bad = TDocumentRead::Unreadable;
const char* const NoSignature = "строка 1: нет подписи файла";

INSTANTIATE_TEST_SUITE_P(
    Files, BadDocument,
    ::testing::Values(TBadRow{"signature_trailing_blank", Wrong, NoSignature},
                      TBadRow{"signature_case", Wrong, NoSignature},
                      TBadRow{"empty_file", Bad, "файл пуст"},
                      TBadRow{"blank_first_line", Wrong, NoSignature},
                      TBadRow{"view_line_seven_numbers", Bad, "строка 2: больше 6 чисел"},
                      TBadRow{"view_line_bare_minus", Bad, "строка 2: не число"},
                      TBadRow{"count_not_integer", Bad, "строка 3: не целое число"},
                      TBadRow{"count_negative", Bad, "строка 3: число графиков меньше нуля"},
                      TBadRow{"count_above_255", Bad, "строка 3: число графиков больше 255"},
                      TBadRow{"count_huge", Bad, "строка 3: число графиков больше 255"},
                      TBadRow{"count_too_large_for_int", Bad, "строка 3: слишком большое число"},
                      TBadRow{"count_more_than_blocks", Bad, "строка 13: файл обрывается"},
                      TBadRow{"kind_not_integer", Bad, "строка 4: не целое число"},
                      TBadRow{"kind_seven", Bad, "строка 4: неизвестный вид графика"},
                      TBadRow{"kind_negative", Bad, "строка 4: неизвестный вид графика"},
                      TBadRow{"formula_empty", Bad, "строка 5: пустая формула"},
                      TBadRow{"range_line_five_numbers", Bad, "строка 6: больше 4 чисел"},
                      TBadRow{"range_line_letters_only", Bad, "строка 6: не число"},
                      TBadRow{"steps_negative", Bad, "строка 6: число шагов меньше нуля"},
                      TBadRow{"steps_above_limit", Bad, "строка 6: число шагов больше 10000"},
                      TBadRow{"steps_huge", Bad, "строка 6: число шагов больше 10000"},
                      TBadRow{"surface_steps_above_limit", Bad, "строка 6: число шагов больше 200"},
                      TBadRow{"parametric_second_formula_empty", Bad, "строка 6: пустая формула"},
                      TBadRow{"colour_unknown", Bad, "строка 7: неизвестный цвет"},
                      TBadRow{"colour_trailing_blank", Bad, "строка 7: неизвестный цвет"},
                      TBadRow{"colour_hex_too_long", Bad, "строка 7: неизвестный цвет"},
                      TBadRow{"building_not_integer", Bad, "строка 8: не целое число"},
                      TBadRow{"point_size_not_number", Bad, "строка 9: не число"},
                      TBadRow{"point_size_index_fraction", Bad, "строка 10: не целое число"},
                      TBadRow{"line_width_two_numbers", Bad, "строка 11: не число"},
                      TBadRow{"line_width_index_missing", Bad, "строка 12: файл обрывается"},
                      TBadRow{"ends_after_count", Bad, "строка 4: файл обрывается"},
                      TBadRow{"table_count_beyond_lines", Bad, "строка 8: не число"},
                      TBadRow{"table_count_huge", Bad, "строка 8: не число"},
                      TBadRow{"table_count_negative", Bad, "строка 5: число точек меньше нуля"},
                      TBadRow{"table_point_four_numbers", Bad, "строка 6: больше 3 чисел"},
                      TBadRow{"table_point_exponent", Bad, "строка 6: не число"},
                      TBadRow{"table_visibility_missing", Bad, "строка 7: не целое число"},
                      TBadRow{"no_such_file", Bad, "файл не найден"}),
    [](const auto& p) { return std::string(p.param.Name); });

// Whatever follows on line 1, a first line that is not the signature makes a foreign file, also
// when that line is far too long to be read as a line.
TEST(DocumentFile, HugeFirstLineIsAForeignFile) {
    TScratchFolder folder;
    const std::string garbage = folder.File("garbage.qel");
    PutBytes(garbage, std::string(5 * 1024 * 1024, 'x') + "\r\n");
    const std::string glued = folder.File("glued.qel");
    PutBytes(glued, std::string(DocumentSignature) + std::string(5 * 1024 * 1024, '1') + "\r\n");
    const std::string cut = folder.File("cut.qel");
    PutBytes(cut, std::string(DocumentSignature).substr(0, 10)); // shorter than the signature
    for (const std::string& path : {garbage, glued, cut}) {
        TOpenFixture f;
        EXPECT_EQ(f.Open(path), TDocumentRead::WrongSignature) << path;
    }
    // The signature alone, with either line end or none, and after a byte-order mark, is right.
    const std::string bare = folder.File("bare.qel");
    std::string bytes = "\xEF\xBB\xBF";
    bytes += DocumentSignature;
    bytes += "\n0.1 0 0 0 0 0\n0";
    PutBytes(bare, bytes);
    TOpenFixture f;
    EXPECT_EQ(f.Open(bare), TDocumentRead::Ok);
}

TEST(DocumentFile, FiveMegabyteLineFails) {
    TScratchFolder folder;
    const std::string path = folder.File("long.qel");
    PutBytes(path, std::string(DocumentSignature) + "\r\n0.1 0 0 0 0 0\r\n1\r\n0\r\n" +
                       std::string(5 * 1024 * 1024, 'x') + "\r\n-1 1 3 1\r\n");
    TOpenFixture f;
    EXPECT_EQ(f.Open(path), TDocumentRead::Unreadable);
    EXPECT_EQ(DocumentFaultText(f.Fault), "строка 5: длиннее 65536 байт");
    EXPECT_EQ(f.Document.GraphCount(), 0);
}

TEST(DocumentFile, MoreThanTwentyVisibleGraphsAreCutToTwenty) {
    TOpenFixture source;
    for (int i = 0; i < 25; ++i) {
        source.Document.SetVisible(source.Document.Add(Formula(0, std::to_string(i))), true);
    }
    TScratchFolder folder;
    PutBytes(folder.File("many.qel"), source.Save('.'));
    TOpenFixture f;
    ASSERT_EQ(f.Open(folder.File("many.qel")), TDocumentRead::Ok);
    EXPECT_EQ(f.TooManyTicked, 1);
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(f.Document.Visible(i), i < 20) << i;
    }
    EXPECT_EQ(f.Document.ColorCounter, 25);
}

TEST(DocumentFile, WithAutomaticScalingTheViewIsProjectedAndFitted) {
    TOpenFixture f;
    f.Document.AutoScaleOn = true;
    ASSERT_EQ(f.Open(DataPath("documents/all_kinds.qel")), TDocumentRead::Ok);
    EXPECT_EQ(f.Document.View.AngleX, 0);
    EXPECT_EQ(f.Document.View.AngleY, 0);
    EXPECT_NE(f.Document.View.ScaleX, 0.1); // fitted to the ticked graphs
}

// ---- saving

TEST(DocumentFile, SaveSetsTheCaptionAndLeavesNoTemporaryFile) {
    TOpenFixture f;
    TScratchFolder folder;
    std::string message;
    ASSERT_TRUE(Saving_File(f.Document, folder.File("plot.qel"), '.', message));
    EXPECT_EQ(f.Captions, std::vector<std::string>{"Qel Kurvant  - [plot.qel]"});
    EXPECT_EQ(FileBytes(folder.File("plot.qel")),
              std::string(DocumentSignature) + "\r\n0 0 0 0 0 0\r\n0\r\n");
    EXPECT_EQ(folder.EntryCount(), 1u);
    EXPECT_TRUE(f.Document.DocumentFileName.empty()); // the caller names the document
}

TEST(DocumentFile, FailedSaveReportsAndKeepsTheOldFile) {
    TOpenFixture f;
    f.Document.Add(Formula(0, "x"));
    TScratchFolder folder;
    // A folder in the way: the rename fails after the new bytes were written.
    const std::string blocked = folder.File("blocked.qel");
    ASSERT_EQ(mkdir(blocked.c_str(), 0755), 0);
    PutBytes(blocked + "/inside", "old");
    std::string message;
    EXPECT_FALSE(Saving_File(f.Document, blocked, '.', message));
    EXPECT_EQ(message, "Не удалось сохранить в файл\n\r\"" + blocked + "\"!\n\rЭто папка");
    EXPECT_EQ(FileBytes(blocked + "/inside"), "old");
    EXPECT_EQ(folder.EntryCount(), 1u);
    EXPECT_TRUE(f.Captions.empty());
    EXPECT_EQ(f.Document.GraphCount(), 1);

    const std::string missing = folder.File("no/such/folder.qel");
    EXPECT_FALSE(Saving_File(f.Document, missing, '.', message));
    EXPECT_EQ(message,
              "Не удалось сохранить в файл\n\r\"" + missing + "\"!\n\rНет такого файла или папки");
}

TEST(DocumentFile, SaveReplacesAnExistingFileAndKeepsItsPermissions) {
    TOpenFixture f;
    TScratchFolder folder;
    const std::string path = folder.File("plot.qel");
    PutBytes(path, "older content that is longer than the new one\r\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    std::string message;
    ASSERT_TRUE(Saving_File(f.Document, path, '.', message));
    EXPECT_EQ(FileBytes(path), std::string(DocumentSignature) + "\r\n0 0 0 0 0 0\r\n0\r\n");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(DocumentFile, SaveThroughASymbolicLinkKeepsTheLink) {
    TOpenFixture f;
    TScratchFolder folder;
    PutBytes(folder.File("real.qel"), "old");
    ASSERT_EQ(symlink(folder.File("real.qel").c_str(), folder.File("link.qel").c_str()), 0);
    std::string message;
    ASSERT_TRUE(Saving_File(f.Document, folder.File("link.qel"), '.', message));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.qel")));
    EXPECT_EQ(FileBytes(folder.File("real.qel")),
              std::string(DocumentSignature) + "\r\n0 0 0 0 0 0\r\n0\r\n");
}

// ---- every cut and seeded damage of the good files

/// What a refused open must leave exactly as it was: the saved text (view line, graphs, ticks),
/// the view, the name, the colour counter, and every graph's points, bounds and caption.
struct TDocumentState {
    std::vector<std::string> Lines;
    std::vector<double> View;
    std::string Name;
    int ColorCounter = 0;
    std::vector<std::string> Captions;
    std::vector<std::vector<TPoint3D>> Points;
    std::vector<std::vector<double>> Bounds;

    static TDocumentState Of(const TDocument& d) {
        TDocumentState s;
        s.Lines = DocumentFileLines(d, '.');
        const ViewState& v = d.View;
        s.View = {v.ScaleX, v.ScaleY, v.AngleX, v.AngleY, v.AngleZ, v.ShiftX, v.ShiftY};
        s.Name = d.DocumentFileName;
        s.ColorCounter = d.ColorCounter;
        for (int i = 0; i < d.GraphCount(); ++i) {
            const TGraphic& g = d.Graph(i);
            s.Captions.push_back(d.Caption(i));
            s.Points.push_back(g.Points);
            s.Bounds.push_back(
                {g.BoundMinX, g.BoundMaxX, g.BoundMinY, g.BoundMaxY, g.BoundMinZ, g.BoundMaxZ});
        }
        return s;
    }
    bool operator==(const TDocumentState&) const = default;
};

/// The number of lines as the reader splits them: CR LF, LF or a bare CR ends one, and bytes after
/// the last break are one more.
int LineCount(const std::string& bytes) {
    int lines = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            ++lines;
            i += bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 1 : 0;
        }
    }
    const bool open = !bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n';
    return lines + (open ? 1 : 0);
}

/// The bytes with control characters and bytes above 0x7E escaped, for a failure message.
std::string Escaped(const std::string& bytes) {
    std::string out;
    for (const unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

/// Opens damaged copies of a file over an open document: each must open, or be refused and leave
/// the open document exactly as it was. After an open that succeeds, the same document is opened
/// again for the next copy. That document has a graph of every kind, a view of its own and
/// unticked graphs, with few steps so that opening it again is quick.
class TDamageRun {
public:
    TDamageRun() {
        TDocument d;
        d.View = {0.2, 0.3, 10, 20, 30, 1.5, -0.5};
        AddGraphOfEveryKind(d, 7, 3, {{1, 2, 3}, {-4.5, 0.25, 6}});
        d.SetVisible(6, false);
        std::string message;
        const bool saved = Saving_File(d, Folder.File("before.qel"), '.', message);
        EXPECT_TRUE(saved) << message;
        OpenTheDocumentBefore();
    }

    /// False (with the failure reported) when the copy broke the rule.
    bool Check(const std::string& bytes, const std::string& what) {
        // Every copy gets a file of its own: rewriting one file in place makes the file system
        // write it out at once, which is a thousand times slower on some disks.
        const std::string path =
            Folder.File("damaged-" + std::to_string(Opened + Refused) + ".qel");
        PutBytes(path, bytes);
        const bool kept = OpensOrKeeps(path, bytes, what);
        std::filesystem::remove(path);
        return kept;
    }

    int Opened = 0;
    int Refused = 0;

private:
    bool OpensOrKeeps(const std::string& path, const std::string& bytes, const std::string& what) {
        Fixture->Captions.clear();
        Fixture->TooManyTicked = 0;
        const TDocumentRead result = Fixture->Open(path);
        if (result == TDocumentRead::Ok) {
            ++Opened;
            const bool clean = Fixture->Document.DocumentFileName == path &&
                               Fixture->Captions.size() == 1 &&
                               Fixture->Document.ColorCounter == Fixture->Document.GraphCount();
            OpenTheDocumentBefore();
            if (!clean) {
                ADD_FAILURE() << what << ": opened without its name, caption or colour counter\n"
                              << Escaped(bytes);
            }
            return clean;
        }
        ++Refused;
        // The first line as ever, then the line that was wrong: one the file has, or the one
        // after its last when it ends too soon.
        const std::string expectedMessage =
            result == TDocumentRead::WrongSignature ? "Неверный формат файла!\n\r" : CannotOpen;
        const TDocumentFault& fault = Fixture->Fault;
        const int lines = LineCount(bytes);
        const bool named = bytes.empty() ? fault == TDocumentFault{TDocumentReason::Empty}
                                         : fault.Line >= 1 && fault.Line <= lines + 1 &&
                                               (fault.Line == lines + 1) ==
                                                   (fault.Reason == TDocumentReason::FileEnds);
        if (!named) {
            ADD_FAILURE() << what << ": refused at line " << fault.Line << " of " << lines << " ("
                          << DocumentFaultText(fault) << ")\n"
                          << Escaped(bytes);
            return false;
        }
        if (DocumentReadMessage(result, fault) != expectedMessage + DocumentFaultText(fault) ||
            !Fixture->Captions.empty() || Fixture->TooManyTicked != 0 ||
            !(TDocumentState::Of(Fixture->Document) == Before)) {
            ADD_FAILURE() << what << ": refused, but the open document changed\n" << Escaped(bytes);
            OpenTheDocumentBefore();
            return false;
        }
        return true;
    }

    void OpenTheDocumentBefore() {
        Fixture = std::make_unique<TOpenFixture>();
        ASSERT_EQ(Fixture->Open(Folder.File("before.qel")), TDocumentRead::Ok);
        Before = TDocumentState::Of(Fixture->Document);
    }

    TScratchFolder Folder;
    std::unique_ptr<TOpenFixture> Fixture;
    TDocumentState Before;
};

class DamagedDocument : public ::testing::TestWithParam<const char*> {
protected:
    std::string Good() const {
        return FileBytes(DataPath(std::string("documents/") + GetParam() + ".qel"));
    }
};

TEST_P(DamagedDocument, EveryCutOpensOrLeavesTheOpenDocument) {
    const std::string good = Good();
    ASSERT_FALSE(good.empty());
    TDamageRun run;
    for (std::size_t length = 0; length < good.size(); ++length) {
        if (!run.Check(good.substr(0, length), "cut after " + std::to_string(length) + " bytes")) {
            return;
        }
    }
    EXPECT_GT(run.Refused, 0); // most cuts leave a block short
}

// Two hundred copies with one to three random changes each: a bit flipped, a byte put in (often
// one that matters to the format) or a byte taken out. The seed comes from the file's name, so
// every run damages the files the same way.
TEST_P(DamagedDocument, SeededDamageOpensOrLeavesTheOpenDocument) {
    const std::string good = Good();
    ASSERT_FALSE(good.empty());
    std::uint32_t seed = 2166136261u;
    for (const char* c = GetParam(); *c != '\0'; ++c) {
        seed = (seed ^ static_cast<unsigned char>(*c)) * 16777619u;
    }
    std::mt19937 random(seed);
    // The raw engine output is the same everywhere; distributions are not.
    auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const std::string telling = "0123456789-.,E $\r\n#x";
    TDamageRun run;
    for (int copy = 0; copy < 200; ++copy) {
        std::string bytes = good;
        std::string what = "copy " + std::to_string(copy) + ":";
        const std::size_t changes = 1 + below(3);
        for (std::size_t n = 0; n < changes; ++n) {
            const std::size_t kind = below(3);
            if (kind == 0 && !bytes.empty()) {
                const std::size_t at = below(bytes.size());
                const int bit = static_cast<int>(below(8));
                bytes[at] = static_cast<char>(bytes[at] ^ (1 << bit));
                what += " bit " + std::to_string(bit) + " of byte " + std::to_string(at) + ";";
            } else if (kind == 1) {
                const std::size_t at = below(bytes.size() + 1);
                const char byte =
                    below(2) == 0 ? telling[below(telling.size())] : static_cast<char>(below(256));
                bytes.insert(at, 1, byte);
                what += " byte " + Escaped(std::string(1, byte)) + " put in at " +
                        std::to_string(at) + ";";
            } else if (!bytes.empty()) {
                const std::size_t at = below(bytes.size());
                bytes.erase(at, 1);
                what += " byte " + std::to_string(at) + " taken out;";
            }
        }
        if (!run.Check(bytes, what)) {
            return;
        }
    }
    EXPECT_GT(run.Refused, 0);
}

INSTANTIATE_TEST_SUITE_P(GoodFiles, DamagedDocument,
                         ::testing::Values("all_kinds", "all_kinds_comma", "all_kinds_cr",
                                           "all_kinds_lf", "cyrillic", "cyrillic_utf8", "empty",
                                           "empty_table", "lenient", "unassigned_byte", "utf8_bom"),
                         [](const auto& p) { return std::string(p.param); });

} // namespace

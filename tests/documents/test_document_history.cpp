// The document's history: every step undone and redone puts back exactly the state before and
// after it, as the document writer and the settings file write it, with every sampled point.
// KURVANT_HISTORY_STEPS sets the number of random actions (the long run takes thousands).

#include "documents/document_file.h"
#include "documents/settings_file.h"
#include "graphs/autoscale.h"
#include "graphs/document.h"
#include "graphs/graph_helpers.h"
#include "formula/batch_control.h"
#include "graphs/sampling.h"

#include <QUndoStack>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using graphs_test::Context;
using graphs_test::DefaultSettings;
using graphs_test::MakeGraph;

/// Everything a step may change, in comparable form.
struct TState {
    std::vector<std::string> DocumentLines;
    std::vector<std::string> SettingsLines;
    std::vector<std::vector<TPoint3D>> Points;
    std::vector<std::vector<bool>> Breaks;
    bool AutoScaleOn = false;
    TAutoScaleBackup Backup;
    std::int32_t ColorCounter = 0;
    bool operator==(const TState&) const = default;
};

TState StateOf(const TDocument& doc, const TSettings& settings) {
    TState s{DocumentFileLines(doc, ','),
             SettingsFileLines(settings, ','),
             {},
             {},
             doc.AutoScaleOn,
             doc.AutoScaleBackup,
             doc.ColorCounter};
    for (int i = 0; i < doc.GraphCount(); ++i) {
        s.Points.push_back(doc.Graph(i).Points);
        s.Breaks.push_back(doc.Graph(i).Breaks);
    }
    return s;
}

/// One user at random, acting through the document's steps as the dialogs and the list do.
class TRandomUser {
public:
    TRandomUser(TDocument& doc, TSettings& settings, unsigned seed)
        : Doc(doc), Settings(settings), Random(seed) {}

    /// One action; true when it left a step.
    bool Act() {
        const int before = Doc.History().index();
        switch (Pick(9)) {
        case 0:
        case 1:
            AddFormula();
            break;
        case 2:
            AddTable();
            break;
        case 3:
            Edit();
            break;
        case 4:
            if (Doc.GraphCount() > 0)
                Doc.DeleteStep(Pick(Doc.GraphCount()), Settings);
            break;
        case 5:
        case 6:
            if (Doc.GraphCount() > 0) {
                const int i = Pick(Doc.GraphCount());
                Doc.TickStep(i, !Doc.Visible(i), Settings);
            }
            break;
        case 7:
            ChangeSettings();
            break;
        default:
            Doc.AutoScaleStep(!Doc.AutoScaleOn, Settings);
            break;
        }
        return Doc.History().index() == before + 1;
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Random); }

private:
    TGraphic RandomFormulaGraph() {
        const double a = Pick(8) - 4;
        const double b = a + 1 + Pick(6);
        TGraphic g;
        switch (Pick(5)) {
        case 0: {
            // Poles and jumps among them: their breaks come back with the points.
            const char* formulas[] = {"sin(x)", "x^2-1", "tg(x)", "round(x)"};
            g = MakeGraph(KindYofX, formulas[Pick(4)], a, b, 20 + Pick(40));
            break;
        }
        case 1:
            g = MakeGraph(KindXofY, Pick(2) ? "y/2+1" : "1/y", a, b, 30);
            break;
        case 2:
            g = MakeGraph(KindPolar, "1+q/3", 0, 6, 40);
            break;
        case 3:
            g = MakeGraph(KindParametric, "cos(u)*3", a, b, 25, -1, 1, 50, "u");
            break;
        default:
            g = MakeGraph(KindSurface, "x*y", a, b, 6, a, b, 5);
            break;
        }
        g.SetColor(static_cast<TColor>(Pick(0xFFFFFF)));
        return g;
    }

    void AddFormula() {
        TGraphic g = RandomFormulaGraph();
        Fill_Pixels_Graphic(g, Settings, Ctx);
        Doc.AddStep(std::move(g), Settings, "добавление графика");
    }

    void AddTable() {
        TGraphic g;
        g.Kind = KindTable;
        for (int i = 0, n = 1 + Pick(6); i < n; ++i)
            g.Points.push_back({double(Pick(20) - 10), double(Pick(20) - 10), double(Pick(5))});
        g.SetColor(static_cast<TColor>(Pick(0xFFFFFF)));
        g.BoundMinX = -10;
        g.BoundMaxX = 10;
        g.BoundMinY = -10;
        g.BoundMaxY = 10;
        Doc.AddStep(std::move(g), Settings, "добавление таблицы");
    }

    void Edit() {
        if (Doc.GraphCount() == 0)
            return;
        const int i = Pick(Doc.GraphCount());
        TGraphic g = Doc.Graph(i);
        if (g.Kind == KindTable) {
            g.Points.push_back({double(Pick(9)), double(Pick(9)), 0});
        } else {
            const std::uint8_t kind = g.Kind;
            g = RandomFormulaGraph();
            if (Pick(2) == 0 && kind != KindSurface)
                g.Building = static_cast<std::uint8_t>(Pick(3));
            Fill_Pixels_Graphic(g, Settings, Ctx);
        }
        Doc.EditStep(i, std::move(g), Settings);
    }

    void ChangeSettings() {
        TSettings s = Settings;
        if (Pick(4) == 0) {
            Settings_Default(s);
        } else {
            s.MinX = -1 - Pick(12);
            s.MaxX = 1 + Pick(12);
            s.MinY = -1 - Pick(12);
            s.MaxY = 1 + Pick(12);
            s.AxisX = Pick(2) == 0;
        }
        std::vector<TDocument::TResampleCopy> copies = Doc.FormulaGraphCopies();
        SampleCopies(copies, s, Ctx);
        TAutoScaleBackup backup = Doc.AutoScaleBackup;
        if (Doc.AutoScaleOn)
            CopySettingsIntoBackup(s, backup);
        Doc.SettingsStep(s, backup, std::move(copies), Settings, Ctx, "изменение настроек");
    }

    TDocument& Doc;
    TSettings& Settings;
    std::mt19937 Random;
    kurvant::TFormulaContext Ctx = Context(',');
};

int StepsFromEnvironment(int fallback) {
    const char* text = std::getenv("KURVANT_HISTORY_STEPS");
    const int steps = text ? std::atoi(text) : 0;
    return steps > 0 ? steps : fallback;
}

class HistoryProperty : public ::testing::TestWithParam<unsigned> {};

TEST_P(HistoryProperty, EveryPointOfTheHistoryComesBackExactly) {
    TDocument doc;
    TSettings settings = DefaultSettings();
    QUndoStack& history = doc.History();
    history.setUndoLimit(0); // the whole run stays undoable here; the limit has a test of its own
    TRandomUser user(doc, settings, GetParam());
    std::vector<TState> states{StateOf(doc, settings)};
    const int steps = StepsFromEnvironment(400);
    for (int n = 0; n < steps; ++n) {
        if (user.Act()) {
            // A new step drops the ones that were undone before it.
            states.resize(history.index());
            states.push_back(StateOf(doc, settings));
        } else {
            ASSERT_EQ(StateOf(doc, settings), states.at(history.index()))
                << "an action without a step, " << n;
        }
        ASSERT_EQ(history.count() + 1, static_cast<int>(states.size()));
        // Now and then back or forth somewhere, and on from there.
        if (user.Pick(25) == 0) {
            history.setIndex(user.Pick(history.count() + 1));
            ASSERT_EQ(StateOf(doc, settings), states.at(history.index()))
                << "moved to " << history.index();
        }
    }
    // Some graph of the run had breaks, so they were put back too.
    const bool broken = std::any_of(states.begin(), states.end(), [](const TState& state) {
        return std::any_of(state.Breaks.begin(), state.Breaks.end(),
                           [](const std::vector<bool>& b) { return !b.empty(); });
    });
    EXPECT_TRUE(broken);
    const int end = history.index();
    history.setIndex(0);
    EXPECT_EQ(StateOf(doc, settings), states.front()) << "undo of everything";
    history.setIndex(end);
    EXPECT_EQ(StateOf(doc, settings), states.at(end)) << "redo back to the end";
    history.setIndex(history.count());
    EXPECT_EQ(StateOf(doc, settings), states.back()) << "redo of everything";
    // As the menu does it: a settings step is sampled beforehand, and now and then the user
    // cancels that sampling, which leaves everything where it was.
    for (int n = 0; n < steps; ++n) {
        const int at = history.index();
        const bool cancel = user.Pick(4) == 0;
        bool asked = false;
        const TDocument::TSamplingRunner run =
            [&](std::uint64_t, const std::function<void(kurvant::TBatchControl&)>& work) {
                asked = true;
                kurvant::TBatchControl control;
                work(control);
                return !cancel;
            };
        const bool moved = user.Pick(2) == 0 ? doc.UndoWith(run) : doc.RedoWith(run);
        EXPECT_EQ(moved, !(asked && cancel)) << "at " << at;
        if (asked && cancel) {
            ASSERT_EQ(history.index(), at) << "a cancelled sampling moved the history";
        }
        ASSERT_EQ(StateOf(doc, settings), states.at(history.index())) << "at " << history.index();
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, HistoryProperty, ::testing::Values(1u, 24u, 20240607u));

TEST(History, KeepsTheLastHundredStepsAndStartsEmptyOnNewAndOpen) {
    TDocument doc;
    TSettings settings = DefaultSettings();
    std::vector<TState> states{StateOf(doc, settings)};
    for (int i = 0; i < 130; ++i) {
        TGraphic g = MakeGraph(KindYofX, "x", -1, 1, 4);
        Fill_Pixels_Graphic(g, settings, Context(','));
        if (doc.GraphCount() == MaxGraphs)
            doc.DeleteStep(0, settings);
        else
            doc.AddStep(std::move(g), settings, "добавление графика");
        states.push_back(StateOf(doc, settings));
    }
    EXPECT_EQ(doc.History().count(), HistoryLimit);
    while (doc.History().canUndo())
        doc.History().undo();
    EXPECT_EQ(StateOf(doc, settings), states.at(130 - HistoryLimit));

    doc.NewDocument();
    EXPECT_EQ(doc.History().count(), 0);
    doc.AddStep(MakeGraph(KindYofX, "x", -1, 1, 4), settings, "добавление графика");
    TDocument opened;
    doc.TakeOpened(opened, false);
    EXPECT_EQ(doc.History().count(), 0);
}

// One row per step: its name, and that undo puts the list back as it was.
struct TStepRow {
    const char* Name;
    void (*Step)(TDocument&, TSettings&);
    const char* Text;
};

const TStepRow StepRows[] = {
    {"Delete", [](TDocument& d, TSettings& s) { d.DeleteStep(1, s); }, "удаление графика"},
    {"Edit",
     [](TDocument& d, TSettings& s) { d.EditStep(0, MakeGraph(KindYofX, "x*3", -2, 2, 8), s); },
     "изменение графика"},
    {"Untick", [](TDocument& d, TSettings& s) { d.TickStep(2, false, s); },
     "снятие отметки графика"},
    {"AutoScaleOn", [](TDocument& d, TSettings& s) { d.AutoScaleStep(true, s); },
     "включение автоматического масштабирования"},
};

class HistoryStep : public ::testing::TestWithParam<TStepRow> {};

TEST_P(HistoryStep, IsNamedAndUndoneInPlace) {
    TDocument doc;
    TSettings settings = DefaultSettings();
    for (const char* f : {"x", "x^2", "x^3"}) {
        TGraphic g = MakeGraph(KindYofX, f, -1, 1, 10);
        Fill_Pixels_Graphic(g, settings, Context(','));
        doc.AddStep(std::move(g), settings, "добавление графика");
    }
    const TState before = StateOf(doc, settings);
    const TGraphic* second = &doc.Graph(1);
    GetParam().Step(doc, settings);
    const TState after = StateOf(doc, settings);
    EXPECT_NE(after, before);
    EXPECT_EQ(doc.History().undoText().toStdString(), GetParam().Text);
    doc.History().undo();
    EXPECT_EQ(StateOf(doc, settings), before);
    EXPECT_EQ(doc.Caption(1), "Y(X) = x^2");
    if (std::string(GetParam().Name) != "Delete") {
        EXPECT_EQ(&doc.Graph(1), second) << "the records stay the same objects";
    }
    doc.History().redo();
    EXPECT_EQ(StateOf(doc, settings), after);
}

INSTANTIATE_TEST_SUITE_P(Steps, HistoryStep, ::testing::ValuesIn(StepRows),
                         [](const auto& row) { return std::string(row.param.Name); });

// Undo and redo of a settings step sample the graphs through the runner they are given (the
// progress window), once, with the work it takes; other steps sample nothing.
TEST(History, OnlySettingsStepsSampleThroughTheRunner) {
    TDocument doc;
    TSettings settings = DefaultSettings();
    kurvant::TFormulaContext context = Context(',');
    TGraphic g = MakeGraph(KindYofX, "x", -5, 5, 40);
    Fill_Pixels_Graphic(g, settings, context);
    doc.AddStep(std::move(g), settings, "добавление графика");
    TSettings narrower = settings;
    narrower.MinX = -2;
    narrower.MaxX = 2;
    std::vector<TDocument::TResampleCopy> copies = doc.FormulaGraphCopies();
    SampleCopies(copies, narrower, context);
    doc.SettingsStep(narrower, doc.AutoScaleBackup, std::move(copies), settings, context,
                     "изменение настроек");
    std::vector<std::uint64_t> totals;
    const TDocument::TSamplingRunner run =
        [&](std::uint64_t total, const std::function<void(kurvant::TBatchControl&)>& work) {
            totals.push_back(total);
            kurvant::TBatchControl control;
            work(control);
            return true;
        };
    EXPECT_TRUE(doc.UndoWith(run)); // the settings step: sampled over [-5, 5] again
    EXPECT_EQ(settings.MinX, DefaultSettings().MinX);
    EXPECT_DOUBLE_EQ(doc.Graph(0).Points.front().x, -5);
    EXPECT_TRUE(doc.UndoWith(run)); // the added graph: nothing to sample
    EXPECT_TRUE(doc.RedoWith(run));
    EXPECT_TRUE(doc.RedoWith(run)); // the settings step again: over [-2, 2]
    EXPECT_DOUBLE_EQ(doc.Graph(0).Points.front().x, -2);
    ASSERT_EQ(totals.size(), 2u);
    EXPECT_GT(totals[0], 0u);
    EXPECT_EQ(totals[0], totals[1]);
}

TEST(History, UndoKeepsAViewTurnedSinceTheStepWhenTheStepLeftTheViewAlone) {
    TDocument doc;
    TSettings settings = DefaultSettings();
    doc.AddStep(MakeGraph(KindYofX, "x", -1, 1, 4), settings, "добавление графика");
    doc.View.AngleX = 30; // the mouse turns the view; not a step
    doc.History().undo();
    EXPECT_EQ(doc.GraphCount(), 0);
    EXPECT_EQ(doc.View.AngleX, 30);
}

} // namespace

// The document owner: collection operations, notifications and the GUI steps.

#include "graph_helpers.h"
#include "graphs/autoscale.h"
#include "graphs/document.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace graphs_test;

namespace {

TGraphic Formula(const std::string& text) {
    TGraphic g = MakeGraph(KindYofX, text, -1, 1, 3);
    return g;
}

struct TRecorder {
    std::vector<std::pair<TDocumentChange, int>> Changes;
    void Attach(TDocument& d) {
        d.OnChanged = [this](TDocumentChange c, int i) { Changes.emplace_back(c, i); };
    }
};

} // namespace

TEST(Document, StartsEmpty) {
    const TDocument d;
    EXPECT_EQ(d.GraphCount(), 0);
    EXPECT_EQ(d.ColorCounter, 0);
    EXPECT_EQ(d.EditMode, 0);
    EXPECT_TRUE(d.DocumentFileName.empty());
    EXPECT_FALSE(d.AutoScaleOn);
}

TEST(Document, AddAppendsTickedWithCaptionAndCountsColours) {
    TDocument d;
    TRecorder r;
    r.Attach(d);
    EXPECT_EQ(d.Add(Formula("sin(x)")), 0);
    EXPECT_EQ(d.Add(Formula("x")), 1);
    EXPECT_EQ(d.GraphCount(), 2);
    EXPECT_EQ(d.Caption(0), "Y(X) = sin(x)");
    EXPECT_EQ(d.Caption(1), "Y(X) = x");
    EXPECT_TRUE(d.Visible(0));
    EXPECT_TRUE(d.Visible(1));
    EXPECT_EQ(d.ColorCounter, 2);
    ASSERT_EQ(r.Changes.size(), 2u);
    EXPECT_EQ(r.Changes[1], std::make_pair(TDocumentChange::Added, 1));
}

TEST(Document, HundredGraphsRefuseAnotherUntilOneIsDeleted) {
    TDocument d;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(d.Add(Formula("x")), i);
    EXPECT_FALSE(d.CanAdd());
    TGraphic table;
    table.Kind = KindTable;
    EXPECT_EQ(d.Add(Formula("x")), -1);
    EXPECT_EQ(d.Add(table), -1);
    EXPECT_EQ(d.GraphCount(), 100);
    EXPECT_EQ(d.ColorCounter, 100);
    d.Delete(57);
    EXPECT_TRUE(d.CanAdd());
    EXPECT_EQ(d.Add(table), 99);
    EXPECT_EQ(d.Caption(99), "Таблица: 0 (.)");
}

TEST(Document, DeletingPositionZeroOfThreeMovesTheOthersDown) {
    TDocument d;
    TRecorder r;
    d.Add(Formula("1"));
    d.Add(Formula("2"));
    d.Add(Formula("3"));
    d.SetVisible(2, false);
    const TGraphic* second = &d.Graph(1);
    const TGraphic* third = &d.Graph(2);
    r.Attach(d);
    d.Delete(0);
    ASSERT_EQ(d.GraphCount(), 2);
    EXPECT_EQ(&d.Graph(0), second);
    EXPECT_EQ(&d.Graph(1), third);
    EXPECT_EQ(d.Caption(0), "Y(X) = 2");
    EXPECT_EQ(d.Caption(1), "Y(X) = 3");
    EXPECT_TRUE(d.Visible(0));
    EXPECT_FALSE(d.Visible(1)); // the tick moves with its graph
    EXPECT_EQ(d.ColorCounter, 3);
    ASSERT_EQ(r.Changes.size(), 1u);
    EXPECT_EQ(r.Changes[0], std::make_pair(TDocumentChange::Deleted, 0));
}

TEST(Document, DeleteOutOfRangeDoesNothing) {
    TDocument d;
    d.Add(Formula("1"));
    d.Delete(1);
    d.Delete(-1);
    EXPECT_EQ(d.GraphCount(), 1);
}

TEST(Document, EditKeepsObjectPositionAndTickAndReplacesCaption) {
    TDocument d;
    d.Add(Formula("1"));
    d.Add(Formula("2"));
    d.Add(Formula("3"));
    d.SetVisible(1, false);
    const TGraphic* object = &d.Graph(1);
    TRecorder r;
    r.Attach(d);
    TGraphic edited = MakeGraph(KindParametric, "cos(u)", -1, 1, 10, -1, 1, 50, "sin(u)");
    d.Replace(1, edited);
    EXPECT_EQ(&d.Graph(1), object);
    EXPECT_EQ(d.Graph(1).Kind, KindParametric);
    EXPECT_EQ(d.Caption(1), "X(U) = cos(u); Y(U) = sin(u)");
    EXPECT_FALSE(d.Visible(1));
    EXPECT_EQ(d.Caption(0), "Y(X) = 1");
    EXPECT_EQ(d.Caption(2), "Y(X) = 3");
    EXPECT_EQ(d.ColorCounter, 3);
    ASSERT_EQ(r.Changes.size(), 1u);
    EXPECT_EQ(r.Changes[0], std::make_pair(TDocumentChange::Replaced, 1));
}

TEST(Document, ClearEmptiesAndKeepsColourCounterForTheCaller) {
    TDocument d;
    d.Add(Formula("1"));
    d.Add(Formula("2"));
    TRecorder r;
    r.Attach(d);
    d.Clear();
    EXPECT_EQ(d.GraphCount(), 0);
    EXPECT_EQ(d.ColorCounter, 2);
    ASSERT_EQ(r.Changes.size(), 1u);
    EXPECT_EQ(r.Changes[0].first, TDocumentChange::Cleared);
}

TEST(Document, VisibilityAndCaptionChangesAreReportedOnlyWhenTheyChange) {
    TDocument d;
    d.Add(Formula("1"));
    TRecorder r;
    r.Attach(d);
    d.SetVisible(0, true); // no change
    d.SetVisible(0, false);
    d.SetCaption(0, "anything");
    EXPECT_EQ(d.Caption(0), "anything");
    ASSERT_EQ(r.Changes.size(), 2u);
    EXPECT_EQ(r.Changes[0], std::make_pair(TDocumentChange::VisibilityChanged, 0));
    EXPECT_EQ(r.Changes[1], std::make_pair(TDocumentChange::CaptionChanged, 0));
}

TEST(Document, ReplaceGraphsSwapsTheWholeListAtOnce) {
    TDocument d;
    d.Add(Formula("1"));
    std::vector<TGraphEntry> entries(3);
    entries[0].Graphic = std::make_unique<TGraphic>(Formula("a"));
    entries[0].Caption = "first";
    entries[0].Visible = false;
    entries[2].Graphic = std::make_unique<TGraphic>(Formula("b"));
    entries[2].Caption = "second";
    TRecorder r;
    r.Attach(d);
    d.ReplaceGraphs(std::move(entries));
    ASSERT_EQ(d.GraphCount(), 2); // the entry without a record is dropped
    EXPECT_EQ(d.Caption(0), "first");
    EXPECT_FALSE(d.Visible(0));
    EXPECT_EQ(d.Caption(1), "second");
    ASSERT_EQ(r.Changes.size(), 1u);
    EXPECT_EQ(r.Changes[0].first, TDocumentChange::Reset);
}

TEST(Document, ResampleAllSkipsTables) {
    const TSettings s = DefaultSettings();
    TDocument d;
    d.Add(MakeGraph(KindYofX, "x", -1, 1, 3));
    TGraphic table;
    table.Kind = KindTable;
    table.Points = {{5, 6, 7}};
    d.Add(table);
    d.Add(MakeGraph(KindSurface, "x*y", -1, 1, 2, -1, 1, 2));
    d.ResampleAll(s, Context(','));
    EXPECT_EQ(d.Graph(0).Points.size(), 3u);
    EXPECT_EQ(d.Graph(1).Points, (std::vector<TPoint3D>{{5, 6, 7}}));
    EXPECT_EQ(d.Graph(2).Points.size(), 4u);
    EXPECT_EQ(d.Graph(2).Points[3], (TPoint3D{1, 1, 1}));
}

TEST(Document, GraphAddedWhileTwentyAreTickedIsStoredUnticked) {
    TDocument d;
    int messages = 0;
    d.Hooks.TooManyTicked = [&] { ++messages; };
    for (int i = 0; i < 20; ++i)
        d.Add(Formula("x"));
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(d.VisibleCount(), 20);
    // The 21st and every later graph: stored, unticked, and the user is told each time.
    EXPECT_EQ(d.Add(Formula("x^2")), 20);
    EXPECT_FALSE(d.Visible(20));
    EXPECT_EQ(messages, 1);
    for (int i = 0; i < 79; ++i)
        d.Add(Formula("x"));
    EXPECT_EQ(d.GraphCount(), 100);
    EXPECT_EQ(d.VisibleCount(), 20);
    EXPECT_EQ(messages, 80);
    // With one tick fewer, the next graph is ticked again.
    d.Delete(0);
    d.SetVisible(1, false);
    EXPECT_EQ(d.VisibleCount(), 18);
    d.Add(Formula("x"));
    EXPECT_TRUE(d.Visible(99));
    EXPECT_EQ(messages, 80);
}

TEST(Document, LimitTickedUnticksFromTheEnd) {
    TDocument d;
    for (int i = 0; i < 25; ++i)
        d.SetVisible(d.Add(Formula("x")), true);
    d.SetVisible(3, false);  // 24 ticked
    d.SetVisible(24, false); // 23 ticked
    EXPECT_TRUE(d.LimitTicked());
    EXPECT_EQ(d.VisibleCount(), 20);
    // The three ticked rows nearest the end, 21, 22 and 23, lose their ticks.
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(d.Visible(i), i != 3 && i < 21) << i;
    EXPECT_FALSE(d.LimitTicked());
}

TEST(Document, ListClickShowsMessageOnceThenAutoscalesAndRedraws) {
    TSettings s = DefaultSettings();
    TDocument d;
    std::vector<std::string> calls;
    d.Hooks.TooManyTicked = [&] { calls.push_back("message " + std::to_string(d.VisibleCount())); };
    d.Hooks.Redraw = [&] { calls.push_back("redraw " + std::to_string(d.VisibleCount())); };
    for (int i = 0; i < 21; ++i)
        d.SetVisible(d.Add(Formula("x")), true); // ticked in the list, as a click would
    calls.clear();                               // the 21st came in with the message already
    d.ListClickHandling(s);
    EXPECT_EQ(calls, (std::vector<std::string>{"message 21", "redraw 20"}));
    EXPECT_FALSE(d.Visible(20));
    calls.clear();
    d.ListClickHandling(s);
    EXPECT_EQ(calls, (std::vector<std::string>{"redraw 20"}));
}

TEST(Document, ListClickRunsAutoScaleWhenSwitchedOn) {
    TSettings s = DefaultSettings();
    s.Perspective = false;
    TDocument d;
    TGraphic g = MakeGraph(KindYofX, "3", -1, 1, 3);
    d.Add(g);
    d.Resample(0, s, Context(','));
    d.ListClickHandling(s); // off: nothing
    EXPECT_EQ(d.View.ScaleY, 0);
    d.AutoScaleOn = true;
    d.ListClickHandling(s);
    EXPECT_EQ(d.View.ScaleY, 1 / 1.1);
    EXPECT_EQ(d.View.ShiftY, -3);
}

TEST(Document, ProjectionXOYZeroesTheAnglesOnlyAndRedraws) {
    TDocument d;
    int redraws = 0;
    d.Hooks.Redraw = [&] { ++redraws; };
    d.View = {0.2, 0.3, 30, -45, 225, 1.5, -2.5};
    d.ProjectionXOY();
    EXPECT_EQ(d.View.AngleX, 0);
    EXPECT_EQ(d.View.AngleY, 0);
    EXPECT_EQ(d.View.AngleZ, 0);
    EXPECT_EQ(d.View.ScaleX, 0.2);
    EXPECT_EQ(d.View.ScaleY, 0.3);
    EXPECT_EQ(d.View.ShiftX, 1.5);
    EXPECT_EQ(d.View.ShiftY, -2.5);
    EXPECT_EQ(redraws, 1);
}

TEST(Document, WindowCaptionTexts) {
    EXPECT_EQ(WindowCaptionText(""), "Qel Kurvant ");
    EXPECT_EQ(WindowCaptionText("/home/u/plots/a.qel"), "Qel Kurvant  - [a.qel]");
    EXPECT_EQ(WindowCaptionText("/home/u/back\\slash.qel"), "Qel Kurvant  - [back\\slash.qel]");
    EXPECT_EQ(WindowCaptionText("plain.qel"), "Qel Kurvant  - [plain.qel]");
    TDocument d;
    std::string caption;
    d.ShowCaption("/tmp/x.qel"); // no hook: nothing happens
    d.Hooks.WindowCaption = [&](const std::string& c) { caption = c; };
    d.ShowCaption("/tmp/x.qel");
    EXPECT_EQ(caption, "Qel Kurvant  - [x.qel]");
}

namespace {

std::vector<TGraphEntry> Entries(int count, bool visible) {
    std::vector<TGraphEntry> entries;
    for (int i = 0; i < count; ++i) {
        TGraphEntry e;
        e.Graphic = std::make_unique<TGraphic>(MakeGraph(KindYofX, "x^2", -2, 2, 5));
        e.Caption = GraphCaption(*e.Graphic);
        e.Visible = visible;
        entries.push_back(std::move(e));
    }
    return entries;
}

} // namespace

TEST(DocumentOpen, AdoptOpenedRunsTheStepsInTheirOrder) {
    TSettings s = DefaultSettings();
    s.Perspective = false;
    TDocument d;
    d.Add(Formula("old"));
    d.View.ScaleY = 0.75;
    d.AutoScaleOn = true;
    std::vector<std::string> calls;
    d.Hooks.TooManyTicked = [&] { calls.push_back("message"); };
    d.Hooks.Redraw = [&] {
        // Both redraws come before sampling: the list's click handling, then the projection.
        calls.push_back(d.Graph(0).Points.empty() ? "redraw unsampled" : "redraw sampled");
    };
    d.Hooks.WindowCaption = [&](const std::string& c) { calls.push_back(c); };
    const ViewState read{0.2, 99, 30, 40, 50, 1, 2};
    d.AdoptOpened(Entries(22, true), read, "/tmp/p.qel", s, Context(','));
    EXPECT_EQ(d.GraphCount(), 22);
    EXPECT_EQ(d.ColorCounter, 22);
    EXPECT_EQ(d.VisibleCount(), 20);
    EXPECT_FALSE(d.Visible(21));
    EXPECT_FALSE(d.Visible(20));
    EXPECT_EQ(d.DocumentFileName, "/tmp/p.qel");
    EXPECT_EQ(calls, (std::vector<std::string>{"message", "redraw unsampled", "redraw unsampled",
                                               "Qel Kurvant  - [p.qel]"}));
    ASSERT_EQ(d.Graph(21).Points.size(), 5u);
    EXPECT_EQ(d.Graph(21).Points[0], (TPoint3D{-2, 4, 0}));
    // Autoscaling on: angles projected to 0, then fitted to x -2..2, y 0..4.
    EXPECT_EQ(d.View.AngleX, 0);
    EXPECT_EQ(d.View.AngleZ, 0);
    EXPECT_EQ(d.View.ScaleX, (2.0 / 4) / 1.1);
    EXPECT_EQ(d.View.ShiftY, -2);
}

TEST(DocumentOpen, AdoptOpenedWithAutoScaleOffTakesTheViewAsRead) {
    TSettings s = DefaultSettings();
    TDocument d;
    d.View.ScaleY = 0.75;
    d.AdoptOpened(Entries(2, false), ViewState{0.2, 99, 30, 40, 50, 1, 2}, "a.qel", s,
                  Context('.'));
    EXPECT_EQ(d.View.ScaleX, 0.2);
    EXPECT_EQ(d.View.ScaleY, 0.75); // not stored in documents
    EXPECT_EQ(d.View.AngleX, 30);
    EXPECT_EQ(d.View.AngleY, 40);
    EXPECT_EQ(d.View.AngleZ, 50);
    EXPECT_EQ(d.View.ShiftX, 1);
    EXPECT_EQ(d.View.ShiftY, 2);
    EXPECT_EQ(d.VisibleCount(), 0);
    EXPECT_EQ(d.Graph(1).Points.size(), 5u); // hidden graphs are sampled too
    EXPECT_EQ(s.MinX, -10);
}

TEST(DocumentNew, EmptiesResetsTheViewAndTheName) {
    TDocument d;
    d.Add(Formula("1"));
    d.DocumentFileName = "/tmp/x.qel";
    d.View = {3, 0.5, 30, 40, 50, 1, 2};
    std::string caption = "unset";
    d.Hooks.WindowCaption = [&](const std::string& c) { caption = c; };
    d.NewDocument();
    EXPECT_EQ(d.GraphCount(), 0);
    EXPECT_EQ(d.ColorCounter, 0);
    EXPECT_TRUE(d.DocumentFileName.empty());
    EXPECT_EQ(caption, "Qel Kurvant ");
    EXPECT_EQ(d.View.ScaleX, 0.1);
    EXPECT_EQ(d.View.ScaleY, 0.5);
    EXPECT_EQ(d.View.AngleY, 0);
    EXPECT_EQ(d.View.ShiftX, 0);
    EXPECT_EQ(d.View.ShiftY, 0);
}

// The opening steps run on a document of its own and taken over afterwards leave the document
// as opening in place does, and call the hooks once, after the sampling.
TEST(DocumentOpen, TakingOverAnOpenedDocumentEqualsOpeningInPlace) {
    TSettings inPlaceSettings = DefaultSettings();
    TDocument inPlace;
    inPlace.AutoScaleOn = true;
    inPlace.AdoptOpened(Entries(22, true), ViewState{0.2, 99, 30, 40, 50, 1, 2}, "/tmp/p.qel",
                        inPlaceSettings, Context(','));

    TSettings settings = DefaultSettings();
    TDocument target;
    target.AutoScaleOn = true;
    target.Add(Formula("old"));
    std::vector<std::string> calls;
    target.Hooks.TooManyTicked = [&] { calls.push_back("message"); };
    target.Hooks.Redraw = [&] { calls.push_back("redraw"); };
    target.Hooks.WindowCaption = [&](const std::string& c) { calls.push_back(c); };
    TDocument opened;
    opened.AutoScaleOn = true;
    opened.AdoptOpened(Entries(22, true), ViewState{0.2, 99, 30, 40, 50, 1, 2}, "/tmp/p.qel",
                       settings, Context(','));
    target.TakeOpened(opened, true);

    EXPECT_EQ(calls, (std::vector<std::string>{"message", "Qel Kurvant  - [p.qel]", "redraw"}));
    ASSERT_EQ(target.GraphCount(), inPlace.GraphCount());
    for (int i = 0; i < target.GraphCount(); ++i) {
        EXPECT_EQ(target.Visible(i), inPlace.Visible(i)) << i;
        EXPECT_EQ(target.Graph(i).Points, inPlace.Graph(i).Points) << i;
    }
    EXPECT_EQ(target.ColorCounter, inPlace.ColorCounter);
    EXPECT_EQ(target.DocumentFileName, inPlace.DocumentFileName);
    EXPECT_EQ(target.View.ScaleX, inPlace.View.ScaleX);
    EXPECT_EQ(target.View.ShiftY, inPlace.View.ShiftY);
    EXPECT_EQ(settings.MaxX, inPlaceSettings.MaxX);
}

// Sampling copies off the document and putting them in place equals `ResampleAll`; the
// document is untouched until then, and tables are neither copied nor changed.
TEST(DocumentResample, CopiesSampledAndInstalledEqualResampleAll) {
    TSettings narrow = DefaultSettings();
    narrow.MinX = 0;
    narrow.MaxX = 1;
    TDocument a;
    TDocument b;
    for (TDocument* d : {&a, &b}) {
        d->Add(Formula("x*x"));
        TGraphic table;
        table.Kind = KindTable;
        table.Points = {{1, 2, 3}};
        d->Add(std::move(table));
        d->Add(Formula("2-x"));
        d->ResampleAll(DefaultSettings(), Context(','));
    }
    a.ResampleAll(narrow, Context(','));

    std::vector<TDocument::TResampleCopy> copies = b.FormulaGraphCopies();
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[1].Index, 2);
    const std::vector<TPoint3D> before = b.Graph(0).Points;
    SampleCopies(copies, narrow, Context(','));
    EXPECT_EQ(b.Graph(0).Points, before);
    std::vector<int> resampled;
    b.OnChanged = [&](TDocumentChange change, int index) {
        if (change == TDocumentChange::Resampled)
            resampled.push_back(index);
    };
    b.InstallResampled(std::move(copies));
    EXPECT_EQ(resampled, (std::vector<int>{0, 2}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(b.Graph(i).Points, a.Graph(i).Points) << i;
    EXPECT_EQ(b.Graph(0).BoundMinX, 0);
    EXPECT_NE(b.Graph(0).Points, before);
}

// Automatic scaling and its switch with backup and restore.

#include "graph_helpers.h"
#include "graphs/autoscale.h"
#include "graphs/sampling.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace graphs_test;

namespace {

/// A table graph with a given bounding box: autoscale reads nothing else.
TGraphic Box(double loX, double hiX, double loY, double hiY) {
    TGraphic g;
    g.Kind = KindTable;
    g.BoundMinX = loX;
    g.BoundMaxX = hiX;
    g.BoundMinY = loY;
    g.BoundMaxY = hiY;
    return g;
}

struct TFixture {
    TSettings Settings = DefaultSettings();
    TDocument Document;
    TFixture() {
        Settings.Perspective = false;
        Document.AutoScaleOn = true;
        Document.View = {0.1, 0.1, 0, 0, 0, 0, 0};
    }
};

} // namespace

TEST(RoundToDecimals, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundToDecimals(0.25, 1), 2 * 0.1); // 2.5 tenths -> 2
    EXPECT_EQ(RoundToDecimals(0.75, 1), 8 * 0.1); // 7.5 tenths -> 8
    EXPECT_EQ(RoundToDecimals(1.1, 1), 11 * 0.1);
    EXPECT_EQ(RoundToDecimals(0.04, 1), 0);
    EXPECT_EQ(RoundToDecimals(1.54, 2), 154 * 0.01);
    EXPECT_EQ(RoundToDecimals(0.125, 2), 12 * 0.01); // 12.5 hundredths -> 12
    EXPECT_EQ(RoundToDecimals(-0.25, 1), -2 * 0.1);
}

TEST(AutoScale, ParabolaOnMinusTenToTen) {
    TFixture f;
    TGraphic g = MakeGraph(KindYofX, "x^2", -10, 10, 500);
    Fill_Pixels_Graphic(g, f.Settings, Context(','));
    const double loY = g.BoundMinY, hiY = g.BoundMaxY;
    ASSERT_NEAR(loY, 0.0004, 0.00001); // no sample falls on 0
    ASSERT_EQ(hiY, 100);
    f.Document.Add(g);
    AutoScale(f.Document, f.Settings);
    const ViewState& v = f.Document.View;
    EXPECT_EQ(v.ScaleX, (2.0 / 20) / 1.1);
    EXPECT_EQ(v.ShiftX, 0);
    const double d = std::fabs(hiY - loY);
    EXPECT_EQ(v.ScaleY, (2 / d) / 1.1);
    EXPECT_EQ(v.ShiftY, -(loY + d / 2));
    EXPECT_NEAR(v.ScaleY, 0.018182, 1e-6);
    EXPECT_NEAR(v.ShiftY, -50.0002, 1e-4);
    EXPECT_DOUBLE_EQ(f.Settings.StepNumeration_X, 1.1);
    EXPECT_DOUBLE_EQ(f.Settings.StepNumeration_Y, 5.5);
    EXPECT_EQ(f.Settings.MinX, -10);
    EXPECT_EQ(f.Settings.MaxX, 10);
    EXPECT_EQ(f.Settings.MinY, -10);
    EXPECT_EQ(f.Settings.MaxY, 100);
    // Untouched: z, angles, other settings.
    EXPECT_EQ(f.Settings.MinZ, -10);
    EXPECT_EQ(f.Settings.StepNumeration_Z, 1);
    EXPECT_EQ(f.Settings.StepMesh, 1);

    // With perspective the scales grow by 1.4 and the steps become 1.54 and 7.7.
    TFixture p;
    p.Settings.Perspective = true;
    p.Document.Add(g);
    AutoScale(p.Document, p.Settings);
    EXPECT_EQ(p.Document.View.ScaleX, (2.0 / 20) / 1.1 * 1.4);
    EXPECT_EQ(p.Document.View.ScaleY, (2 / d) / 1.1 * 1.4);
    EXPECT_DOUBLE_EQ(p.Settings.StepNumeration_X, 1.54);
    EXPECT_DOUBLE_EQ(p.Settings.StepNumeration_Y, 7.7);
}

TEST(AutoScale, ConstantGraphHasZeroHeight) {
    TFixture f;
    TGraphic g = MakeGraph(KindYofX, "3", -10, 10, 500);
    Fill_Pixels_Graphic(g, f.Settings, Context(','));
    f.Document.Add(g);
    AutoScale(f.Document, f.Settings);
    EXPECT_EQ(f.Document.View.ScaleY, 1 / 1.1);
    EXPECT_EQ(f.Document.View.ShiftY, -3);
    // 1 / (10 / 1.1) = 0.11 rounds to 0.1.
    EXPECT_DOUBLE_EQ(f.Settings.StepNumeration_Y, 0.1);
}

TEST(AutoScale, GraphWithoutDefinedPointsFitsTheSettingsIntervals) {
    TFixture f;
    f.Settings.MinY = -4;
    f.Settings.MaxY = 6;
    TGraphic g = MakeGraph(KindYofX, "sqrt(x)", -10, -1, 10);
    Fill_Pixels_Graphic(g, f.Settings, Context(','));
    ASSERT_EQ(g.BoundMinY, 1e11);
    f.Document.Add(g);
    AutoScale(f.Document, f.Settings);
    // y: -4..6, d = 10, centre 1.
    EXPECT_EQ(f.Document.View.ScaleY, (2.0 / 10) / 1.1);
    EXPECT_EQ(f.Document.View.ShiftY, -(-4 + 5.0));
    // x: -10..-1 set by sampling, d = 9.
    EXPECT_EQ(f.Document.View.ScaleX, (2.0 / 9) / 1.1);
    EXPECT_EQ(f.Document.View.ShiftX, -(-10 + 4.5));
    EXPECT_EQ(f.Settings.MinY, -4);
    EXPECT_EQ(f.Settings.MaxY, 6);
}

TEST(AutoScale, RangeOfTwoThousandUsesTheFixedScale) {
    TFixture f;
    f.Document.Add(Box(-1000, 1000, -1, 1));
    AutoScale(f.Document, f.Settings);
    EXPECT_EQ(f.Document.View.ScaleX, 0.004 / 1.1);
    EXPECT_EQ(f.Document.View.ShiftX, 500);
    EXPECT_EQ(f.Settings.MinX, -1000);
    EXPECT_EQ(f.Settings.MaxX, 1000);
    // 1 / (10 * 0.004 / 1.1) = 27.5 -> 27.5 exactly? 27.499.. or 27.500..; either way 27.5.
    EXPECT_DOUBLE_EQ(f.Settings.StepNumeration_X, 27.5);
}

TEST(AutoScale, RangesBeyondAThousandAreLimited) {
    TFixture f;
    f.Document.Add(Box(1500, 2500, -3000, -2000));
    AutoScale(f.Document, f.Settings);
    // Settings widen up to the limits: MaxX 1000, MinY -1000; the other ends stay.
    EXPECT_EQ(f.Settings.MinX, -10);
    EXPECT_EQ(f.Settings.MaxX, 1000);
    EXPECT_EQ(f.Settings.MinY, -1000);
    EXPECT_EQ(f.Settings.MaxY, 10);
    // x: lo 1500 -> 900 (above 1000), hi 2500 -> 1000: d = 100.
    EXPECT_EQ(f.Document.View.ScaleX, (2.0 / 100) / 1.1);
    EXPECT_EQ(f.Document.View.ShiftX, -(900 + 50.0));
    // y: lo -3000 -> -1000, hi -2000 -> -900: d = 100.
    EXPECT_EQ(f.Document.View.ScaleY, (2.0 / 100) / 1.1);
    EXPECT_EQ(f.Document.View.ShiftY, -(-1000 + 50.0));
}

TEST(AutoScale, TinyRangeUsesUnitScaleAndSmallStepBecomesTwoHundredths) {
    TFixture f;
    f.Document.Add(Box(2, 2.005, -1, 1));
    AutoScale(f.Document, f.Settings);
    EXPECT_EQ(f.Document.View.ScaleX, 1 / 1.1);
    EXPECT_EQ(f.Document.View.ShiftX, -2);
    // 1 / (10 / 1.1) = 0.11 -> 0.1; not below 0.05.
    EXPECT_DOUBLE_EQ(f.Settings.StepNumeration_X, 0.1);
    // y: d = 2: scale 1/1.1 as well.
    EXPECT_EQ(f.Document.View.ScaleY, 1 / 1.1);
}

TEST(AutoScale, UnionOfTheTickedGraphsInListOrder) {
    TFixture f;
    f.Document.Add(Box(1e11, -1e11, -2, 3));  // first ticked: no x point -> settings' -10..10
    f.Document.Add(Box(-50, 0, -100, 0));     // not ticked
    f.Document.Add(Box(-20, 5, 1e11, -1e11)); // start values never win
    f.Document.Add(Box(0, 30, -6, 1));
    f.Document.SetVisible(1, false);
    AutoScale(f.Document, f.Settings);
    // x: -20..30, d = 50; y: -6..3, d = 9.
    EXPECT_EQ(f.Document.View.ScaleX, (2.0 / 50) / 1.1);
    EXPECT_EQ(f.Document.View.ShiftX, -(-20 + 25.0));
    EXPECT_EQ(f.Document.View.ScaleY, (2.0 / 9) / 1.1);
    EXPECT_EQ(f.Document.View.ShiftY, -(-6 + 4.5));
    EXPECT_EQ(f.Settings.MinX, -20);
    EXPECT_EQ(f.Settings.MaxX, 30);
    EXPECT_EQ(f.Settings.MinY, -10);
    EXPECT_EQ(f.Settings.MaxY, 10);
}

TEST(AutoScale, SettingsIntervalsNeverShrink) {
    TFixture f;
    f.Document.Add(Box(-1, 1, -1, 1));
    AutoScale(f.Document, f.Settings);
    EXPECT_EQ(f.Settings.MinX, -10);
    EXPECT_EQ(f.Settings.MaxX, 10);
    EXPECT_EQ(f.Settings.MinY, -10);
    EXPECT_EQ(f.Settings.MaxY, 10);
    EXPECT_EQ(f.Document.View.ScaleX, 1 / 1.1); // the view zooms to -1..1
    EXPECT_EQ(f.Document.View.ShiftX, 0);
}

TEST(AutoScale, DoesNothingWhenOffOrNothingTickedOrEmpty) {
    const TSettings before = [] {
        TSettings s = DefaultSettings();
        s.Perspective = false;
        return s;
    }();
    {
        TFixture f;
        AutoScale(f.Document, f.Settings); // no graph
        EXPECT_EQ(f.Document.View.ScaleX, 0.1);
    }
    {
        TFixture f;
        f.Document.AutoScaleOn = false;
        f.Document.Add(Box(-100, 100, -100, 100));
        AutoScale(f.Document, f.Settings);
        EXPECT_EQ(f.Document.View.ScaleX, 0.1);
        EXPECT_EQ(f.Settings.MaxX, before.MaxX);
    }
    {
        TFixture f;
        f.Document.Add(Box(-100, 100, -100, 100));
        f.Document.SetVisible(0, false);
        AutoScale(f.Document, f.Settings);
        EXPECT_EQ(f.Document.View.ScaleX, 0.1);
        EXPECT_EQ(f.Document.View.ShiftY, 0);
        EXPECT_EQ(f.Settings.MaxX, before.MaxX);
        EXPECT_EQ(f.Settings.StepNumeration_X, before.StepNumeration_X);
    }
}

TEST(AutoScaleSwitch, OnAndOffRestoresIntervalsStepsScaleAnglesAndShifts) {
    TSettings s = DefaultSettings();
    s.MinX = -3;
    s.MaxZ = 7;
    s.StepNumeration_Z = 2;
    TDocument d;
    d.View = {0.25, 0.5, 30, -45, 10, 1, 2};
    d.Add(Box(-400, 400, -50, 60));
    int redraws = 0;
    d.Hooks.Redraw = [&] { ++redraws; };

    SwitchAutoScaleOn(d, s);
    EXPECT_TRUE(d.AutoScaleOn);
    EXPECT_EQ(redraws, 1); // the XOY projection's redraw
    EXPECT_EQ(d.View.AngleX, 0);
    EXPECT_EQ(d.View.AngleY, 0);
    EXPECT_EQ(d.View.AngleZ, 0);
    EXPECT_EQ(d.View.ScaleX, 0.004 / 1.1 * 1.4); // d = 800 > 500; perspective on by default
    EXPECT_EQ(s.MinX, -400);
    const double fittedScaleY = d.View.ScaleY;

    // Meanwhile the user rotates and the settings change through autoscaling.
    d.View.AngleY = 77;
    d.View.ShiftX = 123;
    s.StepMesh = 5; // not part of the backup

    SwitchAutoScaleOff(d, s);
    EXPECT_FALSE(d.AutoScaleOn);
    EXPECT_EQ(redraws, 1); // no redraw when switching off
    EXPECT_EQ(s.MinX, -3);
    EXPECT_EQ(s.MaxX, 10);
    EXPECT_EQ(s.MinY, -10);
    EXPECT_EQ(s.MaxY, 10);
    EXPECT_EQ(s.MaxZ, 7);
    EXPECT_EQ(s.StepNumeration_X, 1);
    EXPECT_EQ(s.StepNumeration_Y, 1);
    EXPECT_EQ(s.StepNumeration_Z, 2);
    EXPECT_EQ(s.StepMesh, 5);
    EXPECT_EQ(d.View.ScaleX, 0.25);
    EXPECT_EQ(d.View.ScaleY, fittedScaleY); // ScaleY is not kept
    EXPECT_EQ(d.View.AngleX, 30);
    EXPECT_EQ(d.View.AngleY, -45);
    EXPECT_EQ(d.View.AngleZ, 10);
    EXPECT_EQ(d.View.ShiftX, 1);
    EXPECT_EQ(d.View.ShiftY, 2);
}

TEST(AutoScaleSwitch, SwitchingOnWithoutGraphsOnlyProjects) {
    TSettings s = DefaultSettings();
    TDocument d;
    d.View = {0.25, 0.5, 30, -45, 10, 1, 2};
    SwitchAutoScaleOn(d, s);
    EXPECT_EQ(d.View.ScaleX, 0.25);
    EXPECT_EQ(d.View.AngleX, 0);
    EXPECT_EQ(s.MinX, -10);
    SwitchAutoScaleOn(d, s); // already on: the backup is not overwritten
    d.View.ScaleX = 9;
    SwitchAutoScaleOff(d, s);
    EXPECT_EQ(d.View.ScaleX, 0.25);
    EXPECT_EQ(d.View.AngleX, 30);
    SwitchAutoScaleOff(d, s); // already off: nothing
    EXPECT_EQ(d.View.AngleX, 30);
}

TEST(AutoScaleSwitch, BackupHoldsTheNineFieldsAndTheViewWithoutScaleY) {
    TSettings s = DefaultSettings();
    s.MinX = -1, s.MaxX = 2, s.MinY = -3, s.MaxY = 4, s.MinZ = -5, s.MaxZ = 6;
    s.StepNumeration_X = 0.5, s.StepNumeration_Y = 0.25, s.StepNumeration_Z = 3;
    const ViewState v{0.7, 0.8, 1, 2, 3, 4, 5};
    const TAutoScaleBackup b = TakeAutoScaleBackup(s, v);
    TSettings t = DefaultSettings();
    ViewState w{9, 9, 9, 9, 9, 9, 9};
    RestoreAutoScaleBackup(b, t, w);
    EXPECT_EQ(t.MinX, -1);
    EXPECT_EQ(t.MaxX, 2);
    EXPECT_EQ(t.MinY, -3);
    EXPECT_EQ(t.MaxY, 4);
    EXPECT_EQ(t.MinZ, -5);
    EXPECT_EQ(t.MaxZ, 6);
    EXPECT_EQ(t.StepNumeration_X, 0.5);
    EXPECT_EQ(t.StepNumeration_Y, 0.25);
    EXPECT_EQ(t.StepNumeration_Z, 3);
    EXPECT_EQ(w.ScaleX, 0.7);
    EXPECT_EQ(w.ScaleY, 9);
    EXPECT_EQ(w.AngleX, 1);
    EXPECT_EQ(w.AngleY, 2);
    EXPECT_EQ(w.AngleZ, 3);
    EXPECT_EQ(w.ShiftX, 4);
    EXPECT_EQ(w.ShiftY, 5);
}

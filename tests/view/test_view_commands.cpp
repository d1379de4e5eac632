#include "support/machine_number.h"
#include "view/view_commands.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ViewState Standard() {
    ViewState v;
    v.ScaleX = 0.1;
    v.ScaleY = 0.1;
    return v;
}

// Drags in a mode: button down at `from`, one move event per listed point, button up.
void Drag(TViewNavigator& nav, ViewState& v, TMouseMode mode, std::pair<int, int> from,
          const std::vector<std::pair<int, int>>& moves) {
    nav.MouseDown(mode, from.first, from.second);
    for (auto [x, y] : moves)
        nav.MouseMove(v, x, y);
    nav.MouseUp(mode);
}

std::vector<std::pair<int, int>> Steps(int x0, int y0, int dx, int dy, int n) {
    std::vector<std::pair<int, int>> out;
    for (int i = 1; i <= n; ++i)
        out.push_back({x0 + dx * i, y0 + dy * i});
    return out;
}

TEST(ScaleDrag, EachMoveDownDividesByOnePointOne) {
    TViewNavigator nav;
    ViewState v = Standard();
    Drag(nav, v, TMouseMode::Scale, {100, 100}, Steps(100, 100, 0, 1, 10));
    EXPECT_NEAR(v.ScaleX, 0.1 / std::pow(1.1, 10), 1e-15);
    EXPECT_NEAR(v.ScaleX, 0.03855, 1e-5);
    // One factor per event, whatever its distance; a sideways move changes nothing.
    nav.MouseDown(TMouseMode::Scale, 0, 0);
    nav.MouseMove(v, 0, -300);
    EXPECT_NEAR(v.ScaleX, 0.1 / std::pow(1.1, 9), 1e-15);
    nav.MouseMove(v, 50, -300);
    EXPECT_NEAR(v.ScaleX, 0.1 / std::pow(1.1, 9), 1e-15);
}

TEST(ScaleDrag, LimitsAreCheckedBeforeTheStep) {
    TViewNavigator nav;
    ViewState v = Standard();
    v.ScaleX = 3.9;
    nav.MouseDown(TMouseMode::Scale, 0, 100);
    nav.MouseMove(v, 0, 99);
    EXPECT_DOUBLE_EQ(v.ScaleX, 3.9 * 1.1); // 4.29, outside the range for one move
    nav.MouseMove(v, 0, 98);
    EXPECT_EQ(v.ScaleX, 4 / 1.1);
    EXPECT_EQ(v.ScaleX, 3.6363636363636362);

    v.ScaleX = 0.0125;
    nav.MouseMove(v, 0, 99);
    EXPECT_DOUBLE_EQ(v.ScaleX, 0.0125 / 1.1);
    nav.MouseMove(v, 0, 100);
    EXPECT_EQ(v.ScaleX, 0.0132);
}

TEST(RotateDrag, OneDegreePerPixelWithinOneTurn) {
    TViewNavigator nav;
    ViewState v = Standard();
    Drag(nav, v, TMouseMode::RotateXY, {0, 0}, Steps(0, 0, 1, 0, 370));
    EXPECT_EQ(v.AngleY, 10);
    EXPECT_EQ(v.AngleX, 0);
    v = Standard();
    Drag(nav, v, TMouseMode::RotateXY, {0, 0}, Steps(0, 0, -1, 0, 10));
    EXPECT_EQ(v.AngleY, -10);
    v = Standard();
    Drag(nav, v, TMouseMode::RotateXY, {0, 0}, {{0, 400}}); // one big move down
    EXPECT_EQ(v.AngleX, 40);
    v = Standard();
    Drag(nav, v, TMouseMode::RotateZ, {0, 0}, {{-725, 30}});
    EXPECT_EQ(v.AngleZ, -5); // the remainder keeps the sign of the sum
    EXPECT_EQ(v.AngleX, 0);
}

TEST(RotateDrag, FractionalAnglesBecomeWholeHalvesToEven) {
    EXPECT_EQ(RotatedAngle(30.5, 0), 30);
    EXPECT_EQ(RotatedAngle(31.5, 0), 32);
    EXPECT_EQ(RotatedAngle(-30.5, 0), -30);
    EXPECT_EQ(RotatedAngle(359.6, 0), 0);
    EXPECT_EQ(RotatedAngle(-359, -1), 0);
    EXPECT_EQ(RotatedAngle(1e300, 0), std::fmod(1e300, 360.0)); // no overflow
    TViewNavigator nav;
    ViewState v = Standard();
    v.AngleX = 30.5;
    v.AngleY = 31.5;
    Drag(nav, v, TMouseMode::RotateXY, {10, 10}, {{10, 10}});
    EXPECT_EQ(v.AngleX, 30);
    EXPECT_EQ(v.AngleY, 32);
}

TEST(TranslateDrag, RightAndUpMoveTheSceneRightAndUp) {
    TViewNavigator nav;
    ViewState v = Standard();
    v.ScaleY = 0.2;
    Drag(nav, v, TMouseMode::Translate, {100, 100}, {{130, 80}});
    EXPECT_DOUBLE_EQ(v.ShiftX, 30 / (0.1 * 150));
    EXPECT_DOUBLE_EQ(v.ShiftY, 20 / (0.2 * 100));
}

TEST(Drag, NothingHappensWithoutAModeOrAfterTheButtonIsUp) {
    TViewNavigator nav;
    ViewState v = Standard();
    nav.MouseDown(TMouseMode::None, 0, 0);
    EXPECT_FALSE(nav.MouseMove(v, 50, 50));
    nav.MouseDown(TMouseMode::RotateZ, 0, 0);
    EXPECT_TRUE(nav.MouseMove(v, 5, 0));
    nav.MouseUp(TMouseMode::RotateZ);
    EXPECT_FALSE(nav.MouseMove(v, 50, 0));
    EXPECT_EQ(v.AngleZ, 5);
    EXPECT_FALSE(nav.Dragging());
}

TEST(Projections, SetTheAnglesAndKeepScaleAndShift) {
    ViewState v = Standard();
    v.ShiftX = 3;
    v.ScaleX = 0.7;
    struct Row {
        TProjection p;
        double x, y, z;
    };
    for (Row r : {Row{TProjection::XOY, 0, 0, 0}, Row{TProjection::XOZ, -90, 0, 0},
                  Row{TProjection::ZOY, 0, 90, 0}, Row{TProjection::XZY, 30, -45, 0},
                  Row{TProjection::YXZ, -60, 0, 225}}) {
        ApplyProjection(v, r.p);
        EXPECT_EQ(v.AngleX, r.x);
        EXPECT_EQ(v.AngleY, r.y);
        EXPECT_EQ(v.AngleZ, r.z);
    }
    EXPECT_EQ(v.ShiftX, 3);
    EXPECT_EQ(v.ScaleX, 0.7);
    CenterAxes(v);
    DefaultScale(v);
    EXPECT_EQ(v.ShiftX, 0);
    EXPECT_EQ(v.ScaleX, 0.1);
}

struct ReadoutCase {
    const char* name;
    double value;
    const char* text;
    friend void PrintTo(const ReadoutCase& c, std::ostream* os) { *os << c.name; }
};

class Readout : public ::testing::TestWithParam<ReadoutCase> {};

TEST_P(Readout, RoundsToThreeDecimalsByTruncation) {
    EXPECT_EQ(ReadoutText(GetParam().value, ','), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, Readout,
                         ::testing::Values(ReadoutCase{"positive_down", 1.2344, "1,234"},
                                           ReadoutCase{"negative_up", -1.2344, "-1,233"},
                                           ReadoutCase{"negative_down", -1.2346, "-1,234"},
                                           ReadoutCase{"half_up", 0.0005, "0,001"},
                                           ReadoutCase{"small_negative", -0.0004, "0"},
                                           ReadoutCase{"whole", 10, "10"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CursorReadout, ParallelViewCentreAndEdges) {
    ViewState v = Standard();
    v.ScaleY = 0.1 * 800 / 600.0;
    auto at = [&](double x, double y) {
        return *CursorReadout(v, false, x, y, TFrameSize::Plain(800, 600), '.');
    };
    EXPECT_EQ(at(400, 300).X, "0");
    EXPECT_EQ(at(400, 300).Y, "0");
    EXPECT_EQ(at(800, 300).X, "10");
    // -10 plus a half, truncated toward zero: the readout's rule shows -9.999 on the left edge.
    EXPECT_EQ(at(0, 300).X, "-9.999");
    // The top edge: 10 x ScaleX / ScaleY = 7.5.
    EXPECT_EQ(at(400, 0).Y, "7.5");
    v.ShiftX = -2;
    EXPECT_EQ(at(400, 300).X, "2");
}

// In perspective the corner of the view shows the corner of the frustum's section through the
// origin: half height 2.5 tan 30° = 2.5 / sqrt 3, half width that times the aspect ratio.
TEST(CursorReadout, PerspectiveFollowsTheFrustumAtEveryAspect) {
    ViewState v = Standard();
    for (const auto& [w, h] : {std::pair{800, 600}, std::pair{736, 627}, std::pair{300, 900}}) {
        const auto r = CursorReadout(v, true, w, 0, TFrameSize::Plain(w, h), ',');
        ASSERT_TRUE(r.has_value());
        const double halfHeight = 2.5 / std::sqrt(3.0);
        EXPECT_EQ(r->X, ReadoutText(halfHeight * w / h / 0.1, ',')) << w << "x" << h;
        EXPECT_EQ(r->Y, ReadoutText(halfHeight / 0.1, ',')) << w << "x" << h;
    }
    // The aspect ratio is the projection's: the outer size, not the drawing area.
    const auto outer = CursorReadout(v, true, 800, 300, {800, 600, 900, 600}, '.');
    EXPECT_EQ(outer->X, ReadoutText(2.5 / std::sqrt(3.0) * 1.5 / 0.1, '.'));
    // The factors the readout used to have fixed, 1.7935 and 1.4455, fit a view of about
    // 1.24 : 1; derived from the frustum they agree there to within two per mille.
    const auto old = CursorReadout(v, true, 1000, 0, TFrameSize::Plain(1000, 806), '.');
    EXPECT_NEAR(static_cast<double>(MachineNumber(old->X)), 17.935, 17.935 * 0.002);
    EXPECT_NEAR(static_cast<double>(MachineNumber(old->Y)), 14.455, 14.455 * 0.002);
}

TEST(CursorReadout, HiddenWhileTheSceneIsTurned) {
    ViewState v = Standard();
    v.AngleZ = 1;
    EXPECT_FALSE(CursorReadout(v, false, 1, 1, TFrameSize::Plain(800, 600), ',').has_value());
    v.AngleZ = 0;
    v.AngleX = -90;
    EXPECT_FALSE(CursorReadout(v, false, 1, 1, TFrameSize::Plain(800, 600), ',').has_value());
    v.AngleX = 0;
    EXPECT_FALSE(CursorReadout(v, false, 1, 1, TFrameSize::Plain(0, 600), ',').has_value());
}

} // namespace

namespace {

// The wheel keeps the point under the cursor where it is, in the parallel and the perspective
// view, zooming in and out; the scales change by 1.25 a notch and stay within their limits.
TEST(WheelZoom, KeepsThePointUnderTheCursor) {
    const TFrameSize size = TFrameSize::Plain(800, 600);
    for (const bool perspective : {false, true}) {
        for (const double notches : {1.0, -3.0, 0.25}) {
            ViewState v = Standard();
            v.ShiftX = 1.5;
            v.ShiftY = -2;
            const auto before = *CursorReadout(v, perspective, 123, 456, size, '.');
            const auto elsewhere = *CursorReadout(v, perspective, 700, 50, size, '.');
            ASSERT_TRUE(ZoomAt(v, perspective, 123, 456, size, notches));
            EXPECT_NEAR(v.ScaleX, 0.1 * std::pow(1.25, notches), 1e-15);
            EXPECT_NEAR(v.ScaleY, 0.1 * std::pow(1.25, notches), 1e-15);
            const auto after = *CursorReadout(v, perspective, 123, 456, size, '.');
            EXPECT_EQ(after.X, before.X) << perspective << ' ' << notches;
            EXPECT_EQ(after.Y, before.Y) << perspective << ' ' << notches;
            EXPECT_NE(CursorReadout(v, perspective, 700, 50, size, '.')->X, elsewhere.X);
        }
    }
    ViewState v = Standard();
    EXPECT_FALSE(ZoomAt(v, false, 1, 1, size, 0));
    EXPECT_FALSE(ZoomAt(v, false, 1, 1, TFrameSize::Plain(0, 600), 1));
    ASSERT_TRUE(ZoomAt(v, false, 1, 1, size, -100));
    EXPECT_NEAR(v.ScaleX, MinWheelScale, 1e-18);
    EXPECT_FALSE(ZoomAt(v, false, 1, 1, size, -1)); // at the limit already
}

// "Показать всё" puts the box in the middle of the view with a tenth of room on its tighter side,
// in the parallel and the perspective view; turned along its depth, the view keeps the depth.
TEST(FitAll, ShowsTheBoxWithATenthOfRoom) {
    const TFrameSize size = TFrameSize::Plain(800, 600);
    const TBox box{{-3, 2, -1}, {7, 4, 1}};
    for (const bool perspective : {false, true}) {
        ViewState v = Standard();
        ASSERT_TRUE(FitAll(v, perspective, size, box));
        EXPECT_DOUBLE_EQ(v.ShiftX, -2);
        EXPECT_DOUBLE_EQ(v.ShiftY, -3);
        // x is the tighter side here: its ends lie a tenth of the half width inside the edges.
        const double left = MachineNumber(CursorReadout(v, perspective, 0, 300, size, '.')->X);
        const double right = MachineNumber(CursorReadout(v, perspective, 800, 300, size, '.')->X);
        EXPECT_NEAR(left, 2 - 5 * 1.1, 2e-3);
        EXPECT_NEAR(right, 2 + 5 * 1.1, 2e-3);
        EXPECT_GT(MachineNumber(CursorReadout(v, perspective, 400, 0, size, '.')->Y), 4);
        EXPECT_FALSE(FitAll(v, perspective, size, box)); // already so
    }
    // Seen along Y (the projection XOZ), z shows upwards and cannot be shifted: the box's z from 0
    // to 5 needs half a view of 5 above the middle, and y (the depth) stays.
    ViewState side = Standard();
    ApplyProjection(side, TProjection::XOZ);
    ASSERT_TRUE(FitAll(side, false, size, TBox{{0, -100, 0}, {10, 100, 5}}));
    EXPECT_NEAR(side.ShiftX, -5, 1e-9);
    EXPECT_NEAR(side.ShiftY, 0, 1e-6);
    EXPECT_NEAR(side.ScaleX, 1 / (1.1 * 5 * 800 / 600), 1e-9);
    EXPECT_FALSE(FitAll(side, false, TFrameSize::Plain(0, 600), TBox{}));
}

// The middle button shifts the view as a translate drag does, whatever the mode, and its release
// ends only its own drag.
TEST(MiddleDrag, ShiftsInAnyModeAndEndsAlone) {
    ViewState v = Standard();
    TViewNavigator nav;
    nav.MouseDown(TMouseMode::RotateXY, 10, 10);
    nav.PanDown(10, 10);
    EXPECT_TRUE(nav.MouseMove(v, 25, 10));
    EXPECT_NEAR(v.ShiftX, 15 / (0.1 * 150), 1e-12);
    EXPECT_EQ(v.AngleY, 15);
    nav.PanUp();
    EXPECT_TRUE(nav.Dragging()); // the rotation goes on
    nav.MouseUp(TMouseMode::RotateXY);
    EXPECT_FALSE(nav.Dragging());
    EXPECT_FALSE(nav.MouseMove(v, 40, 40));
}

} // namespace

// The whole road a user takes in the main window, under a virtual X server: Ctrl+A, a formula,
// Enter, the curve in the view; the list's delete, ticks and rows; the mouse over the view.

#include "app/form_main.h"
#include "app/graph_list.h"
#include "app/startup.h"
#include "graphs/document.h"
#include "graphs/form_graphic.h"
#include "support/app_world.h"
#include "support/fake_ui_services.h"
#include "support/pixel_tools.h"
#include "support/widget_tools.h"
#include "view/gl_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

#include <cmath>
#include <memory>

class TstUserRoad : public QObject {
    Q_OBJECT

    std::unique_ptr<TAppWorld> app;

    template <typename T> T* Child(const char* name) { return ::Child<T>(*app->Main, name); }
    TGraphList* List() { return Child<TGraphList>("ChListBGraphics"); }
    TGLView* View() { return app->Main->View(); }
    // The number a readout label shows, written with the locale's separator.
    double ReadoutValue(const char* label) {
        return Child<QLabel>(label)->text().replace(',', '.').toDouble();
    }

    bool ShowAndDraw() { return ::ShowAndDraw(*app->Main, *View()); }

    void AddGraph(const char* formula, bool ticked = true) {
        TGraphic g;
        g.Kind = 0;
        g.Formula = formula;
        g.SetColor(clGreen);
        const int i = app->Ctx.Document.Add(std::move(g));
        app->Ctx.Document.SetVisible(i, ticked);
    }

    QStringList Captions() {
        QStringList out;
        for (int i = 0; i < List()->count(); ++i)
            out << List()->item(i)->text();
        return out;
    }

    // Sends n one-pixel mouse moves from (x, y) in the given direction over the view.
    void MoveSteps(int x, int y, int dx, int dy, int n) {
        for (int i = 1; i <= n; ++i)
            QTest::mouseMove(View(), QPoint(x + dx * i, y + dy * i));
    }

private slots:
    void init() { app = std::make_unique<TAppWorld>(','); }

    void cleanup() { app.reset(); }

    void shownMainWindowTakesTheKeyboardWithoutAWindowManager() {
        // The virtual X server has no window manager to give the new window the focus.
        ShowMainWindow(*app->Main);
        QVERIFY(QTest::qWaitForWindowActive(app->Main.get()));
        QCOMPARE(QApplication::activeWindow(), app->Main.get());
    }

    void ctrlAFormulaEnterDrawsTheCurveInTheProposedColour() {
        QVERIFY(ShowAndDraw());
        ShowMainWindow(*app->Main);
        QVERIFY(QTest::qWaitForWindowActive(app->Main.get()));
        bool typed = false;
        auto* dialog = app->Main->findChild<TFormGraphic*>();
        QVERIFY(dialog);
        QTimer::singleShot(0, app->Main.get(), [&] {
            // Never leave a modal dialog waiting, whatever fails below.
            QTimer::singleShot(10000, dialog, [dialog] { dialog->reject(); });
            QTRY_VERIFY(dialog->isVisible());
            dialog->activateWindow();
            QTRY_VERIFY(QApplication::focusWidget() != nullptr);
            // The formula edit has the focus when the dialog opens.
            QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("EdFunction"));
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2sin(x)"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            typed = true;
        });
        QTest::keyClick(app->Main.get(), Qt::Key_A, Qt::ControlModifier);
        QTRY_VERIFY(typed);
        QTRY_COMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(Captions(), QStringList{QStringLiteral("Y(X) = 2sin(x)")});
        QCOMPARE(List()->item(0)->checkState(), Qt::Checked);
        QCOMPARE(app->Ctx.Document.Graph(0).Color, clMaroon); // the first proposal
        // With the notice on, the user is told the formula becomes '2*sin(x)'.
        QCOMPARE(app->Services.Shown.size(), 1);
        QVERIFY(app->Services.Shown[0].Text.contains(QStringLiteral("2*sin(x)")));

        // The curve is drawn in maroon where the perspective projection puts y = 2 sin x.
        const QImage img = View()->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        const double aspect = double(img.width()) / img.height();
        const double f = 1 / std::tan(M_PI / 6);
        const double x = M_PI / 2, y = 2 * std::sin(x);
        const double px = (1 + f / aspect * 0.1 * x / 2.5) * img.width() / 2;
        const double py = (1 - f * 0.1 * y / 2.5) * img.height() / 2;
        const int maroon =
            CountColour(img, qRgb(0x80, 0, 0), int(px) - 3, int(py) - 3, int(px) + 3, int(py) + 3);
        QVERIFY2(maroon > 0, qPrintable(QStringLiteral("at %1, %2").arg(px).arg(py)));
    }

    void deletingTheMiddleGraphOfThreeKeepsTheOthersAndTheirTicks() {
        QVERIFY(ShowAndDraw());
        AddGraph("x");
        AddGraph("x^2");
        AddGraph("x^3", false);
        List()->setCurrentRow(1);

        app->Services.Answers = {TAnswer::No};
        Child<QAction>("MMGrapicsDelete")->trigger();
        QCOMPARE(app->Ctx.Document.GraphCount(), 3);
        QCOMPARE(app->Services.Shown.size(), 1);
        QCOMPARE(app->Services.Shown[0].Kind, QStringLiteral("question"));
        QCOMPARE(app->Services.Shown[0].Caption, QStringLiteral("Удаление"));
        QCOMPARE(app->Services.Shown[0].Text,
                 QStringLiteral("Вы действительно хотите удалить график\n\rY(X) = x^2"));

        app->Services.Answers = {TAnswer::Yes};
        List()->setFocus();
        QTest::keyClick(List(), Qt::Key_Backspace);
        QCOMPARE(Captions(), (QStringList{"Y(X) = x", "Y(X) = x^3"}));
        // Delete asks the same question.
        app->Services.Answers = {TAnswer::No};
        QTest::keyClick(List(), Qt::Key_Delete);
        QCOMPARE(app->Services.Shown.size(), 3);
        QCOMPARE(app->Services.Shown[2].Caption, QStringLiteral("Удаление"));
        QCOMPARE(app->Ctx.Document.GraphCount(), 2);
        QCOMPARE(List()->item(0)->checkState(), Qt::Checked);
        QCOMPARE(List()->item(1)->checkState(), Qt::Unchecked);
        QCOMPARE(app->Ctx.Document.Graph(1).Formula, std::string("x^3"));
    }

    // Enter and F2 on the selected row edit its graph, as a double click does.
    void enterAndF2EditTheSelectedGraph() {
        AddGraph("x");
        QVERIFY(ShowAndDraw());
        auto* dialog = app->Main->findChild<TFormGraphic*>();
        QVERIFY(dialog);
        List()->setCurrentRow(0);
        List()->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_F2}) {
            QString formula;
            QTimer::singleShot(0, app->Main.get(), [&] {
                QTimer::singleShot(10000, dialog, [dialog] { dialog->reject(); });
                QTRY_VERIFY(dialog->isVisible());
                formula = dialog->findChild<QLineEdit*>(QStringLiteral("EdFunction"))->text();
                dialog->reject();
            });
            QTest::keyClick(List(), key);
            QCOMPARE(formula, QStringLiteral("x"));
        }
    }

    void deleteWithoutSelectionDoesNothing() {
        AddGraph("x");
        List()->setCurrentRow(-1);
        Child<QAction>("MMGrapicsDelete")->trigger();
        QTest::keyClick(List(), Qt::Key_Backspace);
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QVERIFY(app->Services.Shown.isEmpty());
    }

    void focusingTheListSelectsNoRowForEditOrDelete() {
        AddGraph("x");
        AddGraph("x+1");
        QVERIFY(ShowAndDraw());
        app->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app->Main.get()));
        // Tabbing into the list gives it the focus; no row is shown selected.
        List()->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(List()->hasFocus());
        QVERIFY(List()->selectedItems().isEmpty());
        QCOMPARE(List()->Selected(), -1);

        QTest::keyClick(List(), Qt::Key_Backspace);
        QVERIFY(app->Services.Shown.isEmpty()); // no confirmation asked
        QCOMPARE(app->Ctx.Document.GraphCount(), 2);

        auto* graphs = Child<QMenu>("MMGraphics");
        emit graphs->aboutToShow();
        QVERIFY(!Child<QAction>("MMGrapicsEdit")->isEnabled());
        QVERIFY(!Child<QAction>("MMGrapicsDelete")->isEnabled());

        // A click selects the row; then the commands apply to it.
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                          List()->visualItemRect(List()->item(1)).center());
        QCOMPARE(List()->Selected(), 1);
        emit graphs->aboutToShow();
        QVERIFY(Child<QAction>("MMGrapicsDelete")->isEnabled());
    }

    void tickingATwentyFirstGraphUnticksTheLastTicked() {
        QVERIFY(ShowAndDraw());
        for (int i = 0; i < 21; ++i)
            AddGraph("x", i < 20);
        QCOMPARE(app->Ctx.Document.VisibleCount(), 20);
        // The 21st graph came in unticked, and the user was told why.
        QCOMPARE(app->Services.Shown.size(), 1);
        app->Services.Shown.clear();
        List()->item(20)->setCheckState(Qt::Checked);
        QCOMPARE(app->Services.Shown.size(), 1);
        QCOMPARE(app->Services.Shown[0].Kind, QStringLiteral("information"));
        QCOMPARE(app->Services.Shown[0].Caption, QStringLiteral("Выделение графиков"));
        QCOMPARE(app->Services.Shown[0].Text,
                 QStringLiteral("Количество выделенных графиков должно быть не больше 20!\n\r"
                                "Поэтому лишние выделенные графики будут сняты."));
        QVERIFY(!app->Ctx.Document.Visible(20));
        QCOMPARE(List()->item(20)->checkState(), Qt::Unchecked);
        QCOMPARE(app->Ctx.Document.VisibleCount(), 20);

        // Unticking the first and ticking the last is within the limit.
        List()->item(0)->setCheckState(Qt::Unchecked);
        List()->item(20)->setCheckState(Qt::Checked);
        QCOMPARE(app->Services.Shown.size(), 1);
        QVERIFY(app->Ctx.Document.Visible(20));
    }

    void rowsShowSwatchAndSelection() {
        QVERIFY(ShowAndDraw());
        AddGraph("x");
        AddGraph("x+1");
        List()->setCurrentRow(1);
        QApplication::processEvents();
        const QImage img =
            List()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect row0 = List()->visualItemRect(List()->item(0));
        const QRect row1 = List()->visualItemRect(List()->item(1));
        QCOMPARE(row0.height(), 20);
        QVERIFY(CountColour(img, qRgb(0, 128, 0), row0) > 100); // the green swatch
        QCOMPARE(CountColour(img, qRgb(0, 0, 255), row0), 0);   // not selected: no blue
        QVERIFY(CountColour(img, qRgb(0, 0, 255), row1) > 50);  // selected: the caption on blue
        QVERIFY(CountColour(img, qRgb(255, 255, 255), row1) > 0);
    }

    void graphListPopUpMenuEnablesEditAndDeleteWithASelection() {
        AddGraph("x");
        auto* menu = Child<QMenu>("PopMenuGraphics");
        QStringList items;
        for (QAction* a : menu->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(items, (QStringList{"Изменить", "Удалить", "-", "Построить график",
                                     "Построить таблично заданный график"}));
        List()->setCurrentRow(-1);
        emit menu->aboutToShow();
        QVERIFY(!menu->actions()[0]->isEnabled());
        QVERIFY(!menu->actions()[1]->isEnabled());
        List()->setCurrentRow(0);
        emit menu->aboutToShow();
        QVERIFY(menu->actions()[0]->isEnabled());
        QVERIFY(menu->actions()[1]->isEnabled());
    }

    // ---- the mouse over the view ----------------------------------------------------------

    void scaleModeTenPixelsDownDividesTheScaleTenTimes() {
        QVERIFY(ShowAndDraw());
        Child<QToolButton>("ToolBtnScale")->click();
        QCOMPARE(View()->cursor().shape(), Qt::SizeVerCursor);
        QTest::mousePress(View(), Qt::LeftButton, {}, QPoint(100, 100));
        MoveSteps(100, 100, 0, 1, 10);
        QTest::mouseRelease(View(), Qt::LeftButton, {}, QPoint(100, 110));
        QVERIFY(std::abs(app->Ctx.Document.View.ScaleX - 0.1 / std::pow(1.1, 10)) < 1e-12);
        // After the button is up, moving does nothing more.
        MoveSteps(100, 110, 0, 1, 3);
        QVERIFY(std::abs(app->Ctx.Document.View.ScaleX - 0.1 / std::pow(1.1, 10)) < 1e-12);
    }

    void rotateModeThreeHundredSeventyPixelsEndsAtTen() {
        QVERIFY(ShowAndDraw());
        Child<QToolButton>("ToolBtnRotate")->click();
        QCOMPARE(View()->cursor().shape(), Qt::PointingHandCursor);
        QTest::mousePress(View(), Qt::LeftButton, {}, QPoint(10, 100));
        MoveSteps(10, 100, 1, 0, 370);
        QTest::mouseRelease(View(), Qt::LeftButton, {}, QPoint(380, 100));
        QCOMPARE(app->Ctx.Document.View.AngleY, 10.0);
        QCOMPARE(app->Ctx.Document.View.AngleX, 0.0);
        // Turned, the readout panel hides.
        QVERIFY(!Child<QFrame>("PanelKoordinata")->isVisible());
    }

    void modeButtonsExcludeEachOtherAndTheMenuMirrorsThem() {
        Child<QToolButton>("ToolBtnRotate")->click();
        Child<QToolButton>("ToolBtnTranslate")->click();
        QVERIFY(!Child<QToolButton>("ToolBtnRotate")->isChecked());
        QVERIFY(Child<QToolButton>("ToolBtnTranslate")->isChecked());
        QCOMPARE(View()->cursor().shape(), Qt::SizeAllCursor);
        Child<QToolButton>("ToolBtnTranslate")->click(); // released: no mode
        QCOMPARE(View()->cursor().shape(), Qt::ArrowCursor);

        Child<QAction>("MMViewRotateZ")->trigger();
        QVERIFY(Child<QToolButton>("ToolBtnRotateZ")->isChecked());
        app->Main->MMViewModifyClick();
        QVERIFY(Child<QAction>("MMViewRotateZ")->isChecked());
        QVERIFY(!Child<QAction>("MMViewScale")->isChecked());
        Child<QAction>("MMViewScale")->trigger();
        QVERIFY(Child<QToolButton>("ToolBtnScale")->isChecked());
        QVERIFY(!Child<QToolButton>("ToolBtnRotateZ")->isChecked());
        QVERIFY(!Child<QAction>("MMViewRotateZ")->isChecked());
    }

    void readoutShowsTheModelPointUnderTheCursor() {
        app->Ctx.Settings.Perspective = false;
        QVERIFY(ShowAndDraw());
        app->Main->ReDrawing();
        QTRY_COMPARE(app->Ctx.Document.View.ScaleY,
                     0.1 * View()->FrameSize().ClientWidth / View()->FrameSize().ClientHeight);
        const int w = View()->width(), h = View()->height();
        QTest::mouseMove(View(), QPoint(w / 2, h / 2));
        QVERIFY(Child<QFrame>("PanelKoordinata")->isVisible());
        // The centre is within a pixel of the origin (a pixel is 20 / w model units).
        QVERIFY(std::abs(ReadoutValue("LbX")) <= 20.0 / w);
        QVERIFY(std::abs(ReadoutValue("LbY")) <= 20.0 / w);
        QTest::mouseMove(View(), QPoint(w - 1, h / 2));
        const double right = ReadoutValue("LbX");
        QVERIFY(std::abs(right - (10.0 - 20.0 / w)) < 0.002);
        QVERIFY(Child<QLabel>("LbX")->text().contains(',')); // the locale's separator

        Child<QToolButton>("ToolBtnXYZProjection")->click();
        QTest::mouseMove(View(), QPoint(w / 2, h / 2 + 1));
        QVERIFY(!Child<QFrame>("PanelKoordinata")->isVisible());
        QCOMPARE(app->Ctx.Document.View.AngleX, 30.0);
        QCOMPARE(app->Ctx.Document.View.AngleY, -45.0);
    }

    void autoScaleOnAndOffRestoresTheViewEvenAfterRotating() {
        QVERIFY(ShowAndDraw());
        ViewState& v = app->Ctx.Document.View;
        v.AngleX = 20;
        v.AngleY = -35;
        v.ShiftX = 1.5;
        v.ScaleX = 0.2;
        app->Ctx.Settings.MinX = -7;
        app->Ctx.Settings.StepNumeration_Y = 2;
        Child<QToolButton>("ToolBtnScale")->click();

        Child<QCheckBox>("ChBoxAutoScale")->setChecked(true);
        QVERIFY(app->Ctx.Document.AutoScaleOn);
        QCOMPARE(v.AngleX, 0.0); // the XOY projection
        QCOMPARE(v.AngleY, 0.0);
        QVERIFY(!Child<QToolButton>("ToolBtnScale")->isChecked());
        for (const char* name :
             {"ToolBtnRotateZ", "ToolBtnScale", "ToolBtnCenter", "ToolBtnDefaulScale"})
            QVERIFY2(!Child<QToolButton>(name)->isEnabled(), name);
        QVERIFY(Child<QToolButton>("ToolBtnRotate")->isEnabled());
        QVERIFY(Child<QToolButton>("ToolBtnTranslate")->isEnabled());

        // Rotate meanwhile, then switch off with the menu item.
        Child<QToolButton>("ToolBtnRotate")->click();
        QTest::mousePress(View(), Qt::LeftButton, {}, QPoint(50, 50));
        MoveSteps(50, 50, 1, 1, 15);
        QTest::mouseRelease(View(), Qt::LeftButton, {}, QPoint(65, 65));
        QCOMPARE(v.AngleY, 15.0);
        Child<QAction>("MMViewAutoScale")->trigger();
        QVERIFY(!Child<QCheckBox>("ChBoxAutoScale")->isChecked());
        QVERIFY(!app->Ctx.Document.AutoScaleOn);
        QCOMPARE(v.AngleX, 20.0);
        QCOMPARE(v.AngleY, -35.0);
        QCOMPARE(v.ShiftX, 1.5);
        QCOMPARE(v.ScaleX, 0.2);
        QCOMPARE(app->Ctx.Settings.MinX, -7.0);
        QCOMPARE(app->Ctx.Settings.StepNumeration_Y, 2.0);
        for (const char* name :
             {"ToolBtnRotateZ", "ToolBtnScale", "ToolBtnCenter", "ToolBtnDefaulScale"})
            QVERIFY2(Child<QToolButton>(name)->isEnabled(), name);
    }

    void centreAndStandardScaleButtons() {
        ViewState& v = app->Ctx.Document.View;
        v.ShiftX = 3;
        v.ShiftY = -2;
        v.ScaleX = 0.5;
        Child<QToolButton>("ToolBtnCenter")->click();
        QCOMPARE(v.ShiftX, 0.0);
        QCOMPARE(v.ShiftY, 0.0);
        QCOMPARE(v.ScaleX, 0.5);
        Child<QAction>("MMViewDefaultScale")->trigger();
        QCOMPARE(v.ScaleX, 0.1);
    }
};

int main(int argc, char** argv) {
    PrepareProcess();
    QApplication app(argc, argv);
    TstUserRoad t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_user_road.moc"

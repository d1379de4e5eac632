// The menu "Анализ функций" of the main window, under a virtual X server: Ctrl+F opens the
// tabulation with the graphs' formulas offered, Ctrl+K the tangent dialog with the Cartesian
// graphs listed, and a tangent built there becomes a graph of the document; Ctrl+I studies a graph
// and marks what it found on the view.

#include "analysis/form_other.h"
#include "analysis/form_study.h"
#include "analysis/form_table_values.h"
#include "app/form_main.h"
#include "app/graph_list.h"
#include "app/startup.h"
#include "formula/prepare.h"
#include "graphs/form_graphic.h"
#include "support/app_world.h"
#include "support/fake_ui_services.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

class TstAnalysisCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<TAppWorld> app;

    void AddGraph(int kind, const char* formula, const char* formula2 = "") {
        TGraphic g;
        g.Kind = static_cast<std::uint8_t>(kind);
        g.Variable = KindVariable(kind);
        g.Formula = formula;
        g.Formula2 = formula2;
        g.FormulaPrepared = formula;
        kurvant::TFormulaContext own = app->Ctx.Formula;
        QVERIFY(kurvant::PrepareFormula(g.FormulaPrepared, KindVariableSet(kind), own));
        app->Ctx.Document.Add(std::move(g));
    }

    // Presses the shortcut in the main window and runs `whileShown` once `dialog` is on screen;
    // the dialog is closed afterwards whatever happened.
    void Press(Qt::Key key, QDialog* dialog, const std::function<void()>& whileShown) {
        bool ran = false;
        QTimer answer;
        answer.setSingleShot(true);
        connect(&answer, &QTimer::timeout, app->Main.get(), [&] {
            QTRY_VERIFY(dialog->isVisible());
            whileShown();
            ran = true;
            dialog->reject();
        });
        answer.start(0);
        QTest::keyClick(app->Main.get(), key, Qt::ControlModifier);
        QTRY_VERIFY(ran);
        QTRY_VERIFY(!dialog->isVisible());
    }

private slots:
    void init() {
        app = std::make_unique<TAppWorld>(',');
        QVERIFY(app->Main); // made only in a program folder of its own
        ShowMainWindow(*app->Main);
        QVERIFY(QTest::qWaitForWindowActive(app->Main.get()));
    }
    void cleanup() { app.reset(); }

    void dialogsAreMadeAtStartInTheirOrder() {
        QList<QObject*> order;
        for (QObject* child : app->Main->children())
            if (qobject_cast<TFormGraphic*>(child) || qobject_cast<TFormTableValues*>(child) ||
                qobject_cast<TFormOther*>(child))
                order << child;
        QCOMPARE(order.size(), 3);
        QVERIFY(qobject_cast<TFormGraphic*>(order[0]));
        QVERIFY(qobject_cast<TFormTableValues*>(order[1]));
        QVERIFY(qobject_cast<TFormOther*>(order[2]));
    }

    void ctrlFTabulatesAFormulaOfTheGraphs() {
        AddGraph(KindYofX, "x^2");
        AddGraph(KindParametric, "cos(u)", "sin(u)");
        auto* form = app->Main->findChild<TFormTableValues*>();
        QVERIFY(form);
        Press(Qt::Key_F, form, [&] {
            QStringList items;
            for (int i = 0; i < form->CBoxFunction->count(); ++i)
                items << form->CBoxFunction->itemText(i);
            QCOMPARE(items, (QStringList{"x^2", "cos(u)", "sin(u)"}));
            form->CBoxFunction->setCurrentIndex(0);
            form->EdMin->setText(QStringLiteral("1"));
            form->EdMax->setText(QStringLiteral("3"));
            form->BBtnOKClick();
            QCOMPARE(form->SGridTableValues->rowCount(), 3);
            QCOMPARE(form->SGridTableValues->item(2, 1)->text(), QStringLiteral("9,0000000000"));
        });
        QVERIFY(app->Services.Shown.isEmpty());
    }

    // The formula box offers the graphs' formulas but tabulates what was typed, though the typed
    // text is the start of a formula in the list; Enter is "Считать".
    void typedFormulaIsTabulated_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byEnter"); // else Tab, then a click on "Считать"
        QTest::addColumn<QString>("atMinusTwo");
        QTest::newRow("x^2, Enter") << "x^2" << true << "4,0000000000";
        QTest::newRow("x, Tab, Считать") << "x" << false << "-2,0000000000";
    }
    void typedFormulaIsTabulated() {
        QFETCH(QString, typed);
        QFETCH(bool, byEnter);
        QFETCH(QString, atMinusTwo);
        AddGraph(KindYofX, "sin(x)");
        AddGraph(KindYofX, "x^2/4-3");
        AddGraph(KindYofX, "2*cos(x)");
        auto* form = app->Main->findChild<TFormTableValues*>();
        QVERIFY(form);
        form->EdMin->setText(QStringLiteral("-2"));
        form->EdMax->setText(QStringLiteral("2"));
        Press(Qt::Key_F, form, [&] {
            QCOMPARE(form->CBoxFunction->count(), 3);
            QTRY_VERIFY(form->CBoxFunction->hasFocus());
            QTest::keyClicks(form->CBoxFunction, typed);
            if (byEnter) {
                QTest::keyClick(form->CBoxFunction, Qt::Key_Return);
            } else {
                QTest::keyClick(form->CBoxFunction, Qt::Key_Tab);
                QVERIFY(!form->CBoxFunction->hasFocus());
                QTest::mouseClick(form->BBtnOK, Qt::LeftButton);
            }
            QCOMPARE(form->CBoxFunction->currentText(), typed);
            QCOMPARE(form->CBoxFunction->count(), 3);
        });
        QVERIFY(app->Services.Shown.isEmpty());
        QCOMPARE(form->SGridTableValues->rowCount(), 5);
        QCOMPARE(form->SGridTableValues->item(0, 1)->text(), atMinusTwo);
    }

    void ctrlKBuildsATangentThatBecomesAGraph() {
        AddGraph(KindPolar, "q");
        AddGraph(KindYofX, "x*x");
        auto* form = app->Main->findChild<TFormOther*>();
        QVERIFY(form);
        auto* graphDialog = app->Main->GraphDialog();
        Press(Qt::Key_K, form, [&] {
            QCOMPARE(form->CBoxFunction->count(), 1);
            QCOMPARE(form->CBoxFunction->itemText(0), QStringLiteral("Y(X) = x*x"));
            QCOMPARE(form->CBoxFunction->currentIndex(), -1);
            form->CBoxFunction->setCurrentIndex(0);
            form->EdVar->setText(QStringLiteral("1"));
            QTimer accept;
            accept.setSingleShot(true);
            connect(&accept, &QTimer::timeout, graphDialog, [&] {
                QTRY_VERIFY(graphDialog->isVisible());
                graphDialog->BBtnOKClick();
            });
            accept.start(0);
            form->BBtnOKClick();
            QVERIFY(!graphDialog->isVisible());
            QVERIFY(form->isVisible());
        });
        QCOMPARE(app->Ctx.Document.GraphCount(), 3);
        QCOMPARE(app->Ctx.Document.Caption(2),
                 std::string("Y(X) = 1,0000000 +2,0000000 * ( x -1,0000000 )"));
        auto* list = app->Main->findChild<TGraphList*>(QStringLiteral("ChListBGraphics"));
        QCOMPARE(list->count(), 3);
    }

    // The road of a study by keys: the graph picked from the list (its interval comes with it), the
    // extrema chosen, Enter finds them, and the marks become a table graph in the next colour.
    void ctrlIFindsTheExtremaOfAGraphAndMarksThem() {
        AddGraph(KindYofX, "x^3-3x");
        TGraphic& graph = app->Ctx.Document.Graph(0);
        graph.MinX = -3;
        graph.MaxX = 3.1;
        auto* form = app->Main->findChild<TFormStudy*>();
        QVERIFY(form);
        Press(Qt::Key_I, form, [&] {
            QCOMPARE(form->CBoxFunction->count(), 1);
            QTRY_VERIFY(form->CBoxFunction->hasFocus());
            QTest::keyClick(form->CBoxFunction, Qt::Key_Down);
            QCOMPARE(form->CBoxFunction->currentText(), QStringLiteral("Y(X) = x^3-3x"));
            QCOMPARE(form->EdMin->text(), QStringLiteral("-3"));
            QCOMPARE(form->EdMax->text(), QStringLiteral("3,1"));
            auto* extrema = form->findChild<QRadioButton*>(QStringLiteral("RGrStudyExtrema"));
            QTest::mouseClick(extrema, Qt::LeftButton);
            QVERIFY(extrema->isChecked());
            QTest::keyClick(form->EdMax, Qt::Key_Return);
            QCOMPARE(form->GridRows(), (std::vector<std::vector<std::string>>{
                                           {"x", "f(x)", "вид"},
                                           {"-1,0000000000", "2,0000000000", "максимум"},
                                           {"1,0000000000", "-2,0000000000", "минимум"}}));
            QVERIFY(form->BBtnMark->isEnabled());
            QTest::mouseClick(form->BBtnMark, Qt::LeftButton);
            QVERIFY(!form->BBtnMark->isEnabled());
        });
        QVERIFY(app->Services.Shown.isEmpty());
        const TDocument& doc = app->Ctx.Document;
        QCOMPARE(doc.GraphCount(), 2);
        QCOMPARE(doc.Graph(1).Kind, KindTable);
        QCOMPARE(doc.Graph(1).Points.size(), std::size_t{2});
        QCOMPARE(doc.Graph(1).Points[1].y, -2.0);
        QCOMPARE(doc.Caption(1), std::string("Экстремумы: x^3-3x"));
        QVERIFY(doc.Graph(1).Color != doc.Graph(0).Color);
        auto* list = app->Main->findChild<TGraphList*>(QStringLiteral("ChListBGraphics"));
        QCOMPARE(list->count(), 2);

        // Nothing found is an information box, and nothing to mark.
        // With no window manager under the virtual server, nobody hands the main window the
        // focus back after a dialog.
        app->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app->Main.get()));
        Press(Qt::Key_I, form, [&] {
            form->findChild<QRadioButton*>(QStringLiteral("RGrStudyZeros"))->click();
            form->CBoxFunction->setEditText(QString());
            QTest::keyClicks(form->CBoxFunction, QStringLiteral("x^2+1"));
            QTest::keyClick(form->CBoxFunction, Qt::Key_Return);
            QVERIFY(!form->BBtnMark->isEnabled());
        });
        QCOMPARE(app->Services.Shown.size(), 1);
        QCOMPARE(app->Services.Shown[0].Kind, QStringLiteral("information"));
        QCOMPARE(app->Services.Shown[0].Text, QStringLiteral("На отрезке нулей не найдено"));
    }

    // A study runs behind the progress window: Escape stops it and the dialog says how far it got;
    // a study with more results than it lists says so under the grid.
    void ctrlIStudiesBehindTheProgressWindowAndSaysWhatItLeftOut() {
        auto* form = app->Main->findChild<TFormStudy*>();
        QVERIFY(form);
        form->GroupSeparator = std::string(1, ' ');
        QString slow;
        for (int k = 0; k < 600; ++k)
            slow += QStringLiteral("%1sin(%2x)").arg(k > 0 ? "+" : "").arg(k % 9 + 1);
        Press(Qt::Key_I, form, [&] {
            auto* note = form->findChild<QLabel*>(QStringLiteral("LbStudyNote"));
            QVERIFY(note && note->text().isEmpty());
            form->findChild<QRadioButton*>(QStringLiteral("RGrStudyExtrema"))->click();
            form->CBoxFunction->setEditText(slow);
            form->EdMin->setText(QStringLiteral("-1000"));
            form->EdMax->setText(QStringLiteral("1000"));
            QString label;
            QTimer::singleShot(400, form, [&] {
                if (auto* progress =
                        form->findChild<QProgressDialog*>(QStringLiteral("FormProgress")))
                    label = progress->labelText();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            });
            QTest::keyClick(form->EdMax, Qt::Key_Return);
            QCOMPARE(label, QStringLiteral("Исследование функции…"));
            QVERIFY2(note->text().startsWith(
                         QStringLiteral("Исследование прервано: отрезок пройден до x = ")),
                     qPrintable(note->text()));
            QVERIFY(form->isVisible()); // Escape stopped the study, not the dialog

            form->findChild<QRadioButton*>(QStringLiteral("RGrStudyZeros"))->click();
            form->CBoxFunction->setEditText(QStringLiteral("sin(x)"));
            form->EdMin->setText(QStringLiteral("-500000"));
            form->EdMax->setText(QStringLiteral("500000"));
            QTest::keyClick(form->EdMax, Qt::Key_Return);
            QCOMPARE(form->GridRows().size(), std::size_t{10001});
            QCOMPARE(note->text(),
                     QStringLiteral("Найдено больше 10 000 точек: показаны первые 10 000"));
        });
        QVERIFY(app->Services.Shown.isEmpty());
    }

    // The end of the interval typed as e gives the area of ln over [1, e]; a text that is neither
    // a number nor an expression is refused by the field's name, with the keyboard left in it.
    void ctrlITakesAnExpressionForAnEnd() {
        AddGraph(KindYofX, "ln(x)");
        TGraphic& graph = app->Ctx.Document.Graph(0);
        graph.MinX = 1;
        graph.MaxX = 7;
        auto* form = app->Main->findChild<TFormStudy*>();
        QVERIFY(form);
        Press(Qt::Key_I, form, [&] {
            QTRY_VERIFY(form->CBoxFunction->hasFocus());
            QTest::keyClick(form->CBoxFunction, Qt::Key_Down);
            QCOMPARE(form->EdMax->text(), QStringLiteral("7"));
            form->findChild<QRadioButton*>(QStringLiteral("RGrStudyArea"))->click();
            form->EdMax->setFocus();
            form->EdMax->selectAll();
            QTest::keyClicks(form->EdMax, QStringLiteral("e"));
            QCOMPARE(form->EdMax->text(), QStringLiteral("e"));
            QTest::keyClick(form->EdMax, Qt::Key_Return);
            QVERIFY(app->Services.Shown.isEmpty());
            QCOMPARE(form->GridRows(), (std::vector<std::vector<std::string>>{
                                           {"интеграл", "площадь", "погрешность"},
                                           {"1,0000000000", "1,0000000000", "0,0000000000"}}));
            form->EdMax->selectAll();
            QTest::keyClicks(form->EdMax, QStringLiteral("e+"));
            QTest::keyClick(form->EdMax, Qt::Key_Return);
            QCOMPARE(app->Services.Shown.size(), 1);
            QCOMPARE(app->Services.Shown[0].Kind, QStringLiteral("error"));
            QCOMPARE(app->Services.Shown[0].Caption, QStringLiteral("Ошибка"));
            QCOMPARE(app->Services.Shown[0].Text,
                     QStringLiteral("Поле \"Конец отрезка\":\n\r'e+' не является числом!"));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->EdMax));
            QCOMPARE(form->EdMax->selectedText(), QStringLiteral("e+"));
        });
    }
};

QTEST_MAIN(TstAnalysisCommands)
#include "tst_analysis_commands.moc"

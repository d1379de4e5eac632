// "Касательная / нормаль" as a user meets it, under a virtual X server: the graph list, every
// refusal with its box and focus, and the graph dialog prefilled with the line, after which this
// dialog stays open. Message boxes are answered by the scripted services.

#include "analysis/form_other.h"
#include "documents/color_text.h"
#include "graphs/form_graphic.h"
#include "graphs/graph_helpers.h"
#include "support/fake_ui_services.h"
#include "support/test_context.h"
#include "widgets/color_box.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

class TstFormOther : public QObject {
    Q_OBJECT

    std::unique_ptr<TFakeUiServices> services;
    std::unique_ptr<TAppContext> ctx;
    std::unique_ptr<TFormGraphic> graphDialog;
    std::unique_ptr<TFormOther> form;

    template <typename T> T* Child(const char* name) {
        T* c = form->findChild<T*>(QString::fromLatin1(name));
        if (!c)
            qWarning("no child %s", name);
        return c;
    }

    void AddGraph(int kind, const char* formula) {
        ctx->Document.Add(graphs_test::MakeGraph(kind, formula, -10, 10, 500));
    }

    // Chooses the entry, the kind of line and the point, and presses OK. `inGraphDialog` runs
    // while the graph dialog is shown; without it the graph dialog must not open.
    void Build(int entry, int line, const QString& point,
               const std::function<void(TFormGraphic&)>& inGraphDialog = {}) {
        form->CBoxFunction->setCurrentIndex(entry);
        QTest::mouseClick(Child<QRadioButton>(line == 0 ? "RGrLineTangent" : "RGrLineNormal"),
                          Qt::LeftButton, {}, QPoint(5, 5));
        form->EdVar->setText(point);
        bool shown = false;
        // Owned here, so that it cannot fire after this function when no dialog opened.
        QTimer answer;
        answer.setSingleShot(true);
        connect(&answer, &QTimer::timeout, form.get(), [&] {
            if (!graphDialog->isVisible())
                return;
            shown = true;
            if (inGraphDialog)
                inGraphDialog(*graphDialog);
            if (graphDialog->isVisible())
                graphDialog->reject();
        });
        answer.start(0);
        form->BBtnOKClick();
        QCOMPARE(shown, bool(inGraphDialog));
    }

private slots:
    void init() {
        services = std::make_unique<TFakeUiServices>();
        ctx = std::make_unique<TAppContext>();
        PrepareTestContext(*ctx, *services, ',');
        ctx->Settings.Asteriks = false;
        graphDialog = std::make_unique<TFormGraphic>(*ctx);
        form = std::make_unique<TFormOther>(*ctx, graphDialog.get());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        form.reset();
        graphDialog.reset();
        ctx.reset();
        services.reset();
    }

    void controlsCarryTheirCaptionsAndInitialTexts() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Касательная / нормаль"));
        QCOMPARE(Child<QLabel>("LbFunction")->text(), QStringLiteral("Формула"));
        QCOMPARE(Child<QLabel>("LbVar")->text(), QStringLiteral("Точка касания / пересечения"));
        QVERIFY(!form->CBoxFunction->isEditable());
        QCOMPARE(form->CBoxFunction->currentIndex(), -1);
        QCOMPARE(form->RGrLine->title(), QStringLiteral("Вид прямой"));
        QCOMPARE(Child<QRadioButton>("RGrLineTangent")->text(), QStringLiteral("касательная"));
        QCOMPARE(Child<QRadioButton>("RGrLineNormal")->text(), QStringLiteral("нормаль"));
        QVERIFY(Child<QRadioButton>("RGrLineTangent")->isChecked());
        QVERIFY(form->EdVar->text().isEmpty());
        QCOMPARE(Child<QPushButton>("BBtnOK")->text(), QStringLiteral("OK"));
        QCOMPARE(Child<QPushButton>("BBtnCancel")->text(), QStringLiteral("Отмена"));
    }

    void listHoldsTheCurvesOfEitherCartesianKindNoneChosen() {
        AddGraph(KindPolar, "q");
        AddGraph(KindYofX, "x^2");
        AddGraph(KindSurface, "x*y");
        AddGraph(KindXofY, "y^3");
        form->CBoxFunction->addItem(QStringLiteral("stale"));
        form->FillGraphList();
        QStringList entries;
        for (int i = 0; i < form->CBoxFunction->count(); ++i)
            entries << form->CBoxFunction->itemText(i);
        QCOMPARE(entries, (QStringList{"Y(X) = x^2", "X(Y) = y^3"}));
        QCOMPARE(form->CBoxFunction->currentIndex(), -1);
    }

    void noGraphAtAllClosesTheDialog() {
        form->FillGraphList();
        Build(-1, 0, QStringLiteral(" 1 "));
        QCOMPARE(services->Shown.size(), 1);
        QCOMPARE(services->Shown[0].Kind, QStringLiteral("error"));
        QCOMPARE(services->Shown[0].Caption, QStringLiteral("Ошибка"));
        QCOMPARE(services->Shown[0].Text,
                 QStringLiteral("В списке графиков нет\n\rсоответствующего графика!"));
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QCOMPARE(form->EdVar->text(), QStringLiteral("1"));
    }

    void refusal_data() {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("pointFocused");
        QTest::newRow("only other kinds") << "" << -1 << 0 << "1"
                                          << "Выберите график!" << false;
        QTest::newRow("no entry chosen") << "x*x" << -1 << 0 << "1"
                                         << "Выберите график!" << false;
        QTest::newRow("point beyond 500") << "x*x" << 0 << 0 << "501"
                                          << "Поле \"Точка касания / пересечения\":\n\rЧисло "
                                             "'501' не лежит в промежутке\n\rот -500  до 500 !"
                                          << true;
        QTest::newRow("point not a number") << "x*x" << 0 << 0 << "1.2.3"
                                            << "Поле \"Точка касания / "
                                               "пересечения\":\n\r'1,2,3' не является числом!"
                                            << true;
        QTest::newRow("kink")
            << "abs(x-1)" << 0 << 0 << "1"
            << "Для данной функции в данной точке нельзя\n\rпостроить касательную и нормаль!"
            << true;
        QTest::newRow("undefined sample")
            << "ln(x)" << 0 << 1 << "0"
            << "Для данной функции в данной точке нельзя\n\rпостроить касательную и нормаль!"
            << true;
        QTest::newRow("flat normal") << "x*x" << 0 << 1 << "0"
                                     << "Для данной функции первая производная\n\rслишком мала "
                                        "(около нуля).\n\rПопробуйте изменить точку касания / "
                                        "пересечения."
                                     << true;
    }
    void refusal() {
        QFETCH(QString, formula);
        QFETCH(int, entry);
        QFETCH(int, line);
        QFETCH(QString, point);
        QFETCH(QString, message);
        QFETCH(bool, pointFocused);
        AddGraph(KindSurface, "x*y");
        if (!formula.isEmpty())
            AddGraph(KindYofX, formula.toUtf8().constData());
        form->FillGraphList();
        form->CBoxFunction->setFocus();
        Build(entry, line, point);
        QCOMPARE(services->Shown.size(), 1);
        QCOMPARE(services->Shown[0].Kind, QStringLiteral("error"));
        QCOMPARE(services->Shown[0].Caption, QStringLiteral("Ошибка"));
        QCOMPARE(services->Shown[0].Text, message);
        QVERIFY(form->isVisible());
        QCOMPARE(form->focusWidget() == form->EdVar, pointFocused);
        QCOMPARE(ctx->Document.GraphCount(), formula.isEmpty() ? 1 : 2);
    }

    void tangentPrefillsTheGraphDialogAndTheDialogStaysOpen() {
        AddGraph(KindYofX, "x*x*x");
        ctx->Document.ColorCounter = 5;
        // A graph dialog left as an edit of another graph, with other texts.
        ctx->Document.EditMode = 1;
        graphDialog->CBoxTypeGraphic->setCurrentIndex(3);
        graphDialog->EdFunction_2->setText(QStringLiteral("sin(u)"));
        graphDialog->EdMinX->setText(QStringLiteral("-3"));
        graphDialog->EdNumberStepX->setText(QStringLiteral("42"));
        form->FillGraphList();
        Build(0, 0, QStringLiteral("1"), [this](TFormGraphic& g) {
            QCOMPARE(g.EdFunction->text(),
                     QStringLiteral("1,0000000 +3,0000000 * ( x -1,0000000 )"));
            QVERIFY(g.EdFunction_2->text().isEmpty());
            QCOMPARE(g.CBoxTypeGraphic->currentIndex(), 0);
            QCOMPARE(g.EdMinX->text(), QStringLiteral("-10"));
            QCOMPARE(g.EdMaxX->text(), QStringLiteral("10"));
            QCOMPARE(g.EdNumberStepX->text(), QStringLiteral("500"));
            QCOMPARE(g.ColorBoxGraphic->currentIndex(), 2); // the first colour no graph has
            QCOMPARE(ctx->Document.EditMode, 0);
            g.BBtnOKClick();
        });
        QVERIFY(services->Shown.isEmpty());
        QCOMPARE(ctx->Document.GraphCount(), 2);
        QCOMPARE(ctx->Document.Caption(1),
                 std::string("Y(X) = 1,0000000 +3,0000000 * ( x -1,0000000 )"));
        QCOMPARE(ctx->Document.Graph(0).Formula, std::string("x*x*x"));
        // The other line can be built next.
        QVERIFY(form->isVisible());
    }

    void normalOfAnXofYGraphIsOfferedAsXofY() {
        AddGraph(KindYofX, "x");
        AddGraph(KindXofY, "y*y");
        form->FillGraphList();
        Build(1, 1, QStringLiteral(" -2 "), [](TFormGraphic& g) {
            QCOMPARE(g.EdFunction->text(),
                     QStringLiteral("4,0000000 + 1/4,0000000 * ( y +2,0000000 )"));
            QCOMPARE(g.CBoxTypeGraphic->currentIndex(), 1);
        });
        QCOMPARE(form->EdVar->text(), QStringLiteral("-2"));
        QCOMPARE(ctx->Document.GraphCount(), 2); // the graph dialog was cancelled
        QVERIFY(form->isVisible());
    }

    // The line is proposed a colour as any new graph: neither a graph's nor the background's.
    void colourProposalIsTheFirstFreeColour() {
        AddGraph(KindYofX, "x*x");
        ctx->Document.Graph(0).SetColor(clMaroon);
        ctx->Document.ColorCounter = 0;
        ctx->Settings.BackGround = clGreen;
        form->FillGraphList();
        Build(0, 0, QStringLiteral("1"), [](TFormGraphic& g) {
            QCOMPARE(g.ColorBoxGraphic->currentIndex(), 4);
            QCOMPARE(g.SelectedColor(), clOlive);
        });
    }

    void duplicateEntriesBuildFromTheFirstGraph() {
        AddGraph(KindYofX, "x*x");
        AddGraph(KindYofX, "x*x");
        ctx->Document.Graph(1).FormulaPrepared = "#x#"; // would give another line
        form->FillGraphList();
        Build(1, 0, QStringLiteral("1"), [](TFormGraphic& g) {
            QCOMPARE(g.EdFunction->text(),
                     QStringLiteral("1,0000000 +2,0000000 * ( x -1,0000000 )"));
        });
    }

    void pointFieldFiltersKeysAndShowsItsText() {
        QTest::keyClicks(form->EdVar, QStringLiteral("-1a,5x.2@#;"));
        QCOMPARE(form->EdVar->text(), QStringLiteral("-1a,5x.2"));
        QCOMPARE(form->EdVar->toolTip(), QStringLiteral("-1a,5x.2"));
    }

    void pointTypedAsAnExpression() {
        AddGraph(KindYofX, "x*x");
        form->FillGraphList();
        Build(0, 0, QStringLiteral("1/2"), [](TFormGraphic& g) {
            QCOMPARE(g.EdFunction->text(),
                     QStringLiteral("0,2500000 +1,0000000 * ( x -0,5000000 )"));
        });
        QVERIFY(services->Shown.isEmpty());
    }
};

QTEST_MAIN(TstFormOther)
#include "tst_form_other.moc"

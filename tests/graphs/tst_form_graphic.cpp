// The graph dialog and the function pick list as a user meets them, under a virtual X server.
// Message boxes are answered by the scripted services; every modal loop is closed by a timer.

#include "documents/color_text.h"
#include "graphs/form_graphic.h"
#include "graphs/func_list.h"
#include "support/fake_ui_services.h"
#include "support/test_context.h"
#include "support/widget_tools.h"
#include "widgets/number_edits.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <memory>
#include <utility>

class TstFormGraphic : public QObject {
    Q_OBJECT

    std::unique_ptr<TFakeUiServices> services;
    std::unique_ptr<TAppContext> ctx;
    std::unique_ptr<TFormGraphic> form;
    int redraws = 0;
    int stored = 0;

    template <typename T> T* Child(const char* name) { return ::Child<T>(*form, name); }
    QLineEdit* Ed(const char* name) { return Child<QLineEdit>(name); }
    QString Text(const char* name) { return Child<QLabel>(name)->text(); }

    // A new graph: the add command's preparation, the dialog shown, the kind chosen, the entries
    // typed and OK pressed.
    void Define(int kind, const QString& formula, const QString& minX = QString(),
                const QString& maxX = QString(), const QString& steps = QString()) {
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        form->CBoxTypeGraphic->setCurrentIndex(kind);
        Ed("EdFunction")->setText(formula);
        if (!minX.isEmpty())
            Ed("EdMinX")->setText(minX);
        if (!maxX.isEmpty())
            Ed("EdMaxX")->setText(maxX);
        if (!steps.isEmpty())
            Ed("EdNumberStepX")->setText(steps);
        form->BBtnOKClick();
    }

private slots:
    void init() {
        services = std::make_unique<TFakeUiServices>();
        ctx = std::make_unique<TAppContext>();
        PrepareTestContext(*ctx, *services, ',');
        ctx->Settings.Asteriks = false;
        redraws = 0;
        ctx->Document.Hooks.Redraw = [this] { ++redraws; };
        form = std::make_unique<TFormGraphic>(*ctx);
        stored = 0;
        form->GraphStored = [this] { ++stored; };
    }
    void cleanup() {
        form.reset();
        ctx.reset();
        services.reset();
    }

    // Each showing centres the dialog with the size its kind gives it, whatever kind it showed
    // before.
    void dialogIsCentredWithTheSizeOfTheKindShown() {
        TGraphic surface;
        surface.Kind = 4;
        surface.Formula = "x*y";
        surface.SetColor(clGreen);
        ctx->Document.Add(std::move(surface));
        QSize sizes[2];
        for (int round = 0; round < 2; ++round) {
            if (round == 0)
                QVERIFY(form->PrepareForEdit(0)); // a surface: the second interval is shown
            else
                QVERIFY(form->PrepareForNewGraph()); // kind 0: it is not
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            QTest::qWait(50);
            sizes[round] = form->size();
            const QPoint centre = form->screen()->availableGeometry().center();
            const QPoint shown = form->frameGeometry().center();
            QVERIFY2((shown - centre).manhattanLength() <= 2,
                     qPrintable(QStringLiteral("round %1: centre %2,%3 instead of %4,%5")
                                    .arg(round)
                                    .arg(shown.x())
                                    .arg(shown.y())
                                    .arg(centre.x())
                                    .arg(centre.y())));
            form->hide();
        }
        QVERIFY(sizes[0].height() > sizes[1].height());
    }

    void controlsCarryTheirCaptionsAndInitialTexts() {
        QCOMPARE(form->windowTitle(), QStringLiteral("График"));
        QCOMPARE(Text("Label2"), QStringLiteral("Тип графика"));
        QCOMPARE(Text("Label1"), QStringLiteral("Цвет графика "));
        QCOMPARE(Child<QPushButton>("BBtnOK")->text(), QStringLiteral("OK"));
        QVERIFY(Child<QPushButton>("BBtnOK")->isDefault());
        QCOMPARE(Child<QPushButton>("BBtnCancel")->text(), QStringLiteral("Отмена"));
        QCOMPARE(Child<QCheckBox>("ChBoxGradation")->text(), QStringLiteral("Градация цветом"));
        QCOMPARE(Child<QComboBox>("CBoxTypeGraphic")->count(), 6);
        QCOMPARE(Child<QComboBox>("CBoxTypeGraphic")->itemText(5),
                 QStringLiteral("Сферические координаты p(q, a)"));
        QCOMPARE(Child<QComboBox>("CBoxExLine")->count(), 7);
        QCOMPARE(Child<QComboBox>("CBoxExLine")->currentIndex(), 2);
        QCOMPARE(Ed("EdMinX")->text(), QStringLiteral("-10"));
        QCOMPARE(Ed("EdMaxX")->text(), QStringLiteral("10"));
        QCOMPARE(Ed("EdNumberStepX")->text(), QStringLiteral("500"));
        QCOMPARE(Ed("EdMinY")->text(), QStringLiteral("-1"));
        QCOMPARE(Ed("EdMaxY")->text(), QStringLiteral("1"));
        QCOMPARE(Text("LbFunction_2"), QStringLiteral("Y(U)"));
        QVERIFY(Child<QWidget>("RGrBuilding"));
        QCOMPARE(form->BuildingGroup->checkedId(), 0);
    }

    void colourBoxListsCustomThenTheTwentyNamedColours() {
        auto* box = Child<QComboBox>("ColorBoxGraphic");
        QCOMPARE(box->count(), 21);
        QCOMPARE(box->itemText(0), QStringLiteral("Другой..."));
        QCOMPARE(box->itemText(1), QStringLiteral("Чёрный"));
        QCOMPARE(box->itemText(20), QStringLiteral("Средне-серый"));
        // Every colour is named in Russian, and no two alike.
        QSet<QString> names;
        for (int i = 0; i < box->count(); ++i) {
            const QString name = box->itemText(i);
            QVERIFY2(!name.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))),
                     qPrintable(name));
            names.insert(name);
        }
        QCOMPARE(names.size(), box->count());
        const std::vector<TColor> items = form->ColorItems();
        QCOMPARE(items[0], clBlack);
        for (std::size_t i = 0; i < ColorNames.size(); ++i)
            QCOMPARE(items[i + 1], ColorNames[i].Value);
        QCOMPARE(form->SelectedColor(), clMaroon);
    }

    void kindAppearance_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("lbMin");
        QTest::addColumn<QString>("lbNumberStep");
        QTest::addColumn<QString>("lbFunction");
        QTest::addColumn<QString>("pi");
        QTest::addColumn<QString>("lbMinY");
        QTest::addColumn<bool>("secondFormula");
        QTest::addColumn<QStringList>("texts"); // EdMinX, EdMaxX, EdMinY, EdMaxY, steps
        QTest::newRow("Y(X)") << 0 << "Минимум X"
                              << "Количество шагов по X"
                              << "Y(X)"
                              << ""
                              << "" << false << QStringList{"-10", "10", "-10", "10", "500"};
        QTest::newRow("X(Y)") << 1 << "Минимум Y"
                              << "Количество шагов по Y"
                              << "X(Y)"
                              << ""
                              << "" << false << QStringList{"-10", "10", "-10", "10", "500"};
        QTest::newRow("polar") << 2 << "Минимум угла q"
                               << "Количество шагов по q"
                               << "r(q)"
                               << "Pi"
                               << "" << false << QStringList{"0", "2", "0", "1", "500"};
        QTest::newRow("parametric") << 3 << "Минимум U"
                                    << "Количество шагов по U"
                                    << "X(U)"
                                    << ""
                                    << "" << true << QStringList{"-10", "10", "-10", "10", "500"};
        QTest::newRow("surface") << 4 << "Минимум X"
                                 << "Количество шагов по X"
                                 << "Z(X, Y)"
                                 << ""
                                 << "Минимум Y" << false << QStringList{"-1", "1", "-1", "1", "50"};
        QTest::newRow("spherical")
            << 5 << "Минимум угла q"
            << "Количество шагов по q"
            << "p(q, a)"
            << "Pi"
            << "Минимум угла a" << false << QStringList{"0", "2", "0", "1", "50"};
    }
    void kindAppearance() {
        QFETCH(int, kind);
        QFETCH(QString, lbMin);
        QFETCH(QString, lbNumberStep);
        QFETCH(QString, lbFunction);
        QFETCH(QString, pi);
        QFETCH(QString, lbMinY);
        QFETCH(bool, secondFormula);
        QFETCH(QStringList, texts);
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        form->CBoxTypeGraphic->setCurrentIndex(5 - kind); // come from another kind
        form->CBoxTypeGraphic->setCurrentIndex(kind);
        QCOMPARE(Text("LbMin"), lbMin);
        QCOMPARE(Text("LbNumberStep"), lbNumberStep);
        QCOMPARE(Text("LbFunction"), lbFunction);
        QCOMPARE(Text("LbPiMin"), pi);
        QCOMPARE(Text("LbPiMax"), pi);
        QCOMPARE(Ed("EdFunction_2")->isVisible(), secondFormula);
        QCOMPARE(Child<QLabel>("LbFunction_2")->isVisible(), secondFormula);
        const bool second = !lbMinY.isEmpty();
        for (const char* name : {"EdMinY", "EdMaxY", "EdNumberStepY"})
            QCOMPARE(Ed(name)->isVisible(), second);
        QCOMPARE(Child<QLabel>("LbNumberStepY")->isVisible(), second);
        if (second)
            QCOMPARE(Text("LbMinY"), lbMinY);
        QCOMPARE(Text("LbPiMin2"), kind == 5 ? QStringLiteral("Pi") : QString());
        QCOMPARE(Ed("EdMinX")->text(), texts[0]);
        QCOMPARE(Ed("EdMaxX")->text(), texts[1]);
        QCOMPARE(Ed("EdMinY")->text(), texts[2]);
        QCOMPARE(Ed("EdMaxY")->text(), texts[3]);
        QCOMPARE(Ed("EdNumberStepX")->text(), texts[4]);
        QCOMPARE(Ed("EdNumberStepY")->text(), texts[4]);
    }

    void rejection_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("minX");
        QTest::addColumn<QString>("maxX");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focused");
        QTest::newRow("min equals max") << 0 << "x"
                                        << "5"
                                        << "5"
                                        << "500"
                                        << "\"Максимум X\" должен быть\n\rбольше \"Минимум X\"!"
                                        << "EdMaxX";
        QTest::newRow("min abc") << 0 << "x"
                                 << "abc"
                                 << "10"
                                 << "500"
                                 << "Поле \"Минимум X\":\n\r'abc' не является числом!"
                                 << "EdMinX";
        QTest::newRow("min 1001") << 0 << "x"
                                  << "1001"
                                  << "10"
                                  << "500"
                                  << "Поле \"Минимум X\":\n\rЧисло '1001' не лежит в "
                                     "промежутке\n\rот -1000  до 1000 !"
                                  << "EdMinX";
        QTest::newRow("polar min 1001")
            << 2 << "q"
            << "1001"
            << "2"
            << "500"
            << "Поле \"Минимум угла q\":\n\rЧисло '1001' не лежит в промежутке\n\rот -1000 Pi до "
               "1000 Pi!"
            << "EdMinX";
        QTest::newRow("surface 201 steps") << 4 << "x*y"
                                           << "-1"
                                           << "1"
                                           << "201"
                                           << "Поле \"Количество шагов по X\":\n\rЧисло '201' не "
                                              "лежит в промежутке\n\rот 1 до 200!"
                                           << "EdNumberStepX";
        QTest::newRow("empty formula") << 0 << ""
                                       << "-10"
                                       << "10"
                                       << "500"
                                       << "Неправильное выражение!"
                                       << "EdFunction";
        QTest::newRow("blanks only") << 0 << "   "
                                     << "-10"
                                     << "10"
                                     << "500"
                                     << "Неправильное выражение!"
                                     << "EdFunction";
        QTest::newRow("x+") << 0 << "x+"
                            << "-10"
                            << "10"
                            << "500"
                            << "Ошибка в выражении!"
                            << "EdFunction";
    }
    void rejection() {
        QFETCH(int, kind);
        QFETCH(QString, formula);
        QFETCH(QString, minX);
        QFETCH(QString, maxX);
        QFETCH(QString, steps);
        QFETCH(QString, message);
        QFETCH(QString, focused);
        Define(kind, formula, minX, maxX, steps);
        QCOMPARE(services->Shown.size(), 1);
        QCOMPARE(services->Shown[0].Kind, QStringLiteral("error"));
        QCOMPARE(services->Shown[0].Caption, QStringLiteral("Ошибка"));
        QCOMPARE(services->Shown[0].Text, message);
        QVERIFY(form->focusWidget());
        QCOMPARE(form->focusWidget()->objectName(), focused);
        auto* edit = Ed(focused.toLatin1().constData());
        QCOMPARE(edit->selectedText(), edit->text());
        QCOMPARE(ctx->Document.GraphCount(), 0);
        QVERIFY(form->isVisible());
        QCOMPARE(redraws, 1);
        QCOMPARE(stored, 0);
    }

    void undefinedAtOneIsAcceptedAndBuilt() {
        Define(0, QStringLiteral("ln(x-1)"));
        QVERIFY(services->Shown.isEmpty());
        QCOMPARE(ctx->Document.GraphCount(), 1);
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QVERIFY(!form->isVisible());
        QCOMPARE(redraws, 1);
        QCOMPARE(stored, 1);
        const TGraphic& g = ctx->Document.Graph(0);
        QCOMPARE(ctx->Document.Caption(0), std::string("Y(X) = ln(x-1)"));
        QVERIFY(ctx->Document.Visible(0));
        QCOMPARE(g.Points.size(), std::size_t(500));
        QCOMPARE(g.Points.front().y, UndefinedValue); // ln of a negative number
        QVERIFY(g.Points.back().y < 10 && g.Points.back().y > 2);
        QCOMPARE(g.Color, clMaroon);
        QCOMPARE(g.LineWidth, 1.0);
    }

    void formulaIsTrimmedAndLowerCased() {
        Define(0, QStringLiteral("  2SIN(X) "));
        QCOMPARE(Ed("EdFunction")->text(), QStringLiteral("2sin(x)"));
        QCOMPARE(ctx->Document.Caption(0), std::string("Y(X) = 2sin(x)"));
    }

    void conversionNoticeOnlyWithAsteriks() {
        ctx->Settings.Asteriks = true;
        Define(0, QStringLiteral("2x"));
        QCOMPARE(services->Shown.size(), 1);
        QCOMPARE(services->Shown[0].Kind, QStringLiteral("information"));
        QCOMPARE(services->Shown[0].Caption, QStringLiteral("Преобразование"));
        QCOMPARE(services->Shown[0].Text,
                 QStringLiteral("Ваше выражение Y(X) будет преобразовано в следующее:\n\r2*x"));
        QCOMPARE(ctx->Document.GraphCount(), 1);

        services->Shown.clear();
        ctx->Settings.Asteriks = false;
        Define(0, QStringLiteral("2x"));
        QVERIFY(services->Shown.isEmpty());
        QCOMPARE(ctx->Document.GraphCount(), 2);
    }

    void xOfYStoresItsIntervalInTheSecondFields() {
        Define(1, QStringLiteral("y^2"), QStringLiteral("-3"), QStringLiteral("4,5"),
               QStringLiteral("300"));
        QCOMPARE(ctx->Document.GraphCount(), 1);
        const TGraphic& g = ctx->Document.Graph(0);
        QCOMPARE(g.MinY, -3.0);
        QCOMPARE(g.MaxY, 4.5);
        QCOMPARE(g.StepsY, 300);
        QCOMPARE(g.MinX, -1.0); // the record's defaults stay
        QCOMPARE(g.MaxX, 1.0);
        QCOMPARE(g.StepsX, 50);
        QCOMPARE(g.Points.size(), std::size_t(300));
    }

    void editingKeepsPositionTickAndObject() {
        Define(0, QStringLiteral("x"));
        Define(2, QStringLiteral("q"), QStringLiteral("0,5"), QStringLiteral("1,5"));
        Define(0, QStringLiteral("x^2"));
        QCOMPARE(ctx->Document.GraphCount(), 3);
        ctx->Document.SetVisible(1, false);
        const TGraphic* before = &ctx->Document.Graph(1);
        const TColor colour = before->Color;

        QVERIFY(form->PrepareForEdit(1));
        QCOMPARE(ctx->Document.EditMode, std::uint8_t(1));
        form->show(); // showing must not reset the texts of an edited graph
        QCOMPARE(form->CBoxTypeGraphic->currentIndex(), 2);
        QCOMPARE(Ed("EdFunction")->text(), QStringLiteral("q"));
        QCOMPARE(Ed("EdMinX")->text(), QStringLiteral("0,5"));
        QCOMPARE(Ed("EdMaxX")->text(), QStringLiteral("1,5"));
        QCOMPARE(form->SelectedColor(), colour);
        Ed("EdFunction")->setText(QStringLiteral("3q"));
        form->BBtnOKClick();

        QCOMPARE(ctx->Document.GraphCount(), 3);
        QCOMPARE(&ctx->Document.Graph(1), before);
        QCOMPARE(ctx->Document.Caption(1), std::string("r(q) = 3q"));
        QVERIFY(!ctx->Document.Visible(1));
        QCOMPARE(ctx->Document.Caption(0), std::string("Y(X) = x"));
        QCOMPARE(ctx->Document.Caption(2), std::string("Y(X) = x^2"));
        const TGraphic& g = ctx->Document.Graph(1);
        QCOMPARE(g.Formula2Prepared, g.FormulaPrepared);
        QCOMPARE(g.Color, colour);
        QCOMPARE(ctx->Document.ColorCounter, 3); // editing adds nothing
    }

    void editRefusesATableAndAMissingGraph() {
        TGraphic table;
        table.Kind = KindTable;
        ctx->Document.Add(table);
        QVERIFY(!form->PrepareForEdit(0));
        QVERIFY(!form->PrepareForEdit(1));
        QVERIFY(!form->PrepareForEdit(-1));
    }

    void colourProposalRunsThroughTheBox() {
        ctx->Settings.BackGround = clWhite;
        const TColor expected[] = {clMaroon, clGreen, clOlive, clNavy};
        for (TColor c : expected) {
            QVERIFY(form->PrepareForNewGraph());
            QCOMPARE(form->SelectedColor(), c);
            Define(0, QStringLiteral("x"));
        }
        QCOMPARE(ctx->Document.Graph(2).Color, clOlive);
    }

    // After one of five graphs is deleted, its colour is the first that no graph has; the
    // background's colour is never proposed.
    void colourProposalIsTheFirstColourNoGraphHas() {
        ctx->Settings.BackGround = clWhite;
        for (int i = 0; i < 5; ++i)
            Define(0, QStringLiteral("x"));
        ctx->Document.Delete(1);
        QVERIFY(form->PrepareForNewGraph());
        QCOMPARE(form->SelectedColor(), clGreen);
        QCOMPARE(ctx->Document.Graph(1).Color, clOlive); // stored colours stay

        ctx->Settings.BackGround = clGreen;
        QVERIFY(form->PrepareForNewGraph());
        QCOMPARE(form->SelectedColor(), clTeal);
    }

    void aFullDocumentRefusesANewGraph() {
        for (int i = 0; i < MaxGraphs; ++i)
            ctx->Document.Add(TGraphic{});
        QVERIFY(!form->PrepareForNewGraph());
        QCOMPARE(services->Shown.size(), 1);
        QCOMPARE(services->Shown[0].Caption, QStringLiteral("Добавление графика"));
        QCOMPARE(services->Shown[0].Text,
                 QStringLiteral("Количество графиков должно быть не больше 100!"));
    }

    void customColourComesFromTheChooser() {
        TColor offered = 0x0080FF;
        bool answer = true;
        form->ChooseCustomColor = [&](TColor) -> std::optional<TColor> {
            if (!answer)
                return std::nullopt;
            return offered;
        };
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        auto* box = Child<QComboBox>("ColorBoxGraphic");
        box->setCurrentIndex(10);
        emit box->activated(10);
        answer = false;
        box->setCurrentIndex(0);
        emit box->activated(0);
        QCOMPARE(form->SelectedColor(), clRed); // cancelled: the earlier choice stays
        answer = true;
        box->setCurrentIndex(0);
        emit box->activated(0);
        QCOMPARE(form->SelectedColor(), offered);
        Ed("EdFunction")->setText(QStringLiteral("x"));
        form->BBtnOKClick();
        QCOMPARE(ctx->Document.Graph(0).Color, offered);
    }

    void numberEditsFilterKeys_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("interval takes an expression") << "EdMinX"
                                                      << "-Pi/2 + sqrt(2)*e^(1:3)|"
                                                      << "-Pi/2 + sqrt(2)*e^(1:3)|";
        QTest::newRow("interval drops other signs") << "EdMaxY"
                                                    << "1@#$%&;=2"
                                                    << "12";
        QTest::newRow("steps keep digits only") << "EdNumberStepX"
                                                << "12.5-a"
                                                << "125";
        QTest::newRow("second steps are not filtered") << "EdNumberStepY"
                                                       << "5a"
                                                       << "5a";
    }
    void numberEditsFilterKeys() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        auto* e = Ed(edit.toLatin1().constData());
        e->clear();
        QTest::keyClicks(e, typed);
        QCOMPARE(e->text(), shown);
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->text(), shown.chopped(1));
    }

    // A Cyrillic e typed for Euler's number comes in, and OK says that the field holds no number
    // instead of building the graph with what the field held before.
    void cyrillicLetterInAnIntervalIsRefusedByName() {
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        Ed("EdFunction")->setText(QStringLiteral("ln(x)"));
        auto* e = Ed("EdMaxX");
        e->selectAll();
        QTest::sendKeyEvent(QTest::KeyAction::Click, e, Qt::Key_unknown, QStringLiteral("е"),
                            Qt::NoModifier);
        QCOMPARE(e->text(), QStringLiteral("е"));
        form->BBtnOKClick();
        QCOMPARE(services->Shown.size(), 1);
        QCOMPARE(services->Shown[0].Text,
                 QStringLiteral("Поле \"Максимум X\":\n\r'е' не является числом!"));
        QCOMPARE(form->focusWidget(), e);
        QCOMPARE(ctx->Document.GraphCount(), 0);
    }

    // Interval ends typed as expressions reach the graph as their values.
    void typedExpressionsBecomeTheInterval() {
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        Ed("EdFunction")->setText(QStringLiteral("sin(x)"));
        for (const auto& [name, typed] : {std::pair{"EdMinX", QStringLiteral("-pi/2")},
                                          std::pair{"EdMaxX", QStringLiteral("2e")}}) {
            Ed(name)->clear();
            QTest::keyClicks(Ed(name), typed);
        }
        form->BBtnOKClick();
        QVERIFY(services->Shown.isEmpty());
        QCOMPARE(ctx->Document.GraphCount(), 1);
        QVERIFY(std::fabs(ctx->Document.Graph(0).MinX + 1.5707963267949) < 1e-13);
        QVERIFY(std::fabs(ctx->Document.Graph(0).MaxX - 5.4365636569181) < 1e-13);
    }

    void cyrillicFormulaIsLowerCasedAndRejected() {
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        auto* e = Ed("EdFunction");
        for (const QChar c : QStringLiteral("ЖX"))
            QTest::sendKeyEvent(QTest::KeyAction::Click, e, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        form->BBtnOKClick();
        QCOMPARE(e->text(), QStringLiteral("жx"));
        QCOMPARE(services->Shown.size(), 1);
        QCOMPARE(services->Shown[0].Text, QStringLiteral("Ошибка в выражении!"));
        QCOMPARE(ctx->Document.GraphCount(), 0);
    }

    void numberChecksShowTheirMessageInAnErrorBox() {
        form->show();
        double value = 7;
        Ed("EdMinX")->setText(QStringLiteral("1001"));
        QVERIFY(!CheckFloatEdit(*ctx, Ed("EdMinX"), QStringLiteral("Минимум угла q"),
                                QStringLiteral("Pi"), -1000, 1000, value));
        QCOMPARE(value, 7.0);
        QCOMPARE(form->focusWidget(), Ed("EdMinX"));
        QCOMPARE(Ed("EdMinX")->selectedText(), QStringLiteral("1001"));
        std::int32_t steps = 0;
        Ed("EdNumberStepX")->setText(QStringLiteral(" 20 "));
        QVERIFY(CheckIntEdit(*ctx, Ed("EdNumberStepX"), QStringLiteral("Шаги"), 1, 200, steps));
        QCOMPARE(steps, 20);
        Ed("EdNumberStepX")->setText(QStringLiteral("x"));
        QVERIFY(!CheckIntEdit(*ctx, Ed("EdNumberStepX"), QStringLiteral("Шаги"), 1, 200, steps));
        QCOMPARE(form->focusWidget(), Ed("EdNumberStepX"));
        QCOMPARE(services->Shown.size(), 2);
        QCOMPARE(services->Shown[0].Caption, QStringLiteral("Ошибка"));
        QCOMPARE(services->Shown[0].Text,
                 QStringLiteral("Поле \"Минимум угла q\":\n\rЧисло '1001' не лежит в "
                                "промежутке\n\rот -1000 Pi до 1000 Pi!"));
        QCOMPARE(services->Shown[1].Text,
                 QStringLiteral("Поле \"Шаги\":\n\r'x' не является натуральным числом!"));
    }

    // A kind picked from the open list with the mouse leaves the keyboard in the formula box;
    // the arrow keys on the closed box keep it on the box.
    void kindPickedWithTheMouseHandsTheKeyboardToTheFormula() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        form->CBoxTypeGraphic->setFocus();
        QTRY_VERIFY(form->CBoxTypeGraphic->hasFocus());
        QTest::keyClick(form->CBoxTypeGraphic, Qt::Key_Down);
        QVERIFY(form->CBoxTypeGraphic->hasFocus());
        form->CBoxTypeGraphic->showPopup();
        QAbstractItemView* list = form->CBoxTypeGraphic->view();
        QTRY_VERIFY(list->isVisible());
        const QRect row = list->visualRect(list->model()->index(2, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTRY_COMPARE(form->CBoxTypeGraphic->currentIndex(), 2);
        QTRY_VERIFY(Ed("EdFunction")->hasFocus());
        form->hide();
    }

    void backspaceDoesNotChangeTheKind() {
        form->CBoxTypeGraphic->setCurrentIndex(3);
        QTest::keyClick(form->CBoxTypeGraphic, Qt::Key_Backspace);
        QCOMPARE(form->CBoxTypeGraphic->currentIndex(), 3);
    }

    void hintsShowTheWholeText() {
        Ed("EdMinX")->setText(QStringLiteral("-12,5"));
        QCOMPARE(Ed("EdMinX")->toolTip(), QStringLiteral("-12,5"));
        Ed("EdFunction")->setText(QStringLiteral("sin(x)+cos(x)"));
        QCOMPARE(Ed("EdFunction")->toolTip(), QStringLiteral("sin(x)+cos(x)"));
        Ed("EdNumberStepX")->setText(QStringLiteral("300"));
        QVERIFY(Ed("EdNumberStepX")->toolTip().isEmpty());
    }

    void typedFormulaAndEnterBuildTheGraph() {
        QVERIFY(form->PrepareForNewGraph());
        QTimer::singleShot(0, form.get(), [this] {
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form.get()));
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus == Ed("EdFunction"));
            QTest::keyClicks(focus, QStringLiteral("2sin(x)"));
            QTest::keyClick(focus, Qt::Key_Return);
        });
        QTimer::singleShot(5000, form.get(), [this] { form->reject(); }); // never hang
        QCOMPARE(form->exec(), int(QDialog::Accepted));
        QCOMPARE(ctx->Document.GraphCount(), 1);
        QCOMPARE(ctx->Document.Caption(0), std::string("Y(X) = 2sin(x)"));
    }

    void pickListInsertsAFunctionWithTheCaretInside() {
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        auto* edit = Ed("EdFunction");
        edit->setText(QStringLiteral("x+"));
        edit->setFocus();
        int rows = 0;
        QTimer::singleShot(0, form.get(), [&] {
            TFuncList* list = form->FuncList();
            QVERIFY(list->isVisible());
            rows = list->ListBox1->count();
            list->ListBox1->setCurrentRow(5);
            QCOMPARE(list->ListBox1->currentItem()->text(), QStringLiteral("sqrt"));
            QTest::keyClick(list->ListBox1, Qt::Key_Return);
        });
        QTimer::singleShot(5000, form.get(), [this] { form->FuncList()->reject(); });
        QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(rows, 22);
        QCOMPARE(edit->text(), QStringLiteral("x+sqrt(  )"));
        QCOMPARE(edit->cursorPosition(), 8); // after 'sqrt( '
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("sqrt(  )"));
    }

    void pickListInsertsOtherEntriesAsTheyStand_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("caret");
        QTest::newRow("parentheses") << 15 << "x+(  )" << 6;
        QTest::newRow("power") << 16 << "x+^" << 3;
        QTest::newRow("variable") << 21 << "x+x" << 3;
        QTest::newRow("function") << 0 << "x+sin(  )" << 7;
    }
    void pickListInsertsOtherEntriesAsTheyStand() {
        QFETCH(int, row);
        QFETCH(QString, result);
        QFETCH(int, caret);
        auto* edit = Ed("EdFunction");
        edit->setText(QStringLiteral("x+"));
        TFuncList* list = form->FuncList();
        list->SetTarget(edit, {QStringLiteral("x")});
        list->ListBox1->setCurrentRow(row);
        list->InsertSelected();
        QCOMPARE(edit->text(), result);
        QCOMPARE(edit->cursorPosition(), caret);
    }

    void pickListReplacesTheSelection() {
        auto* edit = Ed("EdFunction");
        edit->setText(QStringLiteral("x+old"));
        edit->setSelection(2, 3);
        TFuncList* list = form->FuncList();
        list->SetTarget(edit, {QStringLiteral("x")});
        list->ListBox1->setCurrentRow(1);
        list->InsertSelected();
        QCOMPARE(edit->text(), QStringLiteral("x+cos(  )"));
    }

    void pickListItemsPerKind_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("target");
        QTest::addColumn<QStringList>("letters");
        QTest::newRow("Y(X)") << 0 << 0 << QStringList{"x"};
        QTest::newRow("X(Y)") << 1 << 0 << QStringList{"y"};
        QTest::newRow("polar") << 2 << 0 << QStringList{"q"};
        QTest::newRow("parametric first") << 3 << 0 << QStringList{"u"};
        QTest::newRow("parametric second") << 3 << 1 << QStringList{"u"};
        QTest::newRow("surface") << 4 << 0 << QStringList{"x", "y"};
        QTest::newRow("spherical") << 5 << 0 << QStringList{"q", "a"};
        QTest::newRow("second of a curve") << 0 << 1 << QStringList{};
    }
    void pickListItemsPerKind() {
        QFETCH(int, kind);
        QFETCH(int, target);
        QFETCH(QStringList, letters);
        TFuncList* list = form->FuncList();
        // A surface first: its two letters must not survive into the next opening.
        form->CBoxTypeGraphic->setCurrentIndex(4);
        QTimer::singleShot(0, list, [list] { list->reject(); });
        form->OpenFuncList(0);
        form->CBoxTypeGraphic->setCurrentIndex(kind);
        QStringList seen;
        QTimer::singleShot(0, list, [&] {
            for (int i = 0; i < list->ListBox1->count(); ++i)
                seen << list->ListBox1->item(i)->text();
            list->reject();
        });
        form->OpenFuncList(target);
        QCOMPARE(seen.size(), 21 + letters.size());
        QCOMPARE(seen.mid(0, 21), TFuncList::FixedItems);
        QCOMPARE(seen.mid(21), letters);
        QCOMPARE(seen[15], QStringLiteral("(  )"));
    }

    void pickListKeysWrapAround_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("keypad");
        QTest::addColumn<int>("to");
        QTest::newRow("up from the first") << 0 << int(Qt::Key_Up) << false << 22;
        QTest::newRow("numpad 8 from the first") << 0 << int(Qt::Key_8) << true << 22;
        QTest::newRow("down from the last") << 22 << int(Qt::Key_Down) << false << 0;
        QTest::newRow("numpad 2 from the last") << 22 << int(Qt::Key_2) << true << 0;
        QTest::newRow("numpad 8 moves up") << 5 << int(Qt::Key_8) << true << 4;
        QTest::newRow("numpad 2 moves down") << 5 << int(Qt::Key_2) << true << 6;
        QTest::newRow("up moves up") << 5 << int(Qt::Key_Up) << false << 4;
    }
    void pickListKeysWrapAround() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(bool, keypad);
        QFETCH(int, to);
        TFuncList* list = form->FuncList();
        list->SetTarget(Ed("EdFunction"), {QStringLiteral("x"), QStringLiteral("y")});
        list->ListBox1->setCurrentRow(from);
        QTest::keyClick(list->ListBox1, Qt::Key(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(list->ListBox1->currentRow(), to);
    }

    void pickListKeysWorkWhileTheButtonHasTheFocus() {
        form->show();
        auto* edit = Ed("EdFunction");
        edit->setText(QStringLiteral("x+"));
        edit->setFocus();
        TFuncList* list = form->FuncList();
        int row = -1;
        QTimer::singleShot(0, form.get(), [&] {
            list->Button1->setFocus();
            // Up from the first entry wraps to the last, the variable "x"; Enter inserts it.
            QTest::keyClick(list->Button1, Qt::Key_Up);
            row = list->ListBox1->currentRow();
            QTest::keyClick(list->Button1, Qt::Key_Return);
        });
        QTimer::singleShot(5000, form.get(), [list] { list->reject(); });
        QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(row, 21);
        QCOMPARE(edit->text(), QStringLiteral("x+x"));
        QCOMPARE(list->result(), int(QDialog::Accepted));
    }

    void pickListEscapeLeavesTheFormula() {
        form->show();
        auto* edit = Ed("EdFunction");
        edit->setText(QStringLiteral("x+"));
        edit->setFocus();
        bool shown = false;
        QTimer::singleShot(0, form.get(), [&] {
            shown = form->FuncList()->isVisible();
            QTest::keyClick(form->FuncList()->ListBox1, Qt::Key_Escape);
        });
        QTimer::singleShot(5000, form.get(), [this] { form->FuncList()->reject(); });
        QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(shown);
        QCOMPARE(edit->text(), QStringLiteral("x+"));
        QCOMPARE(form->FuncList()->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TstFormGraphic)
#include "tst_form_graphic.moc"

// The table dialog as a user meets it, under a virtual X server: its controls, the add and edit
// commands, OK with every cell check, the row count with its hidden rows, clearing, the style
// boxes and both sorts. Message boxes are answered by the scripted services.

#include "table_dialog_world.h"

#include "documents/color_text.h"
#include "tables/table_graph.h"
#include "widgets/color_box.h"
#include "widgets/line_width_box.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

#include <memory>

class TstFormGraphicTable : public QObject {
    Q_OBJECT

    std::unique_ptr<TTableDialogWorld> world;
    TFormGraphicTable* form = nullptr;
    TDocument* doc = nullptr;

    template <typename T> T* Child(const char* name) {
        T* c = form->findChild<T*>(QString::fromLatin1(name));
        if (!c)
            qWarning("no child %s", name);
        return c;
    }

    // A table graph as a document would hold it.
    int AddTable(const std::vector<TPoint3D>& points, std::uint8_t building = 0) {
        TGraphic g;
        TTableStyle style;
        style.Color = clTeal;
        style.Lines = building != 1;
        style.Points = building != 0;
        style.LineIndex = 4;
        style.PointIndex = 5;
        style.Gradation = true;
        StoreTableGraph(points, style, g);
        return doc->Add(std::move(g));
    }

    QModelIndex CurrentCell() { return form->SGridGraphicTable->currentIndex(); }

private slots:
    void init() {
        world = std::make_unique<TTableDialogWorld>(',');
        form = world->Form.get();
        doc = &world->Ctx->Document;
    }
    void cleanup() { world.reset(); }

    void controlsCarryTheirCaptionsAndHints() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Табличное задание функции"));
        const struct {
            const char* Name;
            const char* Caption;
            const char* Hint;
        } buttons[] = {{"BBtnFillTable", "Автозаполнение", "Автозаполнение таблицы"},
                       {"BBtnClearAll", "Очистить всё", "Обнулить все значения в таблице"},
                       {"BBtnInformation", "Статистика", "Статистическая информация по таблице"},
                       {"BBtnLoad", "Загрузить", "Загрузить файл таблицы"},
                       {"BBtnSave", "Сохранить", "Сохранить файл таблицы"},
                       {"BBtnApply", "Применить", "Применить заданное количество точек к таблице"},
                       {"Button1", "Сортировать", ""},
                       {"BBtnOK", "OK", ""},
                       {"BBtnCancel", "Отмена", ""},
                       {"BitBtn1", "X, Y", "Сортировать по X, затем по Y"}};
        for (const auto& b : buttons) {
            auto* button = Child<QPushButton>(b.Name);
            QVERIFY2(button, b.Name);
            QCOMPARE(button->text(), QString::fromUtf8(b.Caption));
            QCOMPARE(button->toolTip(), QString::fromUtf8(b.Hint));
        }
        QVERIFY(Child<QPushButton>("BBtnInformation")->font().bold());
        QVERIFY(Child<QPushButton>("BBtnOK")->isDefault());
        QCOMPARE(Child<QGroupBox>("GrBRows")->title(), QStringLiteral("Количество точек"));
        QCOMPARE(Child<QLineEdit>("EdRows")->text(), QStringLiteral("1"));
        QCOMPARE(Child<QGroupBox>("GrBBuilding")->title(), QStringLiteral("Построение"));
        QCOMPARE(Child<QCheckBox>("ChBoxLines")->text(), QStringLiteral("линии"));
        QVERIFY(Child<QCheckBox>("ChBoxLines")->isChecked());
        QVERIFY(!Child<QCheckBox>("ChBoxPoints")->isChecked());
        QCOMPARE(Child<TLineWidthBox>("CBoxExLine")->count(), 7);
        QCOMPARE(Child<TLineWidthBox>("CBoxExPixel")->count(), 7);
        QCOMPARE(Child<QGroupBox>("RGrSort")->title(), QStringLiteral("Сортировка"));
        QCOMPARE(form->SortGroup->checkedId(), 0);
        QCOMPARE(form->SortGroup->button(0)->text(), QStringLiteral("нет"));
        QCOMPARE(form->SortGroup->button(3)->text(), QStringLiteral("Z"));
        QCOMPARE(Child<QCheckBox>("ChBoxSortMode")->text(), QStringLiteral("По возрастанию"));
        QVERIFY(Child<QCheckBox>("ChBoxSortMode")->isChecked());
        QCOMPARE(Child<QCheckBox>("ChBoxGradation")->text(), QStringLiteral("Градация цветом"));
        QCOMPARE(Child<TColorBox>("ColorBoxGraphic")->count(), 21);
    }

    void gridShowsTitlesAndRowNumbers() {
        auto* grid = Child<TTableGridView>("SGridGraphicTable");
        QVERIFY(grid);
        world->Type({{"1", "2", "3"}, {"4", "5", "6"}, {"7", "8", "9"}});
        QAbstractItemModel* model = grid->model();
        QCOMPARE(model->columnCount(), 3);
        QCOMPARE(model->rowCount(), 3);
        for (int c = 0; c < 3; ++c)
            QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), QString(QChar(u'X' + c)));
        QCOMPARE(model->headerData(2, Qt::Vertical).toInt(), 3);
        QCOMPARE(grid->columnWidth(0), 69);
        QCOMPARE(grid->columnWidth(1), 70);
        QCOMPARE(grid->columnWidth(2), 66);
        // A cell's hint is its whole text.
        QCOMPARE(model->data(model->index(1, 1), Qt::ToolTipRole).toString(), QStringLiteral("5"));
    }

    void rowsFieldTakesDigitsOnlyAndShowsItsTextAsHint() {
        auto* rows = Child<QLineEdit>("EdRows");
        rows->clear();
        QTest::keyClicks(rows, QStringLiteral("1a2.,-3"));
        QCOMPARE(rows->text(), QStringLiteral("123"));
        QCOMPARE(rows->toolTip(), QStringLiteral("123"));
    }

    void newGraphCommandStartsWithOneRowOfZeros() {
        world->Type({{"5", "5", "5"}, {"6", "6", "6"}, {"7", "7", "7"}});
        form->ChBoxPoints->setChecked(true);
        form->ChBoxGradation->setChecked(true);
        form->CBoxExLine->setCurrentIndex(6);
        QVERIFY(form->PrepareForNewGraph());
        QCOMPARE(world->Shown(), (QList<QStringList>{{"0", "0", "0"}}));
        QCOMPARE(form->EdRows->text(), QStringLiteral("1"));
        // Every row was emptied, so rows shown again later start empty and become "0".
        QCOMPARE(QString::fromStdString(form->Grid().Cell(2, 1)), QString());
        QVERIFY(form->ChBoxLines->isChecked());
        QVERIFY(!form->ChBoxPoints->isChecked());
        QVERIFY(!form->ChBoxGradation->isChecked());
        QCOMPARE(form->CBoxExLine->currentIndex(), 2);
        QCOMPARE(form->CBoxExPixel->currentIndex(), 2);
        QCOMPARE(form->ColorBoxGraphic->SelectedColor(), clMaroon);
        QCOMPARE(doc->EditMode, std::uint8_t{0});
        QCOMPARE(form->EditIndex(), -1);
    }

    // The first colour that is neither the background nor any graph's.
    void proposedColourSkipsTheBackgroundAndTheGraphsColours() {
        world->Ctx->Settings.BackGround = static_cast<std::int32_t>(clMaroon);
        QVERIFY(form->PrepareForNewGraph());
        QCOMPARE(form->ColorBoxGraphic->SelectedColor(), clGreen);
        doc->Graph(AddTable({TPoint3D{}})).SetColor(clGreen);
        QVERIFY(form->PrepareForNewGraph());
        QCOMPARE(form->ColorBoxGraphic->SelectedColor(), clOlive);
    }

    void newGraphIsRefusedWhenTheDocumentIsFull() {
        for (int i = 0; i < MaxGraphs; ++i)
            AddTable({TPoint3D{}});
        QVERIFY(!form->PrepareForNewGraph());
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->LastBox().Kind, QStringLiteral("error"));
        QCOMPARE(world->LastBox().Caption, QStringLiteral("Построение таблично заданного графика"));
        QCOMPARE(world->LastBox().Text,
                 QStringLiteral("Количество графиков должно быть не больше 100!"));
    }

    void okStoresANewTableGraph() {
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        world->Type({{"1", "2.5", ""}, {" -3,25 ", "4", "1000"}, {"0", "-1000", "7"}});
        form->ChBoxPoints->setChecked(true);
        form->CBoxExPixel->setCurrentIndex(6);
        form->ChBoxGradation->setChecked(true);
        QTest::mouseClick(form->BBtnOK, Qt::LeftButton);
        QVERIFY(world->Services->Shown.isEmpty());
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(doc->GraphCount(), 1);
        QCOMPARE(doc->ColorCounter, 1);
        const TGraphic& g = doc->Graph(0);
        QCOMPARE(g.Kind, std::uint8_t{KindTable});
        QCOMPARE(g.Points, (std::vector<TPoint3D>{{1, 2.5, 0}, {-3.25, 4, 1000}, {0, -1000, 7}}));
        QCOMPARE(g.BoundMinX, -3.25);
        QCOMPARE(g.BoundMaxY, 4.0);
        QCOMPARE(g.BoundMinY, -1000.0);
        QCOMPARE(g.BoundMaxZ, 1000.0);
        QCOMPARE(g.BoundMinZ, 0.0);
        QCOMPARE(g.Building, std::uint8_t{2});
        QCOMPARE(g.LineWidth, 1.0);
        QCOMPARE(g.PointSize, 5.0);
        QCOMPARE(g.PointSizeIndex, 6);
        QVERIFY(g.Gradation);
        QCOMPARE(g.Color, clMaroon);
        QCOMPARE(QString::fromStdString(doc->Caption(0)), QStringLiteral("Таблица: 3 (.)"));
        QVERIFY(doc->Visible(0));
        QCOMPARE(world->Redraws, 1);
        // The cells were normalised on the way: comma, trimmed, empty as "0".
        QCOMPARE(world->Shown()[0], (QStringList{"1", "2,5", "0"}));
        QCOMPARE(world->Shown()[1], (QStringList{"-3,25", "4", "1000"}));
    }

    void typedCellIsStoredWhenOkIsPressedWhileEditing() {
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        TTableGridView* grid = form->SGridGraphicTable;
        grid->setCurrentIndex(grid->model()->index(0, 1));
        grid->edit(grid->currentIndex());
        // The cell's editor itself: where the keyboard goes depends on the window being active,
        // which a loaded machine may grant late.
        QWidget* editor = grid->indexWidget(grid->currentIndex());
        QVERIFY(editor && editor != grid);
        QTest::keyClicks(editor, QStringLiteral("42"), Qt::NoModifier);
        form->BBtnOKClick();
        QCOMPARE(doc->GraphCount(), 1);
        QCOMPARE(doc->Graph(0).Points.front().y, 42.0);
    }

    // The editor's last word reaches the model, which must still hold its grid then.
    void dialogClosesWithACellBeingEdited() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        TTableGridView* grid = form->SGridGraphicTable;
        grid->setCurrentIndex(grid->model()->index(0, 0));
        grid->edit(grid->currentIndex());
        QWidget* editor = grid->indexWidget(grid->currentIndex());
        QVERIFY(editor != nullptr); // the editor is open
        QTest::keyClicks(editor, QStringLiteral("7"));
        world.reset();
        QVERIFY(!world);
    }

    void okRefusesABadCell_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a number") << 1 << 1 << "abc"
                                      << "'abc' не является числом!";
        QTest::newRow("above 1000")
            << 2 << 2 << "1000.5"
            << "Число '1000,5' не лежит в промежутке\n\rот -1000 Z до 1000 Z!";
        QTest::newRow("below -1000")
            << 0 << 0 << "-1e4"
            << "Число '-1e4' не лежит в промежутке\n\rот -1000 X до 1000 X!";
        QTest::newRow("group separator") << 2 << 1 << "1 000"
                                         << "'1 000' не является числом!";
    }
    void okRefusesABadCell() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        world->Type({{"1", "1", "1"}, {"2", "2", "2"}, {"3", "3", "3"}});
        TTableGridModel* model = form->Model();
        model->setData(model->index(row, column), text);
        form->BBtnOKClick();
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->LastBox().Kind, QStringLiteral("error"));
        QCOMPARE(world->LastBox().Caption, QStringLiteral("Ошибка"));
        QCOMPARE(world->LastBox().Text, message);
        QCOMPARE(doc->GraphCount(), 0);
        QVERIFY(form->isVisible());
        QCOMPARE(form->focusWidget(), static_cast<QWidget*>(form->SGridGraphicTable));
        QCOMPARE(CurrentCell().row(), row);
        QCOMPARE(CurrentCell().column(), column);
    }

    void firstBadCellInReadingOrderIsNamed() {
        QVERIFY(form->PrepareForNewGraph());
        world->Type({{"1", "1", "bad Z"}, {"bad X", "2", "2"}});
        form->BBtnOKClick();
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->LastBox().Text, QStringLiteral("'bad Z' не является числом!"));
        QCOMPARE(CurrentCell().row(), 0);
        QCOMPARE(CurrentCell().column(), 2);
    }

    void applyRowCount_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::newRow("3") << "3"
                           << "";
        QTest::newRow("5000") << "5000"
                              << "";
        QTest::newRow("0")
            << "0"
            << "Поле \"Количество точек\":\n\rЧисло '0' не лежит в промежутке\n\rот 1 "
               "до 5000!";
        QTest::newRow("5001") << "5001"
                              << "Поле \"Количество точек\":\n\rЧисло '5001' не лежит в "
                                 "промежутке\n\rот 1 до 5000!";
        QTest::newRow("fraction") << "1.5"
                                  << "Поле \"Количество точек\":\n\r'1,5' не является "
                                     "натуральным числом!";
        QTest::newRow("empty") << ""
                               << "Поле \"Количество точек\":\n\r'' не является натуральным "
                                  "числом!";
    }
    void applyRowCount() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->EdRows->setText(typed);
        QTest::mouseClick(form->BBtnApply, Qt::LeftButton);
        if (message.isEmpty()) {
            QVERIFY(world->Services->Shown.isEmpty());
            QCOMPARE(form->Model()->rowCount(), typed.toInt());
            QCOMPARE(form->Model()->data(form->Model()->index(typed.toInt() - 1, 2)).toString(),
                     QStringLiteral("0"));
        } else {
            QCOMPARE(world->Services->Shown.size(), 1);
            QCOMPARE(world->LastBox().Caption, QStringLiteral("Ошибка"));
            QCOMPARE(world->LastBox().Text, message);
            QCOMPARE(form->focusWidget(), static_cast<QWidget*>(form->EdRows));
            QCOMPARE(form->Model()->rowCount(), 1);
        }
    }

    void hiddenRowsKeepTheirTexts() {
        QVERIFY(form->PrepareForNewGraph());
        world->Type({{"1", "2", "3"}, {"4", "5", "6"}, {"7.5", "8", "9"}});
        form->EdRows->setText(QStringLiteral("1"));
        form->BBtnApplyClick();
        QCOMPARE(world->Shown(), (QList<QStringList>{{"1", "2", "3"}}));
        form->EdRows->setText(QStringLiteral("4"));
        form->BBtnApplyClick();
        QCOMPARE(world->Shown(),
                 (QList<QStringList>{
                     {"1", "2", "3"}, {"4", "5", "6"}, {"7,5", "8", "9"}, {"0", "0", "0"}}));
    }

    void clearAllZeroesTheShownRowsOnly() {
        QVERIFY(form->PrepareForNewGraph());
        world->Type({{"1", "2", "3"}, {"4", "5", "6"}});
        form->EdRows->setText(QStringLiteral("1"));
        form->BBtnApplyClick();
        QTest::mouseClick(form->BBtnClearAll, Qt::LeftButton);
        QCOMPARE(world->Shown(), (QList<QStringList>{{"0", "0", "0"}}));
        form->EdRows->setText(QStringLiteral("2"));
        form->BBtnApplyClick();
        QCOMPARE(world->Shown()[1], (QStringList{"4", "5", "6"}));
    }

    void oneDrawingStyleStaysChecked() {
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QTest::mouseClick(form->ChBoxLines, Qt::LeftButton);
        QVERIFY(form->ChBoxLines->isChecked()); // points are off, so lines come back
        QTest::mouseClick(form->ChBoxPoints, Qt::LeftButton);
        QTest::mouseClick(form->ChBoxLines, Qt::LeftButton);
        QVERIFY(!form->ChBoxLines->isChecked());
        QTest::mouseClick(form->ChBoxPoints, Qt::LeftButton);
        QVERIFY(form->ChBoxPoints->isChecked());
        form->BBtnOKClick();
        QCOMPARE(doc->Graph(0).Building, std::uint8_t{1});
        QCOMPARE(doc->Graph(0).PointSize, 1.0);
    }

    void editShowsTheGraphAndOkRewritesItsSlot() {
        AddTable({TPoint3D{1, 1, 1}});
        AddTable({TPoint3D{1.5, -2, 0}, TPoint3D{3, 4, 5}}, 2);
        AddTable({TPoint3D{9, 9, 9}});
        doc->SetVisible(1, false);
        const int counter = doc->ColorCounter;
        QVERIFY(form->PrepareForEdit(1));
        QCOMPARE(doc->EditMode, std::uint8_t{1});
        QCOMPARE(form->EditIndex(), 1);
        QCOMPARE(world->Shown(), (QList<QStringList>{{"1,5", "-2", "0"}, {"3", "4", "5"}}));
        QCOMPARE(form->EdRows->text(), QStringLiteral("2"));
        QVERIFY(form->ChBoxLines->isChecked());
        QVERIFY(form->ChBoxPoints->isChecked());
        QCOMPARE(form->CBoxExLine->currentIndex(), 4);
        QCOMPARE(form->CBoxExPixel->currentIndex(), 5);
        QVERIFY(form->ChBoxGradation->isChecked());
        QCOMPARE(form->ColorBoxGraphic->SelectedColor(), clTeal);

        form->show();
        world->Type({{"1", "1", "1"}, {"2", "2", "2"}, {"3", "3", "3"}});
        form->ChBoxLines->setChecked(false);
        form->BBtnOKClick();
        QCOMPARE(doc->GraphCount(), 3);
        QCOMPARE(doc->ColorCounter, counter);
        QCOMPARE(doc->Graph(1).Points.size(), std::size_t{3});
        QCOMPARE(doc->Graph(1).Building, std::uint8_t{1});
        // The width of the lines no longer drawn stays as it was.
        QCOMPARE(doc->Graph(1).LineWidthIndex, 4);
        QCOMPARE(QString::fromStdString(doc->Caption(1)), QStringLiteral("Таблица: 3 (.)"));
        QVERIFY(!doc->Visible(1));
        QCOMPARE(doc->Graph(0).Points.size(), std::size_t{1});
        QCOMPARE(doc->Graph(2).Points.front().x, 9.0);
    }

    void editOfAPointsOnlyGraphLeavesTheLineBoxAsItWas() {
        AddTable({TPoint3D{}}, 1);
        form->CBoxExLine->setCurrentIndex(6);
        QVERIFY(form->PrepareForEdit(0));
        QVERIFY(!form->ChBoxLines->isChecked());
        QVERIFY(form->ChBoxPoints->isChecked());
        QCOMPARE(form->CBoxExLine->currentIndex(), 6);
        QCOMPARE(form->CBoxExPixel->currentIndex(), 5);
    }

    void editRefusesAFormulaGraphAndAPositionOutsideTheList() {
        TGraphic formula;
        formula.Formula = "x";
        doc->Add(std::move(formula));
        QVERIFY(!form->PrepareForEdit(0));
        QVERIFY(!form->PrepareForEdit(1));
        QVERIFY(!form->PrepareForEdit(-1));
        QVERIFY(world->Services->Shown.isEmpty());
    }

    void tableWithoutPointsOpensAsOneRowOfZeros() {
        world->Type({{"stale", "stale", "stale"}});
        AddTable({});
        QVERIFY(form->PrepareForEdit(0));
        QCOMPARE(world->Shown(), (QList<QStringList>{{"0", "0", "0"}}));
        QCOMPARE(form->EdRows->text(), QStringLiteral("1"));
    }

    void tableLongerThanTheGridIsRefusedAndStaysAsItIs() {
        world->Type({{"mine", "1", "2"}});
        AddTable(std::vector<TPoint3D>(MaxTableRows + 1, TPoint3D{1, 2, 3}));
        QVERIFY(!form->PrepareForEdit(0));
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->LastBox().Kind, QStringLiteral("error"));
        QCOMPARE(world->LastBox().Caption, QStringLiteral("Ошибка"));
        QCOMPARE(world->LastBox().Text,
                 QStringLiteral("Количество точек таблицы (5001) больше 5000:\n\rтакую таблицу "
                                "нельзя изменить в этом окне!"));
        QCOMPARE(world->Shown(), (QList<QStringList>{{"mine", "1", "2"}}));
        QCOMPARE(doc->Graph(0).Points.size(), std::size_t(MaxTableRows + 1));
    }

    void showingAnEditAgainSelectsTheGraphsColour() {
        AddTable({TPoint3D{}});
        QVERIFY(form->PrepareForEdit(0));
        form->ColorBoxGraphic->SelectColor(clRed);
        form->show();
        QCOMPARE(form->ColorBoxGraphic->SelectedColor(), clTeal);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(form->focusWidget(), static_cast<QWidget*>(form->SGridGraphicTable));
    }

    void cancelLeavesTheDocumentAndKeepsTheGrid() {
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        world->Type({{"5", "6", "7"}});
        QTest::mouseClick(form->BBtnCancel, Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(doc->GraphCount(), 0);
        QCOMPARE(world->Shown(), (QList<QStringList>{{"5", "6", "7"}}));
    }

    void sortByTheChosenColumn_data() {
        QTest::addColumn<int>("key"); // the radio item: 0 none, 1 X, 2 Y, 3 Z
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QStringList>("x"); // the X column afterwards
        QTest::newRow("none") << 0 << true << QStringList{"3", "1", "2"};
        QTest::newRow("X ascending") << 1 << true << QStringList{"1", "2", "3"};
        QTest::newRow("X descending") << 1 << false << QStringList{"3", "2", "1"};
        QTest::newRow("Y ascending") << 2 << true << QStringList{"2", "3", "1"};
        QTest::newRow("Z descending") << 3 << false << QStringList{"2", "1", "3"};
    }
    void sortByTheChosenColumn() {
        QFETCH(int, key);
        QFETCH(bool, ascending);
        QFETCH(QStringList, x);
        QVERIFY(form->PrepareForNewGraph());
        world->Type({{"3", "0.5", "-1"}, {"1", "7", "0"}, {"2", "-4", "9"}});
        form->SortGroup->button(key)->setChecked(true);
        form->ChBoxSortMode->setChecked(ascending);
        form->Button1Click();
        QVERIFY(world->Services->Shown.isEmpty());
        QStringList shownX;
        for (const QStringList& row : world->Shown())
            shownX << row[0];
        QCOMPARE(shownX, x);
        // Rows move whole.
        for (const QStringList& row : world->Shown()) {
            if (row[0] == QStringLiteral("3"))
                QCOMPARE(row, (QStringList{"3", "0,5", "-1"}));
        }
    }

    void sortRefusesABadCellAndMovesNothing() {
        QVERIFY(form->PrepareForNewGraph());
        world->Type({{"3", "0", "0"}, {"1", "0", "2000"}});
        form->SortGroup->button(1)->setChecked(true);
        form->Button1Click();
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->LastBox().Text,
                 QStringLiteral("Число '2000' не лежит в промежутке\n\rот -1000 Z до 1000 Z!"));
        QCOMPARE(world->Shown()[0][0], QStringLiteral("3"));
        QCOMPARE(CurrentCell().row(), 1);
        QCOMPARE(CurrentCell().column(), 2);
    }

    void sortByXThenYSortsRunsOfEqualX() {
        QVERIFY(form->PrepareForNewGraph());
        world->Type({{"2", "5", "a"}, {"1", "3", "b"}, {"2", "1", "c"}, {"1", "-1", "d"}});
        // Z texts that are no numbers stop it before anything moves.
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->LastBox().Caption, QStringLiteral("Ошибка"));
        QCOMPARE(world->LastBox().Text, QStringLiteral("'a' не является числом!"));
        QCOMPARE(world->Shown()[0], (QStringList{"2", "5", "a"}));
        QCOMPARE(CurrentCell().column(), 2);

        world->Type({{"2", "5", "1"}, {"1", "3", "2"}, {"2", "1", "3"}, {"1", "-1", "4000"}});
        form->BitBtn1Click();
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->Shown(),
                 (QList<QStringList>{
                     {"1", "-1", "4000"}, {"1", "3", "2"}, {"2", "1", "3"}, {"2", "5", "1"}}));
    }

    // Long values widen their columns, and the dialog with them, so that none is elided; a table
    // of short values gives the widths as laid out back; a value longer than the screen is wide
    // stops the dialog at the screen's width, and the grid scrolls.
    void columnsShowTheirLongestValuesWhole() {
        QVERIFY(form->PrepareForNewGraph());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const int laidOutWidth = form->width();
        TTableGridView* view = form->SGridGraphicTable;
        const QList<QStringList> rows = {{"3,14159265358979", "-6,00000000000001", "1"},
                                         {"1", "2", "-999,000000000001"}};
        world->Type(rows);
        for (int column = 0; column < 3; ++column) {
            int longest = 0;
            for (const QStringList& row : rows)
                longest = std::max(longest, view->fontMetrics().horizontalAdvance(row[column]));
            QVERIFY2(view->columnWidth(column) > longest, qPrintable(rows[0][column]));
        }
        QTRY_VERIFY(form->width() > laidOutWidth);
        QTRY_COMPARE(view->horizontalScrollBar()->maximum(), 0);

        // Typing only widens; the next command that rewrites the grid fits it again.
        world->Type({{"1", "2", "3"}});
        form->BBtnApplyClick();
        QCOMPARE((QList<int>{view->columnWidth(0), view->columnWidth(1), view->columnWidth(2)}),
                 (QList<int>{69, 70, 66}));
        QTRY_COMPARE(form->width(), laidOutWidth);

        world->Type({{QString(500, QLatin1Char('9')), "0", "0"}});
        const QRect screen = form->screen()->availableGeometry();
        QTRY_VERIFY(form->width() > laidOutWidth);
        QVERIFY(form->frameGeometry().width() <= screen.width());
        QVERIFY(form->frameGeometry().left() >= screen.left());
        QTRY_VERIFY(view->horizontalScrollBar()->maximum() > 0);
    }

    void oneRowTableSortsToItself() {
        QVERIFY(form->PrepareForNewGraph());
        world->Type({{"1,50", "2", "3"}});
        form->SortGroup->button(1)->setChecked(true);
        form->Button1Click();
        QCOMPARE(world->Shown(), (QList<QStringList>{{"1,50", "2", "3"}}));
        QVERIFY(world->Services->Shown.isEmpty());
    }
};

QTEST_MAIN(TstFormGraphicTable)
#include "tst_form_graphic_table.moc"

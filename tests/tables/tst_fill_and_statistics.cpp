// "Автозаполнение таблицы" and "Статистическая информация" as the table dialog opens them, with
// the fill's checks and messages and the statistics shown for the grid's rows.

#include "table_dialog_world.h"

#include "tables/form_fill_table.h"
#include "tables/form_table_information.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

class TstFillAndStatistics : public QObject {
    Q_OBJECT

    std::unique_ptr<TTableDialogWorld> world;
    TFormGraphicTable* form = nullptr;
    TFormFillTable* fill = nullptr;
    TFormTableInformation* info = nullptr;

    QList<QStringList> Statistics() const {
        QList<QStringList> rows;
        for (int r = 0; r < info->SGridInformation->rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < 3; ++c)
                row << info->SGridInformation->item(r, c)->text();
            rows << row;
        }
        return rows;
    }

private slots:
    void init() {
        world = std::make_unique<TTableDialogWorld>(',');
        form = world->Form.get();
        fill = form->FillTable();
        info = form->TableInformation();
        info->GroupSeparator = std::string(1, ' '); // a plain blank between digit groups
        QVERIFY(form->PrepareForNewGraph());
    }
    void cleanup() { world.reset(); }

    void fillDialogCarriesItsCaptionsAndInitialTexts() {
        QCOMPARE(fill->windowTitle(), QStringLiteral("Автозаполнение таблицы"));
        QCOMPARE(fill->RGrXYZ->title(), QStringLiteral("Ось"));
        QCOMPARE(fill->AxisGroup->checkedId(), 0);
        QCOMPARE(fill->AxisGroup->button(2)->text(), QStringLiteral("Z"));
        QCOMPARE(fill->RGrProgression->title(), QStringLiteral("Прогрессия"));
        QCOMPARE(fill->ProgressionGroup->checkedId(), 0);
        QCOMPARE(fill->ProgressionGroup->button(0)->text(), QStringLiteral("арифметическая"));
        QCOMPARE(fill->ProgressionGroup->button(1)->text(), QStringLiteral("геометрическая"));
        QCOMPARE(fill->EdFirstCell->text(), QStringLiteral("1"));
        QCOMPARE(fill->EdLastCell->text(), QStringLiteral("50"));
        QCOMPARE(fill->EdFirstValue->text(), QStringLiteral("1"));
        QCOMPARE(fill->EdStep->text(), QStringLiteral("1"));
        QStringList labels;
        for (QLabel* label : fill->findChildren<QLabel*>())
            labels << label->text();
        for (const char* caption :
             {"№ начальной строки", "№ конечной строки", "Начальное значение", "Шаг"})
            QVERIFY2(labels.contains(QString::fromUtf8(caption)), caption);
        QCOMPARE(fill->BBtnOK->text(), QStringLiteral("OK"));
        QCOMPARE(fill->BBtnCancel->text(), QStringLiteral("Отмена"));
    }

    void fillFieldsFilterTheirKeys_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("first row: digits") << "EdFirstCell"
                                           << "1a-2,."
                                           << "12";
        QTest::newRow("last row: anything") << "EdLastCell"
                                            << "1a-2"
                                            << "1a-2";
        QTest::newRow("first value: expression keys") << "EdFirstValue"
                                                      << "-1a,5.e@"
                                                      << "-1a,5.e";
        QTest::newRow("step: expression keys") << "EdStep"
                                               << "x0.2+#(pi)/2^3;"
                                               << "x0.2+(pi)/2^3";
    }
    void fillFieldsFilterTheirKeys() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        auto* edit = fill->findChild<QLineEdit*>(field);
        QVERIFY(edit);
        edit->clear();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), kept);
        QCOMPARE(edit->toolTip(), kept);
    }

    // The button sets the stretch to the whole table; the user picks Y and a step, and OK fills.
    void fillFromTheTableDialog() {
        world->Type({{"a", "a", "a"}, {"b", "b", "b"}, {"c", "c", "c"}, {"d", "d", "d"}});
        fill->EdFirstCell->setText(QStringLiteral("3"));
        fill->EdLastCell->setText(QStringLiteral("3"));
        QString first, last;
        QVERIFY(WhileModal([&] { form->BBtnFillTableClick(); },
                           [&](QDialog* shown) {
                               QCOMPARE(shown, static_cast<QDialog*>(fill));
                               first = fill->EdFirstCell->text();
                               last = fill->EdLastCell->text();
                               fill->EdFirstCell->setText(QStringLiteral("2"));
                               fill->AxisGroup->button(1)->setChecked(true);
                               fill->EdFirstValue->setText(QStringLiteral("0.5"));
                               fill->EdStep->setText(QStringLiteral("-1/4"));
                               QTest::mouseClick(fill->BBtnOK, Qt::LeftButton);
                           }));
        QCOMPARE(first, QStringLiteral("1"));
        QCOMPARE(last, QStringLiteral("4"));
        QVERIFY(!fill->isVisible());
        QVERIFY(world->Services->Shown.isEmpty());
        QCOMPARE(world->Shown(),
                 (QList<QStringList>{
                     {"a", "a", "a"}, {"b", "0,50", "b"}, {"c", "0,25", "c"}, {"d", "0,00", "d"}}));
    }

    void geometricFillStopsBeforeLeavingTheRange() {
        world->Type(QList<QStringList>(12, QStringList{"k", "k", "k"}));
        fill->SetRowRange(12);
        fill->AxisGroup->button(2)->setChecked(true);
        fill->ProgressionGroup->button(1)->setChecked(true);
        fill->EdFirstValue->setText(QStringLiteral("1"));
        fill->EdStep->setText(QStringLiteral("2"));
        fill->BBtnOKClick();
        const QList<QStringList> rows = world->Shown();
        QCOMPARE(rows[0][2], QStringLiteral("1,0000000000"));
        QCOMPARE(rows[9][2], QStringLiteral("512,0000000000"));
        QCOMPARE(rows[10][2], QStringLiteral("k"));
        QCOMPARE(rows[9][0], QStringLiteral("k"));
    }

    void fillRefusesBadFields_data() {
        QTest::addColumn<QStringList>("fields"); // first row, last row, first value, step
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focused");
        QTest::newRow("first row 0")
            << QStringList{"0", "5", "1", "1"}
            << "Поле \"№ начальной строки\":\n\rЧисло '0' не лежит в промежутке\n\rот 1 до 5!"
            << "EdFirstCell";
        QTest::newRow("last row past the table")
            << QStringList{"1", "6", "1", "1"}
            << "Поле \"№ конечной строки\":\n\rЧисло '6' не лежит в промежутке\n\rот 1 до 5!"
            << "EdLastCell";
        QTest::newRow("last row a word")
            << QStringList{"1", "five", "1", "1"}
            << "Поле \"№ конечной строки\":\n\r'five' не является натуральным числом!"
            << "EdLastCell";
        QTest::newRow("last before first")
            << QStringList{"3", "2", "1", "1"}
            << "Максимальное значение должно быть\n\rне меньше минимального значения!"
            << "EdLastCell";
        QTest::newRow("first value above 1000")
            << QStringList{"1", "5", "1000.5", "1"}
            << "Поле \"Начальное значение\":\n\rЧисло '1000,5' не лежит в промежутке\n\rот -1000  "
               "до 1000 !"
            << "EdFirstValue";
        QTest::newRow("step no number")
            << QStringList{"1", "5", "1", "-"} << "Поле \"Шаг\":\n\r'-' не является числом!"
            << "EdStep";
    }
    void fillRefusesBadFields() {
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        QFETCH(QString, focused);
        world->Type(QList<QStringList>(5, QStringList{"k", "k", "k"}));
        fill->show();
        QVERIFY(QTest::qWaitForWindowExposed(fill));
        fill->EdFirstCell->setText(fields[0]);
        fill->EdLastCell->setText(fields[1]);
        fill->EdFirstValue->setText(fields[2]);
        fill->EdStep->setText(fields[3]);
        QTest::mouseClick(fill->BBtnOK, Qt::LeftButton);
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->LastBox().Kind, QStringLiteral("error"));
        QCOMPARE(world->LastBox().Caption, QStringLiteral("Ошибка"));
        QCOMPARE(world->LastBox().Text, message);
        QVERIFY(fill->isVisible());
        QVERIFY(fill->focusWidget());
        QCOMPARE(fill->focusWidget()->objectName(), focused);
        QCOMPARE(world->Shown(), QList<QStringList>(5, QStringList{"k", "k", "k"}));
        fill->hide();
    }

    void statisticsWindowCarriesItsTitles() {
        QCOMPARE(info->windowTitle(), QStringLiteral("Статистическая информация"));
        QTableWidget* grid = info->SGridInformation;
        QCOMPARE(grid->objectName(), QStringLiteral("SGridInformation"));
        QCOMPARE(grid->rowCount(), 8);
        QCOMPARE(grid->columnCount(), 3);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("X"));
        QCOMPARE(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Z"));
        QCOMPARE(grid->verticalHeaderItem(0)->text(), QStringLiteral("Минимум"));
        QCOMPARE(grid->verticalHeaderItem(6)->text(),
                 QStringLiteral("Исправленное станд. отклонение"));
        QCOMPARE(grid->verticalHeaderItem(7)->text(), QStringLiteral("Станд. отклонение"));
        QCOMPARE(grid->columnWidth(0), 111);
        QCOMPARE(grid->columnWidth(1), 102);
        QCOMPARE(grid->rowHeight(0), 20);
        QCOMPARE(info->BBtnOK->text(), QStringLiteral("OK"));
    }

    // "Статистика" normalises the cells first, so "2.5" counts under a comma locale; a word in
    // Z leaves only Z without that row.
    void statisticsOfTheShownRows() {
        world->Type({{"1", "-2", "0"}, {"2.5", "8", "word"}, {"1234", "1", "5"}});
        QList<QStringList> shown;
        QVERIFY(WhileModal([&] { form->BBtnInformationClick(); },
                           [&](QDialog* dialog) {
                               QCOMPARE(dialog, static_cast<QDialog*>(info));
                               shown = Statistics();
                               QTest::mouseClick(info->BBtnOK, Qt::LeftButton);
                           }));
        QCOMPARE(world->Shown()[1][0], QStringLiteral("2,5"));
        QCOMPARE(shown.size(), 8);
        QCOMPARE(shown[0], (QStringList{"1,0000000000", "-2,0000000000", "0,0000000000"}));
        QCOMPARE(shown[1], (QStringList{"1 234,0000000000", "8,0000000000", "5,0000000000"}));
        QCOMPARE(shown[2], (QStringList{"1 237,5000000000", "7,0000000000", "5,0000000000"}));
        QCOMPARE(shown[3][2], QStringLiteral("2,5000000000"));
        // -2 is the one negative Y value, so the product has no real root.
        QCOMPARE(shown[4][1], QStringLiteral("НЕТ"));
        QCOMPARE(shown[4][2], QStringLiteral("0,0000000000"));
        QCOMPARE(shown[5][0], QStringLiteral("1 522 763,2500000000"));
    }

    void oneRowHasNoCorrectedDeviation() {
        world->Type({{"-4", "0", "3"}});
        info->FormShow();
        const QList<QStringList> shown = Statistics();
        QCOMPARE(shown[4], (QStringList{"-4,0000000000", "0,0000000000", "3,0000000000"}));
        QCOMPARE(shown[6], (QStringList{"НЕТ", "НЕТ", "НЕТ"}));
        QCOMPARE(shown[7], (QStringList{"0,0000000000", "0,0000000000", "0,0000000000"}));
    }

    void statisticsAreComputedAnewEachShowing() {
        world->Type({{"1", "1", "1"}});
        info->show();
        QCOMPARE(Statistics()[2][0], QStringLiteral("1,0000000000"));
        info->hide();
        world->Type({{"1", "1", "1"}, {"2", "2", "2"}});
        info->show();
        QCOMPARE(Statistics()[2][0], QStringLiteral("3,0000000000"));
        info->hide();
    }

    void statisticsGridTakesNoTypedText() {
        world->Type({{"1", "1", "1"}});
        info->show();
        QVERIFY(QTest::qWaitForWindowExposed(info));
        QTableWidget* grid = info->SGridInformation;
        grid->setCurrentCell(0, 0);
        grid->setEditTriggers(QAbstractItemView::AnyKeyPressed); // even if editing were allowed
        QTest::keyClicks(grid, QStringLiteral("99"));
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("1,0000000000"));
        info->hide();
    }
};

QTEST_MAIN(TstFillAndStatistics)
#include "tst_fill_and_statistics.moc"

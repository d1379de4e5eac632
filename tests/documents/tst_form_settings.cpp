// The settings dialog as a user meets it, under a virtual X server. Error boxes are answered by
// the scripted services; the dialog is shown without a modal loop, so nothing waits on a timer.

#include "documents/form_settings.h"

#include "documents/color_text.h"
#include "documents/settings_file.h"
#include "graphs/autoscale.h"
#include "graphs/graph_helpers.h"
#include "support/fake_ui_services.h"
#include "support/test_context.h"
#include "widgets/color_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

// Every field of the record as the settings file writes it: a readable oracle for "unchanged".
QStringList Lines(const TSettings& s) {
    QStringList lines;
    for (const std::string& line : SettingsFileLines(s, '.'))
        lines << QString::fromStdString(line);
    return lines;
}

// Each control: its page ('-': below the pages), its name and its caption, if it has one.
const char* const Controls[] = {"0 ChBAxisX Ось OX",
                                "0 ChBAxisY Ось OY",
                                "0 ChBAxisZ Ось OZ",
                                "0 LbBackGround Цвет фона",
                                "0 ColorBoxBackGround",
                                "0 LbAxes Цвет осей",
                                "0 ColorBoxAxes",
                                "0 ChBPerspective Перспектива (рекомендуется)",
                                "0 ChBAsteriks Уведомлять о преобразовании выражения",
                                "0 GrBAxesPresets Настройки отображения осей",
                                "0 BBtnNothing Не отображать оси",
                                "0 BBtnDefault По умолчанию",
                                "0 BBtnSet2D Для двухмерных графиков ",
                                "0 BBtnSet3D Для трёхмерных графиков",
                                "1 GrBPlaneX Плоскость OX",
                                "1 ChBoxXDown Нижняя половина",
                                "1 ChBoxXUp Верхняя половина",
                                "1 LbColorX Цвет",
                                "1 ColorBoxX",
                                "1 GrBPlaneY Плоскость OY",
                                "1 ChBoxYDown Нижняя половина",
                                "1 ChBoxYUp Верхняя половина",
                                "1 ColorBoxY",
                                "1 GrBPlaneZ Плоскость OZ",
                                "1 ChBoxZDown Нижняя половина",
                                "1 ChBoxZUp Верхняя половина",
                                "1 ColorBoxZ",
                                "1 LbStepMesh Шаг сетки",
                                "1 EdStepMesh",
                                "2 GrBIntervals Интервалы по осям",
                                "2 LbMinX Min X",
                                "2 EdMinX",
                                "2 LbMaxX Max X",
                                "2 EdMaxX",
                                "2 LbMinY Min Y",
                                "2 EdMinY",
                                "2 LbMaxY Max Y",
                                "2 EdMaxY",
                                "2 LbMinZ Min Z",
                                "2 EdMinZ",
                                "2 LbMaxZ Max Z",
                                "2 EdMaxZ",
                                "2 ChBNumeration Нумерация на осях",
                                "2 ChBoxTouch Разметка на осях",
                                "2 LbStepNumeration Шаг нумерации на осях",
                                "2 LbStepNumeration_X По оси X",
                                "2 EdStepNumeration_X",
                                "2 LbStepNumeration_Y По оси Y",
                                "2 EdStepNumeration_Y",
                                "2 LbStepNumeration_Z По оси Z",
                                "2 EdStepNumeration_Z",
                                "- BBtnOK OK",
                                "- BBtnCancel Отмена"};

} // namespace

class TstFormSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<TFakeUiServices> services;
    std::unique_ptr<TAppContext> ctx;
    std::unique_ptr<TFormSettings> form;
    int redraws = 0;

    template <typename T = QLineEdit> T* Child(const QString& name) {
        return form->findChild<T*>(name);
    }
    void ShowActive() {
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    // A formula graph Y(X) = x on -10..10, sampled with the current settings.
    void AddLine() {
        ctx->Document.Add(graphs_test::MakeGraph(0, "x", -10, 10, 500));
        ctx->Document.Resample(0, ctx->Settings, ctx->Formula);
    }

private slots:
    void init() {
        services = std::make_unique<TFakeUiServices>();
        ctx = std::make_unique<TAppContext>();
        PrepareTestContext(*ctx, *services, ',');
        redraws = 0;
        ctx->Document.Hooks.Redraw = [this] { ++redraws; };
        form = std::make_unique<TFormSettings>(*ctx);
    }
    void cleanup() {
        form.reset();
        ctx.reset();
        services.reset();
    }

    void everyControlCarriesItsNameCaptionAndPage() {
        for (const char* control : Controls) {
            const QStringList parts = QString::fromUtf8(control).split(' ');
            const int page = parts[0] == "-" ? -1 : parts[0].toInt();
            const QByteArray nameBytes = parts[1].toLatin1();
            const char* name = nameBytes.constData();
            QWidget* w = Child<QWidget>(parts[1]);
            QVERIFY2(w, name);
            QString shown;
            if (auto* button = qobject_cast<QAbstractButton*>(w))
                shown = button->text();
            else if (auto* label = qobject_cast<QLabel*>(w))
                shown = label->text();
            else if (auto* group = qobject_cast<QGroupBox*>(w))
                shown = group->title();
            QCOMPARE(shown, QStringList(parts.mid(2)).join(' '));
            for (int i = 0; i < form->PageControl->count(); ++i)
                QVERIFY2(form->PageControl->widget(i)->isAncestorOf(w) == (i == page), name);
            // Measured rather than asked: fontconfig calls some monospaced fonts "dual".
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                QVERIFY2(QFontMetrics(edit->font()).horizontalAdvance(QLatin1Char('i')) ==
                             QFontMetrics(edit->font()).horizontalAdvance(QLatin1Char('W')),
                         name);
            if (auto* colours = qobject_cast<TColorBox*>(w))
                QCOMPARE(colours->count(), 21); // custom, then the twenty named colours
        }
    }

    void dialogIsFixedCentredAndLaidOutWithinItsSize() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Настройки"));
        QCOMPARE(form->minimumSize(), QSize(460, 345));
        QCOMPARE(form->maximumSize(), QSize(460, 345));
        const QSize needed = form->layout()->minimumSize();
        QVERIFY2(
            needed.width() <= 460 && needed.height() <= 345,
            qPrintable(QStringLiteral("needs %1x%2").arg(needed.width()).arg(needed.height())));
        QCOMPARE(form->PageControl->tabText(0), QStringLiteral("Общие"));
        QCOMPARE(form->PageControl->tabText(1), QStringLiteral("Сетки на плоскостях"));
        QCOMPARE(form->PageControl->tabText(2), QStringLiteral("Оси"));
        QVERIFY(form->BBtnOK->isDefault());
        QVERIFY(form->BBtnDefault->font().bold());
        QCOMPARE(form->palette().color(QPalette::Window), QColor(0xEA, 0xEA, 0xEA));
        QCOMPARE(form->GrBAxesPresets->palette().color(QPalette::Window), QColor(0xE2, 0xE1, 0xBA));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QPoint centre = form->screen()->availableGeometry().center();
        QVERIFY((form->frameGeometry().center() - centre).manhattanLength() <= 2);
    }

    void showingSetsEveryControlFromTheSettings() {
        TSettings& s = ctx->Settings;
        s.AxisX = s.AxisZ = s.Touch = s.Asteriks = false;
        s.XUp = s.YDown = s.ZUp = true;
        s.BackGround = clNavy;
        s.Axes = 0x000080FF; // orange has no name: the custom entry
        s.ColorX = clRed;
        s.ColorY = clLime;
        s.ColorZ = clBlue;
        StoreSettingsNumbers({{-2.5, 999.75, -1000, 0, 0.25, 1000, 37.125, 0.125, 50}, 0.5}, s);
        form->show();
        QString ticks;
        for (QCheckBox* b :
             {form->ChBAxisX, form->ChBAxisY, form->ChBAxisZ, form->ChBNumeration, form->ChBoxTouch,
              form->ChBPerspective, form->ChBoxXDown, form->ChBoxXUp, form->ChBoxYDown,
              form->ChBoxYUp, form->ChBoxZDown, form->ChBoxZUp, form->ChBAsteriks})
            ticks += b->isChecked() ? '1' : '0';
        QCOMPARE(ticks, QStringLiteral("0101010110010"));
        const QList<TColor> colours = {
            form->ColorBoxBackGround->SelectedColor(), form->ColorBoxAxes->SelectedColor(),
            form->ColorBoxX->SelectedColor(), form->ColorBoxY->SelectedColor(),
            form->ColorBoxZ->SelectedColor()};
        QCOMPARE(colours, QList<TColor>({clNavy, 0x000080FF, clRed, clLime, clBlue}));
        const QStringList texts = {"-2,5", "999,75", "-1000",  "0",     "0,25",
                                   "1000", "0,5",    "37,125", "0,125", "50"};
        for (std::size_t i = 0; i < SettingsFieldCount; ++i) {
            QLineEdit* e = form->FieldEdit(static_cast<TSettingsField>(i));
            QCOMPARE(e->text(), texts[static_cast<int>(i)]);
            QCOMPARE(e->toolTip(), e->text()); // the hint shows the whole number
        }
    }

    void refusedNumber_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* field, const char* text, const char* message) {
            QTest::newRow(field) << field << text << QString::fromUtf8(message);
        };
        row("EdMinX", "1000.5",
            "Поле \"Min X\":\n\rЧисло '1000,5' не лежит в промежутке\n\rот -1000  до 1000 !");
        row("EdMaxY", "abc", "Поле \"Max Y\":\n\r'abc' не является числом!");
        row("EdStepMesh", "0.005",
            "Поле \"Шаг сетки\":\n\rЧисло '0,005' не лежит в промежутке\n\rот 0,0100000000  до 100 "
            "!");
        row("EdStepNumeration_Z", "0.05",
            "Поле \"Шаг нумерации по оси Z\":\n\rЧисло '0,05' не лежит в промежутке\n\rот "
            "0,1000000000  до 50 !");
    }
    // The user is on the first page; the refused field's page comes forward with the field
    // focused and its text selected, and nothing is stored, not even a check box.
    void refusedNumber() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        const QStringList before = Lines(ctx->Settings);
        ShowActive();
        form->PageControl->setCurrentIndex(0);
        form->ChBAxisX->setChecked(false);
        QLineEdit* edit = Child(field);
        edit->setText(text);
        form->BBtnOK->click();
        QCOMPARE(services->Shown.size(), 1);
        QCOMPARE(services->Shown[0].Kind + services->Shown[0].Caption,
                 QStringLiteral("errorОшибка"));
        QCOMPARE(services->Shown[0].Text, message);
        QVERIFY(form->PageControl->currentWidget()->isAncestorOf(edit));
        QVERIFY(form->isVisible());
        QCOMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(edit->selectedText(), edit->text());
        QCOMPARE(Lines(ctx->Settings), before);
        QCOMPARE(redraws, 0);
    }

    void acceptedAndStored_data() {
        QTest::addColumn<QStringList>("edits"); // field=text
        QTest::addColumn<QString>("intervals"); // the settings file's line 4 afterwards
        QTest::addColumn<QString>("steps");     // and its line 5
        const auto row = [](const char* name, const QStringList& edits, const char* intervals,
                            const char* steps) {
            QTest::newRow(name) << edits << intervals << steps;
        };
        row("interval bounds", {"EdMinX=-1000", "EdMaxX=1000"}, "-1000 1000 -10 10 -10 10",
            "1 1 1 1");
        row("mesh step 0.01", {"EdStepMesh=0.01"}, "-10 10 -10 10 -10 10", "0.01 1 1 1");
        row("numbering step 0.1", {"EdStepNumeration_Y=0,1"}, "-10 10 -10 10 -10 10", "1 1 0.1 1");
        row("5 and -5 swap", {"EdMinX=5", "EdMaxX=-5", "EdMinZ=3", "EdMaxZ=-7,5"},
            "-5 5 -10 10 -7.5 3", "1 1 1 1");
        // The file keeps the values, as it keeps typed numbers.
        row("expressions", {"EdMinY=-2pi", "EdStepNumeration_X=pi/5"},
            "-10 10 -6.28318530717958 10 -10 10", "1 0.628318530717958 1 1");
    }
    void acceptedAndStored() {
        QFETCH(QStringList, edits);
        QFETCH(QString, intervals);
        QFETCH(QString, steps);
        form->show();
        for (const QString& e : edits)
            Child(e.section('=', 0, 0))->setText(e.section('=', 1));
        form->BBtnOK->click();
        QVERIFY(services->Shown.isEmpty());
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QVERIFY(!form->isVisible());
        QCOMPARE(Lines(ctx->Settings)[3], intervals);
        QCOMPARE(Lines(ctx->Settings)[4], steps);
    }

    void okStoresEveryControl() {
        form->show();
        for (QCheckBox* box : form->findChildren<QCheckBox*>())
            box->setChecked(!box->isChecked());
        form->ColorBoxBackGround->SelectColor(clNavy);
        form->ColorBoxAxes->SelectColor(0x000080FF);
        form->ColorBoxX->SelectColor(clRed);
        form->ColorBoxY->SelectColor(clLime);
        form->ColorBoxZ->SelectColor(clBlue);
        form->EdStepMesh->setText(QStringLiteral("2,5"));
        form->BBtnOK->click();
        QCOMPARE(Lines(ctx->Settings),
                 QStringList({"clNavy", "$000080FF", "0 0 0 0 0 0 0 ", "-10 10 -10 10 -10 10",
                              "2.5 1 1 1", "1 1 1 1 1 1 ", "clRed", "clLime", "clBlue"}));
        QCOMPARE(ctx->Settings.BackGroundGL(), Color_To_GL(clNavy));
        QCOMPARE(redraws, 1);
    }

    void preset_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("start"); // the file's lines 3 and 6: axes, marks, notice; meshes
        QTest::addColumn<QString>("result");
        QTest::newRow("3D keeps the meshes") << "BBtnSet3D"
                                             << "0 0 0 0 0 0 0 |1 0 0 1 1 0 "
                                             << "1 1 1 1 1 1 0 |1 0 0 1 1 0 ";
        QTest::newRow("2D keeps plane OY") << "BBtnSet2D"
                                           << "0 0 1 0 0 1 1 |1 1 1 0 0 1 "
                                           << "1 1 0 1 1 0 1 |0 0 1 0 0 0 ";
        QTest::newRow("nothing keeps the notice") << "BBtnNothing"
                                                  << "1 1 1 1 1 0 1 |1 1 1 1 1 1 "
                                                  << "0 0 0 0 0 1 1 |0 0 0 0 0 0 ";
    }
    void preset() {
        QFETCH(QString, button);
        QFETCH(QString, start);
        QFETCH(QString, result);
        TSettings& s = ctx->Settings;
        const QList<bool TSettings::*> fields = {
            &TSettings::AxisX,      &TSettings::AxisY, &TSettings::AxisZ,
            &TSettings::Numeration, &TSettings::Touch, &TSettings::Perspective,
            &TSettings::Asteriks,   &TSettings::XDown, &TSettings::XUp,
            &TSettings::YDown,      &TSettings::YUp,   &TSettings::ZDown,
            &TSettings::ZUp};
        const QString digits = QString(start).remove(' ').remove('|');
        for (int i = 0; i < fields.size(); ++i)
            s.*fields[i] = digits[i] == '1';
        form->show();
        Child<QPushButton>(button)->click();
        QVERIFY(services->Shown.isEmpty());
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(Lines(s)[2] + '|' + Lines(s)[5], result);
        QCOMPARE(redraws, 1);
    }

    // A preset acts as OK, checks included: a wrong number stops it, nothing is stored, and the
    // ticks the preset set stay in the dialog.
    void presetChecksTheNumbersFirst() {
        const QStringList before = Lines(ctx->Settings);
        ShowActive();
        form->EdStepMesh->setText(QStringLiteral("0.005"));
        form->BBtnSet2D->click();
        QCOMPARE(services->Shown.size(), 1);
        QCOMPARE(Lines(ctx->Settings), before);
        QVERIFY(form->isVisible() && !form->ChBAxisZ->isChecked());
        QCOMPARE(QApplication::focusWidget(), form->EdStepMesh);
    }

    void cancelLeavesTheSettingsAndTheNextShowingShowsThem() {
        const QStringList before = Lines(ctx->Settings);
        form->show();
        form->ChBAxisX->setChecked(false);
        form->ChBoxYDown->setChecked(true);
        form->ColorBoxBackGround->SelectColor(clRed);
        form->EdMinX->setText(QStringLiteral("3"));
        form->BBtnCancel->click();
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QCOMPARE(Lines(ctx->Settings), before);
        QCOMPARE(redraws, 0);
        form->show();
        QVERIFY(form->ChBAxisX->isChecked() && !form->ChBoxYDown->isChecked());
        QCOMPARE(form->ColorBoxBackGround->SelectedColor(), clWhite);
        QCOMPARE(form->EdMinX->text(), QStringLiteral("-10"));
    }

    // "По умолчанию" samples the graphs on the restored intervals and scales as OK does.
    void defaultsResampleAndScaleAsOkDoes_data() {
        QTest::addColumn<bool>("autoScale");
        QTest::newRow("automatic scaling off") << false;
        QTest::newRow("automatic scaling on") << true;
    }
    void defaultsResampleAndScaleAsOkDoes() {
        QFETCH(bool, autoScale);
        ctx->Settings.MinX = -5;
        ctx->Settings.MaxX = 5;
        ctx->Settings.AxisX = false;
        ctx->Settings.BackGround = clNavy;
        AddLine();
        QVERIFY(ctx->Document.Graph(0).BoundMaxX < 5.01); // cut to the narrow interval
        ctx->Document.AutoScaleOn = autoScale;
        form->show();
        form->BBtnDefault->click();
        TSettings defaults;
        Settings_Default(defaults);
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QVERIFY(form->ChBAxisX->isChecked());
        QCOMPARE(form->EdMaxX->text(), QStringLiteral("10"));
        const TGraphic& g = ctx->Document.Graph(0);
        QVERIFY(g.BoundMinX < -9.99 && g.BoundMaxX > 9.99);
        // Automatic scaling fits the view to the graph sampled anew, as it does after OK.
        TSettings scaled = defaults;
        TDocument expected;
        expected.Add(graphs_test::MakeGraph(0, "x", -10, 10, 500));
        expected.Resample(0, scaled, ctx->Formula);
        expected.AutoScaleOn = autoScale;
        AutoScale(expected, scaled);
        QCOMPARE(Lines(ctx->Settings), Lines(scaled));
        QCOMPARE(Lines(ctx->Settings) == Lines(defaults), !autoScale);
        QCOMPARE(redraws, 1);
    }

    void okResamplesTheGraphs() {
        AddLine();
        QVERIFY(ctx->Document.Graph(0).BoundMinX < -9.99);
        form->show();
        form->EdMinX->setText(QStringLiteral("0"));
        form->EdMaxX->setText(QStringLiteral("5"));
        form->BBtnOK->click();
        const TGraphic& g = ctx->Document.Graph(0);
        QVERIFY(qAbs(g.BoundMinX) < 1e-9 && qAbs(g.BoundMaxX - 5) < 1e-9);
        QCOMPARE(redraws, 1);
    }

    // Switching automatic scaling off afterwards restores what the user confirmed in the dialog,
    // not the values from before automatic scaling was switched on.
    void confirmedValuesOutliveAutomaticScaling_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("autoScale");
        QTest::addColumn<QString>("restored"); // MinX, StepNumeration_X, MaxZ after switching off
        QTest::newRow("OK") << "BBtnOK" << true << "-8 2 4";
        QTest::newRow("defaults") << "BBtnDefault" << true << "-10 1 10";
        QTest::newRow("OK without automatic scaling") << "BBtnOK" << false << "-9 3 10";
    }
    void confirmedValuesOutliveAutomaticScaling() {
        QFETCH(QString, button);
        QFETCH(bool, autoScale);
        QFETCH(QString, restored);
        ctx->Settings.MinX = -9;
        ctx->Settings.StepNumeration_X = 3;
        AddLine();
        ctx->Document.AutoScaleBackup = TakeAutoScaleBackup(ctx->Settings, ctx->Document.View);
        ctx->Document.AutoScaleOn = autoScale;
        form->show();
        form->EdMinX->setText(QStringLiteral("-8"));
        form->EdStepNumeration_X->setText(QStringLiteral("2"));
        form->EdMaxZ->setText(QStringLiteral("4"));
        Child<QPushButton>(button)->click();
        const TAutoScaleBackup& b = ctx->Document.AutoScaleBackup;
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(b.MinX).arg(b.StepNumeration_X).arg(b.MaxZ),
                 restored);
    }

    // A graph 0.2 wide: automatic scaling fits numbering steps finer than any a user may type.
    // OK takes such a step as shown, and switching automatic scaling off still brings back the
    // user's own; a fine step the user types is refused as always.
    void fittedFineStepsPassOkWhileAutomaticScalingIsOn() {
        ctx->Document.Add(graphs_test::MakeGraph(0, "x", -0.1, 0.1, 100));
        ctx->Document.Resample(0, ctx->Settings, ctx->Formula);
        ctx->Settings.StepNumeration_X = 3;
        ctx->Document.AutoScaleBackup = TakeAutoScaleBackup(ctx->Settings, ctx->Document.View);
        ctx->Document.AutoScaleOn = true;
        AutoScale(ctx->Document, ctx->Settings);
        const double fittedX = ctx->Settings.StepNumeration_X;
        const double fittedY = ctx->Settings.StepNumeration_Y;
        QVERIFY2(fittedX < 0.1 && fittedY < 0.1, qPrintable(QString::number(fittedX)));
        form->show();
        form->BBtnOK->click();
        QVERIFY(services->Shown.isEmpty());
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(ctx->Settings.StepNumeration_X, fittedX);
        QCOMPARE(ctx->Settings.StepNumeration_Y, fittedY);
        QCOMPARE(ctx->Document.AutoScaleBackup.StepNumeration_X, 3.0);
        QCOMPARE(ctx->Document.AutoScaleBackup.StepNumeration_Y, 1.0);

        form->show();
        form->EdStepNumeration_Y->setText(QStringLiteral("0,05"));
        form->BBtnOK->click();
        QCOMPARE(services->Shown.size(), 1);
        QCOMPARE(services->Shown[0].Kind, QStringLiteral("error"));
        QCOMPARE(ctx->Document.AutoScaleBackup.StepNumeration_Y, 1.0);
        form->EdStepNumeration_Y->setText(QStringLiteral("0,5"));
        form->BBtnOK->click();
        QCOMPARE(services->Shown.size(), 1);
        QCOMPARE(ctx->Document.AutoScaleBackup.StepNumeration_Y, 0.5);
        QCOMPARE(ctx->Document.AutoScaleBackup.StepNumeration_X, 3.0);
    }

    // Every field takes what a constant expression is written with, and drops other signs.
    void keysAreFiltered_data() {
        QTest::addColumn<QString>("field");
        QTest::newRow("interval end") << "EdMinZ";
        QTest::newRow("mesh step") << "EdStepMesh";
        QTest::newRow("numbering step") << "EdStepNumeration_Y";
    }
    void keysAreFiltered() {
        QFETCH(QString, field);
        ShowActive();
        QLineEdit* edit = Child(field);
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("a1.,-b+2 e@#;=/(pi)^|:*"));
        QCOMPARE(edit->text(), QStringLiteral("a1.,-b+2 e/(pi)^|:*"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("a1.,-b+2 e/(pi)^|:"));
    }
};

QTEST_MAIN(TstFormSettings)
#include "tst_form_settings.moc"

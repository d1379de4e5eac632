// The main window as a user meets it, under a virtual X server. Message boxes are answered by
// the scripted services; nothing modal is left waiting.

#include "app/form_main.h"
#include "app/forms_small.h"
#include "app/startup.h"
#include "documents/form_settings.h"
#include "documents/settings_file.h"
#include "graphs/document.h"
#include "graphs/form_graphic.h"
#include "support/app_world.h"
#include "support/fake_ui_services.h"
#include "support/pixel_tools.h"
#include "support/widget_tools.h"
#include "tables/form_graphic_table.h"
#include "view/gl_view.h"
#include "widgets/dialog_folder.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QUndoStack>
#include <QWheelEvent>
#include <QtTest>

#include <cfenv>
#include <cmath>
#include <functional>
#include <memory>

class TstFormMain : public QObject {
    Q_OBJECT

    std::unique_ptr<TAppWorld> app;

    template <typename T> T* Child(const char* name) { return ::Child<T>(*app->Main, name); }

    // Shows the window and waits for its first frame.
    bool ShowAndDraw() { return ::ShowAndDraw(*app->Main, *app->Main->View()); }

    QImage ViewPicture() { return app->Main->View()->grabFramebuffer(); }

    // A graph of the kind with the formula (or a table of n points) added to the document.
    void AddGraph(int kind, const char* formula, int points = 0) {
        TGraphic g;
        g.Kind = static_cast<std::uint8_t>(kind);
        g.Formula = formula;
        g.Points.resize(static_cast<std::size_t>(points));
        app->Ctx.Document.Add(std::move(g));
    }

private slots:
    void init() { app = std::make_unique<TAppWorld>('.'); }

    void cleanup() { app.reset(); }

    // ---- start-up ----------------------------------------------------------------------------

    void floatingPointExceptionsAreMasked() {
        // Overflow, division by zero and invalid operations give infinities and not-a-numbers,
        // even where something enabled the traps before start-up.
        feenableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
        PrepareProcess();
        QCOMPARE(fegetexcept(), 0);
        volatile double zero = 0;
        QVERIFY(std::isinf(1.0 / zero));
        QVERIFY(std::isnan(zero / zero));
    }

    void startUpShowsTheSplashWhileWindowsAreMadeThenRemovesIt() {
        app->Main.reset();
        bool splashVisible = false;
        QPointer<QWidget> splash;
        QSize splashSize;
        auto made = StartUp(app->Ctx, [&](QWidget* s) {
            splashVisible = s->isVisible();
            splash = s;
            splashSize = s->size();
        });
        QVERIFY(splashVisible);
        QCOMPARE(splashSize, QSize(408, 198));
        QVERIFY(splash.isNull());
        QVERIFY(made->findChild<TFormAbout*>());
        QVERIFY(made->findChild<TFormHelp*>());
        QVERIFY(!made->isVisible());
        // The settings hold their defaults once the windows exist.
        QVERIFY(app->Ctx.Settings.Perspective);
        QCOMPARE(static_cast<TColor>(app->Ctx.Settings.BackGround), clWhite);
    }

    void windowHasItsCaptionSizesAndParts() {
        QCOMPARE(app->Main->windowTitle(), QStringLiteral("Qel Kurvant "));
        QCOMPARE(app->Main->size(), QSize(880, 680));
        QCOMPARE(app->Main->minimumSize(), QSize(500, 400));
        QVERIFY(app->Ctx.Document.DocumentFileName.empty());
        // A fresh run without a document: the user's documents, never the program's folder.
        QCOMPARE(app->Main->DialogFolder(), UserDocumentsFolder());
        for (const char* name : {"Panel1", "PanelKoordinata", "Splitter1"})
            QVERIFY2(app->Main->findChild<QWidget*>(QString::fromLatin1(name)), name);
        QVERIFY(Child<QListWidget>("ChListBGraphics"));
        QVERIFY(Child<TGLView>("PanelGraphic"));
        QVERIFY(Child<QLabel>("LbX"));
        QVERIFY(Child<QLabel>("LbY"));
        QStringList labels;
        for (QLabel* l : Child<QWidget>("PanelKoordinata")->findChildren<QLabel*>())
            labels << l->text();
        QVERIFY(labels.contains(QStringLiteral("X =")));
        QVERIFY(labels.contains(QStringLiteral("Y =")));
        QVERIFY(ShowAndDraw());
        QCOMPARE(Child<QWidget>("Panel1")->width(), 140);
    }

    // ---- menu ---------------------------------------------------------------------------------

    void menuItemsHaveTheirCaptionsAndShortcuts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        const char* rows[][3] = {
            {"MMFile", "Файл", ""},
            {"MMFileNew", "Новый", "Ctrl+N"},
            {"mmFileOpen", "Открыть", "Ctrl+O"},
            {"mmFileSave", "Сохранить", "Ctrl+S"},
            {"mmFileSaveAs", "Сохранить как...", ""},
            {"MMFileSaveAsPicture", "Сохранить как рисунок", "Ctrl+Alt+S"},
            {"mmFileClose", "Закрыть", ""},
            {"MMView", "Вид", ""},
            {"MMViewRedraw", "Перерисовать", "Ctrl+R"},
            {"MMViewFitAll", "Показать всё", "Home"},
            {"MMViewAutoScale", "Автомасштабирование", "Ctrl+M"},
            {"MMViewModify", "Управление", ""},
            {"MMViewRotate", "Поворот по осям OX и OY", ""},
            {"MMViewRotateZ", "Поворот по оси OZ", ""},
            {"MMViewTranslate", "Перемещение", ""},
            {"MMViewScale", "Масштаб", ""},
            {"MMViewCenter", "Центрировать координатные оси", ""},
            {"MMViewDefaultScale", "Стандартный масштаб", ""},
            {"MMViewToolBars", "Панели", ""},
            {"MMViewToolBTransformation", "Трансформация", ""},
            {"MMViewToolBGraphics", "Графики", ""},
            {"MMViewToolBProjection", "Проецирование", ""},
            {"MMGraphics", "Графики", ""},
            {"MMGrapicsAdd", "Построить график", "Ctrl+A"},
            {"MMGrapicsTableAdd", "Построить таблично заданный график", "Ctrl+T"},
            {"MMGrapicsEdit", "Изменить", ""},
            {"MMGrapicsDelete", "Удалить", ""},
            {"MMOther", "Анализ функций", ""},
            {"MMOtherTableValues", "Табулирование функции", "Ctrl+F"},
            {"MMOtherNormal", "Касательная и нормаль", "Ctrl+K"},
            {"MMOtherStudy", "Исследование функции", "Ctrl+I"},
            {"MMSettings", "Настройки", ""},
            {"MMProgramm", "Помощь", ""},
            {"MMHelp", "Справка", "F1"},
            {"MMAbout", "О программе...", ""},
        };
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString::fromLatin1(r[0]) << QString::fromUtf8(r[1])
                                << QString::fromLatin1(r[2]);
    }

    void menuItemsHaveTheirCaptionsAndShortcuts() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QAction* action = app->Main->findChild<QAction*>(name);
        if (!action)
            if (QMenu* menu = app->Main->findChild<QMenu*>(name))
                action = menu->menuAction();
        QVERIFY2(action, qPrintable(name));
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut().toString(QKeySequence::PortableText), shortcut);
    }

    void menuBarHoldsTheMenusInOrder() {
        QStringList captions;
        for (QAction* a : app->Main->menuBar()->actions())
            captions << a->text();
        QCOMPARE(captions, (QStringList{"Файл", "Правка", "Вид", "Графики", "Анализ функций",
                                        "Настройки", "Помощь"}));
        QStringList viewModes;
        for (QAction* a : Child<QMenu>("MMViewModify")->actions())
            viewModes << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        QCOMPARE(viewModes,
                 (QStringList{"MMViewRotate", "MMViewRotateZ", "MMViewTranslate", "MMViewScale",
                              "-", "MMViewCenter", "MMViewDefaultScale"}));
    }

    void everyCommandIsAvailable() {
        QVERIFY(Child<QToolButton>("ToolBtnGraphicTableAdd")->isEnabled());
        QVERIFY(Child<QAction>("MMGrapicsTableAdd")->isEnabled());
        QVERIFY(Child<QToolButton>("ToolBtnGraphicAdd")->isEnabled());
        QVERIFY(Child<QAction>("MMGrapicsAdd")->isEnabled());
        for (const char* name : {"ToolBtnRotate", "ToolBtnScale", "ToolBtnXOY", "ToolBtnCenter"})
            QVERIFY2(Child<QToolButton>(name)->isEnabled(), name);
        QVERIFY(Child<QCheckBox>("ChBoxAutoScale")->isEnabled());
        for (const char* name :
             {"MMFileNew", "mmFileOpen", "mmFileSave", "mmFileSaveAs", "MMFileSaveAsPicture",
              "MMSettings", "mmFileClose", "MMViewRedraw", "MMViewToolBTransformation",
              "MMViewRotate", "MMViewCenter", "MMViewAutoScale", "MMOtherTableValues",
              "MMOtherNormal", "MMOtherStudy", "MMHelp", "MMAbout"})
            QVERIFY2(Child<QAction>(name)->isEnabled(), name);
        // The self-checking items.
        for (const char* name : {"MMViewRotate", "MMViewRotateZ", "MMViewTranslate", "MMViewScale",
                                 "MMViewAutoScale"}) {
            QVERIFY2(Child<QAction>(name)->isCheckable(), name);
            QVERIFY2(!Child<QAction>(name)->isChecked(), name);
        }
    }

    void redrawItemDrawsAFrame() {
        QVERIFY(ShowAndDraw());
        QSignalSpy frames(app->Main->View(), &TGLView::FrameDrawn);
        Child<QAction>("MMViewRedraw")->trigger();
        QVERIFY(frames.wait(5000));
    }

    void closeItemClosesTheWindow() {
        QVERIFY(ShowAndDraw());
        Child<QAction>("mmFileClose")->trigger();
        QVERIFY(!app->Main->isVisible());
    }

    // Each user's settings are their own: read from and written to the user's configuration
    // folder. The file beside the program serves a user who has none, and is never written.
    void settingsComeFromTheUsersFileElseTheProgramsAndClosingWritesTheUsers() {
        TSettings red;
        Settings_Default(red);
        red.BackGround = clRed;
        red.Perspective = false;
        const std::string shared = app->Dir.filePath(QStringLiteral("settings.dat")).toStdString();
        QVERIFY(WriteSettingsFile(shared, red, '.'));
        const auto Bytes = [](const std::string& file) {
            QFile f(QString::fromStdString(file));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray sharedBytes = Bytes(shared);
        app->Main.reset();
        app->Main = StartUp(app->Ctx);
        QCOMPARE(static_cast<TColor>(app->Ctx.Settings.BackGround), clRed);
        QVERIFY(!app->Ctx.Settings.Perspective);

        // Closing writes what is in force then, into the user's folder that it makes.
        app->Ctx.Settings.BackGround = clLime;
        QVERIFY(ShowAndDraw());
        app->Main->close();
        const std::string path = SettingsPath(app->Ctx);
        QVERIFY(
            QString::fromStdString(path).startsWith(app->Dir.filePath(QStringLiteral("config"))));
        TSettings back;
        QVERIFY(ReadSettingsFile(path, back));
        QCOMPARE(static_cast<TColor>(back.BackGround), clLime);
        QVERIFY(!back.Perspective);
        QCOMPARE(Bytes(shared), sharedBytes);

        // The next start takes the user's own.
        app->Main.reset();
        app->Main = StartUp(app->Ctx);
        QCOMPARE(static_cast<TColor>(app->Ctx.Settings.BackGround), clLime);

        // A damaged file of the user's gives the defaults.
        QFile damaged(QString::fromStdString(path));
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("not settings\n");
        damaged.close();
        app->Main.reset();
        app->Main = StartUp(app->Ctx);
        QCOMPARE(static_cast<TColor>(app->Ctx.Settings.BackGround), clWhite);
        QVERIFY(app->Ctx.Settings.Perspective);
    }

    // "Настройки" opens the dialog over the run's settings; what OK confirms is what closing
    // writes.
    void settingsDialogChangesTheSettingsThatClosingWrites() {
        auto* dialog = app->Main->findChild<TFormSettings*>();
        QVERIFY(dialog);
        bool answered = false;
        QTimer::singleShot(0, dialog, [&] {
            QTRY_VERIFY(dialog->isVisible());
            dialog->EdMinX->setText(QStringLiteral("-5"));
            dialog->ChBAxisZ->setChecked(false);
            dialog->BBtnOKClick();
            answered = true;
        });
        Child<QAction>("MMSettings")->trigger();
        QVERIFY(answered);
        QCOMPARE(app->Ctx.Settings.MinX, -5.0);
        QVERIFY(!app->Ctx.Settings.AxisZ);
        QVERIFY(app->Main->close());
        TSettings saved;
        QVERIFY(ReadSettingsFile(SettingsPath(app->Ctx), saved));
        QCOMPARE(saved.MinX, -5.0);
        QVERIFY(!saved.AxisZ);
    }

    void closingSwitchesAutomaticScalingOffAndRestoresTheSettings() {
        QVERIFY(ShowAndDraw());
        AddGraph(0, "x");
        app->Ctx.Document.Graph(0).BoundMinX = -50; // a fit would widen the X interval
        app->Ctx.Document.Graph(0).BoundMaxX = 50;
        Child<QCheckBox>("ChBoxAutoScale")->setChecked(true);
        QCOMPARE(app->Ctx.Settings.MinX, -50.0);
        app->Services.Answers = {TAnswer::No}; // "Сохранить изменения?"
        app->Main->close();
        QVERIFY(!app->Ctx.Document.AutoScaleOn);
        QCOMPARE(app->Ctx.Settings.MinX, -10.0);
        QCOMPARE(app->Ctx.Settings.MaxX, 10.0);
        // The file holds the values from before the fit.
        TSettings saved;
        QVERIFY(ReadSettingsFile(SettingsPath(app->Ctx), saved));
        QCOMPARE(saved.MinX, -10.0);
    }

    // ---- tool bars ----------------------------------------------------------------------------

    void toolButtonsCarryTheirHints_data() {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        const char* rows[][3] = {
            {"TBarTransformation", "ToolBtnRotate", "Поворот вокруг осей OX и OY"},
            {"TBarTransformation", "ToolBtnRotateZ", "Поворот вокруг оси OZ"},
            {"TBarTransformation", "ToolBtnTranslate", "Переместить координатные оси"},
            {"TBarTransformation", "ToolBtnScale", "Масштабировать"},
            {"TBarTransformation", "ToolBtnCenter", "Центрировать координатные оси"},
            {"TBarTransformation", "ToolBtnDefaulScale", "Стандартный масштаб"},
            {"TBarGraphics", "ToolBtnGraphicAdd", "Построить новый график"},
            {"TBarGraphics", "ToolBtnGraphicTableAdd", "Построить таблично заданный график"},
            {"TBarProjection", "ToolBtnXOY", "Проекция XOY"},
            {"TBarProjection", "ToolBtnXOZ", "Проекция XOZ"},
            {"TBarProjection", "ToolBtnYOZ", "Проекция ZOY"},
            {"TBarProjection", "ToolBtnXYZProjection", "Проекция XZY"},
            {"TBarProjection", "ToolBtnXYZProjection2", "Проекция YXZ"},
        };
        for (const auto& r : rows)
            QTest::newRow(r[1]) << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1])
                                << QString::fromUtf8(r[2]);
    }

    void toolButtonsCarryTheirHints() {
        QFETCH(QString, bar);
        QFETCH(QString, name);
        QFETCH(QString, hint);
        auto* toolBar = app->Main->findChild<QToolBar*>(bar);
        QVERIFY(toolBar);
        auto* button = toolBar->findChild<QToolButton*>(name);
        QVERIFY2(button, qPrintable(name));
        QCOMPARE(button->toolTip(), hint);
        const bool modeButton = name == "ToolBtnRotate" || name == "ToolBtnRotateZ" ||
                                name == "ToolBtnTranslate" || name == "ToolBtnScale";
        QCOMPARE(button->defaultAction()->isCheckable(), modeButton);
    }

    void toolBarsHaveTheirTitlesAndTheAutoScaleBox() {
        QCOMPARE(Child<QToolBar>("TBarTransformation")->windowTitle(),
                 QStringLiteral("Трансформация"));
        QCOMPARE(Child<QToolBar>("TBarGraphics")->windowTitle(), QStringLiteral("Графики"));
        QCOMPARE(Child<QToolBar>("TBarProjection")->windowTitle(), QStringLiteral("Проецирование"));
        auto* box = Child<QCheckBox>("ChBoxAutoScale");
        QCOMPARE(box->text(), QStringLiteral("Автомасштабирование"));
        QCOMPARE(box->toolTip(), QStringLiteral("Автомасштабирование"));
        for (const char* name : {"TBarTransformation", "TBarGraphics", "TBarProjection"})
            QVERIFY2(Child<QToolBar>(name)->isMovable(), name);
    }

    void hidingABarFromThePopupMenuUnchecksItInTheViewMenu() {
        QVERIFY(ShowAndDraw());
        std::unique_ptr<QMenu> popup(app->Main->createPopupMenu());
        QCOMPARE(popup->objectName(), QStringLiteral("PopMenuToolBars"));
        QStringList items;
        for (QAction* a : popup->actions()) {
            items << a->text();
            QVERIFY(a->isChecked());
        }
        QCOMPARE(items, (QStringList{"Трансформация", "Графики", "Проецирование"}));

        popup->findChild<QAction*>(QStringLiteral("PopToolBGraphics"))->trigger();
        QVERIFY(!Child<QToolBar>("TBarGraphics")->isVisible());
        app->Main->MMViewClick();
        QVERIFY(!Child<QAction>("MMViewToolBGraphics")->isChecked());
        QVERIFY(Child<QAction>("MMViewToolBTransformation")->isChecked());
        QVERIFY(Child<QAction>("MMViewToolBProjection")->isChecked());

        // Showing it again from the View menu; the next pop-up menu sees it.
        Child<QAction>("MMViewToolBGraphics")->trigger();
        QVERIFY(Child<QToolBar>("TBarGraphics")->isVisible());
        Child<QAction>("MMViewToolBProjection")->trigger();
        QVERIFY(!Child<QToolBar>("TBarProjection")->isVisible());
        popup.reset(app->Main->createPopupMenu());
        QVERIFY(popup->findChild<QAction*>(QStringLiteral("PopToolBGraphics"))->isChecked());
        QVERIFY(!popup->findChild<QAction*>(QStringLiteral("PopToolBProjection"))->isChecked());
    }

    void graphsMenuEnablesEditAndDeleteOnlyWithASelection() {
        auto* list = Child<QListWidget>("ChListBGraphics");
        app->Main->MMGraphicsClick();
        QVERIFY(!Child<QAction>("MMGrapicsEdit")->isEnabled());
        QVERIFY(!Child<QAction>("MMGrapicsDelete")->isEnabled());
        AddGraph(0, "x");
        app->Main->MMGraphicsClick();
        QVERIFY(!Child<QAction>("MMGrapicsEdit")->isEnabled());
        list->setCurrentRow(0);
        app->Main->MMGraphicsClick();
        QVERIFY(Child<QAction>("MMGrapicsEdit")->isEnabled());
        QVERIFY(Child<QAction>("MMGrapicsDelete")->isEnabled());
        // The autoscale item follows the box, and opening the Graphs menu brings it in step.
        Child<QCheckBox>("ChBoxAutoScale")->setChecked(true);
        QVERIFY(Child<QAction>("MMViewAutoScale")->isChecked());
        Child<QAction>("MMViewAutoScale")->setChecked(false);
        app->Main->MMGraphicsClick();
        QVERIFY(Child<QAction>("MMViewAutoScale")->isChecked());
    }

    // The modal dialog that `open` shows, closed at once; none when nothing modal appeared.
    QWidget* ModalOpenedBy(const std::function<void()>& open) {
        QPointer<QWidget> shown;
        QTimer::singleShot(0, app->Main.get(), [&shown] {
            shown = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QDialog*>(shown.data()))
                dialog->reject();
        });
        open();
        QApplication::processEvents();
        return shown.data();
    }

    void tableCommandsOpenTheTableDialogForANewGraph() {
        auto* table = app->Main->findChild<TFormGraphicTable*>();
        QVERIFY(table);
        QCOMPARE(ModalOpenedBy([&] { Child<QAction>("MMGrapicsTableAdd")->trigger(); }), table);
        QCOMPARE(ModalOpenedBy([&] { Child<QToolButton>("ToolBtnGraphicTableAdd")->click(); }),
                 table);
        QCOMPARE(ModalOpenedBy([&] { Child<QAction>("PopGraphicsTableAdd")->trigger(); }), table);
        QCOMPARE(app->Ctx.Document.EditMode, std::uint8_t{0});
        QCOMPARE(Child<QAction>("MMGrapicsTableAdd")->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+T")));
    }

    void editingATableGraphOpensTheTableDialogWithItsRows() {
        AddGraph(6, "", 2);
        AddGraph(0, "x");
        auto* list = Child<QListWidget>("ChListBGraphics");
        auto* table = app->Main->findChild<TFormGraphicTable*>();
        list->setCurrentRow(0);
        QCOMPARE(ModalOpenedBy([&] { Child<QAction>("MMGrapicsEdit")->trigger(); }), table);
        QCOMPARE(table->EditIndex(), 0);
        QCOMPARE(table->Grid().RowCount(), 2);
        list->setCurrentRow(1);
        QCOMPARE(ModalOpenedBy([&] { Child<QAction>("MMGrapicsEdit")->trigger(); }),
                 app->Main->findChild<TFormGraphic*>());
    }

    // ---- panels -------------------------------------------------------------------------------

    void splitterKeepsTwoHundredPixelsForTheView() {
        QVERIFY(ShowAndDraw());
        auto* splitter = Child<QSplitter>("Splitter1");
        QWidget* panel = Child<QWidget>("Panel1");
        const int room = app->Main->centralWidget()->width() - splitter->handleWidth() - 200;
        splitter->setSizes({5000, 10});
        QCOMPARE(panel->width(), room);
        QVERIFY(app->Main->View()->width() >= 200);

        splitter->setSizes({0, 5000});
        QCOMPARE(panel->width(), 70);

        // A narrower window leaves less room for the panel.
        app->Main->resize(600, 500);
        QTRY_COMPARE(app->Main->width(), 600);
        splitter->setSizes({5000, 10});
        QCOMPARE(panel->width(),
                 app->Main->centralWidget()->width() - splitter->handleWidth() - 200);
    }

    void splitterDragStopsAtTheViewsShare() {
        QVERIFY(ShowAndDraw());
        auto* splitter = Child<QSplitter>("Splitter1");
        QWidget* handle = splitter->handle(1);
        const QPoint start = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, start);
        QTest::mouseMove(handle, start + QPoint(2000, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, start + QPoint(2000, 0));
        QTRY_VERIFY(app->Main->View()->width() >= 200);
        QVERIFY(Child<QWidget>("Panel1")->width() > 140);
    }

    void graphListHintShowsEveryRowOnItsOwnLine() {
        QVERIFY(ShowAndDraw());
        auto* list = Child<QListWidget>("ChListBGraphics");
        AddGraph(0, "2sin(x)");
        AddGraph(6, "", 3);
        AddGraph(4, "x*y");
        QCOMPARE(list->count(), 3);
        QCOMPARE(app->Main->GraphListHint(),
                 QStringLiteral("Y(X) = 2sin(x)\nТаблица: 3 (.)\nZ(X,Y) = x*y"));
        // Below the rows; a row itself shows its own text.
        const QPoint at(10, list->visualItemRect(list->item(2)).bottom() + 10);
        QVERIFY(!list->itemAt(at));
        QHelpEvent tip(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &tip);
        QTRY_COMPARE(QToolTip::text(), app->Main->GraphListHint());
    }

    // The panel cuts long rows; the hint over a row shows its whole text.
    void graphListRowHintShowsTheWholeRow_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("hint");
        QTest::newRow("long tangent") << 0 << "Y(X) = 1,0000000 +2,0000000 * ( x -1,0000000 )";
        QTest::newRow("table") << 2 << "Таблица: 3 (.)";
    }
    void graphListRowHintShowsTheWholeRow() {
        QFETCH(int, row);
        QFETCH(QString, hint);
        QVERIFY(ShowAndDraw());
        auto* list = Child<QListWidget>("ChListBGraphics");
        AddGraph(0, "1,0000000 +2,0000000 * ( x -1,0000000 )");
        AddGraph(0, "x");
        AddGraph(6, "", 3);
        // The first row is wider than the panel shows.
        QVERIFY(list->fontMetrics().horizontalAdvance(list->item(0)->text()) >
                list->viewport()->width());
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QCOMPARE(app->Main->GraphListHintAt(at), hint);
        QHelpEvent tip(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &tip);
        QTRY_COMPARE(QToolTip::text(), hint);
    }

    // ---- help and About -----------------------------------------------------------------------

    TFormHelp* HelpWindow() { return app->Main->findChild<TFormHelp*>(); }
    QString HelpText() {
        return HelpWindow()
            ->findChild<QTextBrowser*>(QStringLiteral("WebBrowserHelp"))
            ->toPlainText();
    }

    void helpWithoutTheHelpFileShowsTheProgramsOwn() {
        Child<QAction>("MMHelp")->trigger();
        QVERIFY(app->Services.Shown.isEmpty());
        QVERIFY(app->Services.OpenedWithShell.isEmpty());
        QVERIFY(HelpWindow()->isVisible());
        QCOMPARE(HelpWindow()->windowTitle(), QStringLiteral("Помощь"));
        // The help speaks of the formula language, the kinds of graph and the command line.
        const QString text = HelpText();
        for (const char* topic :
             {"Как записывать формулы", "pi", "Ctrl+Пробел", "Преобразование", "Полярная система",
              "Автомасштабирование", "Касательная", "kurvant-cli --help"})
            QVERIFY2(text.contains(QString::fromUtf8(topic)), topic);
    }

    void helpOpensTheFileBesideTheProgram() {
        const QString path = app->Dir.filePath(QStringLiteral("help.chm"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        Child<QAction>("MMHelp")->trigger();
        QCOMPARE(app->Services.OpenedWithShell, QStringList{path});
        QVERIFY(!HelpWindow()->isVisible());

        // A desktop with no viewer for the file: the program's own help instead.
        app->Services.ShellAccepts = false;
        Child<QAction>("MMHelp")->trigger();
        QVERIFY(app->Services.Shown.isEmpty());
        QVERIFY(HelpWindow()->isVisible());
    }

    void f1KeyOpensHelp() {
        QVERIFY(ShowAndDraw());
        app->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app->Main.get()));
        QTest::keyClick(app->Main.get(), Qt::Key_F1);
        QTRY_VERIFY(HelpWindow()->isVisible());
    }

    // The help comes up over the main window, not over its menu in a corner, and its button
    // closes it, leaving the main window with the keyboard (Escape: the keyboard road test).
    void helpIsCentredOverTheWindowAndClosesByItsButton() {
        app->Main->move(200, 150);
        QVERIFY(ShowAndDraw());
        app->Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app->Main.get()));
        Child<QAction>("MMHelp")->trigger();
        TFormHelp* help = HelpWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));
        const QPoint offset = help->frameGeometry().center() - app->Main->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
        QTest::mouseClick(::Child<QPushButton>(*help, "BBtnClose"), Qt::LeftButton);
        QVERIFY(!help->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(app->Main.get()));
    }

    // Every editable combo box of the run keeps what the user types, and no fixed dialog offers
    // to maximise or minimise itself.
    void everyDialogFollowsTheSharedRules() {
        int editable = 0;
        for (QComboBox* box : app->Main->findChildren<QComboBox*>()) {
            if (!box->isEditable())
                continue;
            ++editable;
            QVERIFY2(!box->completer(), qPrintable(box->objectName()));
            QCOMPARE(box->insertPolicy(), QComboBox::NoInsert);
        }
        QVERIFY(editable > 0);
        QStringList fixed;
        for (QDialog* dialog : app->Main->findChildren<QDialog*>()) {
            const Qt::WindowFlags flags = dialog->windowFlags();
            // The pick list has no title bar at all; the help window may be resized.
            if (flags.testFlag(Qt::FramelessWindowHint) || dialog == HelpWindow())
                continue;
            fixed << dialog->objectName();
            const QByteArray name = dialog->objectName().toLatin1();
            QVERIFY2(flags.testFlag(Qt::CustomizeWindowHint), name.constData());
            QVERIFY2(!flags.testFlag(Qt::WindowMaximizeButtonHint), name.constData());
            QVERIFY2(!flags.testFlag(Qt::WindowMinimizeButtonHint), name.constData());
        }
        fixed.sort();
        QCOMPARE(fixed, (QStringList{"FormAbout", "FormFillTable", "FormGraphic",
                                     "FormGraphicTable", "FormOther", "FormSettings", "FormStudy",
                                     "FormTableInformation", "FormTableValues"}));
    }

    void qtsOwnDialogsAndButtonsSpeakRussian() {
        PrepareApplication(*qApp);
        QColorDialog colours;
        QVERIFY2(colours.windowTitle() != QStringLiteral("Select Color"),
                 qPrintable(colours.windowTitle()));
        QCOMPARE(
            QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
            QStringLiteral("Отмена"));
    }

    void aboutBoxOpensAnyNumberOfTimesAndOkClosesIt() {
        auto* about = app->Main->findChild<TFormAbout*>();
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("О программе..."));
        QCOMPARE(about->height(), 347);
        QVERIFY(about->width() >= 470);
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("Label10"))->text(),
                 QStringLiteral("Версия 1.0.0"));
        QVERIFY(
            about->findChild<QLabel*>(QStringLiteral("Label1"))->text().contains("Qel Kurvant"));
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("ImProgramIcon"))->pixmap().size(),
                 QSize(157, 85));
        auto* memo = about->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        QVERIFY(memo->isReadOnly());
        // Four lines, each as written (the first three end in a blank).
        QCOMPARE(memo->toPlainText().split(QLatin1Char('\n')),
                 (QStringList{QStringLiteral("Это приложение является инструментом для "
                                             "построения двумерных и трёхмерных "),
                              QStringLiteral("графиков в декартовых, полярных, сферических "
                                             "координатах. Можно задавать "),
                              QStringLiteral("функцию параметрическими уравнениями, табличными "
                                             "значениями и многое "),
                              QStringLiteral("другое.")}));
        // Shown, each line fits the memo in the program's font: nothing wraps, nothing is cut.
        QCOMPARE(memo->font().pixelSize(), 11);
        QTimer::singleShot(0, about, [&] {
            QTRY_VERIFY(about->isVisible());
            const int room = memo->viewport()->width() -
                             2 * static_cast<int>(memo->document()->documentMargin());
            for (const QString& line : memo->toPlainText().split(QLatin1Char('\n')))
                QVERIFY2(memo->fontMetrics().horizontalAdvance(line) <= room, qPrintable(line));
            QCOMPARE(memo->document()->blockCount(), 4);
            for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next())
                QCOMPARE(b.layout()->lineCount(), 1);
            about->accept();
        });
        Child<QAction>("MMAbout")->trigger();

        for (int round = 0; round < 2; ++round) {
            bool clicked = false;
            QTimer::singleShot(0, about, [&] {
                QTRY_VERIFY(about->isVisible());
                QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("BBtnOK")),
                                  Qt::LeftButton);
                clicked = true;
            });
            Child<QAction>("MMAbout")->trigger();
            QVERIFY(clicked);
            QVERIFY(!about->isVisible());
        }
        QVERIFY(app->Services.Shown.isEmpty());
    }

    // ---- the view -----------------------------------------------------------------------------

    void surfaceScalesAtStartThenTheFirstFrameDerivesScaleY() {
        double scaleYBeforeFrame = 0;
        QSize panel;
        connect(app->Main->View(), &TGLView::SurfaceCreated, this, [&](int w, int h) {
            scaleYBeforeFrame = app->Ctx.Document.View.ScaleY;
            panel = QSize(w, h);
        });
        QVERIFY(ShowAndDraw());
        QVERIFY(panel.height() > 0);
        QCOMPARE(app->Ctx.Document.View.ScaleX, 0.1);
        QCOMPARE(scaleYBeforeFrame, 0.1 * panel.width() / panel.height());
        // Perspective is on by default: the frame makes ScaleY equal to ScaleX.
        QCOMPARE(app->Ctx.Document.View.ScaleY, 0.1);

        app->Ctx.Settings.Perspective = false;
        QSignalSpy frames(app->Main->View(), &TGLView::FrameDrawn);
        app->Main->ReDrawing();
        QVERIFY(frames.wait(5000));
        const TFrameSize s = app->Main->View()->FrameSize();
        QCOMPARE(app->Ctx.Document.View.ScaleY, s.ClientWidth * 0.1 / s.ClientHeight);
    }

    void viewIsDrawnInTheBackgroundColour() {
        QVERIFY(ShowAndDraw());
        // The default frame: white wherever the axes, ticks, numbers and letters are not.
        QImage img = ViewPicture().convertToFormat(QImage::Format_RGB32);
        QVERIFY(!img.isNull());
        const int n = img.width() * img.height();
        const int white = CountColour(img, 0xFFFFFF);
        QVERIFY(white < n);
        QVERIFY(white > n * 9 / 10);
        QVERIFY(CountColour(img, qRgb(255, 0, 0)) > 0); // the axis letters

        // No frame: the background alone, in the settings' colour.
        app->Ctx.Settings.AxisX = app->Ctx.Settings.AxisY = app->Ctx.Settings.AxisZ = false;
        app->Ctx.Settings.BackGround = 0x00224466; // red 0x66, green 0x44, blue 0x22
        app->Main->ReDrawing();
        img = ViewPicture().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(CountColour(img, qRgb(0x66, 0x44, 0x22)), n);
    }

    // With no drag mode chosen, the wheel zooms about the cursor and the middle button shifts;
    // neither is a step of the history.
    void wheelZoomsAndMiddleButtonShiftsWithoutAMode() {
        QVERIFY(ShowAndDraw());
        TGLView* view = app->Main->View();
        ViewState& v = app->Ctx.Document.View;
        const double scale = v.ScaleX;
        const int steps = app->Ctx.Document.History().count();
        const QPointF at(view->width() / 4.0, view->height() / 3.0);
        QSignalSpy frames(view, &TGLView::FrameDrawn);
        QWheelEvent up(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &up);
        QCOMPARE(v.ScaleX, scale * 1.25);
        QVERIFY(frames.wait(5000));
        QWheelEvent down(at, view->mapToGlobal(at), QPoint(), QPoint(0, -60), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &down);
        QVERIFY(std::fabs(v.ScaleX - scale * std::pow(1.25, 0.5)) < 1e-12);

        const double shift = v.ShiftX;
        const QPoint from(view->width() / 2, view->height() / 2);
        QTest::mousePress(view, Qt::MiddleButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, from + QPoint(30, 0),
                         view->mapToGlobal(from + QPoint(30, 0)), Qt::NoButton, Qt::MiddleButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, Qt::MiddleButton, {}, from + QPoint(30, 0));
        QVERIFY(v.ShiftX > shift);
        const double moved = v.ShiftX;
        QTest::mouseMove(view, from); // the drag ended with the button
        QCOMPARE(v.ShiftX, moved);
        QCOMPARE(app->Ctx.Document.History().count(), steps);

        // Home shows every ticked graph, turned or not, and leaves automatic scaling off.
        TGraphic g;
        g.Kind = KindTable;
        g.Points = {{-30, 5, 0}, {70, 9, 2}};
        g.BoundMinX = -30;
        g.BoundMaxX = 70;
        g.BoundMinY = 5;
        g.BoundMaxY = 9;
        g.BoundMinZ = 0;
        g.BoundMaxZ = 2;
        app->Ctx.Document.Add(g);
        v.AngleX = 30;
        Child<QAction>("MMViewFitAll")->trigger();
        QCOMPARE(v.ShiftX, -20.0);
        QVERIFY(v.ScaleX > 0 && v.ScaleX < scale);
        QVERIFY(!app->Ctx.Document.AutoScaleOn);
        QCOMPARE(app->Ctx.Document.History().count(), steps);
    }

    void resizingRedrawsTheView() {
        QVERIFY(ShowAndDraw());
        QSignalSpy frames(app->Main->View(), &TGLView::FrameDrawn);
        app->Main->resize(700, 500);
        QVERIFY(frames.wait(5000));
    }

    void missingContextIsReportedOnceWithItsCaption() {
        emit app->Main->View()->ContextFailed();
        QCOMPARE(app->Services.Shown.size(), 1);
        QCOMPARE(app->Services.Shown[0].Kind, QStringLiteral("error"));
        QCOMPARE(app->Services.Shown[0].Caption, QStringLiteral("Ошибка инициализации OpenGL"));
        QCOMPARE(app->Services.Shown[0].Text,
                 QStringLiteral("Отсутствует контекст воспроизведения OpenGL!"));
        QVERIFY(ShowAndDraw());
        QVERIFY(app->Main->View()->ContextUsable());
        QCOMPARE(app->Services.Shown.size(), 1);
    }
};

int main(int argc, char** argv) {
    PrepareProcess();
    QApplication app(argc, argv);
    TstFormMain t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_form_main.moc"

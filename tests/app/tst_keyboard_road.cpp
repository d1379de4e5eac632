// The keyboard alone, as a user at a bare X server (no window manager) types: real key presses
// sent to the X server by xdotool, never to a chosen widget, and no window is focused by the
// test between the steps. Every dialog, message box and the pick list must give the keyboard
// back to the window that opened it, or the next key goes nowhere and the road stops.

#include "analysis/form_table_values.h"
#include "app/form_main.h"
#include "app/forms_small.h"
#include "app/startup.h"
#include "graphs/document.h"
#include "graphs/form_graphic.h"
#include "graphs/func_list.h"
#include "support/app_world.h"
#include "view/gl_view.h"
#include "widgets/ui_services.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

/// One step of the road: when `Ready` has held for a moment, xdotool is run with `Keys`.
struct TStep {
    std::function<bool()> Ready;
    QStringList Keys;
};

bool Xdotool(const QStringList& args) {
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

/// The visible file dialog, if any.
QFileDialog* ShownFileDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible())
            return d;
    return nullptr;
}

/// The visible message box, if any.
QMessageBox* ShownBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    return nullptr;
}

} // namespace

class TstKeyboardRoad : public QObject {
    Q_OBJECT

    std::unique_ptr<TAppWorldWith<TQtUiServices>> app;
    QList<TStep> steps;
    int done = 0;
    bool giveUp = false;

    TFormGraphic* Dialog() { return app->Main->findChild<TFormGraphic*>(); }
    QLineEdit* Formula() { return Dialog()->findChild<QLineEdit*>(QStringLiteral("EdFunction")); }
    bool DialogShown() { return Dialog()->isVisible() && !ShownBox(); }
    bool NothingModal() { return !Dialog()->isVisible() && !ShownBox() && !ShownFileDialog(); }

    // Runs the steps from timers, so that they go on inside the dialogs' own event loops. Each
    // step waits until its window is on screen and then a little longer, but it never helps the
    // keyboard to a window: that is the program's work.
    void RunSteps(int timeoutMs = 30000) {
        done = 0;
        giveUp = false;
        int readyTicks = 0;
        QTimer driver;
        driver.setInterval(50);
        connect(&driver, &QTimer::timeout, this, [&] {
            if (done >= steps.size())
                return;
            readyTicks = steps[done].Ready() ? readyTicks + 1 : 0;
            if (readyTicks < 4)
                return;
            readyTicks = 0;
            QVERIFY2(Xdotool(steps[done].Keys), "xdotool failed");
            ++done;
        });
        // Whatever fails, no modal window is left waiting for a key that will not come.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, this, [&] {
            giveUp = true;
            qWarning() << "stopped before step" << done << "active window"
                       << QApplication::activeWindow() << "focus" << QApplication::focusWidget();
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
                    d->reject();
        });
        driver.start();
        watchdog.start(timeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(done == steps.size() || giveUp, timeoutMs + 5000);
        // The last keys have their effect after the last step ran.
        QTRY_VERIFY_WITH_TIMEOUT(NothingModal() || giveUp, 5000);
    }

private slots:
    void init() {
        app = std::make_unique<TAppWorldWith<TQtUiServices>>(',');
        QVERIFY(app->Main); // made only in a program folder of its own
        ShowMainWindow(*app->Main);
        QVERIFY(QTest::qWaitForWindowActive(app->Main.get()));
        steps.clear();
    }

    void cleanup() { app.reset(); }

    void twoGraphsTypedOneAfterTheOther() {
        steps = {
            {[&] { return NothingModal(); }, {"key", "ctrl+a"}},
            {[&] { return DialogShown(); }, {"type", "2sin(x)"}},
            {[&] { return DialogShown(); }, {"key", "Return"}},
            // The notice that the formula becomes 2*sin(x).
            {[&] { return ShownBox() != nullptr; }, {"key", "Return"}},
            {[&] { return NothingModal() && app->Ctx.Document.GraphCount() == 1; },
             {"key", "ctrl+a"}},
            {[&] { return DialogShown(); }, {"type", "x^2/5"}},
            {[&] { return DialogShown(); }, {"key", "Return"}},
        };
        RunSteps();
        QVERIFY(!giveUp);
        QTRY_COMPARE(app->Ctx.Document.GraphCount(), 2);
        QCOMPARE(app->Ctx.Document.Graph(0).Formula, std::string("2sin(x)"));
        QCOMPARE(app->Ctx.Document.Graph(1).Formula, std::string("x^2/5"));
        QTRY_COMPARE(QApplication::activeWindow(), app->Main.get());
    }

    // Ctrl+Z brings a deleted graph back in its place, Ctrl+Y deletes it again, and the keys
    // reach the main window after the delete's question box.
    void undoAndRedoByKeys() {
        TDocument& doc = app->Ctx.Document;
        auto* list = app->Main->findChild<QListWidget*>(QStringLiteral("ChListBGraphics"));
        std::string afterUndo;
        bool deleting = false;
        steps = {
            {[&] { return NothingModal(); }, {"key", "ctrl+a"}},
            {[&] { return DialogShown(); }, {"type", "x/2"}},
            {[&] { return DialogShown(); }, {"key", "Return"}},
            {[&] { return NothingModal() && doc.GraphCount() == 1; }, {"key", "ctrl+a"}},
            {[&] { return DialogShown(); }, {"type", "x^2/5"}},
            {[&] { return DialogShown(); }, {"key", "Return"}},
            // The first graph is chosen in the list and deleted; its question box is answered Yes.
            {[&] {
                 if (!deleting && NothingModal() && doc.GraphCount() == 2) {
                     deleting = true;
                     list->setCurrentRow(0);
                     QTimer::singleShot(0, app->Main.get(),
                                        [this] { app->Main->GraphDeleteClick(); });
                 }
                 return deleting && ShownBox() != nullptr;
             },
             {"key", "Return"}},
            {[&] { return NothingModal() && doc.GraphCount() == 1; }, {"key", "ctrl+z"}},
            {[&] {
                 if (!NothingModal() || doc.GraphCount() != 2)
                     return false;
                 afterUndo = doc.Graph(0).Formula + "|" + doc.Graph(1).Formula;
                 return true;
             },
             {"key", "ctrl+y"}},
        };
        RunSteps();
        QVERIFY(!giveUp);
        QCOMPARE(afterUndo, std::string("x/2|x^2/5"));
        QTRY_COMPARE(doc.GraphCount(), 1);
        QCOMPARE(doc.Graph(0).Formula, std::string("x^2/5"));
        auto* undo = app->Main->findChild<QAction*>(QStringLiteral("MMEditUndo"));
        QCOMPARE(undo->text(), QStringLiteral("Отменить: удаление графика"));
        QTRY_COMPARE(QApplication::activeWindow(), app->Main.get());
    }

    // The view and the list by the real mouse and keys: the wheel zooms, the middle button
    // shifts, Home fits the view to the graphs, and in the list F2 edits and Delete deletes.
    void viewByWheelMiddleButtonAndHome() {
        TDocument& doc = app->Ctx.Document;
        ViewState& v = doc.View;
        TGLView* view = app->Main->View();
        auto* list = app->Main->findChild<QListWidget*>(QStringLiteral("ChListBGraphics"));
        const auto at = [](QWidget* w, QPoint p) {
            const QPoint g = w->mapToGlobal(p);
            return QStringList{"mousemove", QString::number(g.x()), QString::number(g.y())};
        };
        double scale = 0;
        double shift = 0;
        steps = {
            {[&] { return NothingModal(); }, {"key", "ctrl+a"}},
            {[&] { return DialogShown(); }, {"type", "x^2/5"}},
            {[&] { return DialogShown(); }, {"key", "Return"}},
            {[&] { return NothingModal() && doc.GraphCount() == 1; },
             at(view, view->rect().center())},
            {[&] {
                 scale = v.ScaleX;
                 return true;
             },
             {"click", "4"}},
            {[&] { return v.ScaleX > scale * 1.2; }, {"mousedown", "2"}},
            {[&] {
                 shift = v.ShiftX;
                 return true;
             },
             {"mousemove_relative", "--", "40", "0"}},
            {[&] { return v.ShiftX > shift; }, {"mouseup", "2"}},
            {[&] { return true; }, {"key", "Home"}},
            // The list: a click on its row, F2 edits (the dialog is closed again), Delete asks.
            {[&] { return v.ShiftX == 0 && v.ScaleX != scale * 1.25; },
             at(list->viewport(), list->visualItemRect(list->item(0)).center())},
            {[&] { return true; }, {"click", "1"}},
            {[&] { return list->currentRow() == 0; }, {"key", "F2"}},
            {[&] { return DialogShown(); }, {"key", "Escape"}},
            {[&] { return NothingModal(); }, {"key", "Delete"}},
            {[&] { return ShownBox() != nullptr; }, {"key", "Return"}},
        };
        RunSteps();
        QVERIFY(!giveUp);
        QTRY_COMPARE(doc.GraphCount(), 0);
        QTRY_COMPARE(QApplication::activeWindow(), app->Main.get());
    }

    void pickListGivesTheKeyboardBackToTheFormula() {
        TFuncList* pick = Dialog()->FuncList();
        steps = {
            {[&] { return NothingModal(); }, {"key", "ctrl+a"}},
            {[&] { return DialogShown(); }, {"key", "ctrl+space"}},
            {[&] { return pick->isVisible(); }, {"type", "sqrt"}},
            {[&] { return pick->isVisible(); }, {"key", "Return"}},
            {[&] { return !pick->isVisible() && DialogShown(); }, {"type", "x"}},
            {[&] { return Formula()->text() == QStringLiteral("sqrt( x )"); }, {"key", "Return"}},
        };
        RunSteps();
        QVERIFY(!giveUp);
        QTRY_COMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(app->Ctx.Document.Graph(0).Formula, std::string("sqrt( x )"));
    }

    // Save, new and open by keyboard alone, the file's path typed into the file dialogs.
    void documentSavedEmptiedAndOpenedAgain() {
        const QString path = app->Dir.filePath(QStringLiteral("road.qel"));
        steps = {
            {[&] { return NothingModal(); }, {"key", "ctrl+a"}},
            {[&] { return DialogShown(); }, {"type", "sin(x)"}},
            {[&] { return DialogShown(); }, {"key", "Return"}},
            {[&] { return NothingModal() && app->Ctx.Document.GraphCount() == 1; },
             {"key", "ctrl+s"}},
            {[&] { return ShownFileDialog() != nullptr; }, {"type", path}},
            {[&] { return ShownFileDialog() != nullptr; }, {"key", "Return"}},
            // "Сохранить изменения?": the second button is No.
            {[&] { return NothingModal() && QFileInfo::exists(path); }, {"key", "ctrl+n"}},
            {[&] { return ShownBox() != nullptr; }, {"key", "Tab", "Return"}},
            {[&] { return NothingModal() && app->Ctx.Document.GraphCount() == 0; },
             {"key", "ctrl+o"}},
            {[&] { return ShownFileDialog() != nullptr; }, {"type", path}},
            {[&] { return ShownFileDialog() != nullptr; }, {"key", "Return"}},
        };
        RunSteps();
        QVERIFY(!giveUp);
        QTRY_COMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(app->Ctx.Document.Graph(0).Formula, std::string("sin(x)"));
        QCOMPARE(app->Main->windowTitle(), QStringLiteral("Qel Kurvant  - [road.qel]"));
        // The file is one the command line reads too: one graph.
        QProcess sample;
        sample.start(QStringLiteral(KURVANT_CLI), {QStringLiteral("sample"), path});
        QVERIFY(sample.waitForFinished(30000));
        QCOMPARE(sample.exitCode(), 0);
        QVERIFY(sample.readAllStandardOutput().contains("graphs 1\n"));
    }

    // The help window goes by Escape without a window manager, and the main window's shortcuts
    // work again at once.
    void helpGoesByEscapeAndGivesTheKeyboardBack() {
        TFormHelp* help = app->Main->findChild<TFormHelp*>();
        QVERIFY(help);
        steps = {
            {[&] { return NothingModal() && !help->isVisible(); }, {"key", "F1"}},
            {[&] { return help->isVisible(); }, {"key", "Escape"}},
            {[&] { return NothingModal() && !help->isVisible(); }, {"key", "ctrl+a"}},
            // Ctrl+A reached the main window: the graph dialog came.
            {[&] { return DialogShown(); }, {"key", "Escape"}},
        };
        RunSteps();
        QVERIFY(!giveUp);
        QVERIFY(!help->isVisible());
        QCOMPARE(app->Ctx.Document.GraphCount(), 0);
    }

    // What is typed into the tabulation's formula box is what is tabulated: the graphs'
    // formulas in its list do not complete it.
    void tabulationTakesTheTypedFormula() {
        auto* form = app->Main->findChild<TFormTableValues*>();
        QVERIFY(form);
        steps = {
            {[&] { return NothingModal(); }, {"key", "ctrl+a"}},
            {[&] { return DialogShown(); }, {"type", "x^2/4-3"}},
            {[&] { return DialogShown(); }, {"key", "Return"}},
            {[&] { return NothingModal() && app->Ctx.Document.GraphCount() == 1; },
             {"key", "ctrl+f"}},
            {[&] { return form->isVisible() && !ShownBox(); }, {"type", "x^2"}},
            {[&] { return form->CBoxFunction->currentText().endsWith(QStringLiteral("2")); },
             {"key", "Return"}},
            {[&] { return form->isVisible() && form->SGridTableValues->rowCount() > 2; },
             {"key", "Escape"}},
        };
        RunSteps();
        QVERIFY(!giveUp);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->CBoxFunction->currentText(), QStringLiteral("x^2"));
        // The first row is x = -10: 100 for x^2, where x^2/4-3 would give 22.
        QCOMPARE(form->SGridTableValues->item(0, 1)->text(), QStringLiteral("100,0000000000"));
    }

    void errorBoxGivesTheKeyboardBackToTheDialog() {
        steps = {
            {[&] { return NothingModal(); }, {"key", "ctrl+a"}},
            // No formula: "Неправильное выражение!".
            {[&] { return DialogShown(); }, {"key", "Return"}},
            {[&] { return ShownBox() != nullptr; }, {"key", "Return"}},
            {[&] { return DialogShown(); }, {"type", "x+1"}},
            {[&] { return Formula()->text() == QStringLiteral("x+1"); }, {"key", "Return"}},
            // The main window has the keyboard again: a second graph.
            {[&] { return NothingModal() && app->Ctx.Document.GraphCount() == 1; },
             {"key", "ctrl+a"}},
            {[&] { return DialogShown(); }, {"key", "Escape"}},
        };
        RunSteps();
        QVERIFY(!giveUp);
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(app->Ctx.Document.Graph(0).Formula, std::string("x+1"));
    }
};

int main(int argc, char** argv) {
    PrepareProcess();
    QApplication app(argc, argv);
    PrepareApplication(app);
    TstKeyboardRoad t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_keyboard_road.moc"

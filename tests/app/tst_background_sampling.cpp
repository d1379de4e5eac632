// Heavy documents sampled off the window's thread: the window repaints meanwhile, the progress
// window takes the keyboard, Escape cancels and leaves the previous document, a close request
// cancels first and is then asked as usual, and a cancelled settings change changes nothing.

#include "app/document_commands.h"
#include "app/form_main.h"
#include "app/startup.h"
#include "documents/document_file.h"
#include "documents/form_settings.h"
#include "graphs/document.h"
#include "support/app_world.h"
#include "view/gl_view.h"
#include "widgets/work_progress.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// A surface of 200 x 200 points whose formula the rewriting evaluates point by point: seconds
// of work for thirty of them, on any machine.
TGraphic HeavySurface() {
    TGraphic g;
    g.Kind = KindSurface;
    g.Formula = "sin(x*y)+cos(x-y)*x^2-y/(1+x*x)+sqrt(abs(x*y))";
    g.FormulaPrepared = g.Formula;
    g.StepsX = 200;
    g.StepsY = 200;
    g.MinX = g.MinY = -5;
    g.MaxX = g.MaxY = 5;
    return g;
}

QProgressDialog* ShownProgress() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible())
            return p;
    return nullptr;
}

} // namespace

class TstBackgroundSampling : public QObject {
    Q_OBJECT

    std::unique_ptr<TAppWorld> app;
    QString previous;
    QString heavy;

    TGLView* View() { return app->Main->findChild<TGLView*>(); }

    // Runs `step` inside the sampling's wait once the progress window shows and has the keyboard.
    void WhenProgressShows(std::function<void(QProgressDialog*)> step) {
        QTimer::singleShot(0, app->Main.get(), [step] {
            QProgressDialog* progress = nullptr;
            QTRY_VERIFY_WITH_TIMEOUT((progress = ShownProgress()) != nullptr, 20000);
            step(progress);
        });
    }

private slots:
    void init() {
        app = std::make_unique<TAppWorld>('.');
        ShowMainWindow(*app->Main);
        QVERIFY(QTest::qWaitForWindowExposed(app->Main.get()));
        previous = QDir(app->Dir.path()).filePath(QStringLiteral("previous.qel"));
        heavy = QDir(app->Dir.path()).filePath(QStringLiteral("heavy.qel"));

        TDocument document;
        for (int i = 0; i < 30; ++i)
            document.Add(HeavySurface());
        std::string message;
        QVERIFY(Saving_File(document, heavy.toStdString(), '.', message));

        TGraphic g;
        g.Formula = g.FormulaPrepared = "x^2";
        app->Ctx.Document.Add(std::move(g));
        app->Ctx.Document.DocumentFileName = previous.toStdString();
        app->Ctx.Formula.Evaluator = kurvant::TEvaluator::Text;
    }

    void cleanup() { app.reset(); }

    void escapeCancelsAHeavyOpenWhileTheWindowRepaints() {
        bool repainted = false;
        QElapsedTimer cancelled;
        WhenProgressShows([&](QProgressDialog* progress) {
            QCOMPARE(progress->labelText(), QStringLiteral("Построение графиков…"));
            const int before = View()->FramesDrawn();
            View()->update();
            QTRY_VERIFY(View()->FramesDrawn() > before);
            repainted = true;
            // The keyboard stays with the main window, where Escape cancels.
            QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(app->Main.get()));
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus && app->Main->isAncestorOf(focus));
            cancelled.start();
            QTest::keyClick(focus, Qt::Key_Escape);
        });
        QVERIFY(!app->Main->FileCommands().OpenPath(heavy));
        qInfo("cancelled %lld ms after Escape", static_cast<long long>(cancelled.elapsed()));
        QVERIFY(repainted);
        QVERIFY(!WorkInProgress());
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(QString::fromStdString(app->Ctx.Document.DocumentFileName), previous);
        QVERIFY(app->Ctx.Document.Graph(0).Points.empty());
        QVERIFY(app->Services.Shown.isEmpty());
        QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(app->Main.get()));
    }

    void closingDuringSamplingCancelsFirstThenAsks() {
        app->Services.Answers = {TAnswer::Cancel};
        WhenProgressShows([&](QProgressDialog*) { app->Main->close(); });
        QVERIFY(!app->Main->FileCommands().OpenPath(heavy));
        // Asked only once the sampling has ended, as any close asks.
        QVERIFY(app->Services.Shown.isEmpty());
        QTRY_COMPARE(app->Services.Shown.size(), 1);
        QCOMPARE(app->Services.Shown[0].Caption, QStringLiteral("Завершение работы"));
        QVERIFY(app->Main->isVisible());
        QCOMPARE(QString::fromStdString(app->Ctx.Document.DocumentFileName), previous);
    }

    void cancelledSettingsChangeKeepsSettingsGraphsAndDialog() {
        for (int i = 0; i < 30; ++i)
            app->Ctx.Document.Add(HeavySurface());
        const double minX = app->Ctx.Settings.MinX;
        auto* dialog = app->Main->findChild<TFormSettings*>();
        QVERIFY(dialog);
        dialog->show();
        QTRY_VERIFY(dialog->isVisible());
        dialog->EdMinX->setText(QStringLiteral("-3"));
        WhenProgressShows(
            [](QProgressDialog* progress) { QTest::keyClick(progress, Qt::Key_Escape); });
        dialog->BBtnOKClick();
        QCOMPARE(app->Ctx.Settings.MinX, minX);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->EdMinX->text(), QStringLiteral("-3"));
        QVERIFY(app->Ctx.Document.Graph(1).Points.empty());
        dialog->reject();
    }

    void undoOfASettingsStepSamplesBehindTheProgressWindowAndCancels() {
        for (int i = 0; i < 30; ++i)
            app->Ctx.Document.Add(HeavySurface());
        // A settings step whose graphs are taken as they are; its undo samples them all again.
        TSettings narrower = app->Ctx.Settings;
        narrower.MinX = -3;
        const double minX = app->Ctx.Settings.MinX;
        app->Ctx.Document.SettingsStep(narrower, app->Ctx.Document.AutoScaleBackup,
                                       app->Ctx.Document.FormulaGraphCopies(), app->Ctx.Settings,
                                       app->Ctx.Formula, "изменение настроек");
        auto* undo = app->Main->findChild<QAction*>(QStringLiteral("MMEditUndo"));
        QVERIFY(undo && undo->isEnabled());
        bool shown = false;
        WhenProgressShows([&](QProgressDialog* progress) {
            shown = true;
            QTest::keyClick(progress, Qt::Key_Escape);
        });
        undo->trigger();
        QVERIFY(shown);
        QVERIFY(!WorkInProgress());
        // Cancelled: the step is still there to undo, and nothing moved.
        QCOMPARE(app->Ctx.Settings.MinX, -3.0);
        QCOMPARE(app->Ctx.Document.History().index(), 1);
        QVERIFY(app->Ctx.Document.Graph(1).Points.empty());
        QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(app->Main.get()));
        QVERIFY(minX != -3.0);
    }
};

QTEST_MAIN(TstBackgroundSampling)
#include "tst_background_sampling.moc"

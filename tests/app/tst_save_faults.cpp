// The file commands on a disk that fails: every step of "Сохранить" failing in turn is reported
// with the save's message, and leaves the previous file, the document, its name and the window's
// caption as they were; the settings written at closing on a failing disk leave the previous
// settings file. Runs on the offscreen platform: the window is never shown.

#include "app/document_commands.h"
#include "app/form_main.h"
#include "app/startup.h"
#include "documents/document_file.h"
#include "documents/settings_file.h"
#include "graphs/document.h"
#include "support/app_world.h"
#include "support/fake_ui_services.h"
#include "support/faulty_file_calls.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <memory>

class TstSaveFaults : public QObject {
    Q_OBJECT

    TFaultyFileCalls disk; // the run saves through it, so it outlives the run
    std::unique_ptr<TAppWorld> app;

    QString Path(const QString& name) { return QDir(app->Dir.path()).filePath(name); }
    static QByteArray Bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void AddGraph(const char* formula) {
        TGraphic g;
        g.Formula = formula;
        g.FormulaPrepared = formula;
        app->Ctx.Document.Add(std::move(g));
    }

private slots:
    void init() {
        disk = TFaultyFileCalls();
        app = std::make_unique<TAppWorld>('.', &disk);
    }

    void cleanup() { app.reset(); }

    void eachFailingStepOfSaveIsReportedAndChangesNothing() {
        AddGraph("x");
        app->Services.FileNames = {Path("plot")};
        QVERIFY(app->Main->FileCommands().Save_or_Not_save_File());
        const QByteArray previous = Bytes(Path("plot.qel"));
        QVERIFY(!previous.isEmpty());
        AddGraph("x^2"); // the document now differs from its file
        const std::vector<std::string> lines = DocumentFileLines(app->Ctx.Document, '.');
        const std::string name = app->Ctx.Document.DocumentFileName;
        const QString caption = app->Main->windowTitle();
        // The system's reason is the box's last line.
        const QString message = QString::fromStdString(DocumentSaveMessage(name, ENOSPC));
        QVERIFY(message.endsWith(QStringLiteral("\n\rДиск заполнен")));

        int reported = 0;
        for (int at = 0;; ++at) {
            disk.Steps.clear();
            disk.FailAt = at;
            disk.Error = ENOSPC;
            app->Services.Shown.clear();
            const bool saved = app->Main->FileCommands().Save();
            if (static_cast<int>(disk.Steps.size()) <= at)
                break; // every step of a save has failed once
            const QString step = QString::fromLatin1(StepName(disk.Steps[at]));
            if (saved) {
                // Only a fault after the rename, in syncing the folder, leaves a saved file.
                const auto failed = disk.Steps.begin() + at;
                QVERIFY2(std::find(disk.Steps.begin(), failed, TFileStep::Rename) != failed,
                         qPrintable(step));
                QFile::remove(Path("plot.qel"));
                QFile f(Path("plot.qel"));
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(previous);
                continue;
            }
            ++reported;
            QVERIFY2(app->Services.Shown.size() == 1, qPrintable(step));
            QCOMPARE(app->Services.Shown[0].Kind, QStringLiteral("error"));
            QCOMPARE(app->Services.Shown[0].Caption, QStringLiteral("Ошибка"));
            QCOMPARE(app->Services.Shown[0].Text, message);
            QVERIFY2(Bytes(Path("plot.qel")) == previous, qPrintable(step));
            QCOMPARE(QDir(app->Dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
            QCOMPARE(DocumentFileLines(app->Ctx.Document, '.'), lines);
            QCOMPARE(app->Ctx.Document.DocumentFileName, name);
            QCOMPARE(app->Main->windowTitle(), caption);
        }
        QVERIFY(reported >= 5); // open, fchmod, write, fsync, close, rename
    }

    void fullDiskAtSaveAsKeepsTheNameAndCreatesNothing() {
        AddGraph("sin(x)");
        disk.DiskRoom = 10;
        app->Services.FileNames = {Path("new")};
        QVERIFY(!app->Main->FileCommands().Save_or_Not_save_File());
        QCOMPARE(app->Services.Shown.last().Kind, QStringLiteral("error"));
        QCOMPARE(app->Services.Shown.last().Text, QString::fromStdString(DocumentSaveMessage(
                                                      Path("new.qel").toStdString(), ENOSPC)));
        QVERIFY(app->Ctx.Document.DocumentFileName.empty());
        QCOMPARE(QDir(app->Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void settingsWrittenAtClosingOnAFailingDiskLeaveThePreviousFile() {
        const std::string path = SettingsPath(app->Ctx);
        QVERIFY(QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath()));
        TSettings previous;
        Settings_Default(previous);
        previous.MinX = -4;
        QVERIFY(WriteSettingsFile(path, previous, '.'));
        const QByteArray before = Bytes(QString::fromStdString(path));
        app->Ctx.Settings.MaxX = 6;
        for (const int error : {ENOSPC, EIO}) {
            for (int at = 0; at < 6; ++at) { // the steps before the rename
                disk.Steps.clear();
                disk.FailAt = at;
                disk.Error = error;
                QVERIFY(app->Main->close());                       // the program still ends
                QVERIFY(static_cast<int>(disk.Steps.size()) > at); // the settings were written
                QCOMPARE(Bytes(QString::fromStdString(path)), before);
            }
        }
        // With the disk working again, closing writes the settings.
        disk.FailAt = -1;
        disk.Steps.clear();
        QVERIFY(app->Main->close());
        QVERIFY(!disk.Steps.empty());
        TSettings read;
        QVERIFY(ReadSettingsFile(path, read));
        QCOMPARE(read.MaxX, 6.0);
    }
};

int main(int argc, char** argv) {
    PrepareProcess();
    QApplication app(argc, argv);
    TstSaveFaults t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_save_faults.moc"

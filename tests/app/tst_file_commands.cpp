// The menu "Файл" with scripted answers: the offer to save at each command, save and save as with
// their extensions and the question before replacing a file, failures that keep the document,
// the close query, and the view saved as a picture.

#include "app/document_commands.h"
#include "app/form_main.h"
#include "app/recent_documents.h"
#include "app/startup.h"
#include "documents/document_file.h"
#include "graphs/document.h"
#include "support/app_world.h"
#include "support/fake_ui_services.h"
#include "view/gl_view.h"
#include "widgets/dialog_folder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

class TstFileCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<TAppWorld> app;

    TDocumentCommands& Commands() { return app->Main->FileCommands(); }
    QString Path(const QString& name) { return QDir(app->Dir.path()).filePath(name); }
    void Trigger(const char* name) {
        app->Main->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }

    void AddGraph(const char* formula) {
        TGraphic g;
        g.Kind = 0;
        g.Formula = formula;
        g.FormulaPrepared = formula;
        app->Ctx.Document.Add(std::move(g));
    }

    // The file's lines as the reader takes them: the signature and the graph count tell enough.
    static QStringList Lines(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    }

    QStringList Questions() const {
        QStringList out;
        for (const TShownBox& b : app->Services.Shown)
            if (b.Kind == QStringLiteral("question"))
                out << b.Caption;
        return out;
    }

private slots:
    void init() { app = std::make_unique<TAppWorld>('.'); }

    void cleanup() { app.reset(); }

    // ---- the offer to save

    // ---- recent documents and the history

    // Four documents saved or opened; the next run with the same configuration folder lists
    // them newest first, and one deleted meanwhile is reported and dropped when chosen.
    void recentDocumentsOutliveTheRunInOrder() {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const QString listFile = TRecentDocuments::DefaultFile();
        QVERIFY(listFile.startsWith(config.path()));
        app = std::make_unique<TAppWorld>('.', nullptr, listFile);
        for (const char* name : {"a.qel", "b.qel", "c.qel", "d.qel"}) {
            AddGraph(name);
            app->Services.FileNames = {Path(QString::fromLatin1(name))};
            Trigger("mmFileSaveAs");
        }
        app->Services.Answers = {TAnswer::No};
        app->Services.FileNames = {Path("b.qel")};
        Trigger("mmFileOpen");
        QCOMPARE(app->Ctx.Document.DocumentFileName, Path("b.qel").toStdString());
        const QStringList docs{Path("b.qel"), Path("d.qel"), Path("c.qel"), Path("a.qel")};
        QCOMPARE(Commands().RecentDocuments(), docs);

        // The next run: the first run's folder, with its documents, is gone with it.
        app = std::make_unique<TAppWorld>('.', nullptr, listFile);
        QCOMPARE(Commands().RecentDocuments(), docs);
        struct TRow {
            const char* Action;
            QString Text;
        };
        const TRow rows[] = {{"MMFileRecent1", QStringLiteral("&1 b.qel")},
                             {"MMFileRecent4", QStringLiteral("&4 a.qel")}};
        for (const TRow& row : rows)
            QCOMPARE(app->Main->findChild<QAction*>(QString::fromLatin1(row.Action))->text(),
                     row.Text);
        QCOMPARE(app->Main->findChild<QAction*>(QStringLiteral("MMFileRecent2"))->toolTip(),
                 docs[1]);
        // c.qel is missing: said so at once, without the offer to save the open document, and
        // it leaves the list.
        AddGraph("x");
        Trigger("MMFileRecent3");
        QCOMPARE(app->Services.Shown.size(), 1);
        QCOMPARE(app->Services.Shown[0].Kind, QStringLiteral("warning"));
        QCOMPARE(app->Services.Shown[0].Caption, QStringLiteral("Загрузка файла"));
        QCOMPARE(app->Services.Shown[0].Text,
                 QStringLiteral("Файл не найден\n\r\"") + docs[2] + QStringLiteral("\""));
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(Commands().RecentDocuments(), (QStringList{docs[0], docs[1], docs[3]}));
        qunsetenv("XDG_CONFIG_HOME");
    }

    // "Правка" stands between "Файл" and "Вид", greyed while there is nothing to undo or redo.
    void editMenuNamesTheStepAndIsGreyedWhenEmpty() {
        const QList<QAction*> menus = app->Main->menuBar()->actions();
        QVERIFY(menus.size() > 2);
        QCOMPARE(menus[1]->text(), QStringLiteral("Правка"));
        QCOMPARE(menus[2]->text(), QStringLiteral("Вид"));
        QAction* undo = app->Main->findChild<QAction*>(QStringLiteral("MMEditUndo"));
        QAction* redo = app->Main->findChild<QAction*>(QStringLiteral("MMEditRedo"));
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        app->Ctx.Document.AddStep(TGraphic{}, app->Ctx.Settings, "добавление графика");
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("Отменить: добавление графика"));
        undo->trigger();
        QCOMPARE(app->Ctx.Document.GraphCount(), 0);
        QVERIFY(!undo->isEnabled() && redo->isEnabled());
        QCOMPARE(redo->text(), QStringLiteral("Повторить: добавление графика"));
        QCOMPARE(redo->shortcuts().size(), 2);
        redo->trigger();
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(redo->text(), QStringLiteral("Повторить"));
    }

    void withoutGraphsNoCommandAsks() {
        app->Ctx.Document.View.ShiftX = 3;
        app->Ctx.Document.DocumentFileName = Path("old.qel").toStdString();
        Trigger("MMFileNew");
        QVERIFY(app->Services.Shown.isEmpty());
        // "Новый" still resets the view and empties the name.
        QCOMPARE(app->Ctx.Document.View.ShiftX, 0.0);
        QCOMPARE(app->Ctx.Document.View.ScaleX, 0.1);
        QVERIFY(app->Ctx.Document.DocumentFileName.empty());
        QCOMPARE(app->Main->windowTitle(), QStringLiteral("Qel Kurvant "));
        Trigger("mmFileOpen"); // the open dialog comes at once, and is cancelled
        QVERIFY(app->Services.Shown.isEmpty());
        QVERIFY(app->Main->close());
        QVERIFY(app->Services.Shown.isEmpty());
    }

    void eachCommandAsksUnderItsOwnCaption() {
        AddGraph("x");
        app->Services.Answers = {TAnswer::Cancel, TAnswer::Cancel, TAnswer::Cancel};
        Trigger("MMFileNew");
        Trigger("mmFileOpen");
        QVERIFY(!app->Main->close());
        QCOMPARE(Questions(), (QStringList{QStringLiteral("Создание нового файла"),
                                           QStringLiteral("Открытие файла"),
                                           QStringLiteral("Завершение работы")}));
        QCOMPARE(app->Services.Shown[0].Text, QStringLiteral("Сохранить изменения?"));
        // Cancel everywhere: the document is as it was, no dialog was shown.
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QVERIFY(app->Services.SaveDialogs.isEmpty());
    }

    void newWithNoDiscardsAndWithYesSavesFirst() {
        AddGraph("x");
        app->Services.Answers = {TAnswer::No};
        Trigger("MMFileNew");
        QCOMPARE(app->Ctx.Document.GraphCount(), 0);

        AddGraph("x^2");
        app->Services.Answers = {TAnswer::Yes};
        app->Services.FileNames = {Path("kept")};
        Trigger("MMFileNew");
        QCOMPARE(app->Ctx.Document.GraphCount(), 0);
        const QStringList lines = Lines(Path("kept.qel"));
        QVERIFY(lines.size() > 4);
        QCOMPARE(lines[0], QString::fromLatin1(DocumentSignature));
        QCOMPARE(lines[2], QStringLiteral("1"));
        QCOMPARE(lines[4], QStringLiteral("x^2"));
    }

    void yesThenCancelledSaveDialogKeepsTheProgramAndTheDocument() {
        AddGraph("x");
        app->Main->show();
        app->Services.Answers = {TAnswer::Yes};
        QVERIFY(!app->Main->close()); // the save dialog is cancelled: no file name scripted
        QVERIFY(app->Main->isVisible());
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(app->Services.SaveDialogs.size(), 1);
    }

    void failedSaveStopsTheCommand() {
        AddGraph("x");
        const QString unwritable = QStringLiteral("/nonexistent-folder/a.qel");
        app->Services.Answers = {TAnswer::Yes};
        app->Services.FileNames = {unwritable};
        Trigger("MMFileNew");
        // The failure was reported, and the document was not discarded.
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(app->Services.Shown.last().Kind, QStringLiteral("error"));
        QCOMPARE(app->Services.Shown.last().Caption, QStringLiteral("Ошибка"));
        QCOMPARE(app->Services.Shown.last().Text,
                 QStringLiteral("Не удалось сохранить в файл\n\r\"") + unwritable +
                     QStringLiteral("\"!\n\rНет такого файла или папки"));
        // The open dialog does not follow a failed save either, and the program does not end.
        app->Services.Answers = {TAnswer::Yes, TAnswer::Yes};
        app->Services.FileNames = {unwritable, unwritable};
        Trigger("mmFileOpen");
        QVERIFY(!app->Main->close());
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QVERIFY(app->Services.FileNames.isEmpty()); // both save dialogs, no open dialog
    }

    // ---- save and save as

    void saveAsNamesTheDocumentAndSaveWritesWithoutADialog() {
        AddGraph("sin(x)");
        app->Services.FileNames = {Path("plot")};
        QVERIFY(Commands().Save());
        QCOMPARE(QString::fromStdString(app->Ctx.Document.DocumentFileName), Path("plot.qel"));
        QCOMPARE(app->Main->windowTitle(), QStringLiteral("Qel Kurvant  - [plot.qel]"));
        QCOMPARE(app->Services.SaveDialogs.size(), 1);
        QCOMPARE(app->Services.SaveDialogs[0].Filter,
                 QStringLiteral("Файлы Qel Kurvant (*.qel)|*.qel|Все файлы (*.*)|*.*"));
        QCOMPARE(app->Services.SaveDialogs[0].FileName, QString()); // a new document: no name

        AddGraph("cos(x)");
        Trigger("mmFileSave");
        QCOMPARE(app->Services.SaveDialogs.size(), 1); // no dialog: the file exists
        QCOMPARE(Lines(Path("plot.qel"))[2], QStringLiteral("2"));

        // Save as offers the present name; the file deleted meanwhile makes Save ask again.
        app->Services.FileNames = {Path("second.qel")};
        Trigger("mmFileSaveAs");
        QCOMPARE(app->Services.SaveDialogs[1].FileName, QStringLiteral("plot.qel"));
        QVERIFY(QFile::remove(Path("second.qel")));
        app->Services.FileNames = {Path("third")};
        Trigger("mmFileSave");
        QCOMPARE(app->Services.SaveDialogs.size(), 3);
        QVERIFY(QFileInfo::exists(Path("third.qel")));
    }

    void extensionIsAddedOnlyWhereTheNameLacksIt_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");
        QTest::newRow("bare name") << "plot" << 0 << "plot.qel";
        QTest::newRow("name with the extension") << "a.qel" << 0 << "a.qel";
        QTest::newRow("extension in capitals") << "B.QEL" << 0 << "B.QEL";
        QTest::newRow("another extension, documents") << "plot.txt" << 0 << "plot.txt.qel";
        QTest::newRow("another extension, all files") << "plot.txt" << 1 << "plot.txt";
    }

    void extensionIsAddedOnlyWhereTheNameLacksIt() {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, written);
        AddGraph("x");
        app->Services.FileNames = {Path(typed)};
        app->Services.Filters = {filter};
        QVERIFY(Commands().Save_or_Not_save_File());
        QVERIFY(QFileInfo::exists(Path(written)));
        QCOMPARE(QString::fromStdString(app->Ctx.Document.DocumentFileName), Path(written));
        QCOMPARE(QDir(app->Dir.path())
                     .entryList({QStringLiteral("*.qel"), QStringLiteral("*.txt")}, QDir::Files),
                 QStringList{written});
    }

    void anExistingFileIsReplacedOnlyWhenTheUserSaysSo() {
        AddGraph("x");
        QFile other(Path("other.qel"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("someone's file");
        other.close();
        // "other" becomes other.qel, which exists: No returns to the dialog, which offers it.
        app->Services.FileNames = {Path("other"), Path("other")};
        app->Services.Answers = {TAnswer::No, TAnswer::Yes};
        QVERIFY(Commands().Save_or_Not_save_File());
        QCOMPARE(app->Services.SaveDialogs.size(), 2);
        QCOMPARE(app->Services.SaveDialogs[1].FileName, QStringLiteral("other.qel"));
        QCOMPARE(Questions().size(), 2);
        QVERIFY(app->Services.Shown[0].Text.contains(QStringLiteral("other.qel")));
        QCOMPARE(Lines(Path("other.qel"))[0], QString::fromLatin1(DocumentSignature));
        // No, then a cancelled dialog: nothing is written.
        QFile::remove(Path("other.qel"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("kept");
        other.close();
        app->Services.FileNames = {Path("other.qel")};
        app->Services.Answers = {TAnswer::No};
        QVERIFY(!Commands().Save_or_Not_save_File());
        QFile kept(Path("other.qel"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("kept"));
    }

    void failedSaveAsKeepsTheNameAndTheCaption() {
        AddGraph("x");
        app->Services.FileNames = {Path("first")};
        QVERIFY(Commands().Save_or_Not_save_File());
        const std::string name = app->Ctx.Document.DocumentFileName;
        const QString caption = app->Main->windowTitle();
        app->Services.FileNames = {QStringLiteral("/nonexistent-folder/second")};
        QVERIFY(!Commands().Save_or_Not_save_File());
        QCOMPARE(app->Ctx.Document.DocumentFileName, name);
        QCOMPARE(app->Main->windowTitle(), caption);
        QCOMPARE(app->Services.Shown.last().Kind, QStringLiteral("error"));
    }

    // ---- open

    void openReadsTheChosenFileAndReportsBadOnes() {
        AddGraph("x^3");
        app->Services.FileNames = {Path("saved")};
        QVERIFY(Commands().Save());
        app->Services.Answers = {TAnswer::No};
        Trigger("MMFileNew");
        QCOMPARE(app->Ctx.Document.GraphCount(), 0);

        app->Services.FileNames = {Path("saved.qel")};
        Trigger("mmFileOpen");
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(app->Ctx.Document.Graph(0).Formula, std::string("x^3"));
        QCOMPARE(app->Main->windowTitle(), QStringLiteral("Qel Kurvant  - [saved.qel]"));
        QVERIFY(!app->Ctx.Document.Graph(0).Points.empty()); // sampled after reading

        // A foreign file: the error box, and the open document stays.
        QFile foreign(Path("foreign.qel"));
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.write("hello\r\n");
        foreign.close();
        app->Services.Shown.clear();
        app->Services.Answers = {TAnswer::No};
        app->Services.FileNames = {Path("foreign.qel")};
        Trigger("mmFileOpen");
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(app->Services.Shown.last().Kind, QStringLiteral("error"));
        QCOMPARE(app->Services.Shown.last().Caption, QStringLiteral("Загрузка файла"));
        QCOMPARE(app->Services.Shown.last().Text,
                 QStringLiteral("Неверный формат файла!\n\rстрока 1: нет подписи файла"));
        // A damaged one: the warning box.
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.write(DocumentSignature);
        foreign.write("\r\n0.1 0 0 0 0 0\r\n5\r\n");
        foreign.close();
        app->Services.Answers = {TAnswer::No};
        app->Services.FileNames = {Path("foreign.qel")};
        Trigger("mmFileOpen");
        QCOMPARE(app->Services.Shown.last().Kind, QStringLiteral("warning"));
        QCOMPARE(app->Services.Shown.last().Text,
                 QStringLiteral("Не удаётся открыть файл!\n\rстрока 4: файл обрывается"));
        QCOMPARE(QString::fromStdString(app->Ctx.Document.DocumentFileName), Path("saved.qel"));
    }

    void documentNamedOnTheCommandLineOpensAtStart() {
        AddGraph("x+1");
        app->Services.FileNames = {Path("start")};
        QVERIFY(Commands().Save());
        app->Main.reset();
        app->Ctx.Document.NewDocument();
        app->Main = StartUp(app->Ctx);
        app->Main->OpenDocumentAtStart(Path("start.qel"));
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        app->Main->OpenDocumentAtStart(Path("missing.qel"));
        QCOMPARE(app->Services.Shown.last().Kind, QStringLiteral("warning"));
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
    }

    void documentDroppedOnTheWindowOpensAfterTheOffer() {
        AddGraph("x+2");
        app->Services.FileNames = {Path("dropped")};
        QVERIFY(Commands().Save());
        AddGraph("x+3");
        QMimeData data;
        data.setUrls(
            {QUrl::fromLocalFile(Path("notes.txt")), QUrl::fromLocalFile(Path("dropped.qel"))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(app->Main.get(), &enter);
        QVERIFY(enter.isAccepted());
        app->Services.Answers = {TAnswer::No};
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(app->Main.get(), &drop);
        QCOMPARE(Questions(), QStringList{QStringLiteral("Открытие файла")});
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(app->Ctx.Document.Graph(0).Formula, std::string("x+2"));
        // Anything but a document is not taken.
        QMimeData text;
        text.setUrls({QUrl::fromLocalFile(Path("notes.txt"))});
        QDragEnterEvent other(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        other.setAccepted(false);
        QApplication::sendEvent(app->Main.get(), &other);
        QVERIFY(!other.isAccepted());
    }

    // The file dialogs start in the document's folder, else where the run's last dialog ended,
    // else in the user's documents; never in the program's folder.
    void fileDialogsStartInTheDocumentsFolderElseTheLastUsed() {
        QTemporaryDir plots;
        QTemporaryDir pictures;
        app->Main->show();
        QVERIFY(QTest::qWaitForWindowExposed(app->Main.get()));
        AddGraph("x");
        Trigger("mmFileSaveAs"); // cancelled
        QCOMPARE(app->Services.SaveDialogs.last().Folder, UserDocumentsFolder());

        app->Services.FileNames = {plots.filePath(QStringLiteral("plot"))};
        Trigger("mmFileSaveAs");
        app->Services.FileNames = {pictures.filePath(QStringLiteral("view"))};
        Trigger("MMFileSaveAsPicture");
        QVERIFY(QFileInfo::exists(pictures.filePath(QStringLiteral("view.bmp"))));
        // The document's folder before the picture's.
        Trigger("MMFileSaveAsPicture");
        QCOMPARE(app->Services.SaveDialogs.last().Folder, plots.path());

        // No document: where the last dialog ended.
        app->Services.Answers = {TAnswer::No};
        Trigger("MMFileNew");
        Trigger("mmFileOpen");
        QCOMPARE(app->Services.OpenDialogFolders.last(), pictures.path());
        QCOMPARE(app->Main->DialogFolder(), pictures.path());

        // The open dialog's name without its extension opens the document.
        app->Services.FileNames = {plots.filePath(QStringLiteral("plot"))};
        Trigger("mmFileOpen");
        QCOMPARE(app->Ctx.Document.GraphCount(), 1);
        QCOMPARE(app->Main->windowTitle(), QStringLiteral("Qel Kurvant  - [plot.qel]"));
        QCOMPARE(app->Services.OpenDialogFolders.last(), pictures.path());
        QCOMPARE(app->Services.Shown.size(), 1); // the one question of "Новый"
    }

    // The settings of a user live beside the list of recent documents in the user's
    // configuration folder, never beside the program.
    void settingsLiveInTheUsersConfigurationFolder() {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        const QString file = DefaultSettingsFile();
        const QString recent = TRecentDocuments::DefaultFile();
        qunsetenv("XDG_CONFIG_HOME");
        QVERIFY2(file.startsWith(home.path()), qPrintable(file));
        QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("settings.dat"));
        QCOMPARE(QFileInfo(file).absolutePath(), QFileInfo(recent).absolutePath());
        QCOMPARE(QString::fromStdString(SharedSettingsPath(app->Ctx)),
                 Path(QStringLiteral("settings.dat")));
    }

    // ---- the view as a picture

    void pictureOfTheViewAsBmpOrPng() {
        app->Main->resize(700, 500);
        app->Main->show();
        QVERIFY(QTest::qWaitForWindowExposed(app->Main.get()));
        AddGraph("x");
        app->Ctx.Document.Resample(0, app->Ctx.Settings, app->Ctx.Formula);
        // Cancelled: nothing is written.
        Trigger("MMFileSaveAsPicture");
        QCOMPARE(app->Services.SaveDialogs.last().Title,
                 QStringLiteral("Сохранить как рисунок..."));
        QCOMPARE(app->Services.SaveDialogs.last().Filter,
                 QStringLiteral(
                     "Рисунок (*.bmp)|*.bmp|PNG (*.png)|*.png|SVG (*.svg)|*.svg|PDF (*.pdf)|*.pdf|"
                     "EPS (*.eps)|*.eps"));
        QVERIFY(
            QDir(app->Dir.path()).entryList(QDir::Files).filter(QStringLiteral(".bmp")).isEmpty());

        app->Services.FileNames = {Path("view"), Path("view")};
        app->Services.Filters = {0, 1};
        Trigger("MMFileSaveAsPicture");
        Trigger("MMFileSaveAsPicture");
        const QImage bmp(Path("view.bmp"));
        const QImage png(Path("view.png"));
        const QImage shown =
            app->Main->View()->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(bmp.size(), shown.size());
        QCOMPARE(bmp.convertToFormat(QImage::Format_RGB32), shown);
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), shown);
        // Three bytes a pixel: the BMP header says 24 bits.
        QFile raw(Path("view.bmp"));
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QByteArray header = raw.read(30);
        QCOMPARE(static_cast<int>(static_cast<unsigned char>(header[28])), 24);

        app->Services.FileNames = {QStringLiteral("/nonexistent-folder/view")};
        Trigger("MMFileSaveAsPicture");
        QCOMPARE(app->Services.Shown.last().Caption, QStringLiteral("Ошибка"));
        QCOMPARE(app->Services.Shown.last().Text,
                 QStringLiteral("Ошибка при сохранении файла области построения графиков!\n\r"
                                "Нет такого файла или папки"));
    }

    // The format comes from a typed extension that names one, whatever the filter; a name
    // without one gets the filter's.
    void typedExtensionOfAKnownFormatWinsOverTheFilter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter"); // 0 BMP, 1 PNG
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("png under the bmp filter")
            << "pic.png" << 0 << "pic.png" << QByteArray("png");
        QTest::newRow("none under the png filter") << "pic" << 1 << "pic.png" << QByteArray("png");
        QTest::newRow("unknown under the bmp filter")
            << "pic.jpg" << 0 << "pic.jpg.bmp" << QByteArray("bmp");
    }
    void typedExtensionOfAKnownFormatWinsOverTheFilter() {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, written);
        QFETCH(QByteArray, format);
        app->Main->resize(320, 240);
        app->Main->show();
        QVERIFY(QTest::qWaitForWindowExposed(app->Main.get()));
        app->Services.FileNames = {Path(typed)};
        app->Services.Filters = {filter};
        Trigger("MMFileSaveAsPicture");
        QVERIFY(app->Services.Shown.isEmpty());
        const QStringList pictures =
            QDir(app->Dir.path())
                .entryList({QStringLiteral("*.bmp"), QStringLiteral("*.png")}, QDir::Files);
        QCOMPARE(pictures, QStringList{written});
        QImageReader reader(Path(written));
        reader.setDecideFormatFromContent(true);
        QCOMPARE(reader.format(), format);
    }

    // The picture is the same as the command line draws for the same document and view size.
    void pictureMatchesTheCommandLine() {
        app->Main->resize(640, 480);
        app->Main->show();
        QVERIFY(QTest::qWaitForWindowExposed(app->Main.get()));
        AddGraph("sin(x)");
        app->Services.FileNames = {Path("same")};
        QVERIFY(Commands().Save());
        app->Services.Answers = {TAnswer::No};
        Trigger("MMFileNew");
        app->Services.FileNames = {Path("same.qel")};
        Trigger("mmFileOpen");
        app->Services.FileNames = {Path("gui")};
        app->Services.Filters = {1};
        Trigger("MMFileSaveAsPicture");
        const QImage gui = QImage(Path("gui.png")).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!gui.isNull());
        const QString size = QStringLiteral("%1x%2").arg(gui.width()).arg(gui.height());
        QProcess cli;
        cli.start(QStringLiteral(KURVANT_CLI),
                  {QStringLiteral("render"), QStringLiteral("--size"), size,
                   QStringLiteral("--sep"), QStringLiteral("."), Path("same.qel"),
                   QStringLiteral("-o"), Path("cli.png")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        const QImage drawn = QImage(Path("cli.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(drawn.size(), gui.size());
        int differing = 0;
        for (int y = 0; y < gui.height(); ++y)
            for (int x = 0; x < gui.width(); ++x)
                differing += gui.pixel(x, y) != drawn.pixel(x, y);
        QCOMPARE(differing, 0);
    }
};

int main(int argc, char** argv) {
    PrepareProcess();
    QApplication app(argc, argv);
    TstFileCommands t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_file_commands.moc"

// Where the file dialogs start and what they give: the folder rule, the name an open dialog
// means, and the real open dialog and message boxes as a user meets them.

#include "widgets/dialog_folder.h"
#include "widgets/ui_services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

bool MakeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

// "@" in a table's text stands for the test's scratch folder.
QString InScratch(const QTemporaryDir& dir, const QString& text) {
    QString path = text;
    return path.replace(QStringLiteral("@"), dir.path());
}

// Runs `answer` on the first modal window of type T that comes up while `open` runs.
template <typename T>
void WhileModal(const std::function<void()>& open, const std::function<void(T*)>& answer) {
    bool answered = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (answered || !window || !window->isVisible())
            return;
        answered = true;
        answer(window);
    });
    poll.start();
    open();
    QVERIFY(answered);
}

} // namespace

class TstDesktopServices : public QObject {
    Q_OBJECT
private slots:
    // ---- the folder a dialog starts in ------------------------------------------------------

    // Each row: the document's name, the last used folder, where the dialog starts. Folders
    // "@/doc", "@/last" and "@/documents" exist; "@/gone" does not.
    void dialogStartFolder_data() {
        QTest::addColumn<QStringList>("row");
        QTest::newRow("document's folder first") << QStringList{"@/doc/a.qel", "@/last", "@/doc"};
        QTest::newRow("document's file gone") << QStringList{"@/doc/gone.qel", "@/last", "@/doc"};
        QTest::newRow("document's folder gone") << QStringList{"@/gone/a.qel", "@/last", "@/last"};
        QTest::newRow("no document: last used") << QStringList{"", "@/last", "@/last"};
        QTest::newRow("last used gone") << QStringList{"", "@/gone", "@/documents"};
        QTest::newRow("nothing yet") << QStringList{"", "", "@/documents"};
        QTest::newRow("document, no last used") << QStringList{"@/doc/a.qel", "", "@/doc"};
    }
    void dialogStartFolder() {
        QFETCH(QStringList, row);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char* folder : {"doc", "last", "documents"})
            QVERIFY(QDir(dir.path()).mkdir(QString::fromLatin1(folder)));
        QVERIFY(MakeFile(dir.filePath(QStringLiteral("doc/a.qel"))));
        QCOMPARE(DialogStartFolder(InScratch(dir, row[0]), InScratch(dir, row[1]),
                                   dir.filePath(QStringLiteral("documents"))),
                 InScratch(dir, row[2]));
    }

    // ---- the name an open dialog means ------------------------------------------------------

    void existingOpenName_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("extensions");
        QTest::addColumn<QString>("meant");
        // The folder holds plot.qel, notes.txt, plain, both, both.qel and the folder sub.qel.
        const QStringList qel{QStringLiteral(".qel")};
        QTest::newRow("name without its extension") << "plot" << qel << "plot.qel";
        QTest::newRow("existing name without extension") << "plain" << qel << "plain";
        QTest::newRow("existing name before the longer one") << "both" << qel << "both";
        QTest::newRow("nothing by either name") << "missing" << qel << "missing";
        QTest::newRow("other extension typed") << "plot.bak" << qel << "plot.bak";
        QTest::newRow("only with another extension") << "notes" << qel << "notes";
        QTest::newRow("second extension of the filter")
            << "notes" << QStringList{".qel", ".txt"} << "notes.txt";
        QTest::newRow("folder with the extension") << "sub" << qel << "sub";
    }
    void existingOpenName() {
        QFETCH(QString, typed);
        QFETCH(QStringList, extensions);
        QFETCH(QString, meant);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char* name : {"plot.qel", "notes.txt", "plain", "both", "both.qel"})
            QVERIFY(MakeFile(dir.filePath(QString::fromLatin1(name))));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub.qel")));
        QCOMPARE(ExistingOpenName(dir.filePath(typed), extensions), dir.filePath(meant));
    }

    void filterExtensions_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("extensions");
        QTest::newRow("documents")
            << "Файлы Qel Kurvant (*.qel)|*.qel|Все файлы (*.*)|*.*" << QStringList{".qel"};
        QTest::newRow("pictures") << "Рисунок (*.bmp)|*.bmp|PNG (*.png)|*.png"
                                  << QStringList{".bmp", ".png"};
        QTest::newRow("several patterns") << "Таблицы|*.txt;*.dat" << QStringList{".txt", ".dat"};
        QTest::newRow("any name") << "Все|*" << QStringList{};
        QTest::newRow("wildcard extension") << "Все|*.*|Почти|*.q?l" << QStringList{};
    }
    void filterExtensions() {
        QFETCH(QString, filter);
        QFETCH(QStringList, extensions);
        QCOMPARE(FilterExtensions(filter), extensions);
    }

    // ---- the real dialogs -------------------------------------------------------------------

    void openDialogTakesATypedName_data() {
        QTest::addColumn<QStringList>("typedAndOpened");
        QTest::newRow("without the extension") << QStringList{"plot", "plot.qel"};
        QTest::newRow("with the extension") << QStringList{"plot.qel", "plot.qel"};
        QTest::newRow("other file of the folder") << QStringList{"notes.txt", "notes.txt"};
    }
    void openDialogTakesATypedName() {
        QFETCH(QStringList, typedAndOpened);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(MakeFile(dir.filePath(QStringLiteral("plot.qel"))));
        QVERIFY(MakeFile(dir.filePath(QStringLiteral("notes.txt"))));
        TQtUiServices services;
        QString chosen;
        QString startedIn;
        WhileModal<QFileDialog>(
            [&] {
                chosen = services.OpenFileName(
                    nullptr, QString(), dir.path(),
                    QStringLiteral("Файлы Qel Kurvant (*.qel)|*.qel|Все файлы (*.*)|*.*"));
            },
            [&](QFileDialog* dialog) {
                startedIn = dialog->directory().absolutePath();
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QVERIFY(name);
                QTest::keyClicks(name, typedAndOpened[0]);
                QTest::keyClick(name, Qt::Key_Return);
            });
        QCOMPARE(startedIn, QDir(dir.path()).absolutePath());
        QCOMPARE(chosen, QDir(dir.path()).absoluteFilePath(typedAndOpened[1]));
    }

    // Message boxes have a title and a close button, nothing to maximise or minimise.
    void messageBoxesHaveOnlyACloseButton() {
        TQtUiServices services;
        QList<Qt::WindowFlags> shown;
        const auto close = [&](QMessageBox* box) {
            shown << box->windowFlags();
            box->buttons().constFirst()->click();
        };
        WhileModal<QMessageBox>(
            [&] { services.Error(nullptr, QStringLiteral("Ошибка"), QStringLiteral("a")); }, close);
        WhileModal<QMessageBox>(
            [&] {
                services.Question(nullptr, QStringLiteral("Удаление"), QStringLiteral("b"),
                                  TQuestionButtons::YesNoCancel);
            },
            close);
        QCOMPARE(shown.size(), 2);
        for (const Qt::WindowFlags flags : shown)
            QCOMPARE(flags & (Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint |
                              Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint),
                     Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    }
};

QTEST_MAIN(TstDesktopServices)
#include "tst_desktop_services.moc"

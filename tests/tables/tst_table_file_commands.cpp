// The table dialog's "Сохранить" and "Загрузить": the dialogs they open, save -> load round trips
// under both separators, and every failure leaving the grid as it was.

#include "table_dialog_world.h"

#include "documents/file_helpers.h"
#include "support/faulty_file_calls.h"
#include "widgets/dialog_folder.h"

#include <QtTest>

#include <algorithm>
#include <cstring>
#include <memory>

class TstTableFileCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<TTableDialogWorld> world;
    std::unique_ptr<TScratchFolder> folder;
    TFormGraphicTable* form = nullptr;

    void Use(char separator) {
        world = std::make_unique<TTableDialogWorld>(separator);
        form = world->Form.get();
        QVERIFY(form->PrepareForNewGraph());
    }
    QString Path(const char* name) const { return QString::fromStdString(folder->File(name)); }
    void Save(const QString& chosen) {
        world->Services->FileNames = {chosen};
        form->BBtnSaveClick();
    }
    void Load(const QString& path) {
        world->Services->FileNames = {path};
        form->BBtnLoadClick();
    }

private slots:
    void init() {
        folder = std::make_unique<TScratchFolder>();
        Use(',');
    }
    void cleanup() {
        world.reset();
        folder.reset();
    }

    // A fresh run without a document name: the user's documents, never the program's folder.
    void saveDialogOpensInTheUsersDocumentsAtFirst() {
        Save(QString()); // cancelled
        QCOMPARE(world->Services->SaveDialogs.size(), 1);
        const auto& dialog = world->Services->SaveDialogs.front();
        QCOMPARE(dialog.Title, QStringLiteral("Сохранить файл таблицы значений"));
        QCOMPARE(dialog.Folder, UserDocumentsFolder());
        QCOMPARE(dialog.Filter, QStringLiteral("Значения, разделённые пробелом|*.txt"));
        QVERIFY(world->Services->Shown.isEmpty());
        QCOMPARE(folder->EntryCount(), std::size_t{0});
    }

    void saveThenLoadGivesTheSameTable_data() {
        QTest::addColumn<char>("writer");
        QTest::addColumn<char>("reader");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QStringList>>("loaded");
        const QByteArray comma = "1,5 -2 0\r\n0,00001 1000 -0,25\r\n";
        const QByteArray point = "1.5 -2 0\r\n0.00001 1000 -0.25\r\n";
        const QList<QStringList> commaRows = {{"1,5", "-2", "0"}, {"0,00001", "1000", "-0,25"}};
        const QList<QStringList> pointRows = {{"1.5", "-2", "0"}, {"0.00001", "1000", "-0.25"}};
        QTest::newRow("comma, read with comma") << ',' << ',' << comma << commaRows;
        QTest::newRow("comma, read with point") << ',' << '.' << comma << pointRows;
        QTest::newRow("point, read with point") << '.' << '.' << point << pointRows;
        QTest::newRow("point, read with comma") << '.' << ',' << point << commaRows;
    }
    void saveThenLoadGivesTheSameTable() {
        QFETCH(char, writer);
        QFETCH(char, reader);
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QStringList>, loaded);
        Use(writer);
        // "1e-5" passes the check; it is written in fixed notation so that it reads back.
        world->Type({{"1.5", "-2", ""}, {"1e-5", "1000", "-0,25"}});
        Save(Path("table"));
        QVERIFY(world->Services->Shown.isEmpty());
        QCOMPARE(QByteArray::fromStdString(FileBytes(folder->File("table.txt"))), bytes);

        Use(reader);
        world->Type({{"9", "9", "9"}, {"9", "9", "9"}, {"9", "9", "9"}});
        Load(Path("table.txt"));
        QVERIFY(world->Services->Shown.isEmpty());
        QCOMPARE(world->Shown(), loaded);
        QCOMPARE(form->EdRows->text(), QStringLiteral("2"));
    }

    // ".txt" is added only where the name lacks it; an existing file is replaced only on Yes.
    void extensionOnlyWhereMissingAndNoSilentReplacing() {
        world->Type({{"1", "2", "3"}});
        Save(Path("points.txt"));
        QVERIFY(QFile::exists(Path("points.txt")));
        QVERIFY(!QFile::exists(Path("points.txt.txt")));
        Save(Path("other"));
        QVERIFY(QFile::exists(Path("other.txt")));
        world->Services->Answers = {TAnswer::No};
        Save(Path("points")); // points.txt exists: No, then the dialog again, cancelled
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->Services->Shown[0].Kind, QStringLiteral("question"));
    }

    void saveIntoAFolderThatDoesNotExistSaysSo() {
        world->Type({{"1", "2", "3"}});
        Save(QStringLiteral("/nonexistent-kurvant-folder/table"));
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->LastBox().Kind, QStringLiteral("error"));
        QCOMPARE(world->LastBox().Caption, QStringLiteral("Ошибка"));
        QCOMPARE(world->LastBox().Text,
                 QStringLiteral("Не удалось сохранить в файл\n\r\"/nonexistent-kurvant-folder/"
                                "table.txt\"!\n\rНет такого файла или папки"));
        QCOMPARE(world->Shown(), (QList<QStringList>{{"1", "2", "3"}}));
    }

    // A save over an existing file on a disk that fails at each call in turn, with each error
    // the call meets on a real system: the previous file stays whole, the box names the file,
    // the grid keeps its rows.
    void everyFailingStepOfTheSaveKeepsThePreviousFile() {
        world->Type({{"1", "2", "3"}});
        Save(Path("table.txt"));
        QVERIFY(world->Services->Shown.isEmpty());
        const std::string previous = FileBytes(folder->File("table.txt"));
        world->Type({{"4", "5", "6"}, {"7", "8", "9"}});
        TFaultyFileCalls probe;
        world->Ctx->Disk = &probe;
        world->Services->Answers = {TAnswer::Yes};
        Save(Path("table.txt"));
        QVERIFY(world->Services->Shown.size() == 1); // the replace question alone
        const std::string replaced = FileBytes(folder->File("table.txt"));
        QVERIFY(replaced != previous);
        const auto rename = std::find(probe.Steps.begin(), probe.Steps.end(), TFileStep::Rename);
        QVERIFY(rename != probe.Steps.end());
        const auto failing = static_cast<int>(rename - probe.Steps.begin());
        int interrupted = 0;
        for (int at = 0; at <= failing; ++at) {
            for (const int error : ErrorsOf(probe.Steps[static_cast<std::size_t>(at)])) {
                PutBytes(folder->File("table.txt"), previous);
                TFaultyFileCalls disk;
                disk.FailAt = at;
                disk.Error = error;
                world->Ctx->Disk = &disk;
                world->Services->Shown.clear();
                world->Services->Answers = {TAnswer::Yes};
                Save(Path("table.txt"));
                const QByteArray what =
                    QByteArray(StepName(probe.Steps[static_cast<std::size_t>(at)])) +
                    " failing with " + std::strerror(error);
                QVERIFY2(world->Services->Shown.size() == 2, what.constData());
                QCOMPARE(world->LastBox().Kind, QStringLiteral("error"));
                QCOMPARE(world->LastBox().Text,
                         QStringLiteral("Не удалось сохранить в файл\n\r\"") + Path("table.txt") +
                             QStringLiteral("\"!\n\r") +
                             QString::fromStdString(SystemErrorText(error)));
                QVERIFY2(FileBytes(folder->File("table.txt")) == previous, what.constData());
                QCOMPARE(folder->EntryCount(), std::size_t{1}); // no temporary file left
                QCOMPARE(world->Shown(), (QList<QStringList>{{"4", "5", "6"}, {"7", "8", "9"}}));
                ++interrupted;
            }
        }
        QVERIFY(interrupted >= 10);
    }

    void saveWithABadCellWritesNothing() {
        world->Type({{"1", "1001", "3"}});
        Save(Path("bad"));
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->LastBox().Text,
                 QStringLiteral("Число '1001' не лежит в промежутке\n\rот -1000 Y до 1000 Y!"));
        QCOMPARE(folder->EntryCount(), std::size_t{0});
    }

    void loadRefusesABrokenFileAndChangesNothing_data() {
        QTest::addColumn<QString>("file");   // in tests/data/tables, or "5001 lines"
        QTest::addColumn<QString>("reason"); // the box's second line
        QTest::newRow("four numbers")
            << "bad_four_numbers.txt" << QStringLiteral("строка 2: ожидалось три числа");
        QTest::newRow("token without digits")
            << "bad_token_without_digits.txt" << QStringLiteral("строка 2: ожидалось три числа");
        QTest::newRow("missing") << "no_such_table.txt"
                                 << QStringLiteral("файл не удаётся прочитать");
        QTest::newRow("5001 lines") << "5001 lines" << QStringLiteral("больше 5000 строк");
    }
    void loadRefusesABrokenFileAndChangesNothing() {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QString path = QString::fromStdString(DataPath("tables/" + file.toStdString()));
        if (file == QStringLiteral("5001 lines")) {
            std::string lines;
            for (int i = 0; i < MaxTableRows + 1; ++i)
                lines += "1 2 3\r\n";
            PutBytes(folder->File("long.txt"), lines);
            path = Path("long.txt");
        }
        world->Type({{"1", "2", "3"}, {"4", "5", "6"}});
        form->EdRows->setText(QStringLiteral("2"));
        Load(path);
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->LastBox().Kind, QStringLiteral("warning"));
        QCOMPARE(world->LastBox().Caption, QStringLiteral("Ошибка загрузки файла таблицы"));
        QCOMPARE(world->LastBox().Text,
                 QStringLiteral("Не удалось загрузить до конца файл таблицы!\n\r") + reason);
        QCOMPARE(world->Shown(), (QList<QStringList>{{"1", "2", "3"}, {"4", "5", "6"}}));
        QCOMPARE(form->EdRows->text(), QStringLiteral("2"));
    }

    void cancelledLoadChangesNothing() {
        world->Type({{"1", "2", "3"}});
        Load(QString());
        QVERIFY(world->Services->Shown.isEmpty());
        QCOMPARE(world->Shown(), (QList<QStringList>{{"1", "2", "3"}}));
    }

    void blankLineKeepsItsRowAndShortLinesFillWithZeros() {
        world->Type({{"0", "0", "0"}, {"7", "8", "9"}, {"0", "0", "0"}, {"0", "0", "0"}});
        PutBytes(folder->File("t.txt"), "1 2\r\n\r\n3\n4 5 6");
        Load(Path("t.txt"));
        QVERIFY(world->Services->Shown.isEmpty());
        QCOMPARE(world->Shown(),
                 (QList<QStringList>{
                     {"1", "2", "0"}, {"7", "8", "9"}, {"3", "0", "0"}, {"4", "5", "6"}}));
    }

    void emptyFileLeavesOneRowAsItWas() {
        world->Type({{"7", "8", "9"}, {"1", "1", "1"}});
        Load(QString::fromStdString(DataPath("tables/empty.txt")));
        QVERIFY(world->Services->Shown.isEmpty());
        QCOMPARE(world->Shown(), (QList<QStringList>{{"7", "8", "9"}}));
        QCOMPARE(form->EdRows->text(), QStringLiteral("1"));
    }

    void fileOfFiveThousandLinesFillsTheWholeGrid() {
        std::string lines;
        for (int i = 1; i <= MaxTableRows; ++i)
            lines += std::to_string(i % 1000) + " " + std::to_string(i) + " 0\r\n";
        PutBytes(folder->File("full.txt"), lines);
        Load(Path("full.txt"));
        QVERIFY(world->Services->Shown.isEmpty());
        QCOMPARE(form->Model()->rowCount(), MaxTableRows);
        QCOMPARE(form->Model()->data(form->Model()->index(MaxTableRows - 1, 1)).toString(),
                 QStringLiteral("5000"));
        // Y runs to 5000, beyond the range of a graph; X stays within it.
        form->BBtnOKClick();
        QCOMPARE(world->Services->Shown.size(), 1);
        QCOMPARE(world->LastBox().Text,
                 QStringLiteral("Число '1001' не лежит в промежутке\n\rот -1000 Y до 1000 Y!"));
        form->BBtnClearAllClick();
        form->BBtnOKClick();
        QCOMPARE(world->Ctx->Document.GraphCount(), 1);
        QCOMPARE(world->Ctx->Document.Graph(0).Points.size(), std::size_t(MaxTableRows));
    }
};

QTEST_MAIN(TstTableFileCommands)
#include "tst_table_file_commands.moc"

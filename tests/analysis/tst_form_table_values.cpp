// "Табулирование функции" as a user meets it, under a virtual X server: the controls, the two
// modes, every refusal with its box and focus, the hourglass, the grid and the saved file. Message
// boxes and the save dialog are answered by the scripted services.

#include "analysis/form_table_values.h"
#include "documents/text_file.h"
#include "graphs/graphic.h"
#include "support/fake_ui_services.h"
#include "support/faulty_file_calls.h"
#include "support/test_context.h"
#include "widgets/dialog_folder.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstring>

#include <memory>

namespace {

// Records the dialog's cursor whenever it changes, so that a test sees the hourglass come and go.
class TCursorLog final : public QObject {
public:
    explicit TCursorLog(QWidget* watched) : Watched(watched) { watched->installEventFilter(this); }
    QList<Qt::CursorShape> Shapes;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        // Qt may tell the same change more than once; a change is a new shape.
        if (object == Watched && event->type() == QEvent::CursorChange &&
            (Shapes.isEmpty() || Shapes.back() != Watched->cursor().shape()))
            Shapes << Watched->cursor().shape();
        return false;
    }

private:
    QWidget* Watched;
};

// The scripted services, also noting the dialog's cursor at each box.
class TWatchedServices final : public TUiServices {
public:
    TFakeUiServices Fake;
    QWidget* Watched = nullptr;
    QList<Qt::CursorShape> CursorAtBox;

    void Error(QWidget* p, const QString& c, const QString& t) override {
        Note();
        Fake.Error(p, c, t);
    }
    void Information(QWidget* p, const QString& c, const QString& t) override {
        Note();
        Fake.Information(p, c, t);
    }
    void Warning(QWidget* p, const QString& c, const QString& t) override {
        Note();
        Fake.Warning(p, c, t);
    }
    TAnswer Question(QWidget* p, const QString& c, const QString& t, TQuestionButtons b) override {
        return Fake.Question(p, c, t, b);
    }
    QString OpenFileName(QWidget* p, const QString& t, const QString& d,
                         const QString& f) override {
        return Fake.OpenFileName(p, t, d, f);
    }
    TFileChoice SaveFile(QWidget* p, const QString& t, const QString& d, const QString& n,
                         const QString& f) override {
        return Fake.SaveFile(p, t, d, n, f);
    }
    bool PrintDialog(QWidget* p, QPrinter& printer) override {
        return Fake.PrintDialog(p, printer);
    }
    void PrintPreview(QWidget* p, QPrinter& printer,
                      const std::function<void(QPrinter*)>& paint) override {
        Fake.PrintPreview(p, printer, paint);
    }
    bool OpenWithShell(const QString& path) override { return Fake.OpenWithShell(path); }

private:
    void Note() { CursorAtBox << (Watched ? Watched->cursor().shape() : Qt::BlankCursor); }
};

} // namespace

class TstFormTableValues : public QObject {
    Q_OBJECT

    std::unique_ptr<TWatchedServices> services;
    std::unique_ptr<TAppContext> ctx;
    std::unique_ptr<TFormTableValues> form;
    std::unique_ptr<QTemporaryDir> dir;

    QList<TShownBox>& Shown() { return services->Fake.Shown; }

    template <typename T> T* Child(const char* name) {
        T* c = form->findChild<T*>(QString::fromLatin1(name));
        if (!c)
            qWarning("no child %s", name);
        return c;
    }
    QLineEdit* Ed(const char* name) { return Child<QLineEdit>(name); }
    QTableWidget* Grid() { return Child<QTableWidget>("SGridTableValues"); }

    void Type(const QString& formula, const QString& min, const QString& max = QStringLiteral("10"),
              const QString& step = QStringLiteral("1"), const QString& variable = "x") {
        form->CBoxFunction->setEditText(formula);
        Ed("EdMin")->setText(min);
        Ed("EdMax")->setText(max);
        Ed("EdStep")->setText(step);
        Ed("EdVar")->setText(variable);
    }
    void ChooseMode(bool point) {
        QTest::mouseClick(Child<QRadioButton>(point ? "RGrValuesPoint" : "RGrValuesInterval"),
                          Qt::LeftButton, {}, QPoint(5, 5));
    }
    QString Cell(int row, int column) {
        const QTableWidgetItem* item =
            row < 0 ? Grid()->horizontalHeaderItem(column) : Grid()->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList Column(int column) {
        QStringList texts;
        for (int row = 0; row < Grid()->rowCount(); ++row)
            texts << Cell(row, column);
        return texts;
    }
    // The saved file's lines as the program reads text files, and its bytes.
    QStringList SavedLines(const QString& path, QByteArray* bytes = nullptr) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {QStringLiteral("<no file>")};
        if (bytes)
            *bytes = file.readAll();
        std::vector<std::string> lines;
        if (!ReadTextLines(path.toStdString(), lines))
            return {QStringLiteral("<unreadable>")};
        QStringList out;
        for (const std::string& line : lines)
            out << QString::fromStdString(line);
        return out;
    }
    void SaveAs(const QString& path, int filter = 0) {
        services->Fake.FileNames << path;
        services->Fake.Filters << filter;
        form->BBtnSaveClick();
    }

private slots:
    void init() {
        services = std::make_unique<TWatchedServices>();
        ctx = std::make_unique<TAppContext>();
        dir = std::make_unique<QTemporaryDir>();
        PrepareTestContext(*ctx, *services, ',', dir->path());
        form = std::make_unique<TFormTableValues>(*ctx);
        form->GroupSeparator.assign(1, ' '); // assigning a literal trips a false -Wrestrict
        services->Watched = form.get();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        form.reset();
        ctx.reset();
        services.reset();
        dir.reset();
    }

    void controlsCarryTheirCaptionsAndInitialTexts() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Табулирование функции"));
        QCOMPARE(Child<QLabel>("LbFunction")->text(), QStringLiteral("Формула"));
        QCOMPARE(Child<QLabel>("LbMin")->text(), QStringLiteral("Минимальное значение"));
        QCOMPARE(Child<QLabel>("LbVar")->text(), QStringLiteral("Имя переменной"));
        QCOMPARE(Child<QLabel>("LbMax")->text(), QStringLiteral("Максимальное значение"));
        QCOMPARE(Child<QLabel>("LbStep")->text(), QStringLiteral("Шаг"));
        QCOMPARE(form->RGrValues->title(), QStringLiteral("Тип вычисления"));
        QCOMPARE(Child<QRadioButton>("RGrValuesInterval")->text(), QStringLiteral("диапазон"));
        QCOMPARE(Child<QRadioButton>("RGrValuesPoint")->text(), QStringLiteral("точка"));
        QVERIFY(!form->PointMode());
        QCOMPARE(Child<QPushButton>("BBtnOK")->text(), QStringLiteral("Считать"));
        QCOMPARE(Child<QPushButton>("BBtnSave")->text(), QStringLiteral("Сохранить"));
        QCOMPARE(Child<QPushButton>("BBtnCancel")->text(), QStringLiteral("Закрыть"));
        auto* combo = Child<QComboBox>("CBoxFunction");
        QVERIFY(combo->isEditable());
        QVERIFY(combo->currentText().isEmpty());
        QCOMPARE(Ed("EdMin")->text(), QStringLiteral("-10"));
        QCOMPARE(Ed("EdVar")->text(), QStringLiteral("x"));
        QCOMPARE(Ed("EdVar")->maxLength(), 1);
        QCOMPARE(Ed("EdMax")->text(), QStringLiteral("10"));
        QCOMPARE(Ed("EdStep")->text(), QStringLiteral("1"));
        QVERIFY(Child<QWidget>("PanelDiapazon")->isVisible());
        QCOMPARE(Grid()->columnCount(), 2);
        QCOMPARE(Grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(Grid()->verticalHeader()->defaultSectionSize(), 18);
        QCOMPARE(Grid()->columnWidth(0), form->width() / 2 - 15);
        QCOMPARE(Grid()->columnWidth(1), form->width() / 2 - 15);
        // The grid is docked along the bottom, below every other control.
        QVERIFY(Grid()->geometry().top() > Child<QPushButton>("BBtnOK")->geometry().bottom());
    }

    void comboHasTheFocusWhenShown() {
        form->hide();
        Ed("EdMin")->setFocus();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->focusWidget(), static_cast<QWidget*>(form->CBoxFunction));
    }

    void pointModeHidesTheIntervalPanelAndRenamesTheStart() {
        ChooseMode(true);
        QVERIFY(form->PointMode());
        QVERIFY(!Child<QWidget>("PanelDiapazon")->isVisible());
        QCOMPARE(Child<QLabel>("LbMin")->text(), QStringLiteral("Значение точки"));
        ChooseMode(false);
        QVERIFY(Child<QWidget>("PanelDiapazon")->isVisible());
        QCOMPARE(Child<QLabel>("LbMin")->text(), QStringLiteral("Минимальное значение"));
    }

    void listOffersTheGraphsFormulasAndKeepsTheText() {
        const std::pair<int, const char*> graphs[] = {
            {KindYofX, "x^2"}, {KindSurface, "x*y"}, {KindParametric, "cos(u)"}, {KindPolar, "q"}};
        for (const auto& [kind, formula] : graphs) {
            TGraphic g;
            g.Kind = static_cast<std::uint8_t>(kind);
            g.Formula = formula;
            if (kind == KindParametric)
                g.Formula2 = "sin(u)";
            ctx->Document.Add(std::move(g));
        }
        form->CBoxFunction->addItem(QStringLiteral("stale"));
        form->CBoxFunction->setEditText(QStringLiteral("2x+1"));
        form->FillFormulaList();
        QStringList items;
        for (int i = 0; i < form->CBoxFunction->count(); ++i)
            items << form->CBoxFunction->itemText(i);
        QCOMPARE(items, (QStringList{"x^2", "cos(u)", "sin(u)", "q"}));
        QCOMPARE(form->CBoxFunction->currentText(), QStringLiteral("2x+1"));
    }

    void intervalFillsTheGrid() {
        Type(QStringLiteral("x^2"), QStringLiteral("-2"), QStringLiteral("2"));
        form->BBtnOKClick();
        QVERIFY(Shown().isEmpty());
        QCOMPARE(Cell(-1, 0), QStringLiteral("x"));
        QCOMPARE(Cell(-1, 1), QStringLiteral("f(x)"));
        QCOMPARE(Column(0), (QStringList{"-2", "-1", "0", "1", "2"}));
        QCOMPARE(Column(1), (QStringList{"4,0000000000", "1,0000000000", "0,0000000000",
                                         "1,0000000000", "4,0000000000"}));
    }

    void intervalOfATenthReachesItsEndInTheGrid() {
        Type(QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("500"),
             QStringLiteral("0,1"));
        form->BBtnOKClick();
        QCOMPARE(Grid()->rowCount(), 5001);
        QCOMPARE(Cell(5000, 0), QStringLiteral("500,0"));
        QCOMPARE(Cell(5000, 1), QStringLiteral("500,0000000000"));
    }

    void numbersAreGroupedWithTheLocalesSeparator() {
        Type(QStringLiteral("x*1000"), QStringLiteral("1000"), QStringLiteral("1001"));
        form->BBtnOKClick();
        QCOMPARE(Column(0), (QStringList{"1 000", "1 001"}));
        QCOMPARE(Cell(1, 1), QStringLiteral("1 001 000,0000000000"));
    }

    void refusal_data() {
        QTest::addColumn<bool>("point");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focused");
        QTest::newRow("empty formula") << false << "  "
                                       << "0"
                                       << "1"
                                       << "1"
                                       << "x"
                                       << "warning"
                                       << "Пустое выражение!"
                                       << "CBoxFunction";
        QTest::newRow("empty name")
            << false << "x"
            << "0"
            << "1"
            << "1"
            << " "
            << "warning"
            << "Имя переменной не должно быть пустым значением!\n\rЭто должна быть буква "
               "латинского алфавита."
            << "EdVar";
        QTest::newRow("name not Latin") << false << "x"
                                        << "0"
                                        << "1"
                                        << "1"
                                        << "1"
                                        << "warning"
                                        << "Имя переменной должно\n\rбыть буквой латинского "
                                           "алфавита!"
                                        << "EdVar";
        QTest::newRow("start not a number") << false << "x"
                                            << "a"
                                            << "1"
                                            << "1"
                                            << "x"
                                            << "error"
                                            << "Поле \"Минимальное значение\":\n\r'a' не является "
                                               "числом!"
                                            << "EdMin";
        QTest::newRow("end beyond range")
            << false << "x"
            << "0"
            << "200000"
            << "1"
            << "x"
            << "error"
            << "Поле \"Максимальное значение\":\n\rЧисло '200000' не лежит в промежутке\n\rот "
               "-100000  до 100000 !"
            << "EdMax";
        QTest::newRow("end not above start")
            << false << "x"
            << "1"
            << "1"
            << "1"
            << "x"
            << "error"
            << "Максимальное значение должно быть\n\rбольше минимального значения!"
            << "EdMax";
        QTest::newRow("step zero")
            << false << "x"
            << "0"
            << "1"
            << "0"
            << "x"
            << "error"
            << "Поле \"Шаг\":\n\rЧисло '0' не лежит в промежутке\n\rот 0,0000000001  до 100000 !"
            << "EdStep";
        QTest::newRow("too many steps") << false << "x"
                                        << "0"
                                        << "5000"
                                        << "0,5"
                                        << "x"
                                        << "warning"
                                        << "Слишком много шагов\n\rдля вычисления ( > 5000)!"
                                        << "EdStep";
        QTest::newRow("syntax error") << false << "x+"
                                      << "0"
                                      << "1"
                                      << "1"
                                      << "x"
                                      << "error"
                                      << "Ошибка в выражении!"
                                      << "CBoxFunction";
        QTest::newRow("point not a number") << true << "x"
                                            << "-"
                                            << ""
                                            << ""
                                            << "x"
                                            << "error"
                                            << "Поле \"Значение точки\":\n\r'-' не является числом!"
                                            << "EdMin";
    }
    // Each refusal: its box with the hourglass showing, the focus on its input (a number
    // selected for retyping), the previous table untouched, and the default cursor afterwards.
    void refusal() {
        QFETCH(bool, point);
        QFETCH(QString, formula);
        QFETCH(QString, min);
        QFETCH(QString, max);
        QFETCH(QString, step);
        QFETCH(QString, variable);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(QString, focused);
        Type(QStringLiteral("x+1"), QStringLiteral("0"), QStringLiteral("1"));
        form->BBtnOKClick();
        QCOMPARE(Column(1), (QStringList{"1,0000000000", "2,0000000000"}));

        ChooseMode(point);
        Type(formula, min, max, step, variable);
        TCursorLog cursors(form.get());
        form->BBtnOKClick();
        QCOMPARE(Shown().size(), 1);
        QCOMPARE(Shown()[0].Kind, kind);
        QCOMPARE(Shown()[0].Caption, QStringLiteral("Ошибка"));
        QCOMPARE(Shown()[0].Text, message);
        QCOMPARE(services->CursorAtBox, QList<Qt::CursorShape>{Qt::WaitCursor});
        QCOMPARE(cursors.Shapes, (QList<Qt::CursorShape>{Qt::WaitCursor, Qt::ArrowCursor}));
        QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(form->focusWidget());
        QCOMPARE(form->focusWidget()->objectName(), focused);
        if (auto* edit = qobject_cast<QLineEdit*>(form->focusWidget()))
            QCOMPARE(edit->selectedText(), edit->text());
        QCOMPARE(Column(0), (QStringList{"0", "1"}));
        QCOMPARE(Column(1), (QStringList{"1,0000000000", "2,0000000000"}));
    }

    void hourglassAlsoWhenTheTableIsMade() {
        Type(QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("1"));
        TCursorLog cursors(form.get());
        form->BBtnOKClick();
        QVERIFY(Shown().isEmpty());
        QCOMPARE(cursors.Shapes, (QList<Qt::CursorShape>{Qt::WaitCursor, Qt::ArrowCursor}));
        QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
    }

    // The old design left the previous row 1 under the new header, as if it were the answer.
    void pointWithASyntaxErrorLeavesTheNewHeaderWithoutARow() {
        Type(QStringLiteral("x+1"), QStringLiteral("0"), QStringLiteral("1"));
        form->BBtnOKClick();
        ChooseMode(true);
        Type(QStringLiteral("t^"), QStringLiteral("2"), {}, {}, QStringLiteral("t"));
        form->BBtnOKClick();
        QCOMPARE(Shown().size(), 1);
        QCOMPARE(Shown()[0].Text, QStringLiteral("Ошибка в выражении!"));
        QCOMPARE(form->focusWidget(), static_cast<QWidget*>(form->CBoxFunction));
        QCOMPARE(Cell(-1, 0), QStringLiteral("t"));
        QCOMPARE(Cell(-1, 1), QStringLiteral("f(t)"));
        QCOMPARE(Grid()->rowCount(), 0);
    }

    void pointModeShowsOneRow() {
        ChooseMode(true);
        Type(QStringLiteral("1/x"), QStringLiteral("0"));
        form->BBtnOKClick();
        QVERIFY(Shown().isEmpty());
        QCOMPARE(Grid()->rowCount(), 1);
        QCOMPARE(Cell(0, 0), QStringLiteral("0"));
        QCOMPARE(Cell(0, 1), QStringLiteral("НЕ существует"));
    }

    void typedTextsAreTrimmedAndTheNameLowered() {
        Type(QStringLiteral("  T*2  "), QStringLiteral("1"), QStringLiteral("2"),
             QStringLiteral("1"), QStringLiteral("T"));
        form->BBtnOKClick();
        QVERIFY(Shown().isEmpty());
        QCOMPARE(form->CBoxFunction->currentText(), QStringLiteral("T*2"));
        QCOMPARE(Ed("EdVar")->text(), QStringLiteral("t"));
        QCOMPARE(Cell(-1, 1), QStringLiteral("f(t)"));
        QCOMPARE(Column(1), (QStringList{"2,0000000000", "4,0000000000"}));
    }

    // The numbers are typed as expressions, which reach the table as their values.
    void keysAreFilteredByField() {
        for (const char* name : {"EdMin", "EdMax", "EdStep", "EdVar"})
            Ed(name)->clear();
        form->CBoxFunction->setEditText(QStringLiteral("x^2"));
        QTest::keyClicks(Ed("EdMin"), QStringLiteral("-sqrt(4)@"));
        QCOMPARE(Ed("EdMin")->text(), QStringLiteral("-sqrt(4)"));
        QTest::keyClicks(Ed("EdMax"), QStringLiteral("4:2#"));
        QCOMPARE(Ed("EdMax")->text(), QStringLiteral("4:2"));
        QTest::keyClicks(Ed("EdStep"), QStringLiteral("2^(-1);"));
        QCOMPARE(Ed("EdStep")->text(), QStringLiteral("2^(-1)"));
        QTest::keyClicks(Ed("EdVar"), QStringLiteral("1"));
        QCOMPARE(Ed("EdVar")->text(), QString());
        QTest::keyClicks(Ed("EdVar"), QStringLiteral("T"));
        QCOMPARE(Ed("EdVar")->text(), QStringLiteral("T"));
        QTest::keyClick(Ed("EdVar"), Qt::Key_Backspace);
        QCOMPARE(Ed("EdVar")->text(), QString());
        QTest::keyClicks(Ed("EdVar"), QStringLiteral("x"));
        form->BBtnOKClick();
        QVERIFY(Shown().isEmpty());
        QCOMPARE(Column(0),
                 (QStringList{"-2,0", "-1,5", "-1,0", "-0,5", "0,0", "0,5", "1,0", "1,5", "2,0"}));
    }

    void gridDropsTypedKeys() {
        Type(QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("1"));
        form->BBtnOKClick();
        Grid()->setCurrentCell(0, 1);
        QTest::keyClicks(Grid(), QStringLiteral("99"));
        QTest::keyClick(Grid(), Qt::Key_F2);
        QTest::keyClicks(Grid(), QStringLiteral("7"));
        QCOMPARE(Column(1), (QStringList{"0,0000000000", "1,0000000000"}));
    }

    void hintsShowTheWholeText() {
        form->CBoxFunction->setEditText(QStringLiteral("sin(x)+cos(x)"));
        QCOMPARE(form->CBoxFunction->toolTip(), QStringLiteral("sin(x)+cos(x)"));
        for (const char* name : {"EdMin", "EdMax", "EdStep", "EdVar"}) {
            Ed(name)->setText(QStringLiteral("5"));
            QCOMPARE(Ed(name)->toolTip(), QStringLiteral("5"));
        }
    }

    // ---- saving ---------------------------------------------------------------------------------

    void savedFileHoldsTheGridAsShown() {
        Type(QStringLiteral("1/x"), QStringLiteral("-1"), QStringLiteral("1"));
        form->BBtnOKClick();
        const QString chosen = dir->filePath(QStringLiteral("table"));
        SaveAs(chosen);
        QVERIFY(Shown().isEmpty());
        QCOMPARE(services->Fake.SaveDialogs.size(), 1);
        QCOMPARE(services->Fake.SaveDialogs[0].Title,
                 QStringLiteral("Сохранить таблицу значений функции"));
        QCOMPARE(services->Fake.SaveDialogs[0].Filter,
                 QStringLiteral("Текстовые файлы (*.txt)|*.txt|Любые файлы (*.*)|*.*"));
        QCOMPARE(services->Fake.SaveDialogs[0].Folder, UserDocumentsFolder());
        QByteArray bytes;
        QCOMPARE(SavedLines(chosen + QStringLiteral(".txt"), &bytes),
                 (QStringList{"f(x) = 1/x", "", "x\t\tf(x)", "-1\t\t-1,0000000000",
                              "0\t\tНЕ существует", "1\t\t1,0000000000"}));
        // Windows-1251 with CR LF: "НЕ" is the two bytes CD C5.
        QVERIFY(bytes.contains("0\t\t\xCD\xC5 "));
        QVERIFY(bytes.endsWith("1,0000000000\r\n"));
        QCOMPARE(bytes.count("\r\n"), 6);
    }

    void textFilterAddsAMissingExtensionAndAnyFileKeepsTheName() {
        Type(QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("1"));
        form->BBtnOKClick();
        SaveAs(dir->filePath(QStringLiteral("a.txt")), 0);
        QVERIFY(QFile::exists(dir->filePath(QStringLiteral("a.txt"))));
        QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("a.txt.txt"))));
        SaveAs(dir->filePath(QStringLiteral("b.tab")), 1);
        QVERIFY(QFile::exists(dir->filePath(QStringLiteral("b.tab"))));
        QVERIFY(Shown().isEmpty());
        // An existing file is replaced only when the user says so.
        services->Fake.Answers = {TAnswer::No};
        SaveAs(dir->filePath(QStringLiteral("a")),
               0); // a.txt exists; No, then the dialog is cancelled
        QCOMPARE(Shown().size(), 1);
        QCOMPARE(services->Fake.SaveDialogs.size(), 4);
        QCOMPARE(services->Fake.SaveDialogs.last().FileName, QStringLiteral("a.txt"));
    }

    void cancelledSaveWritesNothing() {
        form->BBtnSaveClick();
        QCOMPARE(services->Fake.SaveDialogs.size(), 1);
        QVERIFY(Shown().isEmpty());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files).size(), 0);
    }

    void failedSaveSaysSo() {
        Type(QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("1"));
        form->BBtnOKClick();
        // A folder that does not exist: running as root, permissions would not stop the write.
        SaveAs(dir->filePath(QStringLiteral("missing/table")));
        QCOMPARE(Shown().size(), 1);
        QCOMPARE(Shown()[0].Kind, QStringLiteral("error"));
        QCOMPARE(Shown()[0].Caption, QStringLiteral("Ошибка"));
        QCOMPARE(Shown()[0].Text, QStringLiteral("Не удаётся сохранить\n\rтаблицу значений функции!"
                                                 "\n\rНет такого файла или папки"));
    }

    // A save over an earlier table on a disk that fails at each call up to the rename, with each
    // error the call meets: the earlier file stays whole, the box says so, and the grid keeps the
    // new table.
    void everyFailingStepOfTheSaveKeepsThePreviousFile() {
        Type(QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("1"));
        form->BBtnOKClick();
        const QString path = dir->filePath(QStringLiteral("table.txt"));
        SaveAs(path);
        QByteArray previous;
        SavedLines(path, &previous);
        Type(QStringLiteral("x^2"), QStringLiteral("0"), QStringLiteral("3"));
        form->BBtnOKClick();
        const QStringList grid = Column(1);
        TFaultyFileCalls probe;
        ctx->Disk = &probe;
        services->Fake.Answers = {TAnswer::Yes};
        SaveAs(path);
        QCOMPARE(Shown().size(), 1); // the replace question alone
        QByteArray replaced;
        SavedLines(path, &replaced);
        QVERIFY(replaced != previous);
        const auto rename = std::find(probe.Steps.begin(), probe.Steps.end(), TFileStep::Rename);
        QVERIFY(rename != probe.Steps.end());
        int interrupted = 0;
        for (auto step = probe.Steps.begin(); step <= rename; ++step) {
            for (const int error : ErrorsOf(*step)) {
                {
                    QFile file(path);
                    QVERIFY(file.open(QIODevice::WriteOnly) &&
                            file.write(previous) == previous.size());
                }
                TFaultyFileCalls disk;
                disk.FailAt = static_cast<int>(step - probe.Steps.begin());
                disk.Error = error;
                ctx->Disk = &disk;
                services->Fake.Shown.clear();
                services->Fake.Answers = {TAnswer::Yes};
                SaveAs(path);
                const QByteArray what =
                    QByteArray(StepName(*step)) + " failing with " + std::strerror(error);
                QVERIFY2(Shown().size() == 2, what.constData());
                QCOMPARE(Shown()[1].Kind, QStringLiteral("error"));
                QCOMPARE(Shown()[1].Text,
                         QStringLiteral("Не удаётся сохранить\n\rтаблицу значений функции!\n\r") +
                             QString::fromStdString(SystemErrorText(error)));
                QByteArray now;
                SavedLines(path, &now);
                QVERIFY2(now == previous, what.constData());
                QCOMPARE(QDir(dir->path()).entryList(QDir::Files).size(), 1);
                QCOMPARE(Column(1), grid);
                ++interrupted;
            }
        }
        QVERIFY(interrupted >= 10);
    }

    void firstLineNamesTheTabulatedFormulaNotTheEditedCombo() {
        Type(QStringLiteral("x^2"), QStringLiteral("0"), QStringLiteral("1"));
        form->BBtnOKClick();
        form->CBoxFunction->setEditText(QStringLiteral("sin(x)"));
        const QString path = dir->filePath(QStringLiteral("edited"));
        SaveAs(path);
        QCOMPARE(SavedLines(path + QStringLiteral(".txt")).value(0), QStringLiteral("f(x) = x^2"));
    }

    void smallStepKeepsItsDecimalsInTheFile() {
        Type(QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("0,0001"),
             QStringLiteral("0,00005"));
        form->BBtnOKClick();
        const QString path = dir->filePath(QStringLiteral("small"));
        SaveAs(path);
        QCOMPARE(SavedLines(path + QStringLiteral(".txt")).mid(3),
                 (QStringList{"0,00000\t\t0,0000000000", "0,00005\t\t0,0000500000",
                              "0,00010\t\t0,0001000000"}));
    }

    void saveBeforeAnyTableWritesTheEmptyCells() {
        form->CBoxFunction->setEditText(QStringLiteral("sin(x)"));
        const QString path = dir->filePath(QStringLiteral("empty"));
        SaveAs(path);
        QCOMPARE(SavedLines(path + QStringLiteral(".txt")),
                 (QStringList{" = sin(x)", "", "\t\t", "\t\t"}));
    }
};

QTEST_MAIN(TstFormTableValues)
#include "tst_form_table_values.moc"

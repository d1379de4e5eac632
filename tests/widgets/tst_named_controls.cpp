// The controls the dialogs make in one call: each carries its object name, its text and the
// settings every dialog relies on, and the UTF-8 texts of the plain C++ code arrive intact.

#include "widgets/named_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>

#include <string>

class TstNamedControls : public QObject {
    Q_OBJECT
private slots:
    void utf8TextsKeepEveryCharacter() {
        QCOMPARE(FromUtf8("Ошибка"), QStringLiteral("Ошибка"));
        QCOMPARE(FromUtf8(std::string("x²+1")), QStringLiteral("x²+1"));
        QVERIFY(FromUtf8("").isEmpty());
        // The length is taken from the view, not from a terminating zero.
        const char withZero[] = {'a', '\0', 'b'};
        QCOMPARE(FromUtf8(std::string_view(withZero, 3)).size(), 3);
        QCOMPARE(FromUtf8(std::string_view("abc", 2)), QStringLiteral("ab"));
    }

    void controlsAreNamedAndOwnedByTheirParent() {
        QWidget parent;
        QLineEdit* edit = NamedEdit(&parent, "EdMinX", QStringLiteral("-10"));
        QLabel* label = NamedLabel(&parent, "LbMin", QStringLiteral("Минимум"));
        QPushButton* button = NamedButton(&parent, "BBtnOK", QStringLiteral("OK"));
        QCheckBox* box = NamedCheckBox(&parent, "ChBoxLines", QStringLiteral("линии"));
        QCOMPARE(parent.findChild<QLineEdit*>(QStringLiteral("EdMinX")), edit);
        QCOMPARE(parent.findChild<QLabel*>(QStringLiteral("LbMin")), label);
        QCOMPARE(parent.findChild<QPushButton*>(QStringLiteral("BBtnOK")), button);
        QCOMPARE(parent.findChild<QCheckBox*>(QStringLiteral("ChBoxLines")), box);
        QCOMPARE(edit->text(), QStringLiteral("-10"));
        QCOMPARE(label->text(), QStringLiteral("Минимум"));
        QCOMPARE(button->text(), QStringLiteral("OK"));
        QCOMPARE(box->text(), QStringLiteral("линии"));

        QObject plain;
        SetName(&plain, "TimerBackDrop");
        QCOMPARE(plain.objectName(), QStringLiteral("TimerBackDrop"));
    }

    void editWithoutTextIsEmpty() {
        QWidget parent;
        QVERIFY(NamedEdit(&parent, "EdStepMesh")->text().isEmpty());
    }

    void buttonsAreNeverTheAutomaticDefault() {
        QWidget parent;
        QPushButton* plain = NamedButton(&parent, "BBtnCancel", QStringLiteral("Отмена"));
        QVERIFY(!plain->autoDefault());
        QVERIFY(!plain->isDefault());
        QVERIFY(plain->toolTip().isEmpty());
        QPushButton* hinted = NamedButton(&parent, "BBtnLoad", QStringLiteral("Загрузить"),
                                          QStringLiteral("Загрузить файл таблицы"));
        QVERIFY(!hinted->autoDefault());
        QCOMPARE(hinted->toolTip(), QStringLiteral("Загрузить файл таблицы"));
    }

    void checkBoxesStartAsAsked() {
        QWidget parent;
        QVERIFY(!NamedCheckBox(&parent, "ChBAxisX", QStringLiteral("Ось OX"))->isChecked());
        QVERIFY(
            !NamedCheckBox(&parent, "ChBoxPoints", QStringLiteral("точки"), false)->isChecked());
        QVERIFY(NamedCheckBox(&parent, "ChBoxLines", QStringLiteral("линии"), true)->isChecked());
    }

    void fixedDialogsAreModalWithoutAHelpButton() {
        QDialog dialog;
        PrepareFixedDialog(&dialog, "FormOther", QStringLiteral("Касательная / нормаль"));
        QCOMPARE(dialog.objectName(), QStringLiteral("FormOther"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Касательная / нормаль"));
        QVERIFY(dialog.isModal());
        QVERIFY(dialog.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint));
        QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    }

    // What the user types stays as typed, however much of a listed text it is the start of;
    // Enter and Tab leave it as it is.
    void editableComboKeepsWhatIsTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("leaveBy");
        QTest::addColumn<QString>("text");
        QTest::newRow("start of an entry, Enter") << "x^2" << int(Qt::Key_Return) << "x^2";
        QTest::newRow("one letter, Tab") << "x" << int(Qt::Key_Tab) << "x";
        QTest::newRow("other letter case, Enter") << "SIN(x)" << int(Qt::Key_Return) << "SIN(x)";
    }
    void editableComboKeepsWhatIsTyped() {
        QFETCH(QString, typed);
        QFETCH(int, leaveBy);
        QFETCH(QString, text);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        QComboBox* box = NamedEditableCombo(&window, "CBoxFunction");
        layout->addWidget(box);
        layout->addWidget(NamedEdit(&window, "EdVar"));
        box->addItems(
            {QStringLiteral("sin(x)"), QStringLiteral("x^2/4-3"), QStringLiteral("2*cos(x)")});
        box->setEditText(QString());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, static_cast<Qt::Key>(leaveBy));
        QCOMPARE(box->currentText(), text);
        QCOMPARE(box->count(), 3); // nothing typed joins the list
        // Picking an entry is what replaces the text.
        box->setCurrentIndex(1);
        QCOMPARE(box->currentText(), QStringLiteral("x^2/4-3"));
    }

    void buttonRowPutsTheButtonsAtTheRightInOrder() {
        QWidget parent;
        QPushButton* ok = NamedButton(&parent, "BBtnOK", QStringLiteral("OK"));
        QPushButton* cancel = NamedButton(&parent, "BBtnCancel", QStringLiteral("Отмена"));
        auto* row = ButtonRow({ok, cancel});
        parent.setLayout(row);
        QCOMPARE(row->count(), 3);
        QVERIFY(row->itemAt(0)->spacerItem() != nullptr);
        QCOMPARE(row->itemAt(1)->widget(), ok);
        QCOMPARE(row->itemAt(2)->widget(), cancel);
    }

    void okCancelRowHasTheDefaultOkAndACancelThatRejects() {
        QDialog dialog;
        QPushButton* ok = nullptr;
        QPushButton* cancel = nullptr;
        auto* row = OkCancelRow(&dialog, ok, cancel);
        dialog.setLayout(row);
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("BBtnOK")), ok);
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("BBtnCancel")), cancel);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(cancel->text(), QStringLiteral("Отмена"));
        QVERIFY(ok->isDefault());
        QVERIFY(!cancel->isDefault() && !cancel->autoDefault());
        QCOMPARE(row->itemAt(1)->widget(), ok);
        QCOMPARE(row->itemAt(2)->widget(), cancel);
        // OK does what its dialog connects; Cancel closes the dialog, rejected.
        dialog.show();
        dialog.setResult(QDialog::Accepted);
        ok->click();
        QVERIFY(dialog.isVisible());
        cancel->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TstNamedControls)
#include "tst_named_controls.moc"

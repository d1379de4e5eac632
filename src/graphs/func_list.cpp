#include "graphs/func_list.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

const QStringList TFuncList::FixedItems = {
    QStringLiteral("sin"),    QStringLiteral("cos"),    QStringLiteral("ln"),
    QStringLiteral("tg"),     QStringLiteral("ctg"),    QStringLiteral("sqrt"),
    QStringLiteral("arcsin"), QStringLiteral("arccos"), QStringLiteral("arctg"),
    QStringLiteral("arcctg"), QStringLiteral("sec"),    QStringLiteral("csc"),
    QStringLiteral("abs"),    QStringLiteral("lg"),     QStringLiteral("exp"),
    QStringLiteral("(  )"),   QStringLiteral("^"),      QStringLiteral("/"),
    QStringLiteral("*"),      QStringLiteral("-"),      QStringLiteral("+")};

TFuncList::TFuncList(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ListBox1(new QListWidget(this)),
      Label1(new QLabel(QStringLiteral("Esc - выход"), this)),
      Button1(new QPushButton(QStringLiteral("Закрыть"), this)) {
    setObjectName(QStringLiteral("FuncList"));
    setWindowTitle(QStringLiteral("Список функций"));
    setModal(true);

    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(16);
    ListBox1->setFont(font);
    QPalette palette = ListBox1->palette();
    palette.setColor(QPalette::Text, Qt::blue);
    ListBox1->setPalette(palette);
    ListBox1->addItems(FixedItems);
    ListBox1->setCurrentRow(0);
    // The window sees the keys before its controls: the wrap-around, Enter and Esc work the same
    // whether the list or the button has the focus.
    ListBox1->installEventFilter(this);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { InsertSelected(); });

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setStyleSheet(QStringLiteral("color: gray"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button1->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label1);
    bottom->addStretch();
    bottom->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->addWidget(ListBox1);
    layout->addLayout(bottom);
    setFixedSize(180, 300);
}

void TFuncList::SetTarget(QLineEdit* target, const QStringList& variables) {
    Target = target;
    while (ListBox1->count() > FixedItems.size())
        delete ListBox1->takeItem(ListBox1->count() - 1);
    ListBox1->addItems(variables);
    if (ListBox1->currentRow() < 0)
        ListBox1->setCurrentRow(0);
}

void TFuncList::InsertSelected() {
    const int row = ListBox1->currentRow();
    if (row < 0 || !Target) {
        reject();
        return;
    }
    QString text = ListBox1->item(row)->text();
    const bool function = row < FunctionCount;
    if (function)
        text += QStringLiteral("(  )");
    // The entry travels through the clipboard, as a paste would; the edit's selection is replaced.
    QApplication::clipboard()->setText(text);
    Target->insert(text);
    if (function)
        Target->setCursorPosition(Target->cursorPosition() - 2);
    Target->setFocus();
    accept();
}

bool TFuncList::eventFilter(QObject* watched, QEvent* event) {
    if ((watched != ListBox1 && watched != Button1) || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int row = ListBox1->currentRow();
    const int last = ListBox1->count() - 1;
    const bool keypad = key->modifiers() & Qt::KeypadModifier;
    const bool up = key->key() == Qt::Key_Up || (keypad && key->key() == Qt::Key_8);
    const bool down = key->key() == Qt::Key_Down || (keypad && key->key() == Qt::Key_2);
    switch (key->key()) {
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        InsertSelected();
        return true;
    default:
        break;
    }
    if (up) {
        ListBox1->setCurrentRow(row <= 0 ? last : row - 1);
        return true;
    }
    if (down) {
        ListBox1->setCurrentRow(row >= last ? 0 : row + 1);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

#include "widgets/named_controls.h"

#include "widgets/window_helpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SetName(QObject* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
}

QLineEdit* NamedEdit(QWidget* parent, const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    SetName(edit, name);
    return edit;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    SetName(label, name);
    return label;
}

QPushButton* NamedButton(QWidget* parent, const char* name, const QString& caption,
                         const QString& hint) {
    auto* button = new QPushButton(caption, parent);
    SetName(button, name);
    if (!hint.isEmpty())
        button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* NamedCheckBox(QWidget* parent, const char* name, const QString& caption, bool checked) {
    auto* box = new QCheckBox(caption, parent);
    SetName(box, name);
    box->setChecked(checked);
    return box;
}

void PrepareFixedDialog(QDialog* dialog, const char* name, const QString& title) {
    SetName(dialog, name);
    dialog->setWindowTitle(title);
    dialog->setModal(true);
    dialog->setWindowFlags(FixedDialogFlags());
}

QComboBox* NamedEditableCombo(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    SetName(box, name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // The completer that an editable box gets would finish the typed text from the list (typed
    // "x" becomes "x^2/4-3") and Enter or Tab would keep the finished text.
    box->setCompleter(nullptr);
    return box;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

QHBoxLayout* OkCancelRow(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel) {
    ok = NamedButton(dialog, "BBtnOK", QStringLiteral("OK"));
    ok->setDefault(true);
    cancel = NamedButton(dialog, "BBtnCancel", QStringLiteral("Отмена"));
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return ButtonRow({ok, cancel});
}

#pragma once
// The dialogs' controls made in one call, each with the object name that tests and the keyboard
// code find it by, and the UTF-8 conversion of the texts the plain C++ code hands them.

#include <QString>

#include <initializer_list>
#include <string_view>

class QCheckBox;
class QComboBox;
class QDialog;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QWidget;

/// A UTF-8 text (the formula engine's and the files' strings) as Qt's string.
QString FromUtf8(std::string_view text);

/// Gives `object` its object name, written in Latin-1 as every control name is.
void SetName(QObject* object, const char* name);

/// A line edit owned by `parent`, holding `text`.
QLineEdit* NamedEdit(QWidget* parent, const char* name, const QString& text = QString());
/// A label owned by `parent`.
QLabel* NamedLabel(QWidget* parent, const char* name, const QString& caption);
/// A push button owned by `parent` with the hint `hint` (none when empty). It is never the
/// automatic default: only OK answers the Enter key, whichever button had the focus last.
QPushButton* NamedButton(QWidget* parent, const char* name, const QString& caption,
                         const QString& hint = QString());
/// A check box owned by `parent`, ticked when `checked`.
QCheckBox* NamedCheckBox(QWidget* parent, const char* name, const QString& caption,
                         bool checked = false);

/// An editable combo box owned by `parent` whose text is what the user typed: its list offers
/// texts, and picking one is the only way the list replaces the text (nothing is completed from
/// the list, and typed texts are not added to it). Every editable combo box is made here; a new
/// line edit given to it later would bring a completer back.
QComboBox* NamedEditableCombo(QWidget* parent, const char* name);

/// A modal dialog of fixed size, named `name`, with the caption `title`: its title bar has a
/// close button and nothing else (no help, maximise or minimise button).
void PrepareFixedDialog(QDialog* dialog, const char* name, const QString& title);

/// The dialog buttons' row: the buttons at the right end, in the given order.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);
/// A dialog's "OK" (`ok`, named BBtnOK, the default button) and "Отмена" (`cancel`, named
/// BBtnCancel, which rejects the dialog) in their row. OK's handler is the caller's to connect.
QHBoxLayout* OkCancelRow(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel);

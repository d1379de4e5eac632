#pragma once
// The pick list of functions, operators and variables that helps typing a formula: the chosen
// entry goes into the formula edit it was opened from, a function with its parentheses and the
// caret between them.

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class TFuncList : public QDialog {
    Q_OBJECT
public:
    /// The fixed entries before the variables; the first `FunctionCount` are functions.
    static const QStringList FixedItems;
    static constexpr int FunctionCount = 15;

    explicit TFuncList(QWidget* parent = nullptr);

    /// Makes `target` the edit to insert into and puts `variables` after the fixed entries,
    /// replacing the variables of the previous opening.
    void SetTarget(QLineEdit* target, const QStringList& variables);
    /// Inserts the selected entry into the target edit and closes the list.
    void InsertSelected();

    QListWidget* ListBox1;
    QLabel* Label1;
    QPushButton* Button1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* Target = nullptr;
};

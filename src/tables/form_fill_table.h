#pragma once
// "Автозаполнение таблицы": fills a stretch of one column of the table dialog's grid with an
// arithmetic or a geometric progression. The cells are checked later, when the table is used.

#include <QDialog>

#include <functional>

struct TAppContext;
class TTableGrid;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TFormFillTable : public QDialog {
    Q_OBJECT
public:
    TFormFillTable(TAppContext& ctx, TTableGrid& grid, QWidget* parent = nullptr);

    /// What the table dialog does before each showing: the first row "1", the last row `rows`.
    void SetRowRange(int rows);

    /// OK: the row numbers, their order, the first value and the step are checked in that order
    /// (a failure names its field and gives it the focus); then the column is filled and the
    /// dialog closes.
    void BBtnOKClick();

    /// Called after the grid was filled.
    std::function<void()> GridFilled;

    QGroupBox* RGrXYZ;
    QButtonGroup* AxisGroup; ///< 0 X, 1 Y, 2 Z
    QGroupBox* RGrProgression;
    QButtonGroup* ProgressionGroup; ///< 0 arithmetic, 1 geometric
    QLineEdit* EdFirstCell;
    QLineEdit* EdLastCell;
    QLineEdit* EdFirstValue;
    QLineEdit* EdStep;
    QPushButton* BBtnOK;
    QPushButton* BBtnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();

    TAppContext& Ctx;
    TTableGrid& Grid;
};

#pragma once
// "Табличное задание функции": the dialog that holds the grid of a table graph. It creates a new
// table graph or rewrites the one being edited, and offers the table's tools: the row count,
// clearing, the two sorts, the fill, the statistics, and saving and loading the table file.

#include "settings/color.h"
#include "tables/table_grid.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

struct TAppContext;
struct TCellProblem;
class TColorBox;
class TFormFillTable;
class TFormTableInformation;
class TLineWidthBox;
class TTableGridModel;
class TTableGridView;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TFormGraphicTable : public QDialog {
    Q_OBJECT
public:
    explicit TFormGraphicTable(TAppContext& ctx, QWidget* parent = nullptr);
    ~TFormGraphicTable() override;

    /// The add command: refuses with the error box when the document is full (returns false);
    /// otherwise empties every row, shows one row of "0", lines of width 1 without points or
    /// gradation, proposes the colour of the next graph and sets `EditMode` 0. The caller then
    /// runs `exec()`.
    bool PrepareForNewGraph();
    /// The edit command for the table graph at list position `index`: its colour, rows, style and
    /// gradation, and `EditMode` 1. Returns false (nothing changes) for a formula graph or a
    /// position outside the list, and after an error box for a table longer than the grid.
    bool PrepareForEdit(int index);

    // The buttons' commands.
    void BBtnOKClick();
    void BBtnApplyClick();
    void BBtnClearAllClick();
    void BBtnFillTableClick();
    void BBtnInformationClick();
    void BBtnSaveClick();
    void BBtnLoadClick();
    /// "Сортировать": by the column chosen in "Сортировка", in the chosen order.
    void Button1Click();
    /// "X, Y" (`BitBtn1`): by X, then by Y within runs of equal X.
    void BitBtn1Click();

    /// `Modify_Number`: the shown cells normalised, empty ones "0".
    void Modify_Number();
    /// `Cells_Is_Numbers`, despite its name, returns true when a cell is NOT a number it takes.
    /// Then the cell's message was shown and the grid has the focus on it. The points of the shown
    /// rows go to `points` when every cell passed.
    bool Cells_Is_Numbers(std::vector<TPoint3D>& points);

    TTableGrid& Grid();
    TTableGridModel* Model() const { return GridModel; }
    TFormFillTable* FillTable() const { return FormFillTable; }
    TFormTableInformation* TableInformation() const { return FormTableInformation; }
    /// The list position being edited, or -1 for a new graph.
    int EditIndex() const { return EditPosition; }

    /// Asked for a colour when the colour box's custom entry is chosen; no value means the user
    /// cancelled. Opens the desktop's colour chooser unless replaced.
    std::function<std::optional<TColor>(TColor current)> ChooseCustomColor;

    TTableGridView* SGridGraphicTable;
    QPushButton* BBtnFillTable;
    QPushButton* BBtnClearAll;
    QPushButton* BBtnInformation;
    QPushButton* BBtnLoad;
    QPushButton* BBtnSave;
    QGroupBox* GrBRows;
    QLineEdit* EdRows;
    QPushButton* BBtnApply;
    TColorBox* ColorBoxGraphic;
    QGroupBox* GrBBuilding;
    QCheckBox* ChBoxLines;
    QCheckBox* ChBoxPoints;
    TLineWidthBox* CBoxExLine;
    TLineWidthBox* CBoxExPixel;
    QGroupBox* RGrSort;
    QButtonGroup* SortGroup; ///< 0 "нет", 1 X, 2 Y, 3 Z
    QCheckBox* ChBoxSortMode;
    QPushButton* Button1;
    QCheckBox* ChBoxGradation;
    QPushButton* BBtnOK;
    QPushButton* BBtnCancel;
    QPushButton* BitBtn1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    QWidget* BuildToolsColumn();
    void ConnectCommands();
    /// The error box of a cell that failed, and the focus on that cell.
    void ReportCell(const TCellProblem& problem);
    /// The check boxes' rule: the one just unchecked comes back when the other is off too.
    void KeepOneDrawn(QCheckBox* clicked);
    void ShowRowCount();
    void Redraw();
    /// Fits the grid's columns to their longest values, and the dialog with them up to the
    /// screen's width, so that no value is elided: all rows, or only rows `first` to `last`
    /// (cells just typed), which can only widen them.
    void FitGridToValues(int first = -1, int last = -1);

    TAppContext& Ctx;
    TTableGridModel* GridModel;
    QWidget* Tools = nullptr; ///< the column of controls beside the grid
    TFormFillTable* FormFillTable = nullptr;
    TFormTableInformation* FormTableInformation = nullptr;
    int EditPosition = -1;
};

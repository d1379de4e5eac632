#pragma once
// "Табулирование функции": the values of a formula of one variable over an interval with a step
// or at one point, shown in a two-column grid and saved as a tabulation text file.

#include "analysis/tabulation.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <string>
#include <vector>

struct TAppContext;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class TFormTableValues : public QDialog {
    Q_OBJECT
public:
    explicit TFormTableValues(TAppContext& ctx, QWidget* parent = nullptr);

    /// The opening command's part before the dialog is shown: the combo's list becomes the
    /// formulas of the document's graphs; the combo's text stays as it was.
    void FillFormulaList();

    /// "Считать": the checks with their messages, then the table. The dialog shows the hourglass
    /// for the whole command, whatever its outcome.
    void BBtnOKClick();
    /// "Сохранить": the grid as it is shown, into the text file the user names.
    void BBtnSaveClick();
    /// The mode's radio buttons: the interval's end and step are shown in interval mode only, and
    /// the start's label names the point in point mode.
    void RGrValuesClick();

    /// Whether point mode ("точка") is chosen.
    bool PointMode() const;
    /// The grid's texts, the header row first.
    std::vector<kurvant::TTabulationRow> GridRows() const;

    /// The digit group separator of the table's numbers: the locale's, unless changed.
    std::string GroupSeparator;

    QLabel* LbFunction;
    QComboBox* CBoxFunction;
    QGroupBox* RGrValues;
    QButtonGroup* ValuesGroup;
    QLabel* LbMin;
    QLineEdit* EdMin;
    QLabel* LbVar;
    QLineEdit* EdVar;
    QWidget* PanelDiapazon;
    QLabel* LbMax;
    QLineEdit* EdMax;
    QLabel* LbStep;
    QLineEdit* EdStep;
    QPushButton* BBtnOK;
    QPushButton* BBtnSave;
    QPushButton* BBtnCancel;
    QTableWidget* SGridTableValues;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void ShowTable(const kurvant::TTabulation& table);
    void FocusInput(kurvant::TTabulationField field);

    TAppContext& Ctx;
    /// The formula whose table the grid shows; none before the first table.
    std::optional<std::string> TabulatedFormula;
};

#pragma once
// "График": the dialog in which the user defines a new formula graph or edits one. OK checks
// every entry, stores the record in the document, samples it, rescales the view and redraws.

#include "settings/color.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TAppContext;
class TColorBox;
class TFuncList;
class TLineWidthBox;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFormGraphic : public QDialog {
    Q_OBJECT
public:
    explicit TFormGraphic(TAppContext& ctx, QWidget* parent = nullptr);

    /// The add command's preparation: refuses with the error box when the document is full
    /// (returns false); otherwise clears the formulas, sets the defaults, proposes the colour of
    /// the next graph and sets `EditMode` 0. The caller then runs `exec()`.
    bool PrepareForNewGraph();
    /// The edit command's preparation for the formula graph at list position `index`: fills every
    /// control from the record and sets `EditMode` 1. Returns false (nothing changes) for a table
    /// graph or a position outside the list. The caller then runs `exec()`.
    bool PrepareForEdit(int index);

    /// OK: the checks in their order, then the record is added or replaced, sampled and scaled,
    /// and the dialog closes. The view is redrawn in every case.
    void BBtnOKClick();
    /// The per-kind labels; for a new graph also the interval and step texts of the kind.
    void CBoxTypeGraphicChange();

    /// Opens the pick list for the first (0) or the second (1) formula.
    void OpenFuncList(int pickTarget);
    TFuncList* FuncList() const { return FuncList1; }

    /// The colours of the colour box's items, the custom entry first.
    std::vector<TColor> ColorItems() const;
    TColor SelectedColor() const;
    /// Selects the named colour `c`, or makes it the custom entry's colour and selects that.
    void SelectColor(TColor c);
    /// Asked for a colour when the colour box's custom entry is chosen; no value means the user
    /// cancelled. Opens the desktop's colour chooser unless replaced.
    std::function<std::optional<TColor>(TColor current)> ChooseCustomColor;

    /// Called after a graph was stored and the dialog closed; the tangent and normal dialog's
    /// owner closes that dialog here.
    std::function<void()> GraphStored;

    /// The name of the history step that OK of a new graph leaves; the tangent and normal dialog
    /// names its line here, and the add command's preparation sets it back.
    std::string AddStepText = "добавление графика";

    /// The list position being edited, or -1 for a new graph.
    int EditIndex() const { return EditPosition; }

    QComboBox* CBoxTypeGraphic;
    QGroupBox* GrBFunction;
    QLabel* LbFunction;
    QLineEdit* EdFunction;
    QLabel* LbFunction_2;
    QLineEdit* EdFunction_2;
    TColorBox* ColorBoxGraphic;
    QGroupBox* RGrBuilding;
    QButtonGroup* BuildingGroup;
    TLineWidthBox* CBoxExLine; ///< despite its name, the point size too when drawn by points
    QGroupBox* GrBInterval;
    QLabel* LbMin;
    QLineEdit* EdMinX;
    QLabel* LbPiMin;
    QLabel* LbMax;
    QLineEdit* EdMaxX;
    QLabel* LbPiMax;
    QLabel* LbMinY;
    QLineEdit* EdMinY;
    QLabel* LbPiMin2;
    QLabel* LbMaxY;
    QLineEdit* EdMaxY;
    QLabel* LbPiMax2;
    QGroupBox* GroupBox1;
    QLabel* LbNumberStep;
    QLineEdit* EdNumberStepX;
    QLabel* LbNumberStepY;
    QLineEdit* EdNumberStepY;
    QCheckBox* ChBoxGradation;
    QPushButton* BBtnOK;
    QPushButton* BBtnCancel;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The kinds' open list, and whether it is open: a choice there comes from the mouse (or the
    /// list's keys).
    QWidget* KindList = nullptr;
    bool KindListOpen = false;
    void BuildControls();
    void ApplyKindAppearance();
    /// The error box of a full document (100 graphs).
    void ReportDocumentFull();
    QLineEdit* FieldEdit(int field) const;
    void Redraw();

    TAppContext& Ctx;
    TFuncList* FuncList1;
    int EditPosition = -1;
};

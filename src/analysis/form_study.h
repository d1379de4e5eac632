#pragma once
// "Исследование функции": the zeros, extrema, intersections or the integral of a Y(X) or X(Y)
// graph or a typed formula over an interval, in a grid, and the found points marked on the view as
// a table graph.

#include "analysis/function_study.h"

#include <QDialog>

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

class TFormStudy : public QDialog {
    Q_OBJECT
public:
    explicit TFormStudy(TAppContext& ctx, QWidget* parent = nullptr);

    /// The opening command's part before the dialog is shown: both combos list the document's
    /// Y(X) and X(Y) graphs as the graph list writes them; their texts stay as they were.
    void FillGraphList();

    /// "Найти": the checks with their messages, then the grid.
    void BBtnOKClick();
    /// "Отметить на графике": the points of the last study as a new table graph.
    void BBtnMarkClick();

    kurvant::TStudyKind Kind() const;
    /// The grid's texts, the header row first.
    std::vector<std::vector<std::string>> GridRows() const;

    /// The digit group separator of the numbers: the locale's, unless changed.
    std::string GroupSeparator;

    QComboBox* CBoxFunction;
    QLineEdit* EdVar;
    QComboBox* CBoxFunction2;
    QLineEdit* EdMin;
    QLineEdit* EdMax;
    QGroupBox* RGrStudy;
    QButtonGroup* StudyGroup;
    QPushButton* BBtnOK;
    QPushButton* BBtnMark;
    QPushButton* BBtnCancel;
    QTableWidget* SGridStudy;
    QLabel* LbNote;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void GraphPicked(const QString& text);
    void KindChanged();
    void ShowGrid(const kurvant::TStudy& study);
    void FocusInput(kurvant::TStudyField field);

    TAppContext& Ctx;
    /// What the last study found, for the marks.
    kurvant::TStudy Found;
    kurvant::TStudyKind FoundKind = kurvant::TStudyKind::Zeros;
    std::string FoundCaption;
    bool FoundOfY = false;
};

#pragma once
// "Касательная / нормаль": the tangent or the normal of a Y(X) or X(Y) graph at a point, built from
// numerical derivatives and offered to the graph dialog as a new graph of the same kind.

#include <QDialog>

#include <string>

struct TAppContext;
class TFormGraphic;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

/// Despite its name, the tangent and normal dialog (of the menu `MMOther`, "Анализ функций").
class TFormOther : public QDialog {
    Q_OBJECT
public:
    /// `graphDialog` receives the line's formula; it outlives this dialog.
    TFormOther(TAppContext& ctx, TFormGraphic* graphDialog, QWidget* parent = nullptr);

    /// The opening command's part before the dialog is shown: the list becomes the entries of the
    /// document's Y(X) and X(Y) graphs, none of them chosen.
    void FillGraphList();

    /// OK: the checks with their messages, then the graph dialog prefilled with the line as a
    /// new graph and shown. This dialog stays open afterwards, so the other line can follow.
    void BBtnOKClick();

    QComboBox* CBoxFunction;
    QGroupBox* RGrLine;
    QButtonGroup* LineGroup;
    QLabel* LbVar;
    QLineEdit* EdVar;
    QPushButton* BBtnOK;
    QPushButton* BBtnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void ReportError(const QString& text);
    void OfferLine(const std::string& formula, int kind);

    TAppContext& Ctx;
    TFormGraphic* GraphDialog;
};

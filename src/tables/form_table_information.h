#pragma once
// "Статистическая информация": the eight statistics of each column of the table dialog's grid,
// computed anew each time the window is shown.

#include <QDialog>

#include <string>

struct TAppContext;
class TTableGrid;
class QPushButton;
class QTableWidget;

class TFormTableInformation : public QDialog {
    Q_OBJECT
public:
    TFormTableInformation(TAppContext& ctx, const TTableGrid& grid, QWidget* parent = nullptr);

    /// Fills the statistics of the grid's shown rows into the window's cells.
    void FormShow();

    /// Put between the digit groups of the integer parts: the locale's, unless set otherwise.
    std::string GroupSeparator;

    QTableWidget* SGridInformation;
    QPushButton* BBtnOK;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Sizes the columns and the grid to show every title and figure whole.
    void FitToTexts();

    TAppContext& Ctx;
    const TTableGrid& Grid;
};

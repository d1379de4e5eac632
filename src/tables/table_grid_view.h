#pragma once
// The table's grid on screen: a model that holds the `TTableGrid`, so the cells typed, filled,
// loaded and sorted live in one place, and a view that can close an open cell editor on demand.

#include "tables/table_grid.h"

#include <QAbstractTableModel>
#include <QTableView>

#include <array>

class TTableGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TTableGridModel(QObject* parent);

    /// The grid itself. The model owns it, so an editor that closes while the windows are being
    /// destroyed never writes into a grid that is gone.
    TTableGrid& Grid() { return Cells; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// Tells the view that the grid changed behind the model's back (row count or cells).
    void GridChanged();

private:
    TTableGrid Cells;
};

class TTableGridView final : public QTableView {
    Q_OBJECT
public:
    explicit TTableGridView(QWidget* parent = nullptr);

    /// Stores what an open cell editor holds and closes it, so that a command pressed while a cell
    /// is being typed works on the typed text.
    void FinishEditing();
    /// Gives the grid the focus on the cell at `row`, `column` (0-based).
    void FocusCell(int row, int column);

    /// The widths as laid out, which the columns never go below; the grid is at least as wide as
    /// they are with 40 pixels for the row numbers and 40 for the scroll bar.
    void SetLaidOutWidths(const std::array<int, 3>& widths);
    /// Sets each column to the width of its longest shown text (never narrower than laid out) and
    /// asks for the width that shows the three, but never more than `maxWidth`: past that the grid
    /// scrolls, and a cell's hint still shows its whole text.
    void FitColumnsToValues(int maxWidth);
    /// As `FitColumnsToValues` for the texts of rows `first` to `last` only (the cells just
    /// typed), which can only widen the columns.
    void WidenColumnsToRows(int first, int last, int maxWidth);

private:
    /// The width that shows the texts of `column` in rows `first` to `last` whole (0 for none).
    int ValuesWidth(int column, int first, int last) const;
    /// Sets the column widths and the width the grid asks for.
    void ApplyWidths(const std::array<int, 3>& widths, int maxWidth);

    std::array<int, 3> LaidOut{};
    int LaidOutMinimum = 0;
};

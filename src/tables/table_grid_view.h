#pragma once
// The table's grid on screen: a model that holds the `TTableGrid`, so the cells typed, filled,
// loaded and sorted live in one place, and a view that can close an open cell editor on demand.

#include "tables/table_grid.h"

#include <QAbstractTableModel>
#include <QTableView>

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
};

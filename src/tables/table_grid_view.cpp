#include "tables/table_grid_view.h"

#include <QHeaderView>

TTableGridModel::TTableGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int TTableGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Cells.RowCount();
}

int TTableGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant TTableGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Cells.RowCount())
        return {};
    // The hint of a cell is its whole text, as the edit boxes show theirs.
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole)
        return QString::fromStdString(Cells.Cell(index.row(), index.column()));
    return {};
}

bool TTableGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.row() >= Cells.RowCount())
        return false;
    Cells.SetCell(index.row(), index.column(), value.toString().toStdString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::ToolTipRole});
    return true;
}

Qt::ItemFlags TTableGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant TTableGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < 3
                   ? QString::fromLatin1(
                         TableColumnTitles[static_cast<std::size_t>(section)].data(), 1)
                   : QVariant();
    return section + 1;
}

void TTableGridModel::GridChanged() {
    beginResetModel();
    endResetModel();
}

TTableGridView::TTableGridView(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("SGridGraphicTable"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Typing into a cell starts editing it, as do a double click and F2; moving about does not.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

void TTableGridView::FinishEditing() {
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TTableGridView::FocusCell(int row, int column) {
    setFocus();
    if (model() && row < model()->rowCount() && column < model()->columnCount())
        setCurrentIndex(model()->index(row, column));
}

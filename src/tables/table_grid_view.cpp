#include "tables/table_grid_view.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

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

void TTableGridView::SetLaidOutWidths(const std::array<int, 3>& widths) {
    LaidOut = widths;
    LaidOutMinimum = 40 + 40;
    for (int column = 0; column < 3; ++column) {
        setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
        LaidOutMinimum += widths[static_cast<std::size_t>(column)];
    }
    setMinimumWidth(LaidOutMinimum);
}

int TTableGridView::ValuesWidth(int column, int first, int last) const {
    const QAbstractItemModel* cells = model();
    if (!cells)
        return 0;
    first = std::max(first, 0);
    last = std::min(last, cells->rowCount() - 1);
    // The widest text by the font, then the delegate's width for its cell, which adds the margins
    // the cell draws around its text.
    const QFontMetrics metrics(font());
    int widest = -1;
    int widestRow = -1;
    for (int row = first; row <= last; ++row) {
        const int width = metrics.horizontalAdvance(cells->index(row, column).data().toString());
        if (width > widest) {
            widest = width;
            widestRow = row;
        }
    }
    if (widestRow < 0)
        return 0;
    return sizeHintForIndex(cells->index(widestRow, column)).width() + (showGrid() ? 1 : 0);
}

void TTableGridView::FitColumnsToValues(int maxWidth) {
    const int last = model() ? model()->rowCount() - 1 : -1;
    std::array<int, 3> widths{};
    for (int column = 0; column < 3; ++column)
        widths[static_cast<std::size_t>(column)] =
            std::max(LaidOut[static_cast<std::size_t>(column)], ValuesWidth(column, 0, last));
    ApplyWidths(widths, maxWidth);
}

void TTableGridView::WidenColumnsToRows(int first, int last, int maxWidth) {
    std::array<int, 3> widths{};
    for (int column = 0; column < 3; ++column)
        widths[static_cast<std::size_t>(column)] =
            std::max(columnWidth(column), ValuesWidth(column, first, last));
    ApplyWidths(widths, maxWidth);
}

void TTableGridView::ApplyWidths(const std::array<int, 3>& widths, int maxWidth) {
    int total = 0;
    for (int column = 0; column < 3; ++column) {
        setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
        total += widths[static_cast<std::size_t>(column)];
    }
    // The row numbers, the columns, the frame and room for the vertical scroll bar.
    const int header =
        std::max(verticalHeader()->minimumWidth(), verticalHeader()->sizeHint().width());
    const int wanted = header + total + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    setMinimumWidth(std::max(LaidOutMinimum, std::min(wanted, maxWidth)));
}

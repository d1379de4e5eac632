#pragma once
// The graph list `ChListBGraphics`: one row per graph of the document, in collection order, with
// its tick, colour swatch and caption. The rows show the document; they do not hold it.

#include <QListWidget>
#include <QStyledItemDelegate>

class TDocument;

class TGraphList : public QListWidget {
    Q_OBJECT
public:
    TGraphList(TDocument& document, QWidget* parent = nullptr);

    /// Rebuilds every row from the document, keeping the selected row where it still exists.
    void Rebuild();
    /// The selected row, or -1. The current row alone does not count: the list makes its first
    /// row current when it gets the focus, without selecting it.
    int Selected() const;

signals:
    /// A row was clicked or a tick changed: the list's click handling runs.
    void ClickOrTick();
    /// The user ticked or unticked the row `index`; the document is not changed yet.
    void TickRequested(int index, bool ticked);
    /// Backspace or Delete on a selected row.
    void DeleteRequested();
    /// Double click on a row, or Enter or F2 on a selected one.
    void EditRequested();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void ItemChanged(QListWidgetItem* item);

    TDocument& Document;
    bool Syncing = false;
};

/// Paints a row: the colour swatch (an ellipse 20 x 18 outlined in black) and the caption on
/// white, or on blue in white letters when the row is selected.
class TGraphRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

/// Role of a row's graph colour (0x00BBGGRR).
inline constexpr int GraphColorRole = Qt::UserRole + 1;

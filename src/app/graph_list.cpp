#include "app/graph_list.h"

#include "graphs/document.h"
#include "widgets/window_helpers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

namespace {

constexpr int RowHeight = 20;

} // namespace

TGraphList::TGraphList(TDocument& document, QWidget* parent)
    : QListWidget(parent), Document(document) {
    setObjectName(QStringLiteral("ChListBGraphics"));
    setFrameShape(QFrame::NoFrame);
    setItemDelegate(new TGraphRowDelegate(this));
    setUniformItemSizes(true);
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(11);
    setFont(f);
    connect(this, &QListWidget::itemChanged, this, &TGraphList::ItemChanged);
    connect(this, &QListWidget::itemClicked, this, [this] { emit ClickOrTick(); });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { emit EditRequested(); });
}

void TGraphList::Rebuild() {
    Syncing = true;
    const int selected = Selected();
    clear();
    for (int i = 0; i < Document.GraphCount(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(Document.Caption(i)), this);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Document.Visible(i) ? Qt::Checked : Qt::Unchecked);
        item->setData(GraphColorRole, static_cast<uint>(Document.Graph(i).Color));
    }
    if (selected >= 0 && selected < count())
        setCurrentRow(selected);
    Syncing = false;
}

int TGraphList::Selected() const {
    const QListWidgetItem* current = currentItem();
    return current && current->isSelected() ? currentRow() : -1;
}

void TGraphList::ItemChanged(QListWidgetItem* item) {
    if (Syncing)
        return;
    const int i = row(item);
    if (i < 0 || i >= Document.GraphCount())
        return;
    const bool ticked = item->checkState() == Qt::Checked;
    // The row shows the document again until the document has taken the tick as a step.
    if (ticked != Document.Visible(i))
        emit TickRequested(i, ticked);
}

void TGraphList::keyPressEvent(QKeyEvent* e) {
    // Backspace and Delete delete the selected graph (with the question), Enter and F2 edit it.
    switch (e->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        if (Selected() != -1)
            emit DeleteRequested();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        if (Selected() != -1)
            emit EditRequested();
        return;
    default:
        break;
    }
    QListWidget::keyPressEvent(e);
}

void TGraphRowDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();

    p->save();
    p->fillRect(opt.rect, Qt::white);
    // The tick box on the left, as the style draws it.
    QStyleOptionViewItem check = opt;
    check.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
    check.state = check.state & ~QStyle::State_HasFocus;
    check.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, p, widget);

    // R: the text area right of the tick box.
    const QRect r(check.rect.right() + 3, opt.rect.top(), opt.rect.right() - check.rect.right() - 3,
                  opt.rect.height());
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(Qt::black);
    p->setBrush(ToQColor(index.data(GraphColorRole).toUInt()));
    p->drawEllipse(QRect(QPoint(r.left() + 5, r.top() + 1), QPoint(r.left() + 24, r.top() + 18)));
    p->setRenderHint(QPainter::Antialiasing, false);

    const bool selected = opt.state & QStyle::State_Selected;
    const QColor back = selected ? QColor(0, 0, 255) : QColor(Qt::white);
    const QColor fore = selected ? QColor(Qt::white) : QColor(Qt::black);
    p->setFont(opt.font);
    const QString text = index.data(Qt::DisplayRole).toString();
    const QFontMetrics fm(opt.font);
    const QRect cell(r.left() + 30, r.top() + 3, fm.horizontalAdvance(text) + 2, fm.height());
    p->fillRect(cell, back);
    p->setPen(fore);
    p->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, text);
    p->restore();
}

QSize TGraphRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(RowHeight);
    s.setWidth(s.width() + 40);
    return s;
}

#include "tables/form_table_information.h"

#include "formula/locale_separator.h"
#include "tables/table_statistics.h"
#include "widgets/app_context.h"
#include "widgets/named_controls.h"
#include "widgets/window_helpers.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

TFormTableInformation::TFormTableInformation(TAppContext& ctx, const TTableGrid& grid,
                                             QWidget* parent)
    : QDialog(parent), GroupSeparator(kurvant::LocaleGroupSeparator()), Ctx(ctx), Grid(grid) {
    PrepareFixedDialog(this, "FormTableInformation", QStringLiteral("Статистическая информация"));

    SGridInformation = new QTableWidget(StatisticCount, 3, this);
    SGridInformation->setObjectName(QStringLiteral("SGridInformation"));
    SGridInformation->setHorizontalHeaderLabels(
        {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")});
    QStringList titles;
    for (std::string_view title : StatisticTitles)
        titles << FromUtf8(title);
    SGridInformation->setVerticalHeaderLabels(titles);
    SGridInformation->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGridInformation->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SGridInformation->verticalHeader()->setDefaultSectionSize(20);
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < StatisticCount; ++row) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            SGridInformation->setItem(row, column, item);
        }
    }
    // The grid shows everything without scrolling.
    SGridInformation->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGridInformation->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitToTexts();
    SGridInformation->installEventFilter(this);

    BBtnOK = new QPushButton(QStringLiteral("OK"), this);
    BBtnOK->setObjectName(QStringLiteral("BBtnOK"));
    BBtnOK->setDefault(true);
    connect(BBtnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = ButtonRow({BBtnOK});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SGridInformation);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormTableInformation::FitToTexts() {
    // The widths as laid out, widened where the font or a long grouped number needs more.
    QHeaderView* titles = SGridInformation->verticalHeader();
    const int titleWidth = std::max(180, titles->sizeHint().width());
    titles->setFixedWidth(titleWidth);
    int width = titleWidth;
    const int widths[] = {111, 102, 102};
    for (int column = 0; column < 3; ++column) {
        SGridInformation->resizeColumnToContents(column);
        SGridInformation->setColumnWidth(
            column, std::max(widths[column], SGridInformation->columnWidth(column)));
        width += SGridInformation->columnWidth(column);
    }
    const int frame = 2 * SGridInformation->frameWidth();
    SGridInformation->setFixedSize(width + frame,
                                   SGridInformation->horizontalHeader()->sizeHint().height() +
                                       StatisticCount * titles->defaultSectionSize() + frame);
}

void TFormTableInformation::FormShow() {
    const TStatisticsTexts texts =
        TableStatisticsTexts(Grid, Ctx.Formula.DecimalSeparator, GroupSeparator);
    for (int row = 0; row < StatisticCount; ++row)
        for (int column = 0; column < 3; ++column)
            SGridInformation->item(row, column)
                ->setText(QString::fromStdString(
                    texts[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]));
    FitToTexts();
}

void TFormTableInformation::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

bool TFormTableInformation::eventFilter(QObject* watched, QEvent* event) {
    // The grid takes no typed character; keys that type nothing (arrows, Enter, Escape) still
    // move about and close the window.
    if (watched == SGridInformation && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        return !text.isEmpty() && text.front().isPrint();
    }
    return QDialog::eventFilter(watched, event);
}

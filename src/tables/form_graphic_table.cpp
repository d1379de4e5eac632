// The table dialog's controls and its two openings: for a new graph and for editing one.

#include "tables/form_graphic_table.h"

#include "graphs/graph_input.h"
#include "tables/form_fill_table.h"
#include "tables/form_table_information.h"
#include "tables/table_graph.h"
#include "tables/table_grid_view.h"
#include "widgets/app_context.h"
#include "widgets/color_box.h"
#include "widgets/line_width_box.h"
#include "widgets/named_controls.h"
#include "widgets/number_edits.h"
#include "widgets/ui_services.h"
#include "widgets/window_helpers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <limits>

TFormGraphicTable::TFormGraphicTable(TAppContext& ctx, QWidget* parent)
    : QDialog(parent), Ctx(ctx), GridModel(new TTableGridModel(this)) {
    PrepareFixedDialog(this, "FormGraphicTable", QStringLiteral("Табличное задание функции"));
    BuildControls();
    ConnectCommands();
    // The colour box asks through the dialog's chooser, which tests replace.
    ChooseCustomColor = ColorBoxGraphic->ChooseCustomColor;
    ColorBoxGraphic->ChooseCustomColor = [this](TColor current) {
        return ChooseCustomColor ? ChooseCustomColor(current) : std::nullopt;
    };
    FormFillTable = new TFormFillTable(Ctx, Grid(), this);
    FormFillTable->GridFilled = [this] { GridModel->GridChanged(); };
    FormTableInformation = new TFormTableInformation(Ctx, Grid(), this);
}

TFormGraphicTable::~TFormGraphicTable() {
    // The grid model goes with the dialog's children, after this part of the dialog is gone; what
    // it signals on its way must not reach the column fitting of a dialog that no longer is one.
    disconnect(GridModel, nullptr, this, nullptr);
}

TTableGrid& TFormGraphicTable::Grid() {
    return GridModel->Grid();
}

void TFormGraphicTable::BuildControls() {
    SGridGraphicTable = new TTableGridView(this);
    SGridGraphicTable->setModel(GridModel);
    SGridGraphicTable->verticalHeader()->setMinimumWidth(40);
    SGridGraphicTable->SetLaidOutWidths({69, 70, 66});
    SGridGraphicTable->verticalHeader()->setDefaultSectionSize(
        std::max(16, SGridGraphicTable->fontMetrics().height() + 2));
    SGridGraphicTable->setMinimumHeight(380);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(SGridGraphicTable, 1);
    Tools = BuildToolsColumn();
    layout->addWidget(Tools);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Whatever changes the cells (typing, a fill, a load, a sort) widens the columns to show them.
    connect(GridModel, &QAbstractItemModel::modelReset, this, [this] { FitGridToValues(); });
    connect(GridModel, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                FitGridToValues(first.row(), last.row());
            });
}

void TFormGraphicTable::FitGridToValues(int first, int last) {
    // The dialog may grow to the screen's width, less the tools and the window's frame.
    const QScreen* screen = this->screen();
    const int screenWidth =
        screen ? screen->availableGeometry().width() : std::numeric_limits<int>::max() / 2;
    const QMargins margins = layout()->contentsMargins();
    const int frame = isVisible() ? frameGeometry().width() - width() : 0;
    const int others =
        Tools->sizeHint().width() + layout()->spacing() + margins.left() + margins.right() + frame;
    if (first < 0)
        SGridGraphicTable->FitColumnsToValues(screenWidth - others);
    else
        SGridGraphicTable->WidenColumnsToRows(first, last, screenWidth - others);
    if (!isVisible() || !screen)
        return;
    // A dialog that grew past the screen's right edge moves back onto it.
    layout()->activate();
    const QRect available = screen->availableGeometry();
    const QRect outer = frameGeometry();
    if (outer.right() > available.right())
        move(std::max(available.left(), x() - (outer.right() - available.right())), y());
}

QWidget* TFormGraphicTable::BuildToolsColumn() {
    auto* tools = new QWidget(this);
    auto* column = new QVBoxLayout(tools);
    column->setContentsMargins(0, 0, 0, 0);

    BBtnFillTable = NamedButton(tools, "BBtnFillTable", QStringLiteral("Автозаполнение"),
                                QStringLiteral("Автозаполнение таблицы"));
    BBtnClearAll = NamedButton(tools, "BBtnClearAll", QStringLiteral("Очистить всё"),
                               QStringLiteral("Обнулить все значения в таблице"));
    BBtnInformation = NamedButton(tools, "BBtnInformation", QStringLiteral("Статистика"),
                                  QStringLiteral("Статистическая информация по таблице"));
    QFont bold = BBtnInformation->font();
    bold.setBold(true);
    BBtnInformation->setFont(bold);
    BBtnLoad = NamedButton(tools, "BBtnLoad", QStringLiteral("Загрузить"),
                           QStringLiteral("Загрузить файл таблицы"));
    BBtnSave = NamedButton(tools, "BBtnSave", QStringLiteral("Сохранить"),
                           QStringLiteral("Сохранить файл таблицы"));
    for (QPushButton* b : {BBtnFillTable, BBtnClearAll, BBtnInformation, BBtnLoad, BBtnSave})
        column->addWidget(b);

    GrBRows = new QGroupBox(QStringLiteral("Количество точек"), tools);
    GrBRows->setObjectName(QStringLiteral("GrBRows"));
    EdRows = new QLineEdit(QStringLiteral("1"), GrBRows);
    EdRows->setObjectName(QStringLiteral("EdRows"));
    // The hint of an edit box is its whole text.
    EdRows->setToolTip(EdRows->text());
    connect(EdRows, &QLineEdit::textChanged, EdRows,
            [this](const QString& t) { EdRows->setToolTip(t); });
    FilterNumberKeys(EdRows, QStringLiteral("0123456789"));
    BBtnApply = NamedButton(GrBRows, "BBtnApply", QStringLiteral("Применить"),
                            QStringLiteral("Применить заданное количество точек к таблице"));
    auto* rows = new QHBoxLayout(GrBRows);
    rows->addWidget(EdRows);
    rows->addWidget(BBtnApply);
    column->addWidget(GrBRows);

    auto* colourLabel = new QLabel(QStringLiteral("Цвет графика"), tools);
    colourLabel->setObjectName(QStringLiteral("LbColor"));
    ColorBoxGraphic = new TColorBox(tools);
    ColorBoxGraphic->setObjectName(QStringLiteral("ColorBoxGraphic"));
    ColorBoxGraphic->SelectColor(clMaroon);
    column->addWidget(colourLabel);
    column->addWidget(ColorBoxGraphic);

    GrBBuilding = new QGroupBox(QStringLiteral("Построение"), tools);
    GrBBuilding->setObjectName(QStringLiteral("GrBBuilding"));
    ChBoxLines = NamedCheckBox(GrBBuilding, "ChBoxLines", QStringLiteral("линии"), true);
    ChBoxPoints = NamedCheckBox(GrBBuilding, "ChBoxPoints", QStringLiteral("точки"), false);
    CBoxExLine = new TLineWidthBox(GrBBuilding);
    CBoxExLine->setObjectName(QStringLiteral("CBoxExLine"));
    CBoxExPixel = new TLineWidthBox(GrBBuilding);
    CBoxExPixel->setObjectName(QStringLiteral("CBoxExPixel"));
    auto* building = new QGridLayout(GrBBuilding);
    building->addWidget(ChBoxLines, 0, 0);
    building->addWidget(ChBoxPoints, 0, 1);
    building->addWidget(CBoxExLine, 1, 0);
    building->addWidget(CBoxExPixel, 1, 1);
    column->addWidget(GrBBuilding);

    RGrSort = new QGroupBox(QStringLiteral("Сортировка"), tools);
    RGrSort->setObjectName(QStringLiteral("RGrSort"));
    SortGroup = new QButtonGroup(RGrSort);
    auto* sort = new QGridLayout(RGrSort);
    const QStringList keys = {QStringLiteral("нет"), QStringLiteral("X"), QStringLiteral("Y"),
                              QStringLiteral("Z")};
    for (int i = 0; i < keys.size(); ++i) {
        auto* key = new QRadioButton(keys[i], RGrSort);
        key->setObjectName(QStringLiteral("RGrSort") + QString::number(i));
        SortGroup->addButton(key, i);
        sort->addWidget(key, 0, i);
    }
    SortGroup->button(0)->setChecked(true);
    ChBoxSortMode = NamedCheckBox(RGrSort, "ChBoxSortMode", QStringLiteral("По возрастанию"), true);
    Button1 = NamedButton(RGrSort, "Button1", QStringLiteral("Сортировать"));
    sort->addWidget(ChBoxSortMode, 1, 0, 1, 4);
    sort->addWidget(Button1, 2, 0, 1, 4);
    column->addWidget(RGrSort);

    ChBoxGradation =
        NamedCheckBox(tools, "ChBoxGradation", QStringLiteral("Градация цветом"), false);
    column->addWidget(ChBoxGradation);
    column->addStretch();

    BBtnOK = NamedButton(tools, "BBtnOK", QStringLiteral("OK"));
    BBtnOK->setDefault(true);
    BitBtn1 = NamedButton(tools, "BitBtn1", QStringLiteral("X, Y"),
                          QStringLiteral("Сортировать по X, затем по Y"));
    BBtnCancel = NamedButton(tools, "BBtnCancel", QStringLiteral("Отмена"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BBtnOK);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BBtnCancel);
    column->addLayout(buttons);
    return tools;
}

void TFormGraphicTable::ConnectCommands() {
    connect(BBtnOK, &QPushButton::clicked, this, &TFormGraphicTable::BBtnOKClick);
    connect(BBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BBtnApply, &QPushButton::clicked, this, &TFormGraphicTable::BBtnApplyClick);
    connect(BBtnClearAll, &QPushButton::clicked, this, &TFormGraphicTable::BBtnClearAllClick);
    connect(BBtnFillTable, &QPushButton::clicked, this, &TFormGraphicTable::BBtnFillTableClick);
    connect(BBtnInformation, &QPushButton::clicked, this, &TFormGraphicTable::BBtnInformationClick);
    connect(BBtnSave, &QPushButton::clicked, this, &TFormGraphicTable::BBtnSaveClick);
    connect(BBtnLoad, &QPushButton::clicked, this, &TFormGraphicTable::BBtnLoadClick);
    connect(Button1, &QPushButton::clicked, this, &TFormGraphicTable::Button1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormGraphicTable::BitBtn1Click);
    connect(ChBoxLines, &QCheckBox::clicked, this, [this] { KeepOneDrawn(ChBoxLines); });
    connect(ChBoxPoints, &QCheckBox::clicked, this, [this] { KeepOneDrawn(ChBoxPoints); });
}

void TFormGraphicTable::KeepOneDrawn(QCheckBox* clicked) {
    if (!ChBoxLines->isChecked() && !ChBoxPoints->isChecked())
        clicked->setChecked(true);
}

void TFormGraphicTable::ShowRowCount() {
    EdRows->setText(QString::number(Grid().RowCount()));
    GridModel->GridChanged();
}

bool TFormGraphicTable::PrepareForNewGraph() {
    if (!Ctx.Document.CanAdd()) {
        if (Ctx.Services)
            Ctx.Services->Error(this, FromUtf8(TableAddCaption), FromUtf8(TooManyGraphsMessage));
        return false;
    }
    Grid().EmptyAll();
    Grid().SetRowCount(1);
    Modify_Number();
    ShowRowCount();
    ChBoxLines->setChecked(true);
    ChBoxPoints->setChecked(false);
    ChBoxGradation->setChecked(false);
    CBoxExLine->setCurrentIndex(2);
    CBoxExPixel->setCurrentIndex(2);
    const int item =
        FreeColorItem(Ctx.Document.ColorCounter, ColorBoxGraphic->ColorItems(),
                      static_cast<TColor>(Ctx.Settings.BackGround), Ctx.Document.GraphColors());
    ColorBoxGraphic->SelectItem(item);
    Ctx.Document.EditMode = 0;
    EditPosition = -1;
    return true;
}

bool TFormGraphicTable::PrepareForEdit(int index) {
    if (index < 0 || index >= Ctx.Document.GraphCount())
        return false;
    const TGraphic& g = Ctx.Document.Graph(index);
    if (g.Kind != KindTable)
        return false;
    // A document may carry a longer table than the grid holds; it is shown whole or not at all.
    if (!LoadGraphIntoGrid(g, Grid(), Ctx.Formula.DecimalSeparator)) {
        if (Ctx.Services)
            Ctx.Services->Error(this, QStringLiteral("Ошибка"),
                                QString::fromStdString(TableTooLongMessage(g.Points.size())));
        return false;
    }
    ShowRowCount();
    const TTableStyle style = TableStyleOf(g);
    ColorBoxGraphic->SelectColor(style.Color);
    ChBoxLines->setChecked(style.Lines);
    ChBoxPoints->setChecked(style.Points);
    // The box of what is not drawn keeps its item.
    if (style.Lines)
        CBoxExLine->setCurrentIndex(style.LineIndex);
    if (style.Points)
        CBoxExPixel->setCurrentIndex(style.PointIndex);
    ChBoxGradation->setChecked(style.Gradation);
    Ctx.Document.EditMode = 1;
    EditPosition = index;
    return true;
}

void TFormGraphicTable::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (Ctx.Document.EditMode == 1 && EditPosition >= 0 && EditPosition < Ctx.Document.GraphCount())
        ColorBoxGraphic->SelectColor(Ctx.Document.Graph(EditPosition).Color);
    CentreOnScreen(this);
    SGridGraphicTable->setFocus();
}

void TFormGraphicTable::Redraw() {
    if (Ctx.Document.Hooks.Redraw)
        Ctx.Document.Hooks.Redraw();
}

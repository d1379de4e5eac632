#include "tables/form_fill_table.h"

#include "tables/table_fill.h"
#include "widgets/app_context.h"
#include "widgets/named_controls.h"
#include "widgets/number_edits.h"
#include "widgets/ui_services.h"
#include "widgets/window_helpers.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>

namespace {

QGroupBox* RadioGroup(QWidget* parent, const char* name, const QString& caption,
                      const QStringList& items, QButtonGroup*& group) {
    auto* box = new QGroupBox(caption, parent);
    SetName(box, name);
    group = new QButtonGroup(box);
    auto* column = new QVBoxLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        button->setObjectName(QString::fromLatin1(name) + QString::number(i));
        group->addButton(button, i);
        column->addWidget(button);
    }
    group->button(0)->setChecked(true);
    return box;
}

// The fields' labels, which name a field in its refusal.
const QString FirstCellLabel = QStringLiteral("№ начальной строки");
const QString LastCellLabel = QStringLiteral("№ конечной строки");
const QString FirstValueLabel = QStringLiteral("Начальное значение");
const QString StepLabel = QStringLiteral("Шаг");

// The hint of an edit box here is its whole text.
QLineEdit* HintedEdit(QWidget* parent, const char* name, const QString& text) {
    auto* e = NamedEdit(parent, name, text);
    e->setToolTip(text);
    QObject::connect(e, &QLineEdit::textChanged, e, [e](const QString& t) { e->setToolTip(t); });
    return e;
}

} // namespace

TFormFillTable::TFormFillTable(TAppContext& ctx, TTableGrid& grid, QWidget* parent)
    : QDialog(parent), Ctx(ctx), Grid(grid) {
    PrepareFixedDialog(this, "FormFillTable", QStringLiteral("Автозаполнение таблицы"));
    BuildControls();
}

void TFormFillTable::BuildControls() {
    RGrXYZ = RadioGroup(this, "RGrXYZ", QStringLiteral("Ось"),
                        {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")}, AxisGroup);
    RGrProgression = RadioGroup(
        this, "RGrProgression", QStringLiteral("Прогрессия"),
        {QStringLiteral("арифметическая"), QStringLiteral("геометрическая")}, ProgressionGroup);
    EdFirstCell = HintedEdit(this, "EdFirstCell", QStringLiteral("1"));
    EdLastCell = HintedEdit(this, "EdLastCell", QStringLiteral("50"));
    EdFirstValue = HintedEdit(this, "EdFirstValue", QStringLiteral("1"));
    EdStep = HintedEdit(this, "EdStep", QStringLiteral("1"));
    // The last row's field has no key filter; the value and the step take constant expressions.
    FilterNumberKeys(EdFirstCell, QStringLiteral("0123456789"));
    FilterExpressionKeys(EdFirstValue);
    FilterExpressionKeys(EdStep);

    auto* fields = new QGridLayout;
    const std::pair<QString, QLineEdit*> rows[] = {{FirstCellLabel, EdFirstCell},
                                                   {LastCellLabel, EdLastCell},
                                                   {FirstValueLabel, EdFirstValue},
                                                   {StepLabel, EdStep}};
    int row = 0;
    for (const auto& [caption, edit] : rows) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        fields->addWidget(label, row, 0);
        fields->addWidget(edit, row, 1);
        ++row;
    }

    auto* buttons = OkCancelRow(this, BBtnOK, BBtnCancel);
    connect(BBtnOK, &QPushButton::clicked, this, &TFormFillTable::BBtnOKClick);

    auto* groups = new QHBoxLayout;
    groups->addWidget(RGrXYZ);
    groups->addWidget(RGrProgression);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormFillTable::SetRowRange(int rows) {
    EdFirstCell->setText(QStringLiteral("1"));
    EdLastCell->setText(QString::number(rows));
}

void TFormFillTable::BBtnOKClick() {
    const int rows = Grid.RowCount();
    std::int32_t firstRow = 0;
    std::int32_t lastRow = 0;
    if (!CheckIntEdit(Ctx, EdFirstCell, FirstCellLabel, 1, rows, firstRow) ||
        !CheckIntEdit(Ctx, EdLastCell, LastCellLabel, 1, rows, lastRow))
        return;
    if (lastRow < firstRow) {
        EdLastCell->setFocus();
        EdLastCell->selectAll();
        if (Ctx.Services)
            Ctx.Services->Error(this, QStringLiteral("Ошибка"),
                                QStringLiteral("Максимальное значение должно быть\n\rне меньше "
                                               "минимального значения!"));
        return;
    }
    double first = 0;
    double step = 0;
    if (!CheckFloatEdit(Ctx, EdFirstValue, FirstValueLabel, QString(), -TableValueLimit,
                        TableValueLimit, first) ||
        !CheckFloatEdit(Ctx, EdStep, StepLabel, QString(), -TableValueLimit, TableValueLimit, step))
        return;
    const TProgression kind =
        ProgressionGroup->checkedId() == 1 ? TProgression::Geometric : TProgression::Arithmetic;
    FillColumn(Grid, std::max(0, AxisGroup->checkedId()), firstRow - 1, lastRow - 1, kind, first,
               step, Ctx.Formula.DecimalSeparator);
    if (GridFilled)
        GridFilled();
    accept();
}

void TFormFillTable::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

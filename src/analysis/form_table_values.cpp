#include "analysis/form_table_values.h"

#include "documents/text_file.h"
#include "formula/locale_separator.h"
#include "widgets/app_context.h"
#include "widgets/named_controls.h"
#include "widgets/number_edits.h"
#include "widgets/save_path.h"
#include "widgets/ui_services.h"
#include "widgets/window_helpers.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace {

const QString ErrorCaption = QStringLiteral("Ошибка");
const QString IntervalLabel = FromUtf8(kurvant::TabulationMinLabel);
const QString PointLabel = FromUtf8(kurvant::TabulationPointLabel);

// The hourglass over the dialog while a command runs, and the default cursor after it on every
// road out of the command.
class TWaitCursor {
public:
    explicit TWaitCursor(QWidget* widget) : Widget(widget) { Widget->setCursor(Qt::WaitCursor); }
    ~TWaitCursor() { Widget->unsetCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    QWidget* Widget;
};

// Width and row height of the grid's columns as laid out.
constexpr int RowHeight = 18;
constexpr int ColumnMargin = 15;
constexpr int LaidOutWidth = 2 * (150 + ColumnMargin);

} // namespace

TFormTableValues::TFormTableValues(TAppContext& ctx, QWidget* parent)
    : QDialog(parent), GroupSeparator(kurvant::LocaleGroupSeparator()), Ctx(ctx) {
    PrepareFixedDialog(this, "FormTableValues", QStringLiteral("Табулирование функции"));
    BuildControls();
}

void TFormTableValues::BuildControls() {
    LbFunction = NamedLabel(this, "LbFunction", QStringLiteral("Формула"));
    // The list is the graphs' formulas; what the user types is what is tabulated.
    CBoxFunction = NamedEditableCombo(this, "CBoxFunction");

    RGrValues = new QGroupBox(QStringLiteral("Тип вычисления"), this);
    RGrValues->setObjectName(QStringLiteral("RGrValues"));
    ValuesGroup = new QButtonGroup(RGrValues);
    auto* interval = new QRadioButton(QStringLiteral("диапазон"), RGrValues);
    interval->setObjectName(QStringLiteral("RGrValuesInterval"));
    auto* point = new QRadioButton(QStringLiteral("точка"), RGrValues);
    point->setObjectName(QStringLiteral("RGrValuesPoint"));
    ValuesGroup->addButton(interval, 0);
    ValuesGroup->addButton(point, 1);
    interval->setChecked(true);
    auto* modeRow = new QHBoxLayout(RGrValues);
    modeRow->addWidget(interval);
    modeRow->addWidget(point);

    LbMin = NamedLabel(this, "LbMin", IntervalLabel);
    EdMin = NamedEdit(this, "EdMin", QStringLiteral("-10"));
    LbVar = NamedLabel(this, "LbVar", QStringLiteral("Имя переменной"));
    EdVar = NamedEdit(this, "EdVar", QStringLiteral("x"));
    EdVar->setMaxLength(1);

    PanelDiapazon = new QWidget(this);
    PanelDiapazon->setObjectName(QStringLiteral("PanelDiapazon"));
    LbMax = NamedLabel(PanelDiapazon, "LbMax", FromUtf8(kurvant::TabulationMaxLabel));
    EdMax = NamedEdit(PanelDiapazon, "EdMax", QStringLiteral("10"));
    LbStep = NamedLabel(PanelDiapazon, "LbStep", FromUtf8(kurvant::TabulationStepLabel));
    EdStep = NamedEdit(PanelDiapazon, "EdStep", QStringLiteral("1"));
    auto* panelGrid = new QGridLayout(PanelDiapazon);
    panelGrid->setContentsMargins(0, 0, 0, 0);
    panelGrid->addWidget(LbMax, 0, 0);
    panelGrid->addWidget(EdMax, 0, 1);
    panelGrid->addWidget(LbStep, 1, 0);
    panelGrid->addWidget(EdStep, 1, 1);
    // Point mode hides the panel; the dialog keeps its size and the grid its place.
    QSizePolicy panelPolicy = PanelDiapazon->sizePolicy();
    panelPolicy.setRetainSizeWhenHidden(true);
    PanelDiapazon->setSizePolicy(panelPolicy);

    BBtnOK = NamedButton(this, "BBtnOK", QStringLiteral("Считать"));
    BBtnOK->setDefault(true);
    BBtnSave = NamedButton(this, "BBtnSave", QStringLiteral("Сохранить"));
    BBtnCancel = NamedButton(this, "BBtnCancel", QStringLiteral("Закрыть"));
    connect(BBtnOK, &QPushButton::clicked, this, &TFormTableValues::BBtnOKClick);
    connect(BBtnSave, &QPushButton::clicked, this, &TFormTableValues::BBtnSaveClick);
    connect(BBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ValuesGroup, &QButtonGroup::idClicked, this, &TFormTableValues::RGrValuesClick);

    SGridTableValues = new QTableWidget(1, 2, this);
    SGridTableValues->setObjectName(QStringLiteral("SGridTableValues"));
    SGridTableValues->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGridTableValues->verticalHeader()->hide();
    SGridTableValues->verticalHeader()->setMinimumSectionSize(RowHeight);
    SGridTableValues->verticalHeader()->setDefaultSectionSize(RowHeight);
    SGridTableValues->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Row 0, the fixed header, is empty until the first table; so is the one row under it.
    for (int column = 0; column < 2; ++column)
        SGridTableValues->setHorizontalHeaderItem(column, new QTableWidgetItem(QString()));
    SGridTableValues->setMinimumHeight(240);

    // The edits and the combo show their whole text as their hint.
    for (QLineEdit* e : {EdMin, EdVar, EdMax, EdStep}) {
        e->setToolTip(e->text());
        connect(e, &QLineEdit::textChanged, e, [e](const QString& text) { e->setToolTip(text); });
    }
    connect(CBoxFunction, &QComboBox::currentTextChanged, CBoxFunction,
            [this](const QString& text) { CBoxFunction->setToolTip(text); });
    // The numbers take constant expressions too: "pi", "2pi", "1/3".
    FilterExpressionKeys(EdMin);
    FilterExpressionKeys(EdMax);
    FilterExpressionKeys(EdStep);
    // Upper-case letters may be typed too: the name is lowered before use.
    FilterNumberKeys(EdVar, QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));

    auto* inputs = new QGridLayout;
    inputs->addWidget(LbFunction, 0, 0);
    inputs->addWidget(CBoxFunction, 0, 1, 1, 3);
    inputs->addWidget(RGrValues, 1, 0, 1, 4);
    inputs->addWidget(LbMin, 2, 0);
    inputs->addWidget(EdMin, 2, 1);
    inputs->addWidget(LbVar, 2, 2);
    inputs->addWidget(EdVar, 2, 3);
    inputs->addWidget(PanelDiapazon, 3, 0, 1, 2);
    // The grid is docked along the bottom, edge to edge, so that its two columns fill it.
    LayOutOverGrid(this, inputs, {BBtnOK, BBtnSave, BBtnCancel}, SGridTableValues);
    resize(std::max(LaidOutWidth, sizeHint().width()), sizeHint().height());
    setFixedSize(size());
}

void TFormTableValues::FillFormulaList() {
    const QString text = CBoxFunction->currentText();
    CBoxFunction->clear();
    for (const std::string& formula : kurvant::TabulationFormulas(Ctx.Document))
        CBoxFunction->addItem(FromUtf8(formula));
    // Adding the first item selects it; the user's text comes back.
    CBoxFunction->setEditText(text);
}

bool TFormTableValues::PointMode() const {
    return ValuesGroup->checkedId() == 1;
}

void TFormTableValues::RGrValuesClick() {
    PanelDiapazon->setVisible(!PointMode());
    LbMin->setText(PointMode() ? PointLabel : IntervalLabel);
}

void TFormTableValues::BBtnOKClick() {
    const TWaitCursor wait(this);
    const QString formula = CBoxFunction->currentText().trimmed();
    CBoxFunction->setEditText(formula);
    const QString variable = EdVar->text().toLower().trimmed();
    EdVar->setText(variable);

    kurvant::TTabulationRequest request;
    request.Formula = formula.toStdString();
    request.Variable = variable.toStdString();
    request.PointMode = PointMode();
    request.Min = EdMin->text().toStdString();
    request.Max = EdMax->text().toStdString();
    request.Step = EdStep->text().toStdString();
    const kurvant::TTabulation table = kurvant::Tabulate(request, GroupSeparator, Ctx.Formula);
    if (table.Written) {
        ShowTable(table);
        TabulatedFormula = table.Formula;
    }
    if (table.Message) {
        FocusInput(table.Failed);
        if (Ctx.Services) {
            const QString text = FromUtf8(table.Message->Text);
            if (table.Message->Warning)
                Ctx.Services->Warning(this, ErrorCaption, text);
            else
                Ctx.Services->Error(this, ErrorCaption, text);
        }
    }
}

void TFormTableValues::ShowTable(const kurvant::TTabulation& table) {
    SGridTableValues->setUpdatesEnabled(false);
    SGridTableValues->horizontalHeaderItem(0)->setText(FromUtf8(table.Header.Variable));
    SGridTableValues->horizontalHeaderItem(1)->setText(FromUtf8(table.Header.Value));
    SGridTableValues->clearContents();
    SGridTableValues->setRowCount(static_cast<int>(table.Rows.size()));
    for (int row = 0; row < SGridTableValues->rowCount(); ++row) {
        const kurvant::TTabulationRow& r = table.Rows[static_cast<std::size_t>(row)];
        SGridTableValues->setItem(row, 0, new QTableWidgetItem(FromUtf8(r.Variable)));
        SGridTableValues->setItem(row, 1, new QTableWidgetItem(FromUtf8(r.Value)));
    }
    SGridTableValues->setUpdatesEnabled(true);
}

void TFormTableValues::FocusInput(kurvant::TTabulationField field) {
    using enum kurvant::TTabulationField;
    QLineEdit* edit = nullptr;
    switch (field) {
    case Formula:
        CBoxFunction->setFocus();
        return;
    case Variable:
        edit = EdVar;
        break;
    case Min:
        edit = EdMin;
        break;
    case Max:
        edit = EdMax;
        break;
    case Step:
        edit = EdStep;
        break;
    case None:
        return;
    }
    // The number can be typed again at once.
    edit->setFocus();
    edit->selectAll();
}

std::vector<kurvant::TTabulationRow> TFormTableValues::GridRows() const {
    const auto text = [this](int row, int column) {
        const QTableWidgetItem* item = row < 0 ? SGridTableValues->horizontalHeaderItem(column)
                                               : SGridTableValues->item(row, column);
        return item ? item->text().toStdString() : std::string();
    };
    std::vector<kurvant::TTabulationRow> rows;
    for (int row = -1; row < SGridTableValues->rowCount(); ++row)
        rows.push_back({text(row, 0), text(row, 1)});
    return rows;
}

void TFormTableValues::BBtnSaveClick() {
    if (!Ctx.Services)
        return;
    // The text files' filter adds ".txt" where the name lacks it; "any file" keeps the name. An
    // existing file is replaced only when the user says so.
    const std::optional<QString> chosen =
        ChooseSavePath(Ctx, this, QStringLiteral("Сохранить таблицу значений функции"),
                       QStringLiteral("Текстовые файлы (*.txt)|*.txt|Любые файлы (*.*)|*.*"),
                       {QStringLiteral(".txt"), QString()}, QString());
    if (!chosen)
        return;
    const QString path = *chosen;
    // Before the first table nothing was tabulated, and the combo's text stands in.
    const std::string formula =
        TabulatedFormula.value_or(CBoxFunction->currentText().toStdString());
    int error = 0;
    if (!WriteTextLines(path.toStdString(), kurvant::TabulationFileLines(formula, GridRows()),
                        *Ctx.Disk, &error))
        Ctx.Services->Error(
            this, ErrorCaption,
            FromUtf8(WithSystemReason(std::string(kurvant::TabulationSaveFailedMessage), error)));
}

void TFormTableValues::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
    CBoxFunction->setFocus();
}

void TFormTableValues::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    for (int column = 0; column < 2; ++column)
        SGridTableValues->setColumnWidth(column, width() / 2 - ColumnMargin);
}

#include "graphs/form_graphic.h"

#include "formula/number_text.h"
#include "graphs/autoscale.h"
#include "graphs/func_list.h"
#include "graphs/graph_input.h"
#include "graphs/number_checks.h"
#include "graphs/sampling.h"
#include "settings/color.h"
#include "widgets/app_context.h"
#include "widgets/color_box.h"
#include "widgets/line_width_box.h"
#include "widgets/named_controls.h"
#include "widgets/number_edits.h"
#include "widgets/ui_services.h"
#include "widgets/window_helpers.h"
#include "widgets/work_progress.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QStringList KindItems = {QStringLiteral("Декартова система координат Y(x)"),
                               QStringLiteral("Декартова система координат X(y)"),
                               QStringLiteral("Полярная система координат r(q)"),
                               QStringLiteral("Параметрические уравнения X(u) и Y(u)"),
                               QStringLiteral("Z(x, y)"),
                               QStringLiteral("Сферические координаты p(q, a)")};

} // namespace

TFormGraphic::TFormGraphic(TAppContext& ctx, QWidget* parent)
    : QDialog(parent), Ctx(ctx), FuncList1(new TFuncList(this)) {
    PrepareFixedDialog(this, "FormGraphic", QStringLiteral("График"));
    BuildControls();
    // The colour box asks through the dialog's chooser, which tests replace.
    ChooseCustomColor = ColorBoxGraphic->ChooseCustomColor;
    ColorBoxGraphic->ChooseCustomColor = [this](TColor current) {
        return ChooseCustomColor ? ChooseCustomColor(current) : std::nullopt;
    };
    // The labels of kind 0; the edits keep their initial texts until the dialog is shown.
    ApplyKindAppearance();
}

void TFormGraphic::BuildControls() {
    auto* label2 = NamedLabel(this, "Label2", QStringLiteral("Тип графика"));
    CBoxTypeGraphic = new QComboBox(this);
    CBoxTypeGraphic->setObjectName(QStringLiteral("CBoxTypeGraphic"));
    CBoxTypeGraphic->addItems(KindItems);
    CBoxTypeGraphic->setCurrentIndex(0);
    CBoxTypeGraphic->installEventFilter(this);

    GrBFunction = new QGroupBox(QStringLiteral("Функция"), this);
    GrBFunction->setObjectName(QStringLiteral("GrBFunction"));
    LbFunction = NamedLabel(GrBFunction, "LbFunction", QStringLiteral("Y(X)"));
    EdFunction = NamedEdit(GrBFunction, "EdFunction", QString());
    EdFunction->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    EdFunction->setMinimumWidth(320);
    LbFunction_2 = NamedLabel(GrBFunction, "LbFunction_2", QStringLiteral("Y(U)"));
    EdFunction_2 = NamedEdit(GrBFunction, "EdFunction_2", QString());
    auto* functionGrid = new QGridLayout(GrBFunction);
    functionGrid->addWidget(LbFunction, 0, 0);
    functionGrid->addWidget(EdFunction, 0, 1);
    functionGrid->addWidget(LbFunction_2, 1, 0);
    functionGrid->addWidget(EdFunction_2, 1, 1);

    auto* label1 = NamedLabel(this, "Label1", QStringLiteral("Цвет графика "));
    ColorBoxGraphic = new TColorBox(this);
    ColorBoxGraphic->setObjectName(QStringLiteral("ColorBoxGraphic"));
    ColorBoxGraphic->SelectColor(clMaroon);

    RGrBuilding = new QGroupBox(QStringLiteral("Построение"), this);
    RGrBuilding->setObjectName(QStringLiteral("RGrBuilding"));
    BuildingGroup = new QButtonGroup(RGrBuilding);
    auto* lines = new QRadioButton(QStringLiteral("линии"), RGrBuilding);
    lines->setObjectName(QStringLiteral("RGrBuildingLines"));
    auto* points = new QRadioButton(QStringLiteral("точки"), RGrBuilding);
    points->setObjectName(QStringLiteral("RGrBuildingPoints"));
    BuildingGroup->addButton(lines, 0);
    BuildingGroup->addButton(points, 1);
    lines->setChecked(true);
    auto* buildingRow = new QHBoxLayout(RGrBuilding);
    buildingRow->addWidget(lines);
    buildingRow->addWidget(points);

    CBoxExLine = new TLineWidthBox(this);
    CBoxExLine->setObjectName(QStringLiteral("CBoxExLine"));

    GrBInterval = new QGroupBox(QStringLiteral("Интервалы"), this);
    GrBInterval->setObjectName(QStringLiteral("GrBInterval"));
    LbMin = NamedLabel(GrBInterval, "LbMin", QString());
    EdMinX = NamedEdit(GrBInterval, "EdMinX", QStringLiteral("-10"));
    LbPiMin = NamedLabel(GrBInterval, "LbPiMin", QString());
    LbMax = NamedLabel(GrBInterval, "LbMax", QString());
    EdMaxX = NamedEdit(GrBInterval, "EdMaxX", QStringLiteral("10"));
    LbPiMax = NamedLabel(GrBInterval, "LbPiMax", QString());
    LbMinY = NamedLabel(GrBInterval, "LbMinY", QString());
    EdMinY = NamedEdit(GrBInterval, "EdMinY", QStringLiteral("-1"));
    LbPiMin2 = NamedLabel(GrBInterval, "LbPiMin2", QString());
    LbMaxY = NamedLabel(GrBInterval, "LbMaxY", QString());
    EdMaxY = NamedEdit(GrBInterval, "EdMaxY", QStringLiteral("1"));
    LbPiMax2 = NamedLabel(GrBInterval, "LbPiMax2", QString());
    auto* intervalGrid = new QGridLayout(GrBInterval);
    const QList<QList<QWidget*>> intervalRows = {{LbMin, EdMinX, LbPiMin},
                                                 {LbMax, EdMaxX, LbPiMax},
                                                 {LbMinY, EdMinY, LbPiMin2},
                                                 {LbMaxY, EdMaxY, LbPiMax2}};
    for (int row = 0; row < intervalRows.size(); ++row)
        for (int column = 0; column < 3; ++column)
            intervalGrid->addWidget(intervalRows[row][column], row, column);
    for (QLabel* pi : {LbPiMin, LbPiMax, LbPiMin2, LbPiMax2})
        pi->setMinimumWidth(pi->fontMetrics().horizontalAdvance(QStringLiteral("Pi")) + 2);

    GroupBox1 = new QGroupBox(QStringLiteral("Параметры построения"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    LbNumberStep = NamedLabel(GroupBox1, "LbNumberStep", QString());
    EdNumberStepX = NamedEdit(GroupBox1, "EdNumberStepX", QStringLiteral("500"));
    LbNumberStepY = NamedLabel(GroupBox1, "LbNumberStepY", QString());
    EdNumberStepY = NamedEdit(GroupBox1, "EdNumberStepY", QStringLiteral("500"));
    ChBoxGradation = new QCheckBox(QStringLiteral("Градация цветом"), GroupBox1);
    ChBoxGradation->setObjectName(QStringLiteral("ChBoxGradation"));
    auto* stepGrid = new QGridLayout(GroupBox1);
    stepGrid->addWidget(LbNumberStep, 0, 0);
    stepGrid->addWidget(EdNumberStepX, 0, 1);
    stepGrid->addWidget(LbNumberStepY, 1, 0);
    stepGrid->addWidget(EdNumberStepY, 1, 1);
    stepGrid->addWidget(ChBoxGradation, 2, 0, 1, 2);

    auto* buttons = OkCancelRow(this, BBtnOK, BBtnCancel);
    connect(BBtnOK, &QPushButton::clicked, this, &TFormGraphic::BBtnOKClick);

    // The edits with hints show their whole text as the hint; the step edits have none.
    for (QLineEdit* e : {EdFunction, EdFunction_2, EdMinX, EdMaxX, EdMinY, EdMaxY}) {
        e->setToolTip(e->text());
        connect(e, &QLineEdit::textChanged, e, [e](const QString& text) { e->setToolTip(text); });
    }
    for (QLineEdit* e : {EdFunction, EdFunction_2})
        e->installEventFilter(this);
    // Interval ends take numbers and constant expressions ("2pi", "-pi/2"); the first step count
    // digits only; the second step count is not filtered.
    for (QLineEdit* e : {EdMinX, EdMaxX, EdMinY, EdMaxY})
        FilterExpressionKeys(e);
    FilterNumberKeys(EdNumberStepX, QStringLiteral("0123456789"));
    connect(CBoxTypeGraphic, &QComboBox::currentIndexChanged, this,
            &TFormGraphic::CBoxTypeGraphicChange);
    // A kind chosen from the open list (with the mouse) hands the keyboard to the formula, where
    // what the user types next belongs; the arrow keys on the closed box keep it there.
    KindList = CBoxTypeGraphic->view()->window();
    KindList->installEventFilter(this);
    connect(CBoxTypeGraphic, &QComboBox::activated, this, [this] {
        if (KindListOpen)
            QTimer::singleShot(0, EdFunction, [this] { EdFunction->setFocus(); });
    });

    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(label2);
    kindRow->addWidget(CBoxTypeGraphic, 1);
    auto* styleRow = new QHBoxLayout;
    styleRow->addWidget(label1);
    styleRow->addWidget(ColorBoxGraphic, 1);
    styleRow->addWidget(RGrBuilding);
    styleRow->addWidget(CBoxExLine);
    auto* lower = new QHBoxLayout;
    lower->addWidget(GrBInterval);
    lower->addWidget(GroupBox1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kindRow);
    layout->addWidget(GrBFunction);
    layout->addLayout(styleRow);
    layout->addLayout(lower);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::vector<TColor> TFormGraphic::ColorItems() const {
    return ColorBoxGraphic->ColorItems();
}

TColor TFormGraphic::SelectedColor() const {
    return ColorBoxGraphic->SelectedColor();
}

void TFormGraphic::SelectColor(TColor c) {
    ColorBoxGraphic->SelectColor(c);
}

void TFormGraphic::ReportDocumentFull() {
    if (Ctx.Services)
        Ctx.Services->Error(this, FromUtf8(TooManyGraphsCaption), FromUtf8(TooManyGraphsMessage));
}

void TFormGraphic::CBoxTypeGraphicChange() {
    ApplyKindAppearance();
    if (Ctx.Document.EditMode != 0)
        return;
    const TIntervalTexts t = NewGraphIntervals(std::max(0, CBoxTypeGraphic->currentIndex()));
    EdMinX->setText(FromUtf8(t.MinX));
    EdMaxX->setText(FromUtf8(t.MaxX));
    EdMinY->setText(FromUtf8(t.MinY));
    EdMaxY->setText(FromUtf8(t.MaxY));
    EdNumberStepX->setText(FromUtf8(t.Steps));
    EdNumberStepY->setText(FromUtf8(t.Steps));
}

void TFormGraphic::ApplyKindAppearance() {
    const int kind = std::max(0, CBoxTypeGraphic->currentIndex());
    const TKindCaptions c = KindCaptions(kind);
    for (QLabel* pi : {LbPiMin, LbPiMax, LbPiMin2, LbPiMax2})
        pi->clear();
    for (QWidget* w :
         std::initializer_list<QWidget*>{EdFunction_2, LbFunction_2, LbMinY, LbMaxY, EdMinY, EdMaxY,
                                         LbNumberStepY, EdNumberStepY, LbPiMin2, LbPiMax2})
        w->hide();
    LbMin->setText(FromUtf8(c.LbMin));
    LbMax->setText(FromUtf8(c.LbMax));
    LbNumberStep->setText(FromUtf8(c.LbNumberStep));
    LbFunction->setText(FromUtf8(c.LbFunction));
    if (c.PiFirst) {
        LbPiMin->setText(QStringLiteral("Pi"));
        LbPiMax->setText(QStringLiteral("Pi"));
    }
    if (c.SecondFormula) {
        EdFunction_2->show();
        LbFunction_2->show();
    }
    if (c.SecondInterval()) {
        LbMinY->setText(FromUtf8(c.LbMinY));
        LbMaxY->setText(FromUtf8(c.LbMaxY));
        LbNumberStepY->setText(FromUtf8(c.LbNumberStepY));
        for (QWidget* w : std::initializer_list<QWidget*>{
                 LbMinY, LbMaxY, EdMinY, EdMaxY, LbNumberStepY, EdNumberStepY, LbPiMin2, LbPiMax2})
            w->show();
    }
    if (c.PiSecond) {
        LbPiMin2->setText(QStringLiteral("Pi"));
        LbPiMax2->setText(QStringLiteral("Pi"));
    }
}

bool TFormGraphic::PrepareForNewGraph() {
    AddStepText = "добавление графика";
    if (!Ctx.Document.CanAdd()) {
        ReportDocumentFull();
        return false;
    }
    EdFunction->clear();
    EdFunction_2->clear();
    CBoxTypeGraphic->setCurrentIndex(0);
    BuildingGroup->button(0)->setChecked(true);
    EdMinX->setText(QStringLiteral("-10"));
    EdMaxX->setText(QStringLiteral("10"));
    EdMinY->setText(QStringLiteral("-10"));
    EdMaxY->setText(QStringLiteral("10"));
    CBoxExLine->setCurrentIndex(2);
    EdNumberStepX->setText(QStringLiteral("500"));
    EdNumberStepY->setText(QStringLiteral("50"));
    ChBoxGradation->setChecked(false);
    const int item =
        FreeColorItem(Ctx.Document.ColorCounter, ColorItems(),
                      static_cast<TColor>(Ctx.Settings.BackGround), Ctx.Document.GraphColors());
    ColorBoxGraphic->SelectItem(item);
    Ctx.Document.EditMode = 0;
    EditPosition = -1;
    return true;
}

bool TFormGraphic::PrepareForEdit(int index) {
    if (index < 0 || index >= Ctx.Document.GraphCount())
        return false;
    const TGraphic& g = Ctx.Document.Graph(index);
    if (g.Kind > KindSpherical)
        return false;
    Ctx.Document.EditMode = 1;
    EditPosition = index;
    EdFunction->setText(QString::fromStdString(g.Formula));
    EdFunction_2->setText(QString::fromStdString(g.Formula2));
    SelectColor(g.Color);
    const bool points = g.Building == 1;
    BuildingGroup->button(points ? 1 : 0)->setChecked(true);
    const int style = points ? g.PointSizeIndex : g.LineWidthIndex;
    CBoxExLine->setCurrentIndex(style >= 0 && style < CBoxExLine->count() ? style : 2);
    ChBoxGradation->setChecked(g.Gradation);
    CBoxTypeGraphic->setCurrentIndex(g.Kind);
    const char sep = Ctx.Formula.DecimalSeparator;
    const auto number = [sep](double v) {
        return QString::fromStdString(kurvant::NumberText(v, sep));
    };
    if (g.Kind == KindXofY) {
        EdMinX->setText(number(g.MinY));
        EdMaxX->setText(number(g.MaxY));
        EdNumberStepX->setText(QString::number(g.StepsY));
    } else {
        EdMinX->setText(number(g.MinX));
        EdMaxX->setText(number(g.MaxX));
        EdNumberStepX->setText(QString::number(g.StepsX));
    }
    if (g.Kind == KindSurface || g.Kind == KindSpherical) {
        EdMinY->setText(number(g.MinY));
        EdMaxY->setText(number(g.MaxY));
        EdNumberStepY->setText(QString::number(g.StepsY));
    }
    return true;
}

QLineEdit* TFormGraphic::FieldEdit(int field) const {
    switch (static_cast<TGraphField>(field)) {
    case TGraphField::Function:
        return EdFunction;
    case TGraphField::Function2:
        return EdFunction_2;
    case TGraphField::MinX:
        return EdMinX;
    case TGraphField::MaxX:
        return EdMaxX;
    case TGraphField::MinY:
        return EdMinY;
    case TGraphField::MaxY:
        return EdMaxY;
    case TGraphField::StepsX:
        return EdNumberStepX;
    case TGraphField::StepsY:
        return EdNumberStepY;
    default:
        return nullptr;
    }
}

void TFormGraphic::BBtnOKClick() {
    const int kind = std::max(0, CBoxTypeGraphic->currentIndex());
    EdFunction->setText(EdFunction->text().trimmed().toLower());
    if (kind == KindParametric)
        EdFunction_2->setText(EdFunction_2->text().trimmed().toLower());

    TGraphInput input;
    input.Kind = kind;
    input.Function = EdFunction->text().toStdString();
    input.Function2 = EdFunction_2->text().toStdString();
    input.MinX = EdMinX->text().toStdString();
    input.MaxX = EdMaxX->text().toStdString();
    input.MinY = EdMinY->text().toStdString();
    input.MaxY = EdMaxY->text().toStdString();
    input.StepsX = EdNumberStepX->text().toStdString();
    input.StepsY = EdNumberStepY->text().toStdString();
    const TGraphCheck check = CheckGraphInput(input, Ctx.Settings.Asteriks, Ctx.Formula);

    for (const TGraphMessage& m : check.Messages) {
        if (!Ctx.Services)
            break;
        if (m.IsError)
            Ctx.Services->Error(this, FromUtf8(m.Caption), FromUtf8(m.Text));
        else
            Ctx.Services->Information(this, FromUtf8(m.Caption), FromUtf8(m.Text));
    }
    if (!check.Ok) {
        if (QLineEdit* edit = FieldEdit(static_cast<int>(check.Failed))) {
            edit->setFocus();
            edit->selectAll();
        }
        Redraw();
        return;
    }

    TGraphStyle style;
    style.Color = SelectedColor();
    style.Building = BuildingGroup->checkedId() == 1 ? 1 : 0;
    style.SizeIndex = CBoxExLine->currentIndex();
    style.Gradation = ChBoxGradation->isChecked();

    const bool editing =
        Ctx.Document.EditMode == 1 && EditPosition >= 0 && EditPosition < Ctx.Document.GraphCount();
    if (!editing && !Ctx.Document.CanAdd()) {
        ReportDocumentFull();
        Redraw();
        return;
    }
    // The record keeps what this kind does not use (another kind's interval, Formula2).
    TGraphic graphic = editing ? Ctx.Document.Graph(EditPosition) : TGraphic{};
    StoreGraphInput(input, check, style, graphic);
    std::vector<TPoint3D>().swap(graphic.Points);
    // Sampled before the document changes: a cancelled sampling keeps the old graph, and the
    // dialog stays open with what the user typed.
    kurvant::TFormulaContext context = Ctx.Formula;
    if (!RunWithProgress(this, SamplingWork(graphic), [&](kurvant::TBatchControl& control) {
            context.Batch = &control;
            Fill_Pixels_Graphic(graphic, Ctx.Settings, context);
        }))
        return;
    if (editing)
        Ctx.Document.EditStep(EditPosition, std::move(graphic), Ctx.Settings);
    else
        Ctx.Document.AddStep(std::move(graphic), Ctx.Settings, AddStepText);
    accept();
    if (GraphStored)
        GraphStored();
    Redraw();
}

void TFormGraphic::Redraw() {
    if (Ctx.Document.Hooks.Redraw)
        Ctx.Document.Hooks.Redraw();
}

void TFormGraphic::OpenFuncList(int pickTarget) {
    static const QList<QStringList> letters = {{QStringLiteral("x")},
                                               {QStringLiteral("y")},
                                               {QStringLiteral("q")},
                                               {QStringLiteral("u")},
                                               {QStringLiteral("x"), QStringLiteral("y")},
                                               {QStringLiteral("q"), QStringLiteral("a")}};
    const int kind = std::clamp(CBoxTypeGraphic->currentIndex(), 0, 5);
    if (pickTarget == 0)
        FuncList1->SetTarget(EdFunction, letters[kind]);
    else
        FuncList1->SetTarget(EdFunction_2, kind == KindParametric ? QStringList{QStringLiteral("u")}
                                                                  : QStringList{});
    FuncList1->exec();
}

void TFormGraphic::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (Ctx.Document.EditMode == 1 && EditPosition >= 0 && EditPosition < Ctx.Document.GraphCount())
        SelectColor(Ctx.Document.Graph(EditPosition).Color);
    CBoxTypeGraphicChange();
    // The kind decides which rows are shown and so the dialog's size: lay it out now, then centre
    // it with the size it will have on screen.
    layout()->activate();
    CentreOnScreen(this);
    EdFunction->setFocus();
}

bool TFormGraphic::eventFilter(QObject* watched, QEvent* event) {
    if (watched == KindList) {
        // The choice is announced just after the list closes.
        if (event->type() == QEvent::Show)
            KindListOpen = true;
        else if (event->type() == QEvent::Hide)
            QTimer::singleShot(0, this, [this] { KindListOpen = false; });
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == CBoxTypeGraphic)
        return key->key() == Qt::Key_Backspace;
    if (watched == EdFunction || watched == EdFunction_2) {
        if (key->key() == Qt::Key_Space && (key->modifiers() & Qt::ControlModifier)) {
            OpenFuncList(watched == EdFunction ? 0 : 1);
            return true;
        }
        return false;
    }
    return QDialog::eventFilter(watched, event);
}

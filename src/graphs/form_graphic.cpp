#include "graphs/form_graphic.h"

#include "app/app_context.h"
#include "app/ui_services.h"
#include "documents/color_text.h"
#include "formula/number_text.h"
#include "graphs/autoscale.h"
#include "graphs/func_list.h"
#include "graphs/graph_input.h"
#include "graphs/number_checks.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QStringList KindItems = {QStringLiteral("Декартова система координат Y(x)"),
                               QStringLiteral("Декартова система координат X(y)"),
                               QStringLiteral("Полярная система координат r(q)"),
                               QStringLiteral("Параметрические уравнения X(u) и Y(u)"),
                               QStringLiteral("Z(x, y)"),
                               QStringLiteral("Сферические координаты p(q, a)")};

// The shown names of the colour table's twenty colours, in its order.
const QStringList ColorItemNames = {
    QStringLiteral("Black"), QStringLiteral("Maroon"),      QStringLiteral("Green"),
    QStringLiteral("Olive"), QStringLiteral("Navy"),        QStringLiteral("Purple"),
    QStringLiteral("Teal"),  QStringLiteral("Gray"),        QStringLiteral("Silver"),
    QStringLiteral("Red"),   QStringLiteral("Lime"),        QStringLiteral("Yellow"),
    QStringLiteral("Blue"),  QStringLiteral("Fuchsia"),     QStringLiteral("Aqua"),
    QStringLiteral("White"), QStringLiteral("Money Green"), QStringLiteral("Sky Blue"),
    QStringLiteral("Cream"), QStringLiteral("Medium Gray")};

const QString ErrorCaption = QStringLiteral("Ошибка");

QString Utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QColor ToQColor(TColor c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

TColor FromQColor(const QColor& c) {
    return static_cast<TColor>(c.red()) | (static_cast<TColor>(c.green()) << 8) |
           (static_cast<TColor>(c.blue()) << 16);
}

QIcon Swatch(TColor c) {
    QPixmap pixmap(16, 12);
    pixmap.fill(ToQColor(c));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

QIcon LineSample(double width) {
    QPixmap pixmap(64, 14);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, width));
    painter.drawLine(QPointF(4, 7), QPointF(60, 7));
    return QIcon(pixmap);
}

QLineEdit* Edit(QWidget* parent, const char* name, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// Keys a number edit lets through: besides `allowed`, Backspace, and every key that types no
// character (arrows, Delete, Tab, Enter) or is a shortcut.
bool KeyAllowed(const QKeyEvent* key, const QString& allowed) {
    if (key->key() == Qt::Key_Backspace)
        return true;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return true;
    const QString text = key->text();
    if (text.isEmpty() || text.front().unicode() < 0x20 || text.front().unicode() == 0x7F)
        return true;
    return text.size() == 1 && allowed.contains(text.front());
}

} // namespace

bool Is_float_number(TAppContext& ctx, QWidget* parent, const QString& text, const QString& suffix,
                     double minimum, double maximum, double& value) {
    std::string message;
    if (Is_float_number(text.toStdString(), suffix.toStdString(), minimum, maximum, value,
                        ctx.Formula.DecimalSeparator, message))
        return true;
    if (ctx.Services)
        ctx.Services->Error(parent, ErrorCaption, QString::fromStdString(message));
    return false;
}

bool Is_int_number(TAppContext& ctx, QWidget* parent, const QString& text, std::int32_t minimum,
                   std::int32_t maximum, std::int32_t& value) {
    std::string message;
    if (Is_int_number(text.toStdString(), minimum, maximum, value, ctx.Formula.DecimalSeparator,
                      message))
        return true;
    if (ctx.Services)
        ctx.Services->Error(parent, ErrorCaption, QString::fromStdString(message));
    return false;
}

TFormGraphic::TFormGraphic(TAppContext& ctx, QWidget* parent)
    : QDialog(parent), Ctx(ctx), FuncList1(new TFuncList(this)) {
    setObjectName(QStringLiteral("FormGraphic"));
    setWindowTitle(QStringLiteral("График"));
    setModal(true);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ChooseCustomColor = [this](TColor current) -> std::optional<TColor> {
        const QColor c = QColorDialog::getColor(ToQColor(current), this);
        if (!c.isValid())
            return std::nullopt;
        return FromQColor(c);
    };
    BuildControls();
    // The labels of kind 0; the edits keep their initial texts until the dialog is shown.
    ApplyKindAppearance();
}

void TFormGraphic::BuildControls() {
    auto* label2 = Label(this, "Label2", QStringLiteral("Тип графика"));
    CBoxTypeGraphic = new QComboBox(this);
    CBoxTypeGraphic->setObjectName(QStringLiteral("CBoxTypeGraphic"));
    CBoxTypeGraphic->addItems(KindItems);
    CBoxTypeGraphic->setCurrentIndex(0);
    CBoxTypeGraphic->installEventFilter(this);

    GrBFunction = new QGroupBox(QStringLiteral("Функция"), this);
    GrBFunction->setObjectName(QStringLiteral("GrBFunction"));
    LbFunction = Label(GrBFunction, "LbFunction", QStringLiteral("Y(X)"));
    EdFunction = Edit(GrBFunction, "EdFunction", QString());
    EdFunction->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    EdFunction->setMinimumWidth(320);
    LbFunction_2 = Label(GrBFunction, "LbFunction_2", QStringLiteral("Y(U)"));
    EdFunction_2 = Edit(GrBFunction, "EdFunction_2", QString());
    auto* functionGrid = new QGridLayout(GrBFunction);
    functionGrid->addWidget(LbFunction, 0, 0);
    functionGrid->addWidget(EdFunction, 0, 1);
    functionGrid->addWidget(LbFunction_2, 1, 0);
    functionGrid->addWidget(EdFunction_2, 1, 1);

    auto* label1 = Label(this, "Label1", QStringLiteral("Цвет графика "));
    ColorBoxGraphic = new QComboBox(this);
    ColorBoxGraphic->setObjectName(QStringLiteral("ColorBoxGraphic"));
    FillColorBox();
    connect(ColorBoxGraphic, &QComboBox::activated, this, &TFormGraphic::ColorBoxGraphicSelect);

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

    CBoxExLine = new QComboBox(this);
    CBoxExLine->setObjectName(QStringLiteral("CBoxExLine"));
    CBoxExLine->setIconSize(QSize(64, 14));
    for (double size : SizeTable)
        CBoxExLine->addItem(LineSample(size), QString());
    CBoxExLine->setCurrentIndex(2);

    GrBInterval = new QGroupBox(QStringLiteral("Интервалы"), this);
    GrBInterval->setObjectName(QStringLiteral("GrBInterval"));
    LbMin = Label(GrBInterval, "LbMin", QString());
    EdMinX = Edit(GrBInterval, "EdMinX", QStringLiteral("-10"));
    LbPiMin = Label(GrBInterval, "LbPiMin", QString());
    LbMax = Label(GrBInterval, "LbMax", QString());
    EdMaxX = Edit(GrBInterval, "EdMaxX", QStringLiteral("10"));
    LbPiMax = Label(GrBInterval, "LbPiMax", QString());
    LbMinY = Label(GrBInterval, "LbMinY", QString());
    EdMinY = Edit(GrBInterval, "EdMinY", QStringLiteral("-1"));
    LbPiMin2 = Label(GrBInterval, "LbPiMin2", QString());
    LbMaxY = Label(GrBInterval, "LbMaxY", QString());
    EdMaxY = Edit(GrBInterval, "EdMaxY", QStringLiteral("1"));
    LbPiMax2 = Label(GrBInterval, "LbPiMax2", QString());
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
    LbNumberStep = Label(GroupBox1, "LbNumberStep", QString());
    EdNumberStepX = Edit(GroupBox1, "EdNumberStepX", QStringLiteral("500"));
    LbNumberStepY = Label(GroupBox1, "LbNumberStepY", QString());
    EdNumberStepY = Edit(GroupBox1, "EdNumberStepY", QStringLiteral("500"));
    ChBoxGradation = new QCheckBox(QStringLiteral("Градация цветом"), GroupBox1);
    ChBoxGradation->setObjectName(QStringLiteral("ChBoxGradation"));
    auto* stepGrid = new QGridLayout(GroupBox1);
    stepGrid->addWidget(LbNumberStep, 0, 0);
    stepGrid->addWidget(EdNumberStepX, 0, 1);
    stepGrid->addWidget(LbNumberStepY, 1, 0);
    stepGrid->addWidget(EdNumberStepY, 1, 1);
    stepGrid->addWidget(ChBoxGradation, 2, 0, 1, 2);

    BBtnOK = new QPushButton(QStringLiteral("OK"), this);
    BBtnOK->setObjectName(QStringLiteral("BBtnOK"));
    BBtnOK->setDefault(true);
    BBtnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    BBtnCancel->setObjectName(QStringLiteral("BBtnCancel"));
    BBtnCancel->setAutoDefault(false);
    connect(BBtnOK, &QPushButton::clicked, this, &TFormGraphic::BBtnOKClick);
    connect(BBtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    // The edits with hints show their whole text as the hint; the step edits have none.
    for (QLineEdit* e : {EdFunction, EdFunction_2, EdMinX, EdMaxX, EdMinY, EdMaxY}) {
        e->setToolTip(e->text());
        connect(e, &QLineEdit::textChanged, e, [e](const QString& text) { e->setToolTip(text); });
    }
    for (QLineEdit* e : {EdFunction, EdFunction_2, EdMinX, EdMaxX, EdMinY, EdMaxY, EdNumberStepX})
        e->installEventFilter(this);
    connect(CBoxTypeGraphic, &QComboBox::currentIndexChanged, this,
            &TFormGraphic::CBoxTypeGraphicChange);

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
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BBtnOK);
    buttons->addWidget(BBtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kindRow);
    layout->addWidget(GrBFunction);
    layout->addLayout(styleRow);
    layout->addLayout(lower);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormGraphic::FillColorBox() {
    ColorBoxGraphic->addItem(Swatch(clBlack), QStringLiteral("Custom..."),
                             QVariant::fromValue(static_cast<uint>(clBlack)));
    for (std::size_t i = 0; i < ColorNames.size(); ++i)
        ColorBoxGraphic->addItem(Swatch(ColorNames[i].Value),
                                 ColorItemNames[static_cast<qsizetype>(i)],
                                 QVariant::fromValue(static_cast<uint>(ColorNames[i].Value)));
    SelectColor(clMaroon);
}

std::vector<TColor> TFormGraphic::ColorItems() const {
    std::vector<TColor> items;
    for (int i = 0; i < ColorBoxGraphic->count(); ++i)
        items.push_back(static_cast<TColor>(ColorBoxGraphic->itemData(i).toUInt()));
    return items;
}

TColor TFormGraphic::SelectedColor() const {
    return static_cast<TColor>(ColorBoxGraphic->currentData().toUInt());
}

void TFormGraphic::SelectColor(TColor c) {
    for (int i = 1; i < ColorBoxGraphic->count(); ++i)
        if (static_cast<TColor>(ColorBoxGraphic->itemData(i).toUInt()) == c) {
            ColorBoxGraphic->setCurrentIndex(i);
            LastColorItem = i;
            return;
        }
    ColorBoxGraphic->setItemData(0, QVariant::fromValue(static_cast<uint>(c)));
    ColorBoxGraphic->setItemIcon(0, Swatch(c));
    ColorBoxGraphic->setCurrentIndex(0);
    LastColorItem = 0;
}

void TFormGraphic::ColorBoxGraphicSelect(int item) {
    if (item != 0) {
        LastColorItem = item;
        return;
    }
    const auto current = static_cast<TColor>(ColorBoxGraphic->itemData(0).toUInt());
    const std::optional<TColor> chosen =
        ChooseCustomColor ? ChooseCustomColor(current) : std::nullopt;
    if (!chosen) {
        // Cancelling the chooser keeps the colour that was selected before.
        ColorBoxGraphic->setCurrentIndex(LastColorItem);
        return;
    }
    ColorBoxGraphic->setItemData(0, QVariant::fromValue(static_cast<uint>(*chosen)));
    ColorBoxGraphic->setItemIcon(0, Swatch(*chosen));
    LastColorItem = 0;
}

void TFormGraphic::CBoxTypeGraphicChange() {
    ApplyKindAppearance();
    if (Ctx.Document.EditMode != 0)
        return;
    const TIntervalTexts t = NewGraphIntervals(std::max(0, CBoxTypeGraphic->currentIndex()));
    EdMinX->setText(Utf8(t.MinX));
    EdMaxX->setText(Utf8(t.MaxX));
    EdMinY->setText(Utf8(t.MinY));
    EdMaxY->setText(Utf8(t.MaxY));
    EdNumberStepX->setText(Utf8(t.Steps));
    EdNumberStepY->setText(Utf8(t.Steps));
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
    LbMin->setText(Utf8(c.LbMin));
    LbMax->setText(Utf8(c.LbMax));
    LbNumberStep->setText(Utf8(c.LbNumberStep));
    LbFunction->setText(Utf8(c.LbFunction));
    if (c.PiFirst) {
        LbPiMin->setText(QStringLiteral("Pi"));
        LbPiMax->setText(QStringLiteral("Pi"));
    }
    if (c.SecondFormula) {
        EdFunction_2->show();
        LbFunction_2->show();
    }
    if (c.SecondInterval()) {
        LbMinY->setText(Utf8(c.LbMinY));
        LbMaxY->setText(Utf8(c.LbMaxY));
        LbNumberStepY->setText(Utf8(c.LbNumberStepY));
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
    if (!Ctx.Document.CanAdd()) {
        if (Ctx.Services)
            Ctx.Services->Error(this, QStringLiteral("Добавление графика"),
                                QStringLiteral("Количество графиков должно быть не больше 100!"));
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
    const int item = ProposedColorItem(Ctx.Document.ColorCounter, ColorItems(),
                                       static_cast<TColor>(Ctx.Settings.BackGround));
    ColorBoxGraphic->setCurrentIndex(item);
    LastColorItem = item;
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
            Ctx.Services->Error(this, Utf8(m.Caption), Utf8(m.Text));
        else
            Ctx.Services->Information(this, Utf8(m.Caption), Utf8(m.Text));
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

    int index = -1;
    if (Ctx.Document.EditMode == 1 && EditPosition >= 0 &&
        EditPosition < Ctx.Document.GraphCount()) {
        // The record keeps what this kind does not use (another kind's interval, Formula2).
        TGraphic graphic = Ctx.Document.Graph(EditPosition);
        StoreGraphInput(input, check, style, graphic);
        index = EditPosition;
        Ctx.Document.Replace(index, std::move(graphic));
    } else {
        TGraphic graphic;
        StoreGraphInput(input, check, style, graphic);
        index = Ctx.Document.Add(std::move(graphic));
        if (index < 0) {
            if (Ctx.Services)
                Ctx.Services->Error(
                    this, QStringLiteral("Добавление графика"),
                    QStringLiteral("Количество графиков должно быть не больше 100!"));
            Redraw();
            return;
        }
    }
    Ctx.Document.Resample(index, Ctx.Settings, Ctx.Formula);
    AutoScale(Ctx.Document, Ctx.Settings);
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
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
    EdFunction->setFocus();
}

bool TFormGraphic::eventFilter(QObject* watched, QEvent* event) {
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
    if (watched == EdMinX || watched == EdMaxX || watched == EdMinY || watched == EdMaxY)
        return !KeyAllowed(key, QStringLiteral("0123456789.,-"));
    if (watched == EdNumberStepX)
        return !KeyAllowed(key, QStringLiteral("0123456789"));
    return QDialog::eventFilter(watched, event);
}

#include "analysis/form_other.h"

#include "analysis/tangent.h"
#include "graphs/form_graphic.h"
#include "graphs/graph_input.h"
#include "widgets/app_context.h"
#include "widgets/color_box.h"
#include "widgets/named_controls.h"
#include "widgets/number_edits.h"
#include "widgets/ui_services.h"
#include "widgets/window_helpers.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

TFormOther::TFormOther(TAppContext& ctx, TFormGraphic* graphDialog, QWidget* parent)
    : QDialog(parent), Ctx(ctx), GraphDialog(graphDialog) {
    PrepareFixedDialog(this, "FormOther", QStringLiteral("Касательная / нормаль"));
    BuildControls();
}

void TFormOther::BuildControls() {
    auto* lbFunction = new QLabel(QStringLiteral("Формула"), this);
    lbFunction->setObjectName(QStringLiteral("LbFunction"));
    CBoxFunction = new QComboBox(this);
    CBoxFunction->setObjectName(QStringLiteral("CBoxFunction"));
    CBoxFunction->setMinimumWidth(300);

    RGrLine = new QGroupBox(QStringLiteral("Вид прямой"), this);
    RGrLine->setObjectName(QStringLiteral("RGrLine"));
    LineGroup = new QButtonGroup(RGrLine);
    auto* tangent = new QRadioButton(QStringLiteral("касательная"), RGrLine);
    tangent->setObjectName(QStringLiteral("RGrLineTangent"));
    auto* normal = new QRadioButton(QStringLiteral("нормаль"), RGrLine);
    normal->setObjectName(QStringLiteral("RGrLineNormal"));
    LineGroup->addButton(tangent, static_cast<int>(kurvant::TLineKind::Tangent));
    LineGroup->addButton(normal, static_cast<int>(kurvant::TLineKind::Normal));
    tangent->setChecked(true);
    auto* lineRow = new QHBoxLayout(RGrLine);
    lineRow->addWidget(tangent);
    lineRow->addWidget(normal);

    LbVar = new QLabel(FromUtf8(kurvant::TangentPointLabel), this);
    LbVar->setObjectName(QStringLiteral("LbVar"));
    EdVar = new QLineEdit(this);
    EdVar->setObjectName(QStringLiteral("EdVar"));
    FilterExpressionKeys(EdVar);

    auto* buttons = OkCancelRow(this, BBtnOK, BBtnCancel);
    connect(BBtnOK, &QPushButton::clicked, this, &TFormOther::BBtnOKClick);

    // The point's edit and the list show their whole text as their hint.
    connect(EdVar, &QLineEdit::textChanged, EdVar,
            [this](const QString& text) { EdVar->setToolTip(text); });
    connect(CBoxFunction, &QComboBox::currentTextChanged, CBoxFunction,
            [this](const QString& text) { CBoxFunction->setToolTip(text); });

    auto* pointRow = new QHBoxLayout;
    pointRow->addWidget(LbVar);
    pointRow->addWidget(EdVar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbFunction);
    layout->addWidget(CBoxFunction);
    layout->addWidget(RGrLine);
    layout->addLayout(pointRow);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormOther::FillGraphList() {
    CBoxFunction->clear();
    for (const std::string& entry : kurvant::TangentGraphEntries(Ctx.Document))
        CBoxFunction->addItem(FromUtf8(entry));
    CBoxFunction->setCurrentIndex(-1);
}

void TFormOther::ReportError(const QString& text) {
    if (Ctx.Services)
        Ctx.Services->Error(this, QStringLiteral("Ошибка"), text);
}

void TFormOther::BBtnOKClick() {
    EdVar->setText(EdVar->text().trimmed());
    // No graph at all: nothing this dialog could offer, so it closes.
    if (Ctx.Document.GraphCount() == 0) {
        ReportError(FromUtf8(kurvant::NoMatchingGraphMessage));
        reject();
        return;
    }
    const int index =
        CBoxFunction->currentIndex() < 0
            ? -1
            : kurvant::TangentGraphIndex(Ctx.Document, CBoxFunction->currentText().toStdString());
    if (index < 0) {
        ReportError(FromUtf8(kurvant::ChooseGraphMessage));
        return;
    }
    double x0 = 0;
    if (!CheckFloatEdit(Ctx, EdVar, LbVar->text(), QString(), -kurvant::MaxTangentPoint,
                        kurvant::MaxTangentPoint, x0))
        return;
    const TGraphic& graphic = Ctx.Document.Graph(index);
    const auto kind = static_cast<kurvant::TLineKind>(std::max(0, LineGroup->checkedId()));
    const kurvant::TLineFormula line = kurvant::LineFormula(graphic, x0, kind, Ctx.Formula);
    if (!line.Ok) {
        EdVar->setFocus();
        ReportError(FromUtf8(line.Message));
        return;
    }
    OfferLine(line.Formula, graphic.Kind);
}

void TFormOther::OfferLine(const std::string& formula, int kind) {
    if (!GraphDialog)
        return;
    TFormGraphic& g = *GraphDialog;
    // A new graph: the kind's change and the showing keep the interval texts set below.
    Ctx.Document.EditMode = 0;
    g.AddStepText = LineGroup->checkedId() == static_cast<int>(kurvant::TLineKind::Normal)
                        ? "добавление нормали"
                        : "добавление касательной";
    g.EdFunction->setText(FromUtf8(formula));
    g.EdFunction_2->clear();
    g.CBoxTypeGraphic->setCurrentIndex(kind);
    g.EdMinX->setText(QStringLiteral("-10"));
    g.EdMaxX->setText(QStringLiteral("10"));
    g.EdNumberStepX->setText(QStringLiteral("500"));
    // The line is a new graph like any other: the first colour that no graph has.
    const int item =
        FreeColorItem(Ctx.Document.ColorCounter, g.ColorBoxGraphic->ColorItems(),
                      static_cast<TColor>(Ctx.Settings.BackGround), Ctx.Document.GraphColors());
    if (item >= 0)
        g.ColorBoxGraphic->SelectItem(item);
    g.exec();
}

void TFormOther::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

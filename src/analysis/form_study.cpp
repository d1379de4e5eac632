#include "analysis/form_study.h"

#include "analysis/tangent.h"
#include "formula/locale_separator.h"
#include "graphs/autoscale.h"
#include "widgets/app_context.h"
#include "widgets/named_controls.h"
#include "widgets/number_edits.h"
#include "widgets/ui_services.h"
#include "widgets/window_helpers.h"
#include "widgets/work_progress.h"

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
const QString StudyCaption = QStringLiteral("Исследование функции");
constexpr int RowHeight = 18;

// The number of the graph's interval end as the number edits show it.
QString EndText(double value, char separator) {
    QString text = QString::number(value, 'g', 15);
    if (separator != '.')
        text.replace(QLatin1Char('.'), QLatin1Char(separator));
    return text;
}

} // namespace

TFormStudy::TFormStudy(TAppContext& ctx, QWidget* parent)
    : QDialog(parent), GroupSeparator(kurvant::LocaleGroupSeparator()), Ctx(ctx) {
    PrepareFixedDialog(this, "FormStudy", StudyCaption);
    BuildControls();
}

void TFormStudy::BuildControls() {
    auto* lbFunction = NamedLabel(this, "LbFunction", QStringLiteral("График или формула"));
    // The list is the graphs; what the user types is a formula of the letter beside it.
    CBoxFunction = NamedEditableCombo(this, "CBoxFunction");
    CBoxFunction->setMinimumWidth(300);
    auto* lbVar = NamedLabel(this, "LbVar", QStringLiteral("Имя переменной"));
    EdVar = NamedEdit(this, "EdVar", QStringLiteral("x"));
    EdVar->setMaxLength(1);
    FilterNumberKeys(EdVar, QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    auto* lbFunction2 = NamedLabel(this, "LbFunction2", QStringLiteral("Второй график"));
    CBoxFunction2 = NamedEditableCombo(this, "CBoxFunction2");
    auto* lbMin = NamedLabel(this, "LbMin", FromUtf8(kurvant::StudyMinLabel));
    EdMin = NamedEdit(this, "EdMin", QStringLiteral("-10"));
    auto* lbMax = NamedLabel(this, "LbMax", FromUtf8(kurvant::StudyMaxLabel));
    EdMax = NamedEdit(this, "EdMax", QStringLiteral("10"));
    // The ends take numbers and constant expressions: "e", "2pi", "-pi/2".
    FilterExpressionKeys(EdMin);
    FilterExpressionKeys(EdMax);

    RGrStudy = new QGroupBox(QStringLiteral("Найти"), this);
    RGrStudy->setObjectName(QStringLiteral("RGrStudy"));
    StudyGroup = new QButtonGroup(RGrStudy);
    auto* row = new QHBoxLayout(RGrStudy);
    const std::pair<const char*, QString> kinds[] = {
        {"RGrStudyZeros", QStringLiteral("Нули")},
        {"RGrStudyExtrema", QStringLiteral("Экстремумы")},
        {"RGrStudyIntersections", QStringLiteral("Пересечения")},
        {"RGrStudyArea", QStringLiteral("Площадь")}};
    int id = 0;
    for (const auto& [name, caption] : kinds) {
        auto* button = new QRadioButton(caption, RGrStudy);
        SetName(button, name);
        StudyGroup->addButton(button, id++);
        row->addWidget(button);
    }
    StudyGroup->button(0)->setChecked(true);

    BBtnOK = NamedButton(this, "BBtnOK", QStringLiteral("Найти"));
    BBtnOK->setDefault(true);
    BBtnMark = NamedButton(this, "BBtnMark", QStringLiteral("Отметить на графике"));
    BBtnMark->setEnabled(false);
    BBtnCancel = NamedButton(this, "BBtnCancel", QStringLiteral("Закрыть"));
    connect(BBtnOK, &QPushButton::clicked, this, &TFormStudy::BBtnOKClick);
    connect(BBtnMark, &QPushButton::clicked, this, &TFormStudy::BBtnMarkClick);
    connect(BBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(StudyGroup, &QButtonGroup::idClicked, this, &TFormStudy::KindChanged);
    connect(CBoxFunction, &QComboBox::textActivated, this, &TFormStudy::GraphPicked);

    SGridStudy = new QTableWidget(0, 1, this);
    SGridStudy->setObjectName(QStringLiteral("SGridStudy"));
    SGridStudy->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGridStudy->verticalHeader()->hide();
    SGridStudy->verticalHeader()->setDefaultSectionSize(RowHeight);
    SGridStudy->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    SGridStudy->setMinimumHeight(240);

    auto* inputs = new QGridLayout;
    inputs->addWidget(lbFunction, 0, 0);
    inputs->addWidget(CBoxFunction, 0, 1, 1, 3);
    inputs->addWidget(lbFunction2, 1, 0);
    inputs->addWidget(CBoxFunction2, 1, 1, 1, 3);
    inputs->addWidget(lbMin, 2, 0);
    inputs->addWidget(EdMin, 2, 1);
    inputs->addWidget(lbMax, 2, 2);
    inputs->addWidget(EdMax, 2, 3);
    inputs->addWidget(lbVar, 3, 0);
    inputs->addWidget(EdVar, 3, 1);
    inputs->addWidget(RGrStudy, 4, 0, 1, 4);
    LayOutOverGrid(this, inputs, {BBtnOK, BBtnMark, BBtnCancel}, SGridStudy);
    // What the last study could not answer for, under its grid: room for three lines is kept, so
    // that the dialog keeps its size.
    LbNote = NamedLabel(this, "LbStudyNote", QString());
    LbNote->setWordWrap(true);
    LbNote->setContentsMargins(6, 2, 6, 4);
    LbNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LbNote->setFixedHeight(3 * LbNote->fontMetrics().lineSpacing() + 8);
    layout()->addWidget(LbNote);
    KindChanged();
    resize(sizeHint());
    setFixedSize(size());
}

void TFormStudy::FillGraphList() {
    for (QComboBox* box : {CBoxFunction, CBoxFunction2}) {
        const QString text = box->currentText();
        box->clear();
        for (const std::string& entry : kurvant::TangentGraphEntries(Ctx.Document))
            box->addItem(FromUtf8(entry));
        // No entry is picked until the user picks one (the first is a key press away); the
        // typed text stays.
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
}

kurvant::TStudyKind TFormStudy::Kind() const {
    return static_cast<kurvant::TStudyKind>(StudyGroup->checkedId());
}

void TFormStudy::KindChanged() {
    CBoxFunction2->setEnabled(Kind() == kurvant::TStudyKind::Intersections);
}

void TFormStudy::GraphPicked(const QString& text) {
    const std::string entry = text.toStdString();
    const auto interval = kurvant::StudyIntervalOf(Ctx.Document, entry);
    if (!interval)
        return;
    const char separator = Ctx.Formula.DecimalSeparator;
    EdMin->setText(EndText(interval->first, separator));
    EdMax->setText(EndText(interval->second, separator));
    const kurvant::TStudyFormula formula = kurvant::StudyFormulaOf(Ctx.Document, entry);
    if (formula.Variable != 0)
        EdVar->setText(QString(QLatin1Char(formula.Variable)));
}

void TFormStudy::BBtnOKClick() {
    kurvant::TStudyRequest request;
    request.Kind = Kind();
    request.First =
        kurvant::StudyFormulaOf(Ctx.Document, CBoxFunction->currentText().toStdString());
    if (request.Kind == kurvant::TStudyKind::Intersections)
        request.Second =
            kurvant::StudyFormulaOf(Ctx.Document, CBoxFunction2->currentText().toStdString());
    request.Variable = EdVar->text().toStdString();
    request.Min = EdMin->text().toStdString();
    request.Max = EdMax->text().toStdString();
    // Off the window's thread, behind the progress window: a long study can be cancelled, and
    // then shows what it found up to there.
    kurvant::TStudy study;
    RunWithProgress(
        this, kurvant::StudyScanSize(request, Ctx.Formula),
        [&](kurvant::TBatchControl& control) {
            kurvant::TStudyLimits limits;
            limits.Control = &control;
            study = kurvant::Study(request, GroupSeparator, Ctx.Formula, limits);
        },
        QStringLiteral("Исследование функции…"));
    ShowGrid(study);
    LbNote->setText(FromUtf8(study.Note).replace(QStringLiteral("\n\r"), QStringLiteral("\n")));
    Found = study;
    FoundKind = request.Kind;
    FoundCaption =
        kurvant::StudyMarksCaption(request.Kind, request.First.Formula, request.Second.Formula);
    FoundOfY = request.First.Variable == 'y';
    BBtnMark->setEnabled(!Found.Points.empty());
    if (study.Message) {
        FocusInput(study.Failed);
        if (Ctx.Services) {
            const QString text = FromUtf8(study.Message->Text);
            if (study.Message->Information)
                Ctx.Services->Information(this, StudyCaption, text);
            else
                Ctx.Services->Error(this, ErrorCaption, text);
        }
    }
}

void TFormStudy::BBtnMarkClick() {
    if (Found.Points.empty())
        return;
    TDocument& doc = Ctx.Document;
    if (kurvant::AddStudyMarks(doc, Ctx.Settings, Found.Points, FoundOfY, FoundCaption) < 0) {
        if (Ctx.Services)
            Ctx.Services->Error(this, StudyCaption, FromUtf8(TooManyGraphsMessage));
        return;
    }
    AutoScale(doc, Ctx.Settings);
    if (doc.Hooks.Redraw)
        doc.Hooks.Redraw();
    // The same points are not marked twice.
    BBtnMark->setEnabled(false);
}

void TFormStudy::ShowGrid(const kurvant::TStudy& study) {
    SGridStudy->setUpdatesEnabled(false);
    SGridStudy->clear();
    SGridStudy->setColumnCount(std::max<int>(1, static_cast<int>(study.Header.size())));
    for (int column = 0; column < static_cast<int>(study.Header.size()); ++column)
        SGridStudy->setHorizontalHeaderItem(
            column, new QTableWidgetItem(FromUtf8(study.Header[static_cast<std::size_t>(column)])));
    SGridStudy->setRowCount(static_cast<int>(study.Rows.size()));
    for (int r = 0; r < SGridStudy->rowCount(); ++r) {
        const std::vector<std::string>& cells = study.Rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(cells.size()); ++c)
            SGridStudy->setItem(r, c,
                                new QTableWidgetItem(FromUtf8(cells[static_cast<std::size_t>(c)])));
    }
    SGridStudy->setUpdatesEnabled(true);
}

std::vector<std::vector<std::string>> TFormStudy::GridRows() const {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> header;
    for (int c = 0; c < SGridStudy->columnCount(); ++c) {
        const QTableWidgetItem* item = SGridStudy->horizontalHeaderItem(c);
        header.push_back(item ? item->text().toStdString() : std::string());
    }
    rows.push_back(header);
    for (int r = 0; r < SGridStudy->rowCount(); ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < SGridStudy->columnCount(); ++c) {
            const QTableWidgetItem* item = SGridStudy->item(r, c);
            cells.push_back(item ? item->text().toStdString() : std::string());
        }
        rows.push_back(cells);
    }
    return rows;
}

void TFormStudy::FocusInput(kurvant::TStudyField field) {
    using enum kurvant::TStudyField;
    switch (field) {
    case Formula:
        CBoxFunction->setFocus();
        return;
    case Formula2:
        CBoxFunction2->setFocus();
        return;
    case Variable:
        EdVar->setFocus();
        EdVar->selectAll();
        return;
    case Min:
        EdMin->setFocus();
        EdMin->selectAll();
        return;
    case Max:
        EdMax->setFocus();
        EdMax->selectAll();
        return;
    case None:
        return;
    }
}

void TFormStudy::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
    CBoxFunction->setFocus();
}

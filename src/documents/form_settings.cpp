#include "documents/form_settings.h"

#include "graphs/autoscale.h"
#include "widgets/app_context.h"
#include "widgets/color_box.h"
#include "widgets/named_controls.h"
#include "widgets/number_edits.h"
#include "widgets/ui_services.h"
#include "widgets/window_helpers.h"
#include "widgets/work_progress.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr TColor DialogBackground = 0x00EAEAEA;
constexpr TColor PresetsBackground = 0x00BAE1E2;

TColorBox* ColorBox(QWidget* parent, const char* name) {
    auto* box = new TColorBox(parent);
    SetName(box, name);
    return box;
}

void FillBackground(QWidget* widget, TColor colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TFormSettings::TFormSettings(TAppContext& ctx, QWidget* parent) : QDialog(parent), Ctx(ctx) {
    PrepareFixedDialog(this, "FormSettings", QStringLiteral("Настройки"));
    setFont(ProgramFont());
    FillBackground(this, DialogBackground);

    PageControl = new QTabWidget(this);
    SetName(PageControl, "PageControl");
    TabSheetGeneral = BuildGeneralPage();
    TabSheetMeshes = BuildMeshesPage();
    TabSheetAxes = BuildAxesPage();
    PageControl->addTab(TabSheetGeneral, QStringLiteral("Общие"));
    PageControl->addTab(TabSheetMeshes, QStringLiteral("Сетки на плоскостях"));
    PageControl->addTab(TabSheetAxes, QStringLiteral("Оси"));

    auto* buttons = OkCancelRow(this, BBtnOK, BBtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
    setFixedSize(460, 345);

    SetUpNumberFields();
    connect(BBtnOK, &QPushButton::clicked, this, &TFormSettings::BBtnOKClick);
    connect(BBtnDefault, &QPushButton::clicked, this, &TFormSettings::BBtnDefaultClick);
    connect(BBtnSet3D, &QPushButton::clicked, this, &TFormSettings::BBtnSet3DClick);
    connect(BBtnSet2D, &QPushButton::clicked, this, &TFormSettings::BBtnSet2DClick);
    connect(BBtnNothing, &QPushButton::clicked, this, &TFormSettings::BBtnNothingClick);

    // The controls show the record from the start, before the first showing.
    FormShow();
}

QWidget* TFormSettings::BuildGeneralPage() {
    auto* page = new QWidget;
    SetName(page, "TabSheetGeneral");
    ChBAxisX = NamedCheckBox(page, "ChBAxisX", QStringLiteral("Ось OX"));
    ChBAxisY = NamedCheckBox(page, "ChBAxisY", QStringLiteral("Ось OY"));
    ChBAxisZ = NamedCheckBox(page, "ChBAxisZ", QStringLiteral("Ось OZ"));
    auto* lbBackGround = NamedLabel(page, "LbBackGround", QStringLiteral("Цвет фона"));
    ColorBoxBackGround = ColorBox(page, "ColorBoxBackGround");
    auto* lbAxes = NamedLabel(page, "LbAxes", QStringLiteral("Цвет осей"));
    ColorBoxAxes = ColorBox(page, "ColorBoxAxes");
    ChBPerspective =
        NamedCheckBox(page, "ChBPerspective", QStringLiteral("Перспектива (рекомендуется)"));
    ChBAsteriks =
        NamedCheckBox(page, "ChBAsteriks", QStringLiteral("Уведомлять о преобразовании выражения"));

    GrBAxesPresets = new QGroupBox(QStringLiteral("Настройки отображения осей"), page);
    SetName(GrBAxesPresets, "GrBAxesPresets");
    FillBackground(GrBAxesPresets, PresetsBackground);
    BBtnNothing = NamedButton(GrBAxesPresets, "BBtnNothing", QStringLiteral("Не отображать оси"));
    BBtnDefault = NamedButton(GrBAxesPresets, "BBtnDefault", QStringLiteral("По умолчанию"));
    QFont bold = BBtnDefault->font();
    bold.setBold(true);
    BBtnDefault->setFont(bold);
    BBtnSet2D =
        NamedButton(GrBAxesPresets, "BBtnSet2D", QStringLiteral("Для двухмерных графиков "));
    BBtnSet3D = NamedButton(GrBAxesPresets, "BBtnSet3D", QStringLiteral("Для трёхмерных графиков"));
    auto* presets = new QGridLayout(GrBAxesPresets);
    presets->addWidget(BBtnNothing, 0, 0);
    presets->addWidget(BBtnDefault, 0, 1);
    presets->addWidget(BBtnSet2D, 1, 0);
    presets->addWidget(BBtnSet3D, 1, 1);

    auto* axes = new QVBoxLayout;
    axes->addWidget(ChBAxisX);
    axes->addWidget(ChBAxisY);
    axes->addWidget(ChBAxisZ);
    axes->addStretch();
    auto* colours = new QVBoxLayout;
    colours->addWidget(lbBackGround);
    colours->addWidget(ColorBoxBackGround);
    colours->addWidget(lbAxes);
    colours->addWidget(ColorBoxAxes);
    auto* top = new QHBoxLayout;
    top->addLayout(axes, 1);
    top->addLayout(colours, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(ChBPerspective);
    layout->addWidget(ChBAsteriks);
    layout->addStretch();
    layout->addWidget(GrBAxesPresets);
    return page;
}

QWidget* TFormSettings::BuildMeshesPage() {
    auto* page = new QWidget;
    SetName(page, "TabSheetMeshes");
    const auto plane = [&](const char* group, const QString& caption, const char* down,
                           const char* up, const char* label, const char* colour,
                           QCheckBox*& downBox, QCheckBox*& upBox, TColorBox*& colourBox) {
        auto* box = new QGroupBox(caption, page);
        SetName(box, group);
        downBox = NamedCheckBox(box, down, QStringLiteral("Нижняя половина"));
        upBox = NamedCheckBox(box, up, QStringLiteral("Верхняя половина"));
        colourBox = ColorBox(box, colour);
        auto* colourRow = new QHBoxLayout;
        colourRow->addWidget(NamedLabel(box, label, QStringLiteral("Цвет")));
        colourRow->addWidget(colourBox, 1);
        auto* column = new QVBoxLayout(box);
        column->addWidget(downBox);
        column->addWidget(upBox);
        column->addLayout(colourRow);
        return box;
    };
    // Three planes side by side do not fit the dialog's width: two rows of two, the mesh step
    // taking the fourth place.
    auto* grid = new QGridLayout(page);
    grid->addWidget(plane("GrBPlaneX", QStringLiteral("Плоскость OX"), "ChBoxXDown", "ChBoxXUp",
                          "LbColorX", "ColorBoxX", ChBoxXDown, ChBoxXUp, ColorBoxX),
                    0, 0);
    grid->addWidget(plane("GrBPlaneY", QStringLiteral("Плоскость OY"), "ChBoxYDown", "ChBoxYUp",
                          "LbColorY", "ColorBoxY", ChBoxYDown, ChBoxYUp, ColorBoxY),
                    0, 1);
    grid->addWidget(plane("GrBPlaneZ", QStringLiteral("Плоскость OZ"), "ChBoxZDown", "ChBoxZUp",
                          "LbColorZ", "ColorBoxZ", ChBoxZDown, ChBoxZUp, ColorBoxZ),
                    1, 0);
    auto* lbStepMesh = NamedLabel(page, "LbStepMesh", QStringLiteral("Шаг сетки"));
    EdStepMesh = NamedEdit(page, "EdStepMesh");
    auto* step = new QHBoxLayout;
    step->addWidget(lbStepMesh);
    step->addWidget(EdStepMesh);
    grid->addLayout(step, 1, 1, Qt::AlignBottom);
    grid->setRowStretch(2, 1);
    return page;
}

QWidget* TFormSettings::BuildAxesPage() {
    auto* page = new QWidget;
    SetName(page, "TabSheetAxes");
    auto* intervals = new QGroupBox(QStringLiteral("Интервалы по осям"), page);
    SetName(intervals, "GrBIntervals");
    auto* grid = new QGridLayout(intervals);
    const auto end = [&](const char* label, const QString& caption, const char* edit, int row,
                         int column) {
        grid->addWidget(NamedLabel(intervals, label, caption), row, column);
        QLineEdit* e = NamedEdit(intervals, edit);
        grid->addWidget(e, row, column + 1);
        return e;
    };
    EdMinX = end("LbMinX", QStringLiteral("Min X"), "EdMinX", 0, 0);
    EdMaxX = end("LbMaxX", QStringLiteral("Max X"), "EdMaxX", 0, 2);
    EdMinY = end("LbMinY", QStringLiteral("Min Y"), "EdMinY", 1, 0);
    EdMaxY = end("LbMaxY", QStringLiteral("Max Y"), "EdMaxY", 1, 2);
    EdMinZ = end("LbMinZ", QStringLiteral("Min Z"), "EdMinZ", 2, 0);
    EdMaxZ = end("LbMaxZ", QStringLiteral("Max Z"), "EdMaxZ", 2, 2);

    ChBNumeration = NamedCheckBox(page, "ChBNumeration", QStringLiteral("Нумерация на осях"));
    ChBoxTouch = NamedCheckBox(page, "ChBoxTouch", QStringLiteral("Разметка на осях"));
    auto* lbSteps = NamedLabel(page, "LbStepNumeration", QStringLiteral("Шаг нумерации на осях"));
    auto* steps = new QGridLayout;
    const auto step = [&](const char* label, const QString& caption, const char* edit, int column) {
        steps->addWidget(NamedLabel(page, label, caption), 0, column);
        QLineEdit* e = NamedEdit(page, edit);
        steps->addWidget(e, 1, column);
        return e;
    };
    EdStepNumeration_X =
        step("LbStepNumeration_X", QStringLiteral("По оси X"), "EdStepNumeration_X", 0);
    EdStepNumeration_Y =
        step("LbStepNumeration_Y", QStringLiteral("По оси Y"), "EdStepNumeration_Y", 1);
    EdStepNumeration_Z =
        step("LbStepNumeration_Z", QStringLiteral("По оси Z"), "EdStepNumeration_Z", 2);

    auto* marks = new QHBoxLayout;
    marks->addWidget(ChBNumeration);
    marks->addWidget(ChBoxTouch);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(intervals);
    layout->addLayout(marks);
    layout->addWidget(lbSteps);
    layout->addLayout(steps);
    layout->addStretch();
    return page;
}

void TFormSettings::SetUpNumberFields() {
    NumberEdits = {EdMinX,
                   EdMaxX,
                   EdMinY,
                   EdMaxY,
                   EdMinZ,
                   EdMaxZ,
                   EdStepMesh,
                   EdStepNumeration_X,
                   EdStepNumeration_Y,
                   EdStepNumeration_Z};
    // Digits line up in a fixed-pitch font, so the user can compare the numbers at a glance.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(ProgramFont().pixelSize());
    for (std::size_t i = 0; i < SettingsFieldCount; ++i) {
        QLineEdit* e = NumberEdits[i];
        e->setFont(fixed);
        // A long number may not fit its box: the hint shows it whole.
        connect(e, &QLineEdit::textChanged, e, [e](const QString& text) { e->setToolTip(text); });
        // Every field takes a number or a constant expression ("pi/4").
        FilterExpressionKeys(e);
    }
}

QLineEdit* TFormSettings::FieldEdit(TSettingsField field) const {
    return NumberEdits.at(static_cast<std::size_t>(field));
}

TSettingsFlags TFormSettings::Flags() const {
    TSettingsFlags f;
    f.AxisX = ChBAxisX->isChecked();
    f.AxisY = ChBAxisY->isChecked();
    f.AxisZ = ChBAxisZ->isChecked();
    f.Numeration = ChBNumeration->isChecked();
    f.Touch = ChBoxTouch->isChecked();
    f.Perspective = ChBPerspective->isChecked();
    f.XDown = ChBoxXDown->isChecked();
    f.XUp = ChBoxXUp->isChecked();
    f.YDown = ChBoxYDown->isChecked();
    f.YUp = ChBoxYUp->isChecked();
    f.ZDown = ChBoxZDown->isChecked();
    f.ZUp = ChBoxZUp->isChecked();
    f.Asteriks = ChBAsteriks->isChecked();
    return f;
}

void TFormSettings::ShowFlags(const TSettingsFlags& f) {
    ChBAxisX->setChecked(f.AxisX);
    ChBAxisY->setChecked(f.AxisY);
    ChBAxisZ->setChecked(f.AxisZ);
    ChBNumeration->setChecked(f.Numeration);
    ChBoxTouch->setChecked(f.Touch);
    ChBPerspective->setChecked(f.Perspective);
    ChBoxXDown->setChecked(f.XDown);
    ChBoxXUp->setChecked(f.XUp);
    ChBoxYDown->setChecked(f.YDown);
    ChBoxYUp->setChecked(f.YUp);
    ChBoxZDown->setChecked(f.ZDown);
    ChBoxZUp->setChecked(f.ZUp);
    ChBAsteriks->setChecked(f.Asteriks);
}

void TFormSettings::FormShow() {
    const TSettings& s = Ctx.Settings;
    ShowFlags(SettingsFlags(s));
    ColorBoxBackGround->SelectColor(s.BackGround);
    ColorBoxAxes->SelectColor(s.Axes);
    ColorBoxX->SelectColor(s.ColorX);
    ColorBoxY->SelectColor(s.ColorY);
    ColorBoxZ->SelectColor(s.ColorZ);
    const TSettingsTexts texts = SettingsNumberTexts(s, Ctx.Formula.DecimalSeparator);
    for (std::size_t i = 0; i < SettingsFieldCount; ++i)
        NumberEdits[i]->setText(QString::fromStdString(texts[i]));
}

void TFormSettings::BBtnOKClick() {
    TSettingsTexts texts;
    for (std::size_t i = 0; i < SettingsFieldCount; ++i)
        texts[i] = NumberEdits[i]->text().toStdString();
    const TSettingsCheck check =
        CheckSettingsTexts(TextsToCheck(texts, Ctx.Settings, Ctx.Document.AutoScaleBackup,
                                        Ctx.Document.AutoScaleOn, Ctx.Formula.DecimalSeparator),
                           Ctx.Formula.DecimalSeparator);
    if (!check.Ok) {
        Refuse(check.Failed, check.Message);
        return;
    }
    TSettingsNumbers numbers = check.Numbers;
    OrderIntervalEnds(numbers);

    TSettings s = Ctx.Settings;
    StoreSettingsNumbers(numbers, s);
    StoreSettingsFlags(Flags(), s);
    s.BackGround = ColorBoxBackGround->SelectedColor();
    s.Axes = ColorBoxAxes->SelectedColor();
    s.ColorX = ColorBoxX->SelectedColor();
    s.ColorY = ColorBoxY->SelectedColor();
    s.ColorZ = ColorBoxZ->SelectedColor();
    // A cancelled sampling keeps the dialog open with what the user typed, and changes nothing.
    if (!ApplySettings(s, "изменение настроек"))
        return;
    accept();
    Redraw();
}

bool TFormSettings::ApplySettings(const TSettings& settings, const std::string& stepText) {
    std::vector<TDocument::TResampleCopy> graphs = Ctx.Document.FormulaGraphCopies();
    kurvant::TFormulaContext context = Ctx.Formula;
    if (!RunWithProgress(this, SamplingWork(graphs), [&](kurvant::TBatchControl& control) {
            context.Batch = &control;
            SampleCopies(graphs, settings, context);
        }))
        return false;
    // Before automatic scaling fits the intervals to the graphs again.
    TAutoScaleBackup backup = Ctx.Document.AutoScaleBackup;
    if (Ctx.Document.AutoScaleOn)
        KeepConfirmedInBackup(settings, backup);
    Ctx.Document.SettingsStep(settings, backup, std::move(graphs), Ctx.Settings, Ctx.Formula,
                              stepText);
    return true;
}

void TFormSettings::Refuse(TSettingsField field, const std::string& message) {
    if (Ctx.Services)
        Ctx.Services->Error(this, QStringLiteral("Ошибка"), QString::fromStdString(message));
    // A field on a hidden page brings its page forward, so the user sees what to mend.
    QLineEdit* edit = FieldEdit(field);
    for (int i = 0; i < PageControl->count(); ++i)
        if (PageControl->widget(i)->isAncestorOf(edit))
            PageControl->setCurrentIndex(i);
    edit->setFocus();
    edit->selectAll();
}

void TFormSettings::BBtnDefaultClick() {
    TSettings defaults = Ctx.Settings;
    Settings_Default(defaults);
    // As OK does: graphs cut to the old intervals would otherwise stay cut. The defaults are
    // confirmed as much as OK's values are: switching automatic scaling off later must not bring
    // back the older intervals.
    if (!ApplySettings(defaults, "настройки по умолчанию"))
        return;
    FormShow();
    accept();
    Redraw();
}

void TFormSettings::BBtnSet3DClick() {
    ShowFlags(PresetFor3D(Flags()));
    BBtnOKClick();
}

void TFormSettings::BBtnSet2DClick() {
    ShowFlags(PresetFor2D(Flags()));
    BBtnOKClick();
}

void TFormSettings::BBtnNothingClick() {
    ShowFlags(PresetNothing(Flags()));
    BBtnOKClick();
}

void TFormSettings::Redraw() {
    if (Ctx.Document.Hooks.Redraw)
        Ctx.Document.Hooks.Redraw();
}

void TFormSettings::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window the desktop merely restores keeps the user's edits; a new showing starts from the
    // record.
    if (event->spontaneous())
        return;
    FormShow();
    CentreOnScreen(this);
}

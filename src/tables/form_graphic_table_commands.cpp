// The table dialog's commands: OK, the row count, clearing, the sorts, the fill and statistics
// windows, and the table file.

#include "tables/form_graphic_table.h"

#include "graphs/autoscale.h"
#include "tables/form_fill_table.h"
#include "tables/form_table_information.h"
#include "tables/table_file.h"
#include "tables/table_graph.h"
#include "tables/table_grid_view.h"
#include "tables/table_sort.h"
#include "widgets/app_context.h"
#include "widgets/color_box.h"
#include "widgets/dialog_folder.h"
#include "widgets/line_width_box.h"
#include "widgets/named_controls.h"
#include "widgets/number_edits.h"
#include "widgets/save_path.h"
#include "widgets/ui_services.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>

namespace {

const QString ErrorCaption = QStringLiteral("Ошибка");

} // namespace

void TFormGraphicTable::Modify_Number() {
    SGridGraphicTable->FinishEditing();
    Grid().ModifyNumbers(Ctx.Formula.DecimalSeparator);
    GridModel->GridChanged();
}

void TFormGraphicTable::ReportCell(const TCellProblem& problem) {
    if (Ctx.Services)
        Ctx.Services->Error(this, ErrorCaption, QString::fromStdString(problem.Message));
    SGridGraphicTable->FocusCell(problem.Row, problem.Column);
}

bool TFormGraphicTable::Cells_Is_Numbers(std::vector<TPoint3D>& points) {
    SGridGraphicTable->FinishEditing();
    if (const std::optional<TCellProblem> problem =
            ReadTablePoints(Grid(), Ctx.Formula.DecimalSeparator, points)) {
        ReportCell(*problem);
        return true;
    }
    return false;
}

void TFormGraphicTable::BBtnOKClick() {
    Modify_Number();
    std::vector<TPoint3D> points;
    if (Cells_Is_Numbers(points))
        return;
    TTableStyle style;
    style.Color = ColorBoxGraphic->SelectedColor();
    style.Lines = ChBoxLines->isChecked();
    style.Points = ChBoxPoints->isChecked();
    style.LineIndex = CBoxExLine->currentIndex();
    style.PointIndex = CBoxExPixel->currentIndex();
    style.Gradation = ChBoxGradation->isChecked();

    TDocument& doc = Ctx.Document;
    if (doc.EditMode == 1 && EditPosition >= 0 && EditPosition < doc.GraphCount() &&
        doc.Graph(EditPosition).Kind == KindTable) {
        // The record keeps what a table does not use, and the size of what it does not draw.
        TGraphic graphic = doc.Graph(EditPosition);
        StoreTableGraph(points, style, graphic);
        doc.EditStep(EditPosition, std::move(graphic), Ctx.Settings);
    } else {
        TGraphic graphic;
        StoreTableGraph(points, style, graphic);
        if (doc.AddStep(std::move(graphic), Ctx.Settings, "добавление таблицы") < 0) {
            if (Ctx.Services)
                Ctx.Services->Error(this, FromUtf8(TableAddCaption),
                                    FromUtf8(TooManyGraphsMessage));
            return;
        }
    }
    accept();
    Redraw();
}

void TFormGraphicTable::BBtnApplyClick() {
    std::int32_t rows = 0;
    if (!CheckIntEdit(Ctx, EdRows, GrBRows->title(), 1, MaxTableRows, rows))
        return;
    SGridGraphicTable->FinishEditing();
    Grid().SetRowCount(rows);
    Modify_Number();
}

void TFormGraphicTable::BBtnClearAllClick() {
    SGridGraphicTable->FinishEditing();
    Grid().ClearShown();
    GridModel->GridChanged();
}

void TFormGraphicTable::BBtnFillTableClick() {
    SGridGraphicTable->FinishEditing();
    FormFillTable->SetRowRange(Grid().RowCount());
    FormFillTable->exec();
}

void TFormGraphicTable::BBtnInformationClick() {
    Modify_Number();
    FormTableInformation->exec();
}

void TFormGraphicTable::Button1Click() {
    SGridGraphicTable->FinishEditing();
    const int key = SortGroup->checkedId() - 1; // "нет" is -1
    const std::optional<TCellProblem> problem =
        SortTable(Grid(), key, ChBoxSortMode->isChecked(), Ctx.Formula.DecimalSeparator);
    GridModel->GridChanged();
    if (problem)
        ReportCell(*problem);
}

void TFormGraphicTable::BitBtn1Click() {
    SGridGraphicTable->FinishEditing();
    const std::optional<TCellProblem> problem =
        SortTableByXThenY(Grid(), Ctx.Formula.DecimalSeparator);
    GridModel->GridChanged();
    if (problem)
        ReportCell(*problem);
}

void TFormGraphicTable::BBtnSaveClick() {
    if (!Ctx.Services)
        return;
    // ".txt" is added where the name lacks it, and an existing file is replaced only when the
    // user says so.
    const std::optional<QString> chosen =
        ChooseSavePath(Ctx, this, FromUtf8(TableSaveTitle), FromUtf8(TableSaveFilter),
                       {FromUtf8(TableFileExtension)}, QString());
    if (!chosen)
        return;
    Modify_Number();
    std::vector<TPoint3D> points;
    if (Cells_Is_Numbers(points))
        return;
    const QString path = *chosen;
    int error = 0;
    if (!WriteTableFile(path.toStdString(), points, Ctx.Formula.DecimalSeparator, *Ctx.Disk,
                        &error))
        Ctx.Services->Error(this, ErrorCaption,
                            QString::fromStdString(TableSaveMessage(path.toStdString(), error)));
}

void TFormGraphicTable::BBtnLoadClick() {
    if (!Ctx.Services)
        return;
    const QString path =
        ChooseOpenPath(Ctx, this, FromUtf8(TableOpenTitle), FromUtf8(TableOpenFilter));
    if (path.isEmpty())
        return;
    SGridGraphicTable->FinishEditing();
    TTableFile file;
    int failedLine = 0;
    const TTableFileRead read = ReadTableFile(path.toStdString(), file, &failedLine);
    if (read != TTableFileRead::Ok) {
        // The services have no question box with a single OK; the warning box is the nearest.
        Ctx.Services->Warning(this, FromUtf8(TableLoadCaption),
                              FromUtf8(TableLoadFailureMessage(read, failedLine)));
        return;
    }
    ApplyTableFile(file, Grid(), Ctx.Formula.DecimalSeparator);
    ShowRowCount();
}

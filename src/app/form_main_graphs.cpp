// The main window's graph commands: the list panel's pop-up menu, delete with confirmation,
// ticking, and the hooks through which the document reaches the window.

#include "app/form_main.h"
#include "app/graph_list.h"
#include "graphs/document.h"
#include "graphs/form_graphic.h"
#include "tables/form_graphic_table.h"
#include "widgets/ui_services.h"

#include <QAction>
#include <QMenu>

void TFormMain::BuildGraphListMenu() {
    PopMenuGraphics = new QMenu(this);
    PopMenuGraphics->setObjectName(QStringLiteral("PopMenuGraphics"));
    auto add = [&](const char* name, const QString& caption) {
        QAction* a = PopMenuGraphics->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QAction* edit = add("PopGraphicsEdit", QStringLiteral("Изменить"));
    QAction* del = add("PopGraphicsDelete", QStringLiteral("Удалить"));
    PopMenuGraphics->addSeparator();
    QAction* newGraph = add("PopGraphicsAdd", QStringLiteral("Построить график"));
    QAction* newTable =
        add("PopGraphicsTableAdd", QStringLiteral("Построить таблично заданный график"));
    connect(edit, &QAction::triggered, this, &TFormMain::GraphEditClick);
    connect(del, &QAction::triggered, this, &TFormMain::GraphDeleteClick);
    // The same commands as the Graphs menu's items.
    connect(newGraph, &QAction::triggered, this, [this] {
        if (QAction* a = findChild<QAction*>(QStringLiteral("MMGrapicsAdd")); a && a->isEnabled())
            a->trigger();
    });
    connect(newTable, &QAction::triggered, this, [this] {
        if (QAction* a = findChild<QAction*>(QStringLiteral("MMGrapicsTableAdd"));
            a && a->isEnabled())
            a->trigger();
    });
    connect(PopMenuGraphics, &QMenu::aboutToShow, this, [this, edit, del, newGraph, newTable] {
        const bool selected = ChListBGraphics->Selected() != -1;
        edit->setEnabled(selected);
        del->setEnabled(selected);
        newGraph->setEnabled(findChild<QAction*>(QStringLiteral("MMGrapicsAdd"))->isEnabled());
        newTable->setEnabled(findChild<QAction*>(QStringLiteral("MMGrapicsTableAdd"))->isEnabled());
    });
    connect(ChListBGraphics, &QWidget::customContextMenuRequested, this,
            &TFormMain::PopMenuGraphicsPopup);
    connect(ChListBGraphics, &TGraphList::ClickOrTick, this, &TFormMain::GraphListClickOrTick);
    connect(ChListBGraphics, &TGraphList::TickRequested, this,
            [this](int index, bool ticked) { Ctx.Document.TickStep(index, ticked, Ctx.Settings); });
    connect(ChListBGraphics, &TGraphList::DeleteRequested, this, &TFormMain::GraphDeleteClick);
    connect(ChListBGraphics, &TGraphList::EditRequested, this, &TFormMain::GraphEditClick);
}

void TFormMain::PopMenuGraphicsPopup(const QPoint& at) {
    PopMenuGraphics->popup(ChListBGraphics->viewport()->mapToGlobal(at));
}

void TFormMain::ConnectDocument() {
    TDocument& doc = Ctx.Document;
    doc.OnChanged = [this](TDocumentChange, int) { ChListBGraphics->Rebuild(); };
    doc.Hooks.Redraw = [this] {
        ChListBGraphics->viewport()->update();
        ReDrawing();
    };
    doc.Hooks.TooManyTicked = [this] {
        Ctx.Services->Information(
            this, QStringLiteral("Выделение графиков"),
            QStringLiteral("Количество выделенных графиков должно быть не больше 20!\n\r"
                           "Поэтому лишние выделенные графики будут сняты."));
    };
    doc.Hooks.HistoryMoved = [this] { HistoryMoved(); };
    doc.Hooks.WindowCaption = [this](const std::string& caption) {
        setWindowTitle(QString::fromStdString(caption));
    };
    connect(MMGrapicsEdit, &QAction::triggered, this, &TFormMain::GraphEditClick);
    connect(findChild<QAction*>(QStringLiteral("MMGrapicsAdd")), &QAction::triggered, this,
            &TFormMain::GraphAddClick);
    connect(findChild<QAction*>(QStringLiteral("ToolBtnGraphicAddAction")), &QAction::triggered,
            this, &TFormMain::GraphAddClick);
    connect(findChild<QAction*>(QStringLiteral("MMGrapicsTableAdd")), &QAction::triggered, this,
            &TFormMain::GraphTableAddClick);
    connect(findChild<QAction*>(QStringLiteral("ToolBtnGraphicTableAddAction")),
            &QAction::triggered, this, &TFormMain::GraphTableAddClick);
    connect(MMGrapicsDelete, &QAction::triggered, this, &TFormMain::GraphDeleteClick);
    ChListBGraphics->Rebuild();
}

void TFormMain::GraphListClickOrTick() {
    Ctx.Document.ListClickHandling(Ctx.Settings);
}

void TFormMain::GraphDeleteClick() {
    const int i = ChListBGraphics->Selected();
    if (i < 0 || i >= Ctx.Document.GraphCount())
        return;
    const QString text = QStringLiteral("Вы действительно хотите удалить график\n\r") +
                         QString::fromStdString(Ctx.Document.Caption(i));
    if (Ctx.Services->Question(this, QStringLiteral("Удаление"), text, TQuestionButtons::YesNo) !=
        TAnswer::Yes)
        return;
    Ctx.Document.DeleteStep(i, Ctx.Settings);
    ReDrawing();
}

void TFormMain::GraphAddClick() {
    if (FormGraphic && FormGraphic->PrepareForNewGraph())
        FormGraphic->exec();
}

void TFormMain::GraphTableAddClick() {
    if (FormGraphicTable && FormGraphicTable->PrepareForNewGraph())
        FormGraphicTable->exec();
}

void TFormMain::GraphEditClick() {
    const int i = ChListBGraphics->Selected();
    if (i < 0 || i >= Ctx.Document.GraphCount())
        return;
    // Formula graphs open in the graph dialog; a table graph has a dialog of its own.
    if (Ctx.Document.Graph(i).Kind == KindTable) {
        if (FormGraphicTable && FormGraphicTable->PrepareForEdit(i))
            FormGraphicTable->exec();
        return;
    }
    if (FormGraphic && FormGraphic->PrepareForEdit(i))
        FormGraphic->exec();
}

// The menu "Правка" (undo and redo of the document's history) and the submenu "Последние
// файлы" of the menu "Файл".

#include "app/document_commands.h"
#include "app/form_main.h"
#include "app/tool_icons.h"
#include "widgets/work_progress.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QUndoStack>

namespace {

// "Отменить: удаление графика"; the bare word while there is nothing to name.
QString StepCaption(const QString& word, const QString& step) {
    return step.isEmpty() ? word : word + QStringLiteral(": ") + step;
}

} // namespace

void TFormMain::BuildEditMenu(QMenuBar* bar) {
    QMenu* edit = bar->addMenu(QStringLiteral("Правка"));
    edit->setObjectName(QStringLiteral("MMEdit"));
    QUndoStack& history = Ctx.Document.History();
    const QString undo = QStringLiteral("Отменить");
    const QString redo = QStringLiteral("Повторить");
    MMEditUndo = AddMenuItem(edit, "MMEditUndo", undo, QKeySequence(QStringLiteral("Ctrl+Z")));
    MMEditRedo = AddMenuItem(edit, "MMEditRedo", redo);
    MMEditRedo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    MMEditUndo->setIcon(ToolIcon(QStringLiteral("undo")));
    MMEditRedo->setIcon(ToolIcon(QStringLiteral("redo")));
    // The keys work wherever the focus is in the main window, as the menu's other commands.
    for (QAction* a : {MMEditUndo, MMEditRedo}) {
        a->setShortcutContext(Qt::WindowShortcut);
        a->setEnabled(false);
    }
    // A settings step samples the graphs again behind the progress window, as the step did;
    // a cancelled undo or redo leaves everything as it was.
    const TDocument::TSamplingRunner sampling =
        [this](std::uint64_t total, const std::function<void(kurvant::TBatchControl&)>& work) {
            return RunWithProgress(this, total, work);
        };
    connect(MMEditUndo, &QAction::triggered, this,
            [this, sampling] { Ctx.Document.UndoWith(sampling); });
    connect(MMEditRedo, &QAction::triggered, this,
            [this, sampling] { Ctx.Document.RedoWith(sampling); });
    connect(&history, &QUndoStack::canUndoChanged, MMEditUndo, &QAction::setEnabled);
    connect(&history, &QUndoStack::canRedoChanged, MMEditRedo, &QAction::setEnabled);
    auto caption = [](QAction* a, const QString& word, const QString& step) {
        a->setText(StepCaption(word, step));
        a->setToolTip(StepCaption(word, step));
    };
    connect(&history, &QUndoStack::undoTextChanged, MMEditUndo,
            [this, caption, undo](const QString& step) { caption(MMEditUndo, undo, step); });
    connect(&history, &QUndoStack::redoTextChanged, MMEditRedo,
            [this, caption, redo](const QString& step) { caption(MMEditRedo, redo, step); });
}

void TFormMain::FillRecentMenu() {
    MMFileRecent->clear();
    const QStringList& paths = Commands->RecentDocuments();
    MMFileRecent->setEnabled(!paths.isEmpty());
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths.at(i);
        QAction* a = MMFileRecent->addAction(RecentMenuText(i, path));
        a->setObjectName(QStringLiteral("MMFileRecent%1").arg(i + 1));
        a->setToolTip(path);
        a->setStatusTip(path);
        connect(a, &QAction::triggered, this, [this, path] {
            Commands->OpenRecent(path);
            ReDrawing();
        });
    }
}

void TFormMain::HistoryMoved() {
    const bool on = Ctx.Document.AutoScaleOn;
    if (ChBoxAutoScale->isChecked() != on) {
        const QSignalBlocker quiet(ChBoxAutoScale);
        ChBoxAutoScale->setChecked(on);
        ShowAutoScale(on);
    }
}

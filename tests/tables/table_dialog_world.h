#pragma once
// What the table dialogs' tests share: a context with scripted services, the table dialog over it,
// and ways to put texts into the grid and read them back as the user sees them.

#include "support/fake_ui_services.h"
#include "support/test_context.h"
#include "tables/form_graphic_table.h"
#include "tables/table_grid_view.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

struct TTableDialogWorld {
    std::unique_ptr<TFakeUiServices> Services = std::make_unique<TFakeUiServices>();
    std::unique_ptr<TAppContext> Ctx = std::make_unique<TAppContext>();
    std::unique_ptr<TFormGraphicTable> Form;
    int Redraws = 0;

    explicit TTableDialogWorld(char separator = ',') {
        PrepareTestContext(*Ctx, *Services, separator, QStringLiteral("/kurvant-program-folder"));
        Ctx->Document.Hooks.Redraw = [this] { ++Redraws; };
        Form = std::make_unique<TFormGraphicTable>(*Ctx);
    }
    ~TTableDialogWorld() {
        Form.reset();
        Ctx.reset();
        Services.reset();
    }

    /// Shows the given rows (X, Y, Z texts each) as a user would after typing them: through the
    /// grid's model, with the row count applied first.
    void Type(const QList<QStringList>& rows) {
        Form->EdRows->setText(QString::number(rows.size()));
        Form->BBtnApplyClick();
        TTableGridModel* model = Form->Model();
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < 3; ++c)
                model->setData(model->index(r, c), rows[r][c]);
    }

    /// The texts of the shown rows as the grid shows them.
    QList<QStringList> Shown() const {
        QList<QStringList> rows;
        TTableGridModel* model = Form->Model();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < 3; ++c)
                row << model->data(model->index(r, c)).toString();
            rows << row;
        }
        return rows;
    }

    /// The last box shown, or an empty record.
    TShownBox LastBox() const {
        return Services->Shown.isEmpty() ? TShownBox{} : Services->Shown.last();
    }
};

/// Runs `open`, and `inside` with the modal dialog it shows as soon as that is on screen; `inside`
/// must close it. False when no modal dialog was shown.
[[nodiscard]] inline bool WhileModal(const std::function<void()>& open,
                                     const std::function<void(QDialog*)>& inside) {
    auto shown = std::make_shared<bool>(false);
    QTimer::singleShot(0, [inside, shown] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            *shown = true;
            inside(dialog);
        }
    });
    open();
    // Without a modal loop the timer has not fired yet; let it find nothing.
    QApplication::processEvents();
    return *shown;
}

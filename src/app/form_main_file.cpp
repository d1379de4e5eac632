// The main window's file commands: the menu "Файл", the close query, documents named on the
// command line or dropped on the window.

#include "app/document_commands.h"
#include "app/form_main.h"
#include "app/startup.h"
#include "documents/settings_file.h"
#include "view/gl_view.h"
#include "view/picture_file.h"
#include "widgets/work_progress.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace {

// The document file among what is dragged over the window, if any.
QString DroppedDocument(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() &&
            url.toLocalFile().endsWith(QStringLiteral(".qel"), Qt::CaseInsensitive))
            return url.toLocalFile();
    return {};
}

} // namespace

void TFormMain::ConnectFileCommands() {
    auto on = [this](const char* name, auto handler) {
        connect(findChild<QAction*>(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    on("MMFileNew", [this] {
        Commands->NewFile();
        ReDrawing();
    });
    on("mmFileOpen", [this] {
        Commands->OpenFile();
        ReDrawing();
    });
    on("mmFileSave", [this] { Commands->Save(); });
    on("mmFileSaveAs", [this] { Commands->Save_or_Not_save_File(); });
    on("MMFileSaveAsPicture", [this] {
        Commands->SaveViewAsPicture(
            {[this] { return PanelGraphic->grabFramebuffer(); },
             [this](TVectorFormat f, std::FILE* out) { return WriteVectorPictureTo(f, out); }});
    });
    // The list changes with every open and save; the submenu is filled when "Файл" opens.
    connect(findChild<QMenu*>(QStringLiteral("MMFile")), &QMenu::aboutToShow, this,
            &TFormMain::FillRecentMenu);
    setAcceptDrops(true);
}

QString TFormMain::DialogFolder() const {
    return Commands->DialogFolder();
}

void TFormMain::OpenDocumentAtStart(const QString& path) {
    Commands->OpenPath(path);
    ReDrawing();
}

void TFormMain::dragEnterEvent(QDragEnterEvent* e) {
    if (!DroppedDocument(e->mimeData()).isEmpty())
        e->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* e) {
    const QString path = DroppedDocument(e->mimeData());
    if (path.isEmpty())
        return;
    e->acceptProposedAction();
    if (Commands->OfferToSave(QStringLiteral("Открытие файла")))
        Commands->OpenPath(path);
    ReDrawing();
}

void TFormMain::closeEvent(QCloseEvent* e) {
    // Graphs still being sampled are given up first; the request comes back once the command
    // that sampled them has returned, and is then handled as usual.
    if (CancelWorkInProgress([this] { close(); })) {
        e->ignore();
        return;
    }
    if (!Commands->CloseQuery()) {
        e->ignore();
        return;
    }
    // Automatic scaling is switched off first, so the settings go back to what they were before
    // it fitted them.
    if (ChBoxAutoScale->isChecked())
        ChBoxAutoScale->setChecked(false);
    // A settings file that cannot be written keeps the previous one; nothing to tell the user.
    // The user's configuration folder may not exist yet.
    if (!Ctx.SettingsFile.isEmpty()) {
        QDir().mkpath(QFileInfo(Ctx.SettingsFile).absolutePath());
        WriteSettingsFile(SettingsPath(Ctx), Ctx.Settings, Ctx.Formula.DecimalSeparator, *Ctx.Disk);
    }
    e->accept();
}

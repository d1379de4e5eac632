#include "app/document_commands.h"

#include "documents/document_file.h"
#include "view/picture_file.h"
#include "widgets/app_context.h"
#include "widgets/dialog_folder.h"
#include "widgets/named_controls.h"
#include "widgets/save_path.h"
#include "widgets/ui_services.h"
#include "widgets/work_progress.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <cerrno>

const QString TDocumentCommands::DocumentFilter =
    QStringLiteral("Файлы Qel Kurvant (*.qel)|*.qel|Все файлы (*.*)|*.*");
const QString TDocumentCommands::PictureFilter = [] {
    QStringList entries;
    for (const TPictureFormatEntry& format : PictureFormats)
        entries << QString::fromUtf8(format.FilterEntry.data(),
                                     static_cast<qsizetype>(format.FilterEntry.size()));
    return entries.join(QLatin1Char('|'));
}();
const QString TDocumentCommands::PictureDialogTitle = QStringLiteral("Сохранить как рисунок...");

TDocumentCommands::TDocumentCommands(TAppContext& ctx, QWidget* window)
    : Ctx(ctx), Window(window), Recent(ctx.RecentDocumentsFile) {}

QString TDocumentCommands::DialogFolder() const {
    return ::DialogFolder(Ctx);
}

std::optional<QString> TDocumentCommands::ChooseSavePath(const QString& title,
                                                         const QString& filter,
                                                         const QStringList& extensions,
                                                         const QString& fileName) {
    return ::ChooseSavePath(Ctx, Window, title, filter, extensions, fileName);
}

bool TDocumentCommands::WriteDocument(const QString& path) {
    std::string message;
    if (Saving_File(Ctx.Document, path.toStdString(), Ctx.Formula.DecimalSeparator, message,
                    *Ctx.Disk)) {
        Recent.Add(path);
        return true;
    }
    Ctx.Services->Error(Window, FromUtf8(DocumentSaveCaption), FromUtf8(message));
    return false;
}

bool TDocumentCommands::Save_or_Not_save_File() {
    const QString current = FromUtf8(Ctx.Document.DocumentFileName);
    const QString name = current.isEmpty() ? QString() : QFileInfo(current).fileName();
    const std::optional<QString> path =
        ChooseSavePath(QString(), DocumentFilter, {QStringLiteral(".qel"), QString()}, name);
    if (!path)
        return false;
    if (!WriteDocument(*path))
        return false; // the document keeps its name and the window its caption
    Ctx.Document.DocumentFileName = path->toStdString();
    return true;
}

bool TDocumentCommands::Save() {
    const QString current = FromUtf8(Ctx.Document.DocumentFileName);
    // A document whose file was deleted meanwhile is saved as a new one.
    if (!current.isEmpty() && QFileInfo(current).isFile())
        return WriteDocument(current);
    return Save_or_Not_save_File();
}

bool TDocumentCommands::OfferToSave(const QString& caption) {
    if (Ctx.Document.GraphCount() == 0)
        return true;
    switch (Ctx.Services->Question(Window, caption, QStringLiteral("Сохранить изменения?"),
                                   TQuestionButtons::YesNoCancel)) {
    case TAnswer::Yes:
        return Save();
    case TAnswer::No:
        return true;
    default:
        return false;
    }
}

void TDocumentCommands::NewFile() {
    if (!OfferToSave(QStringLiteral("Создание нового файла")))
        return;
    Ctx.Document.NewDocument();
}

void TDocumentCommands::OpenFile() {
    if (!OfferToSave(QStringLiteral("Открытие файла")))
        return;
    const QString path = ChooseOpenPath(Ctx, Window, QString(), DocumentFilter);
    if (path.isEmpty())
        return;
    OpenPath(path);
}

bool TDocumentCommands::OpenPath(const QString& path) {
    TDocumentContent content;
    content.View = Ctx.Document.View;
    TDocumentFault fault;
    const TDocumentRead read =
        ReadDocumentContent(path.toStdString(), Ctx.Formula, content, nullptr, &fault);
    const QString caption = FromUtf8(DocumentReadCaption);
    const QString message = FromUtf8(DocumentReadMessage(read, fault));
    switch (read) {
    case TDocumentRead::Ok:
        if (!AdoptSampled(path, std::move(content)))
            return false;
        Recent.Add(path);
        return true;
    case TDocumentRead::WrongSignature:
        Ctx.Services->Error(Window, caption, message);
        return false;
    case TDocumentRead::Unreadable:
        Ctx.Services->Warning(Window, caption, message);
        return false;
    }
    return false;
}

void TDocumentCommands::OpenRecent(const QString& path) {
    // Nothing to open: the open document need not be offered for saving first.
    if (!QFileInfo::exists(path)) {
        Ctx.Services->Warning(Window, FromUtf8(DocumentReadCaption),
                              FromUtf8(DocumentNotFoundMessage(path.toStdString())));
        Recent.Remove(path);
        return;
    }
    if (!OfferToSave(QStringLiteral("Открытие файла")))
        return;
    if (!OpenPath(path) && !QFileInfo(path).isFile())
        Recent.Remove(path);
}

bool TDocumentCommands::AdoptSampled(const QString& path, TDocumentContent content) {
    // The opening steps run on a document of their own while the window goes on drawing the
    // current one, which stays as it is when the user cancels.
    TDocument opened;
    opened.View = Ctx.Document.View;
    opened.EditMode = Ctx.Document.EditMode;
    opened.AutoScaleOn = Ctx.Document.AutoScaleOn;
    opened.AutoScaleBackup = Ctx.Document.AutoScaleBackup;
    bool tooManyTicked = false;
    opened.Hooks.TooManyTicked = [&tooManyTicked] { tooManyTicked = true; };
    TSettings settings = Ctx.Settings;
    kurvant::TFormulaContext context = Ctx.Formula;
    const std::uint64_t work = SamplingWork(content.Entries);
    const std::string name = path.toStdString();
    if (!RunWithProgress(Window, work, [&](kurvant::TBatchControl& control) {
            context.Batch = &control;
            opened.AdoptOpened(std::move(content.Entries), content.View, name, settings, context);
        }))
        return false;
    opened.Hooks = {};
    Ctx.Settings = settings;
    Ctx.Document.TakeOpened(opened, tooManyTicked);
    return true;
}

void TDocumentCommands::SaveViewAsPicture(const TViewPictureSource& source) {
    // A typed extension of a known format chooses that format whatever the filter; a name
    // without one gets the chosen entry's.
    QStringList extensions;
    for (const TPictureFormatEntry& format : PictureFormats)
        extensions << QString::fromLatin1(format.Extension.data(),
                                          static_cast<qsizetype>(format.Extension.size()));
    const std::optional<QString> path =
        ChooseSavePath(PictureDialogTitle, PictureFilter, extensions, {});
    if (!path)
        return;
    const TPictureFormat format =
        PictureFormatOfName(path->toStdString()).value_or(TPictureFormat::Bmp);
    int error = 0;
    if (!SaveViewPicture(source, path->toStdString(), format, *Ctx.Disk, &error))
        Ctx.Services->Error(Window, QStringLiteral("Ошибка"),
                            FromUtf8(WithSystemReason(PictureSaveMessage, error)));
}

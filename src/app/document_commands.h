#pragma once
// The commands of the menu "Файл" over the one document: new, open, save, save as, the offer to
// save before a command discards the document, and saving the view as a picture. Every question
// and file dialog goes through the context's services.

#include "app/recent_documents.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct TAppContext;
struct TDocumentContent;
struct TViewPictureSource;
class QImage;
class QWidget;

class TDocumentCommands {
public:
    /// `window` owns the boxes and dialogs.
    TDocumentCommands(TAppContext& ctx, QWidget* window);

    /// Despite its name, `Save_or_Not_save_File` never asks whether to save.
    /// "Сохранить как..." (`Save_or_Not_save_File`): the save dialog, then the document is written
    /// under the chosen name. True only when the file was written; then the document takes the
    /// name. Cancelled or failed (the failure is reported), name and caption stay as they were.
    bool Save_or_Not_save_File();
    /// "Сохранить": writes to the document's file when it exists, otherwise as "Сохранить как...".
    /// True when the file was written.
    bool Save();
    /// Before a command discards the document: with graphs, asks "Сохранить изменения?" under the
    /// command's caption. True when the command may go on: the answer No, or Yes and the document
    /// was written. Cancel, a cancelled save dialog and a failed save stop the command.
    bool OfferToSave(const QString& caption);
    /// "Новый": after the offer, an empty document with the view reset and no name.
    void NewFile();
    /// "Открыть": after the offer, the open dialog, then the chosen file is read; a typed name
    /// without its extension opens NAME.qel when only that exists.
    void OpenFile();
    /// Reads the document at `path` in place of the current one; a failure is reported with the
    /// reader's message and changes nothing. Its graphs are sampled off the window's thread, with
    /// progress after 0.3 s; a cancelled sampling opens nothing. True when the document was opened.
    bool OpenPath(const QString& path);
    /// A document of "Последние файлы": after the offer, opened as `OpenPath` opens it. One that
    /// is no longer there is reported at once, without the offer ("Файл не найден" with its
    /// path, `DocumentNotFoundMessage`), and leaves the list.
    void OpenRecent(const QString& path);
    /// The documents most recently opened or saved, newest first.
    [[nodiscard]] const QStringList& RecentDocuments() const { return Recent.Paths(); }
    /// The close query of the main window: the offer to save under "Завершение работы".
    bool CloseQuery() { return OfferToSave(QStringLiteral("Завершение работы")); }
    /// "Сохранить как рисунок": the picture dialog, then the view's picture from `source` (its
    /// pixels, or its vector drawing) is written in the format that the name's extension names
    /// (`PictureFormats`): a typed extension of a known format wins over the filter, a name
    /// without one gets the filter's.
    void SaveViewAsPicture(const TViewPictureSource& source);

    /// Where the file dialogs open: the document's folder, else that of the run's last file
    /// dialog, else the user's documents folder.
    QString DialogFolder() const;

    static const QString DocumentFilter;
    static const QString PictureFilter;
    static const QString PictureDialogTitle;

private:
    /// The save dialog in the run's dialog folder until a name is settled (see `::ChooseSavePath`).
    std::optional<QString> ChooseSavePath(const QString& title, const QString& filter,
                                          const QStringList& extensions, const QString& fileName);
    /// The opening steps of the read `content` with the sampling off the window's thread; false
    /// when the user cancelled (nothing changed).
    bool AdoptSampled(const QString& path, TDocumentContent content);
    /// Writes the document to `path`; a failure is reported. The name is the caller's to set.
    bool WriteDocument(const QString& path);

    TAppContext& Ctx;
    QWidget* Window;
    TRecentDocuments Recent;
};

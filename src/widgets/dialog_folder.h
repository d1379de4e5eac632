#pragma once
// Where the file dialogs start, and which file an open dialog means by a typed name. The folder
// last used is kept in the run's context, so that every dialog of the run shares it.

#include <QString>
#include <QStringList>

struct TAppContext;
class QWidget;

/// The user's documents folder, or the home folder where there is none.
QString UserDocumentsFolder();

/// The folder a file dialog starts in: the folder of `documentPath` when the document has a name,
/// otherwise `lastUsed`, otherwise `documents`. A folder that is gone (or empty) is passed over.
QString DialogStartFolder(const QString& documentPath, const QString& lastUsed,
                          const QString& documents);

/// Where the run's next file dialog starts (see `DialogStartFolder`).
QString DialogFolder(const TAppContext& ctx);
/// Notes the folder of a file that a dialog gave, for the run's later dialogs.
void RememberDialogFolder(TAppContext& ctx, const QString& chosenPath);

/// The extensions named by a filter "Description|*.ext|…" in its order (".qel" for "*.qel");
/// patterns such as "*.*" name none.
QStringList FilterExtensions(const QString& pipeSeparated);

/// The file an open dialog means by `path`: `path` itself when it exists or its name has an
/// extension; otherwise `path` with the first of `extensions` that names an existing file, so
/// that "plot" opens plot.qel; otherwise `path` unchanged.
QString ExistingOpenName(const QString& path, const QStringList& extensions);

/// The open dialog of a command: it starts in the run's dialog folder, a typed name without its
/// extension means the file with one of the filter's extensions, and the chosen file's folder
/// becomes the last used one. Empty when the user cancelled.
QString ChooseOpenPath(TAppContext& ctx, QWidget* parent, const QString& title,
                       const QString& filter);

#include "widgets/dialog_folder.h"

#include "widgets/app_context.h"
#include "widgets/named_controls.h"
#include "widgets/ui_services.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool IsFolder(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

QString UserDocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return IsFolder(documents) ? documents : QDir::homePath();
}

QString DialogStartFolder(const QString& documentPath, const QString& lastUsed,
                          const QString& documents) {
    if (!documentPath.isEmpty()) {
        const QString folder = QFileInfo(documentPath).absolutePath();
        if (IsFolder(folder))
            return folder;
    }
    if (IsFolder(lastUsed))
        return lastUsed;
    return documents;
}

QString DialogFolder(const TAppContext& ctx) {
    return DialogStartFolder(FromUtf8(ctx.Document.DocumentFileName), ctx.LastDialogFolder,
                             UserDocumentsFolder());
}

void RememberDialogFolder(TAppContext& ctx, const QString& chosenPath) {
    if (!chosenPath.isEmpty())
        ctx.LastDialogFolder = QFileInfo(chosenPath).absolutePath();
}

QStringList FilterExtensions(const QString& pipeSeparated) {
    const QStringList parts = pipeSeparated.split(QLatin1Char('|'));
    QStringList extensions;
    for (int i = 1; i < parts.size(); i += 2)
        for (const QString& pattern : parts[i].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            // "*.qel" names an extension; "*.*" and "*" take any name.
            if (p.startsWith(QStringLiteral("*.")) && p.size() > 2 && p.indexOf(u'*', 1) < 0 &&
                !p.contains(u'?'))
                extensions << p.mid(1);
        }
    return extensions;
}

QString ExistingOpenName(const QString& path, const QStringList& extensions) {
    const QFileInfo typed(path);
    if (path.isEmpty() || typed.exists() || !typed.suffix().isEmpty())
        return path;
    for (const QString& extension : extensions)
        if (QFileInfo(path + extension).isFile())
            return path + extension;
    return path;
}

QString ChooseOpenPath(TAppContext& ctx, QWidget* parent, const QString& title,
                       const QString& filter) {
    const QString chosen = ctx.Services->OpenFileName(parent, title, DialogFolder(ctx), filter);
    if (chosen.isEmpty())
        return {};
    const QString path = ExistingOpenName(chosen, FilterExtensions(filter));
    RememberDialogFolder(ctx, path);
    return path;
}

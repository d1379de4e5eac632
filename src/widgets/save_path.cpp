#include "widgets/save_path.h"

#include "documents/file_names.h"
#include "widgets/app_context.h"
#include "widgets/dialog_folder.h"
#include "widgets/ui_services.h"

#include <QFileInfo>

#include <algorithm>

std::optional<QString> ChooseSavePath(TUiServices& services, QWidget* parent, const QString& title,
                                      const QString& folder, const QString& filter,
                                      const QStringList& extensions, const QString& fileName) {
    QString proposed = fileName;
    for (;;) {
        const TFileChoice choice = services.SaveFile(parent, title, folder, proposed, filter);
        if (choice.Cancelled())
            return std::nullopt;
        QString path = choice.Path;
        const bool named = std::any_of(extensions.begin(), extensions.end(), [&](const QString& e) {
            return !e.isEmpty() && path.endsWith(e, Qt::CaseInsensitive);
        });
        if (!named && choice.Filter >= 0 && choice.Filter < extensions.size() &&
            !extensions[choice.Filter].isEmpty())
            path = QString::fromStdString(
                WithExtension(path.toStdString(), extensions[choice.Filter].toStdString()));
        if (!QFileInfo::exists(path))
            return path;
        const QString question = QStringLiteral("Файл \"") + QFileInfo(path).fileName() +
                                 QStringLiteral("\" уже существует.\n\rЗаменить его?");
        if (services.Question(parent, QStringLiteral("Подтверждение сохранения"), question,
                              TQuestionButtons::YesNo) == TAnswer::Yes)
            return path;
        proposed = QFileInfo(path).fileName();
    }
}

std::optional<QString> ChooseSavePath(TAppContext& ctx, QWidget* parent, const QString& title,
                                      const QString& filter, const QStringList& extensions,
                                      const QString& fileName) {
    std::optional<QString> path = ChooseSavePath(*ctx.Services, parent, title, DialogFolder(ctx),
                                                 filter, extensions, fileName);
    if (path)
        RememberDialogFolder(ctx, *path);
    return path;
}

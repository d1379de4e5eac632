#include "widgets/save_path.h"

#include "documents/file_names.h"
#include "widgets/app_context.h"
#include "widgets/dialog_folder.h"
#include "widgets/ui_services.h"

#include <QFileInfo>

#include <string>
#include <string_view>
#include <vector>

std::optional<QString> ChooseSavePath(TUiServices& services, QWidget* parent, const QString& title,
                                      const QString& folder, const QString& filter,
                                      const QStringList& extensions, const QString& fileName) {
    QString proposed = fileName;
    for (;;) {
        const TFileChoice choice = services.SaveFile(parent, title, folder, proposed, filter);
        if (choice.Cancelled())
            return std::nullopt;
        std::vector<std::string> held;
        for (const QString& e : extensions)
            held.push_back(e.toStdString());
        const std::vector<std::string_view> views(held.begin(), held.end());
        const QString path = QString::fromStdString(
            SaveName(choice.Path.toStdString(), views, static_cast<int>(choice.Filter)));
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

#pragma once
// The name a save command writes to, settled with the user.

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;
class TUiServices;
struct TAppContext;

/// Shows the save dialog until a name is settled. The extension of the selected filter entry
/// (`extensions[i]` for entry i; empty for none) is appended where the name ends in none of
/// `extensions`, compared without regard to case (a typed "pic.png" stays so under the entry of
/// ".bmp"); when the final name exists, the user is asked whether to replace it,
/// and No shows the dialog again with that name. Nothing when the user cancels.
std::optional<QString> ChooseSavePath(TUiServices& services, QWidget* parent, const QString& title,
                                      const QString& folder, const QString& filter,
                                      const QStringList& extensions, const QString& fileName);

/// The save dialog of a command as above, started in the run's dialog folder (see
/// `DialogFolder`); the folder of the settled name becomes the run's last used one.
std::optional<QString> ChooseSavePath(TAppContext& ctx, QWidget* parent, const QString& title,
                                      const QString& filter, const QStringList& extensions,
                                      const QString& fileName);

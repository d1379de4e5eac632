#pragma once
// Start-up: the splash window is shown while the windows are made, then removed.

#include "widgets/app_context.h"

#include <functional>
#include <memory>
#include <string>

class QApplication;
class QWidget;
class TFormMain;

/// Makes the windows in their fixed order with the splash window on screen, and removes the
/// splash. WhileSplashShown, if given, runs after the windows exist and before the splash goes.
std::unique_ptr<TFormMain>
StartUp(TAppContext& Context, const std::function<void(QWidget* splash)>& WhileSplashShown = {});

/// Process-wide set-up before the application object exists: floating-point exceptions masked
/// (overflow and invalid operations give infinities and not-a-numbers), and the default OpenGL
/// surface (a compatibility context: RGBA, depth buffer, double buffered).
void PrepareProcess();

/// Set-up once the application object exists: Qt's own dialogs and buttons in Russian, and
/// every window that opens a dialog takes the keyboard back when the dialog closes.
void PrepareApplication(QApplication& app);

/// The user's settings file: "settings.dat" in the user's configuration folder
/// (`QStandardPaths::AppConfigLocation`), beside the list of recent documents.
QString DefaultSettingsFile();

/// Where the settings are written: the run's `SettingsFile`.
std::string SettingsPath(const TAppContext& Context);

/// The settings file of every user: "settings.dat" in the program's folder, read for a user who
/// has none of their own.
std::string SharedSettingsPath(const TAppContext& Context);

/// Shows the main window and gives it the keyboard.
void ShowMainWindow(TFormMain& main);

/// The whole program: set-up, start-up, the message loop.
int RunKurvant(int argc, char** argv);

#pragma once
// Gives the keyboard back to the window that opened a dialog when the dialog closes. A window
// manager does this on most desktops; without one (a bare X server) the focus would fall to the
// root window and the next key press would go nowhere until the user clicks.

class QCoreApplication;

/// Watches every dialog of the application (message boxes, file and colour dialogs, the pick
/// list, the program's own dialogs): the window that was active when a dialog was shown, or else
/// the dialog's parent window, is activated again when the dialog is hidden. Installing it twice
/// has no further effect.
void InstallKeyboardReturn(QCoreApplication& app);

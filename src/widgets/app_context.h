#pragma once
// What the whole run shares: the settings record, the document, the desktop services, the
// program's folder, the user's files and the folder of the last file dialog. One instance, made at
// start-up and handed to the windows.

#include "documents/file_calls.h"
#include "formula/formula_context.h"
#include "graphs/document.h"
#include "settings/settings.h"

#include <QString>

class TUiServices;

struct TAppContext {
    TSettings Settings;
    TDocument Document;
    kurvant::TFormulaContext Formula; ///< the decimal separator and the last preparation
    TUiServices* Services = nullptr;  ///< message boxes, file dialogs, the desktop shell
    QString ProgramDir; ///< folder of the program file: help file, settings for every user
    /// The user's settings file, read at start-up (the one beside the program when the user has
    /// none) and written at closing; empty (tests of one dialog) writes none.
    QString SettingsFile;
    /// The folder of the file that the run's last file dialog gave; empty before the first. Where
    /// the next dialog starts follows from it (widgets/dialog_folder.h).
    QString LastDialogFolder;
    /// The disk every save writes through; tests hand in one that fails.
    const TFileCalls* Disk = &SystemFileCalls();
    /// The file of the recent documents' list; empty (tests) keeps the list for the run only.
    QString RecentDocumentsFile;
};

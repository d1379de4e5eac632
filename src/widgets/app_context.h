#pragma once
// What the whole run shares: the settings record, the document, the desktop services and the
// program's folder. One instance, made at start-up and handed to the windows.

#include "documents/file_calls.h"
#include "documents/settings.h"
#include "formula/formula_context.h"
#include "graphs/document.h"

#include <QString>

class TUiServices;

struct TAppContext {
    TSettings Settings;
    TDocument Document;
    kurvant::TFormulaContext Formula; ///< the decimal separator and the last preparation
    TUiServices* Services = nullptr;  ///< message boxes, file dialogs, the desktop shell
    QString ProgramDir;               ///< folder of the program file: help file, dialogs' folder
    /// The disk every save writes through; tests hand in one that fails.
    const TFileCalls* Disk = &SystemFileCalls();
};

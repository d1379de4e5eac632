#pragma once
// The run's context as the tests of one dialog, and of the whole program, start from.

#include "settings/settings.h"
#include "widgets/app_context.h"

#include <QString>

/// Makes `ctx` what start-up makes of it before reading the settings file: the default settings,
/// `decimalSeparator` for the number texts, `services` for the boxes and file dialogs and
/// `programDir` as the program's folder.
inline void PrepareTestContext(TAppContext& ctx, TUiServices& services, char decimalSeparator,
                               const QString& programDir = QString()) {
    Settings_Default(ctx.Settings);
    ctx.Formula.DecimalSeparator = decimalSeparator;
    ctx.Services = &services;
    ctx.ProgramDir = programDir;
}
